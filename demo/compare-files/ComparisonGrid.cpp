#include "demo/compare-files/ComparisonGrid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace lindrel::demo {
namespace {

constexpr int kRowPadding = 4;  // pixels above and below the text lines of a row
constexpr int kRowCapTwips = 2000;

int TwipsToPixels(const QWidget& widget, int twips) {
  int dpi = widget.logicalDpiY() > 0 ? widget.logicalDpiY() : 96;
  return twips * dpi / 1440;
}

}  // namespace

ComparisonGrid::ComparisonGrid(const QString& name, QWidget* parent) : QTableView(parent) {
  setObjectName(name);
  setToolTip(QStringLiteral("Right Mouse Click For Options"));
  setWordWrap(true);
  setTextElideMode(Qt::ElideNone);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setTextElideMode(Qt::ElideMiddle);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { emit TopRowChanged(value + 1); });
}

int ComparisonGrid::TopRow() const { return verticalScrollBar()->value() + 1; }

void ComparisonGrid::SetTopRow(int gridRow) {
  const int value = std::max(gridRow, 1) - 1;
  // After new rows the view learns its scroll range only at its next layout; a value
  // set before that would be cut to the old range and the grid would stay at the top.
  if (value > verticalScrollBar()->maximum()) {
    executeDelayedItemsLayout();
    updateGeometries();
  }
  verticalScrollBar()->setValue(value);
}

int ComparisonGrid::CurrentRow() const {
  QModelIndex current = currentIndex();
  return current.isValid() ? current.row() + 1 : 0;
}

void ComparisonGrid::SetCurrentRow(int gridRow) {
  if (model() == nullptr || gridRow < 1 || gridRow > model()->rowCount()) return;
  int column = currentIndex().isValid() ? currentIndex().column() : model()->columnCount() > 1;
  setCurrentIndex(model()->index(gridRow - 1, column));
}

int ComparisonGrid::RowAt(const QPoint& viewportPoint) const {
  int row = rowAt(viewportPoint.y());
  return row < 0 ? 0 : row + 1;
}

void ComparisonGrid::SetRedraw(bool on) {
  setUpdatesEnabled(on);
  if (on) viewport()->update();
}

int ComparisonGrid::LineHeight() const { return QFontMetrics(font()).lineSpacing(); }

int ComparisonGrid::RowHeightFor(int lines) const {
  return std::max(lines, 1) * LineHeight() + kRowPadding;
}

int ComparisonGrid::CellMargin() const {
  return style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
}

int ComparisonGrid::TextWidthIn(int columnWidth) const {
  return std::max(columnWidth - 2 * CellMargin(), 1);
}

int ComparisonGrid::MaxRowHeight() const {
  return std::max(height() - TwipsToPixels(*this, kRowCapTwips), RowHeightFor(1));
}

void ComparisonGrid::ApplyRowLines(const std::vector<int>& lineCounts) {
  QHeaderView* rows = verticalHeader();
  const int oneLine = RowHeightFor(1);
  if (rows->defaultSectionSize() != oneLine) rows->setDefaultSectionSize(oneLine);
  const int cap = MaxRowHeight();
  const int count = std::min<int>(model() != nullptr ? model()->rowCount() : 0,
                                  static_cast<int>(lineCounts.size()) - 1);
  // Without this each resize would look up the row's position, a walk over all rows.
  const bool wasEnabled = rows->updatesEnabled();
  rows->setUpdatesEnabled(false);
  for (int row = 0; row < count; ++row) {
    const int height = std::min(RowHeightFor(lineCounts[static_cast<size_t>(row) + 1]), cap);
    if (rows->sectionSize(row) != height) rows->resizeSection(row, height);
  }
  rows->setUpdatesEnabled(wasEnabled);
  viewport()->update();
}

void ComparisonGrid::SizeColumn(int largestNumber, int column) {
  QFontMetricsF metrics(font());
  const qreal width =
      1.15 * metrics.horizontalAdvance(QStringLiteral(" ") + QString::number(largestNumber));
  // The cell's own margins come on top, or the widest number would be cut.
  setColumnWidth(column, static_cast<int>(std::ceil(width)) + 2 * CellMargin());
}

void ComparisonGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    emit RightClicked(RowAt(event->position().toPoint()), event->globalPosition().toPoint());
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
}

}  // namespace lindrel::demo
