#include "typetable.h"

#include "entitytypes.h"
#include "inifile.h"
#include "settingslocation.h"
#include "snapshotchange.h"

#include <functional>

namespace vorn {
namespace {

// One change: the state before and after, whole (about 9 KB for the shipped
// table), so that undo gives back every byte and name.
using TypeTableChange = SnapshotChange<TypeTableState>;

bool SameRow(const NpcType& a, const NpcType& b)
{
    return ComposeNpcTable({a}) == ComposeNpcTable({b}) && a.drawnAs == b.drawnAs;
}

bool SameState(const TypeTableState& a, const TypeTableState& b)
{
    if (a.types.size() != b.types.size() || a.ownNames != b.ownNames)
        return false;
    for (size_t i = 0; i < a.types.size(); ++i)
        if (!SameRow(a.types[i], b.types[i]))
            return false;
    return true;
}

} // namespace

void ApplyAddedTypeLooks(NpcTable& table, const QString& settingsPath, const QString& gameRoot)
{
    if (table.size() <= size_t(kShippedEntityTypes))
        return;
    const QStringList looks = INIReadNumberedKeys(settingsPath, GameEntitySpritesSection(gameRoot), int(table.size()));
    for (int type = kShippedEntityTypes; type < int(table.size()); ++type) {
        bool number = false;
        const int shipped = looks[type].toInt(&number);
        table[size_t(type)].drawnAs = number && ShippedType(shipped) ? qint16(shipped) : qint16(-1);
    }
}

TypeTable::TypeTable(const GameFolder& folder, Settings settings, QObject* parent)
    : QObject(parent)
    , folder_(folder)
    , settings_(std::move(settings))
{
}

Outcome TypeTable::read()
{
    undo_.clear();
    state_ = {};
    onDisk_ = {};
    sharedNames_.clear();
    stamp_ = StampOf(folder_.findEntry(NpcTableName()));
    NpcTable table;
    const ReadStatus read = ReadNpcTable(folder_, table);
    Outcome outcome = read;
    if (read.ok() && read.missing)
        outcome = QStringLiteral("%1 is missing: there is no entity type table to edit.").arg(NpcTableName());
    if (outcome.ok()) {
        const QString settings = SettingsFileToRead(settings_.path, settings_.seed);
        const int n = int(table.size());
        ApplyAddedTypeLooks(table, settings, folder_.root());
        state_.types = std::move(table);
        state_.ownNames = OwnEntityTypeNames(settings, n, folder_.root());
        sharedNames_ = EntityTypeNames(settings, n);
        onDisk_ = state_;
    }
    emit changed();
    return outcome;
}

QString TypeTable::defaultName(int type) const
{
    if (type >= 0 && type < int(sharedNames_.size()))
        return sharedNames_[type];
    return ShippedTypeName(type);
}

QString TypeTable::name(int type) const
{
    if (hasType(type) && !state_.ownNames[type].isEmpty())
        return state_.ownNames[type];
    return defaultName(type);
}

void TypeTable::show(const TypeTableState& state)
{
    state_ = state;
    emit changed();
}

void TypeTable::push(TypeTableState after, const QString& what)
{
    if (SameState(after, state_))
        return;
    undo_.push(new TypeTableChange(state_, std::move(after), what, [this](const TypeTableState& s) { show(s); }));
}

Outcome TypeTable::setField(int type, NpcField field, const QString& text)
{
    if (!hasType(type))
        return QStringLiteral("There is no entity type %1.").arg(type);
    NpcType row = state_.types[size_t(type)];
    if (const Outcome set = SetNpcField(row, field, text); !set.ok())
        return set;
    return setType(type, row, QStringLiteral("Type %1's %2").arg(type).arg(NpcFieldName(field)));
}

Outcome TypeTable::setType(int type, const NpcType& row, const QString& what)
{
    if (!hasType(type))
        return QStringLiteral("There is no entity type %1.").arg(type);
    TypeTableState after = state_;
    after.types[size_t(type)] = row;
    push(std::move(after), what);
    return {};
}

Outcome TypeTable::setName(int type, const QString& name)
{
    if (!hasType(type))
        return QStringLiteral("There is no entity type %1.").arg(type);
    const QString trimmed = name.trimmed();
    if (trimmed.contains(u'\n') || trimmed.contains(u'\r'))
        return QStringLiteral("A name is one line.");
    if (trimmed.size() > 511)
        return QStringLiteral("A name is at most 511 characters: the settings file keeps no more.");
    TypeTableState after = state_;
    after.ownNames[type] = trimmed == defaultName(type) ? QString() : trimmed;
    push(std::move(after), QStringLiteral("Type %1's name").arg(type));
    return {};
}

Outcome TypeTable::addType(int copyOf)
{
    if (!hasType(copyOf))
        return QStringLiteral("Select the type to copy.");
    if (count() >= kNpcTableMaxTypes)
        return QStringLiteral("%1 holds at most %2 entity types.").arg(NpcTableName()).arg(kNpcTableMaxTypes);
    TypeTableState after = state_;
    NpcType copy = state_.types[size_t(copyOf)];
    if (copyOf < kShippedEntityTypes)
        copy.drawnAs = qint16(copyOf);
    after.types.push_back(copy);
    const QString copied = name(copyOf);
    after.ownNames << (copied.isEmpty() ? QString() : copied + QStringLiteral(" (copy)"));
    push(std::move(after), QStringLiteral("Copy of type %1").arg(copyOf));
    return {};
}

bool TypeTable::changedOutside() const { return StampOf(folder_.findEntry(NpcTableName())) != stamp_; }

Outcome TypeTable::save()
{
    if (state_.types.empty())
        return QStringLiteral("There is no entity type table to write.");
    if (ComposeNpcTable(state_.types) != ComposeNpcTable(onDisk_.types) || changedOutside()) {
        if (const Outcome written = WriteNpcTable(folder_, state_.types); !written.ok())
            return written;
        stamp_ = StampOf(folder_.findEntry(NpcTableName()));
        onDisk_.types = state_.types;
    }

    // Only the keys that changed, so a name another Vorn stored meanwhile
    // for another type stays.
    QList<std::pair<QString, QString>> names, looks;
    for (int type = 0; type < count(); ++type) {
        const QString before = type < int(onDisk_.ownNames.size()) ? onDisk_.ownNames[type] : QString();
        if (state_.ownNames[type] != before)
            names.push_back({QString::number(type), state_.ownNames[type]});
        if (type >= kShippedEntityTypes) {
            const qint16 drawnAs = state_.types[size_t(type)].drawnAs;
            looks.push_back({QString::number(type), drawnAs >= 0 ? QString::number(drawnAs) : QString()});
        }
    }
    if (!names.isEmpty() || !looks.isEmpty()) {
        Outcome written = PrepareSettingsFile(settings_.path, settings_.seed);
        if (written.ok() && !names.isEmpty()) {
            // The folder the section stands for, for whoever reads the file.
            if (!folder_.root().contains(u'\n') && !folder_.root().contains(u'\r'))
                names.push_front({QStringLiteral("Folder"), folder_.root()});
            written = INIWriteValues(settings_.path, GameEntitiesSection(folder_.root()), names);
        }
        if (written.ok() && !looks.isEmpty())
            written = INIWriteValues(settings_.path, GameEntitySpritesSection(folder_.root()), looks);
        if (!written.ok())
            return QStringLiteral("%1 was written, but the names were not: %2").arg(NpcTableName(), written.refusal());
    }
    onDisk_ = state_;
    undo_.setClean();
    return {};
}

} // namespace vorn
