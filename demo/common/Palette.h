// The demo's colours, named by what they mean, for every window and legend: the grids of
// both comparison windows, their legends and the detail view's word marks.
#pragma once

#include <QColor>

namespace lindrel::demo::palette {

// Backs.
inline const QColor kChange{0xEF, 0xEF, 0xEF};         // rows of a change; marked directory cells
inline const QColor kCurrentChange{0xC0, 0xC0, 0xC0};  // rows of the current change
// All-in-one line numbers of a difference, and of an unchanged line.
inline const QColor kNumberOfDifference{0xFF, 0xFF, 0xFF};
inline const QColor kNumberOfSameLine{0xC0, 0xC0, 0xC0};

// Texts (and the legend's boxes).
inline const QColor kChanged{0xFF, 0x00, 0x00};       // a changed line or file
inline const QColor kOnlyInMaster{0x00, 0x00, 0xFF};  // a line or entry only in the master
inline const QColor kOnlyInSource{0x00, 0x80, 0x00};  // a line or entry only in the source

// Words marked in the detail view.
inline const QColor kAddedWords{0x00, 0xFF, 0x00};
inline const QColor kDeletedWords{0x00, 0x00, 0xFF};
inline const QColor kChangedWords{0xFF, 0x00, 0x00};

// The change map beside the Compare Files grids (its marks take the text colours above).
inline const QColor kMapBack{0xF8, 0xF8, 0xF8};          // the strip itself
inline const QColor kOnScreen{0x40, 0x40, 0x40};         // edge of the rows on screen
inline const QColor kCurrentMarkEdge{0x00, 0x00, 0x00};  // outline of the current change

// The bar that says a compared file changed on disk.
inline const QColor kNotice{0xFF, 0xF4, 0xC2};

}  // namespace lindrel::demo::palette
