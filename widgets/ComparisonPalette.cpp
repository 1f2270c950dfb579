#include "lindrel/widgets/ComparisonPalette.h"

#include <QPalette>

namespace lindrel::widgets {

ComparisonPalette ComparisonPalette::Dark() {
  ComparisonPalette dark;
  dark.change = QColor(0x28, 0x28, 0x28);
  dark.currentChange = QColor(0x3C, 0x3C, 0x3C);
  dark.numberOfDifference = QColor(0x1E, 0x1E, 0x1E);
  dark.numberOfSameLine = QColor(0x3C, 0x3C, 0x3C);
  // The light palette's hues, lightened until they read on the backs above.
  dark.changed = QColor(0xFF, 0x8A, 0x8A);
  dark.onlyInMaster = QColor(0x8A, 0xB4, 0xFF);
  dark.onlyInSource = QColor(0x7F, 0xD6, 0x7F);
  dark.addedWords = QColor(0x80, 0xE8, 0x80);
  dark.deletedWords = QColor(0x8A, 0xB4, 0xFF);
  dark.changedWords = QColor(0xFF, 0x8A, 0x8A);
  dark.mapBack = QColor(0x20, 0x20, 0x20);
  dark.onScreen = QColor(0xC8, 0xC8, 0xC8);
  dark.currentMarkEdge = QColor(0xFF, 0xFF, 0xFF);
  dark.notice = QColor(0x4A, 0x3F, 0x1A);
  return dark;
}

bool ComparisonPalette::IsDark(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() <
         palette.color(QPalette::WindowText).lightness();
}

ComparisonPalette ComparisonPalette::For(const QPalette& palette) {
  return IsDark(palette) ? Dark() : ComparisonPalette{};
}

}  // namespace lindrel::widgets
