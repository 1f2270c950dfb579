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

#include <cstddef>

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

/// A file's content mapped read-only for a host that shows it, under the protection the
/// comparisons' own mappings have: when another process shortens the file, the missing
/// pages read as zeros instead of ending the process, and Lost() says so. A host reads a
/// large file this way without a copy of it in its memory; pages it has not touched, or
/// has released, cost it nothing.
///
/// Mapping follows SetMappedReading and `LINDREL_NO_MMAP`; a process protects at most 64
/// mappings at once (the comparisons' included). When Map fails, read the file instead.
/// One thread at a time; the bytes may be read from any thread while the object lives.
class LINDREL_EXPORT MappedFileContent {
 public:
  MappedFileContent() = default;
  /// Unmaps.
  ~MappedFileContent();
  MappedFileContent(const MappedFileContent&) = delete;
  MappedFileContent& operator=(const MappedFileContent&) = delete;

  /// Maps the first `size` bytes of the regular file open at `fd` (the descriptor may be
  /// closed afterwards), replacing what was mapped before. False, with nothing mapped,
  /// when `size` is 0, mapping is not allowed, no protection is free or the system
  /// refuses.
  bool Map(int fd, std::size_t size);
  /// Unmaps; afterwards data() is null and size() 0.
  void Unmap();

  /// The mapped bytes (null when nothing is mapped); exactly size() of them may be read.
  const char* data() const { return data_; }
  /// The number of bytes mapped.
  std::size_t size() const { return size_; }
  /// True once a read found the file shorter than mapped: what lay past its new end read
  /// as zeros.
  bool Lost() const;

  /// Lets the system take back the memory of the whole pages within [offset, offset +
  /// length): they are read from the file again when next touched. For a host that has
  /// scanned a large file once and then shows only parts of it.
  void Release(std::size_t offset, std::size_t length);
  /// Brings in the pages of [offset, offset + length) in one go, ahead of a scan that
  /// reads all of them: cheaper than a fault for every few pages. Only advice: a page
  /// that cannot be read is left for the scan to find.
  void Prefetch(std::size_t offset, std::size_t length);

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t mappedLength_ = 0;
  int watchSlot_ = -1;
};

}  // namespace lindrel
