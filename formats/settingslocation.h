#pragma once
// Where the settings file lives. A copy run from its own folder (the build
// folder, a portable copy) keeps "vorn.ini" beside the program; an installed
// program, whose folder the user cannot write, keeps it in the user's
// configuration folder, started from the default file installed with it.
#include "outcome.h"

#include <QString>

namespace vorn {

// True when files can be created in `folder`: the system allows it and the
// folder carries a write permission bit (one without is read-only even for
// root, as for game files).
bool CanWriteFolder(const QString& folder);

// The folder that holds "vorn.ini": `programDir` when that folder can be
// written, or when its "vorn.ini" exists and can be written; else
// `userConfigDir`.
QString SettingsFolder(const QString& programDir, const QString& userConfigDir);

// The default settings file installed with a program in <prefix>/bin,
// <prefix>/share/vorn/vorn.ini; empty when there is none.
QString InstalledDefaultSettings(const QString& programDir);

// The file reads go to: `path` while it exists, else `seed` (when given),
// so a first start already has the default entity names.
QString SettingsFileToRead(const QString& path, const QString& seed);

// Makes a settings file that does not exist yet ready for its first write:
// creates its folder and copies `seed` into it when that file exists, comment
// lines included. Does nothing to an existing file.
Outcome PrepareSettingsFile(const QString& path, const QString& seed);

} // namespace vorn
