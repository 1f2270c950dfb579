// Report and alignment methods of CLindrelCtrl. TEMPORARY: refuses until the report
// writers land (replaced wholesale by the reports' own implementation).
#include "control/LindrelCtrlImpl.h"

namespace lindrel {

long CLindrelCtrl::FileCompareCreateReport(const std::string&, long, long) { return -5; }
bool CLindrelCtrl::AlignmentChangeAdd(long, long, long, long) { return false; }
bool CLindrelCtrl::AlignmentChangeClear() { return false; }
bool CLindrelCtrl::AlignmentChangeUndo() { return false; }

}  // namespace lindrel
