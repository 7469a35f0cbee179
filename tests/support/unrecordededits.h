#pragma once
// Sets up an open stage's cells and entities without a step of its history,
// as a stage read from files would hold them.
#include "stagedocument.h"

namespace vorn {

struct UnrecordedEdits {
    static void setCell(StageDocument& stage, int x, int y, quint8 tile) { stage.setCell(x, y, tile); }
    static void setRecord(StageDocument& stage, int index, const EntityRecord& record)
    {
        stage.setRecord(index, record);
    }
    static void setEntityCount(StageDocument& stage, qint16 count) { stage.setEntityCount(count); }
};

} // namespace vorn
