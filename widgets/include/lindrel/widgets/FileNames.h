/// @file
/// File names held in a QString without losing a byte: the byte-exact conversion of
/// TextBytes.h under the names of files, and the file-system tests and command-line
/// operands that go with it.
///
/// ComparisonView takes and gives names in this form. Threading: plain functions.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <string>

#include "lindrel/widgets/TextBytes.h"
#include "lindrel/widgets/export.h"

namespace lindrel::widgets {

/// The name held by `bytes` (TextFromBytes).
inline QString FileNameFromBytes(QByteArrayView bytes) { return TextFromBytes(bytes); }
/// The name held by `bytes` (TextFromBytes).
inline QString FileNameFromBytes(const std::string& bytes) { return TextFromBytes(bytes); }

/// The bytes of `name`; FileNameToBytes(FileNameFromBytes(b)) == b for all bytes b.
inline QByteArray FileNameToBytes(const QString& name) { return TextToBytes(name); }
/// The bytes of `name` as a std::string (the component's string type).
inline std::string FileNameToStd(const QString& name) { return TextToStdString(name); }

/// `name` for reading: each byte that is not UTF-8 shows as U+FFFD, a NUL as U+2400.
LINDREL_WIDGETS_EXPORT QString ShownFileName(const QString& name);

/// True when `name` holds a NUL. No file has such a name: the system would read the name
/// only up to the NUL, which names another file. Such a name is refused wherever it is
/// taken in, and the file-system tests below answer false for it.
LINDREL_WIDGETS_EXPORT bool HoldsNul(const QString& name);

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
