// The tab-delimited export of directory records: a header line, then one line per
// record, LF line ends, texts written as stored (a tab inside a name shifts its columns).
//
// May run while a comparison appends: it writes the records counted at each step.
#pragma once

#include <string>

#include "dircompare/DirResultStore.h"

namespace lindrel::dircompare {

// The header line, line end included.
extern const char kTabExportHeader[];

// Creates or truncates `path` and writes every record of `store`. False only when the
// file cannot be opened (nothing is written then); later write errors go unnoticed.
bool WriteTabFile(const DirResultStore& store, const std::string& path);

}  // namespace lindrel::dircompare
