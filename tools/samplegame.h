#pragma once
#include <QString>

namespace vorn {

// Writes a complete, original game folder into `dir` (created when
// missing): a stand-in Doukutsu.exe holding the stage table, stage maps,
// entity files, scripts, tilesets, backdrops and sprite sheets, some with
// the mixed letter case of folders copied from Windows.
// Returns an empty text on success, else the reason.
QString WriteSampleGame(const QString& dir);

// Stage indices of the sample game that tests and the benchmark rely on.
constexpr int kSampleSmallStage = 13;   // 20 x 15 map, the default stage
constexpr int kSampleWideStage = 14;    // at least 200 x 100, over 150 entities
constexpr int kSampleHugeStage = 15;    // 513 x 513, 256 entities
constexpr int kSampleSmallTilesetStage = 16; // 128 x 64 tileset
constexpr int kSampleFullTitleStage = 17;    // title of all 32 characters

} // namespace vorn
