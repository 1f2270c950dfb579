// Property getters and setters of CLindrelCtrl. Every setter stores at once, marks the
// component modified and sends the property's change notice; the exceptions are spelled
// out where they occur.
#include "control/LindrelCtrlImpl.h"

namespace lindrel {

namespace {

template <class T>
void Store(CLindrelCtrl::Impl& d, T Properties::*member, T value, long dispId) {
  d.props.*member = std::move(value);
  d.PropertyChanged(dispId);
}

// Directories gain a final "/" so that names can be appended; an empty value is stored
// quietly and a one-character value (such as "/") is stored as given.
void StoreDirectory(CLindrelCtrl::Impl& d, std::string Properties::*member,
                    const std::string& value, long dispId) {
  if (value.empty()) {
    d.props.*member = value;
    return;
  }
  std::string stored = value;
  if (stored.size() >= 2 && stored.back() != '/') stored += '/';
  Store(d, member, std::move(stored), dispId);
}

}  // namespace

#define LINDREL_TEXT_PROPERTY(Name, member)                                        \
  std::string CLindrelCtrl::Get##Name() const { return d_->props.member; }         \
  void CLindrelCtrl::Set##Name(const std::string& value) {                        \
    Store(*d_, &Properties::member, value, kDisp##Name);                           \
  }

#define LINDREL_BOOL_PROPERTY(Name, member)                                        \
  long CLindrelCtrl::Get##Name() const { return d_->props.member; }                \
  void CLindrelCtrl::Set##Name(long value) {                                       \
    Store(*d_, &Properties::member, ToBool(value), kDisp##Name);                   \
  }

LINDREL_TEXT_PROPERTY(DirFileTypes, dirFileTypes)
LINDREL_TEXT_PROPERTY(FileMaster, fileMaster)
LINDREL_TEXT_PROPERTY(FileSource, fileSource)
LINDREL_TEXT_PROPERTY(FileIgnoreRegularExpression, fileIgnoreRegularExpression)
LINDREL_TEXT_PROPERTY(StateFileName, stateFileName)
LINDREL_TEXT_PROPERTY(ReportFileMaster, reportFileMaster)
LINDREL_TEXT_PROPERTY(ReportFileTitle, reportFileTitle)
LINDREL_TEXT_PROPERTY(ReportFileSource, reportFileSource)

LINDREL_BOOL_PROPERTY(DirShowOnlyInMaster, dirShowOnlyInMaster)
LINDREL_BOOL_PROPERTY(DirShowOnlyInSource, dirShowOnlyInSource)
LINDREL_BOOL_PROPERTY(DirDoSubDirectories, dirDoSubDirectories)
LINDREL_BOOL_PROPERTY(DirShowSameInBothPlaces, dirShowSameInBothPlaces)
LINDREL_BOOL_PROPERTY(DirShowDifferentInBothPlaces, dirShowDifferentInBothPlaces)
LINDREL_BOOL_PROPERTY(DirContentCompare, dirContentCompare)
LINDREL_BOOL_PROPERTY(DirIgnoreDateDifferences, dirIgnoreDateDifferences)
LINDREL_BOOL_PROPERTY(DirThrottle, dirThrottle)
LINDREL_BOOL_PROPERTY(FileIgnoreCase, fileIgnoreCase)
LINDREL_BOOL_PROPERTY(FileIgnoreWhiteSpace, fileIgnoreWhiteSpace)
LINDREL_BOOL_PROPERTY(FileIgnoreEmptyLines, fileIgnoreEmptyLines)
LINDREL_BOOL_PROPERTY(FileQuickCompare, fileQuickCompare)
LINDREL_BOOL_PROPERTY(FileShowChangesInLargerSections, fileShowChangesInLargerSections)
LINDREL_BOOL_PROPERTY(FileCompareFaster, fileCompareFaster)
LINDREL_BOOL_PROPERTY(FileUseLineBracket, fileUseLineBracket)
LINDREL_BOOL_PROPERTY(FileUseIgnoreRegularExpression, fileUseIgnoreRegularExpression)
LINDREL_BOOL_PROPERTY(ReportHTMLHighDetail, reportHTMLHighDetail)
LINDREL_BOOL_PROPERTY(ReportDoubleWideCharset, reportDoubleWideCharset)

#undef LINDREL_TEXT_PROPERTY
#undef LINDREL_BOOL_PROPERTY

std::string CLindrelCtrl::GetDirSource() const { return d_->props.dirSource; }
void CLindrelCtrl::SetDirSource(const std::string& value) {
  StoreDirectory(*d_, &Properties::dirSource, value, kDispDirSource);
}

std::string CLindrelCtrl::GetDirMaster() const { return d_->props.dirMaster; }
void CLindrelCtrl::SetDirMaster(const std::string& value) {
  StoreDirectory(*d_, &Properties::dirMaster, value, kDispDirMaster);
}

long CLindrelCtrl::GetThreadPriority() const { return d_->props.threadPriority; }
void CLindrelCtrl::SetThreadPriority(long value) {
  if (value < 0 || value > 4) return;  // outside the scale: ignored, no error
  Store(*d_, &Properties::threadPriority, value, kDispThreadPriority);
}

long CLindrelCtrl::GetFileLineBracket() const { return d_->props.fileLineBracket; }
void CLindrelCtrl::SetFileLineBracket(long value) {
  Store(*d_, &Properties::fileLineBracket, value, kDispFileLineBracket);
}

}  // namespace lindrel
