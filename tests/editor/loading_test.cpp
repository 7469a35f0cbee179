// Stage loading: every sample stage, and the files that are missing,
// rejected or undecodable, which must never replace the open stage with
// half a stage.
#include "frmVorn.h"
#include "mapview.h"
#include "samplegame.h"
#include "testgame.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

class LoadingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestGame> game;
    std::unique_ptr<frmVorn> w;
    QStringList messages;

    QString file(const char* builtName) const { return w->game().folder.findFile(QString::fromLatin1(builtName)); }
    void truncate(const QString& path, qint64 size)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(size));
    }

private slots:
    void init()
    {
        messages.clear();
        game = std::make_unique<TestGame>();
        w = std::make_unique<frmVorn>(game->gameDir(), game->programDir());
        w->messageHook = [this](const QString& text, QMessageBox::Icon) { messages << text; };
        QVERIFY(w->Form_Load());
        QCOMPARE(w->stage().index(), vorn::kSampleSmallStage);
    }
    void cleanup()
    {
        w.reset();
        game.reset();
    }

    void everySampleStageLoads()
    {
        for (int i = 0; i < vorn::kFreewareStageCount; ++i) {
            w->cboMap()->setCurrentIndex(i);
            QVERIFY2(messages.isEmpty(), qPrintable(messages.join('|')));
            QCOMPARE(w->stage().index(), i);
            QCOMPARE(w->lblStatus()->text(), QStringLiteral("Ready..."));
            QCOMPARE(w->picTileset()->size(), w->stage().tileset().size());
            QCOMPARE(w->picMap()->size(), QSize(w->stage().width() * 16, w->stage().height() * 16));
            QVERIFY(!w->stage().backdrop().isNull());
        }
        w->cboMap()->setCurrentIndex(vorn::kSampleHugeStage);
        QCOMPARE(int(w->stage().width()), 513);
        QCOMPARE(int(w->stage().entityCount()), 256);
    }

    void rejectedFilesKeepTheOpenStage()
    {
        const vorn::TileGrid before = w->stage().grid();
        const qint16 count = w->stage().entityCount();
        const auto records = w->stage().records();

        truncate(file("data\\stage\\Ledges.pxm"), 100);
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(QStringLiteral("Ledges.pxm")));

        QFile pxe(file("data\\stage\\Nook.pxe"));
        QVERIFY(pxe.open(QIODevice::ReadWrite));
        pxe.seek(4);
        pxe.write("\x2c\x01", 2); // count 300
        pxe.close();
        w->cboMap()->setCurrentIndex(vorn::kSampleSmallTilesetStage);
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1].contains(QStringLiteral("Nook.pxe")));

        QCOMPARE(w->stage().index(), vorn::kSampleSmallStage);
        QCOMPARE(w->cboMap()->currentIndex(), vorn::kSampleSmallStage);
        QCOMPARE(int(w->stage().width()), 20);
        QVERIFY(w->stage().grid() == before);
        QCOMPARE(w->stage().entityCount(), count);
        QVERIFY(w->stage().records() == records);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Ready..."));
        QCOMPARE(messages.size(), 2); // the revert loaded nothing again
    }

    // A stage picked while a refused one was read is loaded, not dropped
    // by the return to the open stage.
    void stageChosenDuringARefusedLoadLoads()
    {
        truncate(file("data\\stage\\Ledges.pxm"), 100);
        bool picked = false;
        QTimer pick;
        pick.setInterval(0);
        connect(&pick, &QTimer::timeout, this, [&] {
            if (!picked && w->lblStatus()->text().startsWith(QStringLiteral("Loading tileset"))) {
                picked = true;
                w->cboMap()->setCurrentIndex(vorn::kSampleSmallTilesetStage);
            }
        });
        pick.start();
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        pick.stop();
        QVERIFY(picked);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(w->stage().index(), vorn::kSampleSmallTilesetStage);
        QCOMPARE(w->cboMap()->currentIndex(), vorn::kSampleSmallTilesetStage);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Ready..."));
    }

    void namesThatLeaveTheGameFolderAreRefused()
    {
        vorn::StageRecord& record = w->game().table[20];
        record.setMap(vorn::PadName32("../Hollow"));
        w->cboMap()->setCurrentIndex(20);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0], vorn::PlainNameError(20, QStringLiteral("map"), QStringLiteral("../Hollow")));
        QCOMPARE(w->stage().index(), vorn::kSampleSmallStage);
    }

    void missingMapAndEntitiesOpenEmpty()
    {
        const QString pxm = file("data\\stage\\Ledges.pxm");
        const QString pxe = file("data\\stage\\Ledges.pxe");
        QVERIFY(QFile::remove(pxm) && QFile::remove(pxe));
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        QVERIFY(messages.isEmpty());
        QCOMPARE(w->stage().index(), vorn::kSampleWideStage);
        QCOMPARE(int(w->stage().width()), 0);
        QCOMPARE(int(w->stage().height()), 0);
        QCOMPARE(int(w->stage().entityCount()), 0);
        QCOMPARE(w->picMap()->size(), QSize(0, 0));
        QVERIFY(!QFile::exists(pxm) && !QFile::exists(pxe));
    }

    void unreadablePicturesOpenWithStandIns()
    {
        QVERIFY(QFile::remove(file("data\\stage\\prtFoundry.pbm")));
        truncate(file("data\\bkEmber.pbm"), 30);
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(QStringLiteral("data\\stage\\prtFoundry.pbm")));
        QVERIFY(messages[0].contains(QStringLiteral("data\\bkEmber.pbm")));
        QCOMPARE(w->stage().index(), vorn::kSampleWideStage);
        QCOMPARE(w->stage().tileset().size(), QSize(256, 256));
        QCOMPARE(w->stage().tileset().pixel(100, 100), qRgb(0, 0, 0));
        QVERIFY(w->stage().backdrop().isNull());
        QImage view(16, 16, QImage::Format_RGB32);
        w->RenderMap(view, QRect(0, 0, 16, 16));
        QCOMPARE(view.pixel(5, 5), qRgb(255, 255, 255));
    }

    // Never opened, never decoded: each is refused by name and the open
    // stage stays. A read that blocked would end the test by its alarm.
    void hostileFilesAreRefusedWithoutHanging()
    {
        ::alarm(60);
        const vorn::TileGrid before = w->stage().grid();
        const auto tryStage = [&](int stage, const QString& builtName, const char* words) {
            messages.clear();
            w->cboMap()->setCurrentIndex(stage);
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages[0].startsWith(builtName) && messages[0].contains(QLatin1String(words)),
                     qPrintable(messages[0]));
            QCOMPARE(w->stage().index(), vorn::kSampleSmallStage);
            QVERIFY(w->stage().grid() == before);
        };
        const auto replace = [&](const char* builtName) {
            const QString path = file(builtName);
            QFile::remove(path);
            return path;
        };

        QVERIFY(::mkfifo(QFile::encodeName(replace("data\\stage\\Ledges.pxm")).constData(), 0644) == 0);
        tryStage(vorn::kSampleWideStage, "data\\stage\\Ledges.pxm", "named pipe");

        const QString pipe = replace("data\\stage\\Nook.pxe");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0644) == 0);
        tryStage(vorn::kSampleSmallTilesetStage, "data\\stage\\Nook.pxe", "named pipe");
        QVERIFY(QFile::link(pipe, replace("data\\stage\\prtPebble.pbm")));
        tryStage(vorn::kSampleSmallTilesetStage, "data\\stage\\prtPebble.pbm", "link to a named pipe");

        QVERIFY(QFile::link("/dev/zero", replace("data\\bkEmber.pbm")));
        tryStage(vorn::kSampleNoEntityStage, "data\\bkEmber.pbm", "link to a device");

        // A picture is a game file too: a link may not lead out of the folder.
        QTemporaryDir outside;
        const QString away = outside.filePath("prtFoundry.pbm");
        QVERIFY(QFile::copy(file("data\\stage\\prtFoundry.pbm"), away));
        const QString foundry = replace("data\\stage\\prtFoundry.pbm");
        QVERIFY(QFile::link(away, foundry));
        tryStage(12 /* Burrow, on prtFoundry */, "data\\stage\\prtFoundry.pbm", "outside the game folder");
        QFile::remove(foundry);

        // A 200-byte bitmap whose header asks for 60000 x 60000 pixels.
        QByteArray bitmap(200, '\0');
        bitmap.replace(0, 2, "BM");
        qToLittleEndian<quint32>(200, bitmap.data() + 2);
        qToLittleEndian<quint32>(54, bitmap.data() + 10);
        qToLittleEndian<quint32>(40, bitmap.data() + 14);
        qToLittleEndian<qint32>(60000, bitmap.data() + 18);
        qToLittleEndian<qint32>(60000, bitmap.data() + 22);
        qToLittleEndian<quint16>(1, bitmap.data() + 26);
        qToLittleEndian<quint16>(24, bitmap.data() + 28);
        QFile big(foundry);
        QVERIFY(big.open(QIODevice::WriteOnly | QIODevice::Truncate) && big.write(bitmap) == 200);
        big.close();
        tryStage(12 /* Burrow, on prtFoundry */, "data\\stage\\prtFoundry.pbm", "60000 x 60000 pixels");
        ::alarm(0);
    }

    void bitmapsOfEveryDepthLoadByContent()
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                picture.setPixel(x, y, qRgb(x * 6, y * 8, 90));
        const QString backdrop = file("data\\bkDusk.pbm");
        for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8}) {
            const QImage stored = picture.convertToFormat(format);
            QVERIFY(stored.save(backdrop, "BMP"));
            w->cmdLoad_Click();
            QVERIFY(messages.isEmpty());
            QCOMPARE(w->stage().backdrop().size(), QSize(40, 30));
            QCOMPARE(w->stage().backdrop().pixel(17, 9), stored.pixel(17, 9));
        }
    }

    void statusTextsShowWhileLoading()
    {
        // A zero-interval timer fires at each processing of pending events.
        QStringList shown;
        QTimer probe;
        probe.setInterval(0);
        connect(&probe, &QTimer::timeout, this, [&] {
            if (shown.isEmpty() || shown.last() != w->lblStatus()->text())
                shown << w->lblStatus()->text();
        });
        probe.start();
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        probe.stop();
        QCOMPARE(shown, QStringList({"Loading tileset Foundry...", "Loading stage Ledges...",
                                     "Loading object data Ledges..."}));
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("Ready..."));
    }
};

QTEST_MAIN(LoadingTest)
#include "loading_test.moc"
