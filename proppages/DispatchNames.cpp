#include "proppages/DispatchNames.h"

#include "lindrel/LindrelCtrl.h"

namespace lindrel::widgets {

QString DispatchName(long dispId) {
  switch (dispId) {
    case kDispDirSource: return QStringLiteral("DirSource");
    case kDispDirMaster: return QStringLiteral("DirMaster");
    case kDispDirCompareTime: return QStringLiteral("DirCompareTime");
    case kDispThreadPriority: return QStringLiteral("ThreadPriority");
    case kDispDirFileTypes: return QStringLiteral("DirFileTypes");
    case kDispDirShowOnlyInMaster: return QStringLiteral("DirShowOnlyInMaster");
    case kDispDirShowOnlyInSource: return QStringLiteral("DirShowOnlyInSource");
    case kDispDirDoSubDirectories: return QStringLiteral("DirDoSubDirectories");
    case kDispDirCompareResultsCount: return QStringLiteral("DirCompareResultsCount");
    case kDispDirShowSameInBothPlaces: return QStringLiteral("DirShowSameInBothPlaces");
    case kDispDirShowDifferentInBothPlaces: return QStringLiteral("DirShowDifferentInBothPlaces");
    case kDispFileMaster: return QStringLiteral("FileMaster");
    case kDispFileSource: return QStringLiteral("FileSource");
    case kDispFileCompareActive: return QStringLiteral("FileCompareActive");
    case kDispFileCompareTime: return QStringLiteral("FileCompareTime");
    case kDispFileIgnoreCase: return QStringLiteral("FileIgnoreCase");
    case kDispFileIgnoreWhiteSpace: return QStringLiteral("FileIgnoreWhiteSpace");
    case kDispFileIgnoreEmptyLines: return QStringLiteral("FileIgnoreEmptyLines");
    case kDispFileQuickCompare: return QStringLiteral("FileQuickCompare");
    case kDispDirCompareActive: return QStringLiteral("DirCompareActive");
    case kDispStateFileName: return QStringLiteral("StateFileName");
    case kDispDirContentCompare: return QStringLiteral("DirContentCompare");
    case kDispReportFileMaster: return QStringLiteral("ReportFileMaster");
    case kDispReportFileTitle: return QStringLiteral("ReportFileTitle");
    case kDispReportFileSource: return QStringLiteral("ReportFileSource");
    case kDispDirIgnoreDateDifferences: return QStringLiteral("DirIgnoreDateDifferences");
    case kDispFileShowChangesInLargerSections:
      return QStringLiteral("FileShowChangesInLargerSections");
    case kDispFileCompareFaster: return QStringLiteral("FileCompareFaster");
    case kDispFileUseLineBracket: return QStringLiteral("FileUseLineBracket");
    case kDispFileLineBracket: return QStringLiteral("FileLineBracket");
    case kDispFileIgnoreRegularExpression: return QStringLiteral("FileIgnoreRegularExpression");
    case kDispFileUseIgnoreRegularExpression:
      return QStringLiteral("FileUseIgnoreRegularExpression");
    case kDispReportHTMLHighDetail: return QStringLiteral("ReportHTMLHighDetail");
    case kDispReportDoubleWideCharset: return QStringLiteral("ReportDoubleWideCharset");
    case kDispDirThrottle: return QStringLiteral("DirThrottle");
    default: return QString();
  }
}

}  // namespace lindrel::widgets
