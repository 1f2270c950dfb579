// What every fuzz harness uses to report a finding, and a sink that keeps the engine's
// records for the harnesses that run it.
#pragma once

#include <cstdlib>
#include <vector>

#include "engine/ChangeRecord.h"

namespace lindrel::fuzzing {

// A broken promise is a crash, so that libFuzzer keeps the input that caused it.
inline void Check(bool condition) {
  if (!condition) std::abort();
}

class Recorder final : public engine::ChangeSink {
 public:
  void StoreChangeRecord(const engine::ChangeRecord& record) override { records.push_back(record); }
  std::vector<engine::ChangeRecord> records;
};

}  // namespace lindrel::fuzzing
