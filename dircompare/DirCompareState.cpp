#include "dircompare/DirCompareState.h"

#include <system_error>
#include <utility>

#include "dircompare/DirScanner.h"
#include "platform/ThreadPriority.h"

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
  try {
    worker_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void DirCompareState::Run() {
  platform::ApplyThreadPriority(options_.threadPriority);
  DirScanner scanner(options_, *env_, results_);
  scanner.Run();
  if (finished_) finished_();
}

}  // namespace lindrel::dircompare
