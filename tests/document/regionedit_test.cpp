// Edits of many cells or of the entity list at once, on the sample game's
// 20 x 15 stage: each is one step with one redraw signal, reaches only the
// cells it should, and undo puts back exactly what was there.
#include "samplegame.h"
#include "stagedocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace vorn {
namespace {

class RegionEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteSampleGame(dir.path()).ok());
        game = std::make_unique<Game>(dir.path());
        ASSERT_TRUE(game->readTable().ok());
        ASSERT_TRUE(stage.load(*game, kSampleSmallStage).ok());
        ASSERT_EQ(stage.width(), 20);
        QObject::connect(&stage, &StageDocument::cellsChanged,
                         [this](std::span<const quint32> cells) { signalled.push_back(cells.size()); });
    }
    QByteArray mapOnDisk() const
    {
        QFile f(game->folder.findFile(QStringLiteral("data\\stage\\Hollow.pxm")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    int steps() const { return stage.history().Stack().count(); }
    // The map as rows of tiles, to compare a whole state at once.
    std::vector<quint8> cells() const
    {
        std::vector<quint8> out;
        for (int y = 0; y < stage.height(); ++y)
            for (int x = 0; x < stage.width(); ++x)
                out.push_back(stage.cell(x, y));
        return out;
    }

    QTemporaryDir dir;
    std::unique_ptr<Game> game;
    StageDocument stage;
    std::vector<size_t> signalled; // cells per cellsChanged
};

const TileBlock kChecks{2, 2, {1, 2, 3, 4}};

TEST_F(RegionEditTest, ARectangleIsClippedToTheMapAndSavedAsPainted)
{
    const QByteArray original = stage.mapFileBytes();
    QByteArray expected = mapOnDisk();
    const auto put = [&](int x, int y, char tile) { expected[8 + y * 20 + x] = tile; };
    // From (17, 12): its top-left takes the brush's first tile; only
    // columns 17-19 and rows 12-14 lie in the map.
    stage.paintRegion(QRect(17, 12, 5, 5), kChecks);
    for (int y = 12; y < 15; ++y)
        for (int x = 17; x < 20; ++x)
            put(x, y, char(kChecks.at((x - 17) % 2, (y - 12) % 2)));
    EXPECT_EQ(steps(), 1);
    ASSERT_EQ(signalled.size(), 1u);
    EXPECT_GT(signalled[0], 0u);
    EXPECT_TRUE(stage.isModified());
    ASSERT_TRUE(stage.save(*game).ok());
    EXPECT_EQ(mapOnDisk(), expected);

    // Painting what is already there is no step.
    stage.paintRegion(QRect(17, 12, 2, 2), kChecks);
    EXPECT_EQ(steps(), 1);
    stage.undo();
    EXPECT_TRUE(stage.isModified());
    EXPECT_EQ(stage.mapFileBytes(), original);
}

TEST_F(RegionEditTest, FillAndReplaceReachOnlyTheirCells)
{
    // Two rooms of tile 5 parted by a wall of 7 in column 10.
    stage.paintRegion(QRect(0, 0, 20, 15), TileBlock::One(5));
    stage.paintRegion(QRect(10, 0, 1, 15), TileBlock::One(7));
    const std::vector<quint8> rooms = cells();

    // Bounded by a selection: only its part of the right room.
    signalled.clear();
    stage.fill(15, 5, TileBlock::One(8), QRect(12, 2, 4, 4));
    for (int y = 0; y < 15; ++y)
        for (int x = 11; x < 20; ++x)
            ASSERT_EQ(stage.cell(x, y), QRect(12, 2, 4, 4).contains(x, y) ? 8 : 5) << x << "," << y;
    EXPECT_EQ(signalled, std::vector<size_t>{16});

    // Bounded by the region, with a brush that holds the region's own tile
    // (5) and repeats from the start, so left of it too.
    stage.fill(3, 2, TileBlock{2, 2, {5, 1, 1, 5}});
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(stage.cell(x, y), (x + 1 + y) % 2 == 0 ? 5 : 1) << x << "," << y;
        ASSERT_EQ(stage.cell(10, y), 7);
    }
    EXPECT_EQ(stage.cell(19, 0), 5);
    EXPECT_EQ(signalled.size(), 2u);

    // Every 5 of the selection, then of the map, brush repeated from the
    // map's corner.
    stage.replaceAll(5, TileBlock{2, 1, {2, 3}}, QRect(0, 0, 2, 2));
    EXPECT_EQ(stage.cell(1, 0), 3);
    EXPECT_EQ(stage.cell(0, 1), 2);
    EXPECT_EQ(stage.cell(0, 0), 1);
    EXPECT_EQ(stage.cell(2, 1), 5);
    stage.undo();
    stage.replaceAll(5, TileBlock{2, 1, {2, 3}});
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_NE(stage.cell(x, y), 5) << x << "," << y;
    EXPECT_EQ(stage.cell(19, 0), 3);
    EXPECT_EQ(stage.cell(18, 14), 2);
    EXPECT_EQ(stage.cell(12, 2), 8);

    stage.undo();
    stage.undo();
    stage.undo();
    EXPECT_EQ(cells(), rooms);
    EXPECT_EQ(steps(), 5);
}

const EntityRecord kA{30, 1, 1, 2, 3, 4}, kB{31, 2, 5, 6, 7, 8};

TEST_F(RegionEditTest, APasteIsClippedAndItsEntitiesAppendedUpToTheLimit)
{
    const EntityRecords before = stage.records();
    ASSERT_EQ(stage.entityCount(), 7);
    const TileBlock block = stage.copyBlock(QRect(1, 1, 3, 2));
    ASSERT_EQ(block.tiles.size(), 6u);

    // Its right column falls off the map: one step for cells and entities.
    ASSERT_TRUE(stage.pasteBlock(QPoint(18, 13), TileBlock{3, 2, {101, 102, 103, 104, 105, 106}}, {kA, kB}).ok());
    EXPECT_EQ(stage.cell(18, 13), 101);
    EXPECT_EQ(stage.cell(19, 13), 102);
    EXPECT_EQ(stage.cell(18, 14), 104);
    EXPECT_EQ(stage.cell(19, 14), 105);
    EXPECT_EQ(stage.entityCount(), 9);
    EXPECT_EQ(stage.record(7), kA);
    EXPECT_EQ(stage.record(8), kB);
    EXPECT_EQ(stage.record(6), before[6]);
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(signalled, std::vector<size_t>{4});
    const QByteArray pasted = stage.mapFileBytes();
    stage.undo();
    EXPECT_EQ(stage.entityCount(), 7);
    EXPECT_EQ(stage.records(), before);
    EXPECT_FALSE(stage.isModified());
    stage.redo();
    EXPECT_EQ(stage.mapFileBytes(), pasted);
    EXPECT_EQ(stage.record(8), kB);

    // Beyond 342 nothing changes and the refusal says why.
    stage.changeEntityCount(341);
    const Outcome refused = stage.pasteBlock(QPoint(0, 0), block, {kA, kB});
    EXPECT_EQ(refused.refusal(),
              QStringLiteral("The paste holds 2 entities; with the stage's 341 there would be more than 342."));
    EXPECT_EQ(stage.mapFileBytes(), pasted);
    EXPECT_EQ(steps(), 2);
    EXPECT_TRUE(stage.pasteBlock(QPoint(0, 0), block, {kA}).ok());
    EXPECT_EQ(stage.entityCount(), 342);
}

TEST_F(RegionEditTest, ClearingAndEntityStepsPutBackTheExactRecords)
{
    const EntityRecords start = stage.records();
    ASSERT_EQ(stage.record(0), (EntityRecord{2, 2, 0, 200, 1, 0}));
    EXPECT_EQ(stage.entitiesIn(QRect(0, 0, 6, 10)), (std::vector<int>{0, 1, 5}));

    // Entities 0 at (2, 2) and 5 at (1, 4) go with their cells; the rest
    // move down.
    stage.clearRegion(QRect(0, 0, 4, 5), true);
    EXPECT_EQ(stage.entityCount(), 5);
    EXPECT_EQ(stage.record(0), start[1]);
    EXPECT_EQ(stage.record(3), start[4]);
    EXPECT_EQ(stage.record(4), start[6]);
    EXPECT_EQ(stage.copyBlock(QRect(0, 0, 4, 5)).tiles, std::vector<quint8>(20, 0));
    EXPECT_EQ(steps(), 1);
    stage.undo();
    EXPECT_EQ(stage.records(), start);
    EXPECT_EQ(stage.entityCount(), 7);
    stage.clearRegion(QRect(0, 0, 4, 5), false);
    EXPECT_EQ(stage.entityCount(), 7);
    EXPECT_EQ(stage.record(0), start[0]);
    stage.undo();

    // Put in, taken out, each undone and redone.
    ASSERT_TRUE(stage.insertEntity(1, kA).ok());
    EXPECT_EQ(stage.entityCount(), 8);
    EXPECT_EQ(stage.record(0), start[0]);
    EXPECT_EQ(stage.record(1), kA);
    EXPECT_EQ(stage.record(7), start[6]);
    const EntityRecords inserted = stage.records();
    stage.removeEntity(0);
    EXPECT_EQ(stage.entityCount(), 7);
    EXPECT_EQ(stage.record(0), kA);
    EXPECT_EQ(stage.record(6), start[6]);
    stage.undo();
    EXPECT_EQ(stage.records(), inserted);
    stage.undo();
    EXPECT_EQ(stage.records(), start);
    EXPECT_EQ(stage.entityCount(), 7);
    EXPECT_FALSE(stage.isModified());
    stage.redo();
    EXPECT_EQ(stage.records(), inserted);
    EXPECT_EQ(stage.entityCount(), 8);

    // Several taken out at once, named in any order and repeated: one
    // step, the rest keeping their order; nothing valid is no step.
    stage.undo();
    const auto step = [this] { return stage.history().Stack().index(); };
    const int before = step();
    const std::vector<int> several{5, 0, 5, 99, -1, 2};
    stage.removeEntities(several);
    EXPECT_EQ(step(), before + 1);
    EXPECT_EQ(stage.entityCount(), 4);
    EXPECT_EQ(stage.record(0), start[1]);
    EXPECT_EQ(stage.record(1), start[3]);
    EXPECT_EQ(stage.record(3), start[6]);
    stage.undo();
    EXPECT_EQ(stage.records(), start);
    EXPECT_EQ(stage.entityCount(), 7);
    const std::vector<int> none{7, -3};
    stage.removeEntities(none);
    EXPECT_EQ(stage.entityCount(), 7);
    EXPECT_EQ(step(), before);

    EXPECT_FALSE(stage.insertEntity(9, kB).ok()); // past the count
    stage.changeEntityCount(342);
    EXPECT_FALSE(stage.insertEntity(0, kB).ok());
    EXPECT_EQ(stage.entityCount(), 342);
}

} // namespace
} // namespace vorn

namespace vorn {
namespace {

// Every anchor on a map grown by 4 x 2 and cut by 4 x 2: cells and entities
// move with the anchor, cut entities go, and undo gives everything back.
TEST_F(RegionEditTest, ResizeFromEveryAnchorMovesCellsAndEntitiesAndUndoes)
{
    const std::vector<quint8> before = cells();
    const qint16 count = stage.entityCount();
    ASSERT_GT(count, 0);
    const EntityRecord first = stage.record(0);
    for (int ay = 0; ay < 3; ++ay) {
        for (int ax = 0; ax < 3; ++ax) {
            for (const int grow : {4, -4}) {
                const int w = 20 + grow, h = 15 + grow / 2;
                const int dx = ax == 0 ? 0 : ax == 1 ? grow / 2 : grow;
                const int dy = ay == 0 ? 0 : ay == 1 ? grow / 4 : grow / 2;
                const StageDocument::ResizeCut cut = stage.resizeCut(w, h, ax, ay);
                stage.resizeAnchored(w, h, ax, ay);
                ASSERT_EQ(stage.width(), w);
                ASSERT_EQ(stage.height(), h);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const int fx = x - dx, fy = y - dy;
                        const bool was = fx >= 0 && fx < 20 && fy >= 0 && fy < 15;
                        ASSERT_EQ(stage.cell(x, y), was ? before[size_t(fy * 20 + fx)] : 0) << ax << ay << grow;
                    }
                EXPECT_EQ(stage.entityCount(), count - cut.entities);
                if (grow > 0) {
                    EXPECT_EQ(cut.entities + cut.tiles, 0);
                    EXPECT_EQ(stage.record(0).X, first.X + dx);
                    EXPECT_EQ(stage.record(0).Y, first.Y + dy);
                }
                stage.undo();
                ASSERT_EQ(stage.width(), 20);
                ASSERT_EQ(cells(), before);
                ASSERT_EQ(stage.entityCount(), count);
                ASSERT_EQ(stage.record(0), first);
            }
        }
    }
}

} // namespace
} // namespace vorn
