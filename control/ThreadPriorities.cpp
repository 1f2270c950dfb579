#include "lindrel/LindrelCtrl.h"

namespace lindrel {

const char* ThreadPriorityDescription(long priority) {
  static const char* const kDescriptions[] = {"Idle (0)", "Lowest (1)", "Normal (2)",
                                              "Highest (3)", "Time Critical (4)"};
  if (priority < 0 || priority > 4) return nullptr;
  return kDescriptions[priority];
}

}  // namespace lindrel
