// A fresh private directory per Qt test, set as LINDREL_HOME and TMPDIR, with every dialog
// of the Qt layer answered without blocking.
// Threading: the test's main thread only (it changes the process environment).
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "widgets/ModalDialogsTesting.h"

namespace lindrel::testing {

// Sets or clears one environment variable for its lifetime, then puts back what was there.
class ScopedEnvironmentVariable {
 public:
  // Clears `name`.
  explicit ScopedEnvironmentVariable(const char* name)
      : name_(name), saved_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    qunsetenv(name);
  }
  // Sets `name` to `value`.
  ScopedEnvironmentVariable(const char* name, const QByteArray& value)
      : ScopedEnvironmentVariable(name) {
    qputenv(name, value);
  }
  ~ScopedEnvironmentVariable() {
    if (had_)
      qputenv(name_, saved_);
    else
      qunsetenv(name_);
  }
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  const char* name_;
  QByteArray saved_;
  bool had_;
};

// A private folder that is both the Lindrel directory and TMPDIR of a whole program run
// (a benchmark, the screenshot program), removed at its end. Made before the
// QApplication, as the variables must be set before anything reads them.
//
// LINDREL_SCREENSHOTS_HOME, when set, names an empty folder to use instead, kept at the
// end: two builds' screenshots then show the same paths and can be compared pixel for
// pixel.
class ScratchLindrelHome {
 public:
  QString path() const { return fixed_.isEmpty() ? dir_.path() : fixed_; }

 private:
  QString fixed_ = qEnvironmentVariable("LINDREL_SCREENSHOTS_HOME");
  QTemporaryDir dir_;
  ScopedEnvironmentVariable home_{"LINDREL_HOME", QFile::encodeName(path())};
  ScopedEnvironmentVariable tmp_{"TMPDIR", QFile::encodeName(path())};
};

class WidgetTestEnvironment {
 public:
  WidgetTestEnvironment() { widgets::TEST_SetNonInteractive(true); }
  ~WidgetTestEnvironment() { widgets::TEST_SetNonInteractive(false); }
  WidgetTestEnvironment(const WidgetTestEnvironment&) = delete;
  WidgetTestEnvironment& operator=(const WidgetTestEnvironment&) = delete;

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
  static QString MadeDirectory(const QTemporaryDir& root, const QString& name) {
    QDir(root.path()).mkpath(name);
    return root.path() + '/' + name;
  }

  QTemporaryDir root_;
  ScopedEnvironmentVariable home_{"LINDREL_HOME",
                                  QFile::encodeName(MadeDirectory(root_, QStringLiteral("home")))};
  ScopedEnvironmentVariable tmp_{"TMPDIR",
                                 QFile::encodeName(MadeDirectory(root_, QStringLiteral("tmp")))};
};

}  // namespace lindrel::testing
