// PleaseWaitWindow: frmPleaseWait, the small window shown while a file comparison is
// being started: the two file names and a busy indicator. Shown without being modal.
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>

class QLabel;

namespace lindrel::demo {

class PleaseWaitWindow : public QDialog {
  Q_OBJECT

 public:
  explicit PleaseWaitWindow(QWidget* parent = nullptr);

  void SetFiles(const QString& master, const QString& source);
  QString MasterText() const;
  QString SourceText() const;

 private:
  QLabel* master_ = nullptr;
  QLabel* source_ = nullptr;
};

}  // namespace lindrel::demo
