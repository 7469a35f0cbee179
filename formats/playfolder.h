#pragma once
// Play-testing: the command that starts the game, and a copy of the game
// folder the game can run from without touching the user's files.
#include "outcome.h"

#include <QString>

namespace vorn {

// `text` as one word for /bin/sh: in single quotes, each quote inside
// written '\''.
QString ShellQuoted(const QString& text);

// The user's play command with {folder}, {exe} and {data} each replaced by
// the shell-quoted path. Placeholders are written bare ("wine {exe}"): the
// quoting is done here, so a path with blanks or quotes stays one word.
QString ExpandPlayCommand(const QString& command, const QString& folder, const QString& exe, const QString& data);

// $XDG_CACHE_HOME/vorn/play (~/.cache when unset or not absolute).
QString PlayCacheFolder();
// The play folder of game folder `gameRoot` in the cache: its name and a
// short hash of its full path, so that two games never share one.
QString PlayFolderFor(const QString& gameRoot);

struct MirrorCount {
    int copied = 0; // new or changed since the last copy
    int kept = 0; // unchanged, not copied again
    int removed = 0; // gone from the game folder, so from the copy too
};

// Makes `to` a copy of the game folder `from`, all but its "backup"
// folder: real copies (or copy-on-write clones), never links to the
// user's files. A file whose copy has its size and time is not copied
// again; each copy gets its original's time. Links in the game folder are
// copied as the file they lead to; links to folders are left out. Refused,
// naming the file and the system's reason, when one cannot be copied (a
// full disk).
Outcome MirrorGameFolder(const QString& from, const QString& to, MirrorCount* count = nullptr);

// Writes `bytes` as a new file at `path` in the play folder (whatever was
// there replaced, never written through). Not flushed to disk: the copy is
// made again whenever it is needed. Refused with the system's reason.
Outcome WritePlayFile(const QString& path, const QByteArray& bytes);

} // namespace vorn
