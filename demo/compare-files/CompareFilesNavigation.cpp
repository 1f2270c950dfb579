// Where the Compare Files window moves between changes and opens its word-level detail
// view. Moving, highlighting the current change and the detail view itself are not part
// of the window yet; these are the points the rest of the window calls, each doing the
// part that is its own today.
#include <QComboBox>

#include "demo/compare-files/CompareFilesWindow.h"

namespace lindrel::demo {

void CompareFilesWindow::UpdateNavigationalDropDownListBox() {
  // The list describes the records of the last comparison; those of an earlier one
  // must not stay behind.
  cmboChangeListing_->clear();
}

void CompareFilesWindow::MoveFirst() {
  currentChange_ = 1;
  MoveToChange(true);
}

void CompareFilesWindow::MoveToChange(bool /*syncDropDown*/) {
  if (settings_.showReportOnly || currentChange_ < 1) return;
  SetStatus(2, QString::number(currentChange_));
}

void CompareFilesWindow::SetNavigationButtons() {}

void CompareFilesWindow::HideDetailViews() {}

}  // namespace lindrel::demo
