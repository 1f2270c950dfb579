#include "engine/MappedRanges.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace lindrel::engine {

namespace {

struct Range {
  std::atomic<uintptr_t> begin{0};
  std::atomic<uintptr_t> end{0};  // 0: the slot is free
  std::atomic<bool> lost{false};
};

Range ranges[kMaxWatchedRanges];
std::mutex slotsMutex;  // taking and freeing slots; the handler only reads them
struct sigaction previousAction {};
uintptr_t pageSize = 4096;
bool installed = false;

void PassOn(int signal, siginfo_t* info, void* context) {
  if ((previousAction.sa_flags & SA_SIGINFO) != 0 && previousAction.sa_sigaction != nullptr) {
    previousAction.sa_sigaction(signal, info, context);
    return;
  }
  if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
    previousAction.sa_handler(signal);
    return;
  }
  // The default action: returning repeats the faulting access, which now ends the process
  // as it would have without this handler.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(SIGBUS, &fallback, nullptr);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  const uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
  for (Range& range : ranges) {
    const uintptr_t end = range.end.load(std::memory_order_acquire);
    if (end == 0 || address < range.begin.load(std::memory_order_relaxed) || address >= end) {
      continue;
    }
    void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
    // mmap is a plain system call here; the page past the file's end becomes zeros.
    if (::mmap(page, pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
               0) == MAP_FAILED) {
      break;
    }
    range.lost.store(true, std::memory_order_relaxed);
    return;
  }
  PassOn(signal, info, context);
}

bool Install() {
  if (installed) return true;
  const long page = ::sysconf(_SC_PAGESIZE);
  if (page > 0) pageSize = static_cast<uintptr_t>(page);
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
  sigemptyset(&action.sa_mask);
  if (::sigaction(SIGBUS, &action, &previousAction) != 0) return false;
  installed = true;
  return true;
}

}  // namespace

int WatchMappedRange(const void* begin, size_t length) {
  std::lock_guard lock(slotsMutex);
  if (!Install()) return -1;
  for (int slot = 0; slot < kMaxWatchedRanges; ++slot) {
    Range& range = ranges[slot];
    if (range.end.load(std::memory_order_relaxed) != 0) continue;
    const uintptr_t start = reinterpret_cast<uintptr_t>(begin);
    range.lost.store(false, std::memory_order_relaxed);
    range.begin.store(start, std::memory_order_relaxed);
    range.end.store(start + length, std::memory_order_release);
    return slot;
  }
  return -1;
}

bool MappedRangeLost(int slot) {
  return slot >= 0 && ranges[slot].lost.load(std::memory_order_relaxed);
}

void StopWatchingMappedRange(int slot) {
  if (slot < 0) return;
  std::lock_guard lock(slotsMutex);
  ranges[slot].end.store(0, std::memory_order_release);
}

}  // namespace lindrel::engine
