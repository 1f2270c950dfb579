#include "widgets/view/ComparisonGrid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "widgets/view/RowHeights.h"

namespace lindrel::widgets {
namespace {

constexpr int kRowPadding = 4;  // pixels above and below the text lines of a row
constexpr int kRowCapTwips = 2000;

int TwipsToPixels(const QWidget& widget, int twips) {
  int dpi = widget.logicalDpiY() > 0 ? widget.logicalDpiY() : 96;
  return twips * dpi / 1440;
}

// Draws a cell's text cut to what the cell can show.
class ShownTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    // A few hundred characters cost nothing to lay out.
    if (option->text.size() <= 512) return;
    const auto* grid = qobject_cast<const ComparisonGrid*>(option->widget);
    if (grid != nullptr) option->text = grid->ShownPart(option->text, option->rect.size());
  }

 public:
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto* grid = qobject_cast<const ComparisonGrid*>(option.widget);
    if (grid == nullptr || !grid->Marker()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    // A cell cut in its middle (a run too wide to draw in full) no longer holds its
    // characters where the marks expect them.
    std::vector<CellMark> marks = grid->Marker()(*grid, index.row() + 1, index.column(), item.text);
    if (!marks.empty() && item.text.size() > 512 &&
        !index.data(Qt::DisplayRole).toString().startsWith(item.text))
      marks.clear();
    if (marks.empty()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    PaintMarked(painter, item, marks);
  }

 private:
  // Draws the cell as the style does (back, selection, focus), then its text laid out
  // the way the style lays out wrapped text, over the marks.
  static void PaintMarked(QPainter* painter, QStyleOptionViewItem& item,
                          const std::vector<CellMark>& marks) {
    const QWidget* widget = item.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    const QString text = item.text;
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    item.text = text;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                               .adjusted(margin, 0, -margin, 0);
    // As the style lays the text out: every line, the whole placed by the cell's alignment.
    QTextLayout layout(text, item.font);
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WordWrap);
    wrap.setTextDirection(item.direction);
    wrap.setAlignment(QStyle::visualAlignment(item.direction, item.displayAlignment));
    layout.setTextOption(wrap);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(textRect.width());
      line.setPosition(QPointF(0, height));
      height += line.height();
    }
    layout.endLayout();
    const QPointF origin = QStyle::alignedRect(item.direction, item.displayAlignment,
                                               layout.boundingRect().size().toSize(), textRect)
                               .topLeft();

    painter->save();
    painter->setClipRect(item.rect);
    for (int n = 0; n < layout.lineCount(); ++n) {
      const QTextLine line = layout.lineAt(n);
      const int lineEnd = line.textStart() + line.textLength();
      for (const CellMark& mark : marks) {
        if (mark.begin == mark.end) {
          // Where words were taken out: a bar between the characters either side.
          if (mark.begin < line.textStart() || mark.begin > lineEnd ||
              (mark.begin == lineEnd && n + 1 < layout.lineCount()))
            continue;
          const qreal x = origin.x() + line.cursorToX(mark.begin);
          painter->fillRect(QRectF(x - 1, origin.y() + line.y(), 2, line.height()),
                            mark.edge.isValid() ? mark.edge : mark.back);
          continue;
        }
        const int begin = std::max(mark.begin, line.textStart());
        const int end = std::min(mark.end, lineEnd);
        if (begin >= end) continue;
        const qreal left = origin.x() + line.cursorToX(begin);
        const qreal right = origin.x() + line.cursorToX(end);
        const QRectF box(left, origin.y() + line.y(), right - left, line.height());
        painter->fillRect(box, mark.back);
        // Above the characters, never under them: underscores and descenders stay clear.
        if (mark.edge.isValid())
          painter->fillRect(QRectF(box.left(), box.top(), box.width(), 1), mark.edge);
      }
    }
    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (item.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    painter->setPen(item.palette.color(
        group, item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    layout.draw(painter, origin);
    painter->restore();
  }
};

}  // namespace

ComparisonGrid::ComparisonGrid(const QString& name, QWidget* parent) : QTableView(parent) {
  setItemDelegate(new ShownTextDelegate(this));
  setObjectName(name);
  setToolTip(QStringLiteral("Right Mouse Click For Options"));
  setWordWrap(true);
  setTextElideMode(Qt::ElideNone);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Text wraps inside its column, which the window fits to the view: a horizontal bar
  // would only show a text column laid out for a wider grid than it now is, and would
  // leave this grid a shorter view, with another scroll range, than the grid it scrolls
  // with.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setCornerButtonEnabled(false);
  // Tab leaves the grid for the next control, as everywhere else in a window; the arrow
  // keys move between rows.
  setTabKeyNavigation(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setTextElideMode(Qt::ElideMiddle);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    // Whoever follows the scroll reads the heights of the rows now on screen.
    SizeShownRows();
    emit TopRowChanged(value + 1);
  });
}

int ComparisonGrid::TopRow() const { return verticalScrollBar()->value() + 1; }

void ComparisonGrid::SetTopRow(int gridRow) {
  const int value = std::max(gridRow, 1) - 1;
  // After new rows the view learns its scroll range only at its next layout; a value
  // set before that would be cut to the old range and the grid would stay at the top.
  if (value > verticalScrollBar()->maximum()) LayOutNow();
  const int before = verticalScrollBar()->value();
  verticalScrollBar()->setValue(value);
  // Whoever follows the grid hears of a scroll; told where it is even when it stays, a
  // follower left elsewhere (rows it alone has, a scroll it made alone) comes to it.
  if (verticalScrollBar()->value() == before) emit TopRowChanged(before + 1);
}

void ComparisonGrid::LayOutNow() {
  executeDelayedItemsLayout();
  updateGeometries();
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

qsizetype ComparisonGrid::CharactersShownIn(const QSize& cell) const {
  // Wrapped lines hold at most the width in the narrowest printable character; twice
  // that allows for the blanks a wrapped line carries past its end and for a word wider
  // than the cell.
  const qsizetype lines = cell.height() / std::max(LineHeight(), 1) + 1;
  const qsizetype perLine = std::max(cell.width(), 1) / NarrowestWidth() + 2;
  return 2 * lines * perLine;
}

namespace {

// Letters and digits of ASCII: the line breaker never breaks between two of them.
bool Unbreakable(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

}  // namespace

QString ComparisonGrid::ShownPart(const QString& text, const QSize& cell) const {
  if (font() != advancesFont_ || advances_.empty()) {
    advances_.assign(0x10000, -1.0f);
    advancesFont_ = font();
  }
  const QFontMetricsF metrics(font());
  auto advance = [&](QChar c) {
    float& width = advances_[c.unicode()];
    if (width < 0) width = static_cast<float>(metrics.horizontalAdvance(c));
    return width;
  };
  // Wraps the text at its blanks the way the cell does, with room to spare (shaping may
  // set a line a little wider or narrower than the sum of its characters), and stops at
  // the first word of the line below the cell. A run of letters and digits too wide for
  // a line stands alone on one and runs past the border: only its start is drawn, which
  // looks the same. Other text without blanks (a script that wraps anywhere, a run the
  // breaker may split) is followed no further than twice what the cell's lines hold.
  const qreal width = std::max(cell.width(), 1) * 1.05;
  const qsizetype lines = cell.height() / std::max(LineHeight(), 1) + 2;
  const qreal enough = 2 * width * static_cast<qreal>(lines);
  const qreal overflowing = 1.25 * width;
  const qsizetype size = text.size();
  QString shown;
  qsizetype copied = 0;  // text[copied..] is not in `shown` yet
  qsizetype line = 1;
  qreal x = 0;         // what the line holds so far, its blanks included
  qreal consumed = 0;  // what all the lines hold so far
  qsizetype end = size;
  for (qsizetype i = 0; i < size && end == size;) {
    const qsizetype word = i;
    qreal wordWidth = 0;
    bool unbreakable = true;
    qsizetype cut = -1;  // where a too-wide run of letters and digits stops being drawn
    for (; i < size && !text[i].isSpace(); ++i) {
      unbreakable = unbreakable && Unbreakable(text[i]);
      if (unbreakable && cut < 0 && wordWidth > overflowing) cut = i;
      const qreal w = advance(text[i]);
      wordWidth += w;
      if (cut < 0 && (consumed += w) > enough) {
        end = i;
        break;
      }
    }
    if (end != size) break;
    if (cut >= 0 && unbreakable) {
      shown += QStringView(text).mid(copied, cut - copied);
      copied = i;
      wordWidth = overflowing;
    } else if (cut >= 0) {
      // Not letters and digits to its end: the breaker may split it; counted as text.
      for (qsizetype k = cut; k < i; ++k) consumed += advance(text[k]);
      if (consumed > enough) {
        end = i;
        break;
      }
    }
    if (x > 0 && x + wordWidth > width) {
      if (++line > lines) {
        end = word;
        break;
      }
      x = 0;
    }
    x += wordWidth;
    for (; i < size && text[i].isSpace(); ++i) {
      const qreal w = advance(text[i]);
      x += w;
      if ((consumed += w) > enough) {
        end = i;
        break;
      }
    }
  }
  if (copied == 0 && end == size) return text;
  shown += QStringView(text).mid(copied, std::max<qsizetype>(end - copied, 0));
  if (!shown.isEmpty() && shown.back().isHighSurrogate()) shown.chop(1);
  return shown;
}

int ComparisonGrid::NarrowestWidth() const {
  if (font() != narrowestFont_ || narrowestWidth_ <= 0) {
    const QFontMetrics metrics(font());
    int narrowest = metrics.horizontalAdvance(QLatin1Char(' '));
    for (char c = '!'; c <= '~'; ++c)
      narrowest = std::min(narrowest, metrics.horizontalAdvance(QLatin1Char(c)));
    narrowestFont_ = font();
    narrowestWidth_ = std::max(narrowest, 1);
  }
  return narrowestWidth_;
}

int ComparisonGrid::MaxRowLines() const {
  const int line = std::max(LineHeight(), 1);
  return std::max((MaxRowHeight() - kRowPadding + line - 1) / line, 1);
}

void ComparisonGrid::SizeShownRows() {
  if (heights_ != nullptr) heights_->SizeShown();
}

void ComparisonGrid::SizeRow(int gridRow) {
  if (heights_ != nullptr) heights_->Size(gridRow);
}

int ComparisonGrid::SizedRowHeight(int gridRow) {
  SizeRow(gridRow);
  return rowHeight(gridRow - 1);
}

void ComparisonGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (heights_ != nullptr && index.isValid()) {
    // The view decides where the row goes from the heights of the rows on screen, the
    // row's own and, to put it at the bottom or the middle, those of the rows above it.
    heights_->SizeShown();
    const int height = viewport()->height();
    for (int row = index.row() + 1, filled = 0; row >= 1 && filled <= height; --row) {
      heights_->Size(row);
      filled += rowHeight(row - 1);
    }
  }
  QTableView::scrollTo(index, hint);
}

bool ComparisonGrid::viewportEvent(QEvent* event) {
  // Rows that come into view by any way (a scroll, a row made shorter, a taller view) are
  // measured before they are drawn.
  if (event->type() == QEvent::Paint && heights_ != nullptr) heights_->SizeShown();
  return QTableView::viewportEvent(event);
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

}  // namespace lindrel::widgets
