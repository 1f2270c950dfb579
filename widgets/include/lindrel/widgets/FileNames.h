/// @file
/// File names held in a QString without losing a byte.
///
/// On Linux a file name is any bytes but "/" and NUL; UTF-8 in practice, but not always
/// (a file copied from an old system or an archive). Qt's own conversion turns every byte
/// that is not part of valid UTF-8 into U+FFFD, after which the name no longer names its
/// file. These functions hold a name in a QString in which each such byte B stands as the
/// lone surrogate U+DC00 + B (U+DC80 to U+DCFF), and turn it back into the very same bytes
/// wherever the name leaves the program: to the component, to the file system, to a
/// settings file. Valid UTF-8 converts exactly as Qt converts it.
///
/// ComparisonView takes and gives names in this form. Threading: plain functions.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <string>

#include "lindrel/widgets/export.h"

namespace lindrel::widgets {

/// The name held by `bytes`.
LINDREL_WIDGETS_EXPORT QString FileNameFromBytes(QByteArrayView bytes);
/// The name held by `bytes`.
inline QString FileNameFromBytes(const std::string& bytes) {
  return FileNameFromBytes(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

/// The bytes of `name`; FileNameToBytes(FileNameFromBytes(b)) == b for all bytes b.
LINDREL_WIDGETS_EXPORT QByteArray FileNameToBytes(const QString& name);
/// The bytes of `name` as a std::string (the component's string type).
inline std::string FileNameToStd(const QString& name) {
  return FileNameToBytes(name).toStdString();
}

/// `name` for reading: each byte that is not UTF-8 shows as U+FFFD.
LINDREL_WIDGETS_EXPORT QString ShownFileName(const QString& name);

/// The operands of a command line (argv[1] and up), each decoded as a file name.
LINDREL_WIDGETS_EXPORT QStringList FileNameArguments(int argc, const char* const* argv);

/// The absolute form of `name` (relative to the current directory), with "." and ".."
/// segments resolved in the text; "" stays "".
LINDREL_WIDGETS_EXPORT QString AbsoluteFileName(const QString& name);

/// True when something exists under the name's own bytes.
LINDREL_WIDGETS_EXPORT bool FileNameExists(const QString& name);
/// True when the name's own bytes name a directory.
LINDREL_WIDGETS_EXPORT bool IsDirectoryName(const QString& name);
/// True when the name's own bytes name a regular file.
LINDREL_WIDGETS_EXPORT bool IsRegularFileName(const QString& name);

}  // namespace lindrel::widgets
