// The text difference engine: a command-line style comparison run in-process.
//
// RunEngine takes an argument vector ("Lindrel", master path, source path, switches),
// compares the two operands and delivers one ChangeRecord per non-ignorable hunk to the
// sink. Every run starts from default settings and keeps nothing but the records it
// delivered. All state lives in the run, so runs on different threads are independent.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ChangeRecord.h"
#include "engine/EngineResult.h"

namespace lindrel::engine {

// Runs one comparison. Returns kSame, kDifferent or kTrouble. When `stop` is given, another
// thread may set it to end the run early: the reading of the files and the difference
// search poll it and stop within a fraction of a second, and the run then answers kStopped.
// A run that answers kTrouble because a file (or directory) could not be examined, opened,
// read to its end (a read error, or a file shortened while it was read or mapped) or closed
// sets `unreadable`, when given, to that path; a run that answers kTrouble for any other
// reason (memory, the switches) leaves it as it was.
int RunEngine(const std::vector<std::string>& arguments, ChangeSink& sink,
              const std::atomic<bool>* stop = nullptr, std::string* unreadable = nullptr);

// Runs the comparison RunEngine makes of two regular files on two byte buffers that hold
// their content: `switches` are the switch entries alone (no program name, no operands; an
// operand among them is trouble, "extra operand").
int RunEngineOnTexts(const std::vector<std::string>& switches, std::string_view master,
                     std::string_view source, ChangeSink& sink);

}  // namespace lindrel::engine
