#include "profile.h"

#include "safewrite.h"

#include <QtEndian>

namespace vorn {
namespace {

constexpr char kMagic[] = "Do041220";
constexpr char kFlagMark[] = "FLAG";
constexpr int kStage = 0x008, kMusic = 0x00C, kX = 0x010, kY = 0x014, kDirection = 0x018;
constexpr int kMaxLife = 0x01C, kLife = 0x020, kEquipment = 0x02C, kFlagMarkAt = 0x218;
constexpr qint32 kFacingRight = 2;
// A cell's centre in the game's units of 1/512 pixel (16-pixel cells).
constexpr qint32 kCellUnits = 0x2000;

void Put32(QByteArray& bytes, int at, qint32 value) { qToLittleEndian<qint32>(value, bytes.data() + at); }
void Put16(QByteArray& bytes, int at, qint16 value) { qToLittleEndian<qint16>(value, bytes.data() + at); }
qint32 Get32(const QByteArray& bytes, int at) { return qFromLittleEndian<qint32>(bytes.constData() + at); }
qint16 Get16(const QByteArray& bytes, int at) { return qFromLittleEndian<qint16>(bytes.constData() + at); }

void PutPlace(QByteArray& bytes, const ProfilePlace& place)
{
    Put32(bytes, kStage, place.stage);
    Put32(bytes, kX, place.x * kCellUnits);
    Put32(bytes, kY, place.y * kCellUnits);
    Put32(bytes, kDirection, kFacingRight);
}

} // namespace

QByteArray FreshProfile(const ProfilePlace& place)
{
    QByteArray bytes(kProfileSize, '\0');
    bytes.replace(0, 8, QByteArrayView(kMagic, 8));
    bytes.replace(kFlagMarkAt, 4, QByteArrayView(kFlagMark, 4));
    Put16(bytes, kMaxLife, 3);
    Put16(bytes, kLife, 3);
    PutPlace(bytes, place);
    return bytes;
}

Outcome PlaceInProfile(QByteArray& bytes, const QString& displayName, const ProfilePlace& place)
{
    if (bytes.size() != kProfileSize)
        return QStringLiteral("%1 holds %2 bytes, not the %3 of the game's save file.")
            .arg(displayName)
            .arg(bytes.size())
            .arg(kProfileSize);
    if (!bytes.startsWith(kMagic))
        return QStringLiteral("%1 is not a save file of the game: it does not start with \"%2\".")
            .arg(displayName, QString::fromLatin1(kMagic));
    PutPlace(bytes, place);
    if (Get16(bytes, kLife) < 1) {
        const qint16 most = Get16(bytes, kMaxLife);
        if (most < 1)
            Put16(bytes, kMaxLife, 3);
        Put16(bytes, kLife, most < 1 ? 3 : most);
    }
    return {};
}

Outcome ComposeProfile(const GameFolder& folder, const ProfilePlace& place, QByteArray& out)
{
    const QString path = folder.findEntry(kProfileName);
    if (path.isEmpty()) {
        out = FreshProfile(place);
        return {};
    }
    const QString shown = path.mid(folder.root().size() + 1);
    // A little room above the right size, so that a wrong size is named.
    QByteArray bytes;
    if (const Outcome read =
            ReadWholeFile(path, shown, bytes, folder.rules(), kProfileSize * 4, QStringLiteral("a save file"));
        !read.ok())
        return read;
    if (const Outcome placed = PlaceInProfile(bytes, shown, place); !placed.ok())
        return placed;
    out = bytes;
    return {};
}

ProfileFields ReadProfileFields(const QByteArray& bytes)
{
    ProfileFields fields;
    if (bytes.size() < kProfileSize)
        return fields;
    fields.stage = Get32(bytes, kStage);
    fields.music = Get32(bytes, kMusic);
    fields.x = Get32(bytes, kX) / kCellUnits;
    fields.y = Get32(bytes, kY) / kCellUnits;
    fields.direction = Get32(bytes, kDirection);
    fields.maxLife = Get16(bytes, kMaxLife);
    fields.life = Get16(bytes, kLife);
    fields.equipment = quint32(Get32(bytes, kEquipment));
    return fields;
}

} // namespace vorn
