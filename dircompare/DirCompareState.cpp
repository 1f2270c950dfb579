#include "dircompare/DirCompareState.h"

#include <utility>

#include "dircompare/DirScanner.h"
#include "platform/ThreadPriority.h"
#include "platform/WorkerThread.h"

namespace lindrel::dircompare {

DirCompareState::~DirCompareState() {
  if (worker_.joinable()) worker_.join();
}

bool DirCompareState::Start(ScanOptions options, std::unique_ptr<ScanEnvironment> env,
                            std::function<void()> finished) {
  if (worker_.joinable()) worker_.join();
  options_ = std::move(options);
  if (testBeforeContentCompare_) options_.TEST_beforeContentCompare = testBeforeContentCompare_;
  env_ = std::move(env);
  finished_ = std::move(finished);
  worker_ = platform::StartWorkerThread([this] { Run(); });
  return worker_.joinable();
}

void DirCompareState::Run() {
  platform::ApplyThreadPriority(options_.threadPriority);
  DirScanner scanner(options_, *env_, results_);
  scanner.Run();
  if (finished_) finished_();
}

}  // namespace lindrel::dircompare
