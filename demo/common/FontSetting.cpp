#include "demo/common/FontSetting.h"

#include "demo/common/SettingsFile.h"

namespace lindrel::demo {
namespace {

constexpr int kDefaultSize = 8;

const QString kName = QStringLiteral("FontName");
const QString kSize = QStringLiteral("FontSize");
const QString kBold = QStringLiteral("FontBold");
const QString kItalic = QStringLiteral("FontItalic");

}  // namespace

FontSetting FontSetting::Read(const QString& section, const QString& defaultName) {
  FontSetting font;
  font.name = ReadSetting(section, kName, defaultName);
  font.size = static_cast<int>(ReadSettingNumber(section, kSize, kDefaultSize));
  font.bold = ReadSettingFlag(section, kBold, false);
  font.italic = ReadSettingFlag(section, kItalic, false);
  return font;
}

QList<QPair<QString, QString>> FontSetting::Entries() const {
  return {{kName, name}, {kSize, QString::number(size)}, {kBold, BoolText(bold)},
          {kItalic, BoolText(italic)}};
}

QFont FontSetting::Font() const {
  QFont font(name);
  // A stored size of 0 or less would make Qt fall back with a warning on every use.
  font.setPointSize(size > 0 ? size : kDefaultSize);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

void FontSetting::Set(const QFont& font) {
  name = font.family();
  size = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
  bold = font.bold();
  italic = font.italic();
}

}  // namespace lindrel::demo
