// The Entities window on a stage holding the most entities a stage can
// (342, the sample's huge stage filled up): sorted by one column, then by
// another, with every row's sprite and name shown.
#include "entitieswindow.h"
#include "game.h"
#include "samplegame.h"
#include "stagedocument.h"
#include "unrecordededits.h"

#include <QApplication>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <array>

namespace {

void BM_EntitiesSort(benchmark::State& state)
{
    QTemporaryDir dir;
    vorn::Game game(dir.path());
    vorn::StageDocument stage;
    if (!vorn::WriteSampleGame(dir.path()).ok() || !game.readTable().ok() ||
        !stage.load(game, vorn::kSampleHugeStage).ok())
        state.SkipWithError("the sample game was not read");
    vorn::UnrecordedEdits::setEntityCount(stage, vorn::kMaxEntities);
    // Numbers that differ from row to row in each column, not in index order.
    for (int i = 0; i < vorn::kMaxEntities; ++i)
        vorn::UnrecordedEdits::setRecord(stage, i,
                                         {qint16((i * 37) % 500), qint16((i * 101) % 500), qint16(i % 7),
                                          qint16((i * 7919) % 10000), qint16((i * 13) % 361), qint16(i & 0x3F)});
    std::array<QString, 513> names;
    for (size_t n = 0; n < names.size(); ++n)
        names[n] = QStringLiteral("Type %1").arg(n);
    EntitiesWindow window(stage, names, {});
    window.show();
    QApplication::processEvents();
    if (window.rows()->rowCount() != vorn::kMaxEntities)
        state.SkipWithError("not every entity is listed");
    bool byEvent = false;
    for (auto _ : state) {
        byEvent = !byEvent;
        window.table()->sortByColumn(byEvent ? EntityListModel::Event : EntityListModel::X,
                                     byEvent ? Qt::AscendingOrder : Qt::DescendingOrder);
        QApplication::processEvents(); // the rows in sight drawn in their new order
        benchmark::DoNotOptimize(window.entityAt(0));
    }
}

} // namespace

BENCHMARK(BM_EntitiesSort)->Name("EntitiesWindow/sort342")->Unit(benchmark::kMillisecond);
