#pragma once
#include <QByteArray>
#include <QString>

namespace vorn {

// Replaces the file at `path` with `bytes` through a temporary file in the
// same folder, so a failure leaves the old file whole. A file without any
// write permission is refused even for root: the user marked it read-only.
// Returns an empty text on success, else the reason, naming `displayName`.
QString WriteFileAtomically(const QString& path, const QString& displayName,
                            const QByteArray& bytes);

// Reads a whole file. Returns an empty text on success, else the reason.
QString ReadWholeFile(const QString& path, const QString& displayName, QByteArray& out);

// True when the file exists and carries no write permission bit.
bool IsMarkedReadOnly(const QString& path);

} // namespace vorn
