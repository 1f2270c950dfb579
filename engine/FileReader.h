// Reading the two sides of a comparison into memory: the first block and the binary
// decision, the rest of the content, and the end of the text (the appended line feed of an
// incomplete last line). Every function works on one run's own InputFile.
#pragma once

#include "engine/EngineSettings.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

// Sizes the buffer and, when `examine` is set, reads the first block. False on a read
// error or when memory runs out.
bool ReadFirstBlock(InputFile& file, bool examine);

// True when the examined first block holds a byte 0.
bool FirstBlockHasNul(const InputFile& file);

// Reads the rest of the content after the first block. False on a read error or when
// memory runs out.
bool ReadRest(InputFile& file, bool alwaysText);

// Appends a line feed to content that does not end in one (marking an incomplete last
// line unless blank lines are ignored) and writes the zero padding. False when memory runs
// out.
bool FinishText(InputFile& file, bool ignoreBlankLines);

}  // namespace lindrel::engine
