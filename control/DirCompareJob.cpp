// Directory-comparison methods of CLindrelCtrl. TEMPORARY: refuses until the directory
// scan lands (replaced wholesale by the directory comparison's own implementation).
#include "control/LindrelCtrlImpl.h"

namespace lindrel {

bool CLindrelCtrl::DirCompareBegin() { return false; }
void CLindrelCtrl::DirCompareAbort() {}
bool CLindrelCtrl::DirCompareResultsGet(long, std::string&, std::string&, std::string&, long&,
                                        long&, long&, long&, long&, long&) {
  return false;
}
bool CLindrelCtrl::DirSaveDataToTabFile(const std::string&) { return false; }
long CLindrelCtrl::GetDirCompareResultsCount() const { return 0; }
long CLindrelCtrl::GetDirCompareActive() const { return d_->dirJob.active ? 1 : 0; }
long CLindrelCtrl::GetDirCompareTime() const { return d_->dirJob.time; }

}  // namespace lindrel
