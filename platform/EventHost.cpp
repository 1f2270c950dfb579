#include "lindrel/EventHost.h"

namespace lindrel {

EventHost::~EventHost() = default;

}  // namespace lindrel
