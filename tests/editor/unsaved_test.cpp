// What the window does with unsaved edits: the "Modified" label, the
// questions before a stage switch, a reload or a close throws them away,
// and another program's change caught at Save.
#include "windowdriver.h"

#include "../dialogs/modalanswer.h"
#include "mapview.h"
#include "samplegame.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString kUnsaved = QStringLiteral("Stage 13 (Mossy Hollow) has changes that are not saved.");

// One recorded step: a stroke over cells (1, 1) and (2, 1).
void Stroke(OpenWindow& w, quint8 tile = 201)
{
    w->SetSelectedTile(tile);
    const int z = w->ZoomSize();
    Send(w->picMap(), QEvent::MouseButtonPress, QPoint(z + 1, z + 1), Qt::LeftButton, Qt::LeftButton);
    Send(w->picMap(), QEvent::MouseMove, QPoint(2 * z + 1, z + 1), Qt::LeftButton);
    Send(w->picMap(), QEvent::MouseButtonRelease, QPoint(2 * z + 1, z + 1), Qt::NoButton, Qt::LeftButton);
}

QString MapPath(OpenWindow& w) { return w->game().folder.findFile("data\\stage\\Hollow.pxm"); }

} // namespace

class UnsavedTest : public QObject {
    Q_OBJECT
private slots:
    void modifiedShowsWhileEditsAreUnsaved()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QCOMPARE(w->lblModified()->geometry().topLeft(), QPoint(392, 3));
        QCOMPARE(w->lblModified()->font(), w->lblStatus()->font());
        QCOMPARE(w->lblModified()->text(), QString());
        Stroke(w);
        QCOMPARE(w->lblModified()->text(), QStringLiteral("Modified"));
        w->UndoEdit();
        QCOMPARE(w->lblModified()->text(), QString()); // back to what is on disk
        w->RedoEdit();
        QCOMPARE(w->lblModified()->text(), QStringLiteral("Modified"));
        QVERIFY(w->cmdSave_Click());
        QCOMPARE(w->lblModified()->text(), QString());
        QCOMPARE(w->windowTitle(), QStringLiteral("Vorn"));
        QVERIFY(w.questions.isEmpty());
    }

    void switchingStageAsksFirst()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const QByteArray onDisk = FileBytes(MapPath(w));
        w->cboMap()->setCurrentIndex(14); // nothing unsaved: no question
        w->cboMap()->setCurrentIndex(13);
        QVERIFY(w.questions.isEmpty());

        // Cancel keeps everything, and the list shows the open stage again.
        Stroke(w);
        w.answers = {QStringLiteral("Cancel")};
        w->cboMap()->setCurrentIndex(14);
        QCOMPARE(w.questions, QStringList{kUnsaved});
        QCOMPARE(w->stage().index(), 13);
        QCOMPARE(w->cboMap()->currentIndex(), 13);
        QCOMPARE(w->stage().cell(1, 1), quint8(201));

        // A save that is refused leaves the stage open with its edits.
        QVERIFY(QFile::setPermissions(MapPath(w), QFile::ReadOwner));
        w.answers = {QStringLiteral("Save")};
        w->cboMap()->setCurrentIndex(14);
        QCOMPARE(w.messages.size(), 1);
        QCOMPARE(w->stage().index(), 13);
        QCOMPARE(w->cboMap()->currentIndex(), 13);
        QVERIFY(w->stage().isModified());

        // Save, then on to the stage chosen.
        QVERIFY(QFile::setPermissions(MapPath(w), QFile::ReadOwner | QFile::WriteOwner));
        w.answers = {QStringLiteral("Save")};
        w->cboMap()->setCurrentIndex(14);
        QCOMPARE(w->stage().index(), 14);
        QVERIFY(FileBytes(MapPath(w)) != onDisk);

        // Discard: on as designed, the file as it was.
        w->cboMap()->setCurrentIndex(13);
        const QByteArray saved = FileBytes(MapPath(w));
        Stroke(w, 202);
        w.answers = {QStringLiteral("Discard")};
        w->cboMap()->setCurrentIndex(12);
        QCOMPARE(w->stage().index(), 12);
        QCOMPARE(FileBytes(MapPath(w)), saved);
        QCOMPARE(w.questions.size(), 4);
    }

    void loadAsksBeforeReadingTheStageAgain()
    {
        OpenWindow w;
        QVERIFY(w.started);
        Stroke(w);
        w.answers = {QStringLiteral("Cancel")};
        QVERIFY(!w->cmdLoad_Click());
        QCOMPARE(w.questions.last(),
                 QStringLiteral("Discard the changes to stage 13 (Mossy Hollow) and load it again from disk?"));
        QCOMPARE(w->stage().cell(1, 1), quint8(201));
        QVERIFY(w->cmdLoad_Click()); // Discard
        QCOMPARE(w->stage().cell(1, 1), quint8(0));
        QCOMPARE(w->lblModified()->text(), QString());
    }

    void closingAsksFirst()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->show();
        Stroke(w);
        w.answers = {QStringLiteral("Cancel")};
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QVERIFY(!QFile::exists(w.game.settingsPath())); // nothing stored by a close that did not happen
        w.answers = {QStringLiteral("Save")};
        QVERIFY(w->close());
        QCOMPARE(w.questions, (QStringList{kUnsaved, kUnsaved}));
        QVERIFY(QFile::exists(w.game.settingsPath()));
        QVERIFY(FileBytes(MapPath(w)).contains(QByteArray(2, char(201))));
    }

    // The box itself: "Save" is the default button and Escape cancels.
    void theQuestionBoxTakesEnterAndEscape()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->askHook = nullptr;
        QStringList buttons;
        for (const int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
            AnswerModal<QMessageBox>([&buttons, key](QMessageBox* box) {
                buttons.clear();
                for (QAbstractButton* b : box->buttons())
                    buttons << b->text();
                QCOMPARE(box->defaultButton()->text(), QStringLiteral("Save"));
                QTest::keyClick(box, Qt::Key(key));
            });
            const QString answer = w->Ask(kUnsaved, {"Save", "Discard", "Cancel"}, 0, 2);
            QCOMPARE(answer, key == Qt::Key_Escape ? QStringLiteral("Cancel") : QStringLiteral("Save"));
        }
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"Cancel", "Discard", "Save"}));
    }

    void anotherProgramsChangeIsCaughtAtSave()
    {
        OpenWindow w;
        QVERIFY(w.started);
        Stroke(w);
        QByteArray changed = FileBytes(MapPath(w));
        changed[8 + 3 * 20 + 3] = char(77);
        QVERIFY(WriteBytes(MapPath(w), changed));
        const QString entities = w->game().folder.findFile("data\\stage\\Hollow.pxe");
        const QByteArray entitiesBefore = FileBytes(entities);

        w.answers = {QStringLiteral("Cancel")};
        QVERIFY(!w->cmdSave_Click());
        QCOMPARE(w.questions, QStringList{"data\\stage\\Hollow.pxm was changed by another program after Vorn "
                                          "loaded it. Overwrite it?"});
        QCOMPARE(FileBytes(MapPath(w)), changed); // nothing of the stage saved
        QCOMPARE(FileBytes(entities), entitiesBefore);
        QVERIFY(w->stage().isModified());

        w.answers = {QStringLiteral("Overwrite")};
        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(MapPath(w))[8 + 3 * 20 + 3], char(5)); // ours again
        QVERIFY(w->cmdSave_Click()); // and no longer another program's
        QCOMPARE(w.questions.size(), 2);
    }

    // A tileset that another program breaks is drawn with the stand-in,
    // edits kept, and the status text says why.
    void aTilesetChangedOnDiskIsReadAgain()
    {
        OpenWindow w;
        QVERIFY(w.started);
        Stroke(w);
        QVERIFY(WriteBytes(w->game().folder.findFile("data\\stage\\prtGrotto.pbm"), "no picture"));
        QTRY_VERIFY_WITH_TIMEOUT(w->lblStatus()->text().startsWith("data\\stage\\prtGrotto.pbm"), 5000);
        QCOMPARE(w->picTileset()->size(), QSize(256, 256));
        QCOMPARE(w->stage().cell(1, 1), quint8(201));
    }
};

QTEST_MAIN(UnsavedTest)
#include "unsaved_test.moc"
