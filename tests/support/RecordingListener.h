// A listener that records every event with the thread it was fired on.
#pragma once

#include <string>
#include <thread>
#include <vector>

#include "lindrel/LindrelEvents.h"

namespace lindrel::testing {

struct FiredEvent {
  std::string name;
  long code = 0;
  std::string text;
  std::thread::id thread;
};

class RecordingListener : public LindrelEvents {
 public:
  void DirCompareCompleted() override { Record("DirCompareCompleted"); }
  void OnError(long errorCode, std::string& errorString) override {
    Record("OnError", errorCode, errorString);
  }
  void DirCompareStarted() override { Record("DirCompareStarted"); }
  void FileCompareStarted() override { Record("FileCompareStarted"); }
  void FileCompareCompleted(long compareResult) override {
    Record("FileCompareCompleted", compareResult);
  }

  std::vector<FiredEvent> events;

  std::size_t Count(const std::string& name) const {
    std::size_t n = 0;
    for (const auto& e : events) n += e.name == name;
    return n;
  }

 private:
  void Record(std::string name, long code = 0, std::string text = {}) {
    events.push_back({std::move(name), code, std::move(text), std::this_thread::get_id()});
  }
};

}  // namespace lindrel::testing
