#include "dircompare/ScanEnvironment.h"

#include <fcntl.h>

#include <thread>

namespace lindrel::dircompare {

void ScanEnvironment::Pause(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

int ScanEnvironment::OpenForReading(const std::string& path) {
  // O_NONBLOCK: a FIFO in the tree must not hang the scan waiting for a writer.
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

}  // namespace lindrel::dircompare
