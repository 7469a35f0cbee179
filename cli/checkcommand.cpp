// vorn-tool check: what would keep a stage from opening in the editor, or
// open it wrong, found without writing anything.
#include "command.h"

#include "entitysprite.h"
#include "gamefile.h"
#include "gamescripts.h"
#include "numtext.h"
#include "safewrite.h"
#include "stageloading.h"
#include "tiletypes.h"
#include "visibletext.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <optional>
#include <vector>

namespace vorn::cli {
namespace {

// What the game itself holds, beyond what the editor reads.
constexpr qint64 kGameMaxCells = 307200; // the map buffer
constexpr int kGameMaxEntities = 342; // entity slots 170 to 511
constexpr int kGameMaxTilesetSide = 256;

// The baseline file: UTF-8 text, one finding a line, five cells between
// tabs, escaped as --tsv cells are: the stage (empty for a script or a file
// of the whole game), the file, the event (empty for none), "error" or
// "warning", and the words. Lines starting with '#', and blank ones, are
// notes.
constexpr int kBaselineCells = 5;
constexpr qint64 kMaxBaselineBytes = 64 * 1024 * 1024;
constexpr char kBaselineHeading[] =
    "# vorn-tool check baseline: findings a check with --baseline leaves out, one a line:\n"
    "# stage, file, event, error or warning, and the words, between tabs; no stage for a script.\n";

QString BaselineKey(int stage, const QString& file, const QString& event, QLatin1String kind, const QString& text)
{
    return QStringList{stage < 0 ? QString() : QString::number(stage), EscapedCell(file), EscapedCell(event), kind,
                       EscapedCell(text)}
        .join(u'\t');
}

// The findings a baseline file lists, each with how often.
Outcome ReadBaseline(const QString& path, QHash<QString, int>& known)
{
    QByteArray bytes;
    if (const Outcome read = ReadWholeFile(path, path, bytes, {}, kMaxBaselineBytes, QStringLiteral("a baseline"));
        !read.ok())
        return read;
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1); // edited on Windows
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList cells = line.split(u'\t');
        if (cells.size() != kBaselineCells || (cells[3] != u"error" && cells[3] != u"warning"))
            return QStringLiteral("%1, line %2, is not a finding: a baseline line holds a stage, a file, an event, "
                                  "\"error\" or \"warning\", and the words, between tabs.")
                .arg(path)
                .arg(n + 1);
        ++known[line];
    }
    return {};
}

// Where a finding in a script stands.
struct ScriptPlace {
    int line = 0; // 0: the whole script
    int column = 0;
    QString event; // the event it lies in ("0090"); empty for none
};

// The findings of one run: each printed as it is found, unless a baseline
// already holds it. A baseline is a multiset: a finding listed once leaves
// out one finding of its kind, so a second copy of an old fault is new.
class Findings {
public:
    void error(int stage, const QString& file, const QString& text) { add(stage, file, nullptr, true, text); }
    void warning(int stage, const QString& file, const QString& text) { add(stage, file, nullptr, false, text); }
    // A file of the whole game rather than of one stage.
    void gameError(const QString& file, const QString& text) { add(-1, file, nullptr, true, text); }
    void gameWarning(const QString& file, const QString& text) { add(-1, file, nullptr, false, text); }
    void inScript(int stage, const QString& file, const ScriptPlace& place, bool isError, const QString& text)
    {
        add(stage, file, &place, isError, text);
    }

    void leaveOut(QHash<QString, int> known) { known_ = std::move(known); }
    int errors = 0;
    int warnings = 0;
    int leftOut = 0;
    QStringList keys; // every finding, left out or not, as a baseline lists it

private:
    void add(int stage, const QString& file, const ScriptPlace* place, bool isError, const QString& text)
    {
        const QLatin1String kind(isError ? "error" : "warning");
        // A script finding is known by its script, event and words: the
        // line moves with every edit above it, and the stage it is reported
        // under is only the first that names the script.
        const QString key = BaselineKey(place ? -1 : stage, file, place ? place->event : QString(), kind, text);
        keys << key;
        if (int& known = known_[key]; known > 0) {
            --known;
            ++leftOut;
            return;
        }
        const QString where =
            place && place->line > 0 ? QStringLiteral("%1:%2:%3").arg(file).arg(place->line).arg(place->column) : file;
        // The file is named from the record: a "\r\n" in it must not pass for a line break.
        const QString finding = QStringLiteral("%1: %2: %3").arg(EscapeControls(where), kind, text);
        PrintLine(stage < 0 ? finding : QStringLiteral("stage %1: ").arg(stage) + finding);
        ++(isError ? errors : warnings);
    }

    QHash<QString, int> known_;
};

// The game's entity type table, read once for every stage checked.
struct TypeTable {
    NpcTable types;
    bool read = false; // false: missing or refused, and nothing is checked against it
};

// "307,200": the C locale without its default of leaving out the separator.
QString Number(qint64 n)
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions({});
    return locale.toString(n);
}

// "1 entity is drawn from", "3 entities are drawn from".
QString DrawnFrom(int n)
{
    return n == 1 ? QStringLiteral("1 entity is drawn from") : QStringLiteral("%1 entities are drawn from").arg(n);
}

// Bytes 4 to 7 of a map or entity file the editor refused, as two 16-bit
// numbers (width and height, or the count), so that the game's own limits
// are checked on what the file says; none when there is no header to read.
std::optional<std::pair<qint16, qint16>> HeaderNumbers(const GameFolder& folder, const QString& builtName)
{
    const QString path = folder.findEntry(builtName);
    if (path.isEmpty())
        return std::nullopt;
    QByteArray header;
    const ReadStatus read = ReadGameFile(path, builtName, folder.rules(), [&](QIODevice& device) {
        return ReadGameFileHeader(device, builtName, header);
    });
    if (!read.ok() || read.missing)
        return std::nullopt;
    return std::pair{qFromLittleEndian<qint16>(header.constData() + 4),
                     qFromLittleEndian<qint16>(header.constData() + 6)};
}

void CheckCells(int width, int height, const QString& file, int stage, Findings& found)
{
    if (width > 0 && height > 0 && qint64(width) * height > kGameMaxCells)
        found.error(stage, file,
                    QStringLiteral("the map has %1 x %2 cells, %3 in all; the game holds no more than %4.")
                        .arg(width)
                        .arg(height)
                        .arg(Number(qint64(width) * height), Number(kGameMaxCells)));
}

void CheckEntityCount(int count, const QString& file, int stage, Findings& found)
{
    if (count > kGameMaxEntities)
        found.error(stage, file,
                    QStringLiteral("the entity file holds %1; more than %2 overflow the game.")
                        .arg(Counted(count, QStringLiteral("entity"), QStringLiteral("entities")))
                        .arg(kGameMaxEntities));
}

// Types beyond the game's table, and the sheets the entities are drawn
// from: one finding per sheet that is missing, however many use it.
void CheckEntityTypes(const GameFolder& folder, const StageFiles& files, int count, const EntityRecords& records,
                      const TypeTable& table, int stage, Findings& found)
{
    struct SheetUse {
        int number = 0;
        QString file; // empty: a stage sheet the record names none of
        int users = 0;
    };
    QList<SheetUse> uses; // in the order first used
    for (int i = 0; i < count; ++i) {
        const EntityRecord& e = records[size_t(i)];
        if (table.read && (e.Type < 0 || size_t(e.Type) >= table.types.size())) {
            found.error(stage, files.entities,
                        QStringLiteral("entity %1 is of type %2, beyond the %3 of %4.")
                            .arg(i)
                            .arg(e.Type)
                            .arg(Counted(qint64(table.types.size()), QStringLiteral("type"), QStringLiteral("types")),
                                 NpcTableName()));
            continue;
        }
        const auto sprite = SpriteOf(e.Type, (quint16(e.Unknown) & kFacesRightBit) != 0, table.types);
        if (!sprite || sprite->sheet == kSheetTileset)
            continue; // nothing drawn, or the tileset, checked as such
        const QString file = SheetFileOf(sprite->sheet, files);
        if (file.isEmpty() && sprite->sheet != kSheetStageNpc1 && sprite->sheet != kSheetStageNpc2)
            continue; // a sheet number no file belongs to
        const auto same = [&](const SheetUse& use) {
            return file.isEmpty() ? use.file.isEmpty() && use.number == sprite->sheet : use.file == file;
        };
        const auto use = std::find_if(uses.begin(), uses.end(), same);
        if (use != uses.end())
            ++use->users;
        else
            uses.push_back({sprite->sheet, file, 1});
    }
    for (const SheetUse& use : uses) {
        if (use.file.isEmpty()) {
            found.warning(stage, files.entities,
                          QStringLiteral("%1 NPC sheet %2, which the stage record names as none.")
                              .arg(DrawnFrom(use.users))
                              .arg(use.number == kSheetStageNpc1 ? 1 : 2));
            continue;
        }
        const QString users = DrawnFrom(use.users) + QStringLiteral(" it.");
        const QString path = folder.findEntry(use.file);
        if (path.isEmpty())
            found.error(stage, use.file, QStringLiteral("the sheet picture is missing; ") + users);
        else if (const PathCheck check = CheckPath(path, use.file, folder.rules()); !check.ok())
            found.error(stage, use.file, check.refusal() + QLatin1Char(' ') + users);
    }
}

// The tileset's tile types; a tileset without the file is no fault.
void CheckTileTypes(const GameFolder& folder, const StageFiles& files, int stage, Findings& found)
{
    const QString path = folder.findEntry(files.tileTypes);
    if (path.isEmpty())
        return;
    TileTypeFile types;
    const ReadStatus read = ReadTileTypeFile(path, files.tileTypes, types, folder.rules());
    if (!read.ok())
        found.error(stage, files.tileTypes, read.refusal());
    else if (types.size < kTileTypeCount)
        found.warning(stage, files.tileTypes,
                      QStringLiteral("the tile type file holds %1; the game reads %2, one per tile.")
                          .arg(Counted(types.size, QStringLiteral("byte"), QStringLiteral("bytes")))
                          .arg(kTileTypeCount));
    else if (types.size > kTileTypeCount)
        found.warning(stage, files.tileTypes,
                      QStringLiteral("the tile type file holds %1 bytes; the game reads only the first %2.")
                          .arg(Number(types.size))
                          .arg(kTileTypeCount));
}

// A picture that did not load: refused (its reason), missing, or not one
// the editor can decode (it then opens the stage with a stand-in).
void CheckPicture(const Picture& picture, const GameFolder& folder, const QString& file, const QString& what, int stage,
                  Findings& found)
{
    if (!picture.outcome.ok())
        found.error(stage, file, picture.outcome.refusal());
    else if (picture.image.isNull() && folder.findEntry(file).isEmpty())
        found.error(stage, file, QStringLiteral("the %1 picture is missing.").arg(what));
    else if (picture.image.isNull())
        found.error(stage, file, QStringLiteral("the %1 picture cannot be read.").arg(what));
}

// What checking a stage leaves for checking its script.
struct StageScript {
    QString file; // the built name, "data\stage\Cave.tsc"
    QString path; // the file found; empty when there is none to read
    std::vector<int> entityEvents; // of the entities the entity file counts
};

StageScript CheckStage(const GameFolder& folder, int stage, const StageRecord& record, const TypeTable& table,
                       Findings& found)
{
    StageScript script;
    StageFiles files;
    // Only the first name that is not a plain one refuses the stage; every
    // one of them is reported below.
    (void)StageFilesOf(stage, record, files, folder.pictureExtension());
    if (files.mapName.isEmpty())
        return script; // an unused record: no files to look for

    // Every name is checked, not only the first the editor would refuse.
    const bool tilesetNamed = IsPlainFileName(files.tilesetName);
    const bool mapNamed = IsPlainFileName(files.mapName);
    const bool backdropNamed = IsPlainFileName(files.backdropName);
    if (!tilesetNamed)
        found.error(stage, files.tileset, PlainNameError(stage, QStringLiteral("tileset"), files.tilesetName));
    if (!mapNamed)
        found.error(stage, files.map, PlainNameError(stage, QStringLiteral("map"), files.mapName));
    if (!backdropNamed)
        found.error(stage, files.backdrop, PlainNameError(stage, QStringLiteral("backdrop"), files.backdropName));

    if (tilesetNamed) {
        const Picture tileset = LoadStageTileset(folder, files);
        CheckPicture(tileset, folder, files.tileset, QStringLiteral("tileset"), stage, found);
        const QSize size = tileset.image.size();
        if (size.width() > kGameMaxTilesetSide || size.height() > kGameMaxTilesetSide)
            found.error(
                stage, files.tileset,
                QStringLiteral("the tileset picture is %1 x %2 pixels; the game loads none larger than %3 x %3.")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(kGameMaxTilesetSide));
        CheckTileTypes(folder, files, stage, found);
    }

    MapData map;
    bool mapRead = false;
    if (mapNamed) {
        const ReadStatus status = LoadStageMap(folder, files, map);
        if (!status.ok()) {
            found.error(stage, files.map, status.refusal());
            if (const auto size = HeaderNumbers(folder, files.map))
                CheckCells(size->first, size->second, files.map, stage, found);
        } else if (status.missing) {
            found.warning(stage, files.map,
                          QStringLiteral("the map file is missing: the editor shows the stage as empty."));
        } else {
            CheckCells(map.width, map.height, files.map, stage, found);
        }
        mapRead = status.ok() && !status.missing;
        if (!mapRead)
            map = MapData();
    }

    if (backdropNamed)
        CheckPicture(LoadStageBackdrop(folder, files, map.width, map.height), folder, files.backdrop,
                     QStringLiteral("backdrop"), stage, found);

    if (!mapNamed)
        return script;
    qint16 count = 0;
    EntityRecords records{};
    const ReadStatus entities = LoadStageEntities(folder, files, count, records);
    if (!entities.ok()) {
        found.error(stage, files.entities, entities.refusal());
        if (const auto header = HeaderNumbers(folder, files.entities))
            CheckEntityCount(header->first, files.entities, stage, found);
    } else if (entities.missing) {
        found.warning(stage, files.entities, QStringLiteral("the entity file is missing: the stage has no entities."));
    } else {
        CheckEntityCount(count, files.entities, stage, found);
        for (int i = 0; i < count; ++i)
            script.entityEvents.push_back(records[size_t(i)].TSC);
        for (int i = 0; mapRead && i < count; ++i) {
            const EntityRecord& e = records[i];
            if (e.X < 0 || e.X >= map.width || e.Y < 0 || e.Y >= map.height)
                found.warning(stage, files.entities,
                              QStringLiteral("entity %1 at (%2, %3) lies outside the %4 x %5 map.")
                                  .arg(i)
                                  .arg(e.X)
                                  .arg(e.Y)
                                  .arg(map.width)
                                  .arg(map.height));
        }
        CheckEntityTypes(folder, files, count, records, table, stage, found);
    }

    script.file = files.script;
    const QString path = folder.findEntry(files.script);
    if (path.isEmpty())
        found.error(stage, files.script, QStringLiteral("the script is missing."));
    else if (const PathCheck check = CheckPath(path, files.script, folder.rules()); !check.ok())
        found.error(stage, files.script, check.refusal());
    else
        script.path = path;
    return script;
}

// One script's findings, as "FILE:LINE:COLUMN: error: ..." or, for the
// whole script, "FILE: error: ..."; `stage` -1 for a shared script.
void CheckScriptFile(const GameFolder& folder, const QString& file, const ScriptContext& context, int stage,
                     Findings& found)
{
    QByteArray decoded;
    if (const Outcome read = ReadDecodedScript(folder, file, decoded); !read.ok()) {
        found.inScript(stage, file, {}, true, read.refusal());
        return;
    }
    const ParsedScript parsed = ParseScript(decoded);
    for (const ScriptFinding& finding : CheckScript(decoded, parsed, context)) {
        ScriptPlace place{finding.line, finding.column, {}};
        if (finding.line > 0) {
            // The last event whose header starts at or before the finding.
            const auto after =
                std::upper_bound(parsed.events.begin(), parsed.events.end(), finding.offset,
                                 [](int offset, const ScriptEvent& event) { return offset < event.header.offset; });
            if (after != parsed.events.begin())
                place.event = ScriptEventName(std::prev(after)->number);
        }
        found.inScript(stage, file, place, finding.error, finding.text);
    }
}

// The shared scripts, each read alone by the game. A missing one only
// matters when the game comes to run it.
void CheckSharedScripts(const GameFolder& folder, const GameScripts& scripts, Findings& found)
{
    for (const QString& file : SharedScriptNames()) {
        const QString path = folder.findEntry(file);
        if (path.isEmpty())
            found.warning(-1, file, QStringLiteral("the script is missing."));
        else if (const PathCheck check = CheckPath(path, file, folder.rules()); !check.ok())
            found.error(-1, file, check.refusal());
        else
            CheckScriptFile(folder, file, scripts.sharedContext(), -1, found);
    }
}

class CheckCommand : public Command {
public:
    QString name() const override { return QStringLiteral("check"); }
    QString synopsis() const override
    {
        return QStringLiteral("check [STAGE...] [--baseline FILE] [--write-baseline FILE]");
    }
    QString summary() const override { return QStringLiteral("check every stage, or those named, for faults"); }
    QString description() const override
    {
        return QStringLiteral(
            "Checks every stage, or the stages named, and prints one line per finding (\"stage N: FILE: "
            "error: ...\" or \"warning: ...\"; a finding about data\\npc.tbl, which every stage shares, "
            "once, without the stage), then \"N stages checked, E errors, W warnings\". Errors: record "
            "names that are not plain file names; map and entity files the editor refuses (unreadable, "
            "beyond the limits); tileset and backdrop pictures that do not load; scripts missing; "
            "what the game cannot hold: a tileset picture larger than 256 x 256 pixels, a map of more "
            "than 307,200 cells, more than 342 entities; an entity type table (data\\npc.tbl) or tile "
            "type file (.pxa) that cannot be read, entity types beyond the table, and missing sheet "
            "pictures the entities are drawn from. Warnings: map and entity files missing (the editor "
            "shows such a stage as empty), entities outside the map, a missing data\\npc.tbl, entities "
            "drawn from an NPC sheet the stage record names as none, and a tile type file (.pxa) that "
            "is not 256 bytes. A record with an empty map name has nothing to check.\n\n"
            "Scripts: every stage's script (one that several stages share once, for the first of them) "
            "and the shared data\\Head.tsc, data\\ArmsItem.tsc and data\\StageSelect.tsc are read as the "
            "game reads them, one line per finding (\"stage N: FILE:LINE:COLUMN: error: ...\"; without "
            "\":LINE:COLUMN\" for the whole script, without \"stage N: \" for a shared script). Errors: "
            "what makes the game quit or lose its place: unknown commands, a '<' in text, arguments "
            "that are not four digits or lack their ':', events out of order, repeated or hidden by "
            "Head.tsc, a '#' that is not an event's start, events used but not defined (EVE, jumps, TRA "
            "into another stage's script), stages beyond the table, line ends other than CR LF, instant "
            "text of more than 71 bytes in one run (it overflows the game's buffer), a NUL as the "
            "middle byte (the game then unscrambles with another key), and a "
            "stage script that with Head.tsc passes the game's 20,479 bytes. Warnings: events that do "
            "not end with an exit, an empty last event, text rows wider than the message box (34 "
            "columns, 26 with a face), flags beyond 7999, entities whose event the script lacks, and a "
            "missing shared script. A stage script is checked with Head.tsc's events and the stage's "
            "entities' events; a shared one alone. The exit status is 1 when there are errors.\n\n"
            "Baselines: --write-baseline FILE also writes every finding to FILE (replacing it whole), and "
            "--baseline FILE leaves out the findings FILE lists, so that only new ones are printed, counted "
            "and decide the exit status; the summary then ends with how many were left out. A finding in a "
            "script is matched by its script, event and words, not its line, so that lines added above it "
            "do not make it new; any other by its stage, file and words. A finding listed once leaves out "
            "one. The file is UTF-8 text, one finding a line: stage (empty for a script or a file of the "
            "whole game), file, event (empty for none), \"error\" or \"warning\", and the words, between "
            "tabs, escaped as --tsv cells are elsewhere; lines starting with '#' are notes. A baseline "
            "file that is missing or cannot be read, or a line that is not a finding, is an error (exit "
            "status 1) before anything is checked. Nothing else is written.");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addPositionalArgument(QStringLiteral("STAGE"), QStringLiteral("Stage numbers; all stages when none."),
                                     QStringLiteral("[STAGE...]"));
        parser.addOption(baseline_);
        parser.addOption(writeBaseline_);
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        if (const Outcome parsed = ParseStageNumbers(parser.positionalArguments(), stages_); !parsed.ok())
            return parsed;
        baselinePath_ = parser.value(baseline_);
        writeBaselinePath_ = parser.value(writeBaseline_);
        if ((parser.isSet(baseline_) && baselinePath_.isEmpty()) ||
            (parser.isSet(writeBaseline_) && writeBaselinePath_.isEmpty()))
            return QStringLiteral("a baseline needs a file name.");
        return {};
    }
    Outcome takeGame(const Game& game) override { return CheckStageNumbers(game, stages_, true); }
    int run(const Game& game) override
    {
        Findings found;
        if (!baselinePath_.isEmpty()) {
            QHash<QString, int> known;
            if (const Outcome read = ReadBaseline(baselinePath_, known); !read.ok()) {
                PrintError(read.refusal());
                return kFoundWrong;
            }
            found.leaveOut(std::move(known));
        }
        TypeTable table;
        const ReadStatus read = ReadNpcTable(game.folder, table.types);
        if (!read.ok())
            found.gameError(NpcTableName(), read.refusal());
        else if (read.missing)
            found.gameWarning(NpcTableName(), QStringLiteral("the entity type table is missing: entity types are not "
                                                             "checked, and sheets are the ones the game ships with."));
        table.read = read.ok() && !read.missing;
        const GameScripts scripts(game);
        CheckSharedScripts(game.folder, scripts, found);
        QSet<QString> scriptsChecked; // files as found: a script several stages share is checked once
        for (const int stage : stages_) {
            StageScript script = CheckStage(game.folder, stage, game.table[size_t(stage)], table, found);
            if (script.path.isEmpty() || scriptsChecked.contains(script.path))
                continue;
            scriptsChecked.insert(script.path);
            CheckScriptFile(game.folder, script.file, scripts.stageContext(std::move(script.entityEvents)), stage,
                            found);
        }
        QString summary = QStringLiteral("%1 checked, %2, %3")
                              .arg(Counted(stages_.size(), QStringLiteral("stage"), QStringLiteral("stages")),
                                   Counted(found.errors, QStringLiteral("error"), QStringLiteral("errors")),
                                   Counted(found.warnings, QStringLiteral("warning"), QStringLiteral("warnings")));
        if (!baselinePath_.isEmpty())
            summary +=
                QStringLiteral("; %1 left out")
                    .arg(Counted(found.leftOut, QStringLiteral("known finding"), QStringLiteral("known findings")));
        PrintLine(summary);
        int status = found.errors > 0 ? kFoundWrong : kSuccess;
        if (!writeBaselinePath_.isEmpty()) {
            const QByteArray bytes =
                kBaselineHeading + (found.keys.isEmpty() ? QByteArray() : found.keys.join(u'\n').toUtf8() + '\n');
            if (const Outcome written = WriteFileAtomically(writeBaselinePath_, writeBaselinePath_, bytes);
                !written.ok()) {
                PrintError(written.refusal());
                status = kFoundWrong;
            } else {
                PrintError(QStringLiteral("wrote %1 to %2.")
                               .arg(Counted(found.keys.size(), QStringLiteral("finding"), QStringLiteral("findings")),
                                    writeBaselinePath_));
            }
        }
        return status;
    }

private:
    QList<int> stages_;
    QString baselinePath_;
    QString writeBaselinePath_;
    QCommandLineOption baseline_{QStringLiteral("baseline"),
                                 QStringLiteral("Leave out the findings FILE lists: print only new ones."),
                                 QStringLiteral("FILE")};
    QCommandLineOption writeBaseline_{QStringLiteral("write-baseline"),
                                      QStringLiteral("Also write every finding to FILE, as a baseline."),
                                      QStringLiteral("FILE")};
};

} // namespace

std::unique_ptr<Command> MakeCheckCommand() { return std::make_unique<CheckCommand>(); }

} // namespace vorn::cli
