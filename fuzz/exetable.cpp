// The executable read as a PE file for its stage table and picture
// extension: any bytes give a table of 1 to 1,000 records read from inside
// the file, or a refusal, never a crash; a table grown by one record reads
// back with that record.
#include "fuzzcheck.h"
#include "gamestagetable.h"
#include "peimage.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray exe(reinterpret_cast<const char*>(data), qsizetype(size));
    PeImage pe;
    if (ReadPeImage(exe, pe).ok()) {
        for (const PeSection& section : pe.sections)
            FUZZ_CHECK(section.rawSize == 0 || qint64(section.rawOffset) + section.rawSize <= exe.size());
    }
    QString note;
    const QString extension = PictureExtensionOf(exe, &note);
    FUZZ_CHECK(extension.size() == 3 && (extension == QLatin1String("pbm") || note.isEmpty()));

    StageTableFile table;
    if (!ReadExecutableStageTable(exe, table).ok())
        return 0;
    const qint64 count = qint64(table.records.size());
    FUZZ_CHECK(count >= 1 && count <= kMaxStageCount && table.extras.size() == table.records.size());
    FUZZ_CHECK(table.source.offset >= 0 && table.source.offset + count * kStageSlotSize <= exe.size());
    return 0;
}
