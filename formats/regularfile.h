#pragma once
// Game folders come from mod archives and other tools, so a name may stand
// for a named pipe, a device, a folder or a link that leads anywhere. Only
// regular files are ever opened; everything else is refused with a message
// before anything could block or read without end.
#include "outcome.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vorn {

// Reading a game file that may be absent: done, refused, or done with
// nothing read because the file is absent (no refusal, nothing created).
struct [[nodiscard]] ReadStatus : Outcome {
    ReadStatus() = default;
    ReadStatus(const Outcome& outcome)
        : Outcome(outcome)
    {
    }
    ReadStatus(QString refusal)
        : Outcome(std::move(refusal))
    {
    }
    static ReadStatus Missing()
    {
        ReadStatus status;
        status.missing = true;
        return status;
    }

    bool missing = false;
};

// Where a file may lead. A game file must resolve, links and linked folders
// followed, to a place inside the game folder; the settings file is the
// user's own and may lead anywhere.
struct FileRules {
    QString confineTo; // a folder; empty: anywhere
};

// What a path turned out to be before anything opened it: refused, or
// `missing` when nothing is there (and no link either).
struct [[nodiscard]] PathCheck : ReadStatus {
    using ReadStatus::ReadStatus;
    QString target; // the regular file it leads to, links resolved; for a
                    // missing file, where one would be created
};

// Checks `path` without opening it. A dangling link, a link to anything but
// a regular file, a folder, pipe, device or socket, and a file outside
// `rules.confineTo` are refused, naming `displayName`.
PathCheck CheckPath(const QString& path, const QString& displayName, const FileRules& rules);

// A regular file open for reading. The descriptor is opened without
// blocking and checked again after the open, so a pipe swapped in after the
// check cannot hang the program.
class ReadableFile {
public:
    // Opens the file `path` leads to; a missing one sets `missing`. A file
    // larger than `maxBytes` (when not negative) is refused, naming `what`
    // ("a script") in the message.
    ReadStatus open(const QString& path, const QString& displayName, const FileRules& rules, qint64 maxBytes = -1,
                    const QString& what = {});
    bool isOpen() const { return file_.isOpen(); }
    qint64 size() const { return size_; }
    QFile& device() { return file_; }
    int descriptor() const { return file_.handle(); }
    // Reads up to `count` bytes from the current position; refused, with
    // the system's reason, on a read error.
    Outcome read(qint64 count, QByteArray& out);

private:
    QFile file_;
    qint64 size_ = 0;
    QString displayName_;
};

// Opens the regular file `path` leads to for reading and writing in place
// (the game executable), with the same checks, its descriptor in `fd`
// (-1 when refused).
Outcome OpenRegularForUpdate(const QString& path, const QString& displayName, int& fd);

// The system's words for errno `code`, as in "No space left on device".
QString SystemReason(int code);

// "data\stage" for "data\stage\Cave.pxm"; the folder part of a path given
// with "/" likewise.
QString DisplayFolderOf(const QString& displayName);

} // namespace vorn
