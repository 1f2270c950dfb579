#include "reports/MarkAhead.h"

#include <limits>
#include <system_error>
#include <utility>

namespace lindrel::reports {

namespace {

constexpr std::size_t kFailed = std::numeric_limits<std::size_t>::max();

}  // namespace

MarkAhead::MarkAhead(std::size_t count, std::function<void(std::size_t, MarkedRow&)> mark)
    : count_(count), mark_(std::move(mark)), slots_(kWindow) {
  try {
    worker_ = std::thread([this] { Work(); });
  } catch (const std::system_error&) {
    // No second thread: the writer marks its rows itself.
  }
}

MarkAhead::~MarkAhead() {
  if (!worker_.joinable()) return;
  consumed_.store(kFailed, std::memory_order_release);
  consumed_.notify_one();
  worker_.join();
}

void MarkAhead::Work() {
  // Rows are handed over in batches, so that a writer waiting for them wakes once per
  // batch rather than once per row.
  std::size_t published = 0;
  const auto publish = [&](std::size_t rows) {
    if (rows == published) return;
    produced_.store(rows, std::memory_order_release);
    produced_.notify_one();
    published = rows;
  };
  try {
    for (std::size_t index = 0; index < count_; ++index) {
      // Wait while the window is full, having handed over every row marked.
      for (std::size_t taken = consumed_.load(std::memory_order_acquire);
           taken != kFailed && index - taken >= kWindow;
           taken = consumed_.load(std::memory_order_acquire)) {
        publish(index);
        consumed_.wait(taken, std::memory_order_acquire);
      }
      if (consumed_.load(std::memory_order_acquire) == kFailed) return;
      MarkedRow& slot = slots_[index % kWindow];
      slot.marked = false;
      slot.records.clear();
      mark_(index, slot);
      if ((index + 1) % kBatch == 0) publish(index + 1);
    }
    publish(count_);
  } catch (...) {
    error_ = std::current_exception();
    produced_.store(kFailed, std::memory_order_release);
    produced_.notify_one();
  }
}

void MarkAhead::Take(std::size_t index, MarkedRow& row) {
  std::size_t ready = produced_.load(std::memory_order_acquire);
  while (ready != kFailed && ready <= index) {
    produced_.wait(ready, std::memory_order_acquire);
    ready = produced_.load(std::memory_order_acquire);
  }
  if (ready == kFailed) std::rethrow_exception(error_);
  std::swap(row, slots_[index % kWindow]);
  // Slots are given back in batches too; the worker only waits for them with a full window.
  if ((index + 1) % kBatch == 0 || index + 1 == count_) {
    consumed_.store(index + 1, std::memory_order_release);
    consumed_.notify_one();
  }
}

}  // namespace lindrel::reports
