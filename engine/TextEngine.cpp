// Engine runs on byte buffers: the switches parsed once, the buffers read through the same
// input streams, readers and comparison as files on disk.
#include <sys/stat.h>

#include <new>
#include <stdexcept>

#include "engine/EngineResult.h"
#include "engine/RunEngine.h"
#include "engine/TextEngine.h"

#include "engine/EngineMessage.h"
#include "engine/EngineRun.h"
#include "engine/InputFile.h"
#include "engine/OperandComparison.h"
#include "engine/SwitchParser.h"

namespace lindrel::engine {

namespace {

// The run object is built once with this sink; each run points it at the caller's sink.
class ForwardingSink final : public ChangeSink {
 public:
  void StoreChangeRecord(const ChangeRecord& record) override { target->StoreChangeRecord(record); }
  ChangeSink* target = nullptr;
};

}  // namespace

struct TextEngine::Prepared {
  Prepared(const std::vector<std::string>& switches, std::string master, std::string source)
      : run(forwarding), names{std::move(master), std::move(source)} {
    std::vector<std::string> arguments{"Lindrel"};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    extraOperand = !ParseSwitches(arguments, run).empty();
    parsed = run.settings;
  }

  ForwardingSink forwarding;
  EngineRun run;
  EngineSettings parsed;  // what every run starts from
  std::string names[2];
  bool extraOperand = false;
};

TextEngine::TextEngine(const std::vector<std::string>& switches, std::string masterName,
                       std::string sourceName) {
  try {
    prepared_ = std::make_unique<Prepared>(switches, std::move(masterName), std::move(sourceName));
  } catch (const std::bad_alloc&) {
    prepared_.reset();
  } catch (const std::length_error&) {
    prepared_.reset();
  }
}

TextEngine::~TextEngine() = default;

int TextEngine::Run(std::string_view master, std::string_view source, ChangeSink& sink) {
  if (!prepared_) {
    EngineMessage("virtual memory exhausted");
    return kTrouble;
  }
  Prepared& p = *prepared_;
  if (p.extraOperand) {
    EngineMessage("extra operand");
    return kTrouble;
  }
  try {
    // The per-run reset: the settings the switches gave, nothing left from the last run.
    p.run.settings = p.parsed;
    p.forwarding.target = &sink;
    InputFile files[2];
    const std::string_view texts[2] = {master, source};
    for (int i = 0; i < 2; ++i) {
      files[i].path = p.names[i];
      files[i].status.st_mode = S_IFREG | 0600;
      files[i].status.st_size = static_cast<off_t>(texts[i].size());
      files[i].stream.AttachBytes(texts[i], !p.run.settings.alwaysText);
    }
    return CompareAttached(p.run, files);
  } catch (const std::bad_alloc&) {
    EngineMessage("virtual memory exhausted");
  } catch (const std::length_error&) {
    EngineMessage("virtual memory exhausted");
  }
  return kTrouble;
}

int RunEngineOnTexts(const std::vector<std::string>& switches, std::string_view master,
                     std::string_view source, ChangeSink& sink) {
  return TextEngine(switches).Run(master, source, sink);
}

}  // namespace lindrel::engine
