#include "engine/FileComparison.h"

#include <cstring>

#include "engine/BinaryComparison.h"
#include "engine/BoundaryShift.h"
#include "engine/ChangedFlags.h"
#include "engine/ConfusingLines.h"
#include "engine/DiffSearch.h"
#include "engine/EditScript.h"
#include "engine/EngineResult.h"

#include "engine/EngineMessage.h"
#include "engine/FileReader.h"
#include "engine/HiddenTail.h"
#include "engine/HunkPass.h"
#include "engine/IdenticalEnds.h"
#include "engine/LineClasses.h"
#include "engine/PairedReading.h"

namespace lindrel::engine {

namespace {

// A read that failed because the run was asked to stop ends the run as a stopped search
// does; any other is trouble.
int ReadFailure(EngineRun& run, const InputFile& file) {
  if (run.StopRequested()) return kStopped;
  return run.FileTrouble(file.path);
}

// A mapped file that was shortened during the run left zeros where its lines were: what
// was compared is not the file, as after a failed read.
const InputFile* LostContent(const InputFile (&files)[2]) {
  for (const InputFile& file : files) {
    if (file.buffer.ContentLost()) return &file;
  }
  return nullptr;
}

// Tells the sink where the equal start of both files ends, as far as it is known in the
// files' own bytes: reading both side by side compared those (and stopped at any byte text
// mode changes), in blocks that may end a little before the first difference.
void StoreEqualStart(const InputFile& master, size_t prefixLines, const KnownEqualEnds& known,
                     ChangeSink& sink) {
  if (prefixLines > 0 && master.prefixEnd <= known.prefixBytes) {
    sink.StoreEqualStart(static_cast<long>(prefixLines), static_cast<long long>(master.prefixEnd));
  } else if (known.prefixLineFeeds > 0) {
    const void* lastFeed = memrchr(master.begin(), '\n', known.prefixBytes);
    if (lastFeed == nullptr) return;
    const auto bytes = static_cast<const char*>(lastFeed) + 1 - master.begin();
    sink.StoreEqualStart(static_cast<long>(known.prefixLineFeeds), static_cast<long long>(bytes));
  }
}

int CompareText(EngineRun& run, InputFile (&files)[2]) {
  const EngineSettings& settings = run.settings;
  KnownEqualEnds known;
  // A read error after the first block ends the run: what was read is not the file.
  if (InputFile* failed = ReadRestOfBoth(files, settings.alwaysText, known)) {
    return ReadFailure(run, *failed);
  }
  for (InputFile& file : files) {
    if (!FinishText(file, settings.ignoreBlankLines)) {
      EngineMessage("virtual memory exhausted");
      return 2;
    }
  }

  // Every pass below is linear or stoppable, and the stop flag is looked at between them,
  // so an abort waits for at most one linear pass.
  if (run.StopRequested()) return kStopped;
  const size_t prefixLines = TrimIdenticalEnds(files, settings.horizonLines, known);
  if (files[0].prefixEnd == files[0].suffixBegin && files[1].prefixEnd == files[1].suffixBegin) {
    if (const InputFile* lost = LostContent(files)) return ReadFailure(run, *lost);
    return 0;  // identical
  }
  if (run.StopRequested()) return kStopped;
  StoreEqualStart(files[0], prefixLines, known, run.sink);

  ComparedLines tables[2];
  const int classCount = AssignLineClasses(files, prefixLines, settings, tables, run.stop);
  if (classCount == 0) return kStopped;
  if (const InputFile* lost = LostContent(files)) return ReadFailure(run, *lost);

  ChangedFlags flags(tables[0].count(), tables[1].count());
  {
    KeptLines kept[2];
    FilterConfusingLines(tables, classCount, settings.noDiscards, flags, kept);
    if (run.StopRequested()) return kStopped;
    DiffSearch search(kept[0], kept[1], flags, settings.speedLargeFiles, run.stop);
    if (!search.Run()) return kStopped;
  }
  if (run.StopRequested()) return kStopped;
  ShiftBoundaries(tables, flags);
  if (run.StopRequested()) return kStopped;
  const std::vector<Change> script = BuildScript(flags);
  if (run.StopRequested()) return kStopped;
  if (const InputFile* lost = LostContent(files)) return ReadFailure(run, *lost);

  const std::optional<size_t> delivered =
      DeliverRecords(script, tables, settings.ignoreBlankLines, run.patterns, run.sink, run.stop);
  if (!delivered) return kStopped;
  if (const InputFile* lost = LostContent(files)) return ReadFailure(run, *lost);
  if (settings.ignoreBlankLines || !run.patterns.empty()) return *delivered > 0 ? 1 : 0;
  return script.empty() ? 0 : 1;
}

}  // namespace

int CompareOpenFiles(EngineRun& run, InputFile (&files)[2]) {
  const EngineSettings& settings = run.settings;
  const bool skipTest = settings.alwaysText || (settings.brief && !settings.someChangesIgnored);

  if (!ReadFirstBlock(files[0], !skipTest)) return ReadFailure(run, files[0]);
  const bool masterBinary = settings.brief || FirstBlockHasNul(files[0]);
  if (!ReadFirstBlock(files[1], !skipTest && !masterBinary)) return ReadFailure(run, files[1]);
  const bool sourceBinary = settings.brief || FirstBlockHasNul(files[1]);

  // Brief comparisons are always binary comparisons, whatever the ignore switches say.
  int result;
  if (masterBinary || sourceBinary) {
    result = CompareBinary(run, files, settings.brief);
    if (result == kTrouble && run.StopRequested()) return kStopped;
  } else {
    result = CompareText(run, files);
  }
  // Contents that compare the same may still come from different files: what follows a
  // byte 26 is never compared as text. They differ then, without records.
  return result == 0 ? CompareHiddenTails(run, files) : result;
}

}  // namespace lindrel::engine
