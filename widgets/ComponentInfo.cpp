#include "widgets/ComponentInfo.h"

namespace lindrel::widgets {

QString ComponentAboutText() {
  return QStringLiteral("Lindrel Control, Version %1\nCopyright (C) Morvantis, Inc.")
      .arg(QStringLiteral(LINDREL_WIDGETS_VERSION));
}

}  // namespace lindrel::widgets
