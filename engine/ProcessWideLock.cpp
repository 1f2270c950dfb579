#include "engine/ProcessWideLock.h"

namespace lindrel::engine {

std::mutex& CLibraryStateMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace lindrel::engine
