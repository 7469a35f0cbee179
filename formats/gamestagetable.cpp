#include "gamestagetable.h"

#include "backup.h"
#include "peimage.h"
#include "regularfile.h"
#include "numtext.h"
#include "safewrite.h"

#include <QLocale>
#include <functional>
#include <optional>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <array>

namespace vorn {
namespace {

const QString kExeName = QStringLiteral("Doukutsu.exe");
constexpr quint32 kFreewareAddress = 0x4937B0;
constexpr int kFreewareCount = kFreewareStageCount;
const QByteArray kOwnSectionName = QByteArrayLiteral(".csmap");
const QByteArray kOldSectionName = QByteArrayLiteral(".csold");
constexpr quint32 kOwnSectionCharacteristics = 0xC0000040; // initialised data, read, write

// The stage loader multiplies the stage number by 200 and adds the table's
// address; the address follows these bytes.
const QByteArray kLoaderSequence = QByteArray::fromHex("83C4088B450869C0C800000005");
// The loader's 11 uses of the address, from the first (right after the
// sequence), each the address plus a field's offset.
struct AddressUse {
    int distance;
    quint32 field;
};
constexpr std::array<AddressUse, 11> kAddressUses = {{{0x000, 0x00},
                                                      {0x044, 0x00},
                                                      {0x086, 0x20},
                                                      {0x0C7, 0x20},
                                                      {0x109, 0x20},
                                                      {0x14B, 0x44},
                                                      {0x16F, 0x40},
                                                      {0x1AA, 0x64},
                                                      {0x1ED, 0x84},
                                                      {0x23B, 0xA5},
                                                      {0x279, 0xA4}}};

constexpr int kTblRecordSize = 229;
constexpr int kTblJapaneseTitleAt = 0xA5;
constexpr int kTblEnglishTitleAt = 0xC5;
constexpr int kMrMapRecordSize = 116;
constexpr int kMrMapNameSize = 16;
constexpr int kMrMapTitleSize = 34;
constexpr int kSheet2At = 132;
constexpr int kBossAt = 164;
constexpr int kExtraSize = kStageSlotSize - kStageRecordSize;

quint32 U32(const QByteArray& bytes, qint64 at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
void PutU32(QByteArray& bytes, qint64 at, quint32 value) { qToLittleEndian<quint32>(value, bytes.data() + at); }
void PutU16(QByteArray& bytes, qint64 at, quint16 value) { qToLittleEndian<quint16>(value, bytes.data() + at); }
QString Hex(qint64 value) { return QStringLiteral("0x") + QString::number(value, 16).toUpper(); }
qint64 AlignUp(qint64 value, qint64 alignment) { return (value + alignment - 1) / alignment * alignment; }

QString Stages(int count) { return Counted(count, QStringLiteral("stage"), QStringLiteral("stages")); }
QString Bytes(qint64 count) { return Counted(count, QStringLiteral("byte"), QStringLiteral("bytes")); }

QString NotFoundNote()
{
    return QStringLiteral("%1: the stage table's address was not found in its code; using the freeware place.")
        .arg(kExeName);
}

QString ChangedMeanwhile(const QString& name)
{
    return QStringLiteral("%1 was changed by another program since its stage table was read; nothing was changed.")
        .arg(name);
}

// Record i's 197 bytes and the rest of its slot from `bytes` at `at`.
void TakeSlots(const QByteArray& bytes, qint64 at, int count, StageTableFile& out)
{
    out.records.assign(size_t(count), StageRecord{});
    out.extras.assign(size_t(count), QByteArray());
    for (int i = 0; i < count; ++i) {
        const qint64 slot = at + qint64(i) * kStageSlotSize;
        std::copy_n(bytes.constData() + slot, kStageRecordSize, out.records[size_t(i)].bytes.data());
        out.extras[size_t(i)] = bytes.mid(slot + kStageRecordSize, kExtraSize);
    }
}

QByteArray ExtraOr(const std::vector<QByteArray>& extras, size_t i, int size)
{
    QByteArray extra = i < extras.size() ? extras[i] : QByteArray();
    extra = extra.left(size);
    extra.append(QByteArray(size - extra.size(), '\0'));
    return extra;
}

// The executable's table as its code gives it, or the freeware place.
Outcome LocateInExecutable(const QByteArray& exe, const PeImage* pe, StageTableFile& out)
{
    const qint64 sequence = exe.indexOf(kLoaderSequence);
    const qint64 first = sequence + kLoaderSequence.size();
    if (!pe || sequence < 0 || first + 4 > exe.size()) {
        if (exe.size() < kStageTableEnd)
            return QStringLiteral("%1 is too short to hold the stage table (%2 of %3 bytes).")
                .arg(kExeName)
                .arg(exe.size())
                .arg(kStageTableEnd);
        out.source.address = kFreewareAddress;
        out.source.offset = kStageTableOffset;
        TakeSlots(exe, kStageTableOffset, kFreewareCount, out);
        return {};
    }
    const quint32 address = U32(exe, first);
    const PeSection* section = pe->sectionHolding(address, 1);
    if (!section)
        return QStringLiteral("%1: the stage table's address in its code, %2, lies outside every section.")
            .arg(kExeName, Hex(address));
    const qint64 inSection = qint64(address) - pe->imageBase - section->virtualAddress;
    int count = kFreewareCount;
    const bool own = section->name == kOwnSectionName;
    if (own) {
        const qint64 bytes = std::max<qint64>(0, qint64(section->virtualSize) - inSection);
        if (bytes / kStageSlotSize > kMaxStageCount)
            return QStringLiteral("%1: its stage table claims %2 records, more than the %3 Vorn takes.")
                .arg(kExeName)
                .arg(bytes / kStageSlotSize)
                .arg(QLocale(QLocale::English).toString(kMaxStageCount));
        count = int(bytes / kStageSlotSize);
        if (count < 1)
            return QStringLiteral("%1: its section .csmap holds no whole stage record.").arg(kExeName);
        if (bytes % kStageSlotSize != 0)
            out.notes << QStringLiteral("%1: section .csmap holds %2 and %3 more; only the whole records are used.")
                             .arg(kExeName, Stages(count), Bytes(bytes % kStageSlotSize));
    }
    if (!pe->sectionHolding(address, qint64(count) * kStageSlotSize))
        return QStringLiteral("%1: the stage table at %2 runs past the end of section %3's data.")
            .arg(kExeName, Hex(address), QString::fromLatin1(section->name));
    out.source.inCode = true;
    out.source.ownSection = own;
    out.source.address = address;
    out.source.offset = section->rawOffset + inSection;
    TakeSlots(exe, out.source.offset, count, out);
    return {};
}

Outcome ReadTableFile(const GameFolder& folder, const QString& builtName, StageTableKind kind, StageTableFile& out)
{
    QByteArray bytes;
    if (const Outcome read =
            ReadWholeFile(folder.findFile(builtName), builtName, bytes, folder.rules(),
                          4 + qint64(kMaxStageCount + 1) * kTblRecordSize, QStringLiteral("a stage table"));
        !read.ok())
        return read;
    StageTableFile file;
    file.source.kind = kind;
    file.source.builtName = builtName;
    file.source.offset = 0;
    qint64 at = 0;
    int count = 0;
    int recordSize = kind == StageTableKind::StageTbl ? kTblRecordSize
                     : kind == StageTableKind::MrMap  ? kMrMapRecordSize
                                                      : kStageSlotSize;
    if (kind == StageTableKind::MrMap) {
        if (bytes.size() < 4)
            return QStringLiteral("%1 is too short to hold its count of stages.").arg(builtName);
        const quint32 claimed = U32(bytes, 0);
        if (claimed > quint32(kMaxStageCount))
            return QStringLiteral("%1 claims %2 stages, more than the %3 Vorn takes.")
                .arg(builtName)
                .arg(claimed)
                .arg(QLocale(QLocale::English).toString(kMaxStageCount));
        count = int(claimed);
        at = 4;
        if (at + qint64(count) * recordSize > bytes.size())
            return QStringLiteral("%1 is shorter than its count of stages says: %2 of %3 bytes.")
                .arg(builtName)
                .arg(bytes.size())
                .arg(at + qint64(count) * recordSize);
    } else {
        count = int(std::min<qint64>(bytes.size() / recordSize, kMaxStageCount + 1));
        if (count > kMaxStageCount)
            return QStringLiteral("%1 holds more than the %2 stages Vorn takes.")
                .arg(builtName, QLocale(QLocale::English).toString(kMaxStageCount));
        if (bytes.size() % recordSize != 0)
            file.notes << QStringLiteral("%1 holds %2 and %3 more; only the whole records are used.")
                              .arg(builtName, Stages(count), Bytes(bytes.size() % recordSize));
    }
    if (count < 1)
        return QStringLiteral("%1 holds no stage.").arg(builtName);

    file.records.assign(size_t(count), StageRecord{});
    file.extras.assign(size_t(count), QByteArray());
    for (int i = 0; i < count; ++i) {
        const char* raw = bytes.constData() + at + qint64(i) * recordSize;
        StageRecord& record = file.records[size_t(i)];
        switch (kind) {
        case StageTableKind::StageSect:
        case StageTableKind::Executable:
            std::copy_n(raw, kStageRecordSize, record.bytes.data());
            file.extras[size_t(i)] = QByteArray(raw + kStageRecordSize, kExtraSize);
            break;
        case StageTableKind::StageTbl:
            std::copy_n(raw, kTblJapaneseTitleAt, record.bytes.data());
            record.setTitle(QByteArray(raw + kTblEnglishTitleAt, kNameSize));
            file.extras[size_t(i)] = QByteArray(raw + kTblJapaneseTitleAt, kNameSize);
            break;
        case StageTableKind::MrMap: {
            const auto name = [raw](int at) { return QByteArray(raw + at, kMrMapNameSize); };
            record.setTileset(name(0));
            record.setMap(name(16));
            record.setParallax(quint8(raw[32]));
            record.setBackdrop(name(33));
            record.setSpriteSet(name(49));
            std::copy_n(raw + 65, kMrMapNameSize, record.bytes.data() + kSheet2At);
            record.bytes[kBossAt] = raw[81];
            record.setTitle(QByteArray(raw + 82, kNameSize));
            file.extras[size_t(i)] = QByteArray(raw + 82, kMrMapTitleSize);
            break;
        }
        }
    }
    out = std::move(file);
    return {};
}

struct TableFileName {
    const char* builtName;
    StageTableKind kind;
};
// In the order the engines that read them look for them.
constexpr std::array<TableFileName, 3> kTableFiles = {{{"data\\stage.tbl", StageTableKind::StageTbl},
                                                       {"data\\stage.sect", StageTableKind::StageSect},
                                                       {"data\\mrmap.bin", StageTableKind::MrMap}}};

Outcome ReadExecutable(const GameFolder& folder, QByteArray& exe)
{
    const QString path = folder.findEntry(kExeName);
    if (path.isEmpty())
        return QStringLiteral("Cannot read %1: %2.").arg(kExeName, SystemReason(ENOENT));
    return ReadWholeFile(path, kExeName, exe, folder.rules());
}

// The bytes of a table file with `records` in it.
QByteArray TableFileBytes(StageTableKind kind, const StageTable& records, const std::vector<QByteArray>& extras)
{
    QByteArray out;
    if (kind == StageTableKind::MrMap) {
        out.resize(4);
        PutU32(out, 0, quint32(records.size()));
    }
    for (size_t i = 0; i < records.size(); ++i) {
        const StageRecord& record = records[i];
        switch (kind) {
        case StageTableKind::Executable:
        case StageTableKind::StageSect:
            out.append(record.bytes.data(), kStageRecordSize);
            out.append(ExtraOr(extras, i, kExtraSize));
            break;
        case StageTableKind::StageTbl:
            out.append(record.bytes.data(), kTblJapaneseTitleAt);
            out.append(ExtraOr(extras, i, kNameSize));
            out.append(record.title());
            break;
        case StageTableKind::MrMap: {
            const auto name = [&out](const QByteArray& field) { out.append(field.left(kMrMapNameSize)); };
            name(record.tileset());
            name(record.map());
            out.append(char(quint8(record.parallax())));
            name(record.backdrop());
            name(record.spriteSet());
            out.append(record.bytes.data() + kSheet2At, kMrMapNameSize);
            out.append(record.bytes[kBossAt]);
            // An unchanged title keeps its whole field, its last two bytes too.
            const QByteArray kept = ExtraOr(extras, i, kMrMapTitleSize);
            if (kept.left(kNameSize) == record.title())
                out.append(kept);
            else
                out.append(record.title() + QByteArray(kMrMapTitleSize - kNameSize, '\0'));
            break;
        }
        }
    }
    return out;
}

// The executable with its table holding `wanted`: in place when the table's
// place has room, else in a new section after the last one.
Outcome BuildExecutable(QByteArray& exe, const StageTableFile& current, const StageTable& wanted,
                        const std::vector<QByteArray>& extras)
{
    PeImage pe;
    const bool isPe = ReadPeImage(exe, pe).ok();
    StageTableFile now;
    if (const Outcome located = LocateInExecutable(exe, isPe ? &pe : nullptr, now); !located.ok())
        return located;
    if (!(now.source == current.source) || now.records.size() != current.records.size())
        return ChangedMeanwhile(kExeName);
    const int n = int(wanted.size());
    const int count = int(now.records.size());

    const auto writeSlots = [&](qint64 at) {
        for (int i = 0; i < n; ++i) {
            const qint64 slot = at + qint64(i) * kStageSlotSize;
            exe.replace(slot, kStageRecordSize, QByteArray(wanted[size_t(i)].bytes.data(), kStageRecordSize));
            exe.replace(slot + kStageRecordSize, kExtraSize, ExtraOr(extras, size_t(i), kExtraSize));
        }
    };

    const PeSection* section = now.source.inCode ? pe.sectionHolding(now.source.address, 1) : nullptr;
    const qint64 inSection = section ? qint64(now.source.address) - pe.imageBase - section->virtualAddress : 0;
    if (now.source.ownSection) {
        // Room up to the end of the section's data and of its address range.
        qint64 end = qint64(section->virtualAddress) + section->rawSize;
        for (const PeSection& other : pe.sections)
            if (other.virtualAddress > section->virtualAddress)
                end = std::min<qint64>(end, other.virtualAddress);
        const qint64 room = (end - section->virtualAddress - inSection) / kStageSlotSize;
        if (n <= room) {
            writeSlots(now.source.offset);
            const quint32 virtualSize = quint32(inSection + qint64(n) * kStageSlotSize);
            PutU32(exe, section->headerOffset + 8, virtualSize);
            const quint32 image = quint32(AlignUp(qint64(section->virtualAddress) + virtualSize, pe.sectionAlignment));
            if (image > U32(exe, pe.sizeOfImageOffset))
                PutU32(exe, pe.sizeOfImageOffset, image);
            return {};
        }
    } else if (n == count) {
        writeSlots(now.source.offset);
        return {};
    } else if (!now.source.inCode) {
        return QStringLiteral("%1: the stage table's address was not found in its code, so the table cannot grow "
                              "or shrink; nothing was changed.")
            .arg(kExeName);
    } else if (n < count) {
        return QStringLiteral("This table has a fixed size; add a stage first to move it to a section of its own.");
    }

    // Moved: every use of the address must be where the loader has it.
    const qint64 first = exe.indexOf(kLoaderSequence) + kLoaderSequence.size();
    for (const AddressUse& use : kAddressUses) {
        const qint64 at = first + use.distance;
        if (at + 4 > exe.size() || U32(exe, at) != now.source.address + use.field)
            return QStringLiteral("%1: the code at %2 does not hold the stage table's address; nothing was changed.")
                .arg(kExeName, Hex(at));
    }
    if (pe.headerRoom() < 40 || pe.sections.size() >= 96)
        return QStringLiteral("%1: its headers have no room for another section; nothing was changed.").arg(kExeName);

    qint64 nextAddress = 0;
    for (const PeSection& other : pe.sections)
        nextAddress =
            std::max<qint64>(nextAddress, qint64(other.virtualAddress) + std::max(other.virtualSize, other.rawSize));
    const qint64 address = AlignUp(nextAddress, pe.sectionAlignment);
    const qint64 rawOffset = AlignUp(exe.size(), pe.fileAlignment);
    const qint64 tableSize = qint64(n) * kStageSlotSize;
    const qint64 rawSize = AlignUp(tableSize, pe.fileAlignment);
    if (address + tableSize + pe.imageBase > 0xFFFFFFFFLL || rawOffset + rawSize > 0x7FFFFFFFLL)
        return QStringLiteral("%1: there is no address left for a new section; nothing was changed.").arg(kExeName);

    for (const PeSection& other : pe.sections)
        if (other.name == kOwnSectionName)
            exe.replace(other.headerOffset, 8, kOldSectionName + QByteArray(8 - kOldSectionName.size(), '\0'));
    const qint64 oldSize = exe.size();
    exe.resize(rawOffset + rawSize);
    std::fill(exe.begin() + oldSize, exe.end(), '\0');
    writeSlots(rawOffset);

    QByteArray header(40, '\0');
    header.replace(0, kOwnSectionName.size(), kOwnSectionName);
    PutU32(header, 8, quint32(tableSize));
    PutU32(header, 12, quint32(address));
    PutU32(header, 16, quint32(rawSize));
    PutU32(header, 20, quint32(rawOffset));
    PutU32(header, 36, kOwnSectionCharacteristics);
    exe.replace(pe.sectionTableEnd(), 40, header);
    PutU16(exe, pe.sectionCountOffset, quint16(pe.sections.size() + 1));
    PutU32(exe, pe.sizeOfImageOffset, quint32(AlignUp(address + tableSize, pe.sectionAlignment)));
    const quint32 newTable = quint32(pe.imageBase + address);
    for (const AddressUse& use : kAddressUses)
        PutU32(exe, first + use.distance, newTable + use.field);
    return {};
}

} // namespace

QString StageTableSource::describe(int count) const
{
    if (kind != StageTableKind::Executable)
        return QStringLiteral("%1, %2").arg(QString(builtName).replace(u'\\', u'/'), Stages(count));
    if (ownSection)
        return QStringLiteral("%1, section .csmap, %2").arg(builtName, Stages(count));
    return QStringLiteral("%1 at %2, %3").arg(builtName).arg(offset).arg(Stages(count));
}

Outcome ReadExecutableStageTable(const QByteArray& exe, StageTableFile& out)
{
    StageTableFile file;
    PeImage pe;
    const Outcome peRead = ReadPeImage(exe, pe);
    if (const Outcome located = LocateInExecutable(exe, peRead.ok() ? &pe : nullptr, file); !located.ok())
        return located;
    if (!file.source.inCode) {
        // A file with a PE's signature whose headers cannot be trusted says why.
        const bool brokenPe =
            !peRead.ok() && exe.startsWith("MZ") && !peRead.refusal().startsWith(QLatin1String("it is not"));
        file.notes.prepend(brokenPe ? QStringLiteral("%1: %2, so the stage table's address cannot be read from its "
                                                     "code; using the freeware place.")
                                          .arg(kExeName, peRead.refusal())
                                    : NotFoundNote());
    }
    out = std::move(file);
    return {};
}

bool HasStageTableFile(const GameFolder& folder)
{
    return std::any_of(kTableFiles.begin(), kTableFiles.end(), [&folder](const TableFileName& table) {
        return !folder.findFile(QString::fromLatin1(table.builtName)).isEmpty();
    });
}

Outcome ReadGameStageTable(const GameFolder& folder, StageTableFile& out)
{
    QByteArray exe;
    const Outcome exeRead = ReadExecutable(folder, exe);
    // The executable's own table wins when its code shows where it is:
    // that executable reads no table file.
    if (exeRead.ok() && exe.contains(kLoaderSequence)) {
        PeImage pe;
        if (ReadPeImage(exe, pe).ok())
            return ReadExecutableStageTable(exe, out);
    }
    for (const TableFileName& table : kTableFiles) {
        const QString builtName = QString::fromLatin1(table.builtName);
        if (!folder.findFile(builtName).isEmpty())
            return ReadTableFile(folder, builtName, table.kind, out);
    }
    if (!exeRead.ok())
        return exeRead;
    return ReadExecutableStageTable(exe, out);
}

QString PictureExtensionOf(const QByteArray& exe, QString* note)
{
    static const QByteArray format = QByteArrayLiteral("%s\\%s.");
    QStringList found;
    for (qsizetype at = exe.indexOf(format); at >= 0 && found.size() <= 3; at = exe.indexOf(format, at + 1)) {
        const QByteArray letters = exe.mid(at + format.size(), 3);
        const bool plain = letters.size() == 3 && std::all_of(letters.begin(), letters.end(), [](char c) {
                               return c > ' ' && c < 127 && c != '\\' && c != '/' && c != ':' && c != '*';
                           });
        found << (plain ? QString::fromLatin1(letters) : QString());
    }
    const bool agree = found.size() == 3 && !found.first().isEmpty() && found.count(found.first()) == 3;
    if (agree)
        return found.first();
    if (note)
        *note =
            exe.isEmpty()
                ? QStringLiteral("%1 could not be read for its picture extension; using .pbm.").arg(kExeName)
                : QStringLiteral("%1: its three picture name formats were not found alike; using .pbm.").arg(kExeName);
    return QStringLiteral("pbm");
}

StageRecord BlankStageRecord()
{
    StageRecord record;
    const QByteArray zero = PadName32("0");
    record.setTileset(zero);
    record.setMap(zero);
    record.setParallax(4);
    record.setBackdrop(zero);
    record.setSpriteSet(zero);
    record.bytes[kSheet2At] = '0';
    return record;
}

Outcome CheckRecordFits(StageTableKind kind, int index, const StageRecord& record)
{
    if (kind != StageTableKind::MrMap)
        return {};
    const struct {
        const char* what;
        QByteArray field;
    } names[] = {{"tileset", record.tileset()},
                 {"map", record.map()},
                 {"backdrop", record.backdrop()},
                 {"NPC sheet 1", record.spriteSet()},
                 {"NPC sheet 2", QByteArray(record.bytes.data() + kSheet2At, kNameSize)}};
    for (const auto& name : names) {
        if (CutAtNull(name.field).size() > kMrMapNameSize)
            return QStringLiteral("Stage %1's %2 name is longer than the %3 bytes data\\mrmap.bin holds.")
                .arg(index)
                .arg(QString::fromLatin1(name.what))
                .arg(kMrMapNameSize);
    }
    if (record.parallax() < 0 || record.parallax() > 255)
        return QStringLiteral("Stage %1's backdrop type %2 does not fit the one byte data\\mrmap.bin holds (0 to 255).")
            .arg(index)
            .arg(record.parallax());
    return {};
}

Outcome WriteGameStageTable(const GameFolder& folder, StageTableFile& table, const StageTable& wanted,
                            std::vector<QByteArray> wantedExtras)
{
    const int n = int(wanted.size());
    if (n < 1 || n > kMaxStageCount)
        return QStringLiteral("A stage table holds 1 to %1 stages, not %2.")
            .arg(QLocale(QLocale::English).toString(kMaxStageCount))
            .arg(n);
    for (int i = 0; i < n; ++i)
        if (const Outcome fits = CheckRecordFits(table.source.kind, i, wanted[size_t(i)]); !fits.ok())
            return fits;
    if (wantedExtras.empty())
        wantedExtras = table.extras;

    const QString builtName = table.source.builtName;
    QString path =
        table.source.kind == StageTableKind::Executable ? folder.findEntry(builtName) : folder.findFile(builtName);
    if (path.isEmpty())
        return QStringLiteral("Cannot write %1: %2.").arg(builtName, SystemReason(ENOENT));
    QByteArray bytes;
    if (table.source.kind == StageTableKind::Executable) {
        if (const Outcome read = ReadWholeFile(path, kExeName, bytes, folder.rules()); !read.ok())
            return read;
        if (const Outcome built = BuildExecutable(bytes, table, wanted, wantedExtras); !built.ok())
            return built;
    } else {
        StageTableFile now;
        if (const Outcome read = ReadTableFile(folder, builtName, table.source.kind, now); !read.ok())
            return read;
        if (now.records.size() != table.records.size())
            return ChangedMeanwhile(builtName);
        bytes = TableFileBytes(table.source.kind, wanted, wantedExtras);
    }
    if (IsMarkedReadOnly(path))
        return QStringLiteral("Cannot write %1: the file is read-only.").arg(builtName);
    if (const Outcome saved = BackUpOnce(folder.root(), path); !saved.ok())
        return saved;
    if (const Outcome written = ReplaceFile(path, builtName, folder.rules(), bytes); !written.ok())
        return written;

    StageTableFile after;
    const Outcome reread = table.source.kind == StageTableKind::Executable
                               ? ReadExecutableStageTable(bytes, after)
                               : ReadTableFile(folder, builtName, table.source.kind, after);
    if (!reread.ok())
        return reread;
    after.notes.clear();
    table.source = after.source;
    table.records = after.records;
    table.extras = after.extras;
    return {};
}

Outcome WriteGameStageRecord(const GameFolder& folder, StageTableFile& table, int index, const StageRecord& record)
{
    if (index < 0 || index >= int(table.records.size()))
        return QStringLiteral("There is no stage %1 in the stage table.").arg(index);
    if (table.source.kind != StageTableKind::Executable) {
        StageTable wanted = table.records;
        wanted[size_t(index)] = record;
        return WriteGameStageTable(folder, table, wanted);
    }
    // The executable is patched in place: its 197 bytes and nothing else.
    const QString path = folder.findEntry(kExeName);
    QByteArray exe;
    if (const Outcome read = ReadExecutable(folder, exe); !read.ok())
        return read;
    StageTableFile now;
    if (const Outcome located = ReadExecutableStageTable(exe, now); !located.ok())
        return located;
    if (!(now.source == table.source) || now.records.size() != table.records.size())
        return ChangedMeanwhile(kExeName);
    if (IsMarkedReadOnly(path))
        return QStringLiteral("Cannot write %1: the file is read-only.").arg(kExeName);
    if (const Outcome saved = BackUpOnce(folder.root(), path); !saved.ok())
        return saved;
    if (const Outcome written = WriteStageRecordAt(path, table.source.offset + qint64(index) * kStageSlotSize, record);
        !written.ok())
        return written;
    table.records[size_t(index)] = record;
    return {};
}

namespace {

// A name typed into a 32-byte field: encoded, with room for its NUL.
Outcome FieldBytes(const QString& what, const QString& value, bool fileName, QByteArray& out)
{
    if (const QString bad = FirstUnencodable(value); !bad.isEmpty())
        return QStringLiteral("The %1 \"%2\" holds \"%3\", which the game's code page (%4) cannot hold.")
            .arg(what, value, bad)
            .arg(AnsiCodePage());
    if (fileName && !value.isEmpty() && !IsPlainFileName(value))
        return QStringLiteral("The %1 \"%2\" is not a plain file name.").arg(what, value);
    out = EncodeAnsi(value);
    if (out.size() > kNameSize - 1)
        return QStringLiteral("The %1 \"%2\" is longer than the field: %3 of %4 bytes.")
            .arg(what, value)
            .arg(out.size())
            .arg(kNameSize - 1);
    out.append(QByteArray(kNameSize - out.size(), '\0'));
    return {};
}

// A number, or a name from `names` by its position, ignoring case.
std::optional<qint64> NumberOrName(const QString& value, const std::function<QString(int)>& nameOf, int names)
{
    bool number = false;
    const qint64 n = value.toLongLong(&number);
    if (number)
        return n;
    for (int i = 0; i < names; ++i)
        if (nameOf(i).compare(value.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return std::nullopt;
}

} // namespace

Outcome SetStageField(StageRecord& record, const QString& field, const QString& value)
{
    QByteArray bytes;
    const auto name = [&](const char* what, bool fileName) {
        return FieldBytes(QString::fromLatin1(what), value, fileName, bytes);
    };
    if (field == u"backdrop-type") {
        const auto type = NumberOrName(
            value, [](int i) { return BackdropTypeName(i); }, 8);
        if (!type || *type < INT32_MIN || *type > INT32_MAX)
            return QStringLiteral("\"%1\" is not a backdrop type: give a number or one of %2.")
                .arg(value,
                     QStringList{BackdropTypeName(0), BackdropTypeName(1), BackdropTypeName(2), BackdropTypeName(3),
                                 BackdropTypeName(4), BackdropTypeName(5), BackdropTypeName(6), BackdropTypeName(7)}
                         .join(QStringLiteral(", ")));
        record.setParallax(qint32(*type));
        return {};
    }
    if (field == u"boss") {
        const auto boss = NumberOrName(
            value, [](int i) { return BossName(i); }, 10);
        if (!boss || *boss < 0 || *boss > 255)
            return QStringLiteral("\"%1\" is not a boss: give 0 to 255 or a boss's name (Omega, Balfrog, ...).")
                .arg(value);
        record.bytes[kBossAt] = char(*boss);
        return {};
    }
    Outcome named;
    if (field == u"tileset" && (named = name("tileset", true)).ok())
        record.setTileset(bytes);
    else if (field == u"map" && (named = name("map name", true)).ok())
        record.setMap(bytes);
    else if (field == u"backdrop" && (named = name("backdrop", true)).ok())
        record.setBackdrop(bytes);
    else if (field == u"sheet1" && (named = name("NPC sheet 1", true)).ok())
        record.setSpriteSet(bytes);
    else if (field == u"sheet2" && (named = name("NPC sheet 2", true)).ok())
        std::copy_n(bytes.constData(), kNameSize, record.bytes.data() + kSheet2At); // up to the boss byte
    else if (field == u"title" && (named = name("title", false)).ok())
        record.setTitle(bytes);
    else if (named.ok())
        return QStringLiteral("\"%1\" is not a field of a stage record.").arg(field);
    return named;
}

QString BossName(int boss)
{
    static const char* const names[] = {"none",     "Omega",   "Balfrog",     "Monster X",   "Core",
                                        "Ironhead", "Sisters", "Undead Core", "Heavy Press", "Ballos"};
    return boss >= 0 && boss < int(std::size(names)) ? QString::fromLatin1(names[boss]) : QStringLiteral("unknown");
}

QString BackdropTypeName(qint32 type)
{
    static const char* const names[] = {"fixed", "half speed",   "with the map",     "water in front",
                                        "none",  "scrolls left", "clouds with wind", "clouds"};
    return type >= 0 && type < qint32(std::size(names)) ? QString::fromLatin1(names[type]) : QStringLiteral("unknown");
}

} // namespace vorn
