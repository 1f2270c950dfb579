#include "platform/WorkerThread.h"

#include <atomic>
#include <new>
#include <system_error>
#include <utility>

namespace lindrel::platform {

namespace {
std::atomic<bool> failNextStart{false};
}  // namespace

std::thread StartWorkerThread(std::function<void()> body) {
  if (failNextStart.exchange(false)) return {};
  try {
    return std::thread(std::move(body));
  } catch (const std::system_error&) {
    return {};
  } catch (const std::bad_alloc&) {
    // The thread's start state could not be allocated: the same refusal to the caller.
    return {};
  }
}

void TEST_FailNextThreadStart(bool fail) { failNextStart.store(fail); }

}  // namespace lindrel::platform
