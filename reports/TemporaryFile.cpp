#include "reports/TemporaryFile.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace lindrel::reports {

namespace {
constexpr int kAttempts = 21;
}

bool RetryDeletion(const std::function<bool()>& tryDelete, const std::function<void()>& pause) {
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (tryDelete()) return true;
    if (attempt < kAttempts) pause();
  }
  return false;
}

bool DeleteTemporaryFile(const std::string& path) {
  return RetryDeletion([&] { return ::unlink(path.c_str()) == 0 || errno == ENOENT; },
                       [] { std::this_thread::sleep_for(std::chrono::seconds(1)); });
}

}  // namespace lindrel::reports
