// vorn-tool as a user runs it, on the sample game: the 513 x 513 stage
// rendered to PNG at zoom 16 and 64, and at 64 with sprites and tile types
// (time and the tool's own peak memory), and `check` over the whole game
// (time); and `check` over a game with as many scripts as the freeware
// game, each stage with a map of its own. Each run is a fresh process.
#include "entityfile.h"
#include "samplegame.h"
#include "script.h"
#include "scriptcheck.h"
#include "stagetable.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

QString gameDir;
QString scriptGameDir;
QString outDir;
std::map<std::string, double> meanMs;
std::map<std::string, double> peakMB;

// Runs vorn-tool under vorn-peak-memory; false when it failed, that is
// crashed or exited with more than `worstExit`.
bool RunTool(const QString& dir, const QStringList& arguments, double& peakKB, int worstExit)
{
    const QString bin = QCoreApplication::applicationDirPath();
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start(bin + QStringLiteral("/vorn-peak-memory"),
                  QStringList{bin + QStringLiteral("/vorn-tool")} + arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() > worstExit) {
        std::fprintf(stderr, "%s\n", process.readAllStandardError().constData());
        return false;
    }
    const QByteArray last = process.readAllStandardError().trimmed().split('\n').last();
    peakKB = last.mid(last.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble();
    return true;
}

// `check` exits with 1 on the sample game, which holds faults on purpose:
// that is its answer, not a failure.
void BM_Tool(benchmark::State& state, const std::string& name, const QString* dir, const QStringList& arguments,
             int worstExit)
{
    double peak = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        double kb = 0;
        if (!RunTool(*dir, arguments, kb, worstExit)) {
            state.SkipWithError("vorn-tool failed");
            return;
        }
        peak = std::max(peak, kb);
    }
    const std::chrono::duration<double, std::milli> total = std::chrono::steady_clock::now() - start;
    meanMs[name] = total.count() / double(state.iterations());
    peakMB[name] = peak / 1024.0;
    state.counters["peak_MB"] = peakMB[name];
}

// Script text of many kinds, as the game's own scripts mix them: talk with
// and without a face, flags and the jumps on them, doors into other stages,
// items got, entities changed. Rows stay inside the message box.
class ScriptWriter {
public:
    explicit ScriptWriter(int seed)
        : seed_(seed)
    {
    }

    // Events `numbers` (ascending), then more after the last until the
    // script holds `commands` commands; `doors` allows TRA to stage `next`.
    QByteArray write(std::vector<int> numbers, int commands, bool doors, int next)
    {
        QByteArray text;
        int count = 0;
        for (std::size_t k = 0; k < numbers.size() || count < commands; ++k) {
            if (k >= numbers.size())
                numbers.push_back(numbers.empty() ? 100 : numbers.back() + 10);
            const int n = numbers[k];
            const int jump = k + 1 < numbers.size() ? numbers[k + 1] : numbers[k > 0 ? k - 1 : 0];
            text += "#" + Four(n) + "\r\n";
            int kind = (seed_ * 7 + int(k)) % 6;
            if (kind == 3 && !doors)
                kind = 0;
            switch (kind) {
            case 0:
                text += "<KEY<MSG" + Line(n) + "<NOD<CLO<END\r\n";
                count += 5;
                break;
            case 1:
                text += "<KEY<FAC" + Four(1 + n % 20) + "<MSG" + Short(n) + "<NOD<FAC0000<CLO<END\r\n";
                count += 7;
                break;
            case 2:
                text += "<KEY<FLJ" + Four(1000 + n) + ":" + Four(jump) + "<FL+" + Four(1000 + n) + "<MSG" + Line(n) +
                        "<NOD<CLO<END\r\n";
                count += 7;
                break;
            case 3:
                text += "<KEY<SOU0011<FAO0004<TRA" + Four(next) + ":0090:" + Four(3 + n % 20) + ":" + Four(4 + n % 9) +
                        "\r\n";
                count += 4;
                break;
            case 4:
                text += "<KEY<CMU0010<IT+" + Four(n % 39 + 1) + "<MSG<TURGot the =" + Item(n) +
                        "=!<WAI0160<NOD<RMU<CLO<END\r\n";
                count += 10;
                break;
            default:
                text +=
                    "<KEY<ANP" + Four(n) + ":0010:0000<WAI0030<CNP" + Four(n) + ":0150:0002<DNP" + Four(n) + "<END\r\n";
                count += 6;
                break;
            }
        }
        return text;
    }

private:
    static QByteArray Four(int n) { return QByteArray::number(n).rightJustified(4, '0'); }
    QByteArray Line(int n) const
    {
        static const std::array<const char*, 8> lines = {
            "The wind howls through the cave.", "Have you seen my brother?",    "This door will not budge.",
            "A faint light glows ahead.",       "Careful, the floor is weak.",  "I keep the keys down here.",
            "Rest here a while, friend.",       "Something moved in the water."};
        return lines[size_t(n / 10 + seed_) % lines.size()];
    }
    // Rows that fit beside a face.
    QByteArray Short(int n) const
    {
        static const std::array<const char*, 5> lines = {"Have you seen my brother?", "Hey! Over here!",
                                                         "I was waiting for you.", "Go on without me.",
                                                         "Is it safe up there?"};
        return lines[size_t(n / 10 + seed_) % lines.size()];
    }
    static QByteArray Item(int n)
    {
        static const std::array<const char*, 5> items = {"Map System", "Silver Locket", "Rusty Key", "Life Pot",
                                                         "Arthur's Key"};
        return items[size_t(n) % items.size()];
    }
    int seed_;
};

// The sample game with every record given a map of its own (a copy of the
// one it reused) and a script defining its entities' events, plus the three
// shared scripts: 98 scripts of about 14,000 commands in all, the freeware
// game's size. Gives the number of scripts and commands written.
bool WriteScriptGame(const QString& dir, int& scripts, int& commands)
{
    if (const vorn::Outcome written = vorn::WriteSampleGame(dir); !written.ok())
        return false;
    const QDir stages(QDir(dir).filePath(QStringLiteral("data/Stage")));
    const QString exe = QDir(dir).filePath(QStringLiteral("Doukutsu.exe"));
    vorn::StageTable table;
    if (!vorn::ReadStageTable(exe, table).ok())
        return false;
    scripts = commands = 0;
    auto put = [&](const QString& path, const QByteArray& plain) {
        QFile file(path);
        ++scripts;
        commands += int(vorn::ParseScript(plain).commands.size());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(vorn::EncodeScript(plain)) == plain.size();
    };
    constexpr int kCommandsPerScript = 140;
    for (int i = 0; i < vorn::kFreewareStageCount; ++i) {
        const QString from = QString::fromLatin1(vorn::CutAtNull(table[i].map()));
        const QString own = QStringLiteral("Stage%1").arg(i, 2, 10, QLatin1Char('0'));
        for (const char* ext : {".pxm", ".pxe"})
            if (!QFile::copy(stages.filePath(from + ext), stages.filePath(own + ext)))
                return false;
        table[i].setMap(vorn::PadName32(own.toLatin1()));
        if (!vorn::WriteStageRecord(exe, i, table[i]).ok())
            return false;
        qint16 count = 0;
        vorn::EntityRecords records{};
        if (!vorn::ReadEntityFile(stages.filePath(own + ".pxe"), own, count, records).ok())
            return false;
        std::set<int> events{90, 91, 92};
        for (int k = 0; k < count; ++k)
            if (records[size_t(k)].TSC > 92 && records[size_t(k)].TSC < 10000)
                events.insert(records[size_t(k)].TSC);
        const QByteArray plain = ScriptWriter(i).write({events.begin(), events.end()}, kCommandsPerScript, true,
                                                       (i + 1) % vorn::kFreewareStageCount);
        if (!put(stages.filePath(own + ".tsc"), plain))
            return false;
    }
    const QDir data(QDir(dir).filePath(QStringLiteral("data")));
    return put(data.filePath(QStringLiteral("Head.tsc")),
               ScriptWriter(1).write({0, 1, 16, 17, 18, 19, 30, 31, 32, 40, 41, 42, 48, 49}, 0, false, 0)) &&
           put(data.filePath(QStringLiteral("ArmsItem.tsc")),
               ScriptWriter(2).write({1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011,
                                      1012, 5000, 5001, 5002, 5003, 5004, 5005, 5006, 6000, 6001, 6002, 6003},
                                     kCommandsPerScript, false, 0)) &&
           put(data.filePath(QStringLiteral("StageSelect.tsc")),
               ScriptWriter(3).write({1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007}, 0, false, 0));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir game, scriptGame, out;
    if (const vorn::Outcome written = vorn::WriteSampleGame(game.path()); !written.ok()) {
        std::fprintf(stderr, "sample game: %s\n", qPrintable(written.refusal()));
        return 1;
    }
    gameDir = game.path();
    scriptGameDir = scriptGame.path();
    outDir = out.path();
    int scripts = 0, commands = 0;
    if (!WriteScriptGame(scriptGameDir, scripts, commands)) {
        std::fprintf(stderr, "cannot write the game of many scripts\n");
        return 1;
    }
    const QString stage = QString::number(vorn::kSampleHugeStage);
    const QString png = QDir(outDir).filePath(QStringLiteral("expanse.png"));

    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("Tool/render/zoom16", BM_Tool, "render16", &gameDir,
                                 QStringList{"render", stage, "-o", png, "--zoom", "16"}, 0)
        ->Iterations(5)
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Tool/render/zoom64", BM_Tool, "render64", &gameDir,
                                 QStringList{"render", stage, "-o", png, "--zoom", "64"}, 0)
        ->Iterations(1)
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Tool/render/zoom64looks", BM_Tool, "render64looks", &gameDir,
                                 QStringList{"render", stage, "-o", png, "--zoom", "64", "--sprites", "--tile-types"},
                                 0)
        ->Iterations(1)
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Tool/check/all", BM_Tool, "check", &gameDir, QStringList{"check"}, 1)
        ->Iterations(20)
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Tool/check/scripts", BM_Tool, "checkScripts", &scriptGameDir, QStringList{"check"}, 1)
        ->Iterations(20)
        ->Unit(kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    for (const char* zoom : {"16", "64"}) {
        const std::string name = std::string("render") + zoom;
        if (meanMs.count(name))
            std::printf("\nvorn-tool render of the 513 x 513 stage at zoom %s to PNG: %.0f ms, peak memory %.1f MB.",
                        zoom, meanMs[name], peakMB[name]);
    }
    if (meanMs.count("render64looks"))
        std::printf("\nThe same at zoom 64 with --sprites --tile-types: %.0f ms, peak memory %.1f MB.",
                    meanMs["render64looks"], peakMB["render64looks"]);
    if (meanMs.count("check"))
        std::printf("\nvorn-tool check over the whole sample game: %.1f ms (peak memory %.1f MB).", meanMs["check"],
                    peakMB["check"]);
    if (meanMs.count("checkScripts"))
        std::printf("\nvorn-tool check over 95 stages with %d scripts of %d commands in all: %.1f ms (peak memory "
                    "%.1f MB).",
                    scripts, commands, meanMs["checkScripts"], peakMB["checkScripts"]);
    std::printf("\n");
    return 0;
}
