#pragma once
#include "outcome.h"

#include <QString>

namespace vorn {

// Writes a complete, original game folder into `dir` (created when
// missing; existing files of the same names are overwritten): a stand-in
// Doukutsu.exe holding the stage table, stage maps, entity files, scripts,
// tilesets and their tile types, backdrops, the entity type table and
// sprite sheets, some with the mixed letter case of folders copied from
// Windows. Takes a few milliseconds.
// Refused with the reason when a file cannot be written. With Japanese titles
// the stage table holds titles of its own in Shift-JIS, as the Japanese
// game does; everything else is the same.
enum class SampleTitles { English, Japanese };
Outcome WriteSampleGame(const QString& dir, SampleTitles titles = SampleTitles::English);

// Stage indices of the sample game that tests and the benchmark rely on.
constexpr int kSampleSmallStage = 13; // 20 x 15 map, the default stage
constexpr int kSampleWideStage = 14; // 224 x 112, 180 entities
constexpr int kSampleHugeStage = 15; // 513 x 513, 256 entities
constexpr int kSampleSmallTilesetStage = 16; // 128 x 64 tileset, no tile type file
constexpr int kSampleFullTitleStage = 17; // title of all 32 characters
constexpr int kSampleTailStage = 18; // map and entity files with bytes behind
constexpr int kSampleNoEntityStage = 19; // entity count 0
constexpr int kSampleMissingSheet2Stage = 17; // names a second entity sheet with no file

// Entities of stage 13 (kSampleSmallStage).
constexpr int kSampleOffCentreEntity = 1; // Behemoth: view box top 16, bottom 8
constexpr int kSampleRightFacingEntity = 4; // Toroko: last field 0x1100
constexpr int kSampleZeroFrameEntity = 6; // type 3: a 0 x 0 frame, no sprite
// Entities of stage 17 (kSampleMissingSheet2Stage).
constexpr int kSampleUnknownTypeEntity = 0; // type 400, beyond the shipped types
constexpr int kSampleMissingSheetEntity = 1; // type 233, whose sheet is the missing one
constexpr int kSampleTilesetEntity = 2; // type 149, drawn from the tileset
// Type 0's frame, NpcSym (0,0)-(16,16), is left black as the game's sheet
// leaves it: every other frame the sample uses holds a picture.
constexpr int kSampleBlankFrameType = 0;

// What the folder holds.
//
// Layout (as a copy from Windows spells it):
//   Doukutsu.exe      655360 bytes: a text note, pseudo-random filler, the
//                     stage table at 604080. Every record's 3 trailing slot
//                     bytes are non-zero; its boss number (byte 164) is 0.
//   data/Stage/       maps, entity files, scripts, tilesets, Grotto.pxa and
//                     foundry.pxa (tile types; Pebble has none)
//   data/Npc/         stage sheets NpcCommon.pbm (4-bit), NpcForest.pbm
//                     (1-bit), npcMech.pbm (8-bit), each 272 x 160;
//                     NpcSym.pbm 320 x 144, NpcRegu.pbm 240 x 128 (4-bit)
//   data/MyChar.pbm 16 x 32, data/Caret.pbm 80 x 128, data/ItemImage.pbm
//                     48 x 128 (4-bit)
//   data/npc.tbl      361 entity types
//   data/Head.tsc, data/ArmsItem.tsc, data/StageSelect.tsc  the shared scripts
//   data/bk*.pbm      bkDusk 48 x 64 (8-bit), bkLattice 64 x 64 (1-bit),
//                     bkTide 96 x 80 (24-bit), bkEmber 40 x 56 (4-bit)
//
// Tilesets (records name them without "prt"):
//   "Grotto"  PrtGrotto.pbm   256 x 240, 4-bit; "Prt" so only a
//                             case-insensitive lookup finds it
//   "Foundry" prtFoundry.pbm  256 x 240, 8-bit
//   "Pebble"  prtPebble.pbm   128 x 64, 24-bit: tiles t with (t AND 15) < 8
//                             and t < 64 lie inside; 8-15, 64 and up outside
//
// The first row of every tileset holds the same fixed tiles (colours are
// the tileset's own; "black" is exactly (0,0,0), "shade" exactly (0,0,1)):
//   0  all black: shows only backdrop
//   1  rock, opaque: no black pixel
//   2  all shade: opaque, covers the backdrop
//   3  left half (x 0-7) opaque rock, right half (x 8-15) black
//   4  ledge: rows 0-7 opaque (row 7 shade), rows 8-15 black
//   5  frame: 1-pixel border, PrtGrotto (248,248,248), inside black
//   6  checker: pixel (x, y) shade where x + y is odd, black where even
//   7  brick, opaque
//   8-15  grass top, spikes, ladder, water, gold gem, plant, crate, pipe
// and in the big tilesets tile 26 (square at 160,16) is a red gem: pixel
// (0,0) black, pixel (8,8) red, PrtGrotto (200,48,48). Tiles 240-255 lie
// below the big tilesets. Backdrops hold no black pixel at all;
// bkLattice's pixel (0,0) is (72,136,152) and (8,0) is (24,56,72).
//
// Tile types (Grotto.pxa and foundry.pxa alike but for plain water, 0x02
// in Grotto and 0x60 in Foundry; tiles 240-255 are 0):
//   row 0   0 0x00, 1-4 0x41, 5 0x03, 6 0x44, 7-8 0x41, 9 0x42, 10 0x00,
//           11 water, 12-13 0x00, 14 0x43, 15 0x41
//   rows 1-12 and 232-239, pictures in runs of four: rock, brick, grass,
//           pipe and ledge 0x41; spikes 0x42; crates 0x43; plain water as
//           above; surface water 0x60; floor slopes 0x54-0x57 (tiles 52-55)
//           and ceiling slopes 0x50-0x53 (tiles 56-59), one type per tile
//           of the run, drawn along the game's surface; the rest 0x00
//   row 13  208-211 wind 0x80-0x83, 212-215 currents 0xA0-0xA3, 216 0x61,
//           217 0x62, 218 0x64, 219 0x04, 220 0x05, 221 0x46, 222 0x03,
//           223 0x1F (a value the game gives no meaning)
//   224-231 the slopes in water, 0x70-0x77
// So Grotto.pxa holds every type the game knows.
//
// Entity sheets hold pictures at the resting frames (facing left, and
// mirrored at the facing-right frame where a type has its own) of every
// type the sample places, on black; each is just large enough for them.
// The three stage sheets hold the frames of both stage sheet numbers, so
// each serves as a stage's first or second sheet. npc.tbl gives each type
// its shipped sheet and a view box centring its frame on the cell, except
// Behemoth (2) {16,16,16,8}, door (18) and computer (20) standing on the
// floor, gunfish (236) {14,12,10,12} and little family (278) {4,0,4,8}.
//
// Stages (index: map, tileset, backdrop, size, entities, entity sheets):
//   12 Burrow  Foundry bkDusk    50 x 40   30  Forest, "0"
//   13 Hollow  Grotto  bkDusk    20 x 15    7  Common, Forest; title
//              "Mossy Hollow", parallax 1
//   14 Ledges  Foundry bkEmber  224 x 112 180  Mech, Common
//   15 Expanse Grotto  bkLattice 513 x 513 256 Forest, Mech
//   16 Nook    Pebble  bkTide    24 x 16   12  Common, "0"; cells (1,1)
//              (2,1) (3,1) hold tiles 8, 64, 255 (outside the tileset),
//              (4,1) tile 7
//   17 Ridge   Grotto  bkTide    64 x 24   20  Forest, "Lantern" (no such
//              file); title "Lanterns Along The Winding Ridge" (32
//              characters, no NUL)
//   18 Sluice  Foundry bkLattice 40 x 30   6 counted, 2 more records behind
//              the count; the map file has 16 bytes behind its cells;
//              Mech, "" (no second sheet)
//   19 Vault   Grotto  bkEmber   30 x 20    0  Common, Mech
// Every other record reuses one of the maps of 64 x 64 cells or fewer, with
// its own title and backdrop and the entity sheets of the map's stage
// (those reusing Ridge name Mech second); record 40's title holds the
// Windows-1252 byte 0xE9 ("Caf\xE9 Under The Falls"), record 41's is
// "  Drifting Spores  ".
// The generated stages' entities take types at random from those the sample
// draws, from every sheet but, where a stage names none, the second.
// Stage 17's first four entities, standing on the ground in columns 3, 6,
// 9 and 12: type 400 (unknown), 233 (on the missing second sheet, facing
// right), 149 (the tileset's) and 183 (Caret).
//
// Stage 13's map: row 0, row 14, column 0 and column 19 are tile 1; cell
// (1,1) is tile 0, (2,2) tile 12, (13,2) tile 26, (3,3) tile 5, (4,3)
// tile 6, (14,9) tile 2. Ceiling slopes 0x52 0x53 0x50 0x51 hang at
// (14-17,1); a mound of floor slopes 0x56 0x57, rock, 0x54 0x55 stands at
// (13-17,11) with spikes at (18,11); a pool has surface water 0x60 at
// (6-12,12) and below it floor slopes in water 0x74 0x75 at (6-7,13), water
// at (8,13) and (10,13), spikes in water at (9,13), 0x76 0x77 at (11-12,13).
// Its entities (X, Y, Flag, TSC, Type, Unknown), one from each sheet but
// the Caret's and the tileset's:
//   0: 2 2 0 200 1 0          experience crystal, NpcSym
//   1: 5 9 0 100 2 0          Behemoth, stage sheet 1, standing on its cell
//   2: 17 5 501 300 150 0     Quote, MyChar
//   3: 10 13 -1 -20 236 -1    gunfish, stage sheet 2, faces right (all bits)
//   4: 11 2 0 0 60 4352       Toroko, NpcRegu, faces right (0x1100)
//   5: 1 4 7999 90 278 0      little family, ItemImage
//   6: 19 14 0 0 3 0          dead enemy placeholder: a 0 x 0 frame
// Every stage has a script whose plain text starts "#0090\r\n<MNA", with an
// event for each of its entities' event numbers. Two faults are left in on
// purpose: stage 13's gunfish has event -20, which no script can hold, and
// stage 17's welcome row is 44 columns wide. Stage 13's event 0400 sets flag
// 501, changes the entities of event 300 to type 60 and goes to stage 12's
// event 0090. data/Head.tsc, data/ArmsItem.tsc and data/StageSelect.tsc are
// small and clean.

} // namespace vorn
