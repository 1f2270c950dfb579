#include "engine/EngineResult.h"
#include "engine/RunEngine.h"

#include <new>
#include <stdexcept>

#include "engine/EngineMessage.h"
#include "engine/EngineRun.h"
#include "engine/OperandComparison.h"
#include "engine/SwitchParser.h"

namespace lindrel::engine {

int EngineRun::FileTrouble(const std::string& path) {
  EngineMessage("%s", path.c_str());
  if (unreadable.empty()) unreadable = path;
  return kTrouble;
}

int RunEngine(const std::vector<std::string>& arguments, ChangeSink& sink,
              const std::atomic<bool>* stop, std::string* unreadable) {
  try {
    // A fresh run object is the per-run reset: every setting starts from its default.
    EngineRun run(sink);
    run.stop = stop;
    const std::vector<std::string> operands = ParseSwitches(arguments, run);
    if (operands.size() != 2) {
      EngineMessage(operands.size() < 2 ? "missing operand" : "extra operand");
      return kTrouble;
    }
    const int result = CompareOperands(run, operands[0], operands[1]);
    if (result == kTrouble && unreadable != nullptr) *unreadable = std::move(run.unreadable);
    return result;
  } catch (const std::bad_alloc&) {
    EngineMessage("virtual memory exhausted");
  } catch (const std::length_error&) {
    EngineMessage("virtual memory exhausted");
  }
  return kTrouble;
}

}  // namespace lindrel::engine
