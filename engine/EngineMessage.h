// The engine's message sink: every diagnostic text of a run goes through EngineMessage.
//
// In the component the sink discards everything: it formats nothing, writes nothing and
// returns. Tests may install a capture function to see the texts a run sent. Safe to call
// from any number of engine runs on different threads at once.
#pragma once

#include <functional>
#include <string>

namespace lindrel::engine {

// Sends one diagnostic (printf-style) to the sink. Never fails, never stops the run.
void EngineMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Test hook: every later message is formatted and handed to `capture` (on the engine's
// thread) until the hook is cleared with an empty function.
void TEST_CaptureEngineMessages(std::function<void(const std::string&)> capture);

}  // namespace lindrel::engine
