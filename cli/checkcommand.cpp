// vorn-tool check: what would keep a stage from opening in the editor, or
// open it wrong, found without writing anything.
#include "command.h"

#include "stageloading.h"
#include "visibletext.h"

namespace vorn::cli {
namespace {

class Findings {
public:
    void error(int stage, const QString& file, const QString& text) { add(stage, file, "error", text, errors); }
    void warning(int stage, const QString& file, const QString& text) { add(stage, file, "warning", text, warnings); }
    int errors = 0;
    int warnings = 0;

private:
    static void add(int stage, const QString& file, const char* kind, const QString& text, int& counter)
    {
        // The file is named from the record: a "\r\n" in it must not pass for a line break.
        PrintLine(QStringLiteral("stage %1: %2: %3: %4").arg(stage).arg(EscapeControls(file), QLatin1String(kind), text));
        ++counter;
    }
};

// A picture that did not load: refused (its reason), missing, or not one
// the editor can decode (it then opens the stage with a stand-in).
void CheckPicture(const Picture& picture, const GameFolder& folder, const QString& file, const QString& what,
                  int stage, Findings& found)
{
    if (!picture.outcome.ok())
        found.error(stage, file, picture.outcome.refusal());
    else if (picture.image.isNull() && folder.findEntry(file).isEmpty())
        found.error(stage, file, QStringLiteral("the %1 picture is missing.").arg(what));
    else if (picture.image.isNull())
        found.error(stage, file, QStringLiteral("the %1 picture cannot be read.").arg(what));
}

void CheckStage(const GameFolder& folder, int stage, const StageRecord& record, Findings& found)
{
    StageFiles files;
    // Only the first name that is not a plain one refuses the stage; every
    // one of them is reported below.
    (void)StageFilesOf(stage, record, files);
    if (files.mapName.isEmpty())
        return; // an unused record: no files to look for

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

    if (tilesetNamed)
        CheckPicture(LoadStageTileset(folder, files), folder, files.tileset, QStringLiteral("tileset"), stage, found);

    MapData map;
    bool mapRead = false;
    if (mapNamed) {
        const ReadStatus status = LoadStageMap(folder, files, map);
        if (!status.ok())
            found.error(stage, files.map, status.refusal());
        else if (status.missing)
            found.warning(stage, files.map, QStringLiteral("the map file is missing: the editor shows the stage as empty."));
        mapRead = status.ok() && !status.missing;
        if (!mapRead)
            map = MapData();
    }

    if (backdropNamed)
        CheckPicture(LoadStageBackdrop(folder, files, map.width, map.height), folder, files.backdrop, QStringLiteral("backdrop"), stage,
                     found);

    if (!mapNamed)
        return;
    qint16 count = 0;
    EntityRecords records{};
    const ReadStatus entities = LoadStageEntities(folder, files, count, records);
    if (!entities.ok()) {
        found.error(stage, files.entities, entities.refusal());
    } else if (entities.missing) {
        found.warning(stage, files.entities, QStringLiteral("the entity file is missing: the stage has no entities."));
    } else if (mapRead) {
        for (int i = 0; i < count; ++i) {
            const EntityRecord& e = records[i];
            if (e.X < 0 || e.X >= map.width || e.Y < 0 || e.Y >= map.height)
                found.warning(stage, files.entities,
                              QStringLiteral("entity %1 at (%2, %3) lies outside the %4 x %5 map.")
                                  .arg(i).arg(e.X).arg(e.Y).arg(map.width).arg(map.height));
        }
    }

    const QString script = folder.findEntry(files.script);
    if (script.isEmpty())
        found.error(stage, files.script, QStringLiteral("the script is missing."));
    else if (const PathCheck check = CheckPath(script, files.script, folder.rules()); !check.ok())
        found.error(stage, files.script, check.refusal());
}

class CheckCommand : public Command {
public:
    QString name() const override { return QStringLiteral("check"); }
    QString synopsis() const override { return QStringLiteral("check [STAGE...]"); }
    QString summary() const override { return QStringLiteral("check every stage, or those named, for faults"); }
    QString description() const override
    {
        return QStringLiteral(
            "Checks every stage, or the stages named, and prints one line per finding (\"stage N: FILE: "
            "error: ...\" or \"warning: ...\"), then \"N stages checked, E errors, W warnings\". Errors: "
            "record names that are not plain file names; map and entity files the editor refuses "
            "(unreadable, beyond the limits); tileset and backdrop pictures that do not load; scripts "
            "missing. Warnings: map and entity files missing (the editor shows such a stage as empty), "
            "entities outside the map. A record with an empty map name has nothing to check. Writes "
            "nothing. The exit status is 1 when there are errors.");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addPositionalArgument(QStringLiteral("STAGE"), QStringLiteral("Stage numbers; all stages when none."),
                                     QStringLiteral("[STAGE...]"));
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        if (const Outcome parsed = ParseStageNumbers(parser.positionalArguments(), stages_); !parsed.ok())
            return parsed;
        if (stages_.isEmpty())
            for (int i = 0; i < kStageCount; ++i)
                stages_ << i;
        return {};
    }
    int run(const Game& game) override
    {
        Findings found;
        for (const int stage : stages_)
            CheckStage(game.folder, stage, game.table[stage], found);
        PrintLine(QStringLiteral("%1 stages checked, %2 errors, %3 warnings")
                      .arg(stages_.size())
                      .arg(found.errors)
                      .arg(found.warnings));
        return found.errors > 0 ? kFoundWrong : kSuccess;
    }

private:
    QList<int> stages_;
};

} // namespace

std::unique_ptr<Command> MakeCheckCommand() { return std::make_unique<CheckCommand>(); }

} // namespace vorn::cli
