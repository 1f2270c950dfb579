// The texts that name the component in its About box and About page.
// Threading: pure functions, any thread.
#pragma once

#include <QString>

namespace lindrel::widgets {

// "Lindrel Control, Version 1.0" and the copyright line, one per line.
QString ComponentAboutText();

}  // namespace lindrel::widgets
