#include "scripthelp.h"

#include "stagetable.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

namespace vorn {
namespace {

bool Contains(const std::vector<int>& list, int value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

// "entity 4 (type 60 Toroko) at (11, 2)"
QString EntityText(const ScriptHelpEntity& entity, const ScriptHelpSources& sources)
{
    const QString name = sources.typeName ? sources.typeName(entity.type) : QString();
    return QStringLiteral("entity %1 (type %2%3) at (%4, %5)")
        .arg(entity.index)
        .arg(entity.type)
        .arg(name.isEmpty() ? QString() : u' ' + name)
        .arg(entity.x)
        .arg(entity.y);
}

// The entities of `stage` with event `number`, one line each.
QStringList Carriers(int stage, int number, const ScriptHelpSources& sources)
{
    QStringList lines;
    if (stage < 0 || !sources.entities || number == 0)
        return lines;
    for (const ScriptHelpEntity& entity : sources.entities(stage))
        if (entity.event == number)
            lines << QStringLiteral("Event %1 is on %2.").arg(ScriptEventName(number), EntityText(entity, sources));
    return lines;
}

QString StageText(int stage, const ScriptHelpSources& sources)
{
    if (!sources.game || !sources.game->hasStage(stage))
        return QStringLiteral("Stage %1 is not in the stage table.").arg(stage);
    return sources.game->stageCaption(stage) + u'.';
}

QString ArgumentHelp(const ScriptCommandUse& command, int i, const ParsedScript& parsed, int stage,
                     const ScriptHelpSources& sources)
{
    const ScriptCommandInfo& info = *command.info;
    const ScriptArgument& argument = command.arguments[size_t(i)];
    const ScriptArgKind kind = info.kinds[size_t(i)];
    QStringList lines;
    lines
        << QStringLiteral("<%1 argument %2: %3").arg(QLatin1String(info.code)).arg(i + 1).arg(ScriptArgKindName(kind));
    if (!argument.digits) {
        lines << QStringLiteral("Not four digits: the game reads %1.").arg(argument.value);
        return lines.join(u'\n');
    }
    const int value = argument.value;
    const bool isTra = std::strcmp(info.code, "TRA") == 0;
    switch (kind) {
    case ScriptArgKind::EntityType: {
        const QString name = sources.typeName ? sources.typeName(value) : QString();
        lines << (name.isEmpty() ? QStringLiteral("Type %1 has no name.").arg(value)
                                 : QStringLiteral("Type %1: %2").arg(value).arg(name));
        break;
    }
    case ScriptArgKind::Stage:
        lines << StageText(value, sources);
        break;
    case ScriptArgKind::Event:
        if (isTra && command.arguments[0].digits) {
            const int target = command.arguments[0].value;
            const auto events = sources.scripts ? sources.scripts->stageEvents(target) : std::nullopt;
            if (!events)
                lines << QStringLiteral("Stage %1's script cannot be read.").arg(target);
            else
                lines << (Contains(*events, value) ? QStringLiteral("Event %1 is in stage %2's script.")
                                                   : QStringLiteral("Event %1 is not in stage %2's script."))
                             .arg(ScriptEventName(value))
                             .arg(target);
        } else {
            const bool here = std::any_of(parsed.events.begin(), parsed.events.end(),
                                          [&](const ScriptEvent& e) { return e.findable && e.number == value; });
            // A stage script runs after Head.tsc, whose events it can use.
            const auto head =
                stage >= 0 && sources.scripts ? sources.scripts->scriptEvents(HeadScriptName()) : std::nullopt;
            if (here)
                lines << QStringLiteral("Event %1 is in this script.").arg(ScriptEventName(value));
            else if (head && Contains(*head, value))
                lines << QStringLiteral("Event %1 is in Head.tsc.").arg(ScriptEventName(value));
            else
                lines << QStringLiteral("Event %1 is not in this script.").arg(ScriptEventName(value));
            lines << Carriers(stage, value, sources);
        }
        break;
    case ScriptArgKind::EntityEvent: {
        const QStringList carriers = Carriers(stage, value, sources);
        if (carriers.isEmpty() && stage >= 0)
            lines << QStringLiteral("No entity of this stage has event %1.").arg(ScriptEventName(value));
        lines << carriers;
        break;
    }
    default:
        lines << QString::number(value);
        break;
    }
    return lines.join(u'\n');
}

} // namespace

QString ScriptArgKindName(ScriptArgKind kind)
{
    switch (kind) {
    case ScriptArgKind::Number:
        return QStringLiteral("number");
    case ScriptArgKind::Event:
        return QStringLiteral("event");
    case ScriptArgKind::Flag:
        return QStringLiteral("flag");
    case ScriptArgKind::SkipFlag:
        return QStringLiteral("skip flag");
    case ScriptArgKind::MapFlag:
        return QStringLiteral("map flag");
    case ScriptArgKind::Stage:
        return QStringLiteral("stage");
    case ScriptArgKind::Item:
        return QStringLiteral("item");
    case ScriptArgKind::Weapon:
        return QStringLiteral("weapon");
    case ScriptArgKind::Ammo:
        return QStringLiteral("ammo");
    case ScriptArgKind::Equip:
        return QStringLiteral("equipment");
    case ScriptArgKind::Life:
        return QStringLiteral("health");
    case ScriptArgKind::X:
        return QStringLiteral("x");
    case ScriptArgKind::Y:
        return QStringLiteral("y");
    case ScriptArgKind::Direction:
        return QStringLiteral("direction");
    case ScriptArgKind::EntityEvent:
        return QStringLiteral("entity's event");
    case ScriptArgKind::EntityType:
        return QStringLiteral("entity type");
    case ScriptArgKind::Sound:
        return QStringLiteral("sound");
    case ScriptArgKind::Music:
        return QStringLiteral("music");
    case ScriptArgKind::Face:
        return QStringLiteral("face");
    case ScriptArgKind::Ticks:
        return QStringLiteral("ticks");
    case ScriptArgKind::Illustration:
        return QStringLiteral("illustration");
    }
    return {};
}

QString ScriptCommandTemplate(const ScriptCommandInfo& info)
{
    QString text = u'<' + QLatin1String(info.code);
    for (int i = 0; i < info.argCount; ++i)
        text += i == 0 ? QStringLiteral("0000") : QStringLiteral(":0000");
    return text;
}

QString ScriptHelpAt(const ParsedScript& parsed, int offset, int stage, const ScriptHelpSources& sources)
{
    const auto after = std::upper_bound(parsed.commands.begin(), parsed.commands.end(), offset,
                                        [](int at, const ScriptCommandUse& c) { return at < c.position.offset; });
    if (after != parsed.commands.begin()) {
        const ScriptCommandUse& command = *std::prev(after);
        const int start = command.position.offset;
        if (offset < start + std::max(command.length, 4)) {
            if (!command.info)
                return QStringLiteral("<%1 is no command: the game quits on it.")
                    .arg(QString::fromLatin1(command.code));
            for (int i = 0; i < command.argumentCount; ++i) {
                const int at = command.arguments[size_t(i)].position.offset;
                if (offset >= at && offset < at + 4)
                    return ArgumentHelp(command, i, parsed, stage, sources);
            }
            const ScriptCommandInfo& info = *command.info;
            QStringList kinds;
            for (int i = 0; i < info.argCount; ++i)
                kinds << ScriptArgKindName(info.kinds[size_t(i)]);
            QString text = ScriptCommandTemplate(info) + u'\n' + QString::fromUtf8(info.summary);
            if (!kinds.isEmpty())
                text += QStringLiteral("\nArguments: ") + kinds.join(QStringLiteral(", "));
            if (!command.reachable)
                text += QStringLiteral("\nNever reached: the event has left before it.");
            return text;
        }
    }
    for (const ScriptEvent& event : parsed.events) {
        if (offset >= event.header.offset && offset < event.bodyOffset) {
            QStringList lines;
            lines << QStringLiteral("Event %1").arg(ScriptEventName(event.number));
            lines << Carriers(stage, event.number, sources);
            return lines.join(u'\n');
        }
    }
    return {};
}

} // namespace vorn
