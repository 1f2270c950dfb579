// PleaseWaitWindow: frmPleaseWait, the small window shown while a file comparison is
// being started: the two file names, a busy indicator and Cancel. Shown without being
// modal.
//
// A comparison that is still running a moment after it started brings the window back
// (FollowJob) until it ends, so that a long one can be cancelled. Cancel, Esc and the
// window's close button only ask (CancelRequested); the Compare Files window stops the
// comparison and hides the window.
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace lindrel::demo {

class PleaseWaitWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kShowAgainAfterMs = 400;

  explicit PleaseWaitWindow(QWidget* parent = nullptr);

  void SetFiles(const QString& master, const QString& source);
  QString MasterText() const;
  QString SourceText() const;
  QPushButton* CancelButton() const { return cancel_; }

  // Shows the window again after kShowAgainAfterMs if `running` still answers true then,
  // and hides it as soon as it answers false. A later call replaces the job followed.
  void FollowJob(std::function<bool()> running);
  // Stops following the job and hides the window.
  void StopFollowing();

  // Tests: the delay before a running comparison brings the window back.
  void TEST_SetShowAgainAfterMs(int ms) { showAgainAfterMs_ = ms; }

  void reject() override;

 protected:
  void hideEvent(QHideEvent* event) override;

 signals:
  void CancelRequested();

 private:
  void CheckJob();

  QLabel* master_ = nullptr;
  QLabel* source_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTimer* watch_ = nullptr;
  std::function<bool()> running_;
  int showAgainAfterMs_ = kShowAgainAfterMs;
};

}  // namespace lindrel::demo
