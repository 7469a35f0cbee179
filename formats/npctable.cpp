#include "npctable.h"

#include "numtext.h"
#include "backup.h"
#include "entitytypes.h"
#include "safewrite.h"

#include <QLocale>
#include <QRegularExpression>
#include <QtEndian>
#include <limits>
#include <optional>

namespace vorn {
namespace {

// The columns in the order the file holds them, as offsets per type.
struct Columns {
    explicit Columns(qsizetype n)
        : bits(0)
        , life(2 * n)
        , sheet(4 * n)
        , deathSound(5 * n)
        , hitSound(6 * n)
        , deathSmoke(7 * n)
        , experience(8 * n)
        , damage(12 * n)
        , hit(16 * n)
        , view(20 * n)
    {
    }
    qsizetype bits, life, sheet, deathSound, hitSound, deathSmoke, experience, damage, hit, view;
};

QString Bytes(qint64 count) { return QLocale::c().toString(count); }

// A whole number as typed: decimal with an optional sign, or hexadecimal
// after "0x" or "&H"; nullopt for anything else, fractions included.
std::optional<qint64> WholeInteger(const QString& typed)
{
    const QString text = typed.trimmed();
    bool ok = false;
    qint64 value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        const QString digits = text.mid(2);
        if (digits.isEmpty() || digits.size() > 8 || digits.startsWith(u'-') || digits.startsWith(u'+'))
            return std::nullopt;
        value = qint64(digits.toULongLong(&ok, 16));
    } else {
        value = text.toLongLong(&ok, 10);
    }
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

Outcome OutOfRange(NpcField field, const QString& text, qint64 low, qint64 high)
{
    const QString name = NpcFieldName(field);
    return QStringLiteral("The %1 is a whole number from %2 to %3: \"%4\" is refused.")
        .arg(name, QString::number(low), QString::number(high), text.trimmed());
}

Outcome SetNumber(NpcField field, const QString& text, qint64 low, qint64 high, qint64& out)
{
    const std::optional<qint64> value = WholeInteger(text);
    if (!value || *value < low || *value > high)
        return OutOfRange(field, text, low, high);
    out = *value;
    return {};
}

Outcome SetBox(NpcField field, const QString& text, NpcBox& box)
{
    static const QRegularExpression kSeparators(QStringLiteral("[\\s,]+"));
    const QStringList parts = text.trimmed().split(kSeparators, Qt::SkipEmptyParts);
    const QString name = NpcFieldName(field);
    if (parts.size() != 4)
        return QStringLiteral("The %1 is four numbers from 0 to 255, front, top, back and bottom: \"%2\" is refused.")
            .arg(name, text.trimmed());
    quint8 sides[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::optional<qint64> value = WholeInteger(parts[i]);
        if (!value || *value < 0 || *value > 255)
            return QStringLiteral("Each side of the %1 is a whole number from 0 to 255: \"%2\" is refused.")
                .arg(name, parts[i]);
        sides[i] = quint8(*value);
    }
    box = {sides[0], sides[1], sides[2], sides[3]};
    return {};
}

} // namespace

const QString& NpcTableName()
{
    static const QString name = QStringLiteral("data\\npc.tbl");
    return name;
}

Outcome ParseNpcTable(const QByteArray& bytes, const QString& displayName, NpcTable& out)
{
    const qsizetype size = bytes.size();
    if (size == 0)
        return QStringLiteral("%1 is empty: it holds no entity types.").arg(displayName);
    if (size % kNpcTableBytesPerType != 0)
        return QStringLiteral("%1 is not a whole number of entity types: %2 is not a multiple of %3.")
            .arg(displayName, Counted(size, QStringLiteral("byte"), QStringLiteral("bytes")),
                 QString::number(kNpcTableBytesPerType));
    const qsizetype n = size / kNpcTableBytesPerType;
    if (n > kNpcTableMaxTypes)
        return QStringLiteral("%1 holds %2 entity types; no more than %3 are read.")
            .arg(displayName, Bytes(n), Bytes(kNpcTableMaxTypes));

    const Columns at(n);
    const uchar* data = reinterpret_cast<const uchar*>(bytes.constData());
    NpcTable table(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        NpcType& type = table[size_t(i)];
        type.bits = qFromLittleEndian<quint16>(data + at.bits + 2 * i);
        type.life = qFromLittleEndian<quint16>(data + at.life + 2 * i);
        type.sheet = data[at.sheet + i];
        type.deathSound = data[at.deathSound + i];
        type.hitSound = data[at.hitSound + i];
        type.deathSmoke = data[at.deathSmoke + i];
        type.experience = qFromLittleEndian<qint32>(data + at.experience + 4 * i);
        type.damage = qFromLittleEndian<qint32>(data + at.damage + 4 * i);
        const uchar* hit = data + at.hit + 4 * i;
        type.hit = {hit[0], hit[1], hit[2], hit[3]};
        const uchar* view = data + at.view + 4 * i;
        type.view = {view[0], view[1], view[2], view[3]};
    }
    out = std::move(table);
    return {};
}

QByteArray ComposeNpcTable(const NpcTable& table)
{
    const qsizetype n = qsizetype(table.size());
    QByteArray bytes(n * kNpcTableBytesPerType, '\0');
    const Columns at(n);
    uchar* data = reinterpret_cast<uchar*>(bytes.data());
    for (qsizetype i = 0; i < n; ++i) {
        const NpcType& type = table[size_t(i)];
        qToLittleEndian<quint16>(type.bits, data + at.bits + 2 * i);
        qToLittleEndian<quint16>(type.life, data + at.life + 2 * i);
        data[at.sheet + i] = type.sheet;
        data[at.deathSound + i] = type.deathSound;
        data[at.hitSound + i] = type.hitSound;
        data[at.deathSmoke + i] = type.deathSmoke;
        qToLittleEndian<qint32>(type.experience, data + at.experience + 4 * i);
        qToLittleEndian<qint32>(type.damage, data + at.damage + 4 * i);
        uchar* hit = data + at.hit + 4 * i;
        hit[0] = type.hit.front, hit[1] = type.hit.top, hit[2] = type.hit.back, hit[3] = type.hit.bottom;
        uchar* view = data + at.view + 4 * i;
        view[0] = type.view.front, view[1] = type.view.top, view[2] = type.view.back, view[3] = type.view.bottom;
    }
    return bytes;
}

ReadStatus ReadNpcTable(const GameFolder& game, NpcTable& out)
{
    const QString path = game.findEntry(NpcTableName());
    if (path.isEmpty()) {
        out.clear();
        return ReadStatus::Missing();
    }
    ReadableFile file;
    const qint64 maxBytes = qint64(kNpcTableMaxTypes) * kNpcTableBytesPerType;
    const ReadStatus status =
        file.open(path, NpcTableName(), game.rules(), maxBytes, QStringLiteral("an entity type table"));
    if (!status.ok())
        return status;
    if (status.missing) {
        out.clear();
        return status;
    }
    QByteArray bytes;
    if (const Outcome read = file.read(file.size(), bytes); !read.ok())
        return read;
    return ParseNpcTable(bytes, NpcTableName(), out);
}

} // namespace vorn

namespace vorn {

QString NpcTablePath(const GameFolder& game)
{
    const QString found = game.findEntry(NpcTableName());
    if (!found.isEmpty())
        return found;
    const QString data = game.findEntry(QStringLiteral("data"));
    return data.isEmpty() ? QString() : data + QStringLiteral("/npc.tbl");
}

Outcome WriteNpcTable(const GameFolder& game, const NpcTable& table)
{
    if (table.empty() || table.size() > size_t(kNpcTableMaxTypes))
        return QStringLiteral("Cannot write %1: a table holds 1 to %2 entity types, not %3.")
            .arg(NpcTableName(), Bytes(kNpcTableMaxTypes), Bytes(qint64(table.size())));
    const QString path = NpcTablePath(game);
    if (path.isEmpty())
        return QStringLiteral("Cannot write %1: the game folder has no data folder.").arg(NpcTableName());
    if (IsMarkedReadOnly(path))
        return QStringLiteral("Cannot write %1: the file is read-only.").arg(NpcTableName());
    // Checked before the backup, so nothing is copied for a write that the
    // folder's rules refuse anyway.
    if (const PathCheck checked = CheckPath(path, NpcTableName(), game.rules()); !checked.ok())
        return Outcome(checked.refusal());
    if (const Outcome saved = BackUpOnce(game.root(), path); !saved.ok())
        return saved;
    return ReplaceFile(path, NpcTableName(), game.rules(), ComposeNpcTable(table));
}

QString NpcFieldName(NpcField field)
{
    switch (field) {
    case NpcField::Sheet:
        return QStringLiteral("sheet");
    case NpcField::Life:
        return QStringLiteral("life");
    case NpcField::Damage:
        return QStringLiteral("damage");
    case NpcField::Experience:
        return QStringLiteral("experience");
    case NpcField::HurtSound:
        return QStringLiteral("hurt sound");
    case NpcField::DeathSound:
        return QStringLiteral("death sound");
    case NpcField::Smoke:
        return QStringLiteral("smoke size");
    case NpcField::HitBox:
        return QStringLiteral("hit box");
    case NpcField::ViewBox:
        return QStringLiteral("view box");
    case NpcField::Bits:
        return QStringLiteral("bits");
    }
    return {};
}

QString NpcFieldText(const NpcType& type, NpcField field)
{
    const auto box = [](const NpcBox& b) {
        return QStringLiteral("%1 %2 %3 %4").arg(b.front).arg(b.top).arg(b.back).arg(b.bottom);
    };
    switch (field) {
    case NpcField::Sheet:
        return QString::number(type.sheet);
    case NpcField::Life:
        return QString::number(type.life);
    case NpcField::Damage:
        return QString::number(type.damage);
    case NpcField::Experience:
        return QString::number(type.experience);
    case NpcField::HurtSound:
        return QString::number(type.hitSound);
    case NpcField::DeathSound:
        return QString::number(type.deathSound);
    case NpcField::Smoke:
        return QString::number(type.deathSmoke);
    case NpcField::HitBox:
        return box(type.hit);
    case NpcField::ViewBox:
        return box(type.view);
    case NpcField::Bits:
        return QStringLiteral("0x") + QString::number(type.bits, 16).toUpper().rightJustified(4, u'0');
    }
    return {};
}

Outcome SetNpcField(NpcType& type, NpcField field, const QString& text)
{
    constexpr qint64 kI32Low = std::numeric_limits<qint32>::min();
    constexpr qint64 kI32High = std::numeric_limits<qint32>::max();
    qint64 value = 0;
    switch (field) {
    case NpcField::HitBox:
        return SetBox(field, text, type.hit);
    case NpcField::ViewBox:
        return SetBox(field, text, type.view);
    case NpcField::Bits:
        if (const std::optional<quint16> named = EntityBitsFromNames(text)) {
            type.bits = *named;
            return {};
        }
        if (const Outcome set = SetNumber(field, text, 0, 0xFFFF, value); !set.ok())
            return QStringLiteral("The bits are a number from 0 to 65535 (0xFFFF) or bit names joined by commas: "
                                  "\"%1\" is refused.")
                .arg(text.trimmed());
        type.bits = quint16(value);
        return {};
    case NpcField::Life:
        if (const Outcome set = SetNumber(field, text, 0, 0xFFFF, value); !set.ok())
            return set;
        type.life = quint16(value);
        return {};
    case NpcField::Damage:
    case NpcField::Experience:
        if (const Outcome set = SetNumber(field, text, kI32Low, kI32High, value); !set.ok())
            return set;
        (field == NpcField::Damage ? type.damage : type.experience) = qint32(value);
        return {};
    case NpcField::Sheet:
    case NpcField::HurtSound:
    case NpcField::DeathSound:
    case NpcField::Smoke: {
        if (const Outcome set = SetNumber(field, text, 0, 255, value); !set.ok())
            return set;
        quint8& byte = field == NpcField::Sheet        ? type.sheet
                       : field == NpcField::HurtSound  ? type.hitSound
                       : field == NpcField::DeathSound ? type.deathSound
                                                       : type.deathSmoke;
        byte = quint8(value);
        return {};
    }
    }
    return QStringLiteral("There is no such field.");
}

} // namespace vorn
