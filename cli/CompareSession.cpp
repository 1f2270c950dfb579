#include "cli/CompareSession.h"

namespace lindrel::cli {

CompareSession::CompareSession(Console& console) : console_(console) {
  ctrl_ = std::make_unique<CLindrelCtrl>(kCliStateFileName, &loop_, this);
  counting_ = true;
}

CompareSession::~CompareSession() {
  // The component fires into this listener while it shuts down (a state file that cannot
  // be written), so it goes first, while the listener and the loop are still whole.
  ctrl_.reset();
}

void CompareSession::Pump(std::chrono::milliseconds maxWait) { loop_.RunOnce(maxWait); }

void CompareSession::OnError(long, std::string& errorString) {
  if (counting_) ++errors_;
  if (beforeErrorWrite_) beforeErrorWrite_();
  console_.err << "lindrel: " << errorString << '\n';
  console_.err.flush();
}

void CompareSession::FileCompareCompleted(long) { fileCompleted_ = true; }

void CompareSession::DirCompareCompleted() { dirCompleted_ = true; }

}  // namespace lindrel::cli
