// Mapped file content that cannot bring the process down. A file mapped into memory and
// then shortened by another process (a log being rotated, an editor saving in place)
// raises SIGBUS on the next access past its new end; a host would die with it. While a
// range is watched, such a fault replaces the page with zeros, marks the range as lost,
// and the access goes on. The run that owns the range then treats it as a failed read.
//
// The handler is installed once per process, on the first watch, and stays installed;
// every other SIGBUS goes where it would have gone without it (see lindrel/MappedReading.h:
// the earlier handler, or the default action, a sent signal included). A range is watched
// only while mapping is allowed and the handler is still the one installed, so a mapping
// is never left without it. Safe from any thread; at most kMaxWatchedRanges ranges are
// watched at once.
#pragma once

#include <cstddef>

namespace lindrel::engine {

constexpr int kMaxWatchedRanges = 64;

// Starts watching [begin, begin + length). Returns a slot for the calls below, or -1 when
// every slot is taken, mapping is not allowed (SetMappedReading, LINDREL_NO_MMAP), or the
// handler could not be installed or has been replaced since (then do not map).
int WatchMappedRange(const void* begin, size_t length);

// True once a fault in the range was answered with zeros.
bool MappedRangeLost(int slot);

// Ends the watch; call before the range is unmapped.
void StopWatchingMappedRange(int slot);

}  // namespace lindrel::engine
