// The Stages window on the sample game: fields edited in place and refused
// with the reason, undo, copy and remove, written with the main window's
// list following, and a question before pending changes are lost.
#include "openwindow.h"

#include "game.h"
#include "script.h"
#include "stageswindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

class StagesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void editUndoCopyRemoveAndSave()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->OpenStagesWindow();
        StagesWindow* stages = w->Stages();
        QVERIFY(stages && stages->isVisible());
        QCOMPARE(stages->table()->rowCount(), 95);
        QCOMPARE(stages->windowTitle(), QStringLiteral("Stages - Doukutsu.exe at 604080, 95 stages"));

        // Edited in place; a value the record cannot hold is refused.
        stages->table()->item(13, StagesWindow::Title)->setText(QStringLiteral("Renamed"));
        QCOMPARE(vorn::CutAtNull(stages->records()[13].title()), QByteArray("Renamed"));
        QVERIFY(stages->windowTitle().endsWith(QStringLiteral(" *")));
        stages->table()->item(13, StagesWindow::Map)->setText(QString(40, 'm'));
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages.first().contains(QStringLiteral("longer than the field: 40 of 31 bytes")));
        QCOMPARE(stages->table()->item(13, StagesWindow::Map)->text(), QStringLiteral("Hollow"));
        stages->table()->item(13, StagesWindow::Boss)->setText(QStringLiteral("Ballos"));
        QCOMPARE(quint8(stages->records()[13].bytes[164]), 9);
        stages->undoStack().undo();
        QCOMPARE(quint8(stages->records()[13].bytes[164]), 0);

        // A name with no file shows in red, saying which file is missing.
        QVERIFY(stages->setField(14, StagesWindow::Tileset, QStringLiteral("Nowhere")).ok());
        QTableWidgetItem* missing = stages->table()->item(14, StagesWindow::Tileset);
        QCOMPARE(missing->foreground().color(), QColor(Qt::red));
        QCOMPARE(missing->toolTip(), QStringLiteral("data\\stage\\prtNowhere.pbm is missing."));
        stages->undoStack().undo();

        // The filter keeps the rows whose title or map holds its text.
        stages->filter()->setText(QStringLiteral("renamed"));
        QVERIFY(!stages->table()->isRowHidden(13) && stages->table()->isRowHidden(12));
        stages->filter()->clear();

        // The freeware place has a fixed size.
        stages->removeLastStage();
        QCOMPARE(w.messages.last(),
                 QStringLiteral("This table has a fixed size; add a stage first to move it to a section of its own."));
        QCOMPARE(stages->table()->rowCount(), 95);

        // Copy and write: the table moves, the list follows.
        QVERIFY(stages->copyStage(5).ok()); // sharing stage 5's files
        QCOMPARE(stages->table()->rowCount(), 96);
        QVERIFY(stages->save());
        QCOMPARE(w->game().stageCount(), 96);
        QCOMPARE(w->cboMap()->count(), 96);
        QCOMPARE(w->cboMap()->itemText(13), QStringLiteral("13 - Renamed"));
        QCOMPARE(stages->windowTitle(), QStringLiteral("Stages - Doukutsu.exe, section .csmap, 96 stages"));

        // Removed and written back.
        stages->removeLastStage();
        QVERIFY(stages->save());
        QCOMPARE(w->cboMap()->count(), 95);

        // Pending changes are asked about when the main window closes.
        QVERIFY(stages->setField(3, StagesWindow::Title, QStringLiteral("Pending")).ok());
        w.answers << QStringLiteral("Cancel");
        QVERIFY(!w->close());
        QVERIFY(w.questions.last().contains(QStringLiteral("stage table")));
        w.answers << QStringLiteral("Discard");
        QVERIFY(w->close());
        QVERIFY(vorn::CutAtNull(w->game().table[3].title()) != "Pending"); // nothing written
    }

    // A new stage: its files are made only when the table is written, and
    // an undone one leaves nothing on disk.
    void newStageMakesItsFilesAtSave()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->OpenStagesWindow();
        StagesWindow* stages = w->Stages();
        QVERIFY(!stages->newStage({QStringLiteral("Hollow"), {}, QStringLiteral("Grotto"), 10, 10}).ok());
        QVERIFY(!stages->newStage({QStringLiteral("Big"), {}, QStringLiteral("Grotto"), 514, 10}).ok());
        QVERIFY(stages->newStage({QStringLiteral("Undone"), {}, QStringLiteral("Grotto"), 5, 5}).ok());
        stages->undoStack().undo();
        QVERIFY(stages->newStage({QStringLiteral("MyRoom"), QStringLiteral("My Room"), QStringLiteral("Grotto"), 7, 3})
                    .ok());
        QVERIFY(!QFile::exists(w.game.path("data/Stage/MyRoom.pxm")));
        QVERIFY(stages->save());
        QVERIFY(!QFile::exists(w.game.path("data/Stage/Undone.pxm")));
        QCOMPARE(QFile(w.game.path("data/Stage/MyRoom.pxm")).size(), 8 + 7 * 3);
        QCOMPARE(w->cboMap()->count(), 96);
        w->cboMap()->setCurrentIndex(95);
        QCOMPARE(w->stage().index(), 95);
        QCOMPARE(int(w->stage().width()), 7);
        QCOMPARE(int(w->stage().entityCount()), 0);
        QFile script(w.game.path("data/Stage/MyRoom.tsc"));
        QVERIFY(script.open(QIODevice::ReadOnly));
        QCOMPARE(vorn::DecodeScript(script.readAll()), QByteArray("#0090\r\n<END\r\n"));

        // A copy under a new name gets copies of the stage's files at the write.
        QVERIFY(!stages->copyStage(13, QStringLiteral("MyRoom")).ok()); // taken
        QVERIFY(stages->copyStage(13, QStringLiteral("Copied")).ok());
        QVERIFY(stages->save());
        for (const char* ext : {".pxm", ".pxe", ".tsc"}) {
            QFile copy(w.game.path(QStringLiteral("data/Stage/Copied") + ext));
            QFile original(w.game.path(QStringLiteral("data/Stage/Hollow") + ext));
            QVERIFY(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), original.readAll());
        }
        QCOMPARE(vorn::CutAtNull(w->game().table[96].map()), QByteArray("Copied"));

        // Removed, its files moved to backup/ at the write.
        w.answers << QStringLiteral("Move to backup");
        stages->removeLastStage();
        QVERIFY(QFile::exists(w.game.path("data/Stage/Copied.pxm")));
        QVERIFY(stages->save());
        QVERIFY(!QFile::exists(w.game.path("data/Stage/Copied.pxm")));
        QCOMPARE(QDir(w.game.path("backup")).entryList({"Copied.p*"}, QDir::Files).size(), 2);
    }

    // Another program (vorn-tool, the designed dialog of another Vorn)
    // writes the table: pending changes are asked about at Ctrl+S, and with
    // none pending the window and the list read it again.
    void outsideChangesAskedAboutAndReadAgain()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->OpenStagesWindow();
        StagesWindow* stages = w->Stages();
        vorn::Game other(w->game().folder.root());
        QVERIFY(other.readTable().ok());
        vorn::StageRecord record = other.table[4];
        record.setTitle(vorn::PadName32("Outside"));
        QTest::qWait(20); // a later stamp on file systems with coarse times
        QVERIFY(other.writeRecord(4, record).ok());

        QVERIFY(stages->setField(3, StagesWindow::Title, QStringLiteral("Mine")).ok());
        QVERIFY(!w->ReloadChangedTable()); // pending changes are the user's
        w.answers << QStringLiteral("Cancel");
        QVERIFY(!stages->save());
        QVERIFY(w.questions.last().endsWith(
            QStringLiteral("was changed by another program after Vorn read the stage table. Overwrite it?")));
        QCOMPARE(vorn::CutAtNull(w->game().table[3].title()), QByteArray("Sunken Cistern")); // nothing written

        stages->undoStack().undo();
        QVERIFY(w->ReloadChangedTable());
        QCOMPARE(w->cboMap()->itemText(4), QStringLiteral("4 - Outside"));
        QCOMPARE(stages->table()->item(4, StagesWindow::Title)->text(), QStringLiteral("Outside"));
        QVERIFY(!w->ReloadChangedTable()); // read once
    }

    // Grown by 4 columns on the left: entities move 4 cells right, undo
    // brings the map back; a cut asks first.
    void resizeFromTheLeftAndUndo()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const int width = w->stage().width();
        const vorn::EntityRecord first = w->stage().record(0);
        QVERIFY(w->ResizeMap(width + 4, w->stage().height(), 2, 0));
        QCOMPARE(int(w->stage().width()), width + 4);
        QCOMPARE(w->stage().record(0).X, qint16(first.X + 4));
        QVERIFY(w->stage().isModified());
        QVERIFY(w.questions.isEmpty());
        w->UndoEdit();
        QCOMPARE(int(w->stage().width()), width);
        QCOMPARE(w->stage().record(0), first);

        w.answers << QStringLiteral("Cancel");
        QVERIFY(!w->ResizeMap(1, 1, 0, 0));
        QVERIFY(w.questions.last().startsWith(QStringLiteral("Resizing cuts ")));
        QCOMPARE(int(w->stage().width()), width);
    }
};

QTEST_MAIN(StagesWindowTest)
#include "stageswindow_test.moc"
