// A fresh private directory per GUI test, set as LINDREL_HOME and TMPDIR, with the demo's
// program-wide state forgotten and every dialog answered without blocking.
// Threading: the test's main thread only (it changes the process environment).
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "demo/common/ProgramState.h"
#include "proppages/ModalDialogsTesting.h"

namespace lindrel::testing {

class GuiTestEnvironment {
 public:
  GuiTestEnvironment()
      : savedHome_(qgetenv("LINDREL_HOME")),
        savedTmp_(qgetenv("TMPDIR")),
        hadHome_(qEnvironmentVariableIsSet("LINDREL_HOME")),
        hadTmp_(qEnvironmentVariableIsSet("TMPDIR")),
        savedOpen_(qgetenv("LINDREL_OPEN_COMMAND")),
        hadOpen_(qEnvironmentVariableIsSet("LINDREL_OPEN_COMMAND")) {
    QDir(root_.path()).mkpath(QStringLiteral("home"));
    QDir(root_.path()).mkpath(QStringLiteral("tmp"));
    qputenv("LINDREL_HOME", QFile::encodeName(Home()));
    qputenv("TMPDIR", QFile::encodeName(root_.path() + QStringLiteral("/tmp")));
    qunsetenv("LINDREL_OPEN_COMMAND");
    demo::ProgramState::Instance().TEST_Reset();
    widgets::TEST_SetNonInteractive(true);
  }

  ~GuiTestEnvironment() {
    widgets::TEST_SetNonInteractive(false);
    demo::ProgramState::Instance().TEST_Reset();
    Restore("LINDREL_HOME", savedHome_, hadHome_);
    Restore("TMPDIR", savedTmp_, hadTmp_);
    Restore("LINDREL_OPEN_COMMAND", savedOpen_, hadOpen_);
  }

  GuiTestEnvironment(const GuiTestEnvironment&) = delete;
  GuiTestEnvironment& operator=(const GuiTestEnvironment&) = delete;

  QString Root() const { return root_.path(); }
  // The Lindrel directory.
  QString Home() const { return root_.path() + QStringLiteral("/home"); }
  QString SettingsFile() const { return Home() + QStringLiteral("/WDD_SearchHistory.INI"); }
  QString PlacementFile() const { return Home() + QStringLiteral("/LindrelDemo.ini"); }

  // Writes `content` byte for byte to `name` under the root; answers the path.
  QString Write(const QString& name, const QByteArray& content) const {
    QString path = root_.path() + '/' + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(content);
    return path;
  }

  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private:
  static void Restore(const char* name, const QByteArray& value, bool had) {
    if (had)
      qputenv(name, value);
    else
      qunsetenv(name);
  }

  QTemporaryDir root_;
  QByteArray savedHome_, savedTmp_;
  bool hadHome_, hadTmp_;
  QByteArray savedOpen_;
  bool hadOpen_;
};

}  // namespace lindrel::testing
