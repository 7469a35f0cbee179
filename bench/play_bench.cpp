// Play here's preparation on the sample game grown to the freeware game's
// size (about 600 files, 8 MB): the play folder made the first time (every
// file copied), and again with nothing changed (only the editor's files
// and the save written).
#include "game.h"
#include "playplace.h"
#include "samplegame.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct PlayGame {
    QTemporaryDir game, cache;
    std::unique_ptr<vorn::Game> opened;
    PlayGame()
    {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        if (!vorn::WriteSampleGame(game.path()).ok())
            std::abort();
        // Stand-ins for the real game's many stage files, sounds and pictures.
        QDir(game.path()).mkpath(QStringLiteral("data/Filler"));
        const QByteArray bytes(12 * 1024, 'v');
        for (int n = 0; n < 555; ++n) {
            QFile file(game.filePath(QStringLiteral("data/Filler/file%1.bin").arg(n)));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                std::abort();
        }
        opened = std::make_unique<vorn::Game>(game.path());
        if (!opened->readTable().ok())
            std::abort();
    }
    void prepare(benchmark::State& state)
    {
        QString root;
        const std::vector<vorn::PlayOverlay> overlays{
            {QStringLiteral("data\\Stage\\Hollow.pxm"), QByteArray(1000, 'x')}};
        if (const vorn::Outcome done = vorn::PreparePlayFolder(*opened, {13, 4, 5}, overlays, root); !done.ok())
            state.SkipWithError(qPrintable(done.refusal()));
    }
};

void BM_PlayFolderFirstTime(benchmark::State& state)
{
    PlayGame game;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(vorn::PlayCacheFolder()).removeRecursively();
        state.ResumeTiming();
        game.prepare(state);
    }
}
BENCHMARK(BM_PlayFolderFirstTime)->Unit(benchmark::kMillisecond);

void BM_PlayFolderAgain(benchmark::State& state)
{
    PlayGame game;
    game.prepare(state);
    for (auto _ : state)
        game.prepare(state);
}
BENCHMARK(BM_PlayFolderAgain)->Unit(benchmark::kMillisecond);

} // namespace
