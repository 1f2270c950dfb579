// DirGridModel: the rows of fgFiles, the Compare Directories window's result grid.
//
// One row per directory result record, record r on model row r (grid row r + 1; grid row
// 0 is the heading, shown as the column header). A row is built from its record once
// (BuildDirGridRow: cell texts, icons, colours) and stored; the model only hands the
// stored values to the view.
//
// Rows appended while the grid's redraw is off are kept back from the view and announced
// in one insertion when the redraw comes back on, so the cost of adding a row does not
// grow with the rows already in the grid.
//
// Threading: GUI thread only.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <QString>

#include <array>
#include <vector>

namespace lindrel::demo {

// One directory result record, as DirCompareResultsGet answers it.
struct DirRecord {
  QString fileName;
  QString dirMaster;
  QString dirSource;
  long isFile = 0;
  long onlyInSource = 0;
  long onlyInMaster = 0;
  long sizeDifferent = 0;
  long dateDifferent = 0;
  long contentDifferent = 0;
};


struct DirGridRow {
  enum class Icon : unsigned char { None, File, Directory };
  std::array<QString, 5> text;
  std::array<Icon, 5> icon{};
  std::array<QColor, 5> fore;  // invalid: the grid's default
  std::array<QColor, 5> back;
  bool isFile = false;
};

// The texts, icons and colours of a record's row.
DirGridRow BuildDirGridRow(const DirRecord& record);

class DirGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumns = 5;

  explicit DirGridModel(QObject* parent = nullptr);

  // The headings of columns 0 to 4.
  static QString Heading(int column);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Empties the model (a reset).
  void Clear();
  // Adds a row at the end; announced at once unless held back.
  void Append(DirGridRow row);
  // While held back, appended rows wait; releasing announces them in one insertion.
  void HoldBack(bool hold);

  // Rows stored, heading included (what the grid holds once everything is announced).
  int GridRowCount() const { return static_cast<int>(rows_.size()) + 1; }
  // Grid row r >= 1.
  const DirGridRow& Row(int gridRow) const { return rows_[static_cast<size_t>(gridRow - 1)]; }

  void SetIcons(QIcon file, QIcon directory);

 private:
  void Announce();

  std::vector<DirGridRow> rows_;
  int announced_ = 0;
  bool holdBack_ = false;
  QIcon fileIcon_;
  QIcon directoryIcon_;
};

}  // namespace lindrel::demo
