#include "demo/common/WindowPlacement.h"

#include <QGuiApplication>
#include <QList>
#include <QPair>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>
#include <climits>

#include "demo/common/SettingsDirectory.h"

namespace lindrel::demo {
namespace {

constexpr int kDefaultPosition = 1000;
constexpr int kDefaultExtent = 6500;
constexpr int kDefaultState = static_cast<int>(WindowState::Maximised);

QString Group(const QString& windowName) { return QStringLiteral("Settings") + windowName; }

// A stored value that is not a number falls back to its default.
int ReadNumber(const QSettings& store, const QString& key, int defaultValue) {
  bool ok = false;
  int value = store.value(key, defaultValue).toInt(&ok);
  return ok ? value : defaultValue;
}

// How much of a window's top edge must lie on an area for the user to grab it there.
constexpr int kGrabWidth = 100;
constexpr int kGrabHeight = 30;

bool Reachable(const QRect& window, const QRect& area) {
  const QRect band(window.topLeft(), QSize(window.width(), std::min(window.height(), kGrabHeight)));
  const QRect seen = band.intersected(area);
  return seen.width() >= std::min(window.width(), kGrabWidth) && seen.height() >= band.height();
}

// How far `point` lies outside `area` (0 inside).
long long Distance(const QRect& area, const QPoint& point) {
  const long long dx = point.x() < area.left()    ? area.left() - point.x()
                       : point.x() > area.right() ? point.x() - area.right()
                                                  : 0;
  const long long dy = point.y() < area.top()      ? area.top() - point.y()
                       : point.y() > area.bottom() ? point.y() - area.bottom()
                                                   : 0;
  return dx + dy;
}

// `window` shrunk to `area` if larger, then moved the least distance that puts it inside.
QRect Fitted(const QRect& window, const QRect& area) {
  const QSize size = window.size().boundedTo(area.size());
  const int x = std::clamp(window.x(), area.left(), area.left() + area.width() - size.width());
  const int y = std::clamp(window.y(), area.top(), area.top() + area.height() - size.height());
  return QRect(QPoint(x, y), size);
}

// The values a save wrote, for reading them back.
using Written = QList<QPair<QString, int>>;

}  // namespace

void KeepReachable(QWidget& window) {
  QList<QRect> areas;
  if (window.isWindow()) {
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
  } else if (const QWidget* parent = window.parentWidget()) {
    areas << parent->rect();
  }
  areas.removeIf([](const QRect& area) { return area.isEmpty(); });
  if (areas.isEmpty()) return;

  const QRect rect(window.pos(), window.size());
  QRect bounds;
  for (const QRect& area : areas) bounds |= area;
  const auto home = std::find_if(areas.cbegin(), areas.cend(),
                                 [&rect](const QRect& area) { return Reachable(rect, area); });
  const bool fits = rect.width() <= bounds.width() && rect.height() <= bounds.height();
  if (home != areas.cend() && fits) return;

  // A window that lies off every area goes to the one nearest to it (the remaining screen
  // when a monitor is gone); one too large for them is shrunk onto the one it is on.
  QRect target = home != areas.cend() ? *home : areas.first();
  if (home == areas.cend()) {
    long long nearest = LLONG_MAX;
    for (const QRect& area : areas) {
      if (const long long d = Distance(area, rect.center()); d < nearest) {
        nearest = d;
        target = area;
      }
    }
  }
  const QRect fitted = Fitted(rect, target);
  window.move(fitted.topLeft());
  window.resize(fitted.size());
}

QString PlacementStorePath() {
  QString directory = SettingsDirectory();
  return directory.isEmpty() ? QString() : directory + QStringLiteral("/LindrelDemo.ini");
}

int TwipsPerPixel(const QWidget& window) {
  int dpi = window.logicalDpiX();
  return dpi > 0 ? qMax(1, 1440 / dpi) : 15;
}

void RestorePlacement(QWidget& window, const QString& windowName) {
  QString path = PlacementStorePath();
  if (path.isEmpty()) return;
  QSettings store(path, QSettings::IniFormat);
  store.beginGroup(Group(windowName));
  const int twips = TwipsPerPixel(window);
  int left = ReadNumber(store, QStringLiteral("Left"), kDefaultPosition);
  int top = ReadNumber(store, QStringLiteral("Top"), kDefaultPosition);
  int width = ReadNumber(store, QStringLiteral("Width"), kDefaultExtent);
  int height = ReadNumber(store, QStringLiteral("Height"), kDefaultExtent);
  int state = ReadNumber(store, QStringLiteral("WindowState"), kDefaultState);

  window.move(qRound(double(left) / twips), qRound(double(top) / twips));
  window.resize(qMax(1, qRound(double(width) / twips)), qMax(1, qRound(double(height) / twips)));
  // Before the state: a window is maximised on the screen it lies on.
  KeepReachable(window);
  if (state == static_cast<int>(WindowState::Minimised))
    window.setWindowState(Qt::WindowMinimized);
  else if (state == static_cast<int>(WindowState::Maximised))
    window.setWindowState(Qt::WindowMaximized);
}

bool SavePlacement(const QWidget& window, const QString& windowName, QString* error) {
  QString path = PlacementStorePath();
  if (path.isEmpty()) {
    if (error)
      *error =
          QStringLiteral("cannot write the window placement: the Lindrel directory is unavailable");
    return false;
  }
  WindowState state = WindowState::Normal;
  if (window.windowState() & Qt::WindowMinimized)
    state = WindowState::Minimised;
  else if (window.windowState() & Qt::WindowMaximized)
    state = WindowState::Maximised;
  Written written{{QStringLiteral("WindowState"), static_cast<int>(state)}};
  if (state == WindowState::Normal) {
    const int twips = TwipsPerPixel(window);
    written << QPair{QStringLiteral("Left"), window.pos().x() * twips}
            << QPair{QStringLiteral("Top"), window.pos().y() * twips}
            << QPair{QStringLiteral("Width"), window.width() * twips}
            << QPair{QStringLiteral("Height"), window.height() * twips};
  }
  {
    QSettings store(path, QSettings::IniFormat);
    store.beginGroup(Group(windowName));
    for (const auto& [key, value] : written) store.setValue(key, value);
    store.endGroup();
    store.sync();
  }
  // The store's status cannot tell: text it could not read marks it as failed although the
  // rewrite succeeded, and that mark hides a write that failed after it. What counts is
  // whether the file now holds the placement.
  QSettings check(path, QSettings::IniFormat);
  check.beginGroup(Group(windowName));
  const bool saved = std::all_of(written.cbegin(), written.cend(), [&check](const auto& entry) {
    bool ok = false;
    return check.value(entry.first).toInt(&ok) == entry.second && ok;
  });
  if (!saved && error) *error = QStringLiteral("cannot write the window placement to %1").arg(path);
  return saved;
}

}  // namespace lindrel::demo
