// The stage properties dialog and the command that writes its record into
// the executable, then saves and reloads the open stage.
#include "frmMapEd.h"
#include "unrecordededits.h"
#include "modalanswer.h"
#include "openwindow.h"
#include "samplegame.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace vorn;

namespace {

constexpr int kStage = kSampleSmallStage; // "Hollow", 20 x 15
constexpr qint64 kRecordStart = kStageTableOffset + kStage * kStageSlotSize;

QByteArray Field(const char* text) { return QByteArray(text).leftJustified(kNameSize, '\0'); }

// The window with the small stage open.
struct SmallStage : OpenWindow {
    explicit SmallStage(const std::function<void(TestGame&)>& prepare = {})
        : OpenWindow(prepare)
    {
        if (started && window->cboMap()->currentIndex() != kStage)
            window->cboMap()->setCurrentIndex(kStage);
    }
    QString exe() { return game.path("Doukutsu.exe"); }
    QString stageFile(const QString& name) { return game.path("data/Stage/" + name); }
};

} // namespace

class StagePropertiesTest : public QObject {
    Q_OBJECT

private slots:
    // ---- the dialog alone -------------------------------------------------

    void listsHoldTheRecordsFormOfTheFileNames()
    {
        TestGame game;
        const GameFolder folder(game.gameDir());
        frmMapEd dialog(nullptr, folder);
        dialog.Form_Load();
        const auto entries = [](QComboBox* list, bool sorted) {
            QStringList out;
            for (int k = 0; k < list->count(); ++k)
                out << list->itemText(k);
            if (sorted)
                out.sort();
            return out;
        };
        // "PrtGrotto.pbm" and "npcMech.pbm": prefixes go whatever their case.
        QCOMPARE(entries(dialog.cboTileset, true), (QStringList{"Foundry", "Grotto", "Pebble"}));
        QCOMPARE(entries(dialog.cboSprite, true), (QStringList{"Common", "Forest", "Mech", "Regu", "Sym"}));
        QCOMPARE(entries(dialog.cboBack, true), (QStringList{"bkDusk", "bkEmber", "bkLattice", "bkTide"}));
        QCOMPARE(dialog.cboMap->count(), 8);
        QVERIFY(entries(dialog.cboMap, false).contains("Hollow"));
        // Unsorted: the order in which the folder lists its files.
        QStringList listed = folder.listPattern("data\\stage\\*.pxm");
        for (QString& name : listed)
            name.chop(4);
        QCOMPARE(entries(dialog.cboMap, false), listed);
        QCOMPARE(dialog.cboPara->count(), 16);
        QCOMPARE(dialog.cboPara->itemText(5), QStringLiteral("5 - Artery-style"));
    }

    void valuesWithoutAnEntryAreKept()
    {
        TestGame game;
        frmMapEd dialog(nullptr, GameFolder(game.gameDir()));
        dialog.Form_Load();
        const int backdrops = dialog.cboBack->count();
        StageRecord record;
        record.setTileset(Field("Grotto"));
        record.setMap(Field("Nowhere"));
        record.setBackdrop(Field("bkdusk")); // another letter case is another value
        record.setSpriteSet(Field(""));
        record.setTitle(Field("  Spaced"));
        record.setParallax(20);
        dialog.Preselect(record, 20, 15);

        QCOMPARE(dialog.tilesetName(), QStringLiteral("Grotto"));
        QCOMPARE(dialog.mapName(), QStringLiteral("Nowhere"));
        QCOMPARE(dialog.backdropName(), QStringLiteral("bkdusk"));
        QCOMPARE(dialog.cboBack->count(), backdrops + 1);
        QCOMPARE(dialog.spriteSetName(), QString());
        QCOMPARE(dialog.titleText(), QStringLiteral("  Spaced"));
        QCOMPARE(dialog.parallax(), 20);
        QCOMPARE(dialog.cboPara->count(), 17);
        dialog.cboPara->setCurrentIndex(3);
        QCOMPARE(dialog.parallax(), 3);
        QCOMPARE(dialog.mapWidth(), qint16(20));
        QCOMPARE(dialog.mapHeight(), qint16(15));
    }

    void previewShowsTheBackdropOrAnEmptySquare()
    {
        TestGame game;
        frmMapEd dialog(nullptr, GameFolder(game.gameDir()));
        dialog.Form_Load();
        StageRecord record;
        record.setBackdrop(Field("bkTide"));
        dialog.Preselect(record, 1, 1);
        QVERIFY(!dialog.imgBack->pixmap().isNull());
        QVERIFY(dialog.imgBack->hasScaledContents());

        QVERIFY(WriteBytes(game.path("data/bkBroken.pbm"), "not a bitmap"));
        dialog.cboBack->addItem("bkBroken");
        dialog.cboBack->setCurrentIndex(dialog.cboBack->count() - 1);
        QVERIFY(dialog.imgBack->pixmap().isNull());
    }

    void sizeBoxesKeepWholeNumbers()
    {
        TestGame game;
        frmMapEd dialog(nullptr, GameFolder(game.gameDir()));
        const std::pair<const char*, const char*> cases[] = {{"abc", "0"}, {"12x", "12"}, {"5.5", "5"}, {"-0.5", "-1"}};
        for (const auto& [typed, shown] : cases) {
            dialog.txtWidth->setText(typed);
            QCOMPARE(dialog.txtWidth->text(), QString(shown));
        }
    }

    void okRefusesSizesTheGridCannotHold()
    {
        TestGame game;
        frmMapEd dialog(nullptr, GameFolder(game.gameDir()));
        QStringList messages;
        dialog.showMessage = [&](const QString& m) { messages << m; };
        dialog.Preselect(StageRecord{}, 514, 0);
        dialog.show();
        dialog.cmdOk->click();
        dialog.txtWidth->setText("513");
        dialog.cmdOk->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[0].startsWith("Length") && messages[1].startsWith("Height"));
        dialog.txtHeight->setText("1");
        dialog.cmdOk->click();
        QVERIFY(!dialog.isVisible() && dialog.Tag.isEmpty());
    }

    // ---- the command ------------------------------------------------------

    void cancelChangesNothing()
    {
        SmallStage w;
        QVERIFY(w.started);
        vorn::UnrecordedEdits::setCell(w->stage(), 0, 0, 42); // an unsaved edit
        const QByteArray exe = FileBytes(w.exe());
        const QByteArray map = FileBytes(w.stageFile("Hollow.pxm"));
        const StageRecord record = w->game().table[kStage];
        const QString item = w->cboMap()->itemText(kStage);
        AnswerModal<frmMapEd>([](frmMapEd* d) {
            d->txtTitle->setText("Changed");
            d->txtWidth->setText("30");
            d->cboPara->setCurrentIndex(9);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        w->cmdMapProps_Click();
        QCOMPARE(w->game().table[kStage], record);
        QCOMPARE(w->stage().width(), qint16(20));
        QCOMPARE(w->stage().height(), qint16(15));
        QCOMPARE(w->cboMap()->itemText(kStage), item);
        QCOMPARE(FileBytes(w.exe()), exe);
        QCOMPARE(FileBytes(w.stageFile("Hollow.pxm")), map);
        QCOMPARE(w->stage().cell(0, 0), quint8(42)); // neither saved nor reloaded
        QVERIFY(w.messages.isEmpty());
    }

    void okWithNothingChangedWritesThePaddedRecordAndSaves()
    {
        // A title with blanks around it and a tileset with bytes behind its NUL.
        SmallStage w([](TestGame& game) {
            QFile exe(game.path("Doukutsu.exe"));
            QVERIFY(exe.open(QIODevice::ReadWrite));
            exe.seek(kRecordStart);
            exe.write(QByteArray("Grotto\0left", 11));
            exe.seek(kRecordStart + 165);
            exe.write(Field("  Mossy Hollow  "));
        });
        QVERIFY(w.started);
        vorn::UnrecordedEdits::setCell(w->stage(), 3, 2, 77); // an unsaved edit
        const QByteArray before = FileBytes(w.exe());
        AnswerModal<frmMapEd>([](frmMapEd* d) { QTest::keyClick(d, Qt::Key_Return); });
        w->cmdMapProps_Click();
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('\n')));

        QByteArray expected = before;
        expected.replace(kRecordStart, kNameSize, Field("Grotto"));
        expected.replace(kRecordStart + 165, kNameSize, Field("Mossy Hollow"));
        QCOMPARE(FileBytes(w.exe()), expected);
        QCOMPARE(w->cboMap()->itemText(kStage), QStringLiteral("13 - Mossy Hollow"));
        QCOMPARE(w->cboMap()->currentIndex(), kStage);
        // Saved, then read back.
        QCOMPARE(quint8(FileBytes(w.stageFile("Hollow.pxm"))[8 + 2 * 20 + 3]), quint8(77));
        QCOMPARE(w->stage().cell(3, 2), quint8(77));
    }

    // The Japanese game's table in Shift-JIS, with "Code Page=932": titles
    // show and store in it, bytes it cannot read survive an unchanged OK,
    // and a character it lacks is refused at its box.
    void japaneseTitlesShowAndStoreInShiftJis()
    {
        const QByteArray oddSprites("Common\x81", 7); // a lead byte with nothing after it
        SmallStage w([&](TestGame& game) {
            QVERIFY(WriteSampleGame(game.gameDir(), SampleTitles::Japanese).ok());
            QVERIFY(WriteBytes(game.settingsPath(), "[Main]\nCode Page=932\n"));
            QFile exe(game.path("Doukutsu.exe"));
            QVERIFY(exe.open(QIODevice::ReadWrite) && exe.seek(kRecordStart + 100));
            exe.write(oddSprites);
        });
        QVERIFY(w.started);
        QCOMPARE(w->cboMap()->itemText(kStage), QString::fromUtf8("13 - 苔むした窪地"));
        QCOMPARE(w->cboMap()->itemText(17), QString::fromUtf8("17 - 曲がりくねった尾根に灯る提灯の列"));

        const QByteArray before = FileBytes(w.exe());
        QString shownTitle;
        AnswerModal<frmMapEd>([&](frmMapEd* d) {
            shownTitle = d->txtTitle->text();
            d->txtTitle->setText(QString::fromUtf8("€の間"));
            d->cmdOk->click(); // refused: the dialog stays open
            QVERIFY(d->isVisible());
            d->txtTitle->setText(QString::fromUtf8("スタート地点"));
            d->cmdOk->click();
        });
        w->cmdMapProps_Click();
        QCOMPARE(shownTitle, QString::fromUtf8("苔むした窪地"));
        QCOMPARE(w.messages,
                 QStringList{QString::fromUtf8("Title holds \"€\", a character that code page 932 cannot store.")});
        QByteArray expected = before;
        expected.replace(kRecordStart + 165, kNameSize, Field("\x83\x58\x83\x5E\x81\x5B\x83\x67\x92\x6E\x93\x5F"));
        QCOMPARE(FileBytes(w.exe()), expected); // the sprite set's odd byte and all else as they were
        QCOMPARE(w->cboMap()->itemText(kStage), QString::fromUtf8("13 - スタート地点"));
        SetAnsiCodePage(1252);
    }

    void parallaxOnlyTouchesItsBytes()
    {
        SmallStage w;
        QVERIFY(w.started);
        const QByteArray before = FileBytes(w.exe());
        const QString item = w->cboMap()->itemText(kStage);
        AnswerModal<frmMapEd>([](frmMapEd* d) {
            d->cboPara->setCurrentIndex(11);
            d->cmdOk->click();
        });
        w->cmdMapProps_Click();
        const QByteArray after = FileBytes(w.exe());
        QCOMPARE(after.size(), before.size());
        for (qint64 k = 0; k < before.size(); ++k)
            if (before[k] != after[k])
                QVERIFY2(k >= kRecordStart + 64 && k < kRecordStart + 68, qPrintable(QString::number(k)));
        QCOMPARE(after.mid(kRecordStart + 64, 4), QByteArray("\x0B\0\0\0", 4));
        QCOMPARE(w->game().table[kStage].parallax(), 11);
        QCOMPARE(w->cboMap()->itemText(kStage), item);
    }

    void shrinkThenGrowGivesTileZero()
    {
        SmallStage w;
        QVERIFY(w.started);
        bool dropped = false;
        for (int x = 10; x < 20; ++x)
            for (int y = 0; y < 15; ++y)
                dropped = dropped || w->stage().cell(x, y) != 0;
        QVERIFY(dropped); // the columns to drop hold tiles
        const quint8 kept = w->stage().cell(9, 14);

        auto resize = [&w](const char* width, const char* height) {
            AnswerModal<frmMapEd>([width, height](frmMapEd* d) {
                d->txtWidth->setText(width);
                d->txtHeight->setText(height);
                d->cmdOk->click();
            });
            w->cmdMapProps_Click();
        };
        resize("10", "15");
        QCOMPARE(w->stage().width(), qint16(10));
        for (int y = 0; y < 15; ++y)
            QCOMPARE(w->stage().cell(15, y), quint8(0));
        resize("20", "16");
        QCOMPARE(w->stage().width(), qint16(20));
        QCOMPARE(w->stage().height(), qint16(16));
        for (int x = 10; x < 20; ++x)
            for (int y = 0; y < 16; ++y)
                QCOMPARE(w->stage().cell(x, y), quint8(0));
        for (int x = 0; x < 10; ++x)
            QCOMPARE(w->stage().cell(x, 15), quint8(0));
        QCOMPARE(w->stage().cell(9, 14), kept);
        QVERIFY(w.messages.isEmpty());
    }

    // A resize that cuts tiles is asked about first; once written, Ctrl+Z
    // brings back the old size and every cell, and Ctrl+Y resizes again.
    void cuttingResizeIsAskedAndCanBeUndone()
    {
        SmallStage w;
        QVERIFY(w.started);
        const QByteArray map = FileBytes(w.stageFile("Hollow.pxm"));
        const QByteArray exe = FileBytes(w.exe());
        QByteArray cells;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 20; ++x)
                cells.append(char(w->stage().cell(x, y)));
        auto shrink = [&w]() {
            AnswerModal<frmMapEd>([](frmMapEd* d) {
                d->txtWidth->setText("10");
                d->cmdOk->click();
            });
            w->cmdMapProps_Click();
        };

        w.answers << "Cancel";
        shrink();
        QCOMPARE(w.questions.size(), 1);
        QVERIFY2(w.questions[0].startsWith("Resizing cuts "), qPrintable(w.questions[0]));
        QCOMPARE(w->stage().width(), qint16(20));
        QCOMPARE(FileBytes(w.stageFile("Hollow.pxm")), map);
        QCOMPARE(FileBytes(w.exe()), exe);

        shrink(); // answered "Resize"
        QCOMPARE(w->stage().width(), qint16(10));
        QVERIFY(FileBytes(w.stageFile("Hollow.pxm")) != map);
        QVERIFY(w->lblModified()->text().isEmpty());

        w->UndoEdit();
        QCOMPARE(w->stage().width(), qint16(20));
        QCOMPARE(w->stage().height(), qint16(15));
        QByteArray back;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 20; ++x)
                back.append(char(w->stage().cell(x, y)));
        QCOMPARE(back, cells);
        QCOMPARE(w->lblModified()->text(), QStringLiteral("Modified"));
        w->RedoEdit();
        QCOMPARE(w->stage().width(), qint16(10));
        QVERIFY(w.messages.isEmpty());
    }

    void anotherMapSavesTheOpenOneThenLoadsIt()
    {
        SmallStage w;
        QVERIFY(w.started);
        vorn::UnrecordedEdits::setCell(w->stage(), 1, 1, 99); // an unsaved edit of Hollow
        const QByteArray vault = FileBytes(w.stageFile("Vault.pxm"));
        const QByteArray vaultEntities = FileBytes(w.stageFile("Vault.pxe"));
        AnswerModal<frmMapEd>([](frmMapEd* d) {
            d->cboMap->setCurrentIndex(d->cboMap->findText("Vault"));
            d->cmdOk->click();
        });
        w->cmdMapProps_Click();
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('\n')));
        QCOMPARE(FileBytes(w.stageFile("Vault.pxm")), vault);
        QCOMPARE(FileBytes(w.stageFile("Vault.pxe")), vaultEntities);
        QCOMPARE(quint8(FileBytes(w.stageFile("Hollow.pxm"))[8 + 20 + 1]), quint8(99));
        QCOMPARE(CutAtNull(w->game().table[kStage].map()), QByteArray("Vault"));
        QCOMPARE(w->stage().files().mapName, QStringLiteral("Vault"));
        QCOMPARE(w->stage().width(), qint16(30));
        QCOMPARE(w->stage().height(), qint16(20));
    }

    void probeFailureOpensNothing()
    {
        SmallStage w;
        QVERIFY(w.started);
        QVERIFY(QFile::setPermissions(w.exe(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray exe = FileBytes(w.exe());
        bool opened = false;
        AnswerModal<frmMapEd>(
            [&opened](frmMapEd* d) {
                opened = true;
                d->cmdOk->click();
            },
            3);
        w->cmdMapProps_Click();
        QCoreApplication::processEvents(); // let the unused answer run out
        QVERIFY(!opened);
        QCOMPARE(w.messages, QStringList{"Cannot write to executable. Please make sure the game is "
                                         "not running and/or write-protected."});
        QCOMPARE(FileBytes(w.exe()), exe);
    }

    void nothingOpensBeforeAStageHasLoaded()
    {
        // The default stage's map is refused at start-up: no stage is open.
        OpenWindow w([](TestGame& g) { QVERIFY(WriteBytes(g.path("data/Stage/Hollow.pxm"), "PXM")); });
        QVERIFY(w.started);
        QCOMPARE(w->stage().index(), -1);
        const QByteArray exe = FileBytes(w.game.path("Doukutsu.exe"));
        bool opened = false;
        AnswerModal<frmMapEd>(
            [&opened](frmMapEd* d) {
                opened = true;
                d->cmdOk->click();
            },
            3);
        w->cmdMapProps_Click();
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QCOMPARE(FileBytes(w.game.path("Doukutsu.exe")), exe);
    }

    void failedRecordWriteRestoresEverything()
    {
        SmallStage w;
        QVERIFY(w.started);
        vorn::UnrecordedEdits::setCell(w->stage(), 0, 0, 42);
        const QByteArray exe = FileBytes(w.exe());
        const QByteArray map = FileBytes(w.stageFile("Hollow.pxm"));
        const StageRecord record = w->game().table[kStage];
        const QString item = w->cboMap()->itemText(kStage);
        const QString exePath = w.exe();
        AnswerModal<frmMapEd>([exePath](frmMapEd* d) {
            d->txtTitle->setText("Renamed");
            d->txtWidth->setText("12");
            // The game starts while the dialog is open.
            QFile::setPermissions(exePath, QFile::ReadOwner);
            d->cmdOk->click();
        });
        w->cmdMapProps_Click();
        QCOMPARE(w.messages.size(), 1);
        QCOMPARE(w->game().table[kStage], record);
        QCOMPARE(w->stage().width(), qint16(20));
        QCOMPARE(w->cboMap()->itemText(kStage), item);
        QCOMPARE(FileBytes(w.exe()), exe);
        QCOMPARE(FileBytes(w.stageFile("Hollow.pxm")), map);
        QCOMPARE(w->stage().cell(0, 0), quint8(42));
    }

    void failedSaveKeepsTheUnsavedEdits()
    {
        SmallStage w;
        QVERIFY(w.started);
        vorn::UnrecordedEdits::setCell(w->stage(), 0, 0, 42);
        const QString map = w.stageFile("Hollow.pxm");
        const QByteArray mapBytes = FileBytes(map);
        QVERIFY(QFile::setPermissions(map, QFile::ReadOwner));
        AnswerModal<frmMapEd>([](frmMapEd* d) {
            d->txtTitle->setText("Renamed");
            d->txtHeight->setText("16");
            d->cmdOk->click();
        });
        w->cmdMapProps_Click();
        QVERIFY(w.messages.size() >= 1);
        QCOMPARE(CutAtNull(w->game().table[kStage].title()), QByteArray("Renamed"));
        QCOMPARE(FileBytes(map), mapBytes);
        QCOMPARE(w->stage().cell(0, 0), quint8(42)); // not reloaded over
        QCOMPARE(w->stage().height(), qint16(16));
    }
};

QTEST_MAIN(StagePropertiesTest)
#include "stageproperties_test.moc"
