#include "demo/common/WindowPlacement.h"

#include <QRect>
#include <QSettings>
#include <QWidget>

#include "demo/common/LindrelDirectory.h"

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

}  // namespace

QString PlacementStorePath() {
  QString directory = LindrelDirectory();
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
  if (state == static_cast<int>(WindowState::Minimised))
    window.setWindowState(Qt::WindowMinimized);
  else if (state == static_cast<int>(WindowState::Maximised))
    window.setWindowState(Qt::WindowMaximized);
}

bool SavePlacement(const QWidget& window, const QString& windowName) {
  QString path = PlacementStorePath();
  if (path.isEmpty()) return false;
  QSettings store(path, QSettings::IniFormat);
  store.beginGroup(Group(windowName));
  WindowState state = WindowState::Normal;
  if (window.windowState() & Qt::WindowMinimized) state = WindowState::Minimised;
  else if (window.windowState() & Qt::WindowMaximized) state = WindowState::Maximised;
  store.setValue(QStringLiteral("WindowState"), static_cast<int>(state));
  if (state == WindowState::Normal) {
    const int twips = TwipsPerPixel(window);
    store.setValue(QStringLiteral("Left"), window.pos().x() * twips);
    store.setValue(QStringLiteral("Top"), window.pos().y() * twips);
    store.setValue(QStringLiteral("Width"), window.width() * twips);
    store.setValue(QStringLiteral("Height"), window.height() * twips);
  }
  store.endGroup();
  store.sync();
  return store.status() == QSettings::NoError;
}

}  // namespace lindrel::demo
