#include "stagetable.h"

#include "safewrite.h"

#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

constexpr int kTilesetAt = 0;
constexpr int kMapAt = 32;
constexpr int kParallaxAt = 64;
constexpr int kBackdropAt = 68;
constexpr int kSpriteSetAt = 100;
constexpr int kSpareByteAt = 132;
constexpr int kSpareNameAt = 133;
constexpr int kTitleAt = 165;

// Where the messages name the executable: the game's own spelling.
const QString kExeName = QStringLiteral("Doukutsu.exe");

QString TooShortError(qint64 size)
{
    return QStringLiteral("%1 is too short to hold the stage table (%2 of %3 bytes).")
        .arg(kExeName)
        .arg(size)
        .arg(kStageTableEnd);
}

QString ReadOnlyError() { return QStringLiteral("Cannot write %1: the file is read-only.").arg(kExeName); }

qint64 SlotOffset(int index) { return kStageTableOffset + qint64(index) * kStageSlotSize; }

// Spaces only: tabs and NULs stay.
QByteArray TrimSpaces(const QByteArray& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == ' ')
        ++first;
    while (last > first && text[last - 1] == ' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

QByteArray StageRecord::tileset() const { return QByteArray(bytes.data() + kTilesetAt, kNameSize); }
QByteArray StageRecord::map() const { return QByteArray(bytes.data() + kMapAt, kNameSize); }
qint32 StageRecord::parallax() const { return qFromLittleEndian<qint32>(bytes.data() + kParallaxAt); }
QByteArray StageRecord::backdrop() const { return QByteArray(bytes.data() + kBackdropAt, kNameSize); }
QByteArray StageRecord::spriteSet() const { return QByteArray(bytes.data() + kSpriteSetAt, kNameSize); }
quint8 StageRecord::spareByte() const { return quint8(bytes[kSpareByteAt]); }
QByteArray StageRecord::spareName() const { return QByteArray(bytes.data() + kSpareNameAt, kNameSize); }
QByteArray StageRecord::title() const { return QByteArray(bytes.data() + kTitleAt, kNameSize); }

namespace {
// A field always gets all 32 bytes, so a wrong-sized value cannot spill into
// the next field: longer values are cut, shorter ones NUL-padded.
void StoreName(std::array<char, kStageRecordSize>& bytes, int at, const QByteArray& value)
{
    const int n = std::min<int>(int(value.size()), kNameSize);
    std::copy_n(value.constData(), n, bytes.data() + at);
    std::fill(bytes.data() + at + n, bytes.data() + at + kNameSize, '\0');
}
} // namespace

void StageRecord::setTileset(const QByteArray& padded32) { StoreName(bytes, kTilesetAt, padded32); }
void StageRecord::setMap(const QByteArray& padded32) { StoreName(bytes, kMapAt, padded32); }
void StageRecord::setParallax(qint32 value) { qToLittleEndian<qint32>(value, bytes.data() + kParallaxAt); }
void StageRecord::setBackdrop(const QByteArray& padded32) { StoreName(bytes, kBackdropAt, padded32); }
void StageRecord::setSpriteSet(const QByteArray& padded32) { StoreName(bytes, kSpriteSetAt, padded32); }
void StageRecord::setTitle(const QByteArray& padded32) { StoreName(bytes, kTitleAt, padded32); }

Outcome ReadStageTable(QIODevice& device, StageTable& table)
{
    const qint64 size = device.size();
    if (size < kStageTableEnd)
        return TooShortError(size);
    if (!device.seek(kStageTableOffset))
        return QStringLiteral("Cannot read %1: %2.").arg(kExeName, device.errorString());
    const QByteArray raw = device.read(kFreewareStageCount * kStageSlotSize);
    if (raw.size() != kFreewareStageCount * kStageSlotSize)
        return QStringLiteral("Cannot read %1: %2.").arg(kExeName, device.errorString());

    StageTable read(kFreewareStageCount);
    for (int i = 0; i < kFreewareStageCount; ++i)
        std::copy_n(raw.constData() + i * kStageSlotSize, kStageRecordSize, read[i].bytes.data());
    table = read;
    return {};
}

Outcome ReadStageTable(const QString& exePath, StageTable& table)
{
    ReadableFile file;
    const ReadStatus status = file.open(exePath, kExeName, {});
    if (status.missing)
        return QStringLiteral("Cannot read %1: %2.").arg(kExeName, SystemReason(ENOENT));
    if (!status.ok())
        return status;
    return ReadStageTable(file.device(), table);
}

namespace {

// Patches `bytes` (null: the bytes that are there) at `offset` of the
// executable in place; refused when any step fails. Nothing is written
// past the end of a file that is too short, which would grow it instead of
// patching it. A write that fails part way is undone from the bytes read
// first, so no record is left half old and half new.
Outcome PatchExecutable(const QString& exePath, qint64 offset, const char* bytes, qint64 count)
{
    if (IsMarkedReadOnly(exePath))
        return ReadOnlyError();
    IgnoreFileSizeSignal();
    int fd = -1;
    if (const Outcome opened = OpenRegularForUpdate(exePath, kExeName, fd); !opened.ok())
        return opened;
    QString error;
    struct stat info { };
    int code = 0;
    int undoCode = 0;
    QByteArray old(count, '\0');
    errno = 0; // a short read leaves it as it was
    if (::fstat(fd, &info) != 0) {
        code = errno;
    } else if (info.st_size < offset + count) {
        error = TooShortError(info.st_size);
    } else if (::pread(fd, old.data(), size_t(count), offset) != count) {
        code = errno ? errno : EIO;
    } else {
        qint64 written = 0;
        if (!WriteAll(fd, bytes ? bytes : old.constData(), count, code, offset, &written) && written > 0)
            WriteAll(fd, old.constData(), written, undoCode, offset);
        if (::fsync(fd) != 0 && code == 0)
            code = errno;
    }
    if (::close(fd) != 0 && code == 0 && error.isEmpty())
        code = errno;
    if (code != 0)
        error = QStringLiteral("Cannot write %1: %2.").arg(kExeName, SystemReason(code));
    if (undoCode != 0)
        error += QStringLiteral(" Putting the old bytes back failed too (%1): the record may be half-written.")
                     .arg(SystemReason(undoCode));
    return error;
}

} // namespace

Outcome WriteStageRecord(const QString& exePath, int index, const StageRecord& record)
{
    if (index < 0 || index >= kFreewareStageCount)
        return QStringLiteral("There is no stage %1 in the stage table.").arg(index);
    return WriteStageRecordAt(exePath, SlotOffset(index), record);
}

Outcome WriteStageRecordAt(const QString& exePath, qint64 offset, const StageRecord& record)
{
    // Patched in place: the executable is the game's, and everything but
    // these 197 bytes must stay exactly as it is.
    return PatchExecutable(exePath, offset, record.bytes.data(), kStageRecordSize);
}

bool ProbeGameExecutable(const QString& exePath)
{
    // The byte at 49 is read and written back as it was.
    constexpr qint64 kProbeAt = 49;
    return PatchExecutable(exePath, kProbeAt, nullptr, 1).ok();
}

QByteArray CutAtNull(const QByteArray& text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.left(nul);
}

QByteArray PadName32(const QByteArray& text)
{
    QByteArray name = TrimSpaces(CutAtNull(text)).left(kNameSize);
    name.append(QByteArray(kNameSize - name.size(), '\0'));
    return name;
}

QByteArray StoreName32(const QString& text) { return PadName32(EncodeAnsiName(text, kNameSize)); }

QByteArray KeepOrStoreName32(const QByteArray& field, const QString& shown)
{
    // Fields are shown up to their first NUL, so that is what "unchanged"
    // compares with. An unchanged field is padded from its own bytes, so
    // bytes the code page cannot read stay as they were.
    return shown == DecodeAnsi(CutAtNull(field)) ? PadName32(field) : StoreName32(shown);
}

QString StageListItemText(int index, const StageRecord& record)
{
    // Spaces are trimmed from the whole 32-byte field, NULs included, so
    // only a title that fills the field loses trailing spaces; the list then
    // shows the text up to its first NUL.
    const QByteArray title = CutAtNull(TrimSpaces(record.title()));
    return QStringLiteral("%1 - %2").arg(index).arg(DecodeAnsi(title));
}

} // namespace vorn
