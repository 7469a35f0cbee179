// Unsaved edits survive a kill: a child process edits stage 13 and is
// killed with SIGKILL once its recovery copy is written; the next window on
// the game offers the edits back.
#include "openwindow.h"

#include "recovery.h"
#include "samplegame.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <cstdio>

namespace {

const char* const kChildGame = "VORN_TEST_CHILD_GAME";

QString CopyPath(const TestGame& game)
{
    return vorn::RecoveryStore(game.recoveryDir()).pathOf(game.gameDir(), QStringLiteral("Hollow"));
}

// The child: paints and edits an entity on the default stage, says "ready"
// once the copy is on disk, then waits to be killed.
int EditUntilKilled()
{
    const QString gameDir = qEnvironmentVariable(kChildGame);
    frmVorn w(gameDir, qEnvironmentVariable("VORN_TEST_CHILD_PROGRAM"));
    const QString state = qEnvironmentVariable("VORN_TEST_CHILD_STATE");
    w.SetRecoveryFolder(state);
    w.messageHook = [](const QString& text, QMessageBox::Icon) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
    if (!w.Form_Load())
        return 1;
    w.SetSelectedTile(33);
    w.picMap_MouseDown(1, 0, 16 * 3, 16 * 5);
    w.picMap_MouseMove(1, 0, 16 * 4, 16 * 5);
    w.picMap_MouseUp(1, 0, 16 * 4, 16 * 5);
    w.stage().editRecord(2, {7, 7, 1, 1, 1, 1});
    w.stage().setTileType(33, 0x42); // the tileset's types are kept too
    const QString copy = vorn::RecoveryStore(state).pathOf(gameDir, QStringLiteral("Hollow"));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(copy) && waited.elapsed() < 20000)
        QTest::qWait(50);
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        QTest::qWait(1000);
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void editsComeBackAfterAKill()
    {
        TestGame game;
        const QByteArray mapOnDisk = FileBytes(game.path("data/Stage/Hollow.pxm"));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kChildGame, game.gameDir());
        env.insert("VORN_TEST_CHILD_PROGRAM", game.programDir());
        env.insert("VORN_TEST_CHILD_STATE", game.recoveryDir());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(child.readAll(), QByteArray("ready\n"));
        QVERIFY(QFile::exists(CopyPath(game)));
        child.kill(); // SIGKILL: no close, no clean-up
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(FileBytes(game.path("data/Stage/Hollow.pxm")), mapOnDisk);

        // "Discard" would throw the copy away; "Restore" brings the edits
        // back as one undoable step, unsaved.
        QStringList questions;
        {
            frmVorn w(game.gameDir(), game.programDir());
            w.SetRecoveryFolder(game.recoveryDir());
            w.askHook = [&questions](const QString& text, const QStringList& buttons) {
                questions << text;
                return buttons.first();
            };
            QVERIFY(w.Form_Load());
            QCOMPARE(questions.size(), 1);
            QVERIFY2(questions[0].startsWith("Stage 13 (Mossy Hollow) has changes that were not saved when Vorn "
                                             "last ended ("),
                     qPrintable(questions[0]));
            QVERIFY(questions[0].endsWith("). Restore them?"));
            QCOMPARE(w.stage().cell(3, 5), quint8(33));
            QCOMPARE(w.stage().cell(4, 5), quint8(33));
            QCOMPARE(w.stage().record(2), (vorn::EntityRecord{7, 7, 1, 1, 1, 1}));
            QCOMPARE(w.stage().tileType(33), quint8(0x42));
            QCOMPARE(w.lblModified()->text(), QStringLiteral("Modified"));
            w.UndoEdit();
            QCOMPARE(w.stage().cell(3, 5), quint8(mapOnDisk[8 + 5 * 20 + 3]));
            QCOMPARE(w.stage().tileType(33), quint8(0));
            QCOMPARE(w.lblModified()->text(), QString()); // as on disk: the copy has nothing left to give
            QVERIFY(!QFile::exists(CopyPath(game)));
        }
    }

    void copyGoesWithSaveDiscardAndCleanClose()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const auto edit = [&w](quint8 tile) {
            w->stage().paintCell(1, 1, tile);
            w->stage().finishEdit();
            QTest::qWait(vorn::RecoveryKeeper::kDelayMs + 300);
            return QFile::exists(CopyPath(w.game));
        };
        QVERIFY(edit(40));
        QVERIFY(w->cmdSave_Click());
        QVERIFY(!QFile::exists(CopyPath(w.game)));
        QVERIFY(edit(41));
        w.answers = {QStringLiteral("Discard")};
        w->cboMap()->setCurrentIndex(14);
        QVERIFY(!QFile::exists(CopyPath(w.game)));
        w->cboMap()->setCurrentIndex(13);
        QVERIFY(edit(42));
        w.answers = {QStringLiteral("Discard")};
        QVERIFY(w->close());
        QVERIFY(!QFile::exists(CopyPath(w.game)));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildGame))
        return EditUntilKilled();
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "recovery_test.moc"
