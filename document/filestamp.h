#pragma once
// What a file was at one moment, told from its metadata alone: a file
// replaced, rewritten or touched since then has another stamp.
#include <QString>

namespace vorn {

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch
    quint64 device = 0;
    quint64 inode = 0; // a file renamed over the old one is another inode
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file `path` leads to, links followed; an empty path or
// nothing there is a file that does not exist.
FileStamp StampOf(const QString& path);

} // namespace vorn
