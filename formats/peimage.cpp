#include "peimage.h"

#include <QtEndian>
#include <algorithm>

namespace vorn {
namespace {

constexpr int kSectionHeaderSize = 40;
constexpr int kMaxSections = 96; // the loader's own limit
constexpr quint16 kPe32Magic = 0x10B;

quint32 U32(const QByteArray& file, qint64 at) { return qFromLittleEndian<quint32>(file.constData() + at); }
quint16 U16(const QByteArray& file, qint64 at) { return qFromLittleEndian<quint16>(file.constData() + at); }

QString Hex(qint64 value) { return QStringLiteral("0x") + QString::number(value, 16).toUpper(); }

QString SectionName(const PeSection& section)
{
    return section.name.isEmpty() ? QStringLiteral("(unnamed)") : QString::fromLatin1(section.name);
}

} // namespace

const PeSection* PeImage::sectionHolding(quint32 address, qint64 length) const
{
    if (address < imageBase)
        return nullptr;
    const qint64 rva = qint64(address) - imageBase;
    for (const PeSection& section : sections) {
        const qint64 start = section.virtualAddress;
        if (rva >= start && rva + length <= start + qint64(section.rawSize))
            return &section;
    }
    return nullptr;
}

qint64 PeImage::headerRoom() const
{
    qint64 limit = sizeOfHeaders;
    for (const PeSection& section : sections)
        if (section.rawSize > 0)
            limit = std::min<qint64>(limit, section.rawOffset);
    return limit - sectionTableEnd();
}

Outcome ReadPeImage(const QByteArray& file, PeImage& out)
{
    const qint64 size = file.size();
    const QString truncated = QStringLiteral("the file ends inside its PE headers");
    if (size < 0x40 || !file.startsWith("MZ"))
        return QStringLiteral("it is not a PE file (no \"MZ\" at its start)");
    const qint64 pe = U32(file, 0x3C);
    if (pe + 24 > size)
        return truncated;
    if (file.mid(pe, 4) != QByteArray("PE\0\0", 4))
        return QStringLiteral("it is not a PE file (no PE signature at %1)").arg(Hex(pe));
    PeImage image;
    image.sectionCountOffset = pe + 6;
    const int sectionCount = U16(file, pe + 6);
    const qint64 optional = pe + 24;
    const qint64 optionalSize = U16(file, pe + 20);
    if (optional + 64 > size)
        return truncated;
    if (optionalSize < 64 || U16(file, optional) != kPe32Magic)
        return QStringLiteral("it is not a 32-bit PE file");
    image.imageBase = U32(file, optional + 28);
    image.sectionAlignment = U32(file, optional + 32);
    image.fileAlignment = U32(file, optional + 36);
    image.sizeOfImageOffset = optional + 56;
    image.sizeOfHeaders = U32(file, optional + 60);
    image.sectionTableOffset = optional + optionalSize;
    if (sectionCount > kMaxSections)
        return QStringLiteral("its header claims %1 sections, more than a PE file may have").arg(sectionCount);
    if (image.sectionTableOffset + qint64(sectionCount) * kSectionHeaderSize > size)
        return truncated;
    const auto isPowerOfTwo = [](quint32 v) { return v != 0 && (v & (v - 1)) == 0; };
    if (!isPowerOfTwo(image.sectionAlignment) || !isPowerOfTwo(image.fileAlignment))
        return QStringLiteral("its section or file alignment is not a power of two");

    for (int i = 0; i < sectionCount; ++i) {
        const qint64 at = image.sectionTableOffset + qint64(i) * kSectionHeaderSize;
        PeSection section;
        section.headerOffset = at;
        section.name = file.mid(at, 8);
        if (const qsizetype nul = section.name.indexOf('\0'); nul >= 0)
            section.name.truncate(nul);
        section.virtualSize = U32(file, at + 8);
        section.virtualAddress = U32(file, at + 12);
        section.rawSize = U32(file, at + 16);
        section.rawOffset = U32(file, at + 20);
        section.characteristics = U32(file, at + 36);
        if (section.rawSize > 0 && qint64(section.rawOffset) + section.rawSize > size)
            return QStringLiteral("section %1's data lies past the end of the file (at %2, %3 bytes, in a file of %4)")
                .arg(SectionName(section), Hex(section.rawOffset), Hex(section.rawSize), Hex(size));
        image.sections.push_back(section);
    }
    for (size_t i = 0; i < image.sections.size(); ++i) {
        for (size_t j = i + 1; j < image.sections.size(); ++j) {
            const PeSection& a = image.sections[i];
            const PeSection& b = image.sections[j];
            const bool fileOverlap = a.rawSize > 0 && b.rawSize > 0 && a.rawOffset < qint64(b.rawOffset) + b.rawSize &&
                                     b.rawOffset < qint64(a.rawOffset) + a.rawSize;
            // The loader maps a section's virtual size (its raw size when
            // that is 0); raw bytes beyond it are never mapped.
            const qint64 aEnd = qint64(a.virtualAddress) + (a.virtualSize ? a.virtualSize : a.rawSize);
            const qint64 bEnd = qint64(b.virtualAddress) + (b.virtualSize ? b.virtualSize : b.rawSize);
            const bool memoryOverlap = a.virtualAddress < bEnd && b.virtualAddress < aEnd;
            if (fileOverlap || memoryOverlap)
                return QStringLiteral("sections %1 and %2 overlap").arg(SectionName(a), SectionName(b));
        }
    }
    out = std::move(image);
    return {};
}

} // namespace vorn
