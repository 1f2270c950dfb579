/// @file
/// ComparisonPalette: the colours a ComparisonView paints with, named by what they mean.
///
/// A default-constructed palette holds the view's standard colours, made for a light
/// application palette. Dark() is their variant for a dark one, and For() picks between the
/// two; a ComparisonView follows its Qt palette that way until its host hands it colours of
/// its own. A host that wants others (a theme of its own) copies one of them, changes what
/// it needs and hands it to ComparisonView::SetColours. Invalid colours are not checked:
/// the host owns its choice.
///
/// Threading: a plain value.
#pragma once

#include <QColor>

class QPalette;

#include "lindrel/widgets/export.h"

namespace lindrel::widgets {

/// The colours of a comparison view.
struct LINDREL_WIDGETS_EXPORT ComparisonPalette {
  /// Back of the rows of a change.
  QColor change{0xEF, 0xEF, 0xEF};
  /// Back of the rows of the current change.
  QColor currentChange{0xC0, 0xC0, 0xC0};
  /// Back of an all-in-one line number on a row of a difference.
  QColor numberOfDifference{0xFF, 0xFF, 0xFF};
  /// Back of an all-in-one line number on an unchanged row.
  QColor numberOfSameLine{0xC0, 0xC0, 0xC0};
  /// Text of a changed line (and its change-map mark).
  QColor changed{0xFF, 0x00, 0x00};
  /// Text of a line only in the master (and its change-map mark).
  QColor onlyInMaster{0x00, 0x00, 0xFF};
  /// Text of a line only in the source (and its change-map mark).
  QColor onlyInSource{0x00, 0x80, 0x00};
  /// Words added, in the word marks of the current row.
  QColor addedWords{0x00, 0xFF, 0x00};
  /// Words removed, in the word marks of the current row.
  QColor deletedWords{0x00, 0x00, 0xFF};
  /// Words changed, in the word marks of the current row.
  QColor changedWords{0xFF, 0x00, 0x00};
  /// The change map's strip.
  QColor mapBack{0xF8, 0xF8, 0xF8};
  /// The change map's frame around the rows on screen.
  QColor onScreen{0x40, 0x40, 0x40};
  /// The outline of the current change's mark on the change map.
  QColor currentMarkEdge{0x00, 0x00, 0x00};
  /// The bar that says a compared file changed on disk.
  QColor notice{0xFF, 0xF4, 0xC2};

  /// The variant for a dark application palette: dark backs, light texts. Each text and
  /// word-mark colour keeps a contrast of at least 4.5:1 (WCAG relative luminance) on the
  /// change and current-change backs and on any back from black to #3C3C3C, the bases and
  /// windows of dark themes; the notice back keeps that contrast with light text.
  static ComparisonPalette Dark();
  /// True when `palette` is dark: its window colour is darker than its window text.
  static bool IsDark(const QPalette& palette);
  /// Dark() when `palette` is dark (IsDark), else the standard colours.
  static ComparisonPalette For(const QPalette& palette);
};

}  // namespace lindrel::widgets
