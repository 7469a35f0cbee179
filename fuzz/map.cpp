// A map file as it is read: a read that succeeds and an unedited write give
// the file back; one that fails leaves the map alone.
#include "fuzzcheck.h"
#include "mapfile.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = InputBytes(data, size);
    QBuffer device;
    device.setData(input);
    device.open(QIODevice::ReadOnly);
    // Kept between runs: a fresh 513 x 513 grid each time would cost more
    // than the read.
    static vorn::MapData map;
    map.width = -1;
    map.height = 0;
    if (!vorn::ReadMap(device, QStringLiteral("x.pxm"), map).ok()) {
        FUZZ_CHECK(map.width == -1 && map.height == 0);
        return 0;
    }
    FUZZ_CHECK(device.pos() == 8 + qint64(map.width) * map.height);
    FUZZ_CHECK(vorn::ComposeMapFile(input, map) == input);
    return 0;
}
