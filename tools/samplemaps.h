#pragma once
// The sample game's distinct stages: their tile maps, entities and scripts.
#include "entityfile.h"

#include <QByteArray>
#include <vector>

namespace vorn::sample {

// The second entity sheet stage 17 names; no file of it is written.
inline constexpr char kMissingSheetName[] = "Lantern";

struct SampleMap {
    int stage = 0; // the record that introduces it
    QByteArray name; // "data\stage\" + name + ".pxm" / ".pxe" / ".tsc"
    QByteArray tileset; // record name; the file may differ in case
    QByteArray backdrop;
    QByteArray spriteSet; // NPC sheet 1
    QByteArray sheet2; // NPC sheet 2: "0" or empty for none
    QByteArray title;
    qint32 parallax = 0;

    int width = 0;
    int height = 0;
    QByteArray cells; // width * height tile numbers, row after row
    QByteArray mapTail; // bytes behind the cells
    std::vector<EntityRecord> entities; // the first `entityCount` are counted
    int entityCount = 0;
    QByteArray script; // plain text; scrambled on writing
};

std::vector<SampleMap> SampleMaps();

} // namespace vorn::sample
