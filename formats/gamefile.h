#pragma once
// What map and entity files share: an 8-byte header of which the editor
// reads bytes 4 to 7, a file that may be absent, and rewrites that keep
// every byte the editor does not own.
#include "regularfile.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace vorn {

constexpr int kGameFileHeaderSize = 8;

// Reads the header from `device` (positioned at the start). Refused,
// naming `displayName`, when the file is too short.
Outcome ReadGameFileHeader(QIODevice& device, const QString& displayName, QByteArray& header);

// Opens the regular file `path` leads to and hands it to `read`. A missing
// file sets `missing` and reads nothing.
ReadStatus ReadGameFile(const QString& path, const QString& displayName, const FileRules& rules,
                        const std::function<Outcome(QIODevice&)>& read);

// The old content, with the game's own first four bytes when there are
// fewer (the game rejects a file without them), grown with zeros to
// `needed` bytes; never shortened.
QByteArray WithRoomFor(const QByteArray& old, const QByteArray& magic, qsizetype needed);

// Rewrites the file atomically: its first `owned` bytes (fewer when the file
// is shorter; none when it does not exist) go through `compose`, and every
// byte after them is copied over unchanged, however many there are.
Outcome RewriteGameFile(const QString& path, const QString& displayName, const FileRules& rules, qsizetype owned,
                        const std::function<QByteArray(const QByteArray& oldHead)>& compose);

} // namespace vorn
