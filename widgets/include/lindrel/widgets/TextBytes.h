/// @file
/// Byte-exact conversion between the component's texts and QString.
///
/// The component's texts are bytes. A Linux file name is any bytes but "/" and NUL: UTF-8
/// in practice, but not always (a file copied from an old system or out of an archive).
/// Qt's own conversion (QString::fromStdString, QString::fromUtf8) turns every byte that is
/// not part of valid UTF-8 into U+FFFD, after which the name no longer names its file. These
/// functions hold each such byte B instead as the lone surrogate U+DC00 + B (U+DC80 to
/// U+DCFF) and turn it back into the very same byte, so TextToBytes(TextFromBytes(b)) == b
/// for all bytes b. Valid UTF-8 converts exactly as Qt converts it, so a text Qt could hold
/// reads and is stored as before.
///
/// LindrelWidget converts every text this way: its properties, the arguments of its methods
/// and the texts of its signals. A host that gets a name from the file system as bytes
/// (argv, a directory listing, a drop) converts it with TextFromBytes before it hands it to
/// the widget, and shows a text to the user with ShownText.
///
/// Threading: plain functions, any thread.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <string>

#include "lindrel/widgets/export.h"

namespace lindrel::widgets {

/// The text held by `bytes`: valid UTF-8 decoded, every other byte B as U+DC00 + B.
LINDREL_WIDGETS_EXPORT QString TextFromBytes(QByteArrayView bytes);
/// The same for a std::string, which may hold any bytes.
inline QString TextFromBytes(const std::string& bytes) {
  return TextFromBytes(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

/// The bytes of `text`: UTF-8, and each U+DC80 to U+DCFF as the byte it stands for. Half a
/// surrogate pair that no bytes decode to becomes the UTF-8 of U+FFFD.
LINDREL_WIDGETS_EXPORT QByteArray TextToBytes(const QString& text);
/// The same as a std::string, the component's type.
inline std::string TextToStdString(const QString& text) { return TextToBytes(text).toStdString(); }

/// `text` for a reader: each byte that was not UTF-8 shows as U+FFFD.
LINDREL_WIDGETS_EXPORT QString ShownText(const QString& text);

}  // namespace lindrel::widgets
