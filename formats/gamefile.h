#pragma once
// What map and entity files share: an 8-byte header of which the editor
// reads bytes 4 to 7, a file that may be absent, and rewrites that keep
// every byte the editor does not own.
#include "mapfile.h" // ReadStatus

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

namespace vorn {

constexpr int kGameFileHeaderSize = 8;

// Opens the file and reads its header. False when the caller is done: the
// file is absent (status.missing) or was rejected (status.error).
bool OpenGameFile(const QString& path, const QString& displayName, QFile& file,
                  QByteArray& header, ReadStatus& status);

// The old content, with the game's own first four bytes when there are
// fewer (the game rejects a file without them), grown with zeros to
// `needed` bytes; never shortened.
QByteArray WithRoomFor(const QByteArray& old, const QByteArray& magic, qsizetype needed);

// Rewrites the file atomically with `compose(old content)`; a file that does
// not exist yet has empty old content.
QString RewriteGameFile(const QString& path, const QString& displayName,
                        const std::function<QByteArray(const QByteArray& old)>& compose);

} // namespace vorn
