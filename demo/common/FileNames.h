// File names as LindrelDemo carries them.
//
// On Linux a file name is any bytes but "/" and NUL; UTF-8 in practice, but not always (a
// file copied from an old system or an archive). The demo holds a name in a QString as the
// Qt layer's byte-exact conversion does (lindrel/widgets/TextBytes.h: each byte that is not
// part of valid UTF-8 as the lone surrogate U+DC00 + B) and turns it back into the very
// same bytes wherever the name leaves the program: to the component, to the file system,
// to the settings file.
//
// Threading: plain functions.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <string>

#include "lindrel/widgets/TextBytes.h"

namespace lindrel::demo {

// The name held by `bytes`.
inline QString FileNameFromBytes(QByteArrayView bytes) { return widgets::TextFromBytes(bytes); }
inline QString FileNameFromBytes(const std::string& bytes) { return widgets::TextFromBytes(bytes); }

// The bytes of `name`; FileNameToBytes(FileNameFromBytes(b)) == b for all bytes b.
inline QByteArray FileNameToBytes(const QString& name) { return widgets::TextToBytes(name); }
inline std::string FileNameToStd(const QString& name) { return widgets::TextToStdString(name); }

// `name` for reading: each byte that is not UTF-8 shows as U+FFFD.
inline QString ShownFileName(const QString& name) { return widgets::ShownText(name); }

// The operands of a command line (argv[1] and up), each decoded as a file name.
QStringList FileNameArguments(int argc, const char* const* argv);

// The absolute form of `name` (relative to the current directory), with "." and ".."
// segments resolved in the text; "" stays "".
QString AbsoluteFileName(const QString& name);

// File-system tests on the name's own bytes.
bool FileNameExists(const QString& name);
bool IsDirectoryName(const QString& name);
bool IsRegularFileName(const QString& name);

}  // namespace lindrel::demo
