/// @file
/// Whether file comparisons may read large files through memory mappings, and the
/// process-wide SIGBUS handler that this needs.
///
/// A file of 256 KiB or more is mapped into memory rather than read. Another process that
/// shortens such a file while it is mapped (a log being rotated, an editor saving in place)
/// makes the next access to the missing pages raise SIGBUS, which would end the host. So
/// the first mapping installs a SIGBUS handler for the whole process; it stays installed
/// from then on. A fault inside a file the library has mapped is answered there: the pages
/// read as zeros and the comparison ends as a failed read (OnError 602 naming the file).
/// Every other SIGBUS goes on as it would without the library: to the handler that was
/// installed before (it is called), to the default action (the process ends with SIGBUS,
/// a signal sent with kill() included), or is ignored where SIG_IGN was set for a sent one.
///
/// A host that must own SIGBUS opts out, and files are then read with read() instead:
/// either it calls SetMappedReading(false) before its first comparison, or the environment
/// variable `LINDREL_NO_MMAP` is set to anything but "" or "0" when the first comparison
/// starts. A host that installs a SIGBUS handler of its own after the library's also ends
/// the mapping: the library maps a file only while its own handler is the one installed.
#pragma once

#include "lindrel/export.h"

namespace lindrel {

/// Allows (true, the default) or forbids the reading of large files through memory
/// mappings, for every component of the process, from the next file read on. Forbidding
/// also takes the library's SIGBUS handler out again, giving back the handler that was
/// there before it, as soon as no mapped file is being read (at once when none is).
/// Any thread.
LINDREL_EXPORT void SetMappedReading(bool allowed);

/// True while large files may be read through memory mappings: neither SetMappedReading
/// nor `LINDREL_NO_MMAP` forbids it. Any thread.
LINDREL_EXPORT bool MappedReadingAllowed();

}  // namespace lindrel
