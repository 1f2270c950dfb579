// What an engine run answers.
#pragma once

namespace lindrel::engine {

enum EngineResult : int {
  kSame = 0,
  kDifferent = 1,
  kTrouble = 2,
  // Only for a run given a stop flag: the flag was set while the run read its files or
  // searched, and the run ended without delivering any record.
  kStopped = 3,
};

}  // namespace lindrel::engine
