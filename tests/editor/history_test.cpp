// The undo history: strokes, drags, dialog commits and count changes taken
// back and brought back from the keyboard, and what clears the history.
#include "windowdriver.h"

#include "../dialogs/modalanswer.h"
#include "entitymarker.h"
#include "frmEntEd.h"
#include "mapview.h"
#include "samplegame.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

// A shown, active window, so that its shortcuts can fire.
bool Activate(OpenWindow& w)
{
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w.window.get());
}

// The keys as the user types them, into whatever child has the focus.
void Key(QWidget* focus, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    // The offscreen platform does not hand activation back after a dialog.
    focus->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(focus->window()));
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key(key), modifiers);
}

int Steps(OpenWindow& w) { return w->History().Stack().count(); }

void Stroke(OpenWindow& w, quint8 tile, int row, int cells)
{
    w->SelectedTile = tile;
    const int z = w->ZoomSize;
    Send(w->picMap, QEvent::MouseButtonPress, QPoint(1, row * z + 1), Qt::LeftButton, Qt::LeftButton);
    for (int x = 0; x < cells * z; x += z / 2)
        Send(w->picMap, QEvent::MouseMove, QPoint(x, row * z + 1), Qt::LeftButton);
    Send(w->picMap, QEvent::MouseButtonRelease, QPoint(1, row * z + 1), Qt::NoButton, Qt::LeftButton);
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    void strokeUndoneSavesTheOriginalMapAndRedoBringsItBack()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QVERIFY(Activate(w));
        const QString path = w->game().folder.findFile("data\\stage\\" + w->stage().files().mapName + ".pxm");
        const QByteArray original = FileBytes(path);
        const vorn::TileGrid before = w->stage().grid();

        // Picking, and a stroke of the tile the cell already holds, are no steps.
        QTest::mouseClick(w->picMap, Qt::RightButton, {}, QPoint(3, 3));
        Stroke(w, w->stage().cell(0, 0), 0, 1);
        QCOMPARE(Steps(w), 0);
        Stroke(w, 201, 2, 6);
        Stroke(w, 202, 3, 4);
        const vorn::TileGrid painted = w->stage().grid();
        const QString status = w->lblStatus->text();

        // The focused child does not keep the keys from the history.
        Key(w->cboZoom, Qt::Key_Z);
        Key(w->txtEntity, Qt::Key_Z);
        QVERIFY(w->stage().grid() == before);
        QCOMPARE(w->SelectedTile, quint8(202));
        QCOMPARE(w->lblStatus->text(), status);
        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(path), original);

        Key(w->cboMap, Qt::Key_Y);
        Key(w->hsbEntity, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(w->stage().grid() == painted);
        QCOMPARE(Steps(w), 2); // saving keeps the history

        // A new edit after an undo drops what could have been redone.
        Key(w->cboMap, Qt::Key_Z);
        Stroke(w, 203, 5, 2);
        QVERIFY(!w->History().Stack().canRedo());
        QCOMPARE(Steps(w), 2);
    }

    void dragDialogCommitAndCountChangeUndoAndRedo()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QVERIFY(Activate(w));
        w->stage().setEntityCount(3);
        w->stage().setRecord(1, {4, 2, 7, 8, 9, 10});
        w->PositionEntities();
        const vorn::EntityRecord original = w->stage().record(1);
        vorn::EntityMarker* marker = w->entity[1];
        const QRect placed = marker->geometry();

        Send(marker, QEvent::MouseMove, QPoint(3, 3), Qt::NoButton);
        Send(marker, QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
        Send(marker, QEvent::MouseMove, QPoint(3 + 32, 3), Qt::LeftButton);
        Send(marker, QEvent::MouseMove, QPoint(3, 3 + 16), Qt::LeftButton);
        Send(marker, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::NoButton, Qt::LeftButton);
        const vorn::EntityRecord dragged = w->stage().record(1);
        QCOMPARE(dragged, (vorn::EntityRecord{6, 3, 7, 8, 9, 10}));
        const QRect moved = marker->geometry();

        // While the dialog is up the keys do nothing.
        AnswerModal<frmEntEd>([&](frmEntEd* d) {
            QTest::keyClick(w.window.get(), Qt::Key_Z, Qt::ControlModifier);
            w->UndoEdit();
            d->txtX->setText(QString::number(w->stage().record(1).X)); // still the dragged place
            d->txtTSC->setText("300");
            d->txtUnknown->setText("&H7F");
            d->cmdOk->click();
        });
        w->cmdEditEnt_Click();
        const vorn::EntityRecord edited = w->stage().record(1);
        QCOMPARE(edited, (vorn::EntityRecord{6, 3, 7, 300, 9, 127}));
        const QString inspector = w->txtEntity->toPlainText();
        QVERIFY(inspector.contains("(300)"));

        Key(w->cboZoom, Qt::Key_Z);
        QCOMPARE(w->stage().record(1), dragged);
        Key(w->cboZoom, Qt::Key_Z);
        QCOMPARE(w->stage().record(1), original);
        QCOMPARE(marker->geometry(), placed);
        Key(w->cboZoom, Qt::Key_Y);
        QCOMPARE(marker->geometry(), moved);
        Key(w->cboZoom, Qt::Key_Y);
        QCOMPARE(w->stage().record(1), edited);
        QCOMPARE(w->txtEntity->toPlainText(), inspector); // the record as it is now

        // Undoing a raise pulls a selection beyond the old count down.
        w->inputHook = [](const QString&, const QString&) { return std::optional<QString>("8"); };
        w->cmdChangEntCt_Click();
        w->hsbEntity->setValue(6);
        Key(w->cboZoom, Qt::Key_Z);
        QCOMPARE(w->stage().entityCount(), qint16(3));
        QCOMPARE(w->hsbEntity->value(), 2);
        QCOMPARE(w->fraEntity->title(), QStringLiteral("Entity #2"));
        Key(w->cboZoom, Qt::Key_Y);
        QCOMPARE(w->stage().entityCount(), qint16(8));
        QVERIFY(w->entity[6]->isVisible() && w->hsbEntity->value() == 2);
    }

    void loadClearsTheHistoryARefusedLoadKeepsIt()
    {
        OpenWindow w;
        QVERIFY(w.started);
        Stroke(w, 201, 1, 3);
        w->cboMap->setCurrentIndex(vorn::kSampleNoEntityStage);
        QCOMPARE(w->stage().index(), vorn::kSampleNoEntityStage);
        QCOMPARE(Steps(w), 0);

        Stroke(w, 201, 1, 3);
        QFile map(w->game().folder.findFile("data\\stage\\Ledges.pxm"));
        QVERIFY(map.resize(100));
        w->cboMap->setCurrentIndex(vorn::kSampleWideStage);
        QCOMPARE(w.messages.size(), 1);
        QCOMPARE(w->stage().index(), vorn::kSampleNoEntityStage);
        QCOMPARE(Steps(w), 1);
    }
};

QTEST_MAIN(HistoryTest)
#include "history_test.moc"
