// A stand-in child window of the demo's main window: it implements the child-window
// protocol by recording every procedure the main window calls, and carries a Lindrel1
// component like the real comparison windows.
// Threading: GUI thread only.
#pragma once

#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include "demo/main/MainWindow.h"
#include "lindrel/widgets/LindrelWidget.h"

namespace lindrel::testing {

class TestChild : public QWidget {
  Q_OBJECT

 public:
  explicit TestChild(const QString& stateFile, QWidget* parent = nullptr) : QWidget(parent) {
    lindrel1 = new widgets::LindrelWidget(this, stateFile);
    lindrel1->setObjectName(QStringLiteral("Lindrel1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lindrel1);
    resize(300, 200);
  }

  Q_INVOKABLE void Refresh_View() { calls << QStringLiteral("Refresh_View"); }
  Q_INVOKABLE void Change_Font(bool flag) {
    calls << QStringLiteral("Change_Font(%1)").arg(flag ? "true" : "false");
  }
  Q_INVOKABLE void mnuViewLegend_Click() { calls << QStringLiteral("mnuViewLegend_Click"); }
  Q_INVOKABLE void Swap() { calls << QStringLiteral("Swap"); }
  Q_INVOKABLE void ReportOptions() { calls << QStringLiteral("ReportOptions"); }
  Q_INVOKABLE void mnuReportHTMLFile_Click() { calls << QStringLiteral("mnuReportHTMLFile_Click"); }
  Q_INVOKABLE void mnuReportTextFile_Click() { calls << QStringLiteral("mnuReportTextFile_Click"); }
  Q_INVOKABLE void mnuReportTabDelimitedFile_Click() {
    calls << QStringLiteral("mnuReportTabDelimitedFile_Click");
  }
  Q_INVOKABLE void mnuReportCommaDelimitedFile_Click() {
    calls << QStringLiteral("mnuReportCommaDelimitedFile_Click");
  }
  Q_INVOKABLE void cmdViewReport_Click() { calls << QStringLiteral("cmdViewReport_Click"); }
  Q_INVOKABLE void mnuShowDetail_Click() { calls << QStringLiteral("mnuShowDetail_Click"); }
  Q_INVOKABLE void Abort() { calls << QStringLiteral("Abort"); }
  Q_INVOKABLE void Form_Resize() { calls << QStringLiteral("Form_Resize"); }
  Q_INVOKABLE void AdjustToolbarItems() { calls << QStringLiteral("AdjustToolbarItems"); }
  Q_INVOKABLE void CompareDirectories() { calls << QStringLiteral("CompareDirectories"); }
  Q_INVOKABLE void cmdCompare_Click() { calls << QStringLiteral("cmdCompare_Click"); }

  QStringList calls;
  widgets::LindrelWidget* lindrel1 = nullptr;
};

// A child that implements none of the protocol.
class SilentChild : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
};

// Factories for both children, each with the state file of its real counterpart.
inline demo::MainWindow::ChildFactories TestChildFactories() {
  return {
      {QString::fromLatin1(demo::MainWindow::kCompareDir),
       [](demo::MainWindow&) -> QWidget* { return new TestChild("WDD_COMPARE_DIR_TVK1"); }},
      {QString::fromLatin1(demo::MainWindow::kCompareFiles),
       [](demo::MainWindow&) -> QWidget* { return new TestChild("WDD_COMPARE_FILES_TVK1"); }},
  };
}

}  // namespace lindrel::testing
