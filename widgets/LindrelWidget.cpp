#include "lindrel/widgets/LindrelWidget.h"

#include <QAction>
#include <QPainter>
#include <QResizeEvent>

#include "lindrel/LindrelEvents.h"
#include "lindrel/widgets/AboutDialog.h"
#include "lindrel/widgets/ModalDialogs.h"
#include "lindrel/widgets/PropertySheet.h"
#include "lindrel/widgets/QtEventHost.h"
#include "lindrel/widgets/TextBytes.h"
#include "widgets/DispatchNames.h"

namespace lindrel::widgets {
namespace {

// Byte-exact both ways (TextBytes.h): a name that is not UTF-8 still names its file.
std::string Narrow(const QString& value) { return TextToStdString(value); }
QString Wide(const std::string& value) { return TextFromBytes(value); }

}  // namespace

// Turns the component's events into the widget's signals.
class LindrelWidget::EventBridge final : public lindrel::LindrelEvents {
 public:
  explicit EventBridge(LindrelWidget& widget) : widget_(widget) {}

  void DirCompareCompleted() override { emit widget_.DirCompareCompleted(); }
  void OnError(long errorCode, std::string& errorString) override {
    emit widget_.OnError(errorCode, Wide(errorString));
  }
  void DirCompareStarted() override { emit widget_.DirCompareStarted(); }
  void FileCompareStarted() override { emit widget_.FileCompareStarted(); }
  void FileCompareCompleted(long compareResult) override {
    emit widget_.FileCompareCompleted(compareResult);
  }

 private:
  LindrelWidget& widget_;
};

LindrelWidget::LindrelWidget(QWidget* parent, const QString& stateFile)
    : QWidget(parent),
      host_(std::make_unique<QtEventHost>()),
      bridge_(std::make_unique<EventBridge>(*this)) {
  setObjectName(QStringLiteral("Lindrel"));
  setFixedSize(kExtent, kExtent);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  ctrl_ = std::make_unique<lindrel::CLindrelCtrl>(Narrow(stateFile), host_.get());
  ctrl_->SetEventListener(bridge_.get());
  ctrl_->SetPropertyChangedHandler(
      [this](long dispId) { emit PropertyChanged(dispId, DispatchName(dispId)); });
  ctrl_->SetAboutBoxHandler([this] {
    AboutDialog dialog(this);
    ExecModal(dialog);
  });

  // A form designer reaches the property pages and the About box from the placed
  // control's context menu.
  auto* properties = new QAction(QStringLiteral("&Properties..."), this);
  properties->setObjectName(QStringLiteral("actionProperties"));
  connect(properties, &QAction::triggered, this, [this] { ShowPropertyPages(); });
  auto* about = new QAction(QStringLiteral("&About Lindrel..."), this);
  about->setObjectName(QStringLiteral("actionAbout"));
  connect(about, &QAction::triggered, this, [this] { AboutBox(); });
  addAction(properties);
  addAction(about);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

LindrelWidget::~LindrelWidget() {
  // The component's destruction may still report; nothing must reach a half-destroyed
  // widget.
  ctrl_->SetEventListener(nullptr);
  ctrl_->SetPropertyChangedHandler(nullptr);
  ctrl_->SetAboutBoxHandler(nullptr);
  ctrl_.reset();
}

QSize LindrelWidget::sizeHint() const { return QSize(kExtent, kExtent); }
QSize LindrelWidget::minimumSizeHint() const { return QSize(kExtent, kExtent); }

void LindrelWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), AmbientBackColor());
  painter.drawPixmap(0, 0, ComponentIcon());
}

void LindrelWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // A container that changed the size limits still gets the fixed extent back.
  if (event->size() != QSize(kExtent, kExtent)) setFixedSize(kExtent, kExtent);
}

QColor LindrelWidget::AmbientBackColor() const {
  const QWidget* container = parentWidget();
  if (container == nullptr) return palette().color(QPalette::Window);
  return container->palette().color(container->backgroundRole());
}

QString LindrelWidget::GetStateFile() const { return Wide(ctrl_->GetStateFileName()); }
void LindrelWidget::SetStateFile(const QString& name) { ctrl_->LoadProperties(Narrow(name)); }
bool LindrelWidget::IsModified() const { return ctrl_->IsModified(); }
void LindrelWidget::SetModifiedFlag(bool modified) { ctrl_->SetModifiedFlag(modified); }
void LindrelWidget::ResetProperties() { ctrl_->ResetProperties(); }
bool LindrelWidget::ShowPropertyPages() { return ShowPropertySheet({this}, this); }

// Property accessors: strings cross byte for byte (TextBytes.h), booleans as 1 or 0.
#define LINDREL_WIDGET_Text(Name)                                               \
  QString LindrelWidget::Get##Name() const { return Wide(ctrl_->Get##Name()); } \
  void LindrelWidget::Set##Name(const QString& value) { ctrl_->Set##Name(Narrow(value)); }
#define LINDREL_WIDGET_Directory(Name) LINDREL_WIDGET_Text(Name)
#define LINDREL_WIDGET_Boolean(Name)                                        \
  bool LindrelWidget::Get##Name() const { return ctrl_->Get##Name() != 0; } \
  void LindrelWidget::Set##Name(bool value) { ctrl_->Set##Name(value ? 1 : 0); }
#define LINDREL_WIDGET_Number(Name)                                    \
  long LindrelWidget::Get##Name() const { return ctrl_->Get##Name(); } \
  void LindrelWidget::Set##Name(long value) { ctrl_->Set##Name(value); }
#define LINDREL_WIDGET_Priority(Name) LINDREL_WIDGET_Number(Name)
#define LINDREL_WIDGET_PROPERTY(Name, member, Kind, Default, StateKey) LINDREL_WIDGET_##Kind(Name)
#define LINDREL_WIDGET_READ_ONLY_Boolean(Name) \
  bool LindrelWidget::Get##Name() const { return ctrl_->Get##Name() != 0; }
#define LINDREL_WIDGET_READ_ONLY_Number(Name) \
  long LindrelWidget::Get##Name() const { return ctrl_->Get##Name(); }
#define LINDREL_WIDGET_READ_ONLY(Name, Kind) LINDREL_WIDGET_READ_ONLY_##Kind(Name)

LINDREL_PROPERTIES(LINDREL_WIDGET_PROPERTY)
LINDREL_READ_ONLY_PROPERTIES(LINDREL_WIDGET_READ_ONLY)

bool LindrelWidget::DirCompareBegin() { return ctrl_->DirCompareBegin(); }
void LindrelWidget::DirCompareAbort() { ctrl_->DirCompareAbort(); }

bool LindrelWidget::DirCompareResultsGet(long ResultIndex, QString& FileName, QString& DirMaster,
                                         QString& DirSource, long& IsFile, long& OnlyInSource,
                                         long& OnlyInMaster, long& SizeDifferent,
                                         long& DateDifferent, long& ContentDifferent) {
  std::string fileName, dirMaster, dirSource;
  if (!ctrl_->DirCompareResultsGet(ResultIndex, fileName, dirMaster, dirSource, IsFile,
                                   OnlyInSource, OnlyInMaster, SizeDifferent, DateDifferent,
                                   ContentDifferent)) {
    return false;
  }
  FileName = Wide(fileName);
  DirMaster = Wide(dirMaster);
  DirSource = Wide(dirSource);
  return true;
}

bool LindrelWidget::FileCompareBegin() { return ctrl_->FileCompareBegin(); }
void LindrelWidget::FileCompareAbort() { ctrl_->FileCompareAbort(); }
bool LindrelWidget::DirSaveDataToTabFile(const QString& FileName) {
  return ctrl_->DirSaveDataToTabFile(Narrow(FileName));
}
long LindrelWidget::FileCompareResultsCount() { return ctrl_->FileCompareResultsCount(); }
bool LindrelWidget::FileCompareResultsGet(long ResultIndex, long& ChangeType, long& MasterStart,
                                          long& MasterEnd, long& SourceStart, long& SourceEnd) {
  return ctrl_->FileCompareResultsGet(ResultIndex, ChangeType, MasterStart, MasterEnd, SourceStart,
                                      SourceEnd);
}
bool LindrelWidget::FileCompareBeginSynchronous() { return ctrl_->FileCompareBeginSynchronous(); }
long LindrelWidget::FileCompareCreateReport(const QString& TargetFile, long Format, long Style) {
  return ctrl_->FileCompareCreateReport(Narrow(TargetFile), Format, Style);
}
bool LindrelWidget::AlignmentChangeAdd(long ChangeType, long LineStart, long LineEnd,
                                       long NumLines) {
  return ctrl_->AlignmentChangeAdd(ChangeType, LineStart, LineEnd, NumLines);
}
bool LindrelWidget::AlignmentChangeClear() { return ctrl_->AlignmentChangeClear(); }
bool LindrelWidget::AlignmentChangeUndo() { return ctrl_->AlignmentChangeUndo(); }
void LindrelWidget::AboutBox() { ctrl_->AboutBox(); }

}  // namespace lindrel::widgets
