// A tile type file's bytes: the types are its first 256 bytes, 0 for those
// it lacks, and a slope among them lies within its tile.
#include "fuzzcheck.h"
#include "tiletypes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = InputBytes(data, size);
    const vorn::TileTypes types = vorn::ParseTileTypes(input);
    for (int tile = 0; tile < vorn::kTileTypeCount; ++tile) {
        const quint8 type = types[size_t(tile)];
        FUZZ_CHECK(type == (tile < input.size() ? quint8(input[tile]) : 0));
        if (const auto slope = vorn::SlopeOf(type)) {
            FUZZ_CHECK(slope->leftY >= 0 && slope->leftY <= 16 && slope->rightY >= 0 && slope->rightY <= 16);
            FUZZ_CHECK(slope->leftY != slope->rightY);
        }
    }
    return 0;
}
