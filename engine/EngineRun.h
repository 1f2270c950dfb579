// Everything one engine run owns: its settings, its ignore-line patterns and the sink its
// records go to. One object per run, used by the run's thread only, so runs on different
// threads never share state.
#pragma once

#include <atomic>
#include <string>

#include "engine/ChangeRecord.h"
#include "engine/EngineSettings.h"
#include "engine/IgnorePatterns.h"

namespace lindrel::engine {

struct EngineRun {
  explicit EngineRun(ChangeSink& changeSink) : sink(changeSink) {}

  EngineSettings settings;
  IgnorePatterns patterns;
  ChangeSink& sink;
  const std::atomic<bool>* stop = nullptr;  // set by another thread to end the run early
  // The first file (or directory) that could not be examined, opened, read to its end or
  // closed; empty while none failed.
  std::string unreadable;

  bool StopRequested() const { return stop != nullptr && stop->load(std::memory_order_relaxed); }

  // Trouble with the file `path`: its path goes to the message sink and, the first time,
  // to `unreadable`. Returns kTrouble.
  int FileTrouble(const std::string& path);
};

}  // namespace lindrel::engine
