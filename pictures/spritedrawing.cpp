#include "spritedrawing.h"

#include "picture.h"

#include <algorithm>
#include <vector>

namespace vorn {

namespace {

QImage LoadSheet(const GameFolder& game, const QString& builtName, QStringList& problems)
{
    if (builtName.isEmpty())
        return {};
    const QString path = game.findEntry(builtName);
    if (path.isEmpty()) {
        problems << QStringLiteral("%1 is missing.").arg(builtName);
        return {};
    }
    const Picture picture = LoadPicture(path, builtName, QStringLiteral("a sprite sheet"),
                                        QSize(kMaxTilesetSide, kMaxTilesetSide), game.rules());
    if (!picture.outcome.ok())
        problems << picture.outcome.refusal();
    else if (picture.image.isNull())
        problems << QStringLiteral("%1 cannot be read as a picture.").arg(builtName);
    return picture.outcome.ok() ? picture.image : QImage();
}

// The map pixel at `zoomed` (pixels at the zoom) in map pixels at 16 a cell,
// exactly as the map's own drawing picks its source pixels.
int Source(int zoomed, int zoom) { return zoomed * 16 / zoom; }

// The first zoomed pixel whose source pixel is at least `source`.
int FirstZoomed(int source, int zoom) { return (source * zoom + 15) / 16; }

} // namespace

SpriteSheets LoadSpriteSheets(const GameFolder& game, const StageFiles& files, const QImage& tileset)
{
    SpriteSheets sheets;
    sheets.byNumber[kSheetTileset] = tileset;
    for (const int sheet : {int(kSheetNpcSym), int(kSheetNpcRegu), int(kSheetMyChar), int(kSheetCaret),
                            int(kSheetItemImage), int(kSheetStageNpc1), int(kSheetStageNpc2)}) {
        const QString name = SheetFileOf(sheet, files);
        // A record's sheet names come from the game's table: only plain names
        // may lead to a file.
        const QString own = sheet == kSheetStageNpc1   ? files.npcSheet1Name
                            : sheet == kSheetStageNpc2 ? files.npcSheet2Name
                                                       : QString();
        if (!own.isEmpty() && !IsPlainFileName(own)) {
            sheets.problems << QStringLiteral("The NPC sheet name \"%1\" is not a plain file name.").arg(own);
            continue;
        }
        QImage image = LoadSheet(game, name, sheets.problems);
        if (!image.isNull())
            sheets.byNumber[sheet] = std::move(image);
    }
    return sheets;
}

std::optional<PlacedSprite> PlaceSprite(const EntityRecord& record, const SpriteSheets& sheets, const NpcTable& table,
                                        SpriteMoment moment)
{
    const bool facingRight = (quint16(record.Unknown) & kFacesRightBit) != 0;
    const std::optional<EntitySprite> sprite =
        moment == SpriteMoment::FirstFrame ? FirstFrameSpriteOf(record.Type, facingRight, quint16(record.TSC), table)
                                           : SpriteOf(record.Type, facingRight, table);
    if (!sprite)
        return std::nullopt;
    const auto found = sheets.byNumber.find(sprite->sheet);
    if (found == sheets.byNumber.end() || found->second.isNull())
        return std::nullopt;
    const QImage& sheet = found->second;
    const QRect frame(sprite->frame.left, sprite->frame.top, sprite->frame.width(), sprite->frame.height());
    const QRect inside = frame & sheet.rect();
    if (inside.isEmpty())
        return std::nullopt;
    // A frame that reaches past the sheet's edge keeps its place: only the
    // part the sheet holds is drawn.
    const QPoint cell(record.X * 16, record.Y * 16);
    return PlacedSprite{&sheet, inside,
                        cell + QPoint(sprite->offsetX, sprite->offsetY) + (inside.topLeft() - frame.topLeft())};
}

void DrawSprites(QImage& target, const QRect& area, int zoom, const QSize& mapSize, int count,
                 const EntityRecords& records, const SpriteSheets& sheets, const NpcTable& table,
                 const MapScene* gameOrder)
{
    const int z = zoom > 0 ? zoom : 16;
    const QRect visible = area & QRect(QPoint(0, 0), mapSize);
    if (visible.isEmpty())
        return;
    const int placed = std::clamp(count, 0, int(records.size()));
    uchar* const bits = target.bits(); // scanLine() per row would check for sharing each time
    const qsizetype stride = target.bytesPerLine();
    const SpriteMoment moment = gameOrder ? SpriteMoment::FirstFrame : SpriteMoment::AtRest;
    const TileLooks* looks = gameOrder ? gameOrder->looks : nullptr;
    std::vector<int> columns; // the sheet column of each drawn column, worked out once a sprite
    std::vector<int> mapColumns; // and the map's
    for (int i = 0; i < placed; ++i) {
        const std::optional<PlacedSprite> sprite = PlaceSprite(records[size_t(i)], sheets, table, moment);
        if (!sprite)
            continue;
        const QPoint at = sprite->topLeft;
        const QRect& frame = sprite->frame;
        // The zoomed pixels whose source pixels fall inside the frame.
        const QRect zoomed(
            QPoint(FirstZoomed(at.x(), z), FirstZoomed(at.y(), z)),
            QPoint(FirstZoomed(at.x() + frame.width(), z) - 1, FirstZoomed(at.y() + frame.height(), z) - 1));
        const QRect drawn = zoomed & visible;
        if (drawn.isEmpty())
            continue;
        columns.resize(size_t(drawn.width()));
        mapColumns.resize(size_t(drawn.width()));
        for (int ox = drawn.left(); ox <= drawn.right(); ++ox) {
            columns[size_t(ox - drawn.left())] = frame.left() + Source(ox, z) - at.x();
            mapColumns[size_t(ox - drawn.left())] = Source(ox, z);
        }
        for (int oy = drawn.top(); oy <= drawn.bottom(); ++oy) {
            const int sy = frame.top() + Source(oy, z) - at.y();
            const QRgb* from = reinterpret_cast<const QRgb*>(sprite->sheet->constScanLine(sy));
            QRgb* to = reinterpret_cast<QRgb*>(bits + (oy - area.top()) * stride) + (drawn.left() - area.left());
            if (looks) {
                // Tiles in front of the entities, the star and the dots keep
                // what the map drew there.
                const int my = Source(oy, z);
                const quint8* cells = gameOrder->grid->row(my >> 4);
                const quint16* inFront = looks->inFront.data() + (my & 15);
                for (size_t x = 0; x < columns.size(); ++x) {
                    const int mx = mapColumns[x];
                    const QRgb pixel = from[columns[x]];
                    if ((pixel & 0x00FFFFFFu) != 0 && !((inFront[cells[mx >> 4] * 16] >> (mx & 15)) & 1))
                        to[x] = pixel;
                }
                continue;
            }
            for (size_t x = 0; x < columns.size(); ++x) {
                const QRgb pixel = from[columns[x]];
                if ((pixel & 0x00FFFFFFu) != 0) // black is transparent
                    to[x] = pixel;
            }
        }
    }
}

QImage TypeSpriteImage(int type, const SpriteSheets& sheets, const NpcTable& table)
{
    const std::optional<EntitySprite> sprite = SpriteOf(type, false, table);
    if (!sprite)
        return {};
    const auto found = sheets.byNumber.find(sprite->sheet);
    if (found == sheets.byNumber.end() || found->second.isNull())
        return {};
    const QRect frame(sprite->frame.left, sprite->frame.top, sprite->frame.width(), sprite->frame.height());
    if ((frame & found->second.rect()).isEmpty())
        return {};
    // Black is transparent in every sheet.
    QImage image = found->second.copy(frame).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == 0)
                line[x] = 0;
    }
    return image;
}

TileLooks GameTileLooks(const MapScene& scene, const TileTypes& types, const SpriteSheets& sheets)
{
    const auto sheet = [&sheets](int number) -> const QImage* {
        const auto found = sheets.byNumber.find(number);
        return found == sheets.byNumber.end() ? nullptr : &found->second;
    };
    return GameTileLooks(scene, types, sheet(kSheetNpcSym), sheet(kSheetCaret));
}

} // namespace vorn
