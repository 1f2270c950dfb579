#include "platform/WorkerThread.h"

#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

#include <gtest/gtest.h>

namespace lindrel::platform {
namespace {

// The system's own refusal, in a child process whose threads are to get a stack larger
// than any address space: a start answers a thread that is not joinable instead of
// throwing (which would end the child through std::terminate).
TEST(WorkerThreadTest, ASystemThatRefusesTheThreadGetsAnAnswerNotAnException) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    if (pthread_attr_setstacksize(&attributes, size_t{1} << 46) != 0 ||
        pthread_setattr_default_np(&attributes) != 0) {
      ::_exit(3);
    }
    std::atomic<bool> ran{false};
    std::thread thread = StartWorkerThread([&ran] { ran = true; });
    ::_exit(thread.joinable() ? 1 : ran ? 2 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the refusal escaped as an exception";
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // And the hook refuses exactly the next start.
  TEST_FailNextThreadStart();
  std::atomic<int> runs{0};
  std::thread refused = StartWorkerThread([&runs] { ++runs; });
  std::thread started = StartWorkerThread([&runs] { ++runs; });
  EXPECT_FALSE(refused.joinable());
  ASSERT_TRUE(started.joinable());
  started.join();
  EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace lindrel::platform
