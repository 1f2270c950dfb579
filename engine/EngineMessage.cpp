#include "engine/EngineMessage.h"

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>

namespace lindrel::engine {

namespace {

using Capture = std::function<void(const std::string&)>;

std::mutex& CaptureMutex() {
  static std::mutex mutex;
  return mutex;
}

// Held as a shared pointer so a message being delivered keeps its capture alive while a
// test swaps the hook on another thread.
std::shared_ptr<const Capture>& CurrentCapture() {
  static std::shared_ptr<const Capture> capture;
  return capture;
}

}  // namespace

void EngineMessage(const char* format, ...) {
  std::shared_ptr<const Capture> capture;
  {
    std::lock_guard<std::mutex> lock(CaptureMutex());
    capture = CurrentCapture();
  }
  if (!capture) return;  // the component's sink: the text is dropped unformatted

  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<size_t>(length));
    std::vsnprintf(text.data(), text.size() + 1, format, again);
  }
  va_end(again);
  (*capture)(text);
}

void TEST_CaptureEngineMessages(std::function<void(const std::string&)> capture) {
  std::shared_ptr<const Capture> next;
  if (capture) next = std::make_shared<const Capture>(std::move(capture));
  std::lock_guard<std::mutex> lock(CaptureMutex());
  CurrentCapture() = std::move(next);
}

}  // namespace lindrel::engine
