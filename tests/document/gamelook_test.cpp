// The map as the game draws it on a stage's first frame: each kind of first
// frame against the sheet's own pixels at its place, and the tiles the game
// draws in front of the entities, the star and the current dots over them.
#include "mapdrawing.h"
#include "entityspawn.h"
#include "spritedrawing.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

constexpr QRgb kGrey = 0xFF808080u; // the backdrop
constexpr QRgb kRed = 0xFFFF0000u;
constexpr QRgb kGreen = 0xFF00FF00u;
constexpr QRgb kDot = 0xFFB7B7FFu;

// Every pixel tells where it came from, and none is black.
QImage CodedSheet()
{
    QImage sheet(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            sheet.setPixel(x, y, qRgb(x % 256, y, 1 + x / 256));
    return sheet;
}

struct Stage {
    Stage()
    {
        // Tile 1 (type 0x41, in front): its right half red. Tile 2 (0x43):
        // green. Tile 3 (0x80, wind left, never drawn): green.
        tileset.fill(Qt::black);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                if (x >= 8)
                    tileset.setPixel(16 + x, y, kRed);
                tileset.setPixel(32 + x, y, kGreen);
                tileset.setPixel(48 + x, y, kGreen);
            }
        mask = CreateMaskImage(tileset, qRgb(0, 0, 0));
        backdrop.fill(kGrey);
        types[1] = 0x41;
        types[2] = 0x43;
        types[3] = 0x80;
        sheets.byNumber[kSheetNpcSym] = CodedSheet();
        sheets.byNumber[kSheetStageNpc1] = CodedSheet();
        sheets.byNumber[kSheetNpcSym].setPixel(260, 50, qRgb(0, 0, 0)); // a hole in the star
        QImage caret(320, 240, QImage::Format_RGB32);
        caret.fill(Qt::black);
        caret.setPixel(230, 52, kDot); // cell pixel (4, 4) on the first frame, flowing left
        sheets.byNumber[kSheetCaret] = caret;
        table.resize(kShippedEntityTypes);
        for (NpcType& type : table) {
            type.sheet = kSheetStageNpc1;
            type.view = {8, 8, 8, 8};
        }
        table[211].sheet = kSheetNpcSym;
        table[24].view = {12, 12, 12, 12};
    }
    QImage draw(int count, int zoom = 16)
    {
        MapScene scene{&tileset, &mask, &backdrop, &grid, 8, 4};
        const TileLooks looks = GameTileLooks(scene, types, sheets);
        scene.looks = &looks;
        const QRect area(QPoint(0, 0), MapPixelSize(scene, zoom));
        QImage target(area.size(), QImage::Format_RGB32);
        RenderMap(scene, zoom, target, area, kGrey);
        DrawSprites(target, area, zoom, area.size(), count, records, sheets, table, &scene);
        return target;
    }

    QImage tileset{256, 16, QImage::Format_RGB32};
    QImage mask;
    QImage backdrop{16, 16, QImage::Format_RGB32};
    TileGrid grid;
    TileTypes types{};
    SpriteSheets sheets;
    NpcTable table;
    EntityRecords records{};
};

// The sheet's `frame` stands at `topLeft` of `drawn`, pixel for pixel.
bool Shows(const QImage& drawn, QPoint topLeft, const QImage& sheet, const QRect& frame)
{
    return drawn.copy(QRect(topLeft, frame.size())) == sheet.copy(frame);
}

TEST(GameLook, EachKindOfFirstFrameIsDrawnAtItsPlace)
{
    Stage s;
    s.records[0] = {1, 1, 0, 0, 24, 0}; // moved 3 px down
    s.records[1] = {3, 1, 0, 0, 9, 0}; // Balrog dropping in: frame 2
    s.records[2] = {6, 0, 0, 2, 211, 0}; // spikes, orientation 2
    s.records[3] = {5, 3, 0, 0, 17, 0}; // a life refill shows nothing yet
    s.records[4] = {6, 3, 0, 9, 211, 0}; // no such orientation
    const QImage drawn = s.draw(5);
    const QImage& npc = s.sheets.byNumber[kSheetStageNpc1];
    const QImage& sym = s.sheets.byNumber[kSheetNpcSym];
    EXPECT_TRUE(Shows(drawn, QPoint(16 + 8 - 12, 16 + 8 - 12 + 3), npc, QRect(0, 0, 24, 24)));
    EXPECT_TRUE(Shows(drawn, QPoint(48, 16), npc, QRect(120, 0, 40, 24)));
    EXPECT_TRUE(Shows(drawn, QPoint(96, 0), sym, QRect(288, 200, 16, 16)));
    const QImage empty = Stage().draw(0);
    EXPECT_EQ(drawn.copy(80, 48, 32, 16), empty.copy(80, 48, 32, 16));
    EXPECT_FALSE(PlaceSprite(s.records[3], s.sheets, s.table, SpriteMoment::FirstFrame));
    EXPECT_FALSE(PlaceSprite(s.records[4], s.sheets, s.table, SpriteMoment::FirstFrame));
    // At rest, as the types window shows it: unmoved.
    EXPECT_EQ(PlaceSprite(s.records[0], s.sheets, s.table)->topLeft, QPoint(12, 12));

    // Facing right: the right frame, moved by the right offset.
    s.records[0].Unknown = 0x1000;
    EXPECT_TRUE(Shows(s.draw(1), QPoint(12, 15), npc, QRect(0, 24, 24, 24)));
    s.records[0] = {1, 1, 0, 0, 0, 0x1000}; // moved a cell down only facing right
    EXPECT_EQ(PlaceSprite(s.records[0], s.sheets, s.table, SpriteMoment::FirstFrame)->topLeft, QPoint(16, 32));

    // The tooltip's line says so, facing the way the entity faces.
    EXPECT_EQ(FirstFrameNote(0, true, 0), QStringLiteral("Drawn 16 px lower: the game moves it on its first frame"));
    EXPECT_EQ(FirstFrameNote(0, false, 0), QString());
    // Placed from a stage file without the entity that spawns it, the game crashes.
    EXPECT_EQ(FirstFrameNote(53, false, 0), QStringLiteral("Crashes the game: it needs the entity that spawns it"));
    EXPECT_EQ(FirstFrameNote(270, true, 0), FirstFrameNote(53, false, 0));
    EXPECT_NE(FirstFrameNote(270, false, 0), FirstFrameNote(53, false, 0));
    EXPECT_EQ(FirstFrameNote(112, false, 0),
              QStringLiteral("Shown as its marker: the game draws nothing of it on its first frame"));
}

TEST(GameLook, TilesInFrontStarsAndCurrentsCoverTheEntities)
{
    Stage s;
    s.grid.at(1, 1) = 1;
    s.grid.at(2, 1) = 2;
    s.grid.at(3, 1) = 3;
    // A Balrog whose 40 x 24 frame spans the three cells from (20, 16).
    s.table[9].view = {4, 8, 4, 16};
    s.records[0] = {1, 1, 0, 0, 9, 0};
    for (const int zoom : {16, 32}) {
        const QImage drawn = s.draw(1, zoom);
        const QImage& npc = s.sheets.byNumber[kSheetStageNpc1];
        const QImage& star = s.sheets.byNumber[kSheetNpcSym];
        const auto at = [&](int x, int y) { return drawn.pixel(x * zoom / 16, y * zoom / 16); };
        EXPECT_EQ(at(20, 20), npc.pixel(120, 4)); // through the front tile's black
        EXPECT_EQ(at(24, 20), kRed); // the front tile over the sprite
        EXPECT_EQ(at(35, 20), star.pixel(256 + 3, 48 + 4)); // the star over its tile
        EXPECT_EQ(at(36, 18), kGreen); // through the star's hole its block, in front too
        EXPECT_EQ(at(52, 20), kDot); // the current's dot
        EXPECT_EQ(at(51, 20), npc.pixel(120 + 31, 4)); // the sprite over the dimmed tile
        EXPECT_EQ(at(60, 20), qRgb(0x40, 0xBF, 0x40)); // the dimmed tile over the backdrop
    }
}

} // namespace
} // namespace vorn
