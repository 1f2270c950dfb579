// The pages shipped with LindrelDemo: its help page and the maker's page (a local page,
// so the demo never sends the user to an address it cannot vouch for).
//
// They are looked for next to the program (help/), in the installed data folder and in
// the build tree, in that order.
//
// Threading: any thread.
#pragma once

#include <QString>

namespace lindrel::demo {

// Full paths of the pages; the first candidate when none exists (opening it then
// reports the missing file).
QString HelpFilePath();
QString MakerPagePath();

}  // namespace lindrel::demo
