// Start-up of the main window on a fresh sample game: required files,
// settings restored or defaulted, the stage list and the first stage.
#include "entitytypes.h"
#include "frmVorn.h"
#include "entitymarker.h"
#include "layoutwidgets.h"
#include "mapview.h"
#include "samplegame.h"
#include "testgame.h"
#include "twips.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <memory>

namespace {

struct Message {
    QString text;
    QMessageBox::Icon icon;
};

struct Started {
    explicit Started(const QByteArray& ini = {})
    {
        if (!ini.isNull()) {
            QFile f(game.settingsPath());
            f.open(QIODevice::WriteOnly);
            f.write(ini);
        }
    }
    bool start()
    {
        window = std::make_unique<frmVorn>(game.gameDir(), game.programDir());
        window->messageHook = [this](const QString& t, QMessageBox::Icon i) { messages.push_back({t, i}); };
        return window->Form_Load();
    }
    TestGame game;
    std::unique_ptr<frmVorn> window;
    std::vector<Message> messages;
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void withoutSettingsKeepsTheDesign()
    {
        Started s;
        QVERIFY(s.start());
        frmVorn& w = *s.window;
        QVERIFY(s.messages.empty());
        QCOMPARE(w.windowTitle(), QStringLiteral("Vorn"));
        QCOMPARE(w.size(), QSize(739, 418));
        QCOMPARE(w.windowState(), Qt::WindowNoState);
        QCOMPARE(w.imgSplitter()->y(), 136);
        QCOMPARE(w.cboZoom()->currentText(), QStringLiteral("16"));
        QCOMPARE(int(w.ZoomSize()), 16);
        QCOMPARE(w.cboMap()->count(), 95);
        QCOMPARE(w.cboMap()->currentIndex(), vorn::kSampleSmallStage);
        QCOMPARE(w.cboMap()->itemText(13), vorn::StageListItemText(13, w.game().table[13]));
        QCOMPARE(w.stage().index(), vorn::kSampleSmallStage);
        QCOMPARE(int(w.stage().width()), 20);
        QCOMPARE(int(w.stage().height()), 15);
        QCOMPARE(w.lblStatus()->text(), QStringLiteral("Ready..."));
        // Without settings, the names the game ships with; none beyond them.
        QCOMPARE(w.EntityNames()[2], QStringLiteral("Behemoth"));
        for (int n = 0; n <= 386; ++n)
            QCOMPARE(w.EntityNames()[n].isEmpty(), n >= vorn::kShippedEntityTypes);
        for (int i = 1; i < 256; ++i)
            QVERIFY(w.entity(i) && w.entity(i)->parentWidget() == static_cast<QWidget*>(w.picMap()));
        QVERIFY(!QFile::exists(s.game.settingsPath())); // start-up writes nothing
    }

    void storedSettingsAreApplied()
    {
        Started s("[Main]\r\nState=0\r\nLeft=1500\r\nTop=1200\r\nWidth=12000\r\nHeight=7500\r\n"
                  "Split=200\r\nZoom=3\r\nLast Stage=14\r\n[Entities]\r\n0=Nothing\r\n386=Last\r\n387=Never\r\n");
        QVERIFY(s.start());
        frmVorn& w = *s.window;
        QCOMPARE(w.pos(), QPoint(vorn::TwipsToPixels(1500), vorn::TwipsToPixels(1200)));
        QCOMPARE(w.size(), QSize(vorn::TwipsToPixels(12000), vorn::TwipsToPixels(7500)));
        QCOMPARE(w.imgSplitter()->y(), 200);
        QCOMPARE(w.picTilePanel()->height(), 200 - 26);
        QCOMPARE(int(w.ZoomSize()), 32);
        QCOMPARE(w.stage().index(), vorn::kSampleWideStage);
        QCOMPARE(w.EntityNames()[0], QStringLiteral("Nothing"));
        QCOMPARE(w.EntityNames()[386], QStringLiteral("Last"));
        QVERIFY(w.EntityNames()[387].isEmpty());
    }

    void zeroAndOutOfRangeValuesFallBack()
    {
        {
            // Left 0 keeps the designed left; the other values apply.
            Started s("[Main]\r\nLeft=0\r\nTop=1200\r\nZoom=0\r\nLast Stage=0\r\n");
            QVERIFY(s.start());
            QCOMPARE(s.window->x(), 0);
            QCOMPARE(s.window->y(), vorn::TwipsToPixels(1200));
            QCOMPARE(s.window->cboZoom()->currentIndex(), 1);
            QCOMPARE(s.window->cboMap()->currentIndex(), 13);
        }
        {
            Started s("[Main]\r\nZoom=9\r\nLast Stage=95\r\nWidth=99999\r\nState=7\r\n");
            QVERIFY(s.start());
            QCOMPARE(s.window->cboZoom()->currentIndex(), 1);
            QCOMPARE(s.window->cboMap()->currentIndex(), 13);
            QCOMPARE(s.window->width(), 739); // beyond 16 bits: counts as 0
            QCOMPARE(s.window->windowState(), Qt::WindowNoState);
        }
        {
            // A splitter stored below the window would be out of reach: it
            // comes back within the drag's limits.
            Started s("[Main]\r\nSplit=5000\r\n");
            QVERIFY(s.start());
            QCOMPARE(s.window->imgSplitter()->y(), 418 - 64);
        }
        {
            // Far off every screen: the designed position stays.
            Started s("[Main]\r\nLeft=-30000\r\nTop=-30000\r\nWidth=12000\r\n");
            QVERIFY(s.start());
            QCOMPARE(s.window->pos(), QPoint(0, 0));
            QCOMPARE(s.window->width(), vorn::TwipsToPixels(12000));
        }
    }

    // "Code Page" is set by hand: a number Vorn cannot convert falls back
    // to 1252 after a message; a known one decodes the table; the locale
    // decides when it is absent.
    void codePageSettingAndLocale()
    {
        {
            Started s("[Main]\r\nCode Page=99\r\n");
            QVERIFY(s.start());
            QCOMPARE(s.messages.size(), size_t(1));
            QVERIFY(s.messages[0].text.contains("\"Code Page\" holds \"99\""));
            QCOMPARE(vorn::AnsiCodePage(), 1252);
            QCOMPARE(s.window->cboMap()->itemText(40), QString::fromUtf8("40 - Café Under The Falls"));
        }
        {
            Started s("[Main]\r\nCode Page=1251\r\n");
            QVERIFY(s.start());
            QVERIFY(s.messages.empty());
            QCOMPARE(s.window->cboMap()->itemText(40), QString::fromUtf8("40 - Cafй Under The Falls"));
        }
        const QByteArray all = qgetenv("LC_ALL");
        qputenv("LC_ALL", "ja_JP.UTF-8");
        {
            Started s;
            QVERIFY(s.start());
            QCOMPARE(vorn::AnsiCodePage(), 932);
            s.window->close(); // the settings are stored: never the code page
            QFile ini(s.game.settingsPath());
            QVERIFY(ini.open(QIODevice::ReadOnly));
            QVERIFY(!ini.readAll().contains("Code Page"));
        }
        all.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", all);
        vorn::SetAnsiCodePage(1252);
    }

    // Without a setting, a Western locale reads a Shift-JIS table as 932,
    // saying so once.
    void aJapaneseTableIsReadAsJapanese()
    {
        const QByteArray all = qgetenv("LC_ALL");
        qputenv("LC_ALL", "en_US.UTF-8");
        {
            Started s;
            QVERIFY(vorn::WriteSampleGame(s.game.gameDir(), vorn::SampleTitles::Japanese).ok());
            QVERIFY(s.start());
            QVERIFY(s.messages.empty());
            QCOMPARE(vorn::AnsiCodePage(), 932);
            QCOMPARE(s.window->lblStatus()->text(), QStringLiteral("The stage table is Japanese (code page 932)."));
            QCOMPARE(s.window->cboMap()->itemText(13), QString::fromUtf8("13 - 苔むした窪地"));
        }
        all.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", all);
        vorn::SetAnsiCodePage(1252);
    }

    void maximizedSkipsPlacement()
    {
        Started s("[Main]\r\nState=2\r\nLeft=1500\r\nTop=1500\r\nWidth=12000\r\nHeight=7500\r\n");
        QVERIFY(s.start());
        QVERIFY(s.window->windowState() & Qt::WindowMaximized);
        QVERIFY(s.window->pos() != QPoint(vorn::TwipsToPixels(1500), vorn::TwipsToPixels(1500)));
        QVERIFY(s.window->size() != QSize(vorn::TwipsToPixels(12000), vorn::TwipsToPixels(7500)));
    }

    void missingFilesEndTheProgram()
    {
        Started s;
        const QStringList backdrops = QDir(s.game.path("data")).entryList({"bk*.pbm"}, QDir::Files);
        QVERIFY(!backdrops.isEmpty());
        for (const QString& name : backdrops)
            QVERIFY(QFile::remove(s.game.path("data/" + name)));
        QVERIFY(!s.start());
        QCOMPARE(s.messages.size(), size_t(1));
        QCOMPARE(s.messages[0].text, QStringLiteral("Can't find...\r\n\r\nBackdrop files\r\n"));
        QCOMPARE(s.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(s.window->cboMap()->count(), 0);
        QVERIFY(!QFile::exists(s.game.settingsPath()));
    }

    void executableTooShortEndsTheProgram()
    {
        Started s;
        const QString exe = QDir(s.game.gameDir()).entryList({"*.exe"}, QDir::Files).value(0);
        QFile f(s.game.path(exe));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(1000));
        f.close();
        QVERIFY(!s.start());
        QCOMPARE(s.messages.size(), size_t(1));
        QVERIFY(s.messages[0].text.contains(QStringLiteral("too short")));
        QCOMPARE(s.window->stage().index(), -1);
        QVERIFY(!QFile::exists(s.game.settingsPath()));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
