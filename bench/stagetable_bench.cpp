// The stage table of a mod's 1.5 MB executable (102 records in .csmap):
// reading it where the game reads it, and adding a stage, written; the
// Stages window opened on 1,000 stages, and its filter answering a key.
#include "game.h"
#include "gamestagetable.h"
#include "pebuilder.h"
#include "stageswindow.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 102;
constexpr qint64 kExeSize = 1536 * 1024;

// Room for every stage the benchmark adds, so each add grows in place.
QString ModGame(QTemporaryDir& dir, int records = kRecords)
{
    QByteArray exe(kExeSize, '\x90');
    const quint32 rsrc = 0x21000 + 0x40000;
    vorn::sample::WritePeHeaders(
        exe,
        {{".text", 0x1000, 0x20000, 0x1000, 0x20000, 0x60000020},
         {".csmap", 0x21000, quint32(records * 200), 0x21000, 0x40000, 0xC0000040},
         {".rsrc", rsrc, quint32(kExeSize - rsrc), rsrc, quint32(kExeSize - rsrc), 0x40000040}},
        quint32(kExeSize));
    vorn::sample::WriteStageLoader(exe, vorn::sample::kLoaderAt, 0x421000);
    vorn::sample::WritePictureFormats(exe, 0x800, "bmp");
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QFile file(dir.filePath(QStringLiteral("Doukutsu.exe")));
    if (!file.open(QIODevice::WriteOnly) || file.write(exe) != exe.size())
        return {};
    return dir.path();
}

void BM_ReadModTable(benchmark::State& state)
{
    QTemporaryDir dir;
    const vorn::GameFolder folder(ModGame(dir));
    for (auto _ : state) {
        vorn::StageTableFile table;
        if (!vorn::ReadGameStageTable(folder, table).ok() || table.records.size() != size_t(kRecords))
            state.SkipWithError("the table was not read");
        benchmark::DoNotOptimize(table);
    }
}

void BM_AddStageWritten(benchmark::State& state)
{
    QTemporaryDir dir;
    vorn::Game game(ModGame(dir));
    if (!game.readTable().ok())
        state.SkipWithError("the table was not read");
    for (auto _ : state) {
        if (!game.addStage(5).ok())
            state.SkipWithError("the stage was not added");
        if (game.stageCount() > 900) { // stays under the table's limit
            state.PauseTiming();
            (void)game.writeTable(vorn::StageTable(game.table.begin(), game.table.begin() + kRecords));
            state.ResumeTiming();
        }
    }
}

void BM_StagesWindowOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    vorn::Game game(ModGame(dir, 1000));
    if (!game.readTable().ok() || game.stageCount() != 1000)
        state.SkipWithError("the table was not read");
    for (auto _ : state) {
        StagesWindow window(game, {});
        window.show();
        QApplication::processEvents();
    }
}

void BM_StagesWindowFilterKey(benchmark::State& state)
{
    QTemporaryDir dir;
    vorn::Game game(ModGame(dir, 1000));
    if (!game.readTable().ok())
        state.SkipWithError("the table was not read");
    StagesWindow window(game, {});
    window.show();
    QApplication::processEvents();
    bool typed = false;
    for (auto _ : state) {
        // One key typed, the next taken back, as a modder narrowing a list.
        if (typed)
            window.filter()->backspace();
        else
            window.filter()->insert(QStringLiteral("7"));
        typed = !typed;
        QApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_ReadModTable)->Name("StageTable/read1.5MB")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddStageWritten)->Name("StageTable/addWritten")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StagesWindowOpen)->Name("StagesWindow/open1000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StagesWindowFilterKey)->Name("StagesWindow/filterKey1000")->Unit(benchmark::kMillisecond);
