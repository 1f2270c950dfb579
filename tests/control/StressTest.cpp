// Many threads, each owning components and pumping its own loop, doing random begins,
// aborts, reports and destructions (some inside the components' own handlers). Checked:
// events fire only on the owner thread, a begin ends in at most one completion, and a
// component that is never destroyed mid-job hears exactly one completion or one abort
// that took effect per accepted begin.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "lindrel/MessageLoop.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using namespace std::chrono_literals;
using namespace lindrel::testing;

// Counts of one component's life.
struct Tally {
  int fileBegun = 0, fileCompleted = 0, fileAborted = 0;
  int dirBegun = 0, dirCompleted = 0, dirAborted = 0;
  bool destroyedMidJob = false;
};

class Slot final : public LindrelEvents {
 public:
  Slot(MessageLoop& loop, std::string name, std::vector<std::string>& failures)
      : loop_(loop), name_(std::move(name)), failures_(failures) {
    Create();
  }

  void Create() {
    if (ctrl) Finish();
    tally_ = Tally{};
    ctrl = std::make_unique<CLindrelCtrl>(name_, &loop_, this);
  }

  // Ends the component's life: destroys it and checks what it heard.
  void Finish() {
    if (!ctrl) return;
    // Destruction drops what is still queued, so such a life is only checked loosely.
    if (!Idle()) tally_.destroyedMidJob = true;
    ctrl.reset();
    Check();
  }

  void Check() {
    const Tally& t = tally_;
    if (t.fileCompleted > t.fileBegun || t.dirCompleted > t.dirBegun) {
      failures_.push_back(name_ + ": more completions than begins");
    }
    if (!t.destroyedMidJob && (t.fileCompleted + t.fileAborted != t.fileBegun ||
                               t.dirCompleted + t.dirAborted != t.dirBegun)) {
      failures_.push_back(name_ + ": file " + std::to_string(t.fileBegun) + " begun, " +
                          std::to_string(t.fileCompleted) + " completed, " +
                          std::to_string(t.fileAborted) + " aborted; dir " +
                          std::to_string(t.dirBegun) + " begun, " + std::to_string(t.dirCompleted) +
                          " completed, " + std::to_string(t.dirAborted) + " aborted");
    }
  }

  void FileCompareCompleted(long) override {
    OnOwner("FileCompareCompleted");
    ++tally_.fileCompleted;
    MaybeClose();
  }
  void DirCompareCompleted() override {
    OnOwner("DirCompareCompleted");
    ++tally_.dirCompleted;
    MaybeClose();
  }
  void OnError(long code, std::string& text) override {
    OnOwner("OnError");
    // Only refusals of a begin while a job runs are expected here.
    if (code != kErrorSearchInProcess) failures_.push_back(name_ + ": " + text);
  }

  bool Idle() const {
    return !ctrl || (!ctrl->GetFileCompareActive() && !ctrl->GetDirCompareActive() &&
                     Internals(*ctrl).events.Pending() == 0);
  }

  std::unique_ptr<CLindrelCtrl> ctrl;
  Tally tally_;
  bool closeOnCompletion = false;

 private:
  void OnOwner(const char* event) {
    if (std::this_thread::get_id() != owner_)
      failures_.push_back(name_ + ": " + event + " off owner");
  }
  // A host closing its window when a comparison ends.
  void MaybeClose() {
    if (!closeOnCompletion) return;
    closeOnCompletion = false;
    Finish();
  }

  MessageLoop& loop_;
  std::string name_;
  std::vector<std::string>& failures_;
  std::thread::id owner_ = std::this_thread::get_id();
};

void RunOwner(int index, int seed, const TempEnvironment& env, int operations,
              std::vector<std::string>& failures) {
  MessageLoop loop;
  std::mt19937 random(static_cast<unsigned>(seed + index));
  const std::string dir = env.Path("t" + std::to_string(index)).string();
  const std::string master =
      env.Write("t" + std::to_string(index) + "/m/a.txt", "one\ntwo\nthree\nfour\n").string();
  const std::string source =
      env.Write("t" + std::to_string(index) + "/s/a.txt", "one\n2\nthree\nfour\nfive\n").string();
  env.Write("t" + std::to_string(index) + "/m/b.txt", "b\n");
  env.Write("t" + std::to_string(index) + "/s/c.txt", "c\n");

  std::vector<std::unique_ptr<Slot>> slots;
  for (int k = 0; k < 2; ++k) {
    slots.push_back(std::make_unique<Slot>(
        loop,
        env.Path("state-" + std::to_string(index) + "-" + std::to_string(k) + ".ini").string(),
        failures));
  }
  const auto configure = [&](CLindrelCtrl& c) {
    c.SetFileMaster(master);
    c.SetFileSource(source);
    c.SetDirMaster(dir + "/m/");
    c.SetDirSource(dir + "/s/");
    c.SetDirThrottle(0);
    c.SetThreadPriority(2);
  };
  for (auto& slot : slots) configure(*slot->ctrl);

  for (int op = 0; op < operations; ++op) {
    Slot& slot = *slots[random() % slots.size()];
    if (!slot.ctrl) {
      slot.Create();
      configure(*slot.ctrl);
    }
    CLindrelCtrl& c = *slot.ctrl;
    switch (random() % 9) {
      case 0:
      case 1:
        if (c.FileCompareBegin()) ++slot.tally_.fileBegun;
        break;
      case 2:
        // A begin drops a completion its predecessor left queued (it would be heard as news
        // of the new scan): begin only once everything queued has been heard.
        if (Internals(c).events.Pending() != 0) {
          loop.RunFor(1ms);
        } else if (c.DirCompareBegin()) {
          ++slot.tally_.dirBegun;
        }
        break;
      case 3: {
        const bool wasActive = c.GetFileCompareActive();
        c.FileCompareAbort();
        // An abort that took effect makes reports answer -1 until the next begin.
        if (wasActive && c.FileCompareCreateReport(dir + "/none", 99, 0) == -1) {
          ++slot.tally_.fileAborted;
        }
        break;
      }
      case 4: {
        const bool wasActive = c.GetDirCompareActive();
        c.DirCompareAbort();
        if (wasActive && Internals(c).dirJob.ending == JobState::kAborted) {
          ++slot.tally_.dirAborted;
        }
        break;
      }
      case 5:
        if (!c.GetFileCompareActive()) {
          const long written = c.FileCompareCreateReport(dir + "/report.txt", 2, 0);
          if (written != 0 && written != -1)
            failures.push_back("report answered " + std::to_string(written));
        }
        break;
      case 6: slot.closeOnCompletion = true; break;
      case 7:
        if (random() % 4 == 0) {
          slot.Finish();  // destroyed while its jobs may still run
          break;
        }
        [[fallthrough]];
      default: loop.RunFor(std::chrono::milliseconds(random() % 3)); break;
    }
  }
  // Everything still running ends and is heard before the last checks.
  const bool drained = loop.RunUntil(
      [&] {
        for (const auto& slot : slots) {
          if (!slot->Idle()) return false;
        }
        return true;
      },
      60s);
  if (!drained) failures.push_back("thread " + std::to_string(index) + ": jobs never ended");
  for (auto& slot : slots) slot->Finish();
}

// A soak run scales the test from the environment: LINDREL_STRESS_THREADS,
// LINDREL_STRESS_OPERATIONS (per thread) and LINDREL_STRESS_SEED.
int FromEnvironment(const char* name, int defaultValue) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::atoi(text) : defaultValue;
}

TEST(StressTest, ManyOwnersRandomOperations) {
  TempEnvironment env;
  const int kThreads = std::max(1, FromEnvironment("LINDREL_STRESS_THREADS", 4));
  const int kOperations = FromEnvironment("LINDREL_STRESS_OPERATIONS", 1000);
  const int kSeed = FromEnvironment("LINDREL_STRESS_SEED", 1000);
  std::vector<std::vector<std::string>> failures(static_cast<size_t>(kThreads));
  std::vector<std::thread> owners;
  for (int i = 0; i < kThreads; ++i) {
    owners.emplace_back(
        [&, i] { RunOwner(i, kSeed, env, kOperations, failures[static_cast<size_t>(i)]); });
  }
  for (auto& owner : owners) owner.join();
  for (int i = 0; i < kThreads; ++i) {
    for (const std::string& failure : failures[static_cast<size_t>(i)])
      ADD_FAILURE() << "thread " << i << ": " << failure;
  }
}

}  // namespace
}  // namespace lindrel
