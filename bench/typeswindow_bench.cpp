// The Entity Types window opened on the sample game's 361 types, each row
// with its sprite, and one field edited with the table following.
#include "game.h"
#include "samplegame.h"
#include "stagedocument.h"
#include "typetable.h"
#include "typeswindow.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct SampleTypes {
    SampleTypes()
        : game(dir.path())
    {
        ok = vorn::WriteSampleGame(dir.path()).ok() && game.readTable().ok() &&
             stage.load(game, vorn::kSampleSmallStage).ok();
    }
    TypesWindowHooks hooks()
    {
        TypesWindowHooks hooks;
        hooks.sheets = [this] { return &stage.sheets(); };
        return hooks;
    }
    QTemporaryDir dir, program;
    vorn::Game game;
    vorn::StageDocument stage;
    bool ok = false;
};

void BM_TypesWindowOpen(benchmark::State& state)
{
    SampleTypes sample;
    vorn::TypeTable types(sample.game.folder, {sample.program.filePath(QStringLiteral("vorn.ini")), {}});
    if (!sample.ok || !types.read().ok())
        state.SkipWithError("the sample game was not read");
    for (auto _ : state) {
        EntityTypesWindow window(types, sample.hooks());
        window.show();
        QApplication::processEvents();
        if (window.table()->rowCount() != vorn::kShippedEntityTypes)
            state.SkipWithError("not every type is shown");
    }
}

void BM_TypesWindowEdit(benchmark::State& state)
{
    SampleTypes sample;
    vorn::TypeTable types(sample.game.folder, {sample.program.filePath(QStringLiteral("vorn.ini")), {}});
    if (!sample.ok || !types.read().ok())
        state.SkipWithError("the sample game was not read");
    EntityTypesWindow window(types, sample.hooks());
    window.show();
    QApplication::processEvents();
    int life = 0;
    for (auto _ : state) {
        if (!window.setField(60, EntityTypesWindow::Life, QString::number(++life % 1000)).ok())
            state.SkipWithError("the field was refused");
        QApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_TypesWindowOpen)->Name("TypesWindow/open361")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypesWindowEdit)->Name("TypesWindow/editOneField")->Unit(benchmark::kMillisecond);
