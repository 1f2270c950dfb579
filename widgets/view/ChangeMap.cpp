#include "widgets/view/ChangeMap.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <bit>

#include "widgets/view/GridColours.h"

namespace lindrel::widgets {
namespace {

constexpr int kMarkInset = 2;  // other marks leave room at the sides; the current one fills it

// The kinds in the order they share a pixel row, and their bits in a row's mask.
constexpr std::array<RowFore, 3> kKinds{RowFore::OnlyInMaster, RowFore::Changed,
                                        RowFore::OnlyInSource};

std::uint8_t KindBit(RowFore kind) {
  for (size_t i = 0; i < kKinds.size(); ++i)
    if (kKinds[i] == kind) return static_cast<std::uint8_t>(1u << i);
  return 0;
}

}  // namespace

ChangeMap::ChangeMap(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("changeMap"));
  setFixedWidth(kWidth);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  setCursor(Qt::PointingHandCursor);
  setToolTip(QStringLiteral("Change map: click a mark to go to its change, elsewhere to scroll"));
  // Reached by Tab, where the arrow keys move between changes and a screen reader reads
  // the current one; a click keeps the focus where it was.
  setFocusPolicy(Qt::TabFocus);
  setAccessibleName(QStringLiteral("Change map"));
  Describe();
}

QString ChangeMap::CurrentDescription() const {
  if (marks_.empty()) return QStringLiteral("No changes");
  if (current_ < 1 || current_ > static_cast<int>(marks_.size()))
    return QStringLiteral("%1 changes, none current").arg(marks_.size());
  const ChangeMark& mark = marks_[static_cast<size_t>(current_ - 1)];
  QString kind;
  switch (mark.kind) {
    case RowFore::OnlyInMaster: kind = QStringLiteral("only in the master"); break;
    case RowFore::OnlyInSource: kind = QStringLiteral("only in the source"); break;
    default: kind = QStringLiteral("changed"); break;
  }
  const int last = mark.firstRow + std::max(mark.count, 1) - 1;
  return QStringLiteral("Change %1 of %2, %3, %4")
      .arg(current_)
      .arg(marks_.size())
      .arg(kind, mark.firstRow == last
                     ? QStringLiteral("row %1").arg(mark.firstRow)
                     : QStringLiteral("rows %1 to %2").arg(mark.firstRow).arg(last));
}

void ChangeMap::Describe() {
  const QString description = CurrentDescription();
  if (description == accessibleDescription()) return;
  setAccessibleDescription(description);
  if (QAccessible::isActive()) {
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
  }
}

void ChangeMap::keyPressEvent(QKeyEvent* event) {
  const int count = static_cast<int>(marks_.size());
  int target = 0;
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: target = current_ > 1 ? current_ - 1 : 0; break;
    case Qt::Key_Down:
    case Qt::Key_Right: target = current_ < count ? current_ + 1 : 0; break;
    case Qt::Key_Home: target = count > 0 ? 1 : 0; break;
    case Qt::Key_End: target = count; break;
    default: QWidget::keyPressEvent(event); return;
  }
  if (target > 0 && target != current_) emit ChangeClicked(target);
}

void ChangeMap::SetMarks(int rows, std::vector<ChangeMark> marks) {
  rows_ = std::max(rows, 0);
  marks_ = std::move(marks);
  current_ = 0;
  marksDirty_ = true;
  Describe();
  update();
}

void ChangeMap::Clear() {
  SetMarks(0, {});
  SetFrame(0, 0);
}

void ChangeMap::SetCurrent(int change) {
  if (change == current_) return;
  current_ = change;
  Describe();
  update();
}

void ChangeMap::SetFrame(int firstRow, int lastRow) {
  if (firstRow == frameFirst_ && lastRow == frameLast_) return;
  frameFirst_ = firstRow;
  frameLast_ = lastRow;
  update();
}

QRect ChangeMap::Track() const { return rect().adjusted(1, 1, -1, -1); }

int ChangeMap::YOf(std::int64_t row) const {
  const QRect track = Track();
  if (rows_ <= 0) return track.top();
  return track.top() + static_cast<int>((row - 1) * track.height() / rows_);
}

QRect ChangeMap::RowsRect(int firstRow, int count) const {
  const QRect track = Track();
  if (rows_ <= 0 || count <= 0 || track.height() <= 0) return {};
  int top = YOf(firstRow);
  int bottom = std::max(YOf(static_cast<std::int64_t>(firstRow) + count),
                        top + kMinimumMarkHeight);  // one past the last pixel
  const int end = track.top() + track.height();
  if (bottom > end) {
    top = std::max(track.top(), top - (bottom - end));
    bottom = end;
  }
  return {track.left(), top, track.width(), bottom - top};
}

QRect ChangeMap::MarkRect(int change) const {
  if (change < 1 || change > static_cast<int>(marks_.size())) return {};
  const ChangeMark& mark = marks_[static_cast<size_t>(change - 1)];
  return RowsRect(mark.firstRow, mark.count);
}

int ChangeMap::RowAt(int y) const {
  const QRect track = Track();
  if (rows_ <= 0 || track.height() <= 0) return 0;
  const std::int64_t offset = std::clamp(y - track.top(), 0, track.height() - 1);
  return static_cast<int>(std::clamp<std::int64_t>(offset * rows_ / track.height() + 1, 1, rows_));
}

int ChangeMap::ChangeAt(int y) const {
  // The marks lie in row order, and so do their tops as drawn (a mark near the end is
  // pushed up to stay inside the strip, never above the marks before it): the last one
  // drawn from at or above `y`, and those just before it (a short mark is drawn taller
  // than its rows), are the only candidates.
  const QRect track = Track();
  const int lastTop = track.top() + track.height() - kMinimumMarkHeight;
  const auto drawnTop = [&](const ChangeMark& m) {
    return std::max(track.top(), std::min(YOf(m.firstRow), lastTop));
  };
  auto after = std::upper_bound(marks_.begin(), marks_.end(), y,
                                [&](int at, const ChangeMark& m) { return at < drawnTop(m); });
  for (auto it = after; it != marks_.begin();) {
    --it;
    if (it->count <= 0) continue;
    const QRect drawn = RowsRect(it->firstRow, it->count);
    if (y >= drawn.top() && y <= drawn.bottom()) return static_cast<int>(it - marks_.begin()) + 1;
    if (drawn.bottom() < y) break;
  }
  return 0;
}

void ChangeMap::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  marksDirty_ = true;
}

void ChangeMap::DrawMarks() {
  const qreal ratio = devicePixelRatioF();
  marksImage_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
  marksImage_.setDevicePixelRatio(ratio);
  marksImage_.fill(Qt::transparent);
  marksDirty_ = false;
  const QRect track = Track();
  if (rows_ <= 0 || marks_.empty() || track.height() <= 0) return;
  // Which kinds each pixel row shows: one pass over the records, then one pass over the
  // pixels, so thousands of records cost no more to draw than the strip is high.
  std::vector<std::uint8_t> kinds(static_cast<size_t>(track.height()), 0);
  for (const ChangeMark& mark : marks_) {
    const QRect drawn = RowsRect(mark.firstRow, mark.count);
    if (drawn.isEmpty()) continue;
    const std::uint8_t bit = KindBit(mark.kind);
    for (int y = drawn.top(); y <= drawn.bottom(); ++y)
      kinds[static_cast<size_t>(y - track.top())] |= bit;
  }
  QPainter painter(&marksImage_);
  const int left = track.left() + kMarkInset;
  const int width = std::max(track.width() - 2 * kMarkInset, 1);
  for (int y = 0; y < track.height(); ++y) {
    const std::uint8_t mask = kinds[static_cast<size_t>(y)];
    if (mask == 0) continue;
    // Kinds that meet on one pixel row share its width, so none hides another.
    const int shown = std::popcount(static_cast<unsigned>(mask));
    int x = left;
    int taken = 0;
    for (size_t i = 0; i < kKinds.size(); ++i) {
      if ((mask & (1u << i)) == 0) continue;
      ++taken;
      const int next = left + width * taken / shown;
      painter.fillRect(x, track.top() + y, next - x, 1, grid_colours::Fore(colours_, kKinds[i]));
      x = next;
    }
  }
}

void ChangeMap::paintEvent(QPaintEvent*) {
  if (marksDirty_) DrawMarks();
  QPainter painter(this);
  painter.fillRect(rect(), colours_.mapBack);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.drawImage(0, 0, marksImage_);
  if (frameFirst_ > 0 && frameLast_ >= frameFirst_) {
    const QRect frame = RowsRect(frameFirst_, frameLast_ - frameFirst_ + 1);
    QColor shade = colours_.onScreen;
    shade.setAlpha(40);
    painter.fillRect(frame, shade);
    painter.setPen(colours_.onScreen);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
  }
  const QRect current = MarkRect(current_);
  if (!current.isEmpty()) {
    painter.fillRect(current,
                     grid_colours::Fore(colours_, marks_[static_cast<size_t>(current_ - 1)].kind));
    painter.setPen(colours_.currentMarkEdge);
    painter.drawRect(current.adjusted(0, 0, -1, -1));
  }
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void ChangeMap::Pointed(int y) {
  const int change = ChangeAt(y);
  const int target = change > 0 ? -change : RowAt(y);
  if (target == lastPointed_ || target == 0) return;
  lastPointed_ = target;
  if (change > 0)
    emit ChangeClicked(change);
  else
    emit RowClicked(target);
}

void ChangeMap::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  lastPointed_ = kNothingPointed;
  Pointed(event->position().toPoint().y());
  event->accept();
}

void ChangeMap::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(event);
  Pointed(event->position().toPoint().y());
  event->accept();
}

void ChangeMap::SetColours(const ComparisonPalette& colours) {
  colours_ = colours;
  marksDirty_ = true;
  update();
}

}  // namespace lindrel::widgets
