/// @file
/// The widget LindrelWidget, the component as a Qt widget.
#pragma once

#include <QString>
#include <QWidget>

#include <memory>

#include "lindrel/LindrelCtrl.h"
#include "lindrel/widgets/export.h"

/// The Qt layer of the component: the widget, its property pages and About box, and the
/// event host of components on a Qt GUI thread.
namespace lindrel::widgets {

class QtEventHost;

/// The Lindrel component as a Qt widget, the way a form places it.
///
/// The widget owns one CLindrelCtrl and shows nothing but the component's 32 x 32 icon on
/// its container's background colour; it keeps that 32 x 32 size whatever its container
/// asks. Every property of the component is a Qt property of the same name (so forms,
/// property pages and scripts bind to it by name), every method is Q_INVOKABLE, and the
/// five events are Qt signals. A placed widget carries its state-file name as the designer
/// property "StateFile": setting it loads the component's settings from that file, so each
/// placed instance keeps its own. Texts cross to the component byte for byte, as
/// TextBytes.h converts them: a file name that is not UTF-8 keeps naming its file.
///
/// Threading: GUI thread only. Comparisons run on the component's worker threads; their
/// completions and errors are delivered through a QtEventHost, so every signal is emitted
/// on the GUI thread, from the Qt event loop.
class LINDREL_WIDGETS_EXPORT LindrelWidget : public QWidget {
  Q_OBJECT

  /// Persistence: the container's saved name of the state file.
  Q_PROPERTY(QString StateFile READ GetStateFile WRITE SetStateFile STORED true)

  // Every property of the component, under its own name.
  /// The component's DirSource: GetDirSource(), SetDirSource().
  Q_PROPERTY(QString DirSource READ GetDirSource WRITE SetDirSource)
  /// The component's DirMaster: GetDirMaster(), SetDirMaster().
  Q_PROPERTY(QString DirMaster READ GetDirMaster WRITE SetDirMaster)
  /// The component's DirCompareTime, read-only: GetDirCompareTime().
  Q_PROPERTY(long DirCompareTime READ GetDirCompareTime STORED false)
  /// The component's ThreadPriority: GetThreadPriority(), SetThreadPriority().
  Q_PROPERTY(int ThreadPriority READ GetThreadPriority WRITE SetThreadPriority)
  /// The component's DirFileTypes: GetDirFileTypes(), SetDirFileTypes().
  Q_PROPERTY(QString DirFileTypes READ GetDirFileTypes WRITE SetDirFileTypes)
  /// The component's DirShowOnlyInMaster: GetDirShowOnlyInMaster(), SetDirShowOnlyInMaster().
  Q_PROPERTY(bool DirShowOnlyInMaster READ GetDirShowOnlyInMaster WRITE SetDirShowOnlyInMaster)
  /// The component's DirShowOnlyInSource: GetDirShowOnlyInSource(), SetDirShowOnlyInSource().
  Q_PROPERTY(bool DirShowOnlyInSource READ GetDirShowOnlyInSource WRITE SetDirShowOnlyInSource)
  /// The component's DirDoSubDirectories: GetDirDoSubDirectories(), SetDirDoSubDirectories().
  Q_PROPERTY(bool DirDoSubDirectories READ GetDirDoSubDirectories WRITE SetDirDoSubDirectories)
  /// The component's DirCompareResultsCount, read-only: GetDirCompareResultsCount().
  Q_PROPERTY(long DirCompareResultsCount READ GetDirCompareResultsCount STORED false)
  /// The component's DirShowSameInBothPlaces: GetDirShowSameInBothPlaces(),
  /// SetDirShowSameInBothPlaces().
  Q_PROPERTY(
      bool DirShowSameInBothPlaces READ GetDirShowSameInBothPlaces WRITE SetDirShowSameInBothPlaces)
  /// The component's DirShowDifferentInBothPlaces: GetDirShowDifferentInBothPlaces(),
  /// SetDirShowDifferentInBothPlaces().
  Q_PROPERTY(bool DirShowDifferentInBothPlaces READ GetDirShowDifferentInBothPlaces WRITE
                 SetDirShowDifferentInBothPlaces)
  /// The component's FileMaster: GetFileMaster(), SetFileMaster().
  Q_PROPERTY(QString FileMaster READ GetFileMaster WRITE SetFileMaster)
  /// The component's FileSource: GetFileSource(), SetFileSource().
  Q_PROPERTY(QString FileSource READ GetFileSource WRITE SetFileSource)
  /// The component's FileCompareActive, read-only: GetFileCompareActive().
  Q_PROPERTY(bool FileCompareActive READ GetFileCompareActive STORED false)
  /// The component's FileCompareTime, read-only: GetFileCompareTime().
  Q_PROPERTY(long FileCompareTime READ GetFileCompareTime STORED false)
  /// The component's FileIgnoreCase: GetFileIgnoreCase(), SetFileIgnoreCase().
  Q_PROPERTY(bool FileIgnoreCase READ GetFileIgnoreCase WRITE SetFileIgnoreCase)
  /// The component's FileIgnoreWhiteSpace: GetFileIgnoreWhiteSpace(), SetFileIgnoreWhiteSpace().
  Q_PROPERTY(bool FileIgnoreWhiteSpace READ GetFileIgnoreWhiteSpace WRITE SetFileIgnoreWhiteSpace)
  /// The component's FileIgnoreEmptyLines: GetFileIgnoreEmptyLines(), SetFileIgnoreEmptyLines().
  Q_PROPERTY(bool FileIgnoreEmptyLines READ GetFileIgnoreEmptyLines WRITE SetFileIgnoreEmptyLines)
  /// The component's FileQuickCompare: GetFileQuickCompare(), SetFileQuickCompare().
  Q_PROPERTY(bool FileQuickCompare READ GetFileQuickCompare WRITE SetFileQuickCompare)
  /// The component's DirCompareActive, read-only: GetDirCompareActive().
  Q_PROPERTY(bool DirCompareActive READ GetDirCompareActive STORED false)
  /// The component's StateFileName: GetStateFileName(), SetStateFileName().
  Q_PROPERTY(QString StateFileName READ GetStateFileName WRITE SetStateFileName)
  /// The component's DirContentCompare: GetDirContentCompare(), SetDirContentCompare().
  Q_PROPERTY(bool DirContentCompare READ GetDirContentCompare WRITE SetDirContentCompare)
  /// The component's ReportFileMaster: GetReportFileMaster(), SetReportFileMaster().
  Q_PROPERTY(QString ReportFileMaster READ GetReportFileMaster WRITE SetReportFileMaster)
  /// The component's ReportFileTitle: GetReportFileTitle(), SetReportFileTitle().
  Q_PROPERTY(QString ReportFileTitle READ GetReportFileTitle WRITE SetReportFileTitle)
  /// The component's ReportFileSource: GetReportFileSource(), SetReportFileSource().
  Q_PROPERTY(QString ReportFileSource READ GetReportFileSource WRITE SetReportFileSource)
  /// The component's DirIgnoreDateDifferences: GetDirIgnoreDateDifferences(),
  /// SetDirIgnoreDateDifferences().
  Q_PROPERTY(bool DirIgnoreDateDifferences READ GetDirIgnoreDateDifferences WRITE
                 SetDirIgnoreDateDifferences)
  /// The component's FileShowChangesInLargerSections: GetFileShowChangesInLargerSections(),
  /// SetFileShowChangesInLargerSections().
  Q_PROPERTY(bool FileShowChangesInLargerSections READ GetFileShowChangesInLargerSections WRITE
                 SetFileShowChangesInLargerSections)
  /// The component's FileCompareFaster: GetFileCompareFaster(), SetFileCompareFaster().
  Q_PROPERTY(bool FileCompareFaster READ GetFileCompareFaster WRITE SetFileCompareFaster)
  /// The component's FileUseLineBracket: GetFileUseLineBracket(), SetFileUseLineBracket().
  Q_PROPERTY(bool FileUseLineBracket READ GetFileUseLineBracket WRITE SetFileUseLineBracket)
  /// The component's FileLineBracket: GetFileLineBracket(), SetFileLineBracket().
  Q_PROPERTY(int FileLineBracket READ GetFileLineBracket WRITE SetFileLineBracket)
  /// The component's FileIgnoreRegularExpression: GetFileIgnoreRegularExpression(),
  /// SetFileIgnoreRegularExpression().
  Q_PROPERTY(QString FileIgnoreRegularExpression READ GetFileIgnoreRegularExpression WRITE
                 SetFileIgnoreRegularExpression)
  /// The component's FileUseIgnoreRegularExpression: GetFileUseIgnoreRegularExpression(),
  /// SetFileUseIgnoreRegularExpression().
  Q_PROPERTY(bool FileUseIgnoreRegularExpression READ GetFileUseIgnoreRegularExpression WRITE
                 SetFileUseIgnoreRegularExpression)
  /// The component's ReportHTMLHighDetail: GetReportHTMLHighDetail(), SetReportHTMLHighDetail().
  Q_PROPERTY(bool ReportHTMLHighDetail READ GetReportHTMLHighDetail WRITE SetReportHTMLHighDetail)
  /// The component's ReportDoubleWideCharset: GetReportDoubleWideCharset(),
  /// SetReportDoubleWideCharset().
  Q_PROPERTY(
      bool ReportDoubleWideCharset READ GetReportDoubleWideCharset WRITE SetReportDoubleWideCharset)
  /// The component's DirThrottle: GetDirThrottle(), SetDirThrottle().
  Q_PROPERTY(bool DirThrottle READ GetDirThrottle WRITE SetDirThrottle)

 public:
  /// The extent the widget keeps, in pixels.
  static constexpr int kExtent = 32;

  /// Creates the component and loads its settings from `stateFile` (the "StateFile" value
  /// a form saved for this placed control; empty uses the component's default file).
  explicit LindrelWidget(QWidget* parent = nullptr, const QString& stateFile = QString());
  /// Aborts running comparisons and writes the state file (the component's destruction).
  ~LindrelWidget() override;

  /// The component itself, for hosts that prefer its plain C++ interface. Events set on it
  /// directly replace this widget's signals.
  lindrel::CLindrelCtrl& Control() { return *ctrl_; }

  /// Always kExtent x kExtent.
  QSize sizeHint() const override;
  /// Always kExtent x kExtent.
  QSize minimumSizeHint() const override;

  /// @name Designer persistence and container plumbing
  /// @{

  /// The "StateFile" value a form saves: the component's StateFileName.
  QString GetStateFile() const;
  /// A container load: settles StateFileName to `name` and reads that state file.
  void SetStateFile(const QString& name);
  /// The "modified" mark the setters leave for the container.
  Q_INVOKABLE bool IsModified() const;
  /// Sets or clears the "modified" mark.
  Q_INVOKABLE void SetModifiedFlag(bool modified);
  /// Every property back to its default, then the state file read again.
  Q_INVOKABLE void ResetProperties();
  /// Shows the property pages for this component, modally. Answers true when applied.
  Q_INVOKABLE bool ShowPropertyPages();
  /// @}

  /// @name Properties
  /// A getter and, when writable, a setter for every property of lindrel/PropertyList.h,
  /// in Qt's types: bool for Boolean, long for Number and Priority, QString for Text and
  /// Directory (the component's bytes as TextBytes.h converts them: UTF-8, and every other
  /// byte kept as an escape, so any file name round-trips). Each setter stores the value
  /// through the component's setter of the same name, which says how, and emits
  /// PropertyChanged when the component announces the change.
  /// @{
//
// The comments after the setters document them in the API reference, which expands this
// table; each property's own comment is the one in PropertyList.h.
#define LINDREL_WIDGET_ACCESSORS(Type, Name) \
  Type Get##Name() const;                    \
  void Set##Name(Type value); /**< Stores `value` through the component's setter. */
#define LINDREL_WIDGET_Boolean(Name) LINDREL_WIDGET_ACCESSORS(bool, Name)
#define LINDREL_WIDGET_Number(Name) LINDREL_WIDGET_ACCESSORS(long, Name)
#define LINDREL_WIDGET_Priority(Name) LINDREL_WIDGET_ACCESSORS(long, Name)
#define LINDREL_WIDGET_Text(Name) \
  QString Get##Name() const;      \
  void Set##Name(const QString& value); /**< Stores `value` through the component's setter. */
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
  /// @}

  /// @name Methods
  /// The component's methods, in Qt's types; each calls the component's method of the
  /// same name.
  /// @{

  /// @copydoc lindrel::CLindrelCtrl::DirCompareBegin
  Q_INVOKABLE bool DirCompareBegin();
  /// @copydoc lindrel::CLindrelCtrl::DirCompareAbort
  Q_INVOKABLE void DirCompareAbort();
  /// @copydoc lindrel::CLindrelCtrl::DirCompareResultsGet
  Q_INVOKABLE bool DirCompareResultsGet(long ResultIndex, QString& FileName, QString& DirMaster,
                                        QString& DirSource, long& IsFile, long& OnlyInSource,
                                        long& OnlyInMaster, long& SizeDifferent,
                                        long& DateDifferent, long& ContentDifferent);
  /// @copydoc lindrel::CLindrelCtrl::FileCompareBegin
  Q_INVOKABLE bool FileCompareBegin();
  /// @copydoc lindrel::CLindrelCtrl::FileCompareAbort
  Q_INVOKABLE void FileCompareAbort();
  /// @copydoc lindrel::CLindrelCtrl::DirSaveDataToTabFile
  Q_INVOKABLE bool DirSaveDataToTabFile(const QString& FileName);
  /// @copydoc lindrel::CLindrelCtrl::FileCompareResultsCount
  Q_INVOKABLE long FileCompareResultsCount();
  /// @copydoc lindrel::CLindrelCtrl::FileCompareResultsGet
  Q_INVOKABLE bool FileCompareResultsGet(long ResultIndex, long& ChangeType, long& MasterStart,
                                         long& MasterEnd, long& SourceStart, long& SourceEnd);
  /// @copydoc lindrel::CLindrelCtrl::FileCompareBeginSynchronous
  Q_INVOKABLE bool FileCompareBeginSynchronous();
  /// @copydoc lindrel::CLindrelCtrl::FileCompareCreateReport
  Q_INVOKABLE long FileCompareCreateReport(const QString& TargetFile, long Format, long Style);
  /// @copydoc lindrel::CLindrelCtrl::AlignmentChangeAdd
  Q_INVOKABLE bool AlignmentChangeAdd(long ChangeType, long LineStart, long LineEnd, long NumLines);
  /// @copydoc lindrel::CLindrelCtrl::AlignmentChangeClear
  Q_INVOKABLE bool AlignmentChangeClear();
  /// @copydoc lindrel::CLindrelCtrl::AlignmentChangeUndo
  Q_INVOKABLE bool AlignmentChangeUndo();
  /// Shows the component's About box, modally.
  Q_INVOKABLE void AboutBox();
  /// @}

 signals:
  /// @name Events
  /// The component's five events (LindrelEvents), emitted on the GUI thread.
  /// @{

  /// @copydoc lindrel::LindrelEvents::DirCompareCompleted
  void DirCompareCompleted();
  /// A request was refused or a job met an error: `ErrorCode` (ErrorCode) and its text,
  /// the code's message followed directly by its detail.
  void OnError(long ErrorCode, const QString& ErrorString);
  /// @copydoc lindrel::LindrelEvents::DirCompareStarted
  void DirCompareStarted();
  /// @copydoc lindrel::LindrelEvents::FileCompareStarted
  void FileCompareStarted();
  /// @copydoc lindrel::LindrelEvents::FileCompareCompleted
  void FileCompareCompleted(long CompareResult);
  /// @}

  /// A setter stored a new value of the property `name` (dispatch id `dispId`); the
  /// component is now marked modified.
  void PropertyChanged(long dispId, const QString& name);

 protected:
  /// Fills the widget with its container's background colour and draws the component's
  /// icon at the top-left corner.
  void paintEvent(QPaintEvent* event) override;
  /// Keeps the widget at kExtent x kExtent, whatever size it is given.
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
