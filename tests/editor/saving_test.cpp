// Saving the open stage, and the settings stored when the window closes.
#include "windowdriver.h"

#include "inifile.h"
#include "twips.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>

namespace {

QString StageFile(frmVorn& w, const char* extension)
{
    return w.game().findFile(QStringLiteral("data\\stage\\") + w.openMapName + QLatin1String(extension));
}

// Every file of the game folder with its content.
QMap<QString, QByteArray> Snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = FileBytes(path);
    }
    return files;
}

} // namespace

class SavingTest : public QObject {
    Q_OBJECT
private slots:
    void savingKeepsFilesAsTheyWereAndRepeats()
    {
        StartedWindow w;
        QVERIFY(w.started);
        const QString map = StageFile(*w, ".pxm");
        const QString entities = StageFile(*w, ".pxe");
        const QByteArray mapBefore = FileBytes(map);
        const QByteArray entitiesBefore = FileBytes(entities);

        // An unchanged stage saves to the bytes it was read from.
        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(map), mapBefore);
        QCOMPARE(FileBytes(entities), entitiesBefore);
        QCOMPARE(w->lblStatus->text(), QStringLiteral("Ready..."));

        w->TileGrid.at(1, 1) = 200;
        w->EntityRecords[0].Type = -3;
        QVERIFY(w->cmdSave_Click());
        const QByteArray mapOnce = FileBytes(map);
        const QByteArray entitiesOnce = FileBytes(entities);
        QVERIFY(mapOnce != mapBefore);
        QVERIFY(entitiesOnce != entitiesBefore);
        QCOMPARE(mapOnce.size(), mapBefore.size());
        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(map), mapOnce);
        QCOMPARE(FileBytes(entities), entitiesOnce);
        QVERIFY(w.messages.isEmpty());

        // What was saved loads back as it was edited.
        w->TileGrid.at(1, 1) = 0;
        QVERIFY(w->cmdLoad_Click());
        QCOMPARE(w->TileGrid.at(1, 1), quint8(200));
        QCOMPARE(w->EntityRecords[0].Type, qint16(-3));
    }

    void unwritableMapStopsTheSave()
    {
        StartedWindow w;
        QVERIFY(w.started);
        const QString map = StageFile(*w, ".pxm");
        const QString entities = StageFile(*w, ".pxe");
        const QByteArray mapBefore = FileBytes(map);
        const QByteArray entitiesBefore = FileBytes(entities);
        const QStringList folderBefore =
            QDir(QFileInfo(map).path()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(QFile::setPermissions(map, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

        w->TileGrid.at(0, 0) = 99;
        w->EntityRecords[0].X = 42;
        QVERIFY(!w->cmdSave_Click());
        QCOMPARE(w.messages.size(), 1);
        const QString mapName = QStringLiteral("data\\stage\\") + w->openMapName + QStringLiteral(".pxm");
        QVERIFY2(w.messages.first().contains(mapName), qPrintable(w.messages.first()));
        QCOMPARE(FileBytes(map), mapBefore);
        QCOMPARE(FileBytes(entities), entitiesBefore); // not written after the failure
        QCOMPARE(w->lblStatus->text(), QStringLiteral("Ready..."));
        // Nothing left behind beside the old file.
        QCOMPARE(QDir(QFileInfo(map).path()).entryList(QDir::Files | QDir::Hidden), folderBefore);

        QVERIFY(QFile::setPermissions(map, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(map).at(8), char(99));
    }

    void nothingIsWrittenWithoutAnOpenStage()
    {
        TestGame game;
        const QMap<QString, QByteArray> before = Snapshot(game.gameDir());
        frmVorn w(game.gameDir(), game.programDir());
        QCOMPARE(w.openStage, -1);
        QVERIFY(w.cmdSave_Click());
        QCOMPARE(Snapshot(game.gameDir()), before);
    }

    void settingsAreStoredAtCloseAndRestored()
    {
        TestGame game;
        QRect frame;
        {
            frmVorn w(game.gameDir(), game.programDir());
            w.messageHook = [](const QString&, QMessageBox::Icon) {};
            QVERIFY(w.Form_Load());
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.move(40, 60);
            w.resize(800, 520);
            w.cboZoom->setCurrentIndex(3);
            w.cboMap->setCurrentIndex(14);
            QCoreApplication::processEvents();
            frame = w.frameGeometry();
            QVERIFY(w.close()); // closing never asks and never saves the stage
        }

        const QString ini = game.settingsPath();
        const auto value = [&](const char* key) {
            return vorn::INIRead(ini, QStringLiteral("Main"), QLatin1String(key));
        };
        QCOMPARE(value("State"), QStringLiteral("0"));
        QCOMPARE(value("Left"), QString::number(vorn::PixelsToTwips(frame.x())));
        QCOMPARE(value("Top"), QString::number(vorn::PixelsToTwips(frame.y())));
        QCOMPARE(value("Width"), QString::number(vorn::PixelsToTwips(frame.width())));
        QCOMPARE(value("Height"), QString::number(vorn::PixelsToTwips(frame.height())));
        QCOMPARE(value("Split"), QStringLiteral("136"));
        QCOMPARE(value("Zoom"), QStringLiteral("3"));
        QCOMPARE(value("Last Stage"), QStringLiteral("14"));

        // Written in this order, as plain whole numbers.
        const QString text = QString::fromUtf8(FileBytes(ini));
        const QStringList keys = {"State", "Left", "Top", "Width", "Height", "Split", "Zoom", "Last Stage"};
        qsizetype at = -1;
        for (const QString& key : keys) {
            const qsizetype next = text.indexOf(QRegularExpression("^" + key + "=-?\\d+\\r?$",
                                                                   QRegularExpression::MultilineOption));
            QVERIFY2(next > at, qPrintable(key));
            at = next;
        }

        frmVorn again(game.gameDir(), game.programDir());
        again.messageHook = [](const QString&, QMessageBox::Icon) {};
        QVERIFY(again.Form_Load());
        QCOMPARE(again.cboZoom->currentIndex(), 3);
        QCOMPARE(again.cboMap->currentIndex(), 14);
        QCOMPARE(again.openStage, 14);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.frameGeometry().size(), frame.size());
    }
};

QTEST_MAIN(SavingTest)
#include "saving_test.moc"
