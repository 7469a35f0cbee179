#include "picturewatcher.h"

#include <QFileInfo>

namespace vorn {

namespace {

constexpr int kSettleMs = 250;

} // namespace

PictureWatcher::PictureWatcher(QObject* parent)
    : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &PictureWatcher::check);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
}

void PictureWatcher::watch(const GameFolder& folder, const std::vector<File>& files)
{
    settle_.stop();
    root_ = folder.root();
    watched_.clear();
    QStringList paths;
    for (const File& file : files) {
        watched_.push_back({file.builtName, StampOf(file.found)});
        // A missing file is watched through the folder it would be in.
        const QString path = file.found.isEmpty() ? folder.pathForWrite(file.builtName) : file.found;
        if (path.isEmpty())
            continue;
        if (!file.found.isEmpty())
            paths << path;
        paths << QFileInfo(path).absolutePath();
    }
    watchOnly(paths);
}

// Changing what the system watches costs more than a stage's load itself,
// and one stage's pictures mostly lie in the folders of the stage before.
void PictureWatcher::watchOnly(const QStringList& paths)
{
    QStringList watched = watcher_.files() + watcher_.directories();
    QStringList gone;
    for (const QString& path : watched)
        if (!paths.contains(path))
            gone << path;
    if (!gone.isEmpty())
        watcher_.removePaths(gone);
    for (const QString& path : paths)
        if (!watched.contains(path)) {
            watcher_.addPath(path);
            watched << path;
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
