// The Entity Types window on the sample game: an edited or dragged view box
// moves the sprite on the map before anything is written, a type is added
// and written as 24 bytes more, and pending changes are asked about.
#include "openwindow.h"

#include "entitytypes.h"
#include "samplegame.h"
#include "typeswindow.h"
#include "typetable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

namespace {

// Where entity `index`'s sprite is drawn on the map, in map pixels.
QPoint SpriteAt(frmVorn& w, int index)
{
    const auto placed = vorn::PlaceSprite(w.stage().record(index), w.stage().sheets(), w.stage().npcTable());
    return placed ? placed->topLeft : QPoint(-1, -1);
}

QImage MapImage(frmVorn& w)
{
    QImage image(w.stage().width() * 16, w.stage().height() * 16, QImage::Format_RGB32);
    w.RenderMap(image, image.rect());
    return image;
}

} // namespace

class TypesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void viewBoxMovesTheSpriteOnTheMap()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->cboZoom()->setCurrentIndex(1); // 16 pixels a cell
        w->chkSprites()->click();
        const int behemoth = vorn::kSampleOffCentreEntity;
        const int type = w->stage().record(behemoth).Type;
        const QPoint before = SpriteAt(*w.window, behemoth);
        const QImage mapBefore = MapImage(*w.window);

        w->OpenTypesWindow();
        EntityTypesWindow* types = w->Types();
        QVERIFY(types && types->isVisible());
        QCOMPARE(types->table()->rowCount(), vorn::kShippedEntityTypes);
        QVERIFY(!types->table()->item(type, EntityTypesWindow::Sprite)->data(Qt::DecorationRole).isNull());

        // Typed in place: the front grows by 4, the sprite moves 4 pixels left.
        const vorn::NpcBox view = types->types().types()[size_t(type)].view;
        types->table()
            ->item(type, EntityTypesWindow::ViewBox)
            ->setText(QStringLiteral("%1 %2 %3 %4").arg(view.front + 4).arg(view.top).arg(view.back).arg(view.bottom));
        QCOMPARE(SpriteAt(*w.window, behemoth), before - QPoint(4, 0));
        QVERIFY(MapImage(*w.window) != mapBefore);
        QVERIFY(types->windowTitle().endsWith(QStringLiteral(" *")));
        QVERIFY(!w->stage().isModified()); // the stage's own files are untouched
        // A stage opened meanwhile is placed by the edits too.
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        w->cboMap()->setCurrentIndex(vorn::kSampleSmallStage);
        QCOMPARE(w->stage().index(), vorn::kSampleSmallStage);
        QCOMPARE(SpriteAt(*w.window, behemoth), before - QPoint(4, 0));

        // A value out of range is refused with the range named.
        types->table()->item(type, EntityTypesWindow::Life)->setText(QStringLiteral("70000"));
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages.first().contains(QStringLiteral("from 0 to 65535")));
        QCOMPARE(types->types().undoStack().count(), 1);

        // Undone, the sprite is back where it was.
        types->types().undoStack().undo();
        QCOMPARE(SpriteAt(*w.window, behemoth), before);
        QCOMPARE(MapImage(*w.window), mapBefore);

        // The top edge of the view box dragged 8 screen pixels up: 2 more on top.
        types->table()->setCurrentCell(type, EntityTypesWindow::Name);
        TypeBoxView* boxes = types->boxes();
        const QPoint edge = boxes->centre() - QPoint(0, view.top * TypeBoxView::kScale);
        QTest::mousePress(boxes, Qt::LeftButton, {}, edge);
        QTest::mouseMove(boxes, edge - QPoint(0, 8));
        QTest::mouseRelease(boxes, Qt::LeftButton, {}, edge - QPoint(0, 8));
        QCOMPARE(int(types->types().types()[size_t(type)].view.top), view.top + 2);
        QCOMPARE(SpriteAt(*w.window, behemoth), before - QPoint(0, 2));

        // A named bit ticked is one step too.
        types->findChild<QCheckBox*>(QStringLiteral("chkBit12"))->click();
        QCOMPARE(types->types().types()[size_t(type)].bits & vorn::kFacesRightBit, vorn::kFacesRightBit);
        QCOMPARE(types->types().undoStack().count(), 2);

        // Saved, npc.tbl holds exactly those changes.
        vorn::NpcTable expected;
        QVERIFY(vorn::ParseNpcTable(FileBytes(w.game.path("data/npc.tbl")), QStringLiteral("npc.tbl"), expected).ok());
        expected[size_t(type)].view.top = quint8(view.top + 2);
        expected[size_t(type)].bits |= vorn::kFacesRightBit;
        QVERIFY(types->save());
        QCOMPARE(FileBytes(w.game.path("data/npc.tbl")), vorn::ComposeNpcTable(expected));
        QVERIFY(!types->windowTitle().endsWith(QStringLiteral(" *")));
    }

    void addTypeNameItAndAskBeforeClosing()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const QByteArray original = FileBytes(w.game.path("data/npc.tbl"));
        // Opened from the "»" menu's entry, which names its key.
        QAction* entry = nullptr;
        for (QAction* action : w->findChild<QMenu*>(QStringLiteral("mnuWindows"))->actions())
            if (action->text() == QStringLiteral("Entity Types"))
                entry = action;
        QVERIFY(entry);
        QCOMPARE(entry->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
        entry->trigger();
        EntityTypesWindow* types = w->Types();
        QVERIFY(types && types->isVisible());

        // The filter matches names and numbers.
        types->filter()->setText(QStringLiteral("toroko"));
        QVERIFY(!types->table()->isRowHidden(60) && types->table()->isRowHidden(59));
        types->filter()->setText(QStringLiteral("59"));
        QVERIFY(types->table()->isRowHidden(60) && !types->table()->isRowHidden(59));
        types->filter()->clear();

        types->table()->setCurrentCell(60, EntityTypesWindow::Name);
        types->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(types));
        QTest::keyClick(types->table(), Qt::Key_N, Qt::ControlModifier);
        const int added = vorn::kShippedEntityTypes;
        QCOMPARE(types->table()->rowCount(), added + 1);
        QCOMPARE(types->selectedType(), added);
        types->table()->item(added, EntityTypesWindow::Name)->setText(QStringLiteral("Sue's twin"));
        QVERIFY(types->save());

        // 24 bytes more; every type before it as it was, the new one a copy.
        const QByteArray written = FileBytes(w.game.path("data/npc.tbl"));
        QCOMPARE(written.size(), original.size() + 24);
        vorn::NpcTable before, after;
        QVERIFY(vorn::ParseNpcTable(original, QStringLiteral("npc.tbl"), before).ok());
        QVERIFY(vorn::ParseNpcTable(written, QStringLiteral("npc.tbl"), after).ok());
        before.push_back(before[60]);
        QCOMPARE(written, vorn::ComposeNpcTable(before));
        // The main window names it, for this game alone, and draws it as Toroko.
        QCOMPARE(w->EntityNames()[size_t(added)], QStringLiteral("Sue's twin"));
        QVERIFY(vorn::SpriteOf(added, false, w->stage().npcTable()).has_value());
        QVERIFY(vorn::EntityTypeNames(w.game.settingsPath(), added + 1)[added].isEmpty());

        // Pending changes are asked about when the main window closes.
        QVERIFY(types->setField(3, EntityTypesWindow::Damage, QStringLiteral("5")).ok());
        w.answers << QStringLiteral("Cancel");
        QVERIFY(!w->close());
        QVERIFY(w.questions.last().contains(QStringLiteral("entity types")));
        w.answers << QStringLiteral("Discard");
        QVERIFY(w->close());
        QCOMPARE(FileBytes(w.game.path("data/npc.tbl")), written);
    }
};

QTEST_MAIN(TypesWindowTest)
#include "typeswindow_test.moc"
