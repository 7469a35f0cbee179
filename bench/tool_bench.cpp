// vorn-tool as a user runs it, on the sample game: the 513 x 513 stage
// rendered to PNG at zoom 16 and 64, and at 64 with sprites and tile types
// (time and the tool's own peak memory), and `check` over the whole game
// (time). Each run is a fresh process.
#include "samplegame.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {

QString gameDir;
QString outDir;
std::map<std::string, double> meanMs;
std::map<std::string, double> peakMB;

// Runs vorn-tool under vorn-peak-memory; false when it failed, that is
// crashed or exited with more than `worstExit`.
bool RunTool(const QStringList& arguments, double& peakKB, int worstExit)
{
    const QString bin = QCoreApplication::applicationDirPath();
    QProcess process;
    process.setWorkingDirectory(gameDir);
    process.start(bin + QStringLiteral("/vorn-peak-memory"), QStringList{bin + QStringLiteral("/vorn-tool")} + arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() > worstExit) {
        std::fprintf(stderr, "%s\n", process.readAllStandardError().constData());
        return false;
    }
    const QByteArray last = process.readAllStandardError().trimmed().split('\n').last();
    peakKB = last.mid(last.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble();
    return true;
}

// `check` exits with 1 on the sample game, which holds faults on purpose:
// that is its answer, not a failure.
void BM_Tool(benchmark::State& state, const std::string& name, const QStringList& arguments, int worstExit)
{
    double peak = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        double kb = 0;
        if (!RunTool(arguments, kb, worstExit)) {
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir game, out;
    if (const vorn::Outcome written = vorn::WriteSampleGame(game.path()); !written.ok()) {
        std::fprintf(stderr, "sample game: %s\n", qPrintable(written.refusal()));
        return 1;
    }
    gameDir = game.path();
    outDir = out.path();
    const QString stage = QString::number(vorn::kSampleHugeStage);
    const QString png = QDir(outDir).filePath(QStringLiteral("expanse.png"));

    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("Tool/render/zoom16", BM_Tool, "render16",
                                 QStringList{"render", stage, "-o", png, "--zoom", "16"}, 0)
        ->Iterations(5)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Tool/render/zoom64", BM_Tool, "render64",
                                 QStringList{"render", stage, "-o", png, "--zoom", "64"}, 0)
        ->Iterations(1)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Tool/render/zoom64looks", BM_Tool, "render64looks",
                                 QStringList{"render", stage, "-o", png, "--zoom", "64", "--sprites", "--tile-types"}, 0)
        ->Iterations(1)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Tool/check/all", BM_Tool, "check", QStringList{"check"}, 1)
        ->Iterations(20)->Unit(kMillisecond);
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
    std::printf("\n");
    return 0;
}
