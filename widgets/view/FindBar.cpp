#include "widgets/view/FindBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lindrel::widgets {

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("findBar"));
  auto* label = new QLabel(QStringLiteral("Find:"), this);
  text_ = new QLineEdit(this);
  text_->setObjectName(QStringLiteral("findText"));
  text_->setClearButtonEnabled(true);
  text_->setAccessibleName(QStringLiteral("Text to find"));
  label->setBuddy(text_);
  matchCase_ = new QCheckBox(QStringLiteral("Match case"), this);
  matchCase_->setObjectName(QStringLiteral("findMatchCase"));
  next_ = new QPushButton(QStringLiteral("Next"), this);
  next_->setObjectName(QStringLiteral("findNext"));
  next_->setToolTip(QStringLiteral("Next match (F3)"));
  previous_ = new QPushButton(QStringLiteral("Previous"), this);
  previous_->setObjectName(QStringLiteral("findPrevious"));
  previous_->setToolTip(QStringLiteral("Previous match (Shift+F3)"));
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("findStatus"));
  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setObjectName(QStringLiteral("findClose"));
  close_->setToolTip(QStringLiteral("Close the find bar (Esc)"));
  for (QPushButton* button : {next_, previous_, close_}) button->setAutoDefault(false);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(label);
  layout->addWidget(text_, 1);
  layout->addWidget(matchCase_);
  layout->addWidget(next_);
  layout->addWidget(previous_);
  layout->addWidget(status_, 1);
  layout->addWidget(close_);

  text_->installEventFilter(this);
  connect(text_, &QLineEdit::textChanged, this, &FindBar::QueryChanged);
  connect(matchCase_, &QCheckBox::toggled, this, &FindBar::QueryChanged);
  connect(next_, &QPushButton::clicked, this, &FindBar::NextRequested);
  connect(previous_, &QPushButton::clicked, this, &FindBar::PreviousRequested);
  connect(close_, &QPushButton::clicked, this, &FindBar::CloseRequested);
  hide();
}

QString FindBar::Text() const { return text_->text(); }
void FindBar::SetText(const QString& text) { text_->setText(text); }
bool FindBar::MatchCase() const { return matchCase_->isChecked(); }
void FindBar::SetMatchCase(bool on) { matchCase_->setChecked(on); }
QString FindBar::Status() const { return status_->text(); }
void FindBar::SetStatus(const QString& text) { status_->setText(text); }

void FindBar::Open() {
  show();
  text_->setFocus(Qt::ShortcutFocusReason);
  text_->selectAll();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (key->modifiers() & Qt::ShiftModifier)
          emit PreviousRequested();
        else
          emit NextRequested();
        return true;
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  // The bar's controls leave Escape to it.
  if (event->key() == Qt::Key_Escape) {
    emit CloseRequested();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace lindrel::widgets
