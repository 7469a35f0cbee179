// Unsaved edits survive a kill: child processes edit stage 13 or its script
// and are killed with SIGKILL once their recovery copies are written; the
// next window on the game offers the edits back.
#include "openwindow.h"

#include "recovery.h"
#include "samplegame.h"
#include "scriptedit.h"
#include "scriptwindows.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <sys/stat.h>

namespace {

const char* const kChildGame = "VORN_TEST_CHILD_GAME";
const QString kMap = QStringLiteral("Hollow");
const QString kScript = QStringLiteral("data\\stage\\Hollow.tsc");

QString OwnCopyPath(const TestGame& game)
{
    return vorn::RecoveryStore(game.recoveryDir()).pathOf(game.gameDir(), kMap);
}

int ModeOf(const QString& path)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

bool WaitFor(const std::function<bool()>& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 20000)
        QTest::qWait(50);
    return done();
}

// The child: paints a cell given by VORN_TEST_CHILD_COLUMN (and, with
// VORN_TEST_CHILD_SCRIPT, types into the stage's script), says "ready" once
// its copies are on disk, then waits to be killed.
int EditUntilKilled()
{
    const QString gameDir = qEnvironmentVariable(kChildGame);
    frmVorn w(gameDir, qEnvironmentVariable("VORN_TEST_CHILD_PROGRAM"));
    const QString state = qEnvironmentVariable("VORN_TEST_CHILD_STATE");
    w.SetRecoveryFolder(state);
    w.messageHook = [](const QString& text, QMessageBox::Icon) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
    w.askHook = [](const QString&, const QStringList& buttons) { return buttons.first(); };
    if (!w.Form_Load())
        return 1;
    const int column = qEnvironmentVariableIntValue("VORN_TEST_CHILD_COLUMN");
    w.SetSelectedTile(33);
    w.picMap_MouseDown(1, 0, 16 * column, 16 * 5);
    w.picMap_MouseMove(1, 0, 16 * (column + 1), 16 * 5);
    w.picMap_MouseUp(1, 0, 16 * (column + 1), 16 * 5);
    w.stage().editRecord(2, {7, 7, 1, 1, 1, 1});
    w.stage().setTileType(33, 0x42); // the tileset's types are kept too
    const vorn::RecoveryStore store(state);
    QStringList copies{store.pathOf(gameDir, kMap)};
    if (qEnvironmentVariableIsSet("VORN_TEST_CHILD_SCRIPT")) {
        ScriptWindow* script = w.Scripts().open(kScript);
        if (!script)
            return 1;
        QTest::keyClicks(script->edit(), "kept");
        copies << store.pathOf(gameDir, kScript, vorn::RecoveryStore::Kind::Script);
    }
    WaitFor(
        [&] { return std::all_of(copies.begin(), copies.end(), [](const QString& c) { return QFile::exists(c); }); });
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        QTest::qWait(1000);
}

// A child Vorn editing the game, started and waited for until its copies
// are on disk.
struct Child {
    QProcess process;
    bool start(const TestGame& game, int column, bool script)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kChildGame, game.gameDir());
        env.insert("VORN_TEST_CHILD_PROGRAM", game.programDir());
        env.insert("VORN_TEST_CHILD_STATE", game.recoveryDir());
        env.insert("VORN_TEST_CHILD_COLUMN", QString::number(column));
        if (script)
            env.insert("VORN_TEST_CHILD_SCRIPT", "1");
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationFilePath(), {});
        return process.waitForReadyRead(30000) && process.readAll() == "ready\n";
    }
    void kill()
    {
        process.kill(); // SIGKILL: no close, no clean-up
        process.waitForFinished(10000);
    }
};

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void editsComeBackAfterAKill()
    {
        TestGame game;
        const QByteArray mapOnDisk = FileBytes(game.path("data/Stage/Hollow.pxm"));
        const QByteArray scriptOnDisk = FileBytes(game.path("data/Stage/Hollow.tsc"));
        Child child;
        QVERIFY(child.start(game, 3, true));
        child.kill();
        QCOMPARE(FileBytes(game.path("data/Stage/Hollow.pxm")), mapOnDisk);
        QCOMPARE(FileBytes(game.path("data/Stage/Hollow.tsc")), scriptOnDisk);

        // Private to the user: the folder 0700, the copies 0600.
        const vorn::RecoveryStore store(game.recoveryDir());
        const std::vector<vorn::RecoveryStore::Copy> left = store.leftBehind(game.gameDir(), kMap);
        QCOMPARE(left.size(), size_t(1));
        QCOMPARE(ModeOf(game.recoveryDir()), 0700);
        QCOMPARE(ModeOf(left[0].path), 0600);

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
            QVERIFY2(w.lblStatus()->text().startsWith(
                         "Unsaved edits from an earlier run: Mossy Hollow (stage 13), Hollow.tsc."),
                     qPrintable(w.lblStatus()->text()));
            QCOMPARE(w.stage().cell(3, 5), quint8(33));
            QCOMPARE(w.stage().cell(4, 5), quint8(33));
            QCOMPARE(w.stage().record(2), (vorn::EntityRecord{7, 7, 1, 1, 1, 1}));
            QCOMPARE(w.stage().tileType(33), quint8(0x42));
            QCOMPARE(w.lblModified()->text(), QStringLiteral("Modified"));
            // The restored edits are this window's copy now; the child's went.
            QVERIFY(QFile::exists(OwnCopyPath(game)));
            QVERIFY(store.leftBehind(game.gameDir(), kMap).empty());

            // The script's text comes back when its window opens, undoable.
            ScriptWindow* script = w.Scripts().open(kScript);
            QVERIFY(script);
            QCOMPARE(questions.size(), 2);
            QVERIFY2(questions[1].startsWith("Hollow.tsc has changes that were not saved when Vorn last ended ("),
                     qPrintable(questions[1]));
            QVERIFY(script->script().text()->toPlainText().contains("kept"));
            QVERIFY(script->script().isModified());
            script->script().text()->undo();
            QVERIFY(!script->script().text()->toPlainText().contains("kept"));

            w.UndoEdit();
            QCOMPARE(w.stage().cell(3, 5), quint8(mapOnDisk[8 + 5 * 20 + 3]));
            QCOMPARE(w.stage().tileType(33), quint8(0));
            QCOMPARE(w.lblModified()->text(), QString()); // as on disk: the copy has nothing left to give
            QVERIFY(!QFile::exists(OwnCopyPath(game)));
        }
    }

    // Two Vorns on one stage keep a copy each; both are offered after they
    // were killed, the newest first, and a copy whose files another program
    // changed since says so.
    void twoVornsOnOneStage()
    {
        TestGame game;
        Child first, second;
        QVERIFY(first.start(game, 3, false));
        QVERIFY(second.start(game, 8, false));
        const vorn::RecoveryStore store(game.recoveryDir());
        QCOMPARE(store.leftBehind(game.gameDir(), kMap).size(), size_t(0)); // both still run
        first.kill();
        second.kill();
        QCOMPARE(store.leftBehind(game.gameDir(), kMap).size(), size_t(2));
        QByteArray changed = FileBytes(game.path("data/Stage/Hollow.pxe"));
        changed[8] = char(changed[8] + 1);
        QVERIFY(WriteBytes(game.path("data/Stage/Hollow.pxe"), changed));

        frmVorn window(game.gameDir(), game.programDir());
        window.SetRecoveryFolder(game.recoveryDir());
        QStringList questions;
        window.askHook = [&questions](const QString& text, const QStringList&) {
            questions << text;
            return QStringLiteral("Discard");
        };
        QVERIFY(window.Form_Load());
        QCOMPARE(questions.size(), 2);
        for (const QString& q : questions)
            QVERIFY2(q.contains("Hollow.pxe was changed by another program after these edits were kept."),
                     qPrintable(q));
        QVERIFY(store.leftBehind(game.gameDir(), kMap).empty());
        QVERIFY(!window.stage().isModified());
    }

    void copyGoesWithSaveDiscardAndCleanClose()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const auto edit = [&w](quint8 tile) {
            w->stage().paintCell(1, 1, tile);
            w->stage().finishEdit();
            QTest::qWait(vorn::RecoveryKeeper::kDelayMs + 300);
            return QFile::exists(OwnCopyPath(w.game));
        };
        QVERIFY(edit(40));
        QVERIFY(w->cmdSave_Click());
        QVERIFY(!QFile::exists(OwnCopyPath(w.game)));
        QVERIFY(edit(41));
        w.answers = {QStringLiteral("Discard")};
        w->cboMap()->setCurrentIndex(14);
        QVERIFY(!QFile::exists(OwnCopyPath(w.game)));
        w->cboMap()->setCurrentIndex(13);
        QVERIFY(edit(42));

        // Discard the stage, then Cancel for the script: the window stays,
        // and so do the stage's copy and the script's edits.
        ScriptWindow* script = w->Scripts().open(kScript);
        QVERIFY(script);
        QTest::keyClicks(script->edit(), "typed");
        w.answers = {QStringLiteral("Discard"), QStringLiteral("Cancel")};
        QVERIFY(!w->close());
        QVERIFY(w->stage().isModified());
        QVERIFY(QFile::exists(OwnCopyPath(w.game)));
        QVERIFY(script->script().isModified());
        const QString scriptCopy = vorn::RecoveryStore(w.game.recoveryDir())
                                       .pathOf(w.game.gameDir(), kScript, vorn::RecoveryStore::Kind::Script);
        QVERIFY(WaitFor([&] { return QFile::exists(scriptCopy); }));

        w.answers = {QStringLiteral("Discard"), QStringLiteral("Discard")};
        QVERIFY(w->close());
        QVERIFY(!QFile::exists(OwnCopyPath(w.game)));
        QVERIFY(!QFile::exists(scriptCopy));
    }

    // A link planted where a copy goes is replaced, not written through; a
    // folder others could read is tightened; a copy that cannot be written
    // is tried again at the next tick and said once.
    void copiesAreWrittenSafely()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const QString copy = OwnCopyPath(w.game);
        QVERIFY(QDir().mkpath(QFileInfo(copy).absolutePath()));
        QVERIFY(::chmod(QFile::encodeName(w.game.recoveryDir()).constData(), 0755) == 0);
        const QString victim = w.game.path("victim.txt");
        QVERIFY(WriteBytes(victim, "mine"));
        QVERIFY(QFile::link(victim, copy));
        w->stage().paintCell(1, 1, 40);
        w->stage().finishEdit();
        QVERIFY(WaitFor([&] { return !QFileInfo(copy).isSymLink() && QFile::exists(copy); }));
        QCOMPARE(FileBytes(victim), QByteArray("mine"));
        QCOMPARE(ModeOf(w.game.recoveryDir()), 0700);
        QCOMPARE(ModeOf(copy), 0600);

        // Something that cannot be replaced stands at the copy's place: said
        // once, then the copy is written as soon as it can be, with no
        // further edit.
        QFile::remove(copy);
        QVERIFY(QDir().mkpath(copy + "/in-the-way"));
        w->stage().paintCell(1, 1, 41);
        w->stage().finishEdit();
        QVERIFY(
            WaitFor([&] { return w->lblStatus()->text().startsWith("Unsaved edits cannot be kept for recovery"); }));
        QVERIFY(QDir(copy).removeRecursively());
        QVERIFY(WaitFor([&] { return QFile::exists(copy); }));
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
