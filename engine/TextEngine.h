// TextEngine: the engine's comparison of two texts for many pairs under the same switches
// (the report layer's word comparisons). The switches are parsed, and their patterns
// compiled, once; every run starts from the settings they give. `names` only go into the
// engine's messages.
//
// Threading: an object is used by one thread at a time; objects on different threads are
// independent.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ChangeRecord.h"
#include "engine/EngineResult.h"

namespace lindrel::engine {

class TextEngine {
 public:
  explicit TextEngine(const std::vector<std::string>& switches, std::string masterName = "master",
                      std::string sourceName = "source");
  ~TextEngine();
  TextEngine(const TextEngine&) = delete;
  TextEngine& operator=(const TextEngine&) = delete;

  // Returns kSame, kDifferent or kTrouble.
  int Run(std::string_view master, std::string_view source, ChangeSink& sink);

 private:
  struct Prepared;
  std::unique_ptr<Prepared> prepared_;  // null when memory ran out while preparing
};

}  // namespace lindrel::engine
