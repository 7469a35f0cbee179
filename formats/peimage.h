#pragma once
// The game executable read as a 32-bit PE file: just what finding and
// moving the stage table needs (the image base, the alignments, the image
// size and the section headers), checked so that no offset taken from the
// file leads outside it.
#include "outcome.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace vorn {

struct PeSection {
    QByteArray name; // up to 8 bytes, NULs cut
    quint32 virtualSize = 0;
    quint32 virtualAddress = 0; // from the image base
    quint32 rawSize = 0;
    quint32 rawOffset = 0; // in the file
    quint32 characteristics = 0;
    qint64 headerOffset = 0; // where this header sits in the file
};

struct PeImage {
    quint32 imageBase = 0;
    quint32 sectionAlignment = 0;
    quint32 fileAlignment = 0;
    quint32 sizeOfHeaders = 0;
    qint64 sectionCountOffset = 0; // the COFF header's section count
    qint64 sizeOfImageOffset = 0;
    qint64 sectionTableOffset = 0;
    std::vector<PeSection> sections;

    // The section whose file data holds `length` bytes from `address`
    // (an address as the code holds it, image base included); null when
    // none does.
    const PeSection* sectionHolding(quint32 address, qint64 length) const;
    // Where the section table ends, and how far it may grow before it would
    // run into the headers' end or the first section's data.
    qint64 sectionTableEnd() const { return sectionTableOffset + qint64(sections.size()) * 40; }
    qint64 headerRoom() const;
};

// Reads the headers from the whole file's bytes. Refused, with the reason
// after "Doukutsu.exe: ", for a file that is not a 32-bit PE or whose
// headers lead outside it: "the file ends inside its PE headers",
// "section .data's data lies past the end of the file (at 0x93000, 0x6000
// bytes, in a file of 0x95000)", "sections .text and .data overlap in the
// file".
Outcome ReadPeImage(const QByteArray& file, PeImage& out);

} // namespace vorn
