// A fresh private directory per test, set as LINDREL_HOME and TMPDIR, with every dialog
// of the Qt layer answered without blocking.
// Threading: the test's main thread only (it changes the process environment).
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "proppages/ModalDialogsTesting.h"

namespace lindrel::testing {

class DesignerTestEnvironment {
 public:
  DesignerTestEnvironment()
      : savedHome_(qgetenv("LINDREL_HOME")),
        savedTmp_(qgetenv("TMPDIR")),
        hadHome_(qEnvironmentVariableIsSet("LINDREL_HOME")),
        hadTmp_(qEnvironmentVariableIsSet("TMPDIR")) {
    QDir(root_.path()).mkpath(QStringLiteral("home"));
    QDir(root_.path()).mkpath(QStringLiteral("tmp"));
    qputenv("LINDREL_HOME", QFile::encodeName(Home()));
    qputenv("TMPDIR", QFile::encodeName(root_.path() + QStringLiteral("/tmp")));
    widgets::TEST_SetNonInteractive(true);
  }

  ~DesignerTestEnvironment() {
    widgets::TEST_SetNonInteractive(false);
    Restore("LINDREL_HOME", savedHome_, hadHome_);
    Restore("TMPDIR", savedTmp_, hadTmp_);
  }

  DesignerTestEnvironment(const DesignerTestEnvironment&) = delete;
  DesignerTestEnvironment& operator=(const DesignerTestEnvironment&) = delete;

  QString Root() const { return root_.path(); }
  // The Lindrel directory.
  QString Home() const { return root_.path() + QStringLiteral("/home"); }

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
};

}  // namespace lindrel::testing
