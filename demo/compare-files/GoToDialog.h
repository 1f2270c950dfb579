// GoToDialog: frmGoTo, "Go To Difference", the modal dialog that asks the Compare Files
// window's user for a difference number. "OK" only hides it (the caller reads txtGoTo
// and the cancelled flag afterwards); "Cancel", Escape or closing it sets the cancelled
// flag. Opening clears the flag.
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace lindrel::demo {

class GoToDialog : public QDialog {
  Q_OBJECT

 public:
  explicit GoToDialog(QWidget* parent = nullptr);

  bool Cancelled() const { return cancelled_; }
  // The text of txtGoTo (initially "0").
  QString Text() const;
  // Sets txtGoTo to `text`, fully selected so that typing replaces it.
  void SetText(const QString& text);

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool cancelled_ = false;
  QLineEdit* txtGoTo_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};

}  // namespace lindrel::demo
