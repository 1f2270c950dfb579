// Deleting the HTML report's temporary body file, retrying for a while because another
// program (a virus scanner, an indexer) may hold it for a moment.
//
// Blocks the calling thread while it waits; thread-safe.
#pragma once

#include <functional>
#include <string>

namespace lindrel::reports {

// Runs `tryDelete` until it succeeds, calling `pause` after each failure; gives up after
// the 21st failed attempt. True once deleted, false after giving up.
bool RetryDeletion(const std::function<bool()>& tryDelete, const std::function<void()>& pause);

// Deletes `path`, pausing one second between attempts. A file that is already gone
// counts as deleted.
bool DeleteTemporaryFile(const std::string& path);

}  // namespace lindrel::reports
