// The stage table inside the executable. The input is the executable from
// the table's offset on, after that many zero bytes: inputs shorter than
// the table (19000 bytes) take the too-short path, longer ones are read.
// Every record then becomes a stage list item, as at start-up, and the
// record that the input's first byte names (modulo 95) goes through what
// the properties dialog does with its fields.
#include "fuzzcheck.h"
#include "stagetable.h"

#include <QBuffer>
#include <cstring>

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Kept between runs so that the 604080 leading zeros are written once.
    static QByteArray image(kStageTableOffset, '\0');
    image.truncate(kStageTableOffset);
    image.append(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&image);
    device.open(QIODevice::ReadOnly);

    static const StageTable untouched = [] {
        StageTable table(kFreewareStageCount);
        for (StageRecord& record : table)
            record.bytes.fill('\x5A');
        return table;
    }();
    StageTable table = untouched;
    if (!ReadStageTable(device, table).ok()) {
        FUZZ_CHECK(size < size_t(kFreewareStageCount * kStageSlotSize) && table == untouched);
        return 0;
    }
    for (int i = 0; i < kFreewareStageCount; ++i) {
        FUZZ_CHECK(std::memcmp(table[i].bytes.data(), data + i * kStageSlotSize, kStageRecordSize) == 0);
        FUZZ_CHECK(StageListItemText(i, table[i]).size() >= 4);
    }

    const StageRecord& record = table[data[0] % kFreewareStageCount];
    for (const QByteArray& field :
         {record.tileset(), record.map(), record.backdrop(), record.spriteSet(), record.spareName(), record.title()}) {
        const QByteArray cut = CutAtNull(field);
        FUZZ_CHECK(field.size() == kNameSize && field.startsWith(cut) && !cut.contains('\0'));
        const QByteArray padded = PadName32(field);
        FUZZ_CHECK(padded.size() == kNameSize && PadName32(padded) == padded);
    }
    StageRecord edited = record;
    edited.setTitle(PadName32(record.title()));
    FUZZ_CHECK(edited.title() == PadName32(record.title()));
    FUZZ_CHECK(std::memcmp(edited.bytes.data(), record.bytes.data(), 165) == 0); // fields before it
    return 0;
}
