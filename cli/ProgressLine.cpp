#include "cli/ProgressLine.h"

#include <cstdio>

namespace lindrel::cli {

namespace {
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr const char* kEraseLine = "\r\033[K";
}  // namespace

void ProgressLine::Update(long entries, std::chrono::milliseconds elapsed) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && now - lastDrawn_ < kRedrawInterval) return;
  lastDrawn_ = now;
  char text[96];
  std::snprintf(text, sizeof text, "lindrel: %ld entries, %.1f s", entries,
                static_cast<double>(elapsed.count()) / 1000.0);
  err_ << kEraseLine << text;
  err_.flush();
  shown_ = true;
}

void ProgressLine::Clear() {
  if (!shown_) return;
  err_ << kEraseLine;
  err_.flush();
  shown_ = false;
}

}  // namespace lindrel::cli
