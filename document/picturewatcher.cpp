#include "picturewatcher.h"

#include <QFileInfo>

namespace vorn {

namespace {

constexpr int kSettleMs = 250;

// The entry a built name leads to, or where it would be: the folder part
// of it is what can be watched when the file is missing.
QString WatchedPath(const GameFolder& folder, const QString& builtName)
{
    const QString found = folder.findEntry(builtName);
    return found.isEmpty() ? folder.pathForWrite(builtName) : found;
}

} // namespace

PictureWatcher::PictureWatcher(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &PictureWatcher::check);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
}

void PictureWatcher::stop()
{
    settle_.stop();
    watched_.clear();
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
}

void PictureWatcher::watch(const GameFolder& folder, const QStringList& builtNames)
{
    stop();
    root_ = folder.root();
    for (const QString& name : builtNames) {
        const QString path = WatchedPath(folder, name);
        watched_.push_back({name, StampOf(folder.findEntry(name))});
        if (path.isEmpty())
            continue;
        if (QFileInfo::exists(path))
            watcher_.addPath(path);
        const QString dir = QFileInfo(path).absolutePath();
        if (!watcher_.directories().contains(dir))
            watcher_.addPath(dir);
    }
}

void PictureWatcher::check()
{
    const GameFolder folder(root_);
    QStringList names;
    for (Watched& w : watched_) {
        const QString found = folder.findEntry(w.builtName);
        const FileStamp now = StampOf(found);
        // A file replaced by a rename is no longer watched; watch the new one.
        if (!found.isEmpty() && !watcher_.files().contains(found))
            watcher_.addPath(found);
        if (now == w.stamp)
            continue;
        w.stamp = now;
        names << w.builtName;
    }
    if (!names.isEmpty())
        emit changed(names);
}

} // namespace vorn
