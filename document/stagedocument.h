#pragma once
// The open stage: its map, its entities, the pictures it is drawn from and
// its undo history, loaded and saved without any widget. The window's
// handlers and the history's steps change it through its edit calls; views
// redraw from its signals, which come synchronously, in the order of the
// changes. It knows whether it holds edits that are not on disk.
#include "edithistory.h"
#include "entityfile.h"
#include "filestamp.h"
#include "game.h"
#include "mapdrawing.h"
#include "mapfile.h"
#include "outcome.h"
#include "picturewatcher.h"
#include "stagecommands.h"
#include "spritedrawing.h"
#include "stageloading.h"
#include "tileblock.h"
#include "tiletypes.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace vorn {

// What a stage is drawn with beside its map: the game's entity type table,
// the sprite sheets and the tileset's tile types. None of them keeps a stage
// from opening; what did not load is told in spriteNote or tileTypeNote.
struct StageLooks {
    NpcTable npcTable;
    SpriteSheets sheets;
    TileTypeFile tileTypes;
    FileStamp tileTypeStamp;
    QString spriteNote, tileTypeNote;
};
// Reads them for the stage of `files`, whose tileset is `tileset`.
StageLooks ReadStageLooks(const GameFolder& folder, const StageFiles& files, const QImage& tileset);

class StageDocument : public QObject {
    Q_OBJECT
public:
    using StatusText = std::function<void(const QString& text)>;

    explicit StageDocument(QObject* parent = nullptr);
    ~StageDocument() override;

    // ---- loading --------------------------------------------------------
    // A stage read and checked, not yet open.
    struct Reading {
        int stage = -1;
        QString root;
        LoadedStage loaded;
        QString pictureWarning; // pictures that did not load: stand-ins are in their place
        FileStamp mapStamp, entityStamp;
        StageLooks looks;
    };
    // Reads stage `stage` of `game` without changing anything that is open:
    // the refusal when the stage cannot open. `status` gets the progress
    // texts. Records from the new count on keep what the open stage holds.
    Outcome read(const Game& game, int stage, Reading& out, const StatusText& status = {}) const;
    // The reading becomes the open stage, with a new history and nothing
    // unsaved; an edit under way belongs to the stage before and is dropped.
    void open(Reading&& reading);
    // read, then open.
    Outcome load(const Game& game, int stage, const StatusText& status = {});

    // ---- saving ---------------------------------------------------------
    // The map and entity files ("data\stage\Cave.pxm"), and the tile type
    // file when a save would write it, that another program
    // changed since this document read or wrote them: a save would overwrite
    // those changes. A file removed meanwhile is not counted (a save only
    // writes it again).
    QStringList changedOnDisk(const Game& game) const;
    // Writes the map file, then the entity file, then the tileset's type
    // file when a tile's type was changed. The first that cannot be written
    // stops the save; the refusal also says what was saved.
    Outcome save(const Game& game, const StatusText& status = {});
    // The bytes a save would write into empty files: the open map and its
    // entities, in the game's layouts.
    QByteArray mapFileBytes() const;
    QByteArray entityFileBytes() const;
    // The tile types as the type file holds them, when a save would write
    // them; empty otherwise.
    QByteArray unsavedTileTypeBytes() const;

    // ---- the open stage -------------------------------------------------
    bool isOpen() const { return index_ >= 0; }
    int index() const { return index_; } // -1 before the first open
    const QString& gameRoot() const { return root_; }
    const StageFiles& files() const { return files_; }
    const TileGrid& grid() const { return map_.grid; }
    quint8 cell(int x, int y) const { return map_.grid.at(x, y); }
    qint16 width() const { return map_.width; }
    qint16 height() const { return map_.height; }
    qint16 entityCount() const { return entityCount_; }
    const EntityRecords& records() const { return records_; }
    const EntityRecord& record(int index) const { return records_[size_t(index)]; }
    const QImage& tileset() const { return tileset_; } // RGB32
    const QImage& mask() const { return mask_; } // white where the tileset is black
    const QImage& backdrop() const { return backdrop_; } // null: white
    MapScene scene() const;
    // The game's entity type table as the stage was opened (empty when it
    // could not be read: sprites then come from the shipped table), and the
    // sheets its sprites come from.
    const NpcTable& npcTable() const { return npcTable_; }
    // The type table the sprites are placed by from now on: an edited one
    // not yet written, or the added types' looks. Only how the stage looks
    // changes; npcTableChanged says so.
    void setNpcTable(NpcTable table);
    const SpriteSheets& sheets() const { return sheets_; }
    // Why some entities may show the marker instead of their sprite: the
    // type table or sheets that did not load. Empty when all did.
    const QString& spriteNote() const { return spriteNote_; }
    // The tileset's tile types, and why they could not be read (empty when
    // they were, or the file is missing: all 0 then).
    const TileTypes& tileTypes() const { return tileTypes_; }
    quint8 tileType(int tile) const { return tileTypes_[size_t(tile & 0xFF)]; }
    const QString& tileTypeNote() const { return tileTypeNote_; }
    // A tile's type differs from the tile type file: a save writes it.
    bool hasUnsavedTileTypes() const { return tileTypes_ != tileTypesOnDisk_; }

    // ---- edits the history records -----------------------------------------
    // A cell of the stroke under way; the stroke becomes one step at
    // finishEdit. The cell is written and redrawn even when it held the tile.
    void paintCell(int x, int y, quint8 tile);
    // A place of the drag under way of entity `index`; one step at finishEdit.
    void moveEntity(int index, int x, int y);
    // The stroke or drag under way becomes a step (none when it changed
    // nothing). Every other edit, undo, redo and save runs it first, so the
    // steps stay in the order the edits were made.
    void finishEdit();
    void editRecord(int index, const EntityRecord& record);
    void changeEntityCount(qint16 count);
    // Tile `tile` of the tileset gets `type`: saved into the tileset's type
    // file, which the stages sharing the tileset read when they load.
    void setTileType(int tile, quint8 type);
    // Puts the map and entities of files in the game's layouts in place, as
    // one step (a recovered stage), with the tileset's tile types when
    // `tileTypes` holds all 256. The refusal when the bytes are no such
    // files.
    Outcome restore(const QByteArray& mapFile, const QByteArray& entityFile, const QByteArray& tileTypes = {});
    // True when `mapFile` and `entityFile` hold exactly the open stage, and
    // `tileTypes`, unless empty, its tile types.
    bool holds(const QByteArray& mapFile, const QByteArray& entityFile, const QByteArray& tileTypes = {}) const;

    // Region edits, each one step (none when it changes nothing), with one
    // cellsChanged for all the cells it changed. Cells outside the map's
    // size are never written. A brush that is not valid() paints nothing.
    //
    // The rectangle of cells gets `brush`, repeated from its top-left.
    void paintRegion(const QRect& cells, const TileBlock& brush);
    // The cells reached from (x, y) through sides of cells holding the same
    // tile, inside `within` when given, get `brush` repeated from (x, y).
    void fill(int x, int y, const TileBlock& brush, std::optional<QRect> within = std::nullopt);
    // Every cell holding `from` (inside `within` when given) gets `brush`,
    // repeated from the map's corner.
    void replaceAll(quint8 from, const TileBlock& brush, std::optional<QRect> within = std::nullopt);
    // Writes `cells` with their top-left at `topLeft` and appends
    // `entities`, placed already, after the stage's own. Refused, changing
    // nothing, when the entities would pass kMaxEntities.
    Outcome pasteBlock(QPoint topLeft, const TileBlock& cells, const std::vector<EntityRecord>& entities);
    // The cells to tile 0 and, when asked, the entities standing in them
    // taken out (those after them move down).
    void clearRegion(const QRect& cells, bool removeEntities);
    // `record` becomes entity `index`; those from there on move up one.
    // Refused when the stage holds kMaxEntities or index is past the count.
    Outcome insertEntity(int index, const EntityRecord& record);
    // Entity `index` is taken out; those after it move down one.
    void removeEntity(int index);
    // The entities `indices` names, in any order, taken out as one step;
    // those left keep their order. Indices outside the count and repeats
    // are passed over; no step when none is left.
    void removeEntities(std::span<const int> indices);
    // What a resize to `width` x `height` anchored at (`anchorX`, `anchorY`)
    // (0 left or top, 1 centre, 2 right or bottom) cuts: the cells that are
    // not tile 0 and the entities whose cell leaves the map.
    struct ResizeCut {
        int tiles = 0;
        int entities = 0;
    };
    ResizeCut resizeCut(int width, int height, int anchorX, int anchorY) const;
    // Resizes the map as one step: the anchor's edges stay, the others grow
    // or shrink; cells and entities move with the anchor, entities whose
    // cell is cut are taken out. Sizes 1 to 513.
    void resizeAnchored(int width, int height, int anchorX, int anchorY);
    // The stage as it is now was just written and read again after a resize
    // done at once: it becomes the first step of the history, whose undo
    // brings back `mapBefore`'s size and every cell as an unsaved edit, and
    // this state stays the saved one.
    Outcome recordWrittenResize(const QByteArray& mapBefore);
    // The part of the rectangle inside the map, as a block.
    TileBlock copyBlock(const QRect& cells) const;
    // The entities, in order, whose cell lies in the rectangle.
    std::vector<int> entitiesIn(const QRect& cells) const;

    void undo();
    void redo();
    const EditHistory& history() const { return history_; }

    // ---- edits outside the history: unsaved until the next save ----------
    void setMapSize(qint16 width, qint16 height);

    // ---- pictures ---------------------------------------------------------
    // The tileset to draw from, its mask made anew.
    void setTileset(QImage image);
    // Watch the open stage's tileset and backdrop files: when another
    // program changes one, it is read again (edits stay) and
    // picturesChanged says so. Off until turned on.
    void watchPictures(bool on);

    // ---- saved state ------------------------------------------------------
    // Edits that are not on disk: a stroke or drag under way, steps since
    // the last save or load, or an edit outside the history.
    bool isModified() const;
    // Counts every change of the content, so a change is known without a
    // signal for each.
    quint64 revision() const { return revision_; }

signals:
    // Cells given as y * kGridSide + x.
    void cellsChanged(std::span<const quint32> cells);
    void recordChanged(int index);
    void entitiesChanged(); // the count, or records at once
    void mapResized(); // the size, and with it any cell
    void picturesChanged();
    void tileTypesChanged();
    void npcTableChanged();
    // After the pictures were read again because another program changed
    // them: why a picture is stood in for, or empty when all loaded.
    void picturesReread(const QString& problem);
    void opened();
    void modifiedChanged(bool modified);

private:
    // Cells and entities changed outside the history, marked unsaved: the
    // window and the tools edit through steps; tests set up a stage with
    // these (unrecordededits.h).
    void setCell(int x, int y, quint8 tile);
    void setRecord(int index, const EntityRecord& record);
    void setEntityCount(qint16 count);
    friend struct UnrecordedEdits;

    // The history's steps change the stage through these: a step is itself
    // in the history, so its change needs no mark of its own.
    friend class PaintStrokeCommand;
    friend class EditEntityCommand;
    friend class EntityCountCommand;
    friend class ReplaceStageCommand;
    friend class TileTypeCommand;
    friend class CellsAndEntitiesCommand;
    void applyCells(const StrokeCells& cells, bool forward);
    void applyRecord(int index, const EntityRecord& record);
    void applyEntityCount(qint16 count);
    void applyTileType(int tile, quint8 type);
    void applyContent(const StageContent& content, const StrokeCells& cells, bool forward);
    void applyCellsAndEntities(const StrokeCells& cells, const EntityList& entities, bool forward);
    void writeCells(const StrokeCells& cells, bool forward);
    // A region edit's changes, not yet written, made and pushed as one step.
    void commitCells(StrokeCells&& cells);
    void commitCellsAndEntities(StrokeCells&& cells, const EntityList& after);
    QRect bounds() const; // the map's cells
    int usedEntities() const;

    void updateModified();
    void readPicturesAgain(const QStringList& builtNames);
    StageContent content() const;
    bool sameOnDisk(const Game& game, const QString& builtName, const FileStamp& stamp,
                    const std::function<bool(const QString& path)>& sameContent) const;

    // The open stage.
    int index_ = -1;
    QString root_;
    StageFiles files_;
    MapData map_;
    qint16 entityCount_ = 0;
    EntityRecords records_{};
    QImage tileset_, mask_, backdrop_;
    NpcTable npcTable_;
    SpriteSheets sheets_;
    QString spriteNote_;
    TileTypes tileTypes_{};
    QString tileTypeNote_;

    // What the map and entity files held when last read or written, to tell
    // another program's change from our own.
    FileStamp mapStamp_, entityStamp_;
    struct MapCells {
        qint16 width = 0, height = 0;
        QByteArray cells; // the cells within the size, row after row
    };
    static MapCells CellsOf(const MapData& map);
    static bool SameMap(const MapData& map, const MapCells& cells);
    MapCells mapOnDisk_;
    qint16 entityCountOnDisk_ = 0;
    EntityRecords recordsOnDisk_{};
    TileTypes tileTypesOnDisk_{};
    FileStamp tileTypeStamp_;

    // History and saved state.
    EditHistory history_;
    std::unique_ptr<StrokeCells> stroke_; // cells changed since the stroke began
    struct PendingDrag {
        int index;
        EntityRecord before;
    };
    std::optional<PendingDrag> drag_;
    bool changedOutsideHistory_ = false;
    bool modified_ = false; // as last signalled
    quint64 revision_ = 0; // counts changes, so a save can tell one made while it wrote

    std::vector<PictureWatcher::File> pictures_; // the tileset's and backdrop's files
    std::unique_ptr<PictureWatcher> pictureWatcher_;
};

} // namespace vorn
