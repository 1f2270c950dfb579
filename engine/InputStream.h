// One open input of the engine, read the way the engine reads its files: in text mode
// every carriage-return/line-feed pair is delivered as one line feed and a byte 26
// (control-Z) ends the content; in binary mode (always text, "-a") bytes pass unchanged.
//
// An InputStream belongs to one run on one thread. Only its stop flag, set by another
// thread, and the test hooks below are shared.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace lindrel::engine {

class ByteBuffer;

// Regular files from this size on are mapped rather than read (MapWhole).
constexpr size_t kMapThreshold = size_t{256} << 10;

enum class MapOutcome {
  kMapped,     // the buffer holds the whole content
  kNotMapped,  // nothing changed: read the content instead
  kFailed,     // a read error or a stop (errno ECANCELED)
};

class InputStream {
 public:
  InputStream() = default;
  ~InputStream();
  InputStream(const InputStream&) = delete;
  InputStream& operator=(const InputStream&) = delete;

  // Opens `path` read-only. False (errno set) when it cannot be opened or is not a regular
  // file, or when the name holds a NUL byte.
  bool Open(const std::string& path, bool textMode);
  // Reads standard input; the descriptor is not closed by Close().
  void AttachStandardInput(bool textMode);
  // Reads `bytes` as if they were the content of a file; they must outlive the stream.
  void AttachBytes(std::string_view bytes, bool textMode);

  // Delivers bytes until `count` have been delivered or the content ends. Returns the
  // number delivered (less than `count` only at the end), or -1 on a read error or once
  // the stop flag is set (errno ECANCELED). A file opened by name that ends before the
  // size it had when it was opened was shortened while it was read: a read error (EIO).
  std::ptrdiff_t Fill(char* destination, size_t count);

  // Puts the whole content of an opened regular file, the `size` bytes its status gave,
  // into `buffer` as a private mapping, converted as Fill delivers it from the start, and
  // sets `delivered` to its length; the buffer then has room for the content, a line feed
  // and the padding, all zeros behind the content. Only the pages that the conversion
  // changes are copied, so a file without carriage returns costs no copy at all. Declines
  // (kNotMapped) for small files, for attached bytes and standard input, when reading has
  // gone beyond the first block, and for content that a byte 26 ends (its hidden tail is
  // read from the descriptor). Afterwards the stream delivers nothing more.
  MapOutcome MapWhole(ByteBuffer& buffer, size_t size, size_t& delivered);

  // Tells MapWhole that the raw bytes before `from` and from `to` on have been read
  // already (ReadAt) and hold no carriage return and no byte 26: its walk brings in and
  // scans only the slices between. The mapping still holds the whole content.
  void SetWalkedAlready(size_t from, size_t to) {
    walkFrom_ = from;
    walkTo_ = to;
  }

  // Tells MapWhole to give back the pages its walk has brought in as it goes (see
  // ByteBuffer::Release), for content that is not read again right away.
  void SetReleaseWalked(bool release) { releaseWalked_ = release; }

  // Reads `count` raw bytes at `offset` of an opened file, as pread does, under the same
  // stop flag and test hooks as every read. Returns the bytes read (fewer only at the end
  // of the file), or -1 (errno set; ECANCELED once the stop flag is set).
  std::ptrdiff_t ReadAt(char* destination, size_t count, size_t offset) const;
  // True for a file opened by name, which ReadAt and MapWhole can read.
  bool IsOpenedFile() const { return fd_ >= 0 && ownsDescriptor_ && !fromBytes_; }
  // The size a file opened by name had when it was opened.
  unsigned long long OpenedSize() const { return openedSize_; }

  // True once the content ended at a byte 26 (text mode only).
  bool EndedAtEndOfText() const { return endedAtEndOfText_; }

  // After the content ended at a byte 26: the raw bytes from that byte to the end of the
  // file, which text mode hides, delivered like Fill. Delivers nothing when the content
  // ended at the end of the file.
  std::ptrdiff_t ReadHiddenTail(char* destination, size_t count);

  // A flag another thread sets to end the run. Fill looks at it between slices of a
  // read, so a stop never waits for the rest of a large file. Not owned; nullptr: none.
  void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

  // Closes the file. False (errno set) when the close fails.
  bool Close();

  bool is_open() const { return fd_ >= 0; }

 private:
  std::ptrdiff_t ReadRaw(char* destination, size_t count);
  std::ptrdiff_t ConvertInPlace(char* bytes, size_t count);
  // The mapped counterpart of ReadRaw's hooks and stop: false (errno set) when the walk
  // over the mapping must end before the slice at `offset`.
  bool MayWalkSlice(unsigned long long offset, size_t count) const;
  bool ConvertMapped(char* data, size_t size, size_t from, size_t& length) const;

  bool StopRequested() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

  int fd_ = -1;
  const std::atomic<bool>* stop_ = nullptr;
  std::string_view bytes_;  // the unread part of attached bytes
  bool fromBytes_ = false;
  bool ownsDescriptor_ = false;
  bool textMode_ = true;
  bool contentEnded_ = false;  // end of file or a byte 26 seen
  bool rawEnded_ = false;      // the descriptor reported end of file
  int pendingByte_ = -1;       // a byte read ahead to decide about a carriage return
  bool endedAtEndOfText_ = false;
  std::string hiddenHead_;  // raw bytes read from the byte 26 on, not yet delivered
  unsigned long long rawBytesRead_ = 0;
  unsigned long long openedSize_ = 0;  // of a file opened by name, as it was then
  size_t walkFrom_ = 0;                // see SetWalkedAlready
  size_t walkTo_ = static_cast<size_t>(-1);
  bool releaseWalked_ = false;
};

// Test hook: every input stream opened later fails its reads (EIO) once it has read
// `rawBytes` bytes from its descriptor. A negative value turns the fault off.
void TEST_FailReadsAfter(long long rawBytes);

// Test hook: the number of files whose content was mapped rather than read, so far.
unsigned long TEST_MappedFileCount();

// Test hook: every read from a descriptor pauses `ms` milliseconds first, as a slow disk
// or a network file system would. 0 turns the pause off.
void TEST_PauseBeforeReads(unsigned ms);

// Test hook: `hook` runs on the reading thread at each step of reading a file opened by
// name, with the raw offset the step starts at: before each read from the descriptor
// (read or pread), before each slice of a mapping is brought in, and once the whole
// content is mapped (offset 0). A test changes the file there, as another process might
// at that moment. An empty function removes the hook.
enum class TEST_ReadStep { kRead, kMapSlice, kMapped };
void TEST_OnReadStep(std::function<void(TEST_ReadStep step, unsigned long long offset)> hook);

}  // namespace lindrel::engine
