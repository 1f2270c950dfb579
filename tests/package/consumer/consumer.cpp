// Compares two files through the installed component and prints its records, one per
// line: kind and the four line numbers. Exit status 0 when the comparison ran.
#include <lindrel/LindrelCtrl.h>
#include <lindrel/MessageLoop.h>

#include <chrono>
#include <iostream>

namespace {

struct Listener : lindrel::LindrelEvents {
  bool done = false;
  bool failed = false;
  void FileCompareCompleted(long) override { done = true; }
  void OnError(long code, std::string& text) override {
    std::cerr << "error " << code << ": " << text << '\n';
    failed = true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: lindrel_consumer MASTER SOURCE\n";
    return 2;
  }
  lindrel::MessageLoop loop;
  Listener listener;
  lindrel::CLindrelCtrl ctrl("consumer", &loop, &listener);
  ctrl.SetFileMaster(argv[1]);
  ctrl.SetFileSource(argv[2]);
  if (!ctrl.FileCompareBegin()) return 2;
  if (!loop.RunUntil([&] { return listener.done || listener.failed; },
                     std::chrono::milliseconds(30000)) ||
      listener.failed)
    return 2;
  long kind, m0, m1, s0, s1;
  for (long i = 0; ctrl.FileCompareResultsGet(i, kind, m0, m1, s0, s1); ++i)
    std::cout << static_cast<char>(kind) << ' ' << m0 << ' ' << m1 << ' ' << s0 << ' ' << s1
              << '\n';
  return 0;
}
