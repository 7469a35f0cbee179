#pragma once
// Tells when another program changes the files a stage's pictures come from
// (a modder saving the tileset in a paint program). The folders are watched
// as well as the files: a paint program often writes a new file and renames
// it over the old one, which ends a watch on the file itself, and a picture
// missing at load may appear later.
#include "filestamp.h"
#include "gamefolder.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <vector>

namespace vorn {

class PictureWatcher : public QObject {
    Q_OBJECT
public:
    explicit PictureWatcher(QObject* parent = nullptr);

    struct File {
        QString builtName; // "data\stage\prtCave.pbm"
        QString found; // the entry it leads to now; empty when missing
    };
    // Watches these files of `folder` from now on, in place of those
    // watched before; what stays watched is not watched anew.
    void watch(const GameFolder& folder, const std::vector<File>& files);

signals:
    // The built names whose files changed, once writing has paused.
    void changed(const QStringList& builtNames);

private:
    void check();

    struct Watched {
        QString builtName;
        FileStamp stamp;
    };
    void watchOnly(const QStringList& paths);
    QString root_;
    std::vector<Watched> watched_;
    QFileSystemWatcher watcher_;
    QTimer settle_; // a writer may take several writes and a rename
};

} // namespace vorn
