// Clipboard text as a paste reads it: a read copy writes text that reads
// back the same, and placing it anywhere keeps every entity on the map.
#include "cellsclip.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = InputBytes(data, size);
    const std::optional<vorn::CellsClip> clip = vorn::CellsClip::fromText(QString::fromUtf8(input));
    if (!clip)
        return 0;
    FUZZ_CHECK(clip->cells.valid());
    const std::optional<vorn::CellsClip> again = vorn::CellsClip::fromText(clip->toText());
    FUZZ_CHECK(again && again->cells == clip->cells && again->entities == clip->entities &&
               again->tileset == clip->tileset);
    // A place and a map size taken from the input's first bytes.
    const int x = size > 1 ? int(qint8(data[0])) * 300 : 0;
    const int y = size > 1 ? int(qint8(data[1])) * 300 : 0;
    for (const vorn::EntityRecord& e : clip->entitiesAt(QPoint(x, y), 513, 200))
        FUZZ_CHECK(e.X >= 0 && e.X < 513 && e.Y >= 0 && e.Y < 200);
    return 0;
}
