// The tab-delimited export of directory records: the header line kDirTabHeader, then one
// line per record, LF line ends, texts written as stored (a tab inside a name shifts its
// columns).
//
// May run while a comparison appends: it writes the records counted at each step.
#pragma once

#include <string>

#include "dircompare/DirResultStore.h"
#include "lindrel/Records.h"

namespace lindrel::dircompare {

// Writes every record of `store` to a file that replaces `path` once complete. False
// when the file cannot be created or any write fails; `path` is then as it was.
bool WriteTabFile(const DirResultStore& store, const std::string& path);

}  // namespace lindrel::dircompare
