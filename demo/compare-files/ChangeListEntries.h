// The entries of the Compare Files window's drop-down list of changes: one per change
// record, "[N] ..." with the kind, the size and the line of the change and the start of
// its first line's text.
//
// Threading: GUI thread only.
#pragma once

#include <QStringList>

namespace lindrel::widgets {
class ComparisonView;
class LindrelWidget;
}  // namespace lindrel::widgets

namespace lindrel::demo {

// The entries for the records of `component`, with the line texts `view` shows; a record
// of no known kind has none, and a record that cannot be read ends the list.
QStringList ChangeListEntries(widgets::LindrelWidget& component,
                              const widgets::ComparisonView& view);

}  // namespace lindrel::demo
