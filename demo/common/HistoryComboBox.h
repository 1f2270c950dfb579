// The drop-downs in which the demo's dialogs offer a history list: editable, newest entry
// first and selected, typed text never added to the list by the box itself.
//
// Threading: GUI thread only.
#pragma once

class QComboBox;
class QWidget;

namespace lindrel::demo {

class HistoryList;

// An editable drop-down named `name`, wide enough for a path.
QComboBox* HistoryComboBox(const char* name, QWidget* parent);
// Replaces the entries with `history`, newest first; the newest is selected.
void FillFromHistory(QComboBox* box, const HistoryList& history);

}  // namespace lindrel::demo
