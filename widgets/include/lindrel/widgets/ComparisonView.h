/// @file
/// ComparisonView: the result of a file comparison as a widget any Qt program can embed.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

#include <memory>

#include "lindrel/widgets/ComparisonPalette.h"
#include "lindrel/widgets/export.h"

class QMimeData;

namespace lindrel::widgets {

class LindrelWidget;

/// Shows the result of a comparison of two files, the way LindrelDemo's Compare Files
/// window shows it.
///
/// **What it shows.** Side by side, two grids (object names `msfgMaster`, `msfgSource`)
/// hold the two files with blank padding rows, so the lines of every change stand on the
/// same rows, coloured by kind: changed lines red, lines only in the master blue, lines
/// only in the source green, on the change colour; the current change on a darker back.
/// All in one (`msfgAllInOne`), both files merge into one column. Beside the grids a
/// change map (`changeMap`) shows every change and the rows on screen; a click on it moves
/// there. Double-clicking a row, or stepping onto a row of a change, lays text boxes over
/// it (`rtbMaster`, `rtbSource`, `rtbAllInOne`) in which the words that differ are marked;
/// typing on a side-by-side grid opens such a box for the current cell. Above the grids a
/// bar (`diskChangedBar`) says when a compared file changes on disk.
///
/// **Keyboard, screen readers, themes.** Tab and Shift+Tab go from the bar to the grids
/// and on to the change map, and from a box over a row on as from its grid; on the change
/// map the arrow keys, Home and End move between changes. The grids, boxes and map carry
/// accessible names, and the map's accessible description names the current change. The
/// view paints with ComparisonPalette::For(palette()), the dark variant under a dark
/// palette, until its host sets colours of its own.
///
/// **Where the result comes from.** The view shows the comparisons of one component
/// (SetComponent), which the host may own and configure, or which the view makes for
/// itself the first time Compare() needs one. By default every comparison the component
/// completes is shown at once; a host that wants to do something first (write a report
/// instead, tell the user) turns that off with SetShowsCompletions(false) and calls
/// ShowResult() itself. The words of a row are compared by a second component
/// (SetWordComponent), made by the view when none is given, so the first component's
/// records stay untouched. The components the view makes itself keep their settings in
/// the state files "LINDREL_VIEW" and "LINDREL_VIEW_WORDS" of the Lindrel directory.
///
/// **Costs on large files.** ShowResult() reads both files once (the source on a second
/// thread) and pads the rows in one pass over the change records: linear in the files'
/// size, about a fifth of a second for a pair of a million lines. Rows are measured for
/// wrapped text only as they come into view, so scrolling, moves and resizes cost the rows
/// on screen, whatever the files' size. Building the all-in-one rows is one pass, made the
/// first time that view is shown after a comparison. The memory is the two files' bytes
/// plus about twelve bytes a row.
///
/// **Misuse.** Moves with no result do nothing. Compare() while the component compares is
/// refused as the component refuses it (false, and the component's OnError). A component
/// destroyed under the view leaves the view empty. Files that vanish or cannot be read
/// leave the grids empty (or uncoloured) and the reason in Problem() and the Notice signal.
///
/// **Names.** File names cross this interface in the byte-exact form of FileNames.h.
///
/// Threading: GUI thread only. The comparison itself runs on the component's worker
/// thread; every signal is emitted on the GUI thread.
class LINDREL_WIDGETS_EXPORT ComparisonView : public QWidget {
  Q_OBJECT
  /// The change made current last (see CurrentChange, GoToChange).
  Q_PROPERTY(int currentChange READ CurrentChange WRITE GoToChange NOTIFY CurrentChangeChanged)
  /// Both files merged into one grid (see AllInOne).
  Q_PROPERTY(bool allInOne READ AllInOne WRITE SetAllInOne NOTIFY AllInOneChanged)
  /// The change map beside the grids is shown.
  Q_PROPERTY(bool changeMapShown READ ChangeMapShown WRITE SetChangeMapShown)
  /// The compared files are watched for changes on disk.
  Q_PROPERTY(bool watchesFiles READ WatchesFiles WRITE SetWatchesFiles)
  /// Files dropped on the view are taken.
  Q_PROPERTY(bool takesDrops READ TakesDrops WRITE SetTakesDrops)
  /// Each completed comparison is shown at once.
  Q_PROPERTY(bool showsCompletions READ ShowsCompletions WRITE SetShowsCompletions)
  /// The font of the grids' text.
  Q_PROPERTY(QFont textFont READ TextFont WRITE SetTextFont)
  /// The differing words of every changed row are marked (see MarksWordsInEveryChange).
  Q_PROPERTY(
      bool marksWordsInEveryChange READ MarksWordsInEveryChange WRITE SetMarksWordsInEveryChange)
  /// The object name of the component shown, for forms.
  Q_PROPERTY(QString componentName READ ComponentName WRITE SetComponentName)

 public:
  /// Where something is dropped or which file is meant.
  enum class Side {
    Both,    ///< both files, or no grid in particular
    Master,  ///< the master file, or its grid
    Source   ///< the source file, or its grid
  };
  Q_ENUM(Side)

  /// An empty view: no component yet, side by side, change map shown, files watched,
  /// drops taken, completions shown, text in "Courier New".
  explicit ComparisonView(QWidget* parent = nullptr);
  ~ComparisonView() override;

  /// @name The comparison
  /// @{

  /// Shows the comparisons of `component` from now on (not owned; nullptr for none). The
  /// view keeps what it shows until the next result; a component destroyed under the view
  /// empties it.
  void SetComponent(LindrelWidget* component);
  /// The component whose comparisons the view shows; nullptr when none.
  LindrelWidget* Component() const;
  /// The object name of the component to show, for forms: the view takes the
  /// LindrelWidget of that name in its window when it is first shown or first needs one.
  QString ComponentName() const;
  /// Names the component to show (see ComponentName); "" for none.
  void SetComponentName(const QString& name);
  /// The component that compares the words of a row (not owned); nullptr lets the view
  /// make its own when first needed.
  void SetWordComponent(LindrelWidget* words);

  /// Compares `master` with `source` through the component (made when there is none) on
  /// its worker thread; the result is shown when it completes (see ShowsCompletions).
  /// False when the component refuses to start (a comparison runs, a file is missing); the
  /// component then fires OnError, and the view says why through Notice.
  bool Compare(const QString& master, const QString& source);

  /// True (the default) when each comparison the component completes is shown at once.
  bool ShowsCompletions() const;
  /// Turns the showing of completions on or off; off, the host calls ShowResult().
  void SetShowsCompletions(bool on);

  /// Reads the files the component compared last and shows them with its records; moves
  /// to nothing (CurrentChange() keeps its number; MoveFirst() shows the first change).
  /// With no component the view is emptied.
  void ShowResult();
  /// Empties the grids and the change map; the view keeps its settings.
  void Clear();

  /// The number of changes the component holds (0 without one; -1 for files that differ
  /// without records, as binary files do).
  int ChangeCount() const;
  /// The names of the files shown (the component's, as they were compared).
  QString MasterFile() const;
  /// @copydoc MasterFile
  QString SourceFile() const;
  /// The number of lines of each file shown.
  int MasterLineCount() const;
  /// @copydoc MasterLineCount
  int SourceLineCount() const;
  /// The first `maxCharacters` characters of line `line` (1-based) of one file as shown;
  /// "" for a line outside it. `side` Both reads the master. Meant for lines off screen
  /// (a list of the changes, say): a large file's line is read without keeping its pages
  /// in memory.
  QString LineText(Side side, long line, qsizetype maxCharacters) const;
  /// "" or why the last result could not be shown in full (a file that cannot be read).
  QString Problem() const;
  /// "" or the sentence that says which compared files changed between the comparison and
  /// the last ShowResult(), and that `what` ("view", "report") may not match them.
  QString ChangedSinceComparison(const QString& what) const;
  /// The same sentence for the files the component compared last as they are on disk now,
  /// without reading them (for a host that writes a report instead of showing them).
  QString ChangedOnDiskSinceComparison(const QString& what) const;
  /// @}

  /// @name Moving between changes
  /// Each does nothing without a result. A move that shows a change scrolls it into view,
  /// makes its first row current, marks its words and emits CurrentChangeChanged.
  /// @{

  /// The change last made current (1-based); 0 before the first.
  int CurrentChange() const;
  /// Makes change `change` (1 ... ChangeCount()) current and shows it; others are ignored.
  void GoToChange(int change);
  /// The first change.
  void MoveFirst();
  /// The last change.
  void MoveLast();
  /// The next row of the current change, or the next change after its last row (F7).
  void MoveNext();
  /// The previous row of the current change, or the previous change (Shift+F7).
  void MovePrevious();
  /// The next change as a whole (Alt+Down); the last stays the last.
  void MoveNextChange();
  /// The previous change as a whole (Alt+Up); the first stays the first.
  void MovePreviousChange();
  /// Marks the differing words of the current row.
  void ShowDetail();
  /// Hides the text boxes laid over a row.
  void HideDetail();
  /// @}

  /// @name Finding text and lines
  /// The find bar (`findBar`, below the grids) looks for its text in the lines of both
  /// files, from the current row on, and moves to the row of the match it finds: scrolled
  /// into view when it is not on screen and made current. The matches on screen are
  /// marked, the current one darker. F3 and Shift+F3 find the next and the previous match
  /// wherever the focus is in the view; Return and Shift+Return do so in the bar, Escape
  /// closes it. A search never holds up the window: it runs in slices of a few
  /// milliseconds from the event loop (about half a second in all for a pair of a million
  /// lines that holds no match) and ends with FindFinished. A new search, a new result or
  /// closing the bar drops the one running.
  /// @{

  /// Shows the find bar, the focus in its text (selected, so typing replaces it).
  void ShowFindBar();
  /// Hides the find bar and its marks; a search running stops.
  void HideFindBar();
  /// True while the find bar is shown.
  bool FindBarShown() const;
  /// The text to find ("" at first).
  QString FindText() const;
  /// Sets the text to find; the next search starts at the current row.
  void SetFindText(const QString& text);
  /// True when letters match only in the same case (false at first).
  bool FindMatchCase() const;
  /// @copydoc FindMatchCase
  void SetFindMatchCase(bool on);
  /// Shows the bar and looks for the next match after the current one (at first from the
  /// current row, its own matches included), going on from the top past the last row.
  /// Answers through FindFinished; does nothing but say so when the text is empty.
  void FindNext();
  /// The same towards the top, going on from the bottom past the first row.
  void FindPrevious();
  /// True while a search runs.
  bool Finding() const;
  /// The bar's sentence: where the match is, that the search went round, or that
  /// nothing matches.
  QString FindStatus() const;

  /// Makes the row of line `line` (1-based) of the master (`side` Master or Both) or of
  /// the source current, scrolled into view when it is not on screen. False, and nothing
  /// moves, when the file has no such line.
  bool GoToLine(Side side, long line);
  /// The line of one file on the current row; 0 when the row holds no line of it (a
  /// padding row) or there is no current row. `side` Both reads the master.
  long CurrentLine(Side side) const;
  /// @}

  /// @name Presentation
  /// @{

  /// True when both files are merged into one grid.
  bool AllInOne() const;
  /// Shows the all-in-one grid or the two side-by-side grids; the current change stays.
  void SetAllInOne(bool on);
  /// True when the change map is shown.
  bool ChangeMapShown() const;
  /// Shows or hides the change map.
  void SetChangeMapShown(bool on);
  /// The font of the grids' text.
  QFont TextFont() const;
  /// Sets the font of the grids and of the boxes over a row; rows are measured anew.
  void SetTextFont(const QFont& font);
  /// True when the words that differ are marked in every changed row on screen, not
  /// only in the boxes over the current row (off at first).
  bool MarksWordsInEveryChange() const;
  /// Marks the differing words of every changed row, in the colours of the boxes
  /// (ComparisonPalette::changedWords, addedWords, deletedWords) behind the characters,
  /// or stops. A row is looked at only when it is painted and only when both files have
  /// a line on it; the cost is bounded per row (its first 4,000 characters) and the marks
  /// of the last 2,048 rows painted are kept. In the all-in-one grid, a bar stands where
  /// words of the master were taken out.
  void SetMarksWordsInEveryChange(bool on);
  /// The colours in use.
  const ComparisonPalette& Colours() const;
  /// Paints with `colours` from now on, whatever the palette. Until a host calls it, the
  /// view paints with ComparisonPalette::For(palette()) and follows palette changes, so a
  /// dark application palette gets the dark variant.
  void SetColours(const ComparisonPalette& colours);
  /// Fits the columns to the view's width and measures the rows on screen anew; the view
  /// does this by itself when it is resized.
  void LayOut();
  /// @}

  /// @name Features a host can switch off
  /// @{

  /// True (the default) when the compared files are watched after each result, and the
  /// bar above the grids says when one changed on disk.
  bool WatchesFiles() const;
  /// Watches the compared files or stops (the bar goes).
  void SetWatchesFiles(bool on);
  /// The bar's sentence ("" when it is hidden).
  QString ChangedOnDiskText() const;
  /// True (the default) when files dropped on the view are taken.
  bool TakesDrops() const;
  /// Takes drops or refuses them.
  void SetTakesDrops(bool on);
  /// Handles a drop of `data` as if it was dropped on the grid of `side` (Both: elsewhere
  /// on the host's window). Used by hosts that take drops on their own window too.
  void TakeDrop(const QMimeData* data, Side side);
  /// @}

 signals:
  /// Change `change` was made current and shown.
  void CurrentChangeChanged(int change);
  /// The view switched between side by side and all in one.
  void AllInOneChanged(bool allInOne);
  /// A search of the find bar ended: `found` when it moved to a match.
  void FindFinished(bool found);
  /// A sentence for the host's status line: the change shown, a box that holds only part
  /// of its row, a file that cannot be shown.
  void Notice(const QString& text);
  /// The bar's Refresh button was pressed. When nothing is connected the view compares
  /// the same files again itself.
  void RefreshRequested();
  /// Two files were dropped together, master first. When nothing is connected the view
  /// compares them itself.
  void FilesDropped(const QString& master, const QString& source);
  /// One file was dropped on the grid of `side` (Master or Source), to replace that file.
  /// When nothing is connected the view compares it with the other file shown, or keeps
  /// it until the other file is dropped.
  void FileDropped(lindrel::widgets::ComparisonView::Side side, const QString& file);
  /// Two folders were dropped, master first. When nothing is connected the drop is
  /// refused.
  void FoldersDropped(const QString& master, const QString& source);
  /// A drop was refused; `why` says what to drop instead. When nothing is connected the
  /// view shows it in a message box.
  void DropRefused(const QString& why);
  /// The right mouse button was pressed on a row (made current) at `globalPos`.
  void ContextMenuRequested(const QPoint& globalPos);

 protected:
  /// @cond INTERNAL
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  /// @endcond

 private:
  void ApplyColours(const ComparisonPalette& colours);
  class Private;
  std::unique_ptr<Private> d_;
};

}  // namespace lindrel::widgets
