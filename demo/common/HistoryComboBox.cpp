#include "demo/common/HistoryComboBox.h"

#include <QComboBox>

#include "demo/common/HistoryList.h"

namespace lindrel::demo {

QComboBox* HistoryComboBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromUtf8(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumContentsLength(50);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return box;
}

void FillFromHistory(QComboBox* box, const HistoryList& history) {
  box->clear();
  box->addItems(history.NewestFirst());
  box->setCurrentIndex(history.IsEmpty() ? -1 : 0);
}

}  // namespace lindrel::demo
