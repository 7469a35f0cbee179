// Play-testing from the window, with a stand-in for the game: a shell
// script that records its arguments, its working folder, the folder's
// files and the save file it finds.
#include "windowdriver.h"

#include "gamerun.h"
#include "inifile.h"
#include "mapview.h"
#include "playdialog.h"
#include "playfolder.h"
#include "profile.h"
#include "script.h"
#include "scriptwindows.h"
#include "stageswindow.h"
#include "typeswindow.h"
#include "npctable.h"
#include "gamefolder.h"

#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

// Every file under `root` with its bytes.
QMap<QString, QByteArray> Snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(root.size()), FileBytes(path));
    }
    return files;
}

struct StandIn {
    QTemporaryDir dir;
    QString record(const QString& name) const { return dir.filePath(name); }
    // The stand-in game, run as "sh SCRIPT ARGS": waits for `release` when
    // asked to, then exits with `status`.
    QString command(const QString& arguments, int status = 0, bool wait = false) const
    {
        const QString script = dir.filePath(QStringLiteral("stand in's game.sh"));
        const QString rec = dir.path();
        WriteBytes(script,
                   QStringLiteral("printf '%s\\n' \"$@\" > '%1/args'\n"
                                  "pwd > '%1/cwd'\n"
                                  "find . -type f | sort > '%1/files'\n"
                                  "cp Profile.dat '%1/profile' 2>/dev/null\n"
                                  "cp data/Stage/Hollow.pxm '%1/map' 2>/dev/null\n"
                                  "cut -d' ' -f6 /proc/$$/stat > '%1/session'\n"
                                  "%2"
                                  "echo written by the shell itself\n"
                                  "yes | head -n 50000\n"
                                  "seq 1 30\n"
                                  "touch '%1/done'\n"
                                  "exit %3\n")
                       .arg(rec, wait ? QStringLiteral("while [ ! -e '%1/release' ]; do sleep 0.02; done\n").arg(rec)
                                      : QString())
                       .arg(status)
                       .toUtf8());
        return QStringLiteral("sh %1 %2").arg(vorn::ShellQuoted(script), arguments);
    }
};

void SetCommand(OpenWindow& w, const QString& command)
{
    QVERIFY(vorn::INIWrite(w.game.settingsPath(), "Play", "Command", command).ok());
}

bool Ended(OpenWindow& w) { return w->PlayingGame() && !w->PlayingGame()->running(); }

} // namespace

class PlayTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        // A cache folder whose path needs quoting.
        cache_ = std::make_unique<QTemporaryDir>();
        const QString odd = cache_->filePath(QStringLiteral("it's a \"cache\""));
        QDir().mkpath(odd);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(odd));
    }

    void playHereRunsACopyHoldingUnsavedEdits()
    {
        OpenWindow w;
        QVERIFY(w.started);
        StandIn game;
        SetCommand(w, game.command(QStringLiteral("{exe} {folder} {data}"), 0, true));
        const QMap<QString, QByteArray> userFiles = Snapshot(w.game.gameDir());
        const QByteArray settings = FileBytes(w.game.settingsPath());
        QVERIFY(userFiles.size() > 10);

        w->SetSelectedTile(201);
        const int z = w->ZoomSize();
        Send(w->picMap(), QEvent::MouseButtonPress, QPoint(z + 1, z + 1), Qt::LeftButton, Qt::LeftButton);
        Send(w->picMap(), QEvent::MouseButtonRelease, QPoint(z + 1, z + 1), Qt::NoButton, Qt::LeftButton);
        QVERIFY(w->stage().mapFileBytes() != FileBytes(w.game.path("data/Stage/Hollow.pxm")));
        // The open script window's text and the Entity Types window's edit, unsaved.
        ScriptWindow* script = w->Scripts().open("data\\stage\\Hollow.tsc");
        QVERIFY(script);
        script->script().text()->setPlainText("#0200\n<MSGNot saved yet.<NOD<END\n");
        w->OpenTypesWindow();
        QVERIFY(w->Types()->setField(3, EntityTypesWindow::Damage, QStringLiteral("5")).ok());
        w->OpenStagesWindow();
        QVERIFY(w->Stages()->setField(13, StagesWindow::Title, QStringLiteral("Played")).ok());
        w->Pick(0);
        const vorn::EntityRecord picked = w->stage().record(0);

        w->PlayHere();
        QCOMPARE(w->lblStatus()->text(),
                 QStringLiteral("Playing stage 13 at (%1, %2): choose Load in the game.").arg(picked.X).arg(picked.Y));
        QTRY_VERIFY(QFileInfo::exists(game.record("files")));
        w->PlayHere();
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("The game is still running."));
        w->Play();
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("The game is still running."));
        WriteBytes(game.record("release"), {});
        QTRY_VERIFY(Ended(w));
        QVERIFY(w.messages.isEmpty());

        const QString play = QString::fromLocal8Bit(FileBytes(game.record("cwd"))).trimmed();
        QVERIFY(play.startsWith(qEnvironmentVariable("XDG_CACHE_HOME") + "/vorn/play/"));
        const QStringList args = QString::fromLocal8Bit(FileBytes(game.record("args"))).split('\n');
        QCOMPARE(args.mid(0, 3), (QStringList{play + "/Doukutsu.exe", play, play + "/data"}));
        const QStringList files = QString::fromLocal8Bit(FileBytes(game.record("files"))).split('\n');
        QVERIFY(files.contains("./Doukutsu.exe"));
        QVERIFY(files.contains("./Profile.dat"));
        QCOMPARE(files.filter("backup").size(), 0);

        QCOMPARE(FileBytes(game.record("map")), w->stage().mapFileBytes());
        const vorn::GameFolder copy(play);
        QCOMPARE(vorn::DecodeScript(FileBytes(copy.findFile("data\\stage\\Hollow.tsc"))),
                 QByteArray("#0200\r\n<MSGNot saved yet.<NOD<END\r\n"));
        vorn::NpcTable types;
        QVERIFY(vorn::ParseNpcTable(FileBytes(copy.findFile("data\\npc.tbl")), "npc.tbl", types).ok());
        QCOMPARE(types[3].damage, 5);
        vorn::Game copiedGame(play);
        QVERIFY(copiedGame.readTable().ok());
        QVERIFY(copiedGame.table[13].title().startsWith("Played"));
        const vorn::ProfileFields save = vorn::ReadProfileFields(FileBytes(game.record("profile")));
        QCOMPARE(save.stage, 13);
        QCOMPARE(QPoint(save.x, save.y), QPoint(picked.X, picked.Y));
        QCOMPARE(save.direction, 2);
        QCOMPARE(save.life, 3);

        QCOMPARE(Snapshot(w.game.gameDir()), userFiles);
        QCOMPARE(FileBytes(w.game.settingsPath()), settings);
        QVERIFY(!QFileInfo::exists(w.game.path("Profile.dat")));
    }

    void playRunsInTheGameFolderAndShowsAnEarlyFailure()
    {
        OpenWindow w;
        QVERIFY(w.started);
        StandIn game;
        SetCommand(w, game.command(QStringLiteral("{exe}"), 3));
        w->Play();
        QTRY_VERIFY(Ended(w));
        QCOMPARE(QString::fromLocal8Bit(FileBytes(game.record("cwd"))).trimmed(),
                 QDir(w.game.gameDir()).canonicalPath());
        QCOMPARE(w.messages.size(), 1);
        QCOMPARE(w->PlayingGame()->output().size(), GameRun::kKeptOutput); // of about 100 KB
        QVERIFY(w->PlayingGame()->output().endsWith("\n29\n30\n"));
        QStringList lastLines;
        for (int n = 11; n <= 30; ++n)
            lastLines << QString::number(n);
        QCOMPARE(w.messages[0], "The game ended at once with exit status 3. The last lines it wrote:\r\n\r\n" +
                                    lastLines.join("\r\n"));
    }

    // In a session of its own, and going on, writing, once Vorn is gone.
    void closingVornLeavesTheGameRunning()
    {
        auto w = std::make_unique<OpenWindow>();
        QVERIFY(w->started);
        StandIn game;
        SetCommand(*w, game.command(QString(), 0, true));
        (*w)->Play();
        QTRY_VERIFY(QFileInfo::exists(game.record("files")));
        w.reset();
        WriteBytes(game.record("release"), {});
        QTRY_VERIFY(QFileInfo::exists(game.record("done")));
        QVERIFY(FileBytes(game.record("session")).trimmed().toLong() != long(::getsid(0)));
    }

    void aBrokenSaveOrACellOutsideTheMapIsRefusedAndNothingRuns()
    {
        OpenWindow w([](TestGame& g) { WriteBytes(g.path("Profile.dat"), QByteArray(100, 'x')); });
        QVERIFY(w.started);
        StandIn game;
        SetCommand(w, game.command(QString()));
        w->PlayHere();
        vorn::EntityRecord outside = w->stage().record(0);
        outside.X = 600;
        w->stage().editRecord(0, outside);
        w->Pick(0);
        w->PlayHere();
        QCOMPARE(w.messages.size(), 2);
        QCOMPARE(w.messages[0],
                 "Cannot play stage 13: Profile.dat holds 100 bytes, not the 1540 of the game's save file.");
        QCOMPARE(w.messages[1], QStringLiteral("Cannot play stage 13 at (600, %1): the cell lies outside its map of "
                                               "%2 x %3 cells.")
                                    .arg(outside.Y)
                                    .arg(w->stage().width())
                                    .arg(w->stage().height()));
        QVERIFY(!w->PlayingGame() || !w->PlayingGame()->running());
        QVERIFY(!QFileInfo::exists(game.record("args")));
    }

    void withoutCommandOrWineTheDialogSaysWhatToInstall()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QTemporaryDir emptyPath;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(emptyPath.path()));
        bool noteShown = false;
        w->playDialogHook = [&](PlayDialog& dialog) {
            noteShown = dialog.installNote()->isVisibleTo(&dialog) &&
                        dialog.installNote()->text().contains("apt-get install wine wine32") &&
                        dialog.installNote()->text().contains("dpkg --add-architecture i386");
            return false;
        };
        w->Play();
        qputenv("PATH", path);
        QVERIFY(noteShown);
        QVERIFY(!w->PlayingGame());

        w->playDialogHook = [](PlayDialog& dialog) {
            dialog.commandBox()->setText("  wine {exe}  ");
            return true;
        };
        QVERIFY(w->PlaySettings());
        QCOMPARE(vorn::INIRead(w.game.settingsPath(), "Play", "Command"), QStringLiteral("wine {exe}"));
    }

private:
    std::unique_ptr<QTemporaryDir> cache_;
};

QTEST_MAIN(PlayTest)
#include "play_test.moc"
