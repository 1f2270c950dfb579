// Helpers of the engine tests: a sink that records, one-call runs on files written into a
// private temporary directory, captured engine messages, and readable record printing.
#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/ChangeRecord.h"
#include "engine/RunEngine.h"

#include "engine/EngineMessage.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::engine {

inline void PrintTo(const ChangeRecord& r, std::ostream* os) {
  *os << "{'" << r.kind << "', " << r.masterStart << ", " << r.masterEnd << ", " << r.sourceStart
      << ", " << r.sourceEnd << "}";
}

}  // namespace lindrel::engine

namespace lindrel::engine::testing {

using Records = std::vector<ChangeRecord>;
using Strings = std::vector<std::string>;

class RecordingSink : public ChangeSink {
 public:
  void StoreChangeRecord(const ChangeRecord& record) override { records.push_back(record); }
  std::vector<ChangeRecord> records;
};

struct Outcome {
  int result = -1;
  std::vector<ChangeRecord> records;
};

inline ChangeRecord R(char kind, long masterStart, long masterEnd, long sourceStart,
                      long sourceEnd) {
  return ChangeRecord{kind, masterStart, masterEnd, sourceStart, sourceEnd};
}

// Lines each followed by a line feed.
inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

inline Outcome RunPaths(const std::string& master, const std::string& source,
                        const std::vector<std::string>& switches = {}) {
  std::vector<std::string> arguments{"Lindrel", master, source};
  arguments.insert(arguments.end(), switches.begin(), switches.end());
  RecordingSink sink;
  Outcome outcome;
  outcome.result = RunEngine(arguments, sink);
  outcome.records = std::move(sink.records);
  return outcome;
}

inline int RunEngineArguments(const std::vector<std::string>& arguments) {
  RecordingSink sink;
  return RunEngine(arguments, sink);
}

// One comparison and what it must give.
struct RecordCase {
  const char* name;
  std::string master, source;
  std::vector<std::string> switches;
  int result;
  std::vector<ChangeRecord> records;
};

// A test fixture with a private directory: writes the master and source contents given
// byte for byte and runs the engine on them.
class EngineTest : public ::testing::Test {
 protected:
  Outcome Compare(const std::string& master, const std::string& source,
                  const std::vector<std::string>& switches = {}) {
    return RunPaths(env_.Write("master.txt", master).string(),
                    env_.Write("source.txt", source).string(), switches);
  }

  void Check(const std::vector<RecordCase>& cases) {
    for (const RecordCase& c : cases) {
      const Outcome outcome = Compare(c.master, c.source, c.switches);
      EXPECT_EQ(outcome.result, c.result) << c.name;
      EXPECT_EQ(outcome.records, c.records) << c.name;
    }
  }

  lindrel::testing::TempEnvironment env_;
};

// Collects every engine message sent while it exists.
class MessageCapture {
 public:
  MessageCapture() {
    TEST_CaptureEngineMessages([this](const std::string& text) {
      std::lock_guard<std::mutex> lock(mutex_);
      messages_.push_back(text);
    });
  }
  ~MessageCapture() { TEST_CaptureEngineMessages({}); }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  std::vector<std::string> messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
};

}  // namespace lindrel::engine::testing
