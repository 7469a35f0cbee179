// Saving the open stage, and the settings stored when the window closes.
#include "openwindow.h"
#include "windowdriver.h"
#include "unrecordededits.h"

#include "inifile.h"
#include "mapview.h"
#include "samplegame.h"
#include "twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <sys/stat.h>
#include <unistd.h>

class SavingTest : public QObject {
    Q_OBJECT
private slots:
    void savingTwiceGivesTheSameBytes()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const QString map = w->game().folder.findFile("data\\stage\\" + w->stage().files().mapName + ".pxm");
        const QString entities = w->game().folder.findFile("data\\stage\\" + w->stage().files().mapName + ".pxe");
        const QByteArray mapBefore = FileBytes(map), entitiesBefore = FileBytes(entities);
        QVERIFY(w->cmdSave_Click()); // unchanged: the bytes it was read from
        QCOMPARE(FileBytes(map), mapBefore);
        QCOMPARE(FileBytes(entities), entitiesBefore);

        vorn::UnrecordedEdits::setCell(w->stage(), 1, 1, 200);
        vorn::EntityRecord first = w->stage().record(0);
        first.Type = -3;
        vorn::UnrecordedEdits::setRecord(w->stage(), 0, first);
        QVERIFY(w->cmdSave_Click());
        const QByteArray mapOnce = FileBytes(map), entitiesOnce = FileBytes(entities);
        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(map), mapOnce);
        QCOMPARE(FileBytes(entities), entitiesOnce);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Ready..."));
        QVERIFY(w->cmdLoad_Click());
        QCOMPARE(w->stage().cell(1, 1), quint8(200));
        QCOMPARE(w->stage().record(0).Type, qint16(-3));
        QVERIFY(w.messages.isEmpty());
    }

    // The save shows its texts with pending events processed; a stage
    // picked then loads after the save, never between its two files.
    void stageChosenWhileSavingLoadsAfterwards()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const QString entities = w->game().folder.findFile("data\\stage\\" + w->stage().files().mapName + ".pxe");
        const QByteArray before = FileBytes(entities);
        bool picked = false;
        QTimer pick;
        pick.setInterval(0);
        connect(&pick, &QTimer::timeout, this, [&] {
            if (!picked && w->lblStatus()->text().startsWith(QStringLiteral("Saving stage"))) {
                picked = true;
                w->cboMap()->setCurrentIndex(14);
            }
        });
        pick.start();
        QVERIFY(w->cmdSave_Click());
        pick.stop();
        QVERIFY(picked);
        QCOMPARE(FileBytes(entities), before);
        QCOMPARE(w->stage().index(), 14);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Ready..."));
        QVERIFY(w.messages.isEmpty());
    }

    void readOnlyMapStopsTheSaveAndStaysIntact()
    {
        OpenWindow w;
        QVERIFY(w.started);
        const QString mapName = "data\\stage\\" + w->stage().files().mapName + ".pxm";
        const QString map = w->game().folder.findFile(mapName);
        const QString entities = w->game().folder.findFile("data\\stage\\" + w->stage().files().mapName + ".pxe");
        const QByteArray mapBefore = FileBytes(map), entitiesBefore = FileBytes(entities);
        const QStringList folder = QDir(QFileInfo(map).path()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(QFile::setPermissions(map, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

        vorn::UnrecordedEdits::setCell(w->stage(), 0, 0, 99);
        vorn::EntityRecord first = w->stage().record(0);
        first.X = 42;
        vorn::UnrecordedEdits::setRecord(w->stage(), 0, first);
        QVERIFY(!w->cmdSave_Click());
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].contains(mapName), qPrintable(w.messages[0]));
        QCOMPARE(FileBytes(map), mapBefore);
        QCOMPARE(FileBytes(entities), entitiesBefore); // not written after the failure
        QCOMPARE(QDir(QFileInfo(map).path()).entryList(QDir::Files | QDir::Hidden), folder);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Ready..."));
    }

    // A pipe put in the map's place after the load, and a map name that
    // would make hidden files: refused by name, nothing written, no hang.
    void saveRefusesWhatItCannotWriteSafely()
    {
        ::alarm(60);
        OpenWindow w;
        QVERIFY(w.started);
        const QString mapName = "data\\stage\\" + w->stage().files().mapName + ".pxm";
        const QString map = w->game().folder.findFile(mapName);
        const QString entities = w->game().folder.findFile("data\\stage\\" + w->stage().files().mapName + ".pxe");
        const QByteArray entitiesBefore = FileBytes(entities);
        QVERIFY(QFile::remove(map) && ::mkfifo(QFile::encodeName(map).constData(), 0644) == 0);
        QVERIFY(!w->cmdSave_Click());
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].startsWith(mapName + " is a named pipe"), qPrintable(w.messages[0]));
        QCOMPARE(FileBytes(entities), entitiesBefore);

        w.messages.clear();
        w->game().table[vorn::kSampleSmallStage].setMap(vorn::PadName32(""));
        QVERIFY(w->cmdLoad_Click()); // opens empty: there are no files of that name
        QVERIFY(!w->cmdSave_Click());
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].startsWith("Stage 13's map name \"\" would make the hidden file "
                                          "data\\stage\\.pxm"),
                 qPrintable(w.messages[0]));
        QVERIFY(!QFileInfo::exists(QFileInfo(entities).dir().filePath(".pxm")));
        QVERIFY(!QFileInfo::exists(QFileInfo(entities).dir().filePath(".pxe")));
        ::alarm(0);
    }

    // The settings file at close, in a program folder marked read-only: no
    // crash, the file keeps every line it had, and the user is told once
    // which file could not be written and why.
    void closeIntoAReadOnlyProgramFolderLosesNothing()
    {
        TestGame game;
        const QByteArray settings = "; mine\n[Main]\nZoom=3\n[Entities]\n1=Critter\n";
        QVERIFY(WriteBytes(game.settingsPath(), settings));
        QVERIFY(QFile::setPermissions(game.programDir(), QFile::ReadOwner | QFile::ExeOwner));
        QStringList messages;
        {
            frmVorn w(game.gameDir(), game.programDir());
            w.messageHook = [&messages](const QString& text, QMessageBox::Icon) { messages << text; };
            QVERIFY(w.Form_Load());
            QCOMPARE(w.cboZoom()->currentIndex(), 3);
            QVERIFY(w.close());
        }
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains("vorn.ini") && messages[0].contains("read-only"), qPrintable(messages[0]));
        QCOMPARE(FileBytes(game.settingsPath()), settings);
        QVERIFY(QFile::setPermissions(game.programDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void settingsAreStoredAtCloseAndRestored()
    {
        TestGame game;
        QRect frame;
        {
            frmVorn w(game.gameDir(), game.programDir());
            QVERIFY(w.Form_Load());
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.setGeometry(40, 60, 800, 520);
            w.cboZoom()->setCurrentIndex(3);
            w.cboMap()->setCurrentIndex(14);
            frame = w.frameGeometry();
            QVERIFY(w.close());
        }
        // In this order, as plain whole numbers.
        const QStringList expected = {"State=0",
                                      "Left=" + QString::number(vorn::PixelsToTwips(frame.x())),
                                      "Top=" + QString::number(vorn::PixelsToTwips(frame.y())),
                                      "Width=" + QString::number(vorn::PixelsToTwips(frame.width())),
                                      "Height=" + QString::number(vorn::PixelsToTwips(frame.height())),
                                      "Split=136",
                                      "Zoom=3",
                                      "Last Stage=14"};
        QStringList lines = QString::fromUtf8(FileBytes(game.settingsPath())).split(QRegularExpression("\r?\n"));
        lines.removeIf([](const QString& line) { return !line.contains('='); });
        QCOMPARE(lines, expected);

        frmVorn again(game.gameDir(), game.programDir());
        QVERIFY(again.Form_Load());
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.cboZoom()->currentIndex(), 3);
        QCOMPARE(again.stage().index(), 14);
        QCOMPARE(again.frameGeometry(), frame);

        // The views beyond the design: written once turned on (key S), and
        // then kept, on or off; the one never turned on is never written.
        again.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&again));
        again.picMap()->setFocus();
        QTest::keyClick(again.picMap(), Qt::Key_S);
        QVERIFY(again.close());
        const auto stored = [&] {
            return vorn::INIRead(game.settingsPath(), "Main", "Show Sprites") + "/" +
                   vorn::INIRead(game.settingsPath(), "Main", "Show Tile Types");
        };
        QCOMPARE(stored(), QStringLiteral("1/"));
        frmVorn third(game.gameDir(), game.programDir());
        QVERIFY(third.Form_Load());
        third.show();
        QVERIFY(third.ShowsSprites() && !third.ShowsTileTypes());
        third.chkSprites()->click();
        QVERIFY(third.close());
        QCOMPARE(stored(), QStringLiteral("0/"));
    }

    // A crash must not lose a view option: it is stored a few seconds after
    // the change, before any close.
    void settingsAreStoredSoonAfterAChange()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->chkSprites()->click();
        QTest::qWait(frmVorn::kSettingsDelayMs + 500);
        QCOMPARE(vorn::INIRead(w.game.settingsPath(), "Main", "Show Sprites"), QStringLiteral("1"));
    }
};

QTEST_MAIN(SavingTest)
#include "saving_test.moc"
