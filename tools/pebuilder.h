#pragma once
// Small 32-bit PE files shaped like the game's executable, for the sample
// game and the tests: headers, sections, the stage loader's use of the
// table's address and the picture name formats.
#include <QByteArray>
#include <vector>

namespace vorn::sample {

struct PeSectionSpec {
    QByteArray name;
    quint32 virtualAddress = 0, virtualSize = 0, rawOffset = 0, rawSize = 0;
    quint32 characteristics = 0x40000040;
};

constexpr quint32 kImageBase = 0x400000;
constexpr qint64 kPeHeaderAt = 0x100;
// Where the freeware executable has the loader's bytes: its first use of
// the table's address is at 0x20C2F.
constexpr qint64 kLoaderAt = 0x20C22;

// Writes the DOS and PE headers and the section table into `file`, which
// must be long enough to hold them (0x1000 bytes are taken for headers).
void WritePeHeaders(QByteArray& file, const std::vector<PeSectionSpec>& sections, quint32 sizeOfImage);
// The loader's byte sequence at `at`, followed by the table's address, and
// the other ten uses of the address (plus their fields' offsets).
void WriteStageLoader(QByteArray& file, qint64 at, quint32 tableAddress);
// The three picture name formats "%s\%s.<extension>", from `at` on.
void WritePictureFormats(QByteArray& file, qint64 at, const QByteArray& extension);

// The file offsets of the loader's 11 uses of the address when the loader
// is at `at`.
std::vector<qint64> AddressUses(qint64 at);

} // namespace vorn::sample
