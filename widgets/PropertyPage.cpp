#include "widgets/PropertyPage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "lindrel/widgets/AboutDialog.h"
#include "widgets/ComponentInfo.h"

namespace lindrel::widgets {

BooleanPropertyPage::BooleanPropertyPage(const QString& caption, std::vector<BoundCheckBox> boxes,
                                         QWidget* parent)
    : PropertyPage(parent), caption_(caption) {
  auto* layout = new QVBoxLayout(this);
  for (const BoundCheckBox& bound : boxes) {
    auto* box = new QCheckBox(QString::fromUtf8(bound.caption), this);
    box->setObjectName(QString::fromUtf8(bound.property));
    connect(box, &QCheckBox::stateChanged, this, [this] { emit DirtyChanged(); });
    layout->addWidget(box);
    rows_.push_back({bound.property, box, Qt::Unchecked});
  }
  layout->addStretch(1);
}

void BooleanPropertyPage::Load(const QList<QObject*>& components) {
  components_.clear();
  for (QObject* component : components) components_.append(component);

  for (Row& row : rows_) {
    int checked = 0;
    int seen = 0;
    for (QObject* component : components) {
      QVariant value = component->property(row.property);
      if (!value.isValid()) continue;
      ++seen;
      if (value.toBool()) ++checked;
    }
    Qt::CheckState state = Qt::Unchecked;
    if (seen > 0 && checked == seen)
      state = Qt::Checked;
    else if (checked > 0)
      state = Qt::PartiallyChecked;
    // Only components that disagree give a box a third state; a click on it then
    // settles on checked or unchecked for all of them.
    row.box->setTristate(state == Qt::PartiallyChecked);
    row.box->setCheckState(state);
    row.loaded = state;
  }
  emit DirtyChanged();
}

bool BooleanPropertyPage::Apply() {
  bool wrote = false;
  for (Row& row : rows_) {
    Qt::CheckState state = row.box->checkState();
    if (state == row.loaded || state == Qt::PartiallyChecked) continue;
    for (const QPointer<QObject>& component : components_) {
      if (component) component->setProperty(row.property, state == Qt::Checked);
    }
    row.loaded = state;
    row.box->setTristate(false);
    wrote = true;
  }
  if (wrote) emit DirtyChanged();
  return wrote;
}

bool BooleanPropertyPage::IsDirty() const {
  for (const Row& row : rows_) {
    Qt::CheckState state = row.box->checkState();
    if (state != row.loaded && state != Qt::PartiallyChecked) return true;
  }
  return false;
}

AboutPropertyPage::AboutPropertyPage(QWidget* parent) : PropertyPage(parent) {
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("aboutIcon"));
  icon->setPixmap(ComponentIcon());
  icon->setFixedSize(32, 32);
  auto* text = new QLabel(ComponentAboutText(), this);
  text->setObjectName(QStringLiteral("aboutText"));

  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addSpacing(12);
  row->addWidget(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addStretch(1);
}

std::vector<const char*> BooleanPropertyPage::BoundProperties() const {
  std::vector<const char*> names;
  for (const Row& row : rows_) names.push_back(row.property);
  return names;
}

QString AboutPropertyPage::Caption() const { return QStringLiteral("About"); }

PropertyPage* NewCLindrelPropPage(QWidget* parent) {
  auto* page = new BooleanPropertyPage(
      QStringLiteral("Directory Compare"),
      {
          {"Show Files that are only in the &Master Directory", "DirShowOnlyInMaster"},
          {"Show Files that are only in the &Source Directory", "DirShowOnlyInSource"},
          {"Show Files whose CONTENT are the SA&ME in both directories", "DirShowSameInBothPlaces"},
          {"Show Files whose CONTENT is  &DIFFERENT in both directories",
           "DirShowDifferentInBothPlaces"},
          {"&Look in SUBDIRECTORIES", "DirDoSubDirectories"},
      },
      parent);
  page->setObjectName(QStringLiteral("CLindrelPropPage"));
  return page;
}

PropertyPage* NewCLindrelPPG_CF(QWidget* parent) {
  auto* page = new BooleanPropertyPage(
      QStringLiteral("File Compare"),
      {
          {"Ignore &CASE differences", "FileIgnoreCase"},
          {"Ignore &Whitespace characters (i.e. Tabs, Spaces etc.)", "FileIgnoreWhiteSpace"},
          {"Do a &Quick compare (Binary Comparison)", "FileQuickCompare"},
          {"Ignore &Empty Lines", "FileIgnoreEmptyLines"},
      },
      parent);
  page->setObjectName(QStringLiteral("CLindrelPPG_CF"));
  return page;
}

PropertyPage* NewCLindrelPPGAbout(QWidget* parent) {
  auto* page = new AboutPropertyPage(parent);
  page->setObjectName(QStringLiteral("CLindrelPPGAbout"));
  return page;
}

}  // namespace lindrel::widgets
