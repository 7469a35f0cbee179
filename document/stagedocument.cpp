#include "stagedocument.h"

#include "picturewatcher.h"

#include <QBuffer>
#include <algorithm>
#include <cstring>

namespace vorn {

namespace {

const QString kMapSaveFailed = QStringLiteral("Nothing of the stage was saved.");
const QString kEntitySaveFailed = QStringLiteral("The map was saved; the entities were not.");
const QString kTileTypeSaveFailed = QStringLiteral("The map and the entities were saved; the tile types were not.");

quint32 CellIndex(int x, int y) { return quint32(y * kGridSide + x); }

int Cells(qint16 count) { return std::clamp<int>(count, 0, kGridSide); }

bool SameEntities(qint16 countA, const EntityRecords& a, qint16 countB, const EntityRecords& b)
{
    if (countA != countB)
        return false;
    const int used = std::clamp<int>(countA, 0, kMaxEntities);
    return std::equal(a.begin(), a.begin() + used, b.begin());
}

// Where a brush repeated from `origin` lands on `at`, negative steps included.
int Wrap(int at, int origin, int side) { return ((at - origin) % side + side) % side; }

void NoteCell(StrokeCells& cells, quint32 at, quint8 before, quint8 after)
{
    if (before == after)
        return;
    cells.cell.push_back(at);
    cells.before.push_back(before);
    cells.after.push_back(after);
}

// A game file's bytes in memory, read as its reader reads the file.
template <typename Read> Outcome ReadBytes(const QByteArray& bytes, Read read)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer);
}

Outcome ParseMap(const QByteArray& bytes, MapData& map)
{
    return ReadBytes(bytes, [&](QIODevice& d) { return ReadMap(d, QStringLiteral("The recovered map"), map); });
}

Outcome ParseEntities(const QByteArray& bytes, qint16& count, EntityRecords& records)
{
    return ReadBytes(
        bytes, [&](QIODevice& d) { return ReadEntities(d, QStringLiteral("The recovered entities"), count, records); });
}

// Why a picture read again is stood in for; empty when it loaded.
QString PictureProblem(const Picture& picture, const GameFolder& folder, const QString& builtName,
                       const QString& standIn)
{
    if (!picture.image.isNull())
        return {};
    QString reason = picture.outcome.refusal();
    if (reason.isEmpty()) {
        reason = folder.findEntry(builtName).isEmpty() ? builtName + QStringLiteral(" is missing.")
                                                       : builtName + QStringLiteral(" cannot be read as a picture.");
    }
    return reason + QStringLiteral(" The map shows ") + standIn + QStringLiteral(" in its place.");
}

// Every cell whose tile differs between `before` and `after`, as one step.
StrokeCells CellsChanged(const TileGrid& before, const TileGrid& after)
{
    StrokeCells cells;
    for (int y = 0; y < kGridSide; ++y) {
        for (int x = 0; x < kGridSide; ++x) {
            if (before.at(x, y) != after.at(x, y)) {
                cells.cell.push_back(CellIndex(x, y));
                cells.before.push_back(before.at(x, y));
                cells.after.push_back(after.at(x, y));
            }
        }
    }
    return cells;
}

} // namespace

// Only the cells within the size are a map file's: a small map costs a
// small copy.
StageDocument::MapCells StageDocument::CellsOf(const MapData& map)
{
    MapCells out{map.width, map.height, {}};
    const int w = Cells(map.width), h = Cells(map.height);
    out.cells.resize(qsizetype(w) * h);
    char* to = out.cells.data();
    for (int y = 0; y < h; ++y, to += w)
        std::memcpy(to, map.grid.row(y), size_t(w));
    return out;
}

bool StageDocument::SameMap(const MapData& map, const MapCells& cells)
{
    return map.width == cells.width && map.height == cells.height && CellsOf(map).cells == cells.cells;
}

StageDocument::StageDocument(QObject* parent)
    : QObject(parent)
{
}

StageDocument::~StageDocument() = default;

// ---- loading --------------------------------------------------------------

Outcome StageDocument::read(const Game& game, int stage, Reading& out, const StatusText& status) const
{
    if (!game.hasStage(stage))
        return QStringLiteral("There is no stage %1 in the stage table.").arg(stage);
    out.stage = stage;
    out.root = game.folder.root();
    out.loaded.records = records_; // records beyond the new count stay as they lie
    if (Outcome refused = LoadStage(game.folder, stage, game.table[stage], out.loaded, status); !refused.ok())
        return refused;
    // Stamped from the entries just read, so no second lookup slows the
    // load; a change in the moment between shows as the stamp of the new
    // file and goes unnoticed at Save, a window of microseconds.
    out.mapStamp = StampOf(out.loaded.found.map);
    out.entityStamp = StampOf(out.loaded.found.entities);
    out.pictureWarning = UseStandInPictures(out.loaded);
    out.looks = ReadStageLooks(game.folder, out.loaded.files, out.loaded.tileset.image);
    return {};
}

// The type table, sheets and tile types only change how the stage looks:
// whatever of them fails to load, the stage still opens.
StageLooks ReadStageLooks(const GameFolder& folder, const StageFiles& files, const QImage& tileset)
{
    StageLooks out;
    QStringList notes;
    const ReadStatus table = ReadNpcTable(folder, out.npcTable);
    const QString shipped = QStringLiteral("sprites are placed as the game ships.");
    if (!table.ok())
        notes << table.refusal() + QLatin1Char(' ') + shipped.left(1).toUpper() + shipped.mid(1);
    else if (table.missing)
        notes << NpcTableName() + QStringLiteral(" is missing: ") + shipped;
    else if (out.npcTable.size() < size_t(kShippedEntityTypes))
        notes << QStringLiteral("%1 holds only %2 entity types: from type %2 on, %3")
                     .arg(NpcTableName())
                     .arg(out.npcTable.size())
                     .arg(shipped);
    out.sheets = LoadSpriteSheets(folder, files, tileset);
    notes += out.sheets.problems;
    if (!out.sheets.problems.isEmpty())
        notes << QStringLiteral("Entities on those sheets show their marker.");
    out.spriteNote = notes.join(u' ');

    const QString path = folder.findEntry(files.tileTypes);
    if (!path.isEmpty()) {
        const ReadStatus read = ReadTileTypeFile(path, files.tileTypes, out.tileTypes, folder.rules());
        if (!read.ok())
            out.tileTypeNote = read.refusal() + QStringLiteral(" Tile types show as 0.");
        out.tileTypeStamp = StampOf(path);
    }
    return out;
}

void StageDocument::open(Reading&& reading)
{
    stroke_.reset();
    drag_.reset();
    index_ = reading.stage;
    root_ = std::move(reading.root);
    files_ = std::move(reading.loaded.files);
    tileset_ = std::move(reading.loaded.tileset.image);
    mask_ = CreateMaskImage(tileset_, qRgb(0, 0, 0));
    backdrop_ = std::move(reading.loaded.backdrop.image);
    map_ = std::move(reading.loaded.map);
    entityCount_ = reading.loaded.entityCount;
    records_ = reading.loaded.records;
    npcTable_ = std::move(reading.looks.npcTable);
    sheets_ = std::move(reading.looks.sheets);
    spriteNote_ = std::move(reading.looks.spriteNote);
    tileTypes_ = reading.looks.tileTypes.types;
    tileTypeNote_ = std::move(reading.looks.tileTypeNote);

    mapStamp_ = reading.mapStamp;
    entityStamp_ = reading.entityStamp;
    mapOnDisk_ = CellsOf(map_);
    entityCountOnDisk_ = entityCount_;
    recordsOnDisk_ = records_;
    tileTypesOnDisk_ = tileTypes_;
    tileTypeStamp_ = reading.looks.tileTypeStamp;

    history_.Clear();
    changedOutsideHistory_ = false;
    ++revision_;
    pictures_ = {{files_.tileset, reading.loaded.found.tileset}, {files_.backdrop, reading.loaded.found.backdrop}};
    if (pictureWatcher_)
        pictureWatcher_->watch(GameFolder(root_), pictures_);
    emit opened();
    updateModified();
}

Outcome StageDocument::load(const Game& game, int stage, const StatusText& status)
{
    Reading reading;
    if (Outcome refused = read(game, stage, reading, status); !refused.ok())
        return refused;
    open(std::move(reading));
    return {};
}

// ---- saving ---------------------------------------------------------------

bool StageDocument::sameOnDisk(const Game& game, const QString& builtName, const FileStamp& stamp,
                               const std::function<bool(const QString& path)>& sameContent) const
{
    const QString path = game.folder.findEntry(builtName);
    const FileStamp now = StampOf(path);
    if (!now.exists || now == stamp)
        return true;
    if (!stamp.exists)
        return false; // made by another program since
    // Touched or rewritten: only the bytes a save replaces count. A file
    // that no longer reads is not what was loaded either.
    return sameContent(path);
}

QStringList StageDocument::changedOnDisk(const Game& game) const
{
    QStringList changed;
    if (!isOpen() || !IsPlainFileName(files_.mapName))
        return changed;
    const FileRules rules = game.folder.rules();
    if (!sameOnDisk(game, files_.map, mapStamp_, [&](const QString& path) {
            MapData disk;
            return ReadMapFile(path, files_.map, disk, rules).ok() && SameMap(disk, mapOnDisk_);
        }))
        changed << files_.map;
    if (!sameOnDisk(game, files_.entities, entityStamp_, [&](const QString& path) {
            qint16 count = 0;
            EntityRecords records{};
            return ReadEntityFile(path, files_.entities, count, records, rules).ok() &&
                   SameEntities(count, records, entityCountOnDisk_, recordsOnDisk_);
        }))
        changed << files_.entities;
    // The tile type file is only written when a type was changed.
    if (hasUnsavedTileTypes() && !sameOnDisk(game, files_.tileTypes, tileTypeStamp_, [&](const QString& path) {
            TileTypeFile disk;
            return ReadTileTypeFile(path, files_.tileTypes, disk, rules).ok() && disk.types == tileTypesOnDisk_;
        }))
        changed << files_.tileTypes;
    return changed;
}

Outcome StageDocument::save(const Game& game, const StatusText& status)
{
    if (!isOpen())
        return {}; // nothing is open, so there is nothing to write
    finishEdit();
    const quint64 revision = revision_;
    const QString& name = files_.mapName;
    const auto show = [&status](const QString& text) {
        if (status)
            status(text);
    };
    // Where the built name lands in the game folder; refused when it can't.
    const auto target = [&](const QString& builtName, QString& path) -> Outcome {
        if (!IsPlainFileName(name))
            return PlainNameError(index_, QStringLiteral("map"), name);
        if (const QString hidden = HiddenMapNameError(index_, name, builtName); !hidden.isEmpty())
            return hidden;
        path = game.folder.pathForWrite(builtName);
        if (path.isEmpty())
            return builtName + QStringLiteral(" could not be written: its folder is missing.");
        return {};
    };

    // The first file that cannot be written stops the save, so a failed map
    // never leaves a fresh entity file beside the old map.
    show(QStringLiteral("Saving stage ") + name + QStringLiteral("..."));
    QString path;
    Outcome written = target(files_.map, path);
    if (written.ok())
        written = WriteMapFile(path, files_.map, map_, game.folder.rules());
    if (!written.ok())
        return written.refusal() + QStringLiteral("\n\n") + kMapSaveFailed;
    mapOnDisk_ = CellsOf(map_);
    mapStamp_ = StampOf(path);

    show(QStringLiteral("Saving object data ") + name + QStringLiteral("..."));
    written = target(files_.entities, path);
    if (written.ok())
        written = WriteEntityFile(path, files_.entities, entityCount_, records_, game.folder.rules());
    if (!written.ok())
        return written.refusal() + QStringLiteral("\n\n") + kEntitySaveFailed;
    entityCountOnDisk_ = entityCount_;
    recordsOnDisk_ = records_;
    entityStamp_ = StampOf(path);

    if (hasUnsavedTileTypes()) {
        show(QStringLiteral("Saving tile types ") + files_.tilesetName + QStringLiteral(".pxa..."));
        path = game.folder.pathForWrite(files_.tileTypes);
        written = path.isEmpty()
                      ? Outcome(files_.tileTypes + QStringLiteral(" could not be written: its folder is missing."))
                      : WriteTileTypeFile(path, files_.tileTypes, tileTypes_, game.folder.rules());
        if (!written.ok())
            return written.refusal() + QStringLiteral("\n\n") + kTileTypeSaveFailed;
        tileTypesOnDisk_ = tileTypes_;
        tileTypeStamp_ = StampOf(path);
    }

    // An edit made while the files were written (the status texts let
    // events run) may be in one file and not the other: then no step of the
    // history is what is on disk.
    if (revision_ == revision && !stroke_ && !drag_) {
        history_.MarkSaved();
        changedOutsideHistory_ = false;
    } else {
        history_.MarkSavedUnreachable();
    }
    updateModified();
    return {};
}

QByteArray StageDocument::mapFileBytes() const { return ComposeMapFile({}, map_); }

QByteArray StageDocument::unsavedTileTypeBytes() const
{
    if (!hasUnsavedTileTypes())
        return {};
    return QByteArray(reinterpret_cast<const char*>(tileTypes_.data()), kTileTypeCount);
}

QByteArray StageDocument::entityFileBytes() const { return ComposeEntityFile({}, entityCount_, records_); }

// ---- the open stage -------------------------------------------------------

MapScene StageDocument::scene() const { return {&tileset_, &mask_, &backdrop_, &map_.grid, map_.width, map_.height}; }

// ---- edits the history records ------------------------------------------------

// One write, a note when the tile changes and one signal: a stroke keeps up
// with the pointer on the largest maps.
void StageDocument::paintCell(int x, int y, quint8 tile)
{
    if (drag_)
        finishEdit();
    const quint32 at = CellIndex(x, y);
    quint8& cell = map_.grid.at(x, y);
    const quint8 before = cell;
    cell = tile;
    ++revision_;
    if (before != tile) {
        const bool first = !stroke_;
        if (first)
            stroke_ = std::make_unique<StrokeCells>();
        stroke_->cell.push_back(at);
        stroke_->before.push_back(before);
        stroke_->after.push_back(tile);
        if (first)
            updateModified();
    }
    emit cellsChanged(std::span<const quint32>(&at, 1));
}

void StageDocument::moveEntity(int index, int x, int y)
{
    if (stroke_ || (drag_ && drag_->index != index))
        finishEdit();
    EntityRecord& record = records_[size_t(index)];
    if (!drag_)
        drag_ = PendingDrag{index, record}; // the record as the drag found it
    record.X = qint16(x);
    record.Y = qint16(y);
    ++revision_;
    emit recordChanged(index);
    updateModified();
}

void StageDocument::finishEdit()
{
    if (stroke_) {
        // The stroke is done growing: give back what the vectors reserved.
        stroke_->cell.shrink_to_fit();
        stroke_->before.shrink_to_fit();
        stroke_->after.shrink_to_fit();
        history_.Push(new PaintStrokeCommand(*this, std::move(*stroke_)));
        stroke_.reset();
    }
    if (drag_) {
        const PendingDrag drag = *drag_;
        drag_.reset();
        const EntityRecord& end = records_[size_t(drag.index)];
        if (end != drag.before)
            history_.Push(new EditEntityCommand(*this, drag.index, drag.before, end));
    }
    updateModified();
}

void StageDocument::editRecord(int index, const EntityRecord& record)
{
    finishEdit();
    const EntityRecord before = records_[size_t(index)];
    if (before == record)
        return;
    applyRecord(index, record);
    history_.Push(new EditEntityCommand(*this, index, before, record));
    updateModified();
}

void StageDocument::changeEntityCount(qint16 count)
{
    finishEdit();
    const qint16 before = entityCount_;
    if (before == count)
        return;
    applyEntityCount(count);
    history_.Push(new EntityCountCommand(*this, before, count));
    updateModified();
}

void StageDocument::setTileType(int tile, quint8 type)
{
    finishEdit();
    const quint8 before = tileType(tile);
    if (before == type)
        return;
    applyTileType(tile & 0xFF, type);
    history_.Push(new TileTypeCommand(*this, tile & 0xFF, before, type));
    updateModified();
}

StageContent StageDocument::content() const { return {map_.width, map_.height, entityCount_, records_, tileTypes_}; }

Outcome StageDocument::restore(const QByteArray& mapFile, const QByteArray& entityFile, const QByteArray& tileTypes)
{
    MapData map;
    if (const Outcome read = ParseMap(mapFile, map); !read.ok())
        return read;
    StageContent after = content();
    if (const Outcome read = ParseEntities(entityFile, after.entityCount, after.records); !read.ok())
        return read;
    after.width = map.width;
    after.height = map.height;
    if (tileTypes.size() == kTileTypeCount)
        std::memcpy(after.tileTypes.data(), tileTypes.constData(), kTileTypeCount);

    finishEdit();
    const StageContent before = content();
    StrokeCells cells = CellsChanged(map_.grid, map.grid);
    applyContent(after, cells, true);
    history_.Push(new ReplaceStageCommand(*this, before, after, std::move(cells)));
    updateModified();
    return {};
}

Outcome StageDocument::recordWrittenResize(const QByteArray& mapBefore)
{
    MapData map;
    if (const Outcome read = ParseMap(mapBefore, map); !read.ok())
        return read;
    finishEdit();
    const StageContent after = content();
    StageContent before = after;
    before.width = map.width;
    before.height = map.height;
    StrokeCells cells = CellsChanged(map.grid, map_.grid);
    // Already done on disk and in memory: pushed as done, and saved.
    history_.Push(new ReplaceStageCommand(*this, before, after, std::move(cells)));
    history_.MarkSaved();
    updateModified();
    return {};
}

namespace {
// How far the old map's corner moves in a resize anchored at `anchor`.
int ResizeShift(int oldSide, int newSide, int anchor)
{
    return anchor == 0 ? 0 : anchor == 1 ? (newSide - oldSide) / 2 : newSide - oldSide;
}
} // namespace

StageDocument::ResizeCut StageDocument::resizeCut(int width, int height, int anchorX, int anchorY) const
{
    ResizeCut cut;
    const int dx = ResizeShift(map_.width, width, anchorX);
    const int dy = ResizeShift(map_.height, height, anchorY);
    for (int y = 0; y < map_.height; ++y)
        for (int x = 0; x < map_.width; ++x)
            if (map_.grid.at(x, y) != 0 && (x + dx < 0 || x + dx >= width || y + dy < 0 || y + dy >= height))
                ++cut.tiles;
    for (int i = 0; i < entityCount_; ++i) {
        const int x = records_[size_t(i)].X + dx;
        const int y = records_[size_t(i)].Y + dy;
        if (x < 0 || x >= width || y < 0 || y >= height)
            ++cut.entities;
    }
    return cut;
}

void StageDocument::resizeAnchored(int width, int height, int anchorX, int anchorY)
{
    width = std::clamp(width, 1, kMaxMapSide);
    height = std::clamp(height, 1, kMaxMapSide);
    finishEdit();
    const StageContent before = content();
    StageContent after = before;
    after.width = qint16(width);
    after.height = qint16(height);
    const int dx = ResizeShift(map_.width, width, anchorX);
    const int dy = ResizeShift(map_.height, height, anchorY);
    // Every cell of the grid: the moved map inside the new size, tile 0 out of it.
    StrokeCells cells;
    for (int y = 0; y < kGridSide; ++y) {
        for (int x = 0; x < kGridSide; ++x) {
            const int fromX = x - dx, fromY = y - dy;
            const bool inside =
                x < width && y < height && fromX >= 0 && fromX < map_.width && fromY >= 0 && fromY < map_.height;
            const quint8 tile = inside ? map_.grid.at(fromX, fromY) : 0;
            if (map_.grid.at(x, y) != tile) {
                cells.cell.push_back(CellIndex(x, y));
                cells.before.push_back(map_.grid.at(x, y));
                cells.after.push_back(tile);
            }
        }
    }
    after.entityCount = 0;
    after.records = {};
    for (int i = 0; i < entityCount_; ++i) {
        EntityRecord moved = records_[size_t(i)];
        const int x = moved.X + dx, y = moved.Y + dy;
        if (x < 0 || x >= width || y < 0 || y >= height)
            continue;
        moved.X = qint16(x);
        moved.Y = qint16(y);
        after.records[size_t(after.entityCount++)] = moved;
    }
    applyContent(after, cells, true);
    history_.Push(new ReplaceStageCommand(*this, before, after, std::move(cells)));
    updateModified();
}

bool StageDocument::holds(const QByteArray& mapFile, const QByteArray& entityFile, const QByteArray& tileTypes) const
{
    if (!tileTypes.isEmpty() &&
        tileTypes != QByteArray(reinterpret_cast<const char*>(tileTypes_.data()), kTileTypeCount))
        return false;
    MapData map;
    qint16 count = 0;
    EntityRecords records{};
    return ParseMap(mapFile, map).ok() && ParseEntities(entityFile, count, records).ok() &&
           SameMap(map, CellsOf(map_)) && SameEntities(count, records, entityCount_, records_);
}

// ---- region edits ------------------------------------------------------------

QRect StageDocument::bounds() const { return QRect(0, 0, Cells(map_.width), Cells(map_.height)); }

int StageDocument::usedEntities() const { return std::clamp<int>(entityCount_, 0, kMaxEntities); }

void StageDocument::commitCells(StrokeCells&& cells)
{
    if (cells.cell.empty())
        return;
    applyCells(cells, true);
    history_.Push(new PaintStrokeCommand(*this, std::move(cells)));
    updateModified();
}

void StageDocument::commitCellsAndEntities(StrokeCells&& cells, const EntityList& after)
{
    const EntityList before{entityCount_, records_};
    applyCellsAndEntities(cells, after, true);
    history_.Push(new CellsAndEntitiesCommand(*this, std::move(cells), before, after));
    updateModified();
}

void StageDocument::paintRegion(const QRect& cells, const TileBlock& brush)
{
    finishEdit();
    const QRect area = cells.intersected(bounds());
    if (!brush.valid() || area.isEmpty())
        return;
    StrokeCells changed;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int by = Wrap(y, cells.top(), brush.height);
        for (int x = area.left(); x <= area.right(); ++x)
            NoteCell(changed, CellIndex(x, y), map_.grid.at(x, y), brush.at(Wrap(x, cells.left(), brush.width), by));
    }
    commitCells(std::move(changed));
}

// The whole region is found before any cell is written, so a brush holding
// the region's own tile cannot make it grow into what it painted. An
// explicit stack keeps the largest map (263169 cells) off the call stack.
void StageDocument::fill(int x, int y, const TileBlock& brush, std::optional<QRect> within)
{
    finishEdit();
    const QRect area = within ? within->intersected(bounds()) : bounds();
    if (!brush.valid() || !area.contains(x, y))
        return;
    const quint8* grid = map_.grid.row(0);
    const quint8 tile = grid[CellIndex(x, y)];
    std::vector<quint8> seen(size_t(kGridSide) * kGridSide, 0);
    std::vector<quint32> region, stack;
    const auto reach = [&](quint32 at) {
        if (!seen[at] && grid[at] == tile) {
            seen[at] = 1;
            stack.push_back(at);
        }
    };
    reach(CellIndex(x, y));
    while (!stack.empty()) {
        const quint32 at = stack.back();
        stack.pop_back();
        region.push_back(at);
        const int cx = int(at % kGridSide), cy = int(at / kGridSide);
        if (cx > area.left())
            reach(at - 1);
        if (cx < area.right())
            reach(at + 1);
        if (cy > area.top())
            reach(at - kGridSide);
        if (cy < area.bottom())
            reach(at + kGridSide);
    }
    StrokeCells changed;
    changed.cell.reserve(region.size());
    changed.before.reserve(region.size());
    changed.after.reserve(region.size());
    for (const quint32 at : region) {
        const int cx = int(at % kGridSide), cy = int(at / kGridSide);
        NoteCell(changed, at, tile, brush.at(Wrap(cx, x, brush.width), Wrap(cy, y, brush.height)));
    }
    commitCells(std::move(changed));
}

void StageDocument::replaceAll(quint8 from, const TileBlock& brush, std::optional<QRect> within)
{
    finishEdit();
    const QRect area = within ? within->intersected(bounds()) : bounds();
    if (!brush.valid() || area.isEmpty())
        return;
    StrokeCells changed;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int by = y % brush.height;
        for (int x = area.left(); x <= area.right(); ++x) {
            if (map_.grid.at(x, y) == from)
                NoteCell(changed, CellIndex(x, y), from, brush.at(x % brush.width, by));
        }
    }
    commitCells(std::move(changed));
}

Outcome StageDocument::pasteBlock(QPoint topLeft, const TileBlock& cells, const std::vector<EntityRecord>& entities)
{
    const int used = usedEntities();
    if (used + qsizetype(entities.size()) > kMaxEntities) {
        const QString held =
            entities.size() == 1 ? QStringLiteral("1 entity") : QStringLiteral("%1 entities").arg(entities.size());
        return QStringLiteral("The paste holds %1; with the stage's %2 there would be more than %3.")
            .arg(held)
            .arg(used)
            .arg(kMaxEntities);
    }
    finishEdit();
    StrokeCells changed;
    if (cells.valid()) {
        const QRect area = QRect(topLeft, QSize(cells.width, cells.height)).intersected(bounds());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                NoteCell(changed, CellIndex(x, y), map_.grid.at(x, y), cells.at(x - topLeft.x(), y - topLeft.y()));
    }
    if (entities.empty()) {
        commitCells(std::move(changed));
        return {};
    }
    EntityList after{qint16(used + int(entities.size())), records_};
    std::copy(entities.begin(), entities.end(), after.records.begin() + used);
    commitCellsAndEntities(std::move(changed), after);
    return {};
}

void StageDocument::clearRegion(const QRect& cells, bool removeEntities)
{
    finishEdit();
    StrokeCells changed;
    const QRect area = cells.intersected(bounds());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            NoteCell(changed, CellIndex(x, y), map_.grid.at(x, y), 0);
    const std::vector<int> inside = removeEntities ? entitiesIn(cells) : std::vector<int>();
    if (inside.empty()) {
        commitCells(std::move(changed));
        return;
    }
    // The ones taken out end up just past the new count, so raising the
    // count brings them back as other records beyond it come back.
    EntityList after{qint16(usedEntities() - int(inside.size())), records_};
    const auto begin = after.records.begin();
    std::stable_partition(begin, begin + usedEntities(),
                          [&](const EntityRecord& r) { return !cells.contains(r.X, r.Y); });
    commitCellsAndEntities(std::move(changed), after);
}

Outcome StageDocument::insertEntity(int index, const EntityRecord& record)
{
    const int used = usedEntities();
    if (used >= kMaxEntities)
        return QStringLiteral("The stage holds %1 entities, the most it can.").arg(kMaxEntities);
    if (index < 0 || index > used)
        return QStringLiteral("There is no place %1 among the stage's %2 entities.").arg(index).arg(used);
    finishEdit();
    EntityList after{qint16(used + 1), records_};
    const auto begin = after.records.begin();
    std::rotate(begin + index, begin + used, begin + used + 1);
    after.records[size_t(index)] = record;
    commitCellsAndEntities({}, after);
    return {};
}

void StageDocument::removeEntity(int index)
{
    const int used = usedEntities();
    if (index < 0 || index >= used)
        return;
    finishEdit();
    EntityList after{qint16(used - 1), records_};
    const auto begin = after.records.begin();
    std::rotate(begin + index, begin + index + 1, begin + used); // the removed one lies just past the count
    commitCellsAndEntities({}, after);
}

void StageDocument::removeEntities(std::span<const int> indices)
{
    const int used = usedEntities();
    std::vector<char> removed(size_t(used), 0);
    int count = 0;
    for (const int index : indices) {
        if (index >= 0 && index < used && !removed[size_t(index)]) {
            removed[size_t(index)] = 1;
            ++count;
        }
    }
    if (count == 0)
        return;
    finishEdit();
    // As clearRegion: the removed ones end up just past the new count.
    EntityList after{qint16(used - count), records_};
    std::vector<EntityRecord> kept, gone;
    for (int i = 0; i < used; ++i)
        (removed[size_t(i)] ? gone : kept).push_back(records_[size_t(i)]);
    std::copy(gone.begin(), gone.end(), std::copy(kept.begin(), kept.end(), after.records.begin()));
    commitCellsAndEntities({}, after);
}

TileBlock StageDocument::copyBlock(const QRect& cells) const
{
    const QRect area = cells.intersected(bounds());
    TileBlock block;
    if (area.isEmpty())
        return block;
    block.width = area.width();
    block.height = area.height();
    block.tiles.reserve(size_t(block.width) * size_t(block.height));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const quint8* row = map_.grid.row(y) + area.left();
        block.tiles.insert(block.tiles.end(), row, row + block.width);
    }
    return block;
}

std::vector<int> StageDocument::entitiesIn(const QRect& cells) const
{
    std::vector<int> inside;
    for (int i = 0; i < usedEntities(); ++i) {
        if (cells.contains(records_[size_t(i)].X, records_[size_t(i)].Y))
            inside.push_back(i);
    }
    return inside;
}

void StageDocument::undo()
{
    finishEdit();
    history_.Undo();
    updateModified();
}

void StageDocument::redo()
{
    finishEdit();
    history_.Redo();
    updateModified();
}

// ---- edits outside the history ------------------------------------------------

void StageDocument::setCell(int x, int y, quint8 tile)
{
    finishEdit();
    map_.grid.at(x, y) = tile;
    changedOutsideHistory_ = true;
    ++revision_;
    const quint32 at = CellIndex(x, y);
    emit cellsChanged(std::span<const quint32>(&at, 1));
    updateModified();
}

void StageDocument::setRecord(int index, const EntityRecord& record)
{
    finishEdit();
    changedOutsideHistory_ = true;
    applyRecord(index, record);
    updateModified();
}

void StageDocument::setEntityCount(qint16 count)
{
    finishEdit();
    changedOutsideHistory_ = true;
    applyEntityCount(count);
    updateModified();
}

void StageDocument::setMapSize(qint16 width, qint16 height)
{
    finishEdit();
    map_.width = width;
    map_.height = height;
    changedOutsideHistory_ = true;
    ++revision_;
    emit mapResized();
    updateModified();
}

// ---- pictures -------------------------------------------------------------

void StageDocument::setNpcTable(NpcTable table)
{
    npcTable_ = std::move(table);
    emit npcTableChanged();
}

void StageDocument::setTileset(QImage image)
{
    tileset_ = std::move(image);
    mask_ = CreateMaskImage(tileset_, qRgb(0, 0, 0));
    sheets_.byNumber[kSheetTileset] = tileset_;
    emit picturesChanged();
}

void StageDocument::watchPictures(bool on)
{
    if (!on) {
        pictureWatcher_.reset();
        return;
    }
    if (pictureWatcher_)
        return;
    pictureWatcher_ = std::make_unique<PictureWatcher>();
    connect(pictureWatcher_.get(), &PictureWatcher::changed, this, &StageDocument::readPicturesAgain);
    if (isOpen())
        pictureWatcher_->watch(GameFolder(root_), pictures_);
}

// The edits stay: only the pictures the map is drawn from change.
void StageDocument::readPicturesAgain(const QStringList& builtNames)
{
    const GameFolder folder(root_);
    QStringList problems;
    if (builtNames.contains(files_.tileset)) {
        Picture tileset = LoadStageTileset(folder, files_);
        if (const QString problem = PictureProblem(tileset, folder, files_.tileset, QStringLiteral("a black tileset"));
            !problem.isEmpty()) {
            problems << problem;
            tileset.image = StandInTileset();
        }
        tileset_ = std::move(tileset.image);
        mask_ = CreateMaskImage(tileset_, qRgb(0, 0, 0));
        sheets_.byNumber[kSheetTileset] = tileset_; // entities drawn from the tileset follow it
    }
    if (builtNames.contains(files_.backdrop)) {
        Picture backdrop = LoadStageBackdrop(folder, files_, map_.width, map_.height);
        if (const QString problem = PictureProblem(backdrop, folder, files_.backdrop, QStringLiteral("white"));
            !problem.isEmpty())
            problems << problem;
        backdrop_ = std::move(backdrop.image); // null shows white
    }
    emit picturesChanged();
    emit picturesReread(problems.join(u' '));
}

// ---- saved state ----------------------------------------------------------

bool StageDocument::isModified() const
{
    if (!isOpen())
        return false;
    const bool dragMoved = drag_ && records_[size_t(drag_->index)] != drag_->before;
    return stroke_ || dragMoved || changedOutsideHistory_ || !history_.AtSavedState();
}

void StageDocument::updateModified()
{
    const bool now = isModified();
    if (now == modified_)
        return;
    modified_ = now;
    emit modifiedChanged(now);
}

// ---- for the history's steps --------------------------------------------------

// Backwards on undo, so that a cell written twice ends on its first value.
void StageDocument::writeCells(const StrokeCells& cells, bool forward)
{
    const qsizetype n = qsizetype(cells.cell.size());
    for (qsizetype k = 0; k < n; ++k) {
        const size_t i = size_t(forward ? k : n - 1 - k);
        const quint32 at = cells.cell[i];
        map_.grid.at(int(at % kGridSide), int(at / kGridSide)) = forward ? cells.after[i] : cells.before[i];
    }
}

void StageDocument::applyCells(const StrokeCells& cells, bool forward)
{
    writeCells(cells, forward);
    ++revision_;
    emit cellsChanged(cells.cell);
}

void StageDocument::applyRecord(int index, const EntityRecord& record)
{
    records_[size_t(index)] = record;
    ++revision_;
    emit recordChanged(index);
}

void StageDocument::applyEntityCount(qint16 count)
{
    entityCount_ = count;
    ++revision_;
    emit entitiesChanged();
}

void StageDocument::applyTileType(int tile, quint8 type)
{
    tileTypes_[size_t(tile)] = type;
    ++revision_;
    emit tileTypesChanged();
}

void StageDocument::applyCellsAndEntities(const StrokeCells& cells, const EntityList& entities, bool forward)
{
    writeCells(cells, forward);
    entityCount_ = entities.count;
    records_ = entities.records;
    ++revision_;
    if (!cells.cell.empty())
        emit cellsChanged(cells.cell);
    emit entitiesChanged();
}

void StageDocument::applyContent(const StageContent& content, const StrokeCells& cells, bool forward)
{
    writeCells(cells, forward);
    map_.width = content.width;
    map_.height = content.height;
    entityCount_ = content.entityCount;
    records_ = content.records;
    const bool typesChanged = tileTypes_ != content.tileTypes;
    tileTypes_ = content.tileTypes;
    ++revision_;
    emit mapResized();
    emit entitiesChanged();
    if (typesChanged)
        emit tileTypesChanged();
}

} // namespace vorn
