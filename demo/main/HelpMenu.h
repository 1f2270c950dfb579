// The commands of the main window's Help menu: the help page, the About box (frmAbout)
// and the maker's page, each opened over `parent`.
//
// Threading: GUI thread only.
#pragma once

class QWidget;

namespace lindrel::demo {

void ShowHelpFile(QWidget* parent);
void ShowAboutBox(QWidget* parent);
void ShowMakerPage(QWidget* parent);

}  // namespace lindrel::demo
