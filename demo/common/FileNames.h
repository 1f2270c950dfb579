// File names as LindrelDemo carries them.
//
// On Linux a file name is any bytes but "/" and NUL; UTF-8 in practice, but not always
// (a file copied from an old system or an archive). Qt's own conversion turns every byte
// that is not part of valid UTF-8 into U+FFFD, after which the name no longer names its
// file. The demo therefore holds a name in a QString in which each such byte B stands as
// the lone surrogate U+DC00 + B (U+DC80 to U+DCFF), and turns it back into the very same
// bytes wherever the name leaves the program: to the component, to the file system, to
// the settings file. Valid UTF-8 converts exactly as Qt converts it, so every name that
// Qt could hold reads and is stored as before.
//
// Threading: plain functions.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <string>

namespace lindrel::demo {

// The name held by `bytes`.
QString FileNameFromBytes(QByteArrayView bytes);
inline QString FileNameFromBytes(const std::string& bytes) {
  return FileNameFromBytes(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// The bytes of `name`; FileNameToBytes(FileNameFromBytes(b)) == b for all bytes b.
QByteArray FileNameToBytes(const QString& name);
inline std::string FileNameToStd(const QString& name) {
  return FileNameToBytes(name).toStdString();
}

// `name` for reading: each byte that is not UTF-8 shows as U+FFFD, a NUL as U+2400.
QString ShownFileName(const QString& name);

// True when `name` holds a NUL. No file has such a name: the system would read the name
// only up to the NUL, which names another file. Such a name is refused wherever the demo
// takes one in, and the tests below answer false for it.
bool HoldsNul(const QString& name);

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
