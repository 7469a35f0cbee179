// Entity commands act on the picked entity, not on whatever the pointer
// last crossed: a pressed marker, what Ctrl+F found, a new entity. A paste
// lands over a marker, stacked entities are reached in turn, and "Pick by
// click" keeps the inspector on the picked entity.
#include "windowdriver.h"
#include "unrecordededits.h"

#include "entitymarker.h"
#include "inifile.h"
#include "mapview.h"
#include "stagedocument.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>

namespace {

void Click(QWidget* target, QPoint at)
{
    Send(target, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Send(target, QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton);
}

// Entities 0 to 3 at (2, 2), (6, 2), (6, 2) and (9, 5): 1 and 2 share a cell.
void PlaceFour(OpenWindow& w)
{
    w->show(); // keys go to the active window
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    vorn::UnrecordedEdits::setEntityCount(w->stage(), 4);
    vorn::UnrecordedEdits::setRecord(w->stage(), 0, {2, 2, 0, 0, 1, 0});
    vorn::UnrecordedEdits::setRecord(w->stage(), 1, {6, 2, 0, 0, 2, 0});
    vorn::UnrecordedEdits::setRecord(w->stage(), 2, {6, 2, 0, 0, 3, 0});
    vorn::UnrecordedEdits::setRecord(w->stage(), 3, {9, 5, 0, 0, 4, 0});
    w->PositionEntities();
}

} // namespace

class PickingTest : public QObject {
    Q_OBJECT
private slots:
    void deleteActsOnTheClickedEntityAfterHovering()
    {
        OpenWindow w;
        QVERIFY(w.started);
        PlaceFour(w);
        w->EntityNames()[1] = QStringLiteral("Puppy");
        Click(w->entity(0), {3, 3});
        QCOMPARE(w->PickedEntity(), 0);
        Send(w->entity(3), QEvent::MouseMove, {3, 3}, Qt::NoButton); // wandering over another
        QCOMPARE(w->hsbEntity()->value(), 3);
        Send(w->picMap(), QEvent::MouseMove, {12 * 16 + 3, 12 * 16 + 3}, Qt::NoButton);
        QTest::keyClick(w->picMap(), Qt::Key_Delete);
        QCOMPARE(w->stage().entityCount(), qint16(3));
        QCOMPARE(w->stage().record(2).Type, qint16(4)); // the one hovered stays
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Deleted entity 0, Puppy"));
        QCOMPARE(w->PickedEntity(), -1);
        QTest::keyClick(w->picMap(), Qt::Key_Delete); // nothing picked: nothing goes
        QCOMPARE(w->stage().entityCount(), qint16(3));
    }

    void stackedEntitiesAreReachedInTurn()
    {
        OpenWindow w;
        QVERIFY(w.started);
        PlaceFour(w);
        QVERIFY(w->EntityToolTip(2).contains(QStringLiteral("entity 1: type 2")));
        Click(w->entity(2), {3, 3}); // the top marker
        QCOMPARE(w->PickedEntity(), 2);
        Click(w->entity(2), {3, 3});
        QCOMPARE(w->PickedEntity(), 1);
        Click(w->entity(2), {3, 3});
        QCOMPARE(w->PickedEntity(), 2); // round again
        QTest::keyClick(w->picMap(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(w->stage().record(4).Type, qint16(3));
        QCOMPARE(w->PickedEntity(), 4); // the copy is picked
    }

    void pastePlacedOverAMarker()
    {
        OpenWindow w;
        QVERIFY(w.started);
        PlaceFour(w);
        w->Editing().setSelection(QRect(0, 0, 2, 1));
        QTest::keyClick(w->picMap(), Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(w->picMap(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(w->Pasting());
        const quint8 copied = w->stage().cell(1, 0);
        Send(w->entity(3), QEvent::MouseMove, {3, 3}, Qt::NoButton);
        Click(w->entity(3), {3, 3});
        QVERIFY(!w->Pasting());
        QCOMPARE(w->stage().cell(10, 5), copied);
    }

    void pickByClickKeepsTheInspectorOnThePickedEntity()
    {
        OpenWindow w;
        QVERIFY(w.started);
        PlaceFour(w);
        QVERIFY(!w->PickByClick());
        QTest::keyClick(w->picMap(), Qt::Key_K);
        QVERIFY(w->PickByClick());
        Click(w->entity(0), {3, 3});
        Send(w->entity(3), QEvent::MouseMove, {3, 3}, Qt::NoButton);
        QCOMPARE(w->hsbEntity()->value(), 0);
        QCOMPARE(w->fraEntity()->title(), QStringLiteral("Entity #0"));
        QVERIFY(w->close());
        QCOMPARE(vorn::INIRead(w.game.settingsPath(), "Main", "Pick By Click"), QStringLiteral("1"));
    }
};

QTEST_MAIN(PickingTest)
#include "picking_test.moc"
