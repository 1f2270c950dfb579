#include "engine/MappedRanges.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "lindrel/MappedReading.h"

namespace lindrel::engine {

namespace {

struct Range {
  std::atomic<uintptr_t> begin{0};
  std::atomic<uintptr_t> end{0};  // 0: the slot is free
  std::atomic<bool> lost{false};
};

Range ranges[kMaxWatchedRanges];
std::mutex slotsMutex;  // taking and freeing slots, installing; the handler only reads
struct sigaction previousAction {};
uintptr_t pageSize = 4096;
bool installed = false;  // under slotsMutex

// -1 until the host decides; then 0 (mapping forbidden) or 1.
std::atomic<int> hostSetting{-1};

bool EnvironmentForbidsMapping() {
  // Read once: the variable is the host's word from its start, and getenv must not race
  // with a setenv of the host's later on.
  static const bool forbids = [] {
    const char* value = std::getenv("LINDREL_NO_MMAP");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
  }();
  return forbids;
}

// The process ends as it would have without this handler: by the default action.
void EndByDefaultAction(int signal, bool sent) {
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(signal, &fallback, nullptr);
  // A fault repeats its access on return and is then delivered again; a sent signal is
  // not, so it is raised once more. It stays blocked until the handler returns.
  if (sent) ::raise(signal);
}

void PassOn(int signal, siginfo_t* info, void* context) {
  if ((previousAction.sa_flags & SA_SIGINFO) != 0 && previousAction.sa_sigaction != nullptr) {
    previousAction.sa_sigaction(signal, info, context);
    return;
  }
  if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
    previousAction.sa_handler(signal);
    return;
  }
  const bool sent = info->si_code <= 0;
  // An ignored signal that was sent stays ignored. A fault cannot be ignored: the kernel
  // would have ended the process all the same.
  if (sent && previousAction.sa_handler == SIG_IGN) return;
  EndByDefaultAction(signal, sent);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  // Only a fault has an address; for a signal sent with kill() or sigqueue() the same
  // bytes hold the sender's process and user ids, which may well look like an address in
  // a watched range.
  if (info->si_code > 0) {
    const uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
    for (Range& range : ranges) {
      const uintptr_t end = range.end.load(std::memory_order_acquire);
      if (end == 0 || address < range.begin.load(std::memory_order_relaxed) || address >= end) {
        continue;
      }
      void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
      // mmap is a plain system call here; the page past the file's end becomes zeros.
      if (::mmap(page, pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED,
                 -1, 0) == MAP_FAILED) {
        break;
      }
      range.lost.store(true, std::memory_order_relaxed);
      return;
    }
  }
  PassOn(signal, info, context);
}

bool HandlerInstalled() {
  struct sigaction current {};
  return ::sigaction(SIGBUS, nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) != 0 &&
         current.sa_sigaction == OnBusError;
}

// Needs slotsMutex.
bool Install() {
  if (installed) return HandlerInstalled();
  const long page = ::sysconf(_SC_PAGESIZE);
  if (page > 0) pageSize = static_cast<uintptr_t>(page);
  // The earlier action is known before the handler can run.
  if (::sigaction(SIGBUS, nullptr, &previousAction) != 0) return false;
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
  sigemptyset(&action.sa_mask);
  if (::sigaction(SIGBUS, &action, nullptr) != 0) return false;
  installed = true;
  return true;
}

// Needs slotsMutex. Gives SIGBUS back to the earlier action once mapping is forbidden and
// nothing mapped is left to guard; a handler the host has put in place since stays.
void UninstallIfUnused() {
  if (!installed || MappedReadingAllowed()) return;
  for (const Range& range : ranges) {
    if (range.end.load(std::memory_order_relaxed) != 0) return;
  }
  if (HandlerInstalled()) ::sigaction(SIGBUS, &previousAction, nullptr);
  installed = false;
}

}  // namespace

int WatchMappedRange(const void* begin, size_t length) {
  if (!MappedReadingAllowed()) return -1;
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
  UninstallIfUnused();
}

}  // namespace lindrel::engine

namespace lindrel {

void SetMappedReading(bool allowed) {
  engine::hostSetting.store(allowed ? 1 : 0);
  std::lock_guard lock(engine::slotsMutex);
  engine::UninstallIfUnused();
}

bool MappedReadingAllowed() {
  const int setting = engine::hostSetting.load();
  return setting >= 0 ? setting == 1 : !engine::EnvironmentForbidsMapping();
}

}  // namespace lindrel
