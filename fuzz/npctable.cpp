// The entity type table: a table that is read composes back to the same
// bytes; one that is refused leaves the table as it was. Every type's
// sprite lies where its view box puts it.
#include "entitysprite.h"
#include "fuzzcheck.h"
#include "npctable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = InputBytes(data, size);
    vorn::NpcTable table(1);
    table[0].bits = 0xBEEF;
    if (!vorn::ParseNpcTable(input, QStringLiteral("data\\npc.tbl"), table).ok()) {
        FUZZ_CHECK(table.size() == 1 && table[0].bits == 0xBEEF);
        return 0;
    }
    FUZZ_CHECK(table.size() == size_t(size) / vorn::kNpcTableBytesPerType);
    FUZZ_CHECK(vorn::ComposeNpcTable(table) == input);
    for (int type = 0; type < int(table.size()); ++type) {
        for (const bool right : {false, true}) {
            const auto sprite = vorn::SpriteOf(type, right, table);
            if (!sprite)
                continue;
            const vorn::NpcType& row = table[size_t(type)];
            FUZZ_CHECK(sprite->sheet == row.sheet);
            FUZZ_CHECK(sprite->offsetX == 8 - (right ? row.view.back : row.view.front));
            FUZZ_CHECK(sprite->offsetY == 8 - row.view.top);
        }
    }
    return 0;
}
