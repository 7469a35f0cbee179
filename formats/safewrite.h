#pragma once
#include "regularfile.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace vorn {

// Replaces the file `path` leads to with `head`, followed, when `tail` is
// given, by its bytes from `tailFrom` to its end (copied in blocks, so a
// file with a huge tail costs no memory). The new content goes to a
// temporary file ".<name>.vorn-<pid>-<n>" beside the target, is flushed to
// disk and renamed over the target, so a failure or a kill at any moment
// leaves the old file whole; temporary files left by a killed Vorn are
// removed first. A link that `rules` allow is written through: its target
// is replaced and the link kept. The mode bits are kept. A file without any
// write permission bit, or in a folder without one, is refused even for
// root: the user marked it read-only. A refusal names `displayName` and
// gives the system's words.
Outcome ReplaceFile(const QString& path, const QString& displayName, const FileRules& rules, const QByteArray& head,
                    ReadableFile* tail = nullptr, qint64 tailFrom = 0);

// Appends bytes to a file being written; false once a write has failed.
using ByteSink = std::function<bool(const char* data, qint64 size)>;

// ReplaceFile with content made piece by piece, so that a large file never
// needs to be held whole: `produce` writes it through the sink, or refuses
// for a reason of its own, which leaves the old file as it was and is
// returned.
Outcome ReplaceFileStreamed(const QString& path, const QString& displayName, const FileRules& rules,
                            const std::function<Outcome(const ByteSink& write)>& produce);

// ReplaceFile with `bytes` as the whole content, the file leading anywhere.
Outcome WriteFileAtomically(const QString& path, const QString& displayName, const QByteArray& bytes);

// Reads a whole regular file, refusing one above `maxBytes` (when not
// negative; `what` names the kind in the message). A missing file is
// refused here.
Outcome ReadWholeFile(const QString& path, const QString& displayName, QByteArray& out, const FileRules& rules = {},
                      qint64 maxBytes = -1, const QString& what = {});

// Writes all `size` bytes to `fd`, at `offset` when it is not negative,
// else where the descriptor stands, going on after a short write or a
// signal. False, with the errno in `error`, when it cannot; `written` then
// tells how many bytes went out before.
bool WriteAll(int fd, const char* data, qint64 size, int& error, qint64 offset = -1, qint64* written = nullptr);

// At the file-size limit the system sends SIGXFSZ, which would end the
// program in the middle of a write; ignored, the write fails with EFBIG.
// Every writer calls it first.
void IgnoreFileSizeSignal();

// True when the file exists and carries no write permission bit.
bool IsMarkedReadOnly(const QString& path);

// The temporary files a killed Vorn left beside `target` (hidden, named
// after it), for the tests and the clean-up.
QStringList LeftoverTemporaries(const QString& target);

} // namespace vorn
