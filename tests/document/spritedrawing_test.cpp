// Entities drawn as their sprites, on a type table and sheets made here so
// every pixel is known: the view box places the frame, facing either way,
// the map's own pixel mapping scales it, and what has no sprite draws nothing.
#include "spritedrawing.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

constexpr QRgb kGrey = 0xFF808080u; // what lay under the sprites

// Behemoth (type 2) rests at (32,0)-(64,24) facing left and (32,24)-(64,48)
// facing right on the stage's first sheet; the experience crystal (type 1)
// at (0,16)-(16,32) on NpcSym. Each sheet pixel tells where it came from.
QImage NpcSheet(int width = 64)
{
    QImage sheet(width, 48, QImage::Format_RGB32);
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            sheet.setPixel(x, y, qRgb(x * 4, y * 4, 200));
    sheet.setPixel(40, 5, qRgb(0, 0, 0)); // a hole in the left frame
    return sheet;
}
QRgb Npc(int x, int y) { return qRgb(x * 4, y * 4, 200); }

constexpr QRgb kCrystal = 0xFF0AFA0Au;

struct Scene {
    Scene()
    {
        sheets.byNumber[kSheetStageNpc1] = NpcSheet();
        QImage crystal(16, 32, QImage::Format_RGB32);
        crystal.fill(kCrystal);
        crystal.setPixel(3, 19, qRgb(0, 0, 0));
        sheets.byNumber[kSheetNpcSym] = crystal;
        table.resize(4);
        table[1].sheet = kSheetNpcSym;
        table[1].view = {8, 8, 8, 8};
        table[2].sheet = kSheetStageNpc1;
        table[2].view = {20, 8, 12, 16}; // front, top, back, bottom: not centred
        // A map of 4 x 6 cells.
        records[0] = {2, 1, 0, 0, 2, 0}; // facing left: top-left (32 - 12, 16 + 0)
        records[1] = {3, 5, 0, 0, 2, 0x1000}; // facing right: (48 - 4, 80), cut by the map's edges
        records[2] = {2, 1, 0, 0, 1, 0}; // later, over the first: (32, 16)
        records[3] = {0, 3, 0, 0, 2, 0}; // (-12, 48): its left part lies off the map
    }
    // The pixels at `zoom` of `area` of the map, over grey.
    QImage draw(int zoom, const QRect& area, int count = 4) const
    {
        QImage target(area.size(), QImage::Format_RGB32);
        target.fill(kGrey);
        DrawSprites(target, area, zoom, QSize(4 * zoom, 6 * zoom), count, records, sheets, table);
        return target;
    }
    SpriteSheets sheets;
    NpcTable table;
    EntityRecords records{};
};

TEST(SpriteDrawing, TheViewBoxPlacesTheFrameAtEveryZoomWithinTheMap)
{
    const Scene s;
    const QImage at16 = s.draw(16, QRect(0, 0, 80, 112));
    EXPECT_EQ(at16.pixel(20, 16), Npc(32, 0)); // facing left
    EXPECT_EQ(at16.pixel(19, 16), kGrey);
    EXPECT_EQ(at16.pixel(51, 39), Npc(63, 23));
    EXPECT_EQ(at16.pixel(52, 39), kGrey);
    EXPECT_EQ(at16.pixel(51, 40), kGrey);
    EXPECT_EQ(at16.pixel(28, 21), kGrey); // black is transparent
    EXPECT_EQ(at16.pixel(32, 16), kCrystal); // the later record in front
    EXPECT_EQ(at16.pixel(35, 19), Npc(47, 3)); // through the crystal's black
    EXPECT_EQ(at16.pixel(0, 48), Npc(44, 0)); // off the map's left edge: the rest
    EXPECT_EQ(at16.pixel(44, 80), Npc(32, 24)); // facing right
    EXPECT_EQ(at16.pixel(63, 95), Npc(51, 39)); // the map's last pixel
    EXPECT_EQ(at16.pixel(64, 95), kGrey); // beyond the map, though the target goes on
    EXPECT_EQ(at16.pixel(63, 96), kGrey);

    // Zoom 32, an area away from the map's corner: each source pixel 2 x 2.
    const QImage at32 = s.draw(32, QRect(32, 24, 100, 100));
    EXPECT_EQ(at32.pixel(40 - 32, 32 - 24), Npc(32, 0));
    EXPECT_EQ(at32.pixel(41 - 32, 33 - 24), Npc(32, 0));
    EXPECT_EQ(at32.pixel(42 - 32, 32 - 24), Npc(33, 0));
    EXPECT_EQ(at32.pixel(39 - 32, 32 - 24), kGrey);
    EXPECT_EQ(at32.pixel(57 - 32, 43 - 24), kGrey); // the hole, grown

    // Zoom 8: every second source pixel.
    const QImage at8 = s.draw(8, QRect(0, 0, 40, 56));
    EXPECT_EQ(at8.pixel(10, 8), Npc(32, 0));
    EXPECT_EQ(at8.pixel(11, 8), Npc(34, 0));
    EXPECT_EQ(at8.pixel(9, 8), kGrey);
    EXPECT_EQ(at8.pixel(22, 40), Npc(32, 24));
    EXPECT_EQ(at8.pixel(31, 47), Npc(50, 38));
    EXPECT_EQ(at8.pixel(32, 47), kGrey);
    EXPECT_EQ(at8.pixel(31, 48), kGrey);

    // A sheet too narrow for the frame: what it holds stays in its place.
    Scene cut;
    cut.sheets.byNumber[kSheetStageNpc1] = NpcSheet(48);
    const QImage narrow = cut.draw(16, QRect(0, 0, 80, 112), 1);
    EXPECT_EQ(narrow.pixel(20, 16), Npc(32, 0));
    EXPECT_EQ(narrow.pixel(35, 16), Npc(47, 0));
    EXPECT_EQ(narrow.pixel(36, 16), kGrey);
}

TEST(SpriteDrawing, WhatHasNoSpriteDrawsNothing)
{
    Scene s;
    s.table.resize(400);
    s.records[0] = {1, 1, 0, 0, 3, 0}; // a frame of zeros
    s.records[1] = {1, 1, 0, 0, 361, 0}; // in the table, beyond the frames known
    s.records[2] = {1, 1, 0, 0, 1, 0}; // its sheet missing
    s.records[3] = {1, 1, 0, 0, 2, 0x1000};
    s.table[2].sheet = kSheetStageNpc2; // on a sheet the stage does not have
    s.sheets.byNumber.erase(kSheetNpcSym);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(PlaceSprite(s.records[size_t(i)], s.sheets, s.table)) << i;
    const QImage drawn = s.draw(16, QRect(0, 0, 64, 96));
    QImage grey(drawn.size(), QImage::Format_RGB32);
    grey.fill(kGrey);
    EXPECT_EQ(drawn, grey);
}

} // namespace
} // namespace vorn
