#include "demo/main/MainMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace lindrel::demo {
namespace {

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* caption) {
  QMenu* menu = bar.addMenu(QString::fromUtf8(caption));
  menu->setObjectName(QString::fromUtf8(name));
  // The bar entry carries the name too: children hide and show it as an action.
  menu->menuAction()->setObjectName(QString::fromUtf8(name));
  return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption,
                 const QKeySequence& shortcut = QKeySequence()) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(QString::fromUtf8(name));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  return action;
}

}  // namespace

MainMenus BuildMainMenus(QMenuBar& bar) {
  MainMenus m;

  m.mnuFile = AddMenu(bar, "mnuFile", "&File");
  m.mnuCompareDirectories = AddItem(m.mnuFile, "mnuCompareDirectories", "Compare &Directories",
                                    QKeySequence(Qt::CTRL | Qt::Key_D));
  m.mnuCompareFiles =
      AddItem(m.mnuFile, "mnuCompareFiles", "Compare &Files", QKeySequence(Qt::CTRL | Qt::Key_F));
  m.mnuThreadPriority = m.mnuFile->addMenu(QStringLiteral("&Thread Priority"));
  m.mnuThreadPriority->setObjectName(QStringLiteral("mnuThreadPriority"));
  m.mnuThreadPriority->menuAction()->setObjectName(QStringLiteral("mnuThreadPriority"));
  const char* levelCaptions[MainMenus::kPriorityLevels] = {"&Idle", "&Lowest", "&Normal",
                                                           "&Highest", "Time Critical"};
  for (int i = 0; i < MainMenus::kPriorityLevels; ++i) {
    QByteArray name = "mnuThreadPriorityLevel(" + QByteArray::number(i) + ")";
    QAction* level = AddItem(m.mnuThreadPriority, name.constData(), levelCaptions[i]);
    level->setCheckable(true);
    level->setData(i);
    m.mnuThreadPriorityLevel[i] = level;
  }
  m.mnuFile->addSeparator();
  m.mnuExit = AddItem(m.mnuFile, "mnuExit", "E&xit");

  m.mnuView = AddMenu(bar, "mnuView", "&View");
  m.mnuRefresh = AddItem(m.mnuView, "mnuRefresh", "Refres&h", QKeySequence(Qt::Key_F5));
  m.mnuFont = AddItem(m.mnuView, "mnuFont", "Change &Font");
  m.mnuViewLegend = AddItem(m.mnuView, "mnuViewLegend", "Show &Legend");
  m.mnuSwap =
      AddItem(m.mnuView, "mnuSwap", "&Swap Master And Source Files", QKeySequence(Qt::Key_F9));
  m.mnuViewChangeMap = AddItem(m.mnuView, "mnuViewChangeMap", "Show Change &Map");
  // The Compare Files window takes these keys itself, whichever of its controls has the
  // focus, as it takes F7; the items only name them.
  m.mnuNextChange = AddItem(m.mnuView, "mnuNextChange", "&Next Change\tAlt+Down");
  m.mnuPreviousChange = AddItem(m.mnuView, "mnuPreviousChange", "&Previous Change\tAlt+Up");
  // Taken by the Compare Files window and its view in the same way.
  m.mnuFind = AddItem(m.mnuView, "mnuFind", "F&ind...\tCtrl+Shift+F");
  m.mnuFindNext = AddItem(m.mnuView, "mnuFindNext", "Find Ne&xt\tF3");
  m.mnuFindPrevious = AddItem(m.mnuView, "mnuFindPrevious", "Find Pre&vious\tShift+F3");
  m.mnuGoToLine = AddItem(m.mnuView, "mnuGoToLine", "&Go To Line...\tCtrl+L");
  m.mnuMarkWordsInEveryChange =
      AddItem(m.mnuView, "mnuMarkWordsInEveryChange", "Mark Words in Every Change");
  m.mnuMarkWordsInEveryChange->setCheckable(true);

  m.mnuReport = AddMenu(bar, "mnuReport", "&Report");
  m.mnuOptions = AddItem(m.mnuReport, "mnuOptions", "Report &Options");
  m.mnuReportHTMLFile = AddItem(m.mnuReport, "mnuReportHTMLFile", "&HTML File");
  m.mnuReportTextFile = AddItem(m.mnuReport, "mnuReportTextFile", "&Text File");
  m.mnuReportTabDelimitedFile =
      AddItem(m.mnuReport, "mnuReportTabDelimitedFile", "Tab &Delimited File");
  m.mnuReportCommaDelimitedFile =
      AddItem(m.mnuReport, "mnuReportCommaDelimitedFile", "&Comma Delimited File");
  m.mnuReport->menuAction()->setVisible(false);

  m.mnuWindow = AddMenu(bar, "mnuWindow", "&Window");
  m.mnuWindowCascase = AddItem(m.mnuWindow, "mnuWindowCascase", "&Cascade");
  m.mnuWindowTileHorizontal = AddItem(m.mnuWindow, "mnuWindowTileHorizontal", "Tile &Horizontal");
  m.mnuWindowTileVertical = AddItem(m.mnuWindow, "mnuWindowTileVertical", "&Tile Vertical");

  m.mnuHelp = AddMenu(bar, "mnuHelp", "&Help");
  m.mnuHelpFile = AddItem(m.mnuHelp, "mnuHelpFile", "Help &File ", QKeySequence(Qt::Key_F1));
  m.mnuAbout = AddItem(m.mnuHelp, "mnuAbout", "&About");
  m.mnuMorvantisHomePage = AddItem(m.mnuHelp, "mnuMorvantisHomePage", "Morvantis Home Page");

  m.mnuPopup = AddMenu(bar, "mnuPopup", "Popup");
  m.mnuPopupShowDetail = AddItem(m.mnuPopup, "mnuPopupShowDetail", "Show Detail (Double Click)");
  m.mnuPopupRefresh = AddItem(m.mnuPopup, "mnuPopupRefresh", "Refresh (F5)");
  m.mnuPopupReport = AddItem(m.mnuPopup, "mnuPopupReport", "Report");
  m.mnuPopupFont = AddItem(m.mnuPopup, "mnuPopupFont", "Change Font");
  m.mnuPopup->menuAction()->setVisible(false);

  return m;
}

void MainMenus::ShowForComparisonWindow(const ComparisonMenuItems& items) const {
  mnuReport->menuAction()->setVisible(true);
  mnuReportHTMLFile->setVisible(items.htmlReport);
  mnuReportCommaDelimitedFile->setVisible(items.commaDelimitedReport);
  mnuReportTextFile->setVisible(items.textReport);
  mnuReportTabDelimitedFile->setVisible(items.tabDelimitedReport);
  mnuViewLegend->setEnabled(true);
  mnuPopupShowDetail->setVisible(true);
  mnuSwap->setVisible(items.swap);
  mnuViewChangeMap->setVisible(items.changeMap);
  mnuNextChange->setVisible(items.changeMoves);
  mnuPreviousChange->setVisible(items.changeMoves);
  for (QAction* item :
       {mnuFind, mnuFindNext, mnuFindPrevious, mnuGoToLine, mnuMarkWordsInEveryChange})
    item->setVisible(items.find);
  mnuMarkWordsInEveryChange->setChecked(items.marksWords);
}

}  // namespace lindrel::demo
