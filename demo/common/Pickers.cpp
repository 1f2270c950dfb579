#include "demo/common/Pickers.h"

#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {

QString PickFolder(QWidget* parent) {
  return widgets::GetExistingDirectory(parent, QStringLiteral("Select Directory"));
}

QString PickFile(QWidget* parent) {
  // "All files|*.*" in Qt's filter syntax; "*" also matches names without a dot.
  return widgets::GetOpenFileName(parent, QStringLiteral("Open A File for Editing"), QString(),
                                  QStringLiteral("All files (*)"));
}

}  // namespace lindrel::demo
