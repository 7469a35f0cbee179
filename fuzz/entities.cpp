// An entity file as it is read: a read that succeeds and an unedited write
// give the file back; one that fails changes nothing.
#include "entityfile.h"
#include "fuzzcheck.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = InputBytes(data, size);
    QBuffer device;
    device.setData(input);
    device.open(QIODevice::ReadOnly);
    qint16 count = -1;
    vorn::EntityRecords records{};
    if (!vorn::ReadEntities(device, QStringLiteral("x.pxe"), count, records).ok()) {
        FUZZ_CHECK(count == -1 && records == vorn::EntityRecords{});
        return 0;
    }
    for (int i = count; i < vorn::kMaxEntities; ++i)
        FUZZ_CHECK(records[i] == vorn::EntityRecord{}); // records past the count keep theirs
    FUZZ_CHECK(vorn::ComposeEntityFile(input, count, records) == input);
    return 0;
}
