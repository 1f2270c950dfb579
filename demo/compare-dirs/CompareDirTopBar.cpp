#include "demo/compare-dirs/CompareDirTopBar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>

namespace lindrel::demo {

CompareDirTopBar::CompareDirTopBar(QWidget* parent) : QWidget(parent) {
  compare_ = new QPushButton(QStringLiteral("&Compare Directory"), this);
  compare_->setObjectName(QStringLiteral("cmdCompareDir"));
  viewReport_ = new QPushButton(QStringLiteral("View Re&port"), this);
  viewReport_->setObjectName(QStringLiteral("cmdViewReport"));
  stop_ =
      new QPushButton(style()->standardIcon(QStyle::SP_BrowserStop), QStringLiteral("&Stop"), this);
  stop_->setObjectName(QStringLiteral("cmdStop"));
  stop_->setToolTip(QStringLiteral("Stop the scan (Esc); the rows found so far stay"));
  stop_->hide();
  for (QPushButton* button : {compare_, viewReport_, stop_}) button->setAutoDefault(false);
  // Nothing to report before the first comparison has completed.
  viewReport_->hide();
  connect(compare_, &QPushButton::clicked, this, &CompareDirTopBar::CompareClicked);
  connect(viewReport_, &QPushButton::clicked, this, &CompareDirTopBar::ViewReportClicked);
  connect(stop_, &QPushButton::clicked, this, &CompareDirTopBar::StopClicked);

  auto* toolbar = new QToolBar(QStringLiteral("Toolbar1"), this);
  toolbar->setObjectName(QStringLiteral("Toolbar1"));
  toolbar->setIconSize(QSize(20, 20));
  toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  QAction* refresh = toolbar->addAction(style()->standardIcon(QStyle::SP_BrowserReload),
                                        QStringLiteral("Refresh (F5)"));
  refresh->setObjectName(QStringLiteral("cmdRefresh"));
  refresh->setToolTip(QStringLiteral("Refresh (F5)"));
  connect(refresh, &QAction::triggered, this, &CompareDirTopBar::RefreshClicked);
  // A toolbar in a plain layout would shrink to its extension button.
  toolbar->setMinimumWidth(toolbar->sizeHint().width());

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(compare_);
  row->addWidget(viewReport_);
  row->addWidget(stop_);
  row->addWidget(toolbar);
  row->addStretch(1);
}

}  // namespace lindrel::demo
