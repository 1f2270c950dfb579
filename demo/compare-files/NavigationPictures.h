// The pictures of the Compare Files window's navigation buttons, by their index in the
// toolbar's image list: 1 first, 2 previous, 3 next, 4 last, 5 go to (active), and 8 to 12
// the same pictures greyed. Drawn at 20 x 20 pixels.
//
// Threading: GUI thread only.
#pragma once

#include <QIcon>

namespace lindrel::demo {

// An empty icon for an index outside 1..5 and 8..12.
QIcon NavigationPicture(int imageIndex);

}  // namespace lindrel::demo
