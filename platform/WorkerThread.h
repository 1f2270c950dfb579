// Starting the worker threads of the component.
//
// The system may refuse a new thread (EAGAIN once a process or user limit is reached);
// std::thread reports that by throwing, and nothing may throw through the component to
// its host. StartWorkerThread answers a thread that is not joinable instead, so every
// caller has to decide what a job that cannot run means.
//
// Thread-safe.
#pragma once

#include <functional>
#include <thread>

namespace lindrel::platform {

// Runs `body` on a new thread. When the system refuses the thread the result is not
// joinable and `body` never runs.
std::thread StartWorkerThread(std::function<void()> body);

// Test hook: the next StartWorkerThread call is refused as if the system were out of
// threads. Process-wide; `fail` false withdraws a refusal not yet used.
void TEST_FailNextThreadStart(bool fail = true);

}  // namespace lindrel::platform
