#include "gamescripts.h"

#include "safewrite.h"
#include "script.h"
#include "stagefiles.h"

namespace vorn {
namespace {

// Real scripts are a few kilobytes; anything this large is not one.
constexpr qint64 kMaxScriptBytes = 16 * 1024 * 1024;

} // namespace

QString HeadScriptName() { return QStringLiteral("data\\Head.tsc"); }

QStringList SharedScriptNames()
{
    return {HeadScriptName(), QStringLiteral("data\\ArmsItem.tsc"), QStringLiteral("data\\StageSelect.tsc")};
}

Outcome ReadDecodedScript(const GameFolder& folder, const QString& builtName, QByteArray& decoded)
{
    const QString path = folder.findEntry(builtName);
    if (path.isEmpty())
        return QStringLiteral("Cannot find %1.").arg(builtName);
    QByteArray bytes;
    if (const Outcome read =
            ReadWholeFile(path, builtName, bytes, folder.rules(), kMaxScriptBytes, QStringLiteral("a script"));
        !read.ok())
        return read;
    decoded = DecodeScript(bytes);
    return {};
}

Outcome WriteDecodedScript(const GameFolder& folder, const QString& builtName, const QByteArray& decoded)
{
    if (decoded.isEmpty())
        return QStringLiteral("Cannot save %1: the script is empty.").arg(builtName);
    const QString path = folder.pathForWrite(builtName);
    if (path.isEmpty())
        return QStringLiteral("Cannot find the folder of %1.").arg(builtName);
    return ReplaceFile(path, builtName, folder.rules(), EncodeScript(decoded));
}

std::vector<int> EventNumbersOf(const QByteArray& decoded)
{
    std::vector<int> numbers;
    for (const ScriptEvent& event : ParseScript(decoded).events) {
        if (event.findable)
            numbers.push_back(event.number);
    }
    return numbers;
}

QString GameScripts::stageScriptName(int stage) const
{
    if (!game_.hasStage(stage))
        return {};
    // Only the map name leads to the script: a bad tileset or backdrop name
    // does not keep the game from running it. An empty name is an unused record.
    const QString mapName = DecodeAnsi(CutAtNull(game_.table[size_t(stage)].map()));
    if (mapName.isEmpty() || !IsPlainFileName(mapName))
        return {};
    return MapFilesOf(mapName).script;
}

const GameScripts::Read& GameScripts::read(const QString& builtName) const
{
    const QString key = builtName.toCaseFolded();
    // A stat of the path found before is cheap next to finding it again,
    // and a check asks for the same scripts at every keystroke. A script
    // that was missing stays missing until forgotten.
    if (const auto found = read_.constFind(key);
        found != read_.constEnd() && (found->path.isEmpty() || StampOf(found->path) == found->stamp))
        return *found;
    Read entry;
    entry.path = game_.folder.findEntry(builtName);
    entry.stamp = StampOf(entry.path);
    QByteArray decoded;
    if (ReadDecodedScript(game_.folder, builtName, decoded).ok()) {
        entry.ok = true;
        entry.events = EventNumbersOf(decoded);
        entry.size = int(decoded.size());
    }
    return *read_.insert(key, entry);
}

std::optional<std::vector<int>> GameScripts::stageEvents(int stage) const
{
    const QString name = stageScriptName(stage);
    return name.isEmpty() ? std::nullopt : scriptEvents(name);
}

std::optional<std::vector<int>> GameScripts::scriptEvents(const QString& builtName) const
{
    const Read& entry = read(builtName);
    return entry.ok ? std::optional(entry.events) : std::nullopt;
}

ScriptContext GameScripts::stageContext(std::vector<int> entityEvents) const
{
    ScriptContext context = sharedContext();
    const Read& head = read(HeadScriptName());
    if (head.ok) {
        context.headEvents = head.events;
        context.headSize = head.size;
    }
    context.entityEvents = std::move(entityEvents);
    return context;
}

ScriptContext GameScripts::sharedContext() const
{
    ScriptContext context;
    context.stageCount = game_.stageCount();
    context.stageEvents = [this](int stage) { return stageEvents(stage); };
    return context;
}

int GameScripts::stageOfScript(const QString& builtName) const
{
    for (int stage = 0; stage < game_.stageCount(); ++stage) {
        if (stageScriptName(stage).compare(builtName, Qt::CaseInsensitive) == 0)
            return stage;
    }
    return -1;
}

ScriptContext GameScripts::contextFor(const QString& builtName, std::vector<int> entityEvents) const
{
    return stageOfScript(builtName) >= 0 ? stageContext(std::move(entityEvents)) : sharedContext();
}

void GameScripts::forget(const QString& builtName) { read_.remove(builtName.toCaseFolded()); }

} // namespace vorn
