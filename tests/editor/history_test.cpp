// The undo history: strokes, drags, dialog commits, count changes and tile
// types taken back and brought back from the keyboard, what clears the
// history, and the tile types a save writes.
#include "windowdriver.h"
#include "unrecordededits.h"

#include "../dialogs/modalanswer.h"
#include "entitymarker.h"
#include "frmEntEd.h"
#include "frmTileType.h"
#include "mapview.h"
#include "samplegame.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
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
    w->SetSelectedTile(tile);
    const int z = w->ZoomSize();
    Send(w->picMap(), QEvent::MouseButtonPress, QPoint(1, row * z + 1), Qt::LeftButton, Qt::LeftButton);
    for (int x = 0; x < cells * z; x += z / 2)
        Send(w->picMap(), QEvent::MouseMove, QPoint(x, row * z + 1), Qt::LeftButton);
    Send(w->picMap(), QEvent::MouseButtonRelease, QPoint(1, row * z + 1), Qt::NoButton, Qt::LeftButton);
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
        QTest::mouseClick(w->picMap(), Qt::RightButton, {}, QPoint(3, 3));
        Stroke(w, w->stage().cell(0, 0), 0, 1);
        QCOMPARE(Steps(w), 0);
        Stroke(w, 201, 2, 6);
        Stroke(w, 202, 3, 4);
        const vorn::TileGrid painted = w->stage().grid();
        const QString status = w->lblStatus()->text();

        // The focused child does not keep the keys from the history.
        Key(w->cboZoom(), Qt::Key_Z);
        Key(w->txtEntity(), Qt::Key_Z);
        QVERIFY(w->stage().grid() == before);
        QCOMPARE(w->SelectedTile(), quint8(202));
        QCOMPARE(w->lblStatus()->text(), status);
        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(path), original);

        Key(w->cboMap(), Qt::Key_Y);
        Key(w->hsbEntity(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(w->stage().grid() == painted);
        QCOMPARE(Steps(w), 2); // saving keeps the history

        // A new edit after an undo drops what could have been redone.
        Key(w->cboMap(), Qt::Key_Z);
        Stroke(w, 203, 5, 2);
        QVERIFY(!w->History().Stack().canRedo());
        QCOMPARE(Steps(w), 2);
    }

    void dragDialogCommitAndCountChangeUndoAndRedo()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QVERIFY(Activate(w));
        vorn::UnrecordedEdits::setEntityCount(w->stage(), 3);
        vorn::UnrecordedEdits::setRecord(w->stage(), 1, {4, 2, 7, 8, 9, 10});
        w->PositionEntities();
        const vorn::EntityRecord original = w->stage().record(1);
        vorn::EntityMarker* marker = w->entity(1);
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
        const QString inspector = w->txtEntity()->toPlainText();
        QVERIFY(inspector.contains("(300)"));

        Key(w->cboZoom(), Qt::Key_Z);
        QCOMPARE(w->stage().record(1), dragged);
        Key(w->cboZoom(), Qt::Key_Z);
        QCOMPARE(w->stage().record(1), original);
        QCOMPARE(marker->geometry(), placed);
        Key(w->cboZoom(), Qt::Key_Y);
        QCOMPARE(marker->geometry(), moved);
        Key(w->cboZoom(), Qt::Key_Y);
        QCOMPARE(w->stage().record(1), edited);
        QCOMPARE(w->txtEntity()->toPlainText(), inspector); // the record as it is now

        // Undoing a raise pulls a selection beyond the old count down.
        w->inputHook = [](const QString&, const QString&) { return std::optional<QString>("8"); };
        w->cmdChangEntCt_Click();
        w->hsbEntity()->setValue(6);
        Key(w->cboZoom(), Qt::Key_Z);
        QCOMPARE(w->stage().entityCount(), qint16(3));
        QCOMPARE(w->hsbEntity()->value(), 2);
        QCOMPARE(w->fraEntity()->title(), QStringLiteral("Entity #2"));
        Key(w->cboZoom(), Qt::Key_Y);
        QCOMPARE(w->stage().entityCount(), qint16(8));
        QVERIFY(w->entity(6)->isVisible() && w->hsbEntity()->value() == 2);
    }

    // Key T's dialog types the tile selected in the palette, as one step.
    // Save writes the tileset's type file, which every stage on that tileset
    // reads, and makes one only when a type changed.
    void tileTypeIsAStepAndSaveWritesTheTilesetsFile()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QVERIFY(Activate(w));
        const QString grotto = w->game().folder.findFile("data\\stage\\Grotto.pxa");
        const QByteArray original = FileBytes(grotto);
        QCOMPARE(original.size(), 256);
        // The status bar names the tile under the pointer and its type, as
        // painted and as undone.
        w->SetSelectedTile(5);
        Send(w->picMap(), QEvent::MouseButtonPress, QPoint(16 + 3, 16 + 3), Qt::LeftButton, Qt::LeftButton);
        Send(w->picMap(), QEvent::MouseButtonRelease, QPoint(16 + 3, 16 + 3), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w->lblTileType()->text(), QStringLiteral("5 \u00b7 0x03 blocks entities only"));
        Key(w->cboZoom(), Qt::Key_Z);
        QCOMPARE(w->lblTileType()->text(), QStringLiteral("0 \u00b7 0x00 background"));
        Send(w->picMap(), QEvent::MouseMove, QPoint(14 * 16 + 3, 9 * 16 + 3), Qt::NoButton); // cell (14,9): tile 2
        QCOMPARE(w->lblTileType()->text(), QStringLiteral("2 \u00b7 0x41 solid"));

        w->SetSelectedTile(2);
        QString shown;
        AnswerModal<frmTileType>([&](frmTileType* d) {
            shown = d->txtType->text();
            d->txtType->setText(" 0X42");
            d->cmdOk->click();
        });
        Key(w->picMap(), Qt::Key_T, Qt::NoModifier);
        QCOMPARE(shown, QStringLiteral("0x41"));
        QCOMPARE(w->stage().tileType(2), quint8(0x42));
        QCOMPARE(Steps(w), 1);
        QCOMPARE(w->lblModified()->text(), QStringLiteral("Modified"));
        QCOMPARE(w->lblTileType()->text(), QStringLiteral("2 \u00b7 0x42 spikes"));
        Key(w->picMap(), Qt::Key_T, Qt::ShiftModifier);
        QVERIFY(w->ShowsTileTypes());

        Key(w->cboZoom(), Qt::Key_Z);
        QCOMPARE(w->stage().tileType(2), quint8(0x41));
        QCOMPARE(w->lblModified()->text(), QString());
        QCOMPARE(w->lblTileType()->text(), QStringLiteral("2 \u00b7 0x41 solid"));
        Key(w->cboZoom(), Qt::Key_Y);
        QCOMPARE(w->stage().tileType(2), quint8(0x42));
        QCOMPARE(w->lblModified()->text(), QStringLiteral("Modified"));
        AnswerModal<frmTileType>([](frmTileType* d) {
            d->txtType->setText("7");
            d->cmdCancel->click();
        });
        w->EditTileType();
        QCOMPARE(Steps(w), 1);

        // Another program's change to the file is asked about by its name;
        // kept, nothing is written.
        QByteArray theirs = original + "tail";
        theirs[100] = char(0x43);
        QVERIFY(WriteBytes(grotto, theirs));
        w.answers << "Cancel";
        QVERIFY(!w->cmdSave_Click());
        QCOMPARE(w.questions.size(), 1);
        QVERIFY2(w.questions[0].startsWith("data\\stage\\Grotto.pxa "), qPrintable(w.questions[0]));
        QCOMPARE(FileBytes(grotto), theirs);
        QVERIFY(w->cmdSave_Click()); // overwritten: the types, the bytes behind them kept
        QByteArray expected = original + "tail";
        expected[2] = char(0x42);
        QCOMPARE(FileBytes(grotto), expected);
        QCOMPARE(w->lblModified()->text(), QString());
        w->cboMap()->setCurrentIndex(vorn::kSampleNoEntityStage); // also on Grotto
        QCOMPARE(w->stage().tileType(2), quint8(0x42));
        QVERIFY(w.messages.isEmpty());

        // Pebble has no type file: a save makes one only once a type changed.
        w->cboMap()->setCurrentIndex(vorn::kSampleSmallTilesetStage);
        QCOMPARE(w->stage().index(), vorn::kSampleSmallTilesetStage);
        const auto pebble = [&] { return w->game().folder.findFile("data\\stage\\Pebble.pxa"); };
        QVERIFY(pebble().isEmpty());
        QVERIFY(w->cmdSave_Click());
        QVERIFY(pebble().isEmpty());
        w->SetSelectedTile(9);
        AnswerModal<frmTileType>([](frmTileType* d) {
            d->lstTypes->setCurrentItem(d->lstTypes->findItems("0x62 ", Qt::MatchStartsWith).value(0));
            d->cmdOk->click();
        });
        w->EditTileType();
        QCOMPARE(w->lblModified()->text(), QStringLiteral("Modified"));
        QVERIFY(w->cmdSave_Click());
        QByteArray made(256, 0);
        made[9] = char(0x62);
        QCOMPARE(FileBytes(pebble()), made);
        QCOMPARE(w->lblModified()->text(), QString());
    }

    void loadClearsTheHistoryARefusedLoadKeepsIt()
    {
        OpenWindow w;
        QVERIFY(w.started);
        Stroke(w, 201, 1, 3);
        w->cboMap()->setCurrentIndex(vorn::kSampleNoEntityStage);
        QCOMPARE(w->stage().index(), vorn::kSampleNoEntityStage);
        QCOMPARE(Steps(w), 0);

        Stroke(w, 201, 1, 3);
        QFile map(w->game().folder.findFile("data\\stage\\Ledges.pxm"));
        QVERIFY(map.resize(100));
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        QCOMPARE(w.messages.size(), 1);
        QCOMPARE(w->stage().index(), vorn::kSampleNoEntityStage);
        QCOMPARE(Steps(w), 1);
    }
};

QTEST_MAIN(HistoryTest)
#include "history_test.moc"
