// Ignore-line patterns a user can type into FileIgnoreRegularExpression: one with a
// back-reference is refused at begin with a reason, and one that takes minutes to match
// long lines never keeps an abort or the destruction of the component waiting.
#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "control/LindrelCtrlImpl.h"
#include "lindrel/MessageLoop.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using namespace lindrel::testing;

class BadPatternsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Forty one-line hunks of long lines: "\(a\|aa\)*b" needs seconds for each.
    std::string master, source;
    for (int i = 0; i < 40; ++i) {
      master += std::string(20000, 'a') + "x\nsame\n";
      source += std::string(20000, 'a') + "y\nsame\n";
    }
    master_ = env_.Write("m.txt", master).string();
    source_ = env_.Write("s.txt", source).string();
  }

  void Configure(CLindrelCtrl& ctrl, const std::string& patterns) {
    ctrl.SetFileMaster(master_);
    ctrl.SetFileSource(source_);
    ctrl.SetFileUseIgnoreRegularExpression(1);
    ctrl.SetFileIgnoreRegularExpression(patterns);
    ctrl.SetThreadPriority(2);
  }

  TempEnvironment env_;
  MessageLoop loop_;
  RecordingListener listener_;
  std::string master_, source_;
};

TEST_F(BadPatternsTest, APatternWithABackReferenceIsRefusedAtBegin) {
  CLindrelCtrl ctrl("bad-patterns", &loop_, &listener_);
  Configure(ctrl, "^#@@\\(.*\\)\\1@@x");
  EXPECT_FALSE(ctrl.FileCompareBeginSynchronous());
  EXPECT_FALSE(ctrl.FileCompareBegin());
  ASSERT_EQ(listener_.events.size(), 2u);
  for (const auto& e : listener_.events) {
    EXPECT_EQ(e.name, "OnError");
    EXPECT_EQ(e.code, 507);
    EXPECT_EQ(e.text, "Invalid Search String:  \\(.*\\)\\1 (back-references are not supported)");
  }
  EXPECT_EQ(ctrl.GetFileCompareActive(), 0);
  // Patterns that are not in use are not looked at.
  ctrl.SetFileUseIgnoreRegularExpression(0);
  ctrl.SetFileMaster(env_.Write("a.txt", "same\n").string());
  ctrl.SetFileSource(env_.Write("b.txt", "same\n").string());
  EXPECT_TRUE(ctrl.FileCompareBeginSynchronous());
  EXPECT_EQ(ctrl.FileCompareResultsCount(), 0);
}

TEST_F(BadPatternsTest, AnAbortOrTheDestructionEndsTheMatchingOfASlowPattern) {
  auto ctrl = std::make_unique<CLindrelCtrl>("bad-patterns", &loop_, &listener_);
  Configure(*ctrl, "\\(a\\|aa\\)*b");
  ASSERT_TRUE(ctrl->FileCompareBegin());
  loop_.RunFor(500ms);  // the search is over; the patterns are being matched
  Clock::time_point start = Clock::now();
  ctrl->FileCompareAbort();
  EXPECT_LT(Clock::now() - start, 2s);
  EXPECT_EQ(ctrl->GetFileCompareActive(), 0);
  EXPECT_EQ(ctrl->FileCompareResultsCount(), 0);

  ASSERT_TRUE(ctrl->FileCompareBegin());
  loop_.RunFor(500ms);
  start = Clock::now();
  ctrl.reset();  // the host closes its window
  EXPECT_LT(Clock::now() - start, 2s);
  EXPECT_EQ(listener_.Count("FileCompareCompleted"), 0u);
}

}  // namespace
}  // namespace lindrel
