#include "widgets/view/GridSet.h"

#include <QHBoxLayout>
#include <QStackedWidget>

#include <algorithm>
#include <system_error>
#include <tuple>

#include "lindrel/widgets/FileNames.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/GridLines.h"
#include "widgets/view/RowHeights.h"

namespace lindrel::widgets {
namespace {

constexpr int kSideBySideTextReserveTwips = 260;
constexpr int kAllInOneTextReserveTwips = 250;

int TwipsToPixels(const QWidget& widget, int twips) {
  int dpi = widget.logicalDpiX() > 0 ? widget.logicalDpiX() : 96;
  return twips * dpi / 1440;
}

}  // namespace

GridSet::GridSet(QWidget* owner) : QObject(owner) {
  master_ = new ComparisonGrid(QStringLiteral("msfgMaster"), owner);
  source_ = new ComparisonGrid(QStringLiteral("msfgSource"), owner);
  allInOne_ = new ComparisonGrid(QStringLiteral("msfgAllInOne"), owner);
  master_->setAccessibleName(QStringLiteral("Master file"));
  source_->setAccessibleName(QStringLiteral("Source file"));
  allInOne_->setAccessibleName(QStringLiteral("Both files, all in one"));
  master_->setModel(&masterModel_);
  source_->setModel(&sourceModel_);
  allInOne_->setModel(&allInOneModel_);

  auto side = [](ComparisonGrid* grid, const FileGridModel& model) {
    return RowHeights::Side{grid, FileGridModel::kTextColumn,
                            [&model](int r) { return model.TextLengthBound(r); },
                            [&model](int r) { return model.ShownText(r); }};
  };
  sideBySideHeights_ = std::make_unique<RowHeights>(
      std::vector<RowHeights::Side>{side(master_, masterModel_), side(source_, sourceModel_)});
  allInOneHeights_ = std::make_unique<RowHeights>(std::vector<RowHeights::Side>{
      {allInOne_, AllInOneModel::kTextColumn,
       [this](int r) {
         // All-in-one row r shows the text of row r of one of the side-by-side grids.
         return allInOneModel_.Kind(r) == AllInOneModel::RowKind::Same ||
                        allInOneModel_.Kind(r) == AllInOneModel::RowKind::OnlyInMaster
                    ? masterModel_.TextLengthBound(r)
                    : sourceModel_.TextLengthBound(r);
       },
       [this](int r) { return allInOneModel_.ShownCellText(r, AllInOneModel::kTextColumn); }}});

  for (ComparisonGrid* grid : {master_, source_, allInOne_}) {
    grid->setFont(QFont(QStringLiteral("Courier New")));
    connect(grid, &ComparisonGrid::TopRowChanged, this,
            [this, grid](int topRow) { GridScrolled(grid, topRow); });
    connect(grid, &ComparisonGrid::RightClicked, this,
            [this, grid](int row, const QPoint& at) { emit RightClicked(grid, row, at); });
  }

  sideBySide_ = new QWidget(owner);
  sideBySide_->setObjectName(QStringLiteral("sideBySide"));
  auto* pair = new QHBoxLayout(sideBySide_);
  pair->setContentsMargins(0, 0, 0, 0);
  pair->setSpacing(2);
  pair->addWidget(master_, 1);
  pair->addWidget(source_, 1);
  stack_ = new QStackedWidget(owner);
  stack_->addWidget(sideBySide_);
  stack_->addWidget(allInOne_);
}

GridSet::~GridSet() {
  // The models and sizers are members; the grids must let go of them first.
  sideBySideHeights_.reset();
  allInOneHeights_.reset();
  for (ComparisonGrid* grid : {master_, source_, allInOne_}) grid->setModel(nullptr);
}

ComparisonGrid* GridSet::Leading() const { return allInOneShown_ ? allInOne_ : master_; }

// --- A result ----------------------------------------------------------------------------------

void GridSet::ReadAhead(const QString& master, const QString& source) {
  // An earlier read-ahead still running is waited for: it may hold a mapping.
  readAhead_ = {};
  constexpr qint64 kWorthReadingAhead = qint64{1} << 20;
  if (FileStamp::Of(master).size < kWorthReadingAhead &&
      FileStamp::Of(source).size < kWorthReadingAhead)
    return;
  try {
    readAhead_ = std::async(std::launch::async, [master, source] {
      ReadPair pair{true, master, source, {}, {}};
      pair.masterLines.loaded = pair.masterLines.lines->Load(master, &pair.masterLines.error);
      pair.sourceLines.loaded = pair.sourceLines.lines->Load(source, &pair.sourceLines.error);
      return pair;
    });
  } catch (const std::system_error&) {
    // No thread to spare: Load reads the files.
  }
}

void GridSet::Load(const QString& master, const FileStamp& masterStamp, const QString& source,
                   const FileStamp& sourceStamp, const QString& masterTitle,
                   const QString& sourceTitle) {
  problem_.clear();
  changes_.clear();
  masterTitle_ = masterTitle;
  sourceTitle_ = sourceTitle;
  ReadPair pair;
  if (readAhead_.valid()) pair = readAhead_.get();
  if (!pair.read || pair.master != master || pair.source != source) {
    // Reading the files is most of the time a large pair takes to show: the source is
    // read on a second thread while the master is read here.
    pair = ReadPair{true, master, source, {}, {}};
    std::future<bool> sourceRead = std::async(std::launch::async | std::launch::deferred, [&pair] {
      return pair.sourceLines.lines->Load(pair.source, &pair.sourceLines.error);
    });
    pair.masterLines.loaded = pair.masterLines.lines->Load(master, &pair.masterLines.error);
    pair.sourceLines.loaded = sourceRead.get();
  }
  for (auto [name, stamp, read, model] :
       {std::tuple{&master, &masterStamp, &pair.masterLines, &masterModel_},
        std::tuple{&source, &sourceStamp, &pair.sourceLines, &sourceModel_}}) {
    // A file that was there when the comparison started shows what is left of it.
    if (!read->loaded)
      NoteUnreadable(*name, read->error);
    else
      NoteChange(*name, *stamp, read->lines->ByteCount());
    model->Reset(std::move(read->lines));
  }
  masterModel_.SetHeaderText(QStringLiteral("[Master] ") + masterTitle);
  sourceModel_.SetHeaderText(QStringLiteral("[Source] ") + sourceTitle);
  allInOneModel_.Clear();
}

void GridSet::NoteUnreadable(const QString& fileName, const QString& error) {
  if (!problem_.isEmpty()) problem_ += QStringLiteral("; ");
  problem_ += QStringLiteral("Cannot show %1: %2").arg(ShownFileName(fileName), error);
}

void GridSet::NoteChange(const QString& fileName, const FileStamp& compared, qint64 loadedBytes) {
  const FileStamp now = FileStamp::Of(fileName);
  QString change = DescribeChange(compared, now);
  // Written to and set back to its old time, or changed while it was read.
  if (change.isEmpty() && loadedBytes >= 0 && loadedBytes != compared.size)
    change = QStringLiteral("changed while it was read");
  if (change.isEmpty()) return;
  if (!changes_.isEmpty()) changes_ += QStringLiteral("; ");
  changes_ += ShownFileName(fileName) + QLatin1Char(' ') + change;
}

void GridSet::Pad(const std::vector<GridRecord>& records) {
  if (!problem_.isEmpty()) {
    // The records describe lines a grid cannot show: the grids show what could be read,
    // uncoloured.
    recordRows_.clear();
    return;
  }
  SetRedraw(false);
  AlignedRows rows = AlignRows(masterModel_.LineCount(), sourceModel_.LineCount(), records);
  masterModel_.SetRows(std::move(rows.master));
  sourceModel_.SetRows(std::move(rows.source));
  recordRows_ = std::move(rows.records);
  SetRedraw(true);
}

void GridSet::Clear() {
  readAhead_ = {};
  recordRows_.clear();
  masterModel_.Clear();
  sourceModel_.Clear();
  allInOneModel_.Clear();
  masterModel_.SetHeaderText(QString());
  sourceModel_.SetHeaderText(QString());
}

void GridSet::PaintChange(int change, RowBack back) {
  if (change < 1 || change > static_cast<int>(recordRows_.size())) return;
  const RecordRows& rows = recordRows_[static_cast<size_t>(change - 1)];
  // Both views are painted: the one not on screen would otherwise keep an older current
  // change and show two of them once the user switches back to it.
  masterModel_.SetRowsBack(rows.masterFirst, rows.count, back);
  sourceModel_.SetRowsBack(rows.sourceFirst, rows.count, back);
  if (allInOneModel_.IsBuilt()) allInOneModel_.SetRowsBack(rows.masterFirst, rows.count, back);
}

// --- The view on screen ------------------------------------------------------------------------

void GridSet::ShowAllInOne(bool on) {
  if (on) BuildAllInOne();
  allInOneShown_ = on;
  stack_->setCurrentWidget(on ? static_cast<QWidget*>(allInOne_) : sideBySide_);
}

void GridSet::BuildAllInOne() {
  if (allInOneModel_.IsBuilt()) return;
  SetRedraw(false);
  allInOneModel_.Build(masterTitle_, sourceTitle_);
  SetRedraw(true);
}

void GridSet::SetFont(const QFont& font) {
  for (ComparisonGrid* grid : {master_, source_, allInOne_}) grid->setFont(font);
}

void GridSet::SetColours(const ComparisonPalette& colours) {
  masterModel_.SetColours(colours);
  sourceModel_.SetColours(colours);
  allInOneModel_.SetColours(colours);
}

void GridSet::LayOut(int enlargedRow) {
  SetRedraw(false);
  for (auto [grid, model] :
       {std::pair{master_, &masterModel_}, std::pair{source_, &sourceModel_}}) {
    grid->SizeColumn(model->LineCount(), FileGridModel::kNumberColumn);
    const int reserve = TwipsToPixels(*grid, kSideBySideTextReserveTwips);
    const int room = grid->viewport()->width() - grid->columnWidth(FileGridModel::kNumberColumn);
    const int literal = grid->width() - grid->columnWidth(FileGridModel::kNumberColumn) - reserve;
    // The reserve was meant for the scroll bar; never wider than the room, or a
    // horizontal scroll bar would appear for nothing.
    grid->setColumnWidth(FileGridModel::kTextColumn, std::max(std::min(literal, room), 1));
  }
  allInOne_->SizeColumn(masterModel_.LineCount(), AllInOneModel::kMasterNumberColumn);
  allInOne_->SizeColumn(sourceModel_.LineCount(), AllInOneModel::kSourceNumberColumn);
  const int numbers = allInOne_->columnWidth(AllInOneModel::kMasterNumberColumn) +
                      allInOne_->columnWidth(AllInOneModel::kSourceNumberColumn);
  const int literal =
      allInOne_->width() - numbers - TwipsToPixels(*allInOne_, kAllInOneTextReserveTwips);
  const int room = allInOne_->viewport()->width() - numbers;
  allInOne_->setColumnWidth(AllInOneModel::kTextColumn, std::max(std::min(literal, room), 1));

  // Rows are measured for the view on screen; the other one is measured when it is shown
  // (a grid that is not shown does not know its width yet). The enlarged row goes back to
  // its measured height with the others: a height remembered for it before would be wrong
  // for the new width or font.
  (allInOneShown_ ? allInOneHeights_ : sideBySideHeights_)->Forget(enlargedRow);
  SetRedraw(true);
}

void GridSet::SetRedraw(bool on) {
  for (ComparisonGrid* grid : {master_, source_, allInOne_}) grid->SetRedraw(on);
}

void GridSet::GridScrolled(ComparisonGrid* grid, int topRow) {
  if (grid == allInOne_) {
    emit Scrolled(true);
    return;
  }
  emit Scrolled(grid == master_);
  if (scrollEcho_) return;
  scrollEcho_ = true;
  (grid == master_ ? source_ : master_)->SetTopRow(topRow);
  scrollEcho_ = false;
}

void GridSet::ShowRowInView(int gridRow) {
  ComparisonGrid* grid = Leading();
  const int rows = grid->model() != nullptr ? grid->model()->rowCount() : 0;
  if (gridRow < 1 || gridRow > rows) return;
  // The row in the middle of the view: the rows above it fill half of it, by their heights
  // (a wrapped line may fill it alone).
  const int half = grid->viewport()->height() / 2;
  int top = gridRow;
  for (int filled = grid->SizedRowHeight(gridRow);
       top > 1 && filled + grid->SizedRowHeight(top - 1) <= half; --top)
    filled += grid->rowHeight(top - 2);
  // The master grid leads; the source grid follows it.
  grid->SetTopRow(top);
}

std::pair<int, int> GridSet::RowsOnScreen() const {
  ComparisonGrid* grid = Leading();
  const int rows = grid->model() != nullptr ? grid->model()->rowCount() : 0;
  if (rows == 0) return {0, 0};
  // From the row heights, not from row positions: those a pending layout has not yet
  // caught up with.
  grid->SizeShownRows();
  const int first = std::min(grid->TopRow(), rows);
  const int height = grid->viewport()->height();
  int last = first;
  for (int filled = grid->rowHeight(first - 1); filled < height && last < rows; ++last)
    filled += grid->rowHeight(last);
  return {first, last};
}

}  // namespace lindrel::widgets
