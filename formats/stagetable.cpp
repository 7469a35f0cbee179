#include "stagetable.h"

#include "safewrite.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>

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
        .arg(kExeName).arg(size).arg(kStageTableEnd);
}

QString ReadOnlyError()
{
    return QStringLiteral("Cannot write %1: the file is read-only.").arg(kExeName);
}

qint64 SlotOffset(int index) { return kStageTableOffset + qint64(index) * kStageSlotSize; }

// Spaces only: tabs and NULs stay.
QByteArray TrimSpaces(const QByteArray& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == ' ') ++first;
    while (last > first && text[last - 1] == ' ') --last;
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

QString ReadStageTable(const QString& exePath, StageTable& table)
{
    QFile file(exePath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot read %1: %2.").arg(kExeName, file.errorString());
    const qint64 size = file.size();
    if (size < kStageTableEnd)
        return TooShortError(size);
    if (!file.seek(kStageTableOffset))
        return QStringLiteral("Cannot read %1: %2.").arg(kExeName, file.errorString());
    const QByteArray raw = file.read(kStageCount * kStageSlotSize);
    if (raw.size() != kStageCount * kStageSlotSize)
        return QStringLiteral("Cannot read %1: %2.").arg(kExeName, file.errorString());

    StageTable read;
    for (int i = 0; i < kStageCount; ++i)
        std::copy_n(raw.constData() + i * kStageSlotSize, kStageRecordSize, read[i].bytes.data());
    table = read;
    return {};
}

QString WriteStageRecord(const QString& exePath, int index, const StageRecord& record)
{
    if (index < 0 || index >= kStageCount)
        return QStringLiteral("There is no stage %1 in the stage table.").arg(index);
    if (IsMarkedReadOnly(exePath))
        return ReadOnlyError();

    // Patched in place: the executable is the game's, and everything but
    // these 197 bytes must stay exactly as it is.
    QFile file(exePath);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return QStringLiteral("Cannot write %1: %2.").arg(kExeName, file.errorString());
    // Writing past the end would grow the file instead of patching it.
    if (file.size() < kStageTableEnd)
        return TooShortError(file.size());
    if (!file.seek(SlotOffset(index))
        || file.write(record.bytes.data(), kStageRecordSize) != kStageRecordSize
        || !file.flush())
        return QStringLiteral("Cannot write %1: %2.").arg(kExeName, file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Cannot write %1: %2.").arg(kExeName, file.errorString());
    return {};
}

bool ProbeGameExecutable(const QString& exePath)
{
    if (IsMarkedReadOnly(exePath))
        return false;
    QFile file(exePath);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    constexpr qint64 kProbeAt = 49;
    char byte = 0;
    if (!file.seek(kProbeAt) || file.read(&byte, 1) != 1)
        return false;
    if (!file.seek(kProbeAt) || file.write(&byte, 1) != 1 || !file.flush())
        return false;
    file.close();
    return file.error() == QFileDevice::NoError;
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

QString StageListItemText(int index, const StageRecord& record)
{
    // Spaces are trimmed from the whole 32-byte field, NULs included, so
    // only a title that fills the field loses trailing spaces; the list then
    // shows the text up to its first NUL.
    const QByteArray title = CutAtNull(TrimSpaces(record.title()));
    return QStringLiteral("%1 - %2").arg(index).arg(DecodeAnsi(title));
}

} // namespace vorn
