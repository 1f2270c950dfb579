// A stand-in child window of the demo's main window: it records every call the main
// window makes through the ComparisonWindow interface, and carries a Lindrel1 component
// like the real comparison windows.
// Threading: GUI thread only.
#pragma once

#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include "demo/common/ComparisonWindow.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/LindrelWidget.h"

namespace lindrel::testing {

class TestChild : public QWidget, public demo::ComparisonWindow {
  Q_OBJECT

 public:
  explicit TestChild(const QString& stateFile, QWidget* parent = nullptr) : QWidget(parent) {
    lindrel1 = new widgets::LindrelWidget(this, stateFile);
    lindrel1->setObjectName(QStringLiteral("Lindrel1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lindrel1);
    resize(300, 200);
  }

  QWidget* Widget() override { return this; }
  widgets::LindrelWidget* Component() override { return lindrel1; }
  void StartFromMenu() override { calls << QStringLiteral("StartFromMenu"); }
  void Refresh_View() override { calls << QStringLiteral("Refresh_View"); }
  void Change_Font(bool flag) override {
    calls << QStringLiteral("Change_Font(%1)").arg(flag ? "true" : "false");
  }
  void mnuViewLegend_Click() override { calls << QStringLiteral("mnuViewLegend_Click"); }
  void Swap() override { calls << QStringLiteral("Swap"); }
  void ReportOptions() override { calls << QStringLiteral("ReportOptions"); }
  void mnuReportHTMLFile_Click() override { calls << QStringLiteral("mnuReportHTMLFile_Click"); }
  void mnuReportTextFile_Click() override { calls << QStringLiteral("mnuReportTextFile_Click"); }
  void mnuReportTabDelimitedFile_Click() override {
    calls << QStringLiteral("mnuReportTabDelimitedFile_Click");
  }
  void mnuReportCommaDelimitedFile_Click() override {
    calls << QStringLiteral("mnuReportCommaDelimitedFile_Click");
  }
  void cmdViewReport_Click() override { calls << QStringLiteral("cmdViewReport_Click"); }
  void mnuShowDetail_Click() override { calls << QStringLiteral("mnuShowDetail_Click"); }
  void mnuViewChangeMap_Click() override { calls << QStringLiteral("mnuViewChangeMap_Click"); }
  void MoveNextChange() override { calls << QStringLiteral("MoveNextChange"); }
  void MovePreviousChange() override { calls << QStringLiteral("MovePreviousChange"); }
  void mnuFind_Click() override { calls << QStringLiteral("mnuFind_Click"); }
  void FindNext() override { calls << QStringLiteral("FindNext"); }
  void FindPrevious() override { calls << QStringLiteral("FindPrevious"); }
  void mnuGoToLine_Click() override { calls << QStringLiteral("mnuGoToLine_Click"); }
  void mnuMarkWordsInEveryChange_Click() override {
    calls << QStringLiteral("mnuMarkWordsInEveryChange_Click");
  }
  void Abort() override { calls << QStringLiteral("Abort"); }
  void Form_Resize() override { calls << QStringLiteral("Form_Resize"); }
  void AdjustToolbarItems() override { calls << QStringLiteral("AdjustToolbarItems"); }

  QStringList calls;
  widgets::LindrelWidget* lindrel1 = nullptr;
};

// A child that offers none of the commands and has no component.
class SilentChild : public QWidget, public demo::ComparisonWindow {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  QWidget* Widget() override { return this; }
  widgets::LindrelWidget* Component() override { return nullptr; }
  void StartFromMenu() override {}
};

// Factories for both children, each with the state file of its real counterpart.
inline demo::MainWindow::ChildFactories TestChildFactories() {
  return {
      {QString::fromLatin1(demo::MainWindow::kCompareDir),
       [](demo::MainWindowServices&) -> demo::ComparisonWindow* {
         return new TestChild("WDD_COMPARE_DIR_TVK1");
       }},
      {QString::fromLatin1(demo::MainWindow::kCompareFiles),
       [](demo::MainWindowServices&) -> demo::ComparisonWindow* {
         return new TestChild("WDD_COMPARE_FILES_TVK1");
       }},
  };
}

}  // namespace lindrel::testing
