#pragma once
#include "outcome.h"

#include <QString>

namespace vorn {

// Writes a complete, original game folder into `dir` (created when
// missing; existing files of the same names are overwritten): a stand-in
// Doukutsu.exe holding the stage table, stage maps, entity files, scripts,
// tilesets, backdrops and sprite sheets, some with the mixed letter case of
// folders copied from Windows. Takes a few milliseconds.
// Refused with the reason when a file cannot be written. With Japanese titles
// the stage table holds titles of its own in Shift-JIS, as the Japanese
// game does; everything else is the same.
enum class SampleTitles { English, Japanese };
Outcome WriteSampleGame(const QString& dir, SampleTitles titles = SampleTitles::English);

// Stage indices of the sample game that tests and the benchmark rely on.
constexpr int kSampleSmallStage = 13;   // 20 x 15 map, the default stage
constexpr int kSampleWideStage = 14;    // 224 x 112, 180 entities
constexpr int kSampleHugeStage = 15;    // 513 x 513, 256 entities
constexpr int kSampleSmallTilesetStage = 16; // 128 x 64 tileset
constexpr int kSampleFullTitleStage = 17;    // title of all 32 characters
constexpr int kSampleTailStage = 18;    // map and entity files with bytes behind
constexpr int kSampleNoEntityStage = 19; // entity count 0

// What the folder holds.
//
// Layout (as a copy from Windows spells it):
//   Doukutsu.exe      655360 bytes: a text note, pseudo-random filler, the
//                     stage table at 604080. Every record's SpareByte,
//                     SpareName and 3 trailing slot bytes are non-zero.
//   data/Stage/       maps, entity files, scripts, tilesets
//   data/Npc/         NpcCommon.pbm (4-bit), NpcForest.pbm (1-bit),
//                     npcMech.pbm (8-bit)
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
// Stages (index: map, tileset, backdrop, size, entities):
//   12 Burrow  Foundry bkDusk    50 x 40   30
//   13 Hollow  Grotto  bkDusk    20 x 15    7  title "Mossy Hollow", parallax 1
//   14 Ledges  Foundry bkEmber  224 x 112 180
//   15 Expanse Grotto  bkLattice 513 x 513 256
//   16 Nook    Pebble  bkTide    24 x 16   12  cells (1,1) (2,1) (3,1) hold
//              tiles 8, 64, 255 (outside the tileset), (4,1) tile 7
//   17 Ridge   Grotto  bkTide    64 x 24   20  title
//              "Lanterns Along The Winding Ridge" (32 characters, no NUL)
//   18 Sluice  Foundry bkLattice 40 x 30   6 counted, 2 more records behind
//              the count; the map file has 16 bytes behind its cells
//   19 Vault   Grotto  bkEmber   30 x 20    0
// Every other record reuses one of the maps of 64 x 64 cells or fewer, with
// its own title and backdrop; record 40's title holds the Windows-1252
// byte 0xE9 ("Caf\xE9 Under The Falls"), record 41's is "  Drifting Spores  ".
//
// Stage 13's map: row 0, row 14, column 0 and column 19 are tile 1; cell
// (1,1) is tile 0, (2,2) tile 12, (13,2) tile 26, (3,3) tile 5, (4,3)
// tile 6, (14,9) tile 2. Its entities (X, Y, Flag, TSC, Type, Unknown):
//   0: 2 2 0 200 1 0        1: 5 9 0 100 2 0      2: 16 4 501 300 3 0
//   3: 9 10 -1 -20 5 -1     4: 18 1 0 0 12 256    5: 1 13 7999 90 20 0
//   6: 19 14 0 0 0 0
// Every stage has a script whose plain text starts "#0090\r\n<MNA".

} // namespace vorn
