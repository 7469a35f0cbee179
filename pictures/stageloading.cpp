#include "stageloading.h"

namespace vorn {

// Entries are found whatever their kind, so that a pipe or a folder in a
// game file's place is refused by name rather than taken for a missing
// file; and no file is ever opened unless it is a regular one.

namespace {

// The entry a built name leads to, also handed to the caller who asks.
QString Find(const GameFolder& game, const QString& builtName, QString* found)
{
    QString path = game.findEntry(builtName);
    if (found)
        *found = path;
    return path;
}

} // namespace

Picture LoadStageTileset(const GameFolder& game, const StageFiles& files, QString* found)
{
    const QSize maxTileset(kMaxTilesetSide, kMaxTilesetSide);
    return LoadPicture(Find(game, files.tileset, found), files.tileset, QStringLiteral("a tileset"), maxTileset,
                       game.rules());
}

ReadStatus LoadStageMap(const GameFolder& game, const StageFiles& files, MapData& map, QString* found)
{
    const QString path = Find(game, files.map, found);
    if (path.isEmpty()) {
        map = MapData(); // a missing file is a 0 x 0 map
        return ReadStatus::Missing();
    }
    return ReadMapFile(path, files.map, map, game.rules());
}

Picture LoadStageBackdrop(const GameFolder& game, const StageFiles& files, int mapWidth, int mapHeight, QString* found)
{
    return LoadPicture(Find(game, files.backdrop, found), files.backdrop, QStringLiteral("a backdrop of this stage"),
                       MaxBackdropSize(mapWidth, mapHeight), game.rules());
}

ReadStatus LoadStageEntities(const GameFolder& game, const StageFiles& files, qint16& count, EntityRecords& records,
                             QString* found)
{
    const QString path = Find(game, files.entities, found);
    if (path.isEmpty()) {
        count = 0; // a missing file is no entities
        return ReadStatus::Missing();
    }
    return ReadEntityFile(path, files.entities, count, records, game.rules());
}

Outcome LoadStage(const GameFolder& game, int stage, const StageRecord& record, LoadedStage& out,
                  const std::function<void(const QString& text)>& status)
{
    const auto show = [&status](const QString& text) {
        if (status)
            status(text);
    };
    if (const Outcome named = StageFilesOf(stage, record, out.files, game.pictureExtension()); !named.ok())
        return named;
    const StageFiles& files = out.files;

    show(QStringLiteral("Loading tileset ") + files.tilesetName + QStringLiteral("..."));
    out.tileset = LoadStageTileset(game, files, &out.found.tileset);
    if (!out.tileset.outcome.ok())
        return out.tileset.outcome;

    show(QStringLiteral("Loading stage ") + files.mapName + QStringLiteral("..."));
    if (const ReadStatus read = LoadStageMap(game, files, out.map, &out.found.map); !read.ok())
        return read;
    out.backdrop = LoadStageBackdrop(game, files, out.map.width, out.map.height, &out.found.backdrop);
    if (!out.backdrop.outcome.ok())
        return out.backdrop.outcome;

    show(QStringLiteral("Loading object data ") + files.mapName + QStringLiteral("..."));
    qint16 count = 0;
    if (const ReadStatus read = LoadStageEntities(game, files, count, out.records, &out.found.entities); !read.ok())
        return read;
    out.entityCount = count;
    return {};
}

QImage StandInTileset()
{
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

QString UseStandInPictures(LoadedStage& stage)
{
    // Pictures that failed do not stop the stage: it opens with stand-ins so
    // the record can be put right in the stage properties.
    QString unreadable;
    if (stage.tileset.image.isNull()) {
        unreadable += stage.files.tileset + QStringLiteral("\r\n");
        stage.tileset.image = StandInTileset();
    }
    if (stage.backdrop.image.isNull())
        unreadable += stage.files.backdrop + QStringLiteral("\r\n"); // white, drawn as such
    if (unreadable.isEmpty())
        return {};
    return QStringLiteral("Can't read these pictures; the stage opens with a black tileset "
                          "or a white backdrop in their place:\r\n\r\n") +
           unreadable;
}

} // namespace vorn
