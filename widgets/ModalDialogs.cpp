#include "widgets/ModalDialogsTesting.h"

#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPointer>
#include <QQueue>

namespace lindrel::widgets {
namespace {

struct TestState {
  bool nonInteractive = false;
  std::function<void(QDialog&)> modalHandler;
  QQueue<QMessageBox::StandardButton> messageAnswers;
  QQueue<QString> fileAnswers;
  QList<MessageRecord> messages;
  QList<FileRequest> fileRequests;
  QStringList modalDialogs;
  QQueue<std::optional<QFont>> fontAnswers;
  int fontRequests = 0;
};

TestState& Test() {
  static TestState state;
  return state;
}

QMessageBox::StandardButton FirstButton(QMessageBox::StandardButtons buttons) {
  for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
    if (buttons.testFlag(static_cast<QMessageBox::StandardButton>(bit)))
      return static_cast<QMessageBox::StandardButton>(bit);
  }
  return QMessageBox::NoButton;
}

QString TakeFileAnswer(FileRequest request) {
  TestState& test = Test();
  test.fileRequests.append(request);
  return test.fileAnswers.isEmpty() ? QString() : test.fileAnswers.dequeue();
}

}  // namespace

int ExecModal(QDialog& dialog) {
  TestState& test = Test();
  if (!test.nonInteractive) return dialog.exec();

  test.modalDialogs.append(dialog.objectName());
  QPointer<QDialog> guard(&dialog);
  dialog.show();
  if (test.modalHandler) {
    // Copied: a handler may open a nested dialog that runs through here again.
    auto handler = test.modalHandler;
    handler(dialog);
  }
  if (guard && dialog.isVisible()) dialog.reject();
  return guard ? dialog.result() : QDialog::Rejected;
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) {
  TestState& test = Test();
  if (test.nonInteractive) {
    test.messages.append({icon, title, text});
    if (!test.messageAnswers.isEmpty()) return test.messageAnswers.dequeue();
    return defaultButton != QMessageBox::NoButton ? defaultButton : FirstButton(buttons);
  }
  QMessageBox box(icon, title, text, buttons, parent);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                        const QString& filter) {
  if (Test().nonInteractive)
    return TakeFileAnswer({FileRequest::OpenFile, caption, directory, filter});
  return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString GetExistingDirectory(QWidget* parent, const QString& caption, const QString& directory) {
  if (Test().nonInteractive)
    return TakeFileAnswer({FileRequest::Directory, caption, directory, QString()});
  return QFileDialog::getExistingDirectory(parent, caption, directory, QFileDialog::ShowDirsOnly);
}

bool GetFont(QWidget* parent, QFont& font) {
  TestState& test = Test();
  if (test.nonInteractive) {
    ++test.fontRequests;
    std::optional<QFont> answer =
        test.fontAnswers.isEmpty() ? std::nullopt : test.fontAnswers.dequeue();
    if (answer) font = *answer;
    return answer.has_value();
  }
  bool ok = false;
  QFont chosen = QFontDialog::getFont(&ok, font, parent);
  if (ok) font = chosen;
  return ok;
}

void TEST_SetNonInteractive(bool on) {
  TestState& test = Test();
  test = TestState();
  test.nonInteractive = on;
}

void TEST_SetModalHandler(std::function<void(QDialog&)> handler) {
  Test().modalHandler = std::move(handler);
}

void TEST_QueueMessageAnswer(QMessageBox::StandardButton answer) {
  Test().messageAnswers.enqueue(answer);
}

void TEST_QueueFileAnswer(const QString& path) { Test().fileAnswers.enqueue(path); }

QList<MessageRecord> TEST_Messages() { return Test().messages; }

QList<FileRequest> TEST_FileRequests() { return Test().fileRequests; }

QStringList TEST_ModalDialogs() { return Test().modalDialogs; }

void TEST_QueueFontAnswer(const std::optional<QFont>& answer) {
  Test().fontAnswers.enqueue(answer);
}

int TEST_FontRequests() { return Test().fontRequests; }

}  // namespace lindrel::widgets
