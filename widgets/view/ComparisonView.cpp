#include "lindrel/widgets/ComparisonView.h"

#include <QApplication>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMetaMethod>
#include <QPointer>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "lindrel/widgets/DroppedPaths.h"
#include "lindrel/widgets/FileNames.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"
#include "widgets/view/ChangeMap.h"
#include "widgets/view/ChangeMapFollower.h"
#include "widgets/view/ChangeNavigator.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/DetailView.h"
#include "widgets/view/DiskBar.h"
#include "widgets/view/FindBar.h"
#include "widgets/view/GridSet.h"
#include "widgets/view/ViewFinder.h"

namespace lindrel::widgets {

class ComparisonView::Private {
 public:
  explicit Private(ComparisonView& view)
      : q(view),
        grids(new GridSet(&view)),
        map(new ChangeMapFollower(*grids, &view)),
        detail(new DetailView(
            *grids, [this] { return component.data(); },
            [this](const QString& text) { emit q.Notice(text); }, &view)),
        navigator(new ChangeNavigator(
            *grids, *map->Map(), *detail, [this] { return component.data(); },
            [this](const QString& text) { emit q.Notice(text); }, &view)),
        bar(new DiskBar(&view)) {}

  // True when `signal` of the view has a receiver: the host takes that decision.
  template <typename Signal>
  bool Heard(Signal signal) const {
    return q.isSignalConnected(QMetaMethod::fromSignal(signal));
  }

  LindrelWidget* EnsureComponent();
  // The component named by componentName, once it can be found.
  void FindNamedComponent();
  void Started();
  void Completed();
  void Refuse(const QString& why);
  void ScheduleLayout();
  void FileDroppedOn(Side side, const QString& file);

  ComparisonView& q;
  GridSet* grids;
  ChangeMapFollower* map;
  DetailView* detail;
  ChangeNavigator* navigator;
  DiskBar* bar;
  FindBar* findBar = nullptr;
  ViewFinder* finder = nullptr;
  QPointer<LindrelWidget> component;
  QList<QMetaObject::Connection> componentConnections;
  bool showsCompletions = true;
  bool watchesFiles = true;
  bool takesDrops = true;
  bool layoutScheduled = false;
  ComparisonPalette colours;
  bool hostColours = false;  // SetColours was called: the palette no longer decides
  QFont font{QStringLiteral("Courier New")};
  FileStamp masterStamp;  // the files as the running or last comparison began
  FileStamp sourceStamp;
  QString masterFile;  // the files of the result shown
  QString sourceFile;
  QString keptMaster;  // one file dropped on a side while the other had none
  QString keptSource;
  QString componentName;
};

void ComparisonView::Private::FindNamedComponent() {
  if (component != nullptr || componentName.isEmpty()) return;
  if (auto* named = q.window()->findChild<LindrelWidget*>(componentName)) q.SetComponent(named);
}

LindrelWidget* ComparisonView::Private::EnsureComponent() {
  FindNamedComponent();
  if (component == nullptr) {
    auto* own = new LindrelWidget(&q, QStringLiteral("LINDREL_VIEW"));
    own->setObjectName(QStringLiteral("viewComponent"));
    own->hide();
    q.SetComponent(own);
  }
  return component;
}

void ComparisonView::Private::Started() {
  // The files are about to be read again: what the bar said is out of date.
  bar->Stop();
  const QString master = FileNameFromBytes(component->Control().GetFileMaster());
  const QString source = FileNameFromBytes(component->Control().GetFileSource());
  masterStamp = FileStamp::Of(master);
  sourceStamp = FileStamp::Of(source);
  grids->ReadAhead(master, source);
}

void ComparisonView::Private::Completed() {
  // From the stamps taken as the comparison began: a file that changed while it was
  // compared is told at once.
  if (watchesFiles) {
    bar->Watch(FileNameFromBytes(component->Control().GetFileMaster()), masterStamp,
               FileNameFromBytes(component->Control().GetFileSource()), sourceStamp);
  }
  if (showsCompletions) q.ShowResult();
}

void ComparisonView::Private::Refuse(const QString& why) {
  if (Heard(&ComparisonView::DropRefused)) {
    emit q.DropRefused(why);
    return;
  }
  emit q.Notice(why);
  ShowMessage(&q, QMessageBox::Warning, QApplication::applicationName(), why);
}

void ComparisonView::Private::ScheduleLayout() {
  if (layoutScheduled) return;
  layoutScheduled = true;
  // Resizes come in bursts while the user drags; one layout serves the whole burst.
  QTimer::singleShot(0, &q, [this] {
    layoutScheduled = false;
    if (!q.window()->isMinimized()) q.LayOut();
  });
}

void ComparisonView::Private::FileDroppedOn(Side side, const QString& file) {
  if (Heard(&ComparisonView::FileDropped)) {
    emit q.FileDropped(side, file);
    return;
  }
  QString& kept = side == Side::Master ? keptMaster : keptSource;
  const QString& shown = side == Side::Master ? sourceFile : masterFile;
  const QString other = !(side == Side::Master ? keptSource : keptMaster).isEmpty()
                            ? (side == Side::Master ? keptSource : keptMaster)
                            : shown;
  if (other.isEmpty()) {
    // Half a pair: nothing to compare yet.
    kept = file;
    emit q.Notice(side == Side::Master
                      ? QStringLiteral("Master file set; drop the source file on the source "
                                       "grid to compare them.")
                      : QStringLiteral("Source file set; drop the master file on the master "
                                       "grid to compare them."));
    return;
  }
  const QString master = side == Side::Master ? file : other;
  const QString source = side == Side::Master ? other : file;
  keptMaster.clear();
  keptSource.clear();
  QTimer::singleShot(0, &q, [this, master, source] { q.Compare(master, source); });
}

// --- Construction --------------------------------------------------------------------------------

ComparisonView::ComparisonView(QWidget* parent)
    : QWidget(parent), d_(std::make_unique<Private>(*this)) {
  setObjectName(QStringLiteral("comparisonView"));
  auto* viewsAndMap = new QHBoxLayout;
  viewsAndMap->setContentsMargins(0, 0, 0, 0);
  viewsAndMap->setSpacing(1);
  viewsAndMap->addWidget(d_->grids->Stack(), 1);
  viewsAndMap->addWidget(d_->map->Map());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(d_->bar);
  layout->addLayout(viewsAndMap, 1);
  d_->findBar = new FindBar(this);
  layout->addWidget(d_->findBar);
  d_->finder = new ViewFinder(
      *d_->grids, *d_->detail, *d_->findBar,
      [this]() -> WordCompareOptions {
        if (d_->component == nullptr) return {};
        return {d_->component->GetFileIgnoreCase(), d_->component->GetFileIgnoreWhiteSpace()};
      },
      [this]() -> const ComparisonPalette& { return d_->colours; },
      [this](const QString& text) { emit Notice(text); }, this);
  connect(d_->finder, &ViewFinder::Finished, this, &ComparisonView::FindFinished);
  // The keys of the find bar work wherever the focus is in the view.
  auto key = [this](const QKeySequence& keys, auto slot) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, slot);
  };
  key(QKeySequence(Qt::Key_F3), [this] { FindNext(); });
  key(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindPrevious(); });
  ApplyColours(ComparisonPalette::For(palette()));
  // The bar above the grids comes before them when Tab goes round the window.
  QWidget::setTabOrder(this, d_->bar);

  d_->grids->Stack()->installEventFilter(this);
  setAcceptDrops(true);
  for (ComparisonGrid* grid :
       {d_->grids->Master(), d_->grids->Source(), d_->grids->AllInOneGrid()}) {
    // A file dropped on a side-by-side grid is meant for that side.
    grid->viewport()->setAcceptDrops(true);
    grid->viewport()->installEventFilter(this);
  }

  connect(d_->grids, &GridSet::Scrolled, this, [this](bool hideDetail) {
    d_->map->ScheduleFrame();
    if (hideDetail) d_->detail->Hide();
  });
  connect(d_->grids, &GridSet::RightClicked, this,
          [this](ComparisonGrid* grid, int gridRow, const QPoint& globalPos) {
            if (grid->model() == nullptr || grid->model()->rowCount() + 1 < 2) return;
            if (gridRow > 0) {
              if (grid == d_->grids->AllInOneGrid()) {
                grid->SetCurrentRow(gridRow);
              } else {
                d_->grids->Master()->SetCurrentRow(gridRow);
                d_->grids->Source()->SetCurrentRow(gridRow);
              }
            }
            emit ContextMenuRequested(globalPos);
          });
  connect(d_->map, &ChangeMapFollower::ChangeClicked, this, &ComparisonView::GoToChange);
  connect(d_->navigator, &ChangeNavigator::Shown, this, &ComparisonView::CurrentChangeChanged);
  connect(d_->bar, &DiskBar::RefreshClicked, this, [this] {
    if (d_->Heard(&ComparisonView::RefreshRequested))
      emit RefreshRequested();
    else if (!d_->masterFile.isEmpty())
      Compare(d_->masterFile, d_->sourceFile);
  });
}

ComparisonView::~ComparisonView() {
  // The component's events, and what the parts' own teardown tells (a grid scrolled as its
  // model goes), must not reach a view half torn down.
  for (const QMetaObject::Connection& connection : d_->componentConnections) disconnect(connection);
  for (QObject* part : std::initializer_list<QObject*>{d_->grids, d_->map, d_->navigator,
                                                       d_->detail, d_->bar, d_->finder})
    part->disconnect(this);
  GridSet& grids = *d_->grids;
  grids.Stack()->removeEventFilter(this);
  for (ComparisonGrid* grid : {grids.Master(), grids.Source(), grids.AllInOneGrid()})
    grid->viewport()->removeEventFilter(this);
  // Those that hold the grid set go before it.
  delete d_->finder;
  delete d_->navigator;
  delete d_->detail;
  delete d_->map;
  delete d_->grids;
}

// --- The comparison ------------------------------------------------------------------------------

void ComparisonView::SetComponent(LindrelWidget* component) {
  if (component == d_->component) return;
  for (const QMetaObject::Connection& connection : d_->componentConnections) disconnect(connection);
  d_->componentConnections.clear();
  d_->component = component;
  if (component == nullptr) return;
  d_->componentConnections = {
      connect(component, &LindrelWidget::FileCompareStarted, this, [this] { d_->Started(); }),
      connect(component, &LindrelWidget::FileCompareCompleted, this,
              [this](long) { d_->Completed(); }),
      connect(component, &LindrelWidget::OnError, this,
              [this](long, const QString& message) { emit Notice(message); }),
      connect(component, &QObject::destroyed, this,
              [this] {
                d_->bar->Stop();
                Clear();
              }),
  };
}

LindrelWidget* ComparisonView::Component() const {
  d_->FindNamedComponent();
  return d_->component;
}

QString ComparisonView::ComponentName() const { return d_->componentName; }

void ComparisonView::SetComponentName(const QString& name) {
  d_->componentName = name;
  if (d_->component != nullptr && d_->component->objectName() != name) SetComponent(nullptr);
  d_->FindNamedComponent();
}

void ComparisonView::SetWordComponent(LindrelWidget* words) { d_->detail->SetWordComponent(words); }

bool ComparisonView::Compare(const QString& master, const QString& source) {
  LindrelWidget* component = d_->EnsureComponent();
  // Through the component's own interface: the names reach it as the bytes they are.
  component->Control().SetFileSource(FileNameToStd(source));
  component->Control().SetFileMaster(FileNameToStd(master));
  return component->FileCompareBegin();
}

bool ComparisonView::ShowsCompletions() const { return d_->showsCompletions; }

void ComparisonView::SetShowsCompletions(bool on) { d_->showsCompletions = on; }

void ComparisonView::ShowResult() {
  LindrelWidget* component = d_->component;
  if (component == nullptr) {
    Clear();
    return;
  }
  d_->masterFile = FileNameFromBytes(component->Control().GetFileMaster());
  d_->sourceFile = FileNameFromBytes(component->Control().GetFileSource());
  GridSet& grids = *d_->grids;
  d_->finder->Forget();
  grids.SetRedraw(false);
  grids.Load(d_->masterFile, d_->masterStamp, d_->sourceFile, d_->sourceStamp,
             ShownFileName(d_->masterFile), ShownFileName(d_->sourceFile));
  if (!grids.Problem().isEmpty()) emit Notice(grids.Problem());

  // Read from the last record down, as the rows were always painted; a record that
  // cannot be read ends the reading there.
  const long count = component->FileCompareResultsCount();
  std::vector<GridRecord> records;
  records.reserve(static_cast<size_t>(std::max(count, 0L)));
  for (long index = count - 1; index >= 0; --index) {
    GridRecord r;
    if (!component->FileCompareResultsGet(index, r.changeType, r.masterStart, r.masterEnd,
                                          r.sourceStart, r.sourceEnd))
      break;
    records.push_back(r);
  }
  std::reverse(records.begin(), records.end());
  grids.Pad(records);
  if (grids.Problem().isEmpty())
    d_->map->SetMarks(records);
  else
    d_->map->Clear();
  LayOut();
  grids.SetRedraw(true);
  d_->detail->ForgetEnlargedRows();
  if (grids.AllInOne()) {
    grids.BuildAllInOne();
    LayOut();
  }
}

void ComparisonView::Clear() {
  d_->finder->Forget();
  d_->detail->Hide();
  d_->grids->Clear();
  d_->map->Clear();
  d_->masterFile.clear();
  d_->sourceFile.clear();
}

int ComparisonView::ChangeCount() const { return static_cast<int>(d_->navigator->Count()); }

QString ComparisonView::MasterFile() const { return d_->masterFile; }

QString ComparisonView::SourceFile() const { return d_->sourceFile; }

int ComparisonView::MasterLineCount() const { return d_->grids->MasterRows().LineCount(); }

int ComparisonView::SourceLineCount() const { return d_->grids->SourceRows().LineCount(); }

QString ComparisonView::LineText(Side side, long line, qsizetype maxCharacters) const {
  const bool source = side == Side::Source;
  const FileGridModel& rows = source ? d_->grids->SourceRows() : d_->grids->MasterRows();
  const int row = source ? d_->grids->SourceRowOf(line) : d_->grids->MasterRowOf(line);
  // Hosts read lines off screen (a list of the changes): kept out of memory.
  return row >= 1 ? rows.LineTextAside(row, maxCharacters) : QString();
}

QString ComparisonView::Problem() const { return d_->grids->Problem(); }

namespace {

QString ChangedSentence(const QString& changes, const QString& what) {
  if (changes.isEmpty()) return {};
  return QStringLiteral(
             "Changed since the comparison: %1. The %2 may not match the files; Refresh "
             "(F5) compares them again.")
      .arg(changes, what);
}

}  // namespace

QString ComparisonView::ChangedSinceComparison(const QString& what) const {
  return ChangedSentence(d_->grids->Changes(), what);
}

QString ComparisonView::ChangedOnDiskSinceComparison(const QString& what) const {
  if (d_->component == nullptr) return {};
  QString changes;
  for (auto [name, stamp] :
       {std::pair{FileNameFromBytes(d_->component->Control().GetFileMaster()), d_->masterStamp},
        std::pair{FileNameFromBytes(d_->component->Control().GetFileSource()), d_->sourceStamp}}) {
    const QString change = DescribeChange(stamp, FileStamp::Of(name));
    if (change.isEmpty()) continue;
    if (!changes.isEmpty()) changes += QStringLiteral("; ");
    changes += ShownFileName(name) + QLatin1Char(' ') + change;
  }
  return ChangedSentence(changes, what);
}

// --- Moves ---------------------------------------------------------------------------------------

int ComparisonView::CurrentChange() const { return d_->navigator->Current(); }
void ComparisonView::GoToChange(int change) { d_->navigator->GoTo(change); }
void ComparisonView::MoveFirst() { d_->navigator->First(); }
void ComparisonView::MoveLast() { d_->navigator->Last(); }
void ComparisonView::MoveNext() { d_->navigator->Next(); }
void ComparisonView::MovePrevious() { d_->navigator->Previous(); }
void ComparisonView::MoveNextChange() { d_->navigator->NextChange(); }
void ComparisonView::MovePreviousChange() { d_->navigator->PreviousChange(); }
void ComparisonView::ShowDetail() { d_->detail->ShowCurrentRow(); }
void ComparisonView::HideDetail() { d_->detail->Hide(); }

// --- Presentation --------------------------------------------------------------------------------

bool ComparisonView::AllInOne() const { return d_->grids->AllInOne(); }

void ComparisonView::SetAllInOne(bool on) {
  if (on == AllInOne()) return;
  if (on) {
    if (!d_->grids->AllInOneRows().IsBuilt()) {
      d_->grids->BuildAllInOne();
      LayOut();
    }
  } else {
    d_->detail->Hide();
  }
  d_->grids->ShowAllInOne(on);
  // Rows are measured for the view on screen only: the one coming up may hold rows of a
  // comparison made while it was hidden, or may not have followed the view's size.
  if (!window()->isMinimized()) LayOut();
  d_->navigator->Show();
  d_->map->ScheduleFrame();
  emit AllInOneChanged(on);
}

bool ComparisonView::ChangeMapShown() const { return !d_->map->Map()->isHidden(); }

void ComparisonView::SetChangeMapShown(bool on) {
  d_->map->Map()->setVisible(on);
  if (!window()->isMinimized()) LayOut();
}

QFont ComparisonView::TextFont() const { return d_->font; }

void ComparisonView::SetTextFont(const QFont& font) {
  d_->font = font;
  d_->grids->SetRedraw(false);
  d_->grids->SetFont(font);
  d_->detail->SetFont(font);
  LayOut();
  d_->grids->SetRedraw(true);
}

const ComparisonPalette& ComparisonView::Colours() const { return d_->colours; }

void ComparisonView::SetColours(const ComparisonPalette& colours) {
  d_->hostColours = true;
  ApplyColours(colours);
}

void ComparisonView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  const bool repaletted =
      event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange;
  if (repaletted && !d_->hostColours) ApplyColours(ComparisonPalette::For(palette()));
}

void ComparisonView::ApplyColours(const ComparisonPalette& colours) {
  d_->colours = colours;
  d_->grids->SetColours(colours);
  d_->map->Map()->SetColours(colours);
  d_->detail->SetColours(colours);
  d_->bar->SetColours(colours);
  d_->finder->Repaint();
}

void ComparisonView::LayOut() {
  d_->detail->Hide();
  d_->grids->LayOut(d_->detail->TakeEnlargedRow(AllInOne()));
  d_->map->ScheduleFrame();
}

// --- Finding
// --------------------------------------------------------------------------------------

void ComparisonView::ShowFindBar() { d_->finder->OpenBar(); }
void ComparisonView::HideFindBar() { d_->finder->CloseBar(); }
bool ComparisonView::FindBarShown() const { return !d_->findBar->isHidden(); }
QString ComparisonView::FindText() const { return d_->findBar->Text(); }
void ComparisonView::SetFindText(const QString& text) { d_->findBar->SetText(text); }
bool ComparisonView::FindMatchCase() const { return d_->findBar->MatchCase(); }
void ComparisonView::SetFindMatchCase(bool on) { d_->findBar->SetMatchCase(on); }
void ComparisonView::FindNext() { d_->finder->Find(true); }
void ComparisonView::FindPrevious() { d_->finder->Find(false); }
bool ComparisonView::Finding() const { return d_->finder->Finding(); }
QString ComparisonView::FindStatus() const { return d_->findBar->Status(); }

bool ComparisonView::GoToLine(Side side, long line) {
  return d_->finder->GoToLine(side == Side::Source, line);
}

long ComparisonView::CurrentLine(Side side) const {
  return d_->finder->CurrentLine(side == Side::Source);
}

bool ComparisonView::MarksWordsInEveryChange() const { return d_->finder->Marks().On(); }

void ComparisonView::SetMarksWordsInEveryChange(bool on) { d_->finder->SetMarksOn(on); }

// --- Features ------------------------------------------------------------------------------------

bool ComparisonView::WatchesFiles() const { return d_->watchesFiles; }

void ComparisonView::SetWatchesFiles(bool on) {
  d_->watchesFiles = on;
  if (!on) d_->bar->Stop();
}

QString ComparisonView::ChangedOnDiskText() const { return d_->bar->Text(); }

bool ComparisonView::TakesDrops() const { return d_->takesDrops; }

void ComparisonView::SetTakesDrops(bool on) {
  d_->takesDrops = on;
  setAcceptDrops(on);
  for (ComparisonGrid* grid : {d_->grids->Master(), d_->grids->Source(), d_->grids->AllInOneGrid()})
    grid->viewport()->setAcceptDrops(on);
}

void ComparisonView::TakeDrop(const QMimeData* data, Side side) {
  if (!d_->takesDrops) return;
  const DroppedPaths drop = SortDrop(data);
  switch (drop.kind) {
    case DroppedPaths::Kind::Refused: d_->Refuse(drop.refusal); return;
    case DroppedPaths::Kind::TwoFolders:
      if (!d_->Heard(&ComparisonView::FoldersDropped)) {
        d_->Refuse(QStringLiteral("Folders cannot be compared here: drop two files."));
        return;
      }
      // Not inside the drop: the drag's source waits for it to end, and a comparison
      // runs the event loop while it starts.
      QTimer::singleShot(0, this,
                         [this, paths = drop.paths] { emit FoldersDropped(paths[0], paths[1]); });
      return;
    case DroppedPaths::Kind::TwoFiles:
      QTimer::singleShot(0, this, [this, paths = drop.paths] {
        if (d_->Heard(&ComparisonView::FilesDropped))
          emit FilesDropped(paths[0], paths[1]);
        else
          Compare(paths[0], paths[1]);
      });
      return;
    case DroppedPaths::Kind::OneFile:
      if (side == Side::Both) {
        d_->Refuse(
            QStringLiteral("One file was dropped: drop two files together to compare "
                           "them, or one file on the master or the source grid of the "
                           "side-by-side view to replace that file."));
        return;
      }
      d_->FileDroppedOn(side, drop.paths[0]);
      return;
  }
}

// --- Events --------------------------------------------------------------------------------------

bool ComparisonView::eventFilter(QObject* watched, QEvent* event) {
  GridSet& grids = *d_->grids;
  switch (event->type()) {
    case QEvent::Resize:
      if (watched == grids.Stack()) d_->ScheduleLayout();
      // A grid's rows area changes height with its horizontal scroll bar, too.
      for (ComparisonGrid* grid : {grids.Master(), grids.Source(), grids.AllInOneGrid()})
        if (watched == grid->viewport()) d_->map->ScheduleFrame();
      break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      for (auto [grid, side] :
           {std::pair{grids.Master(), Side::Master}, std::pair{grids.Source(), Side::Source},
            std::pair{grids.AllInOneGrid(), Side::Both}}) {
        if (watched != grid->viewport()) continue;
        auto* drag = static_cast<QDropEvent*>(event);
        if (!d_->takesDrops || !CarriesPaths(drag->mimeData()))
          return QWidget::eventFilter(watched, event);
        drag->acceptProposedAction();
        if (event->type() == QEvent::Drop) TakeDrop(drag->mimeData(), side);
        return true;
      }
      break;
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}

void ComparisonView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  d_->FindNamedComponent();
}

void ComparisonView::dragEnterEvent(QDragEnterEvent* event) {
  if (d_->takesDrops && CarriesPaths(event->mimeData())) event->acceptProposedAction();
}

void ComparisonView::dragMoveEvent(QDragMoveEvent* event) {
  if (d_->takesDrops && CarriesPaths(event->mimeData())) event->acceptProposedAction();
}

void ComparisonView::dropEvent(QDropEvent* event) {
  if (!d_->takesDrops || !CarriesPaths(event->mimeData())) return;
  event->acceptProposedAction();
  TakeDrop(event->mimeData(), Side::Both);
}

}  // namespace lindrel::widgets
