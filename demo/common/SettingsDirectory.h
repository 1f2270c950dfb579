// SettingsDirectory: the Lindrel directory as the demo uses it, where it keeps its
// settings file, its window placement and its default report files. A QString adapter
// over the component's lindrel/HostFiles.h, so the demo and the component agree on the
// place.
//
// $LINDREL_HOME when set and not empty; else $XDG_CONFIG_HOME/lindrel when
// XDG_CONFIG_HOME is an absolute path; else $HOME/.config/lindrel. Created on first use
// with mode 0700.
//
// Threading: any thread (reads the environment, touches only the file system).
#pragma once

#include <QString>

namespace lindrel::demo {

// The directory without a final "/", created if needed; "" when it cannot be determined
// or created, with the reason in `error` when given.
QString SettingsDirectory(QString* error = nullptr);

// Where a default report file `name` goes: the Lindrel directory, or the temporary
// directory when there is none (nothing is saved then either, but a report still has a
// place).
QString DefaultReportPath(const QString& name);

}  // namespace lindrel::demo
