// LindrelWidget: the Lindrel component as a Qt widget, the way a form places it.
//
// The widget owns one CLindrelCtrl and shows nothing but the component's 32 x 32 icon on
// its container's background colour; it keeps that 32 x 32 size whatever its container
// asks. Every property of the component is a Qt property of the same name (so forms,
// property pages and scripts bind to it by name), every method is Q_INVOKABLE, and the
// five events are Qt signals. A placed widget carries its state-file name as the designer
// property "StateFile": setting it loads the component's settings from that file, so each
// placed instance keeps its own.
//
// Threading: GUI thread only. Comparisons run on the component's worker threads; their
// completions and errors are delivered through a QtEventHost, so every signal is emitted
// on the GUI thread, from the Qt event loop.
#pragma once

#include <QString>
#include <QWidget>

#include <memory>

#include "lindrel/LindrelCtrl.h"
#include "lindrel/widgets/export.h"

namespace lindrel::widgets {

class QtEventHost;

class LINDREL_WIDGETS_EXPORT LindrelWidget : public QWidget {
  Q_OBJECT

  // Persistence: the container's saved name of the state file.
  Q_PROPERTY(QString StateFile READ GetStateFile WRITE SetStateFile STORED true)

  Q_PROPERTY(QString DirSource READ GetDirSource WRITE SetDirSource)
  Q_PROPERTY(QString DirMaster READ GetDirMaster WRITE SetDirMaster)
  Q_PROPERTY(long DirCompareTime READ GetDirCompareTime STORED false)
  Q_PROPERTY(int ThreadPriority READ GetThreadPriority WRITE SetThreadPriority)
  Q_PROPERTY(QString DirFileTypes READ GetDirFileTypes WRITE SetDirFileTypes)
  Q_PROPERTY(bool DirShowOnlyInMaster READ GetDirShowOnlyInMaster WRITE SetDirShowOnlyInMaster)
  Q_PROPERTY(bool DirShowOnlyInSource READ GetDirShowOnlyInSource WRITE SetDirShowOnlyInSource)
  Q_PROPERTY(bool DirDoSubDirectories READ GetDirDoSubDirectories WRITE SetDirDoSubDirectories)
  Q_PROPERTY(long DirCompareResultsCount READ GetDirCompareResultsCount STORED false)
  Q_PROPERTY(
      bool DirShowSameInBothPlaces READ GetDirShowSameInBothPlaces WRITE SetDirShowSameInBothPlaces)
  Q_PROPERTY(bool DirShowDifferentInBothPlaces READ GetDirShowDifferentInBothPlaces WRITE
                 SetDirShowDifferentInBothPlaces)
  Q_PROPERTY(QString FileMaster READ GetFileMaster WRITE SetFileMaster)
  Q_PROPERTY(QString FileSource READ GetFileSource WRITE SetFileSource)
  Q_PROPERTY(bool FileCompareActive READ GetFileCompareActive STORED false)
  Q_PROPERTY(long FileCompareTime READ GetFileCompareTime STORED false)
  Q_PROPERTY(bool FileIgnoreCase READ GetFileIgnoreCase WRITE SetFileIgnoreCase)
  Q_PROPERTY(bool FileIgnoreWhiteSpace READ GetFileIgnoreWhiteSpace WRITE SetFileIgnoreWhiteSpace)
  Q_PROPERTY(bool FileIgnoreEmptyLines READ GetFileIgnoreEmptyLines WRITE SetFileIgnoreEmptyLines)
  Q_PROPERTY(bool FileQuickCompare READ GetFileQuickCompare WRITE SetFileQuickCompare)
  Q_PROPERTY(bool DirCompareActive READ GetDirCompareActive STORED false)
  Q_PROPERTY(QString StateFileName READ GetStateFileName WRITE SetStateFileName)
  Q_PROPERTY(bool DirContentCompare READ GetDirContentCompare WRITE SetDirContentCompare)
  Q_PROPERTY(QString ReportFileMaster READ GetReportFileMaster WRITE SetReportFileMaster)
  Q_PROPERTY(QString ReportFileTitle READ GetReportFileTitle WRITE SetReportFileTitle)
  Q_PROPERTY(QString ReportFileSource READ GetReportFileSource WRITE SetReportFileSource)
  Q_PROPERTY(bool DirIgnoreDateDifferences READ GetDirIgnoreDateDifferences WRITE
                 SetDirIgnoreDateDifferences)
  Q_PROPERTY(bool FileShowChangesInLargerSections READ GetFileShowChangesInLargerSections WRITE
                 SetFileShowChangesInLargerSections)
  Q_PROPERTY(bool FileCompareFaster READ GetFileCompareFaster WRITE SetFileCompareFaster)
  Q_PROPERTY(bool FileUseLineBracket READ GetFileUseLineBracket WRITE SetFileUseLineBracket)
  Q_PROPERTY(int FileLineBracket READ GetFileLineBracket WRITE SetFileLineBracket)
  Q_PROPERTY(QString FileIgnoreRegularExpression READ GetFileIgnoreRegularExpression WRITE
                 SetFileIgnoreRegularExpression)
  Q_PROPERTY(bool FileUseIgnoreRegularExpression READ GetFileUseIgnoreRegularExpression WRITE
                 SetFileUseIgnoreRegularExpression)
  Q_PROPERTY(bool ReportHTMLHighDetail READ GetReportHTMLHighDetail WRITE SetReportHTMLHighDetail)
  Q_PROPERTY(
      bool ReportDoubleWideCharset READ GetReportDoubleWideCharset WRITE SetReportDoubleWideCharset)
  Q_PROPERTY(bool DirThrottle READ GetDirThrottle WRITE SetDirThrottle)

 public:
  // The extent the widget keeps, in pixels.
  static constexpr int kExtent = 32;

  // Creates the component and loads its settings from `stateFile` (the "StateFile" value
  // a form saved for this placed control; empty uses the component's default file).
  explicit LindrelWidget(QWidget* parent = nullptr, const QString& stateFile = QString());
  // Aborts running comparisons and writes the state file (the component's destruction).
  ~LindrelWidget() override;

  // The component itself, for hosts that prefer its plain C++ interface. Events set on it
  // directly replace this widget's signals.
  lindrel::CLindrelCtrl& Control() { return *ctrl_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // --- Designer persistence and container plumbing -------------------------------------
  QString GetStateFile() const;
  // A container load: settles StateFileName to `name` and reads that state file.
  void SetStateFile(const QString& name);
  // The "modified" mark the setters leave for the container.
  Q_INVOKABLE bool IsModified() const;
  Q_INVOKABLE void SetModifiedFlag(bool modified);
  // Every property back to its default, then the state file read again.
  Q_INVOKABLE void ResetProperties();
  // Shows the property pages for this component, modally. Answers true when applied.
  Q_INVOKABLE bool ShowPropertyPages();

  // --- Properties -------------------------------------------------------------------
  // A getter and, when writable, a setter for every property of lindrel/PropertyList.h,
  // in Qt's types: bool for Boolean, long for Number and Priority, QString for Text and
  // Directory (UTF-8 on the component's side).
#define LINDREL_WIDGET_ACCESSORS(Type, Name) \
  Type Get##Name() const;                    \
  void Set##Name(Type value);
#define LINDREL_WIDGET_Boolean(Name) LINDREL_WIDGET_ACCESSORS(bool, Name)
#define LINDREL_WIDGET_Number(Name) LINDREL_WIDGET_ACCESSORS(long, Name)
#define LINDREL_WIDGET_Priority(Name) LINDREL_WIDGET_ACCESSORS(long, Name)
#define LINDREL_WIDGET_Text(Name) \
  QString Get##Name() const;      \
  void Set##Name(const QString& value);
#define LINDREL_WIDGET_Directory(Name) LINDREL_WIDGET_Text(Name)
#define LINDREL_WIDGET_PROPERTY(Name, member, Kind, Default, StateKey) LINDREL_WIDGET_##Kind(Name)
#define LINDREL_WIDGET_READ_ONLY_Boolean(Name) bool Get##Name() const;
#define LINDREL_WIDGET_READ_ONLY_Number(Name) long Get##Name() const;
#define LINDREL_WIDGET_READ_ONLY(Name, Kind) LINDREL_WIDGET_READ_ONLY_##Kind(Name)
  LINDREL_PROPERTIES(LINDREL_WIDGET_PROPERTY)
  LINDREL_READ_ONLY_PROPERTIES(LINDREL_WIDGET_READ_ONLY)
#undef LINDREL_WIDGET_READ_ONLY
#undef LINDREL_WIDGET_READ_ONLY_Number
#undef LINDREL_WIDGET_READ_ONLY_Boolean
#undef LINDREL_WIDGET_PROPERTY
#undef LINDREL_WIDGET_Directory
#undef LINDREL_WIDGET_Text
#undef LINDREL_WIDGET_Priority
#undef LINDREL_WIDGET_Number
#undef LINDREL_WIDGET_Boolean
#undef LINDREL_WIDGET_ACCESSORS

  // --- Methods (see CLindrelCtrl for results and failures) ---------------------------
  Q_INVOKABLE bool DirCompareBegin();
  Q_INVOKABLE void DirCompareAbort();
  Q_INVOKABLE bool DirCompareResultsGet(long ResultIndex, QString& FileName, QString& DirMaster,
                                        QString& DirSource, long& IsFile, long& OnlyInSource,
                                        long& OnlyInMaster, long& SizeDifferent,
                                        long& DateDifferent, long& ContentDifferent);
  Q_INVOKABLE bool FileCompareBegin();
  Q_INVOKABLE void FileCompareAbort();
  Q_INVOKABLE bool DirSaveDataToTabFile(const QString& FileName);
  Q_INVOKABLE long FileCompareResultsCount();
  Q_INVOKABLE bool FileCompareResultsGet(long ResultIndex, long& ChangeType, long& MasterStart,
                                         long& MasterEnd, long& SourceStart, long& SourceEnd);
  Q_INVOKABLE bool FileCompareBeginSynchronous();
  Q_INVOKABLE long FileCompareCreateReport(const QString& TargetFile, long Format, long Style);
  Q_INVOKABLE bool AlignmentChangeAdd(long ChangeType, long LineStart, long LineEnd, long NumLines);
  Q_INVOKABLE bool AlignmentChangeClear();
  Q_INVOKABLE bool AlignmentChangeUndo();
  // Shows the component's About box, modally.
  Q_INVOKABLE void AboutBox();

 signals:
  // The five events, emitted on the GUI thread.
  void DirCompareCompleted();
  void OnError(long ErrorCode, const QString& ErrorString);
  void DirCompareStarted();
  void FileCompareStarted();
  void FileCompareCompleted(long CompareResult);

  // A setter stored a new value of the property `name` (dispatch id `dispId`); the
  // component is now marked modified.
  void PropertyChanged(long dispId, const QString& name);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class EventBridge;

  // The colour of the container the widget sits on.
  QColor AmbientBackColor() const;

  // Declared first so that it outlives the component, which stops its timers on exit.
  std::unique_ptr<QtEventHost> host_;
  std::unique_ptr<EventBridge> bridge_;
  std::unique_ptr<lindrel::CLindrelCtrl> ctrl_;
};

}  // namespace lindrel::widgets
