// PropertyPage: one page of the component's property sheet. A boolean page holds check
// boxes bound by name to boolean properties of the selected components; the About page
// binds nothing.
//
// Threading: GUI thread only.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

#include "lindrel/widgets/export.h"

class QCheckBox;

namespace lindrel::widgets {

class PropertyPage : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // The caption of the page's tab.
  virtual QString Caption() const = 0;
  // Shows the values of `components`.
  virtual void Load(const QList<QObject*>& components) = 0;
  // Writes what the user changed since the last Load or Apply; answers true when
  // anything was written.
  virtual bool Apply() = 0;
  virtual bool IsDirty() const = 0;

 signals:
  void DirtyChanged();
};

struct BoundCheckBox {
  const char* caption;
  const char* property;
};

class LINDREL_WIDGETS_EXPORT BooleanPropertyPage : public PropertyPage {
  Q_OBJECT

 public:
  BooleanPropertyPage(const QString& caption, std::vector<BoundCheckBox> boxes,
                      QWidget* parent = nullptr);

  QString Caption() const override { return caption_; }
  // The names of the properties the page's boxes edit, in order.
  std::vector<const char*> BoundProperties() const;
  void Load(const QList<QObject*>& components) override;
  bool Apply() override;
  bool IsDirty() const override;

 private:
  struct Row {
    const char* property;
    QCheckBox* box;
    Qt::CheckState loaded;
  };

  QString caption_;
  std::vector<Row> rows_;
  QList<QPointer<QObject>> components_;
};

class AboutPropertyPage : public PropertyPage {
  Q_OBJECT

 public:
  explicit AboutPropertyPage(QWidget* parent = nullptr);

  QString Caption() const override;
  void Load(const QList<QObject*>&) override {}
  bool Apply() override { return false; }
  bool IsDirty() const override { return false; }
};

// The component's three pages, under the class names a form designer lists them by.
LINDREL_WIDGETS_EXPORT PropertyPage* NewCLindrelPropPage(QWidget* parent);
LINDREL_WIDGETS_EXPORT PropertyPage* NewCLindrelPPG_CF(QWidget* parent);
PropertyPage* NewCLindrelPPGAbout(QWidget* parent);

}  // namespace lindrel::widgets
