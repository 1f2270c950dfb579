#include "demo/compare-files/CompareFilesTopBar.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>

#include <array>

#include "demo/compare-files/NavigationPictures.h"

namespace lindrel::demo {
namespace {

const char* const kImageProperty = "imageIndex";

// Two arrows in opposite directions, one above the other.
QIcon SwapPicture() {
  QPixmap picture(20, 20);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0x20, 0x40, 0x90), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(3, 6, 17, 6);
  painter.drawPolyline(QPolygon({QPoint(13, 2), QPoint(17, 6), QPoint(13, 10)}));
  painter.drawLine(3, 14, 17, 14);
  painter.drawPolyline(QPolygon({QPoint(7, 10), QPoint(3, 14), QPoint(7, 18)}));
  return QIcon(picture);
}

}  // namespace

CompareFilesTopBar::CompareFilesTopBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("topBar"));

  compare_ = new QPushButton(QStringLiteral("&Compare Files"), this);
  compare_->setObjectName(QStringLiteral("cmdCompare"));
  viewReport_ = new QPushButton(QStringLiteral("View Re&port"), this);
  viewReport_->setObjectName(QStringLiteral("cmdViewReport"));
  viewFormat_ = new QPushButton(QString::fromUtf8(kViewAllInOne), this);
  viewFormat_->setObjectName(QStringLiteral("cmdCompareFilesViewFormat"));
  viewFormat_->setToolTip(QStringLiteral("Change Views to/from Side By Side to All In One"));
  for (QPushButton* button : {compare_, viewReport_, viewFormat_}) button->setAutoDefault(false);
  // Nothing to report or to view in another way before the first comparison.
  viewReport_->hide();
  viewFormat_->hide();
  connect(compare_, &QPushButton::clicked, this, &CompareFilesTopBar::CompareClicked);
  connect(viewReport_, &QPushButton::clicked, this, &CompareFilesTopBar::ViewReportClicked);
  connect(viewFormat_, &QPushButton::clicked, this, &CompareFilesTopBar::ViewFormatClicked);

  toolbar_ = new QToolBar(QStringLiteral("Toolbar1"), this);
  toolbar_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar_->setIconSize(QSize(20, 20));
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  QAction* refresh = toolbar_->addAction(style()->standardIcon(QStyle::SP_BrowserReload),
                                         QStringLiteral("Refresh (F5)"));
  refresh->setObjectName(QStringLiteral("cmdRefresh"));
  QAction* swap =
      toolbar_->addAction(SwapPicture(), QStringLiteral("Swap Master And Source Files (F9)"));
  swap->setObjectName(QStringLiteral("cmdSwap"));
  connect(refresh, &QAction::triggered, this, &CompareFilesTopBar::RefreshClicked);
  connect(swap, &QAction::triggered, this, &CompareFilesTopBar::SwapClicked);
  BuildNavigation();

  listingBar_ = new QToolBar(QStringLiteral("tbChangeListing"), this);
  listingBar_->setObjectName(QStringLiteral("tbChangeListing"));
  listing_ = new QComboBox(listingBar_);
  listing_->setObjectName(QStringLiteral("cmboChangeListing"));
  listing_->setAccessibleName(QStringLiteral("Changes"));
  listing_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  listing_->setMinimumContentsLength(12);
  listing_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  listingBar_->addWidget(listing_);
  // A choice moves even when it names the entry already selected: the user comes back
  // to that change after scrolling away or stepping inside it.
  connect(listing_, &QComboBox::activated, this, [this](int index) {
    if (!syncing_ && index >= 0) emit ChangeChosen(index + 1);
  });

  // A toolbar in a plain layout would shrink to its extension button.
  toolbar_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(compare_);
  row->addWidget(viewReport_);
  row->addWidget(viewFormat_);
  row->addWidget(toolbar_);
  row->addWidget(listingBar_, 1);
}

void CompareFilesTopBar::BuildNavigation() {
  struct Button {
    const char* key;
    const char* tip;
    void (CompareFilesTopBar::*clicked)();
  };
  const Button buttons[] = {
      {"cmdFirst", "First Difference", &CompareFilesTopBar::FirstClicked},
      {"cmdPrevious", "Previous Difference (Shift+F7)", &CompareFilesTopBar::PreviousClicked},
      {"cmdNext", "Next Difference (F7)", &CompareFilesTopBar::NextClicked},
      {"cmdLast", "Last Difference", &CompareFilesTopBar::LastClicked},
      {"cmdGoTo", "Go To Difference (F4)", &CompareFilesTopBar::GoToClicked},
  };
  QAction* before = toolbar_->actions().first();
  for (size_t i = 0; i < std::size(buttons); ++i) {
    auto* action = new QAction(QString::fromUtf8(buttons[i].tip), toolbar_);
    action->setObjectName(QString::fromUtf8(buttons[i].key));
    toolbar_->insertAction(before, action);
    navigation_[i] = action;
    connect(action, &QAction::triggered, this, buttons[i].clicked);
  }
  toolbar_->insertSeparator(before);
  SetNavigationPictures(0, 0);
}

void CompareFilesTopBar::SetViewReportShown(bool shown) { viewReport_->setVisible(shown); }

void CompareFilesTopBar::SetViewFormatShown(bool shown) { viewFormat_->setVisible(shown); }

void CompareFilesTopBar::SetAllInOneShown(bool allInOne) {
  viewFormat_->setText(QString::fromUtf8(allInOne ? kViewSideBySide : kViewAllInOne));
}

void CompareFilesTopBar::SetChangeList(QAbstractItemModel* entries) {
  listing_->setModel(entries);
  // Rows of one height: the list lays out only the entries it shows.
  if (auto* rows = qobject_cast<QListView*>(listing_->view())) rows->setUniformItemSizes(true);
}

void CompareFilesTopBar::SelectChange(int change) {
  syncing_ = true;
  listing_->setCurrentIndex(change - 1);
  syncing_ = false;
}

void CompareFilesTopBar::SetNavigationPictures(long count, int current) {
  std::array<int, 5> images{1, 2, 3, 4, 5};
  if (count < 1)
    images = {8, 9, 10, 11, 12};
  else if (current == 1)
    images = {8, 9, 3, 4, 5};
  else if (current == count)
    images = {1, 2, 10, 11, 5};
  for (size_t i = 0; i < images.size(); ++i) {
    navigation_[i]->setIcon(NavigationPicture(images[i]));
    navigation_[i]->setProperty(kImageProperty, images[i]);
  }
}

int CompareFilesTopBar::NavigationImage(const QString& key) const {
  for (QAction* button : navigation_) {
    if (button->objectName() == key) return button->property(kImageProperty).toInt();
  }
  return 0;
}

void CompareFilesTopBar::AdjustListing() {
  // The drop-down takes the width of its toolbar; it expands with the toolbar, so only a
  // layout that has fallen behind needs a nudge.
  if (listing_->width() < listingBar_->contentsRect().width() - 16) listingBar_->updateGeometry();
}

}  // namespace lindrel::demo
