#include "demo/compare-files/NavigationPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lindrel::demo {
namespace {

constexpr int kSize = 20;

// A triangle pointing left (or right) with its tip at x.
QPainterPath Triangle(qreal tip, bool left) {
  QPainterPath path;
  const qreal back = left ? tip + 8 : tip - 8;
  path.moveTo(tip, 10);
  path.lineTo(back, 3);
  path.lineTo(back, 17);
  path.closeSubpath();
  return path;
}

QPixmap Draw(int picture, const QColor& ink) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  switch (picture) {
    case 1:  // first: a bar and a triangle pointing to it
      painter.drawRect(QRectF(3, 3, 2.5, 14));
      painter.drawPath(Triangle(6, true));
      painter.drawPath(Triangle(11, true));
      break;
    case 2:  // previous
      painter.drawPath(Triangle(5, true));
      painter.drawPath(Triangle(11, true));
      break;
    case 3:  // next
      painter.drawPath(Triangle(15, false));
      painter.drawPath(Triangle(9, false));
      break;
    case 4:  // last
      painter.drawPath(Triangle(14, false));
      painter.drawPath(Triangle(9, false));
      painter.drawRect(QRectF(14.5, 3, 2.5, 14));
      break;
    case 5: {  // go to: a numbered line with an arrow into it
      painter.setPen(QPen(ink, 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(9, 4, 9, 12));
      painter.drawLine(QPointF(2, 10), QPointF(8, 10));
      painter.setPen(Qt::NoPen);
      painter.setBrush(ink);
      QPainterPath head;
      head.moveTo(9, 10);
      head.lineTo(5, 6.5);
      head.lineTo(5, 13.5);
      head.closeSubpath();
      painter.drawPath(head);
      break;
    }
    default: break;
  }
  return pixmap;
}

}  // namespace

QIcon NavigationPicture(int imageIndex) {
  if (imageIndex >= 1 && imageIndex <= 5) return QIcon(Draw(imageIndex, QColor(0x1f, 0x4e, 0x9a)));
  if (imageIndex >= 8 && imageIndex <= 12)
    return QIcon(Draw(imageIndex - 7, QColor(0xb4, 0xb4, 0xb4)));
  return {};
}

}  // namespace lindrel::demo
