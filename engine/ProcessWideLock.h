// The one lock around the C library facilities the engine uses that keep process-wide
// state: getopt_long (optind, optarg, its permutation state) and re_compile_pattern
// (re_syntax_options). Everything else of a run is private to the run, so only these calls
// are serialised; runs on different threads otherwise proceed in parallel.
#pragma once

#include <mutex>

namespace lindrel::engine {

std::mutex& CLibraryStateMutex();

}  // namespace lindrel::engine
