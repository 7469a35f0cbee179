// A mod's game folder: the stage table in a section of its own, grown by
// vorn-tool's way of adding stages, and pictures named ".bmp".
#include "openwindow.h"

#include "game.h"
#include "pebuilder.h"
#include "samplegame.h"

#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QTest>

namespace {

// Every picture renamed to ".bmp", and the executable told so.
void MakeBitmapMod(TestGame& game)
{
    QDirIterator it(game.gameDir(), {QStringLiteral("*.pbm")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QVERIFY(QFile::rename(file, file.chopped(3) + QStringLiteral("bmp")));
    }
    QFile exe(game.path(QStringLiteral("Doukutsu.exe")));
    QVERIFY(exe.open(QIODevice::ReadWrite));
    QByteArray bytes = exe.readAll();
    vorn::sample::WritePictureFormats(bytes, 0x90100, "bmp");
    exe.seek(0);
    exe.write(bytes);
}

} // namespace

class ModGameTest : public QObject {
    Q_OBJECT
private slots:
    void addedStagesAndBitmapPicturesOpen()
    {
        OpenWindow w([](TestGame& game) {
            MakeBitmapMod(game);
            vorn::Game mod(game.gameDir());
            QVERIFY(mod.readTable().ok());
            int added = -1;
            QCOMPARE(mod.addStage(5, &added).refusal(), QString());
            QCOMPARE(added, 95);
            QCOMPARE(mod.tableDescription(), QStringLiteral("Doukutsu.exe, section .csmap, 96 stages"));
        });
        QVERIFY(w.started);
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('|')));
        QCOMPARE(w->cboMap()->count(), 96);
        QCOMPARE(w->game().folder.pictureExtension(), QStringLiteral("bmp"));

        w->cboMap()->setCurrentIndex(5);
        const vorn::TileGrid stage5 = w->stage().grid();
        w->cboMap()->setCurrentIndex(95);
        QCOMPARE(w->stage().index(), 95);
        QVERIFY(w->stage().grid() == stage5);
        QVERIFY(!w->stage().tileset().isNull());
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Ready..."));
        QVERIFY(QDir(w.game.path(QStringLiteral("backup"))).entryList(QDir::Files).size() == 1);
    }

    // An executable whose code does not show the table: the freeware place,
    // said once in the status bar.
    void unknownExecutableSaysSo()
    {
        OpenWindow w([](TestGame& game) {
            QFile exe(game.path(QStringLiteral("Doukutsu.exe")));
            QVERIFY(exe.open(QIODevice::ReadWrite));
            exe.seek(vorn::sample::kLoaderAt);
            exe.write(QByteArray(13, 'x'));
        });
        QVERIFY(w.started);
        QCOMPARE(w->cboMap()->count(), 95);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Doukutsu.exe: the stage table's address was not found in "
                                                        "its code; using the freeware place."));
    }
};

QTEST_MAIN(ModGameTest)
#include "modgame_test.moc"
