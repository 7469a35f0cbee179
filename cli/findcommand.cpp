// vorn-tool find: every place in the game that uses an event, a flag, an
// entity type or a stage, in the entity files and the scripts alike.
#include "command.h"

#include "entitytypes.h"
#include "gamescripts.h"
#include "scriptcheck.h"
#include "stageloading.h"

#include <QRegularExpression>
#include <QSet>
#include <set>

namespace vorn::cli {
namespace {

enum class Sought { Event, Flag, Type, Stage };

// Does an argument of this kind name the number sought? Skip flags and map
// flags are tables of their own, so a flag is only a Flag argument; a map
// flag is a stage's number (MP+ marks that stage's map).
bool KindMatches(Sought sought, ScriptArgKind kind)
{
    switch (sought) {
    case Sought::Event:
        return kind == ScriptArgKind::Event || kind == ScriptArgKind::EntityEvent;
    case Sought::Flag:
        return kind == ScriptArgKind::Flag;
    case Sought::Type:
        return kind == ScriptArgKind::EntityType;
    case Sought::Stage:
        return kind == ScriptArgKind::Stage || kind == ScriptArgKind::MapFlag;
    }
    return false;
}

// The header line as written, without its line end.
QByteArray HeaderText(const QByteArray& decoded, const ScriptEvent& event)
{
    QByteArray line = decoded.mid(event.header.offset, event.bodyOffset - event.header.offset);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

class FindCommand : public Command {
public:
    QString name() const override { return QStringLiteral("find"); }
    QString synopsis() const override
    {
        return QStringLiteral("find (--event N | --flag N | --type N | --stage N) [--in STAGE] [--tsv]");
    }
    QString summary() const override { return QStringLiteral("list every use of an event, flag, type or stage"); }
    QString description() const override
    {
        return QStringLiteral(
            "Lists every place in the game that uses the number given, one per line: entities as "
            "\"stage 13 entity 4 at (11, 2): type 60 Toroko\", and script events and commands as "
            "\"data\\stage\\Hollow.tsc:12:31: <TRA0012:0090:0005:0005\" (line and column; the header or "
            "the command as written). --event N: entities whose event is N, events numbered N, and "
            "command arguments that are an event (EVE, the jumps, TRA's event) or pick entities by "
            "their event (CNP, ANP, DNP, ...). --flag N: entities whose flag is N and flag arguments "
            "(FL+, FL-, FLJ); skip flags and map flags are other numbers and not matched. --type N: "
            "entities of type N and type arguments (CNP, DNA, NCJ, SNP, ...); --type NAME: the same for every type "
            "whose name holds NAME (\"critter\"), refused with the candidates listed when more than 10 do. --stage N: TRA to stage "
            "N and MP+ marking its map. The shared scripts data\\Head.tsc, data\\ArmsItem.tsc and "
            "data\\StageSelect.tsc come first, then each stage's entities and script; a file several "
            "stages share is searched once, under the first of them. --in STAGE searches only that stage's "
            "entities and script, under that stage; the shared scripts are left out. Arguments count as the game "
            "reads them. With --tsv, tab-separated values after a heading line: kind (entity, event "
            "or command), stage (empty for a shared script), file, line, column, entity, x, y, type, "
            "text (the type's name, or the header or command), escaped as the other lists are. "
            "Standard error ends with how many places were found. Exit status 0 whether or not "
            "anything was found, 1 when a file could not be read (the rest is still searched).");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(event_);
        parser.addOption(flag_);
        parser.addOption(type_);
        parser.addOption(stage_);
        parser.addOption(in_);
        parser.addOption(tsv_);
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        if (!parser.positionalArguments().isEmpty())
            return QStringLiteral("takes no arguments, only one of --event, --flag, --type and --stage.");
        int given = 0;
        for (const auto& [option, sought] : {std::pair{&event_, Sought::Event}, std::pair{&flag_, Sought::Flag},
                                             std::pair{&type_, Sought::Type}, std::pair{&stage_, Sought::Stage}}) {
            if (!parser.isSet(*option))
                continue;
            ++given;
            sought_ = sought;
            static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
            const QString value = parser.value(*option);
            if (digits.match(value).hasMatch()) {
                numbers_ = {value.toInt()};
            } else if (sought == Sought::Type && !value.trimmed().isEmpty()) {
                typeQuery_ = value.trimmed(); // a name, or part of one: matched once the game is known
            } else {
                return QStringLiteral("\"%1\" is not a number (0 or more).").arg(value);
            }
        }
        if (given != 1)
            return QStringLiteral("give exactly one of --event, --flag, --type and --stage.");
        if (parser.isSet(in_)) {
            if (const Outcome parsed = ParseOneStage({parser.value(in_)}, inStage_); !parsed.ok())
                return parsed;
            only_ = true;
        }
        asTsv_ = parser.isSet(tsv_);
        return {};
    }
    Outcome takeGame(const Game& game) override
    {
        names_ = EntityTypeNames(EditorSettingsFile(), kTypeNames, game.folder.root());
        if (!typeQuery_.isEmpty())
            if (const Outcome matched = matchTypeName(); !matched.ok())
                return matched;
        if (!only_)
            return {};
        QList<int> stages{inStage_};
        return CheckStageNumbers(game, stages);
    }
    int run(const Game& game) override
    {
        if (asTsv_)
            PrintCells({QStringLiteral("kind"), QStringLiteral("stage"), QStringLiteral("file"), QStringLiteral("line"),
                        QStringLiteral("column"), QStringLiteral("entity"), QStringLiteral("x"), QStringLiteral("y"),
                        QStringLiteral("type"), QStringLiteral("text")});
        if (!only_)
            for (const QString& file : SharedScriptNames())
                searchScript(game.folder, file, -1);
        QSet<QString> searched; // files as found
        const int first = only_ ? inStage_ : 0;
        const int last = only_ ? inStage_ : game.stageCount() - 1;
        for (int stage = first; stage <= last; ++stage) {
            const QString mapName = DecodeAnsi(CutAtNull(game.table[size_t(stage)].map()));
            if (mapName.isEmpty())
                continue; // an unused record
            if (!IsPlainFileName(mapName)) {
                refused(PlainNameError(stage, QStringLiteral("map"), mapName));
                continue;
            }
            const StageFiles files = MapFilesOf(mapName);
            for (const QString& file : {files.entities, files.script}) {
                const QString path = game.folder.findEntry(file);
                if (path.isEmpty() || searched.contains(path))
                    continue;
                searched.insert(path);
                if (file == files.entities)
                    searchEntities(game.folder, files, stage);
                else
                    searchScript(game.folder, file, stage);
            }
        }
        PrintError(found_ == 0   ? QStringLiteral("found nothing.")
                   : found_ == 1 ? QStringLiteral("found 1 place.")
                                 : QStringLiteral("found %1 places.").arg(found_));
        return status_;
    }

private:
    // Every type whose name holds the text sought; too many is an error
    // that lists them, so the user can give more of the name or a number.
    Outcome matchTypeName()
    {
        QStringList candidates;
        for (int type = 0; type < names_.size(); ++type) {
            if (names_[type].contains(typeQuery_, Qt::CaseInsensitive)) {
                numbers_.insert(type);
                candidates << QStringLiteral("%1 %2").arg(type).arg(names_[type]);
            }
        }
        if (numbers_.empty())
            return QStringLiteral("no entity type is named like \"%1\".").arg(typeQuery_);
        if (numbers_.size() > kMostTypesByName)
            return QStringLiteral("\"%1\" names %2 entity types, more than %3: %4. Give more of the name, or "
                                  "the number.")
                .arg(typeQuery_)
                .arg(numbers_.size())
                .arg(kMostTypesByName)
                .arg(candidates.join(QStringLiteral(", ")));
        PrintError(QStringLiteral("type %1").arg(candidates.join(QStringLiteral(", type "))));
        return {};
    }

    void refused(const QString& why)
    {
        PrintError(why);
        status_ = kFoundWrong;
    }

    void searchEntities(const GameFolder& folder, const StageFiles& files, int stage)
    {
        if (sought_ == Sought::Stage)
            return; // entities name no stage
        qint16 count = 0;
        EntityRecords records{};
        if (const ReadStatus read = LoadStageEntities(folder, files, count, records); !read.ok()) {
            refused(QStringLiteral("stage %1: %2").arg(stage).arg(read.refusal()));
            return;
        }
        for (int i = 0; i < count; ++i) {
            const EntityRecord& e = records[size_t(i)];
            const int field = sought_ == Sought::Event ? e.TSC : sought_ == Sought::Flag ? e.Flag : e.Type;
            if (!numbers_.contains(field))
                continue;
            const QString typeName = names_.value(e.Type); // empty for a negative type too
            ++found_;
            if (asTsv_) {
                PrintCells({QStringLiteral("entity"),
                            QString::number(stage),
                            EscapedCell(files.entities),
                            {},
                            {},
                            QString::number(i),
                            QString::number(e.X),
                            QString::number(e.Y),
                            QString::number(e.Type),
                            EscapedCell(typeName)});
            } else {
                QString line = QStringLiteral("stage %1 entity %2 at (%3, %4): type %5")
                                   .arg(stage)
                                   .arg(i)
                                   .arg(e.X)
                                   .arg(e.Y)
                                   .arg(e.Type);
                if (!typeName.isEmpty())
                    line += u' ' + typeName;
                PrintLine(line);
            }
        }
    }

    // A missing script has no uses; one that cannot be read is said so.
    void searchScript(const GameFolder& folder, const QString& file, int stage)
    {
        if (folder.findEntry(file).isEmpty())
            return;
        QByteArray decoded;
        if (const Outcome read = ReadDecodedScript(folder, file, decoded); !read.ok()) {
            refused(read.refusal());
            return;
        }
        const ParsedScript parsed = ParseScript(decoded);
        // Headers and commands in the order they stand in the file.
        std::size_t e = 0;
        for (const ScriptCommandUse& command : parsed.commands) {
            for (; e < parsed.events.size() && parsed.events[e].header.offset < command.position.offset; ++e)
                headerFound(decoded, parsed.events[e], file, stage);
            if (!command.info)
                continue;
            for (int i = 0; i < command.argumentCount; ++i) {
                if (KindMatches(sought_, command.info->kinds[size_t(i)]) &&
                    numbers_.contains(command.arguments[size_t(i)].value)) {
                    place(file, stage, command.position, decoded.mid(command.position.offset, command.length));
                    break; // the command once, however many of its arguments match
                }
            }
        }
        for (; e < parsed.events.size(); ++e)
            headerFound(decoded, parsed.events[e], file, stage);
    }

    void headerFound(const QByteArray& decoded, const ScriptEvent& event, const QString& file, int stage)
    {
        if (sought_ == Sought::Event && numbers_.contains(event.number))
            place(file, stage, event.header, HeaderText(decoded, event), true);
    }

    void place(const QString& file, int stage, const ScriptPosition& at, const QByteArray& written, bool header = false)
    {
        ++found_;
        const QString text = DecodeAnsi(written);
        if (asTsv_)
            PrintCells({header ? QStringLiteral("event") : QStringLiteral("command"),
                        stage < 0 ? QString() : QString::number(stage),
                        EscapedCell(file),
                        QString::number(at.line),
                        QString::number(at.column),
                        {},
                        {},
                        {},
                        {},
                        EscapedCell(text)});
        else
            PrintLine(QStringLiteral("%1:%2:%3: %4").arg(file).arg(at.line).arg(at.column).arg(text));
    }

    QCommandLineOption event_{QStringLiteral("event"), QStringLiteral("Uses of event N."), QStringLiteral("N")};
    QCommandLineOption flag_{QStringLiteral("flag"), QStringLiteral("Uses of flag N."), QStringLiteral("N")};
    QCommandLineOption type_{QStringLiteral("type"),
                             QStringLiteral("Uses of entity type N, or of every type whose name holds NAME."),
                             QStringLiteral("N|NAME")};
    QCommandLineOption stage_{QStringLiteral("stage"), QStringLiteral("Uses of stage N."), QStringLiteral("N")};
    QCommandLineOption in_{QStringLiteral("in"), QStringLiteral("Search only stage STAGE's entities and script."),
                           QStringLiteral("STAGE")};
    QCommandLineOption tsv_{QStringLiteral("tsv"), QStringLiteral("Tab-separated values, for scripts.")};
    bool only_ = false;
    int inStage_ = 0;
    Sought sought_ = Sought::Event;
    std::set<int> numbers_; // one, or the types a name matched
    QString typeQuery_;
    static constexpr int kTypeNames = 8192; // as many as npc.tbl may hold
    static constexpr size_t kMostTypesByName = 10;
    bool asTsv_ = false;
    QStringList names_;
    int found_ = 0;
    int status_ = kSuccess;
};

} // namespace

std::unique_ptr<Command> MakeFindCommand() { return std::make_unique<FindCommand>(); }

} // namespace vorn::cli
