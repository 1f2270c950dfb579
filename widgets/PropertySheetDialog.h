// PropertySheetDialog: the modal sheet that holds the component's property pages in tabs,
// with "OK", "Cancel" and "Apply".
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>
#include <QList>

#include <vector>

class QPushButton;
class QTabWidget;

namespace lindrel::widgets {

class PropertyPage;

class PropertySheetDialog : public QDialog {
  Q_OBJECT

 public:
  PropertySheetDialog(const QList<QObject*>& components, QWidget* parent = nullptr);

  // Applies every page; answers true when anything was written.
  bool ApplyPages();
  bool AppliedAnything() const { return appliedAnything_; }

 private:
  void UpdateApplyButton();

  QTabWidget* tabs_ = nullptr;
  QPushButton* applyButton_ = nullptr;
  std::vector<PropertyPage*> pages_;
  bool appliedAnything_ = false;
};

}  // namespace lindrel::widgets
