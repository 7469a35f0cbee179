#include "npctable.h"

#include "numtext.h"

#include <QLocale>
#include <QtEndian>

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
