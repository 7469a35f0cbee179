#include "playplace.h"

#include "mapfile.h"
#include "stagefiles.h"

#include <QDir>

namespace vorn {

Outcome CheckPlayPlace(const Game& game, const ProfilePlace& place)
{
    if (!game.hasStage(place.stage))
        return QStringLiteral("The game has no stage %1.").arg(place.stage);
    StageFiles files;
    if (const Outcome named =
            StageFilesOf(place.stage, game.table[size_t(place.stage)], files, game.folder.pictureExtension());
        !named.ok())
        return named;
    const QString path = game.folder.findEntry(files.map);
    if (path.isEmpty())
        return QStringLiteral("Stage %1's map %2 is missing.").arg(place.stage).arg(files.map);
    MapData map;
    if (const ReadStatus read = ReadMapFile(path, files.map, map, game.folder.rules()); !read.ok())
        return Outcome(read.refusal());
    if (place.x < 0 || place.y < 0 || place.x >= map.width || place.y >= map.height)
        return QStringLiteral("The cell (%1, %2) lies outside stage %3's map of %4 x %5 cells.")
            .arg(place.x)
            .arg(place.y)
            .arg(place.stage)
            .arg(map.width)
            .arg(map.height);
    return {};
}

PlayPaths PlayPathsIn(const QString& root)
{
    const GameFolder folder(root);
    PlayPaths paths{root, folder.findEntry(QStringLiteral("Doukutsu.exe")), folder.findEntry(QStringLiteral("data"))};
    if (paths.exe.isEmpty())
        paths.exe = root + QStringLiteral("/Doukutsu.exe");
    if (paths.data.isEmpty())
        paths.data = root + QStringLiteral("/data");
    return paths;
}

Outcome PreparePlayFolder(const Game& game, const ProfilePlace& place, const std::vector<PlayOverlay>& overlays,
                          QString& playRoot, MirrorCount* count)
{
    // The save is composed first: a refused one leaves nothing half made.
    QByteArray profile;
    if (const Outcome composed = ComposeProfile(game.folder, place, profile); !composed.ok())
        return composed;
    const QString root = PlayFolderFor(game.folder.root());
    if (const Outcome mirrored = MirrorGameFolder(game.folder.root(), root, count); !mirrored.ok())
        return mirrored;
    const GameFolder copy(root);
    for (const PlayOverlay& overlay : overlays) {
        const QString path = copy.pathForWrite(overlay.builtName);
        if (path.isEmpty())
            return QStringLiteral("Cannot write %1 into the play folder %2: its folder is missing.")
                .arg(overlay.builtName, QDir::toNativeSeparators(root));
        if (const Outcome written = WritePlayFile(path, overlay.bytes); !written.ok())
            return written;
    }
    const QString profilePath = copy.pathForWrite(kProfileName);
    if (const Outcome written = WritePlayFile(profilePath, profile); !written.ok())
        return written;
    playRoot = root;
    return {};
}

} // namespace vorn
