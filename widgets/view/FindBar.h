// FindBar: the bar under a comparison view's grids in which the user types text to find
// (findBar: findText, findMatchCase, findNext, findPrevious, findStatus, findClose).
// Return finds the next match, Shift+Return the previous, Escape (anywhere in the bar)
// closes it; the view does the finding. Escape elsewhere is left alone: the boxes over a
// row close with it.
//
// Threading: GUI thread only.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lindrel::widgets {

class FindBar : public QWidget {
  Q_OBJECT

 public:
  explicit FindBar(QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  bool MatchCase() const;
  void SetMatchCase(bool on);
  QString Status() const;
  void SetStatus(const QString& text);
  // Shows the bar with its text selected and the focus in it.
  void Open();

 signals:
  void NextRequested();
  void PreviousRequested();
  void CloseRequested();
  // The text or the case option changed: what was found may no longer match.
  void QueryChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLineEdit* text_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* previous_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace lindrel::widgets
