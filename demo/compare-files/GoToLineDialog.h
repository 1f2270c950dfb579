// GoToLineDialog: frmGoToLine, "Go To Line", the modal dialog that asks the Compare Files
// window's user for a line number (txtLine) and whose numbering it is: the master's
// (optMaster) or the source's (optSource). The caller reads them once it is accepted.
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace lindrel::demo {

class GoToLineDialog : public QDialog {
  Q_OBJECT

 public:
  explicit GoToLineDialog(QWidget* parent = nullptr);

  // The number typed: a whole number, or 0 when the text is none.
  long Line() const;
  // Sets txtLine to `line`, fully selected so that typing replaces it.
  void SetLine(long line);
  bool Source() const;
  void SetSource(bool source);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLineEdit* txtLine_ = nullptr;
  QRadioButton* optMaster_ = nullptr;
  QRadioButton* optSource_ = nullptr;
};

}  // namespace lindrel::demo
