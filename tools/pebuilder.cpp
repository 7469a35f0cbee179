#include "pebuilder.h"

#include <QtEndian>
#include <array>

namespace vorn::sample {
namespace {

void U16(QByteArray& f, qint64 at, quint16 v) { qToLittleEndian<quint16>(v, f.data() + at); }
void U32(QByteArray& f, qint64 at, quint32 v) { qToLittleEndian<quint32>(v, f.data() + at); }

constexpr std::array<int, 11> kDistances = {0x000, 0x044, 0x086, 0x0C7, 0x109, 0x14B,
                                            0x16F, 0x1AA, 0x1ED, 0x23B, 0x279};
constexpr std::array<quint32, 11> kFields = {0x00, 0x00, 0x20, 0x20, 0x20, 0x44, 0x40, 0x64, 0x84, 0xA5, 0xA4};

} // namespace

void WritePeHeaders(QByteArray& file, const std::vector<PeSectionSpec>& sections, quint32 sizeOfImage)
{
    file.replace(0, 2, "MZ");
    U32(file, 0x3C, quint32(kPeHeaderAt));
    const qint64 pe = kPeHeaderAt;
    file.replace(pe, 4, QByteArray("PE\0\0", 4));
    U16(file, pe + 4, 0x14C); // i386
    U16(file, pe + 6, quint16(sections.size()));
    U32(file, pe + 8, 0);
    U32(file, pe + 12, 0);
    U32(file, pe + 16, 0);
    U16(file, pe + 20, 0xE0);
    U16(file, pe + 22, 0x10F);
    const qint64 opt = pe + 24;
    file.replace(opt, 0xE0, QByteArray(0xE0, '\0'));
    U16(file, opt, 0x10B);
    U32(file, opt + 28, kImageBase);
    U32(file, opt + 32, 0x1000);
    U32(file, opt + 36, 0x1000);
    U32(file, opt + 56, sizeOfImage);
    U32(file, opt + 60, 0x1000);
    U16(file, opt + 68, 2); // a windowed program
    U32(file, opt + 92, 16);
    qint64 at = opt + 0xE0;
    for (const PeSectionSpec& s : sections) {
        QByteArray header(40, '\0');
        header.replace(0, s.name.size(), s.name);
        U32(header, 8, s.virtualSize);
        U32(header, 12, s.virtualAddress);
        U32(header, 16, s.rawSize);
        U32(header, 20, s.rawOffset);
        U32(header, 36, s.characteristics);
        file.replace(at, 40, header);
        at += 40;
    }
    // The rest of the headers is empty, as linkers leave it.
    file.replace(at, 0x1000 - at, QByteArray(0x1000 - at, '\0'));
}

std::vector<qint64> AddressUses(qint64 at)
{
    std::vector<qint64> uses;
    for (const int distance : kDistances)
        uses.push_back(at + 13 + distance);
    return uses;
}

void WriteStageLoader(QByteArray& file, qint64 at, quint32 tableAddress)
{
    file.replace(at, 13, QByteArray::fromHex("83C4088B450869C0C800000005"));
    const std::vector<qint64> uses = AddressUses(at);
    for (size_t i = 0; i < uses.size(); ++i)
        U32(file, uses[i], tableAddress + kFields[i]);
}

void WritePictureFormats(QByteArray& file, qint64 at, const QByteArray& extension)
{
    for (int i = 0; i < 3; ++i) {
        const QByteArray format = QByteArray("%s\\%s.") + extension + QByteArray(1, '\0');
        file.replace(at + i * 16, format.size(), format);
    }
}

} // namespace vorn::sample
