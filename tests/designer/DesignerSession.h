// DesignerSession: Qt Designer's own form editor, set up as the designer program sets it
// up, inside the test process. Creating it loads the custom widget plugins from the plugin
// path (the test's QT_PLUGIN_PATH names the build tree's plugins) and initializes them.
// Like the designer program, a process holds one session; forms come and go.
// Threading: GUI thread only.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QDesignerFormEditorInterface;
class QDesignerFormWindowInterface;
class QWidget;

namespace lindrel::testing {

class DesignerSession {
 public:
  DesignerSession();
  ~DesignerSession();
  DesignerSession(const DesignerSession&) = delete;
  DesignerSession& operator=(const DesignerSession&) = delete;

  QDesignerFormEditorInterface* Core() const { return core_; }

  // Opens `ui` (the text of a .ui file) in a new form window, unmodified; nullptr when
  // Designer refuses it.
  QDesignerFormWindowInterface* Open(const QString& ui);
  // Closes every open form, destroying its controls.
  void CloseForms();

  // A form holding one component per name.
  static QString FormWithComponents(const QStringList& names);
  // The placed control `name` of `form`.
  static QWidget* Control(QDesignerFormWindowInterface* form, const QString& name);

 private:
  QDesignerFormEditorInterface* core_ = nullptr;
  QList<QWidget*> formHosts_;
};

}  // namespace lindrel::testing
