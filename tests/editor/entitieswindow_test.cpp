// The Entities window on the sample game's wide stage: sorted by a column
// as numbers, a row clicked picks its entity and scrolls the map to it,
// several rows deleted as one step, and the rows following edits, undo and
// loads.
#include "openwindow.h"

#include "entitieswindow.h"
#include "samplegame.h"
#include "unrecordededits.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>

namespace {

void ClickRow(EntitiesWindow* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QModelIndex at = list->rows()->index(row, EntityListModel::X);
    list->table()->scrollTo(at);
    QTest::mouseClick(list->table()->viewport(), Qt::LeftButton, modifiers, list->table()->visualRect(at).center());
}

} // namespace

class EntitiesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void sortPickDeleteAndFollow()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        QCOMPARE(w->stage().index(), vorn::kSampleWideStage);
        vorn::StageDocument& stage = w->stage();
        vorn::UnrecordedEdits::setRecord(stage, 5, {220, 110, 0, 1000, 360, 0});
        vorn::UnrecordedEdits::setRecord(stage, 6, {3, 3, 0, 900, 360, 0x1100});
        vorn::UnrecordedEdits::setRecord(stage, 7, {4, 4, 0, 95, 360, 0});

        QTest::keyClick(w.window.get(), Qt::Key_L, Qt::ControlModifier);
        EntitiesWindow* list = w->Entities();
        QVERIFY(list && list->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(list));
        QSortFilterProxyModel* rows = list->rows();
        QCOMPARE(rows->rowCount(), 180);
        QCOMPARE(list->windowTitle(),
                 QStringLiteral("Entities - %1 (stage 14), 180 entities").arg(stage.files().mapName));

        // A click on the heading sorts by the event, as a number.
        QHeaderView* header = list->table()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(EntityListModel::Event) + 10, header->height() / 2));
        QCOMPARE(header->sortIndicatorSection(), int(EntityListModel::Event));
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        for (int row = 1; row < rows->rowCount(); ++row)
            QVERIFY(stage.record(list->entityAt(row - 1)).TSC <= stage.record(list->entityAt(row)).TSC);
        QVERIFY(list->rowOf(7) < list->rowOf(6) && list->rowOf(6) < list->rowOf(5));
        const QModelIndex typeCell = rows->index(list->rowOf(6), EntityListModel::Type);
        QVERIFY(typeCell.data().toString().startsWith(QStringLiteral("360")));
        QCOMPARE(rows->index(list->rowOf(6), EntityListModel::Bits).data().toString(), vorn::EntityBitNames(0x1100));

        // A click picks: outlined in the main window, scrolled into view.
        QCOMPARE(w->hsbMap()->value(), 0);
        ClickRow(list, list->rowOf(5));
        QCOMPARE(w->PickedEntity(), 5);
        QCOMPARE(w->hsbEntity()->value(), 5);
        QVERIFY(w->hsbMap()->value() > 0 && w->vsbMap()->value() > 0);

        // The filter keeps matching numbers and names.
        list->filter()->setText(QStringLiteral("1000"));
        QCOMPARE(rows->rowCount(), 1);
        QCOMPARE(list->entityAt(0), 5);
        list->filter()->setText(vorn::EntityBitName(12).toUpper());
        QVERIFY(list->rowOf(6) >= 0);
        QCOMPARE(list->rowOf(5), -1);
        list->filter()->clear();
        QCOMPARE(rows->rowCount(), 180);

        // Three rows selected and deleted: one step, the later ones move down.
        const vorn::EntityRecord after = stage.record(8);
        ClickRow(list, list->rowOf(7));
        ClickRow(list, list->rowOf(2), Qt::ControlModifier);
        ClickRow(list, list->rowOf(5), Qt::ControlModifier);
        QCOMPARE(list->selectedEntities(), (std::vector<int>{2, 5, 7}));
        const int steps = stage.history().Stack().index();
        QTest::keyClick(list->table(), Qt::Key_Delete);
        QCOMPARE(stage.entityCount(), 177);
        QCOMPARE(stage.history().Stack().index(), steps + 1);
        QCOMPARE(stage.record(5), after);
        QCOMPARE(rows->rowCount(), 177);
        QVERIFY(list->windowTitle().endsWith(QStringLiteral("177 entities")));
        QCOMPARE(w->PickedEntity(), -1);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Deleted 3 entities"));

        // Ctrl+Z in the list brings all three back.
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list));
        QTest::keyClick(list->table(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(stage.entityCount(), 180);
        QCOMPARE(int(stage.record(5).TSC), 1000);
        QCOMPARE(rows->rowCount(), 180);

        // An edit moves its row in the sorted list; a pick in the main window
        // selects its row.
        vorn::EntityRecord edited = stage.record(7);
        edited.TSC = 2000;
        stage.editRecord(7, edited);
        QCOMPARE(list->entityAt(rows->rowCount() - 1), 7);
        QCOMPARE(rows->index(rows->rowCount() - 1, EntityListModel::Event).data().toInt(), 2000);
        w->Pick(6);
        QCOMPARE(list->selectedEntities(), (std::vector<int>{6}));

        // Another stage: its own rows, still sorted by the event.
        w->cboMap()->setCurrentIndex(vorn::kSampleSmallStage);
        QCOMPARE(stage.index(), vorn::kSampleSmallStage);
        QCOMPARE(rows->rowCount(), int(stage.entityCount()));
        QCOMPARE(header->sortIndicatorSection(), int(EntityListModel::Event));
        QVERIFY(list->windowTitle().contains(QStringLiteral("(stage 13)")));
    }
};

QTEST_MAIN(EntitiesWindowTest)
#include "entitieswindow_test.moc"
