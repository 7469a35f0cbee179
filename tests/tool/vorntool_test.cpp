// vorn-tool run as a program on the sample game: each command, its words
// against the editor's, and its map pictures against the editor's map view.
#include "frmVorn.h"
#include "mapview.h"
#include "entitytypes.h"
#include "inifile.h"
#include "npctable.h"
#include "profile.h"
#include "openwindow.h" // FileBytes, WriteBytes
#include "samplegame.h"
#include "safewrite.h"
#include "script.h"
#include "shapeframe.h"
#include "testgame.h"
#include "visibletext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QImageReader>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

struct Result {
    int status = -1;
    QStringList out; // lines
    QString err;
    QByteArray raw; // standard output as written
};

// In the C locale, so the code page is the one the tests' own decoding uses.
Result RunTool(const QString& dir, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VORN_TOOL), arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    Result result;
    result.status = process.exitCode();
    result.raw = process.readAllStandardOutput();
    result.out = QString::fromUtf8(result.raw).split(u'\n', Qt::SkipEmptyParts);
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// Every file of the folder, hidden ones included, with a digest of its bytes.
QMap<QString, QByteArray> Snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System | QDir::AllDirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isFile())
            files[path] = QCryptographicHash::hash(FileBytes(path), QCryptographicHash::Sha1);
    }
    return files;
}

// An entity type table of `count` types, all drawn from the stage's first
// NPC sheet except those `sheets` names, in the game's own folder.
bool WriteTypeTable(const QString& gameDir, int count, const QMap<int, quint8>& sheets = {})
{
    vorn::NpcTable table(static_cast<size_t>(count));
    for (int t = 0; t < count; ++t)
        table[size_t(t)].sheet = sheets.value(t, vorn::kSheetStageNpc1);
    return WriteBytes(QDir(gameDir).filePath(QStringLiteral("data/npc.tbl")), vorn::ComposeNpcTable(table));
}

// "1 error", "2 errors".
QString Counted(qsizetype n, const char* word) { return QStringLiteral("%1 %2%3").arg(n).arg(word, n == 1 ? "" : "s"); }

// Counts the findings of a check's output the way its summary line should.
QString SummaryOf(const QStringList& out, int stages)
{
    return QStringLiteral("%1 checked, %2, %3")
        .arg(Counted(stages, "stage"), Counted(out.filter(QStringLiteral(": error: ")).size(), "error"),
             Counted(out.filter(QStringLiteral(": warning: ")).size(), "warning"));
}

// A window on the test's own game folder, its messages caught.
struct Window {
    explicit Window(const TestGame& game)
        : w(game.gameDir(), game.programDir())
    {
        w.messageHook = [this](const QString& text, QMessageBox::Icon) { messages << text; };
        started = w.Form_Load();
    }
    frmVorn w;
    QStringList messages;
    bool started = false;
};

// The map view as the window shows it, markers included, without the cell cursor.
QImage MapViewPixels(frmVorn& w, bool markers)
{
    w.shpCursor()->hide();
    QImage img(w.picMap()->size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    const auto flags = markers ? QWidget::DrawWindowBackground | QWidget::DrawChildren
                               : QWidget::RenderFlags(QWidget::DrawWindowBackground);
    w.picMap()->render(&img, QPoint(), QRegion(w.picMap()->rect()), flags);
    return img;
}

} // namespace

class VornToolTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestGame> game;

    Result tool(const QStringList& arguments) { return RunTool(game->gameDir(), arguments); }
    QString file(const char* builtName) const
    {
        return vorn::GameFolder(game->gameDir()).findFile(QString::fromLatin1(builtName));
    }

private slots:
    void init() { game = std::make_unique<TestGame>(); }
    void cleanup() { game.reset(); }

    void usageAndTheStageList()
    {
        for (const QStringList& bad : {QStringList{},
                                       {"frobnicate"},
                                       {"render", "95", "-o", "x.png"},
                                       {"render", "13", "-o", "x.png", "--zoom", "48"},
                                       {"decode"},
                                       {"encode", "3", "--all"},
                                       {"check", "-x"},
                                       {"entities"},
                                       {"entities", "95"},
                                       {"entities", "13", "14"},
                                       {"find"},
                                       {"find", "3"},
                                       {"find", "--event", "1", "--flag", "2"},
                                       {"find", "--type", " "},
                                       {"find", "--stage", "-1"}})
            QVERIFY2(tool(bad).status == 2, qPrintable(bad.join(' ')));
        const Result help = tool({"--help"});
        QCOMPARE(help.status, 0);
        for (const char* command : {"stages", "check", "decode", "encode", "render", "entities", "find"}) {
            QVERIFY(help.out.join('\n').contains(QLatin1String(command)));
            QCOMPARE(tool({command, "--help"}).status, 0);
        }
        QCOMPARE(RunTool(QDir::tempPath(), {"-C", "/nonexistent-vorn", "stages"}).status, 1);
        QCOMPARE(RunTool(QDir::tempPath(), {"-C", game->gameDir(), "stages"}).status, 0);

        // Titles as the editor's stage list shows them, texts decoded the same way.
        vorn::StageTable table;
        QCOMPARE(vorn::ReadStageTable(file("Doukutsu.exe"), table).refusal(), QString());
        const Result tsv = tool({"stages", "--tsv"});
        QCOMPARE(tsv.status, 0);
        // A line saying where the table is, a heading, then every record.
        QCOMPARE(tsv.out.size(), 2 + vorn::kFreewareStageCount);
        QCOMPARE(tsv.out[0], QStringLiteral("Doukutsu.exe at 604080, 95 stages"));
        for (int i = 0; i < vorn::kFreewareStageCount; ++i) {
            const QStringList fields = tsv.out[2 + i].split(u'\t');
            QCOMPARE(fields.size(), 11);
            QCOMPARE(fields[0] + " - " + fields[1], vorn::StageListItemText(i, table[i]));
        }
        QCOMPARE(tsv.out[2 + 13].section(u'\t', 0, 7),
                 QStringLiteral("13\tMossy Hollow\tGrotto\tHollow\t1\thalf speed\tbkDusk\tCommon"));
        QCOMPARE(tsv.out[2 + 13].section(u'\t', 9), QStringLiteral("0\tnone"));
        QCOMPARE(tsv.out[2 + 40].section(u'\t', 1, 1), QStringLiteral("Caf\u00e9 Under The Falls"));
        const Result table13 = tool({"stages"});
        QVERIFY(table13.out.value(2 + 13).startsWith(QStringLiteral("   13  Mossy Hollow   ")));
    }

    // Stages added, changed and removed from the terminal, and the table
    // moved out of the freeware place at the first one.
    void stagesAddedChangedAndRemoved()
    {
        const Result added = tool({"stage", "add", "--copy", "5"});
        QCOMPARE(added.status, 0);
        QCOMPARE(added.out, QStringList{"95"});
        QCOMPARE(tool({"stages"}).out.value(0), QStringLiteral("Doukutsu.exe, section .csmap, 96 stages"));
        QCOMPARE(tool({"stage", "set", "95", "title", "My Room"}).status, 0);
        QCOMPARE(tool({"stage", "set", "95", "boss", "Omega"}).status, 0);
        const QStringList row = tool({"stages", "--tsv"}).out.value(2 + 95).split(u'\t');
        QCOMPARE(row.value(1), QStringLiteral("My Room"));
        QCOMPARE(row.mid(9), (QStringList{"1", "Omega"}));
        QCOMPARE(tool({"entities", "95"}).out, tool({"entities", "5"}).out);
        const Result tooLong = tool({"stage", "set", "95", "map", QString(40, 'm')});
        QCOMPARE(tooLong.status, 1);
        QVERIFY(tooLong.err.contains(QStringLiteral("longer than the field: 40 of 31 bytes")));
        QCOMPARE(tool({"stage", "set", "96", "title", "x"}).status, 2);
        QCOMPARE(tool({"stage", "remove-last"}).status, 0);
        QCOMPARE(tool({"stages"}).out.value(0), QStringLiteral("Doukutsu.exe, section .csmap, 95 stages"));
        QCOMPARE(tool({"stage", "add"}).out, QStringList{"95"});
        QCOMPARE(tool({"stages", "--tsv"}).out.value(2 + 95).section(u'\t', 2, 4), QStringLiteral("0\t0\t4"));
    }

    // What the tool writes is what the window shows, pixel for pixel, at
    // every zoom: markers (stretched by the marker widgets' own painting)
    // and tiles outside a small tileset included.
    void renderDrawsWhatTheMapViewShows()
    {
        Window w(*game);
        QVERIFY(w.started);
        QTemporaryDir out;
        const QString png = out.filePath(QStringLiteral("map.png"));

        // "Sprites" and "Tile types" on, as --sprites --tile-types: sprites
        // with outlines in their markers' place, markers where an entity has
        // no sprite (an unknown type, a missing sheet), and the types' marks.
        w.w.chkSprites()->click();
        w.w.chkTileTypes()->click();
        for (const int stage : {vorn::kSampleSmallStage, vorn::kSampleMissingSheet2Stage}) {
            w.w.cboMap()->setCurrentIndex(stage);
            QCOMPARE(w.w.stage().index(), stage);
            for (const char* zoom : {"16", "24"}) {
                w.w.cboZoom()->setCurrentIndex(w.w.cboZoom()->findText(QString::fromLatin1(zoom)));
                const Result r =
                    tool({"render", QString::number(stage), "-o", png, "--zoom", zoom, "--sprites", "--tile-types"});
                // A missing sheet is a picture it cannot read: exit status 1.
                QVERIFY2(r.status == (stage == vorn::kSampleMissingSheet2Stage ? 1 : 0), qPrintable(r.err));
                const QImage drawn = QImage(png).convertToFormat(QImage::Format_RGB32);
                QVERIFY2(drawn == MapViewPixels(w.w, true),
                         qPrintable(QStringLiteral("stage %1 zoom %2").arg(stage).arg(zoom)));
            }
        }
        QVERIFY(w.w.lblStatus()->text().contains(QLatin1String("npcLantern.pbm")));
        const Result missingSheet = tool({"render", "17", "-o", png, "--sprites"});
        QVERIFY(missingSheet.err.contains(w.w.lblStatus()->text()));
        QCOMPARE(missingSheet.status, 1);
        QCOMPARE(tool({"render", "17", "-o", png}).status, 0); // no sprites, no sheet read
        w.w.chkSprites()->click();
        w.w.chkTileTypes()->click();

        for (const int stage : {vorn::kSampleSmallStage, vorn::kSampleSmallTilesetStage, vorn::kSampleWideStage}) {
            w.w.cboMap()->setCurrentIndex(stage);
            QCOMPARE(w.w.stage().index(), stage);
            QVERIFY(MapViewPixels(w.w, true) != MapViewPixels(w.w, false)); // the markers show
            for (const char* zoom : {"8", "16", "24", "56", "64"}) {
                if (stage == vorn::kSampleWideStage && QByteArray(zoom) != "24")
                    continue; // one zoom is enough for the large one
                w.w.cboZoom()->setCurrentIndex(w.w.cboZoom()->findText(QString::fromLatin1(zoom)));
                for (const bool markers : {true, false}) {
                    QStringList arguments{"render", QString::number(stage), "-o", png, "--zoom", zoom};
                    if (!markers)
                        arguments << "--no-entities";
                    const Result r = tool(arguments);
                    QVERIFY2(r.status == 0, qPrintable(r.err));
                    const QImage drawn = QImage(png).convertToFormat(QImage::Format_RGB32);
                    const QString what =
                        QStringLiteral("stage %1 zoom %2 markers %3").arg(stage).arg(zoom).arg(markers);
                    QVERIFY2(drawn == MapViewPixels(w.w, markers), qPrintable(what));
                }
            }
        }
        QVERIFY(w.messages.isEmpty());

        // A refused stage is refused with the editor's words, writing nothing.
        QFile map(file("data\\stage\\Ledges.pxm"));
        QVERIFY(map.resize(100));
        w.w.cmdLoad_Click();
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(QFile::remove(png));
        const Result refused = tool({"render", "14", "-o", png});
        QCOMPARE(refused.status, 1);
        QCOMPARE(refused.err.trimmed(), "vorn-tool: " + w.messages[0]);
        QVERIFY(!QFile::exists(png));
    }

    // The largest stage drawn whole, 8208 pixels square (its peak memory is
    // measured by vorn-tool-bench).
    void renderWritesTheLargestStageWhole()
    {
        QTemporaryDir out;
        const QString png = out.filePath(QStringLiteral("expanse.png"));
        const Result r = tool({"render", QString::number(vorn::kSampleHugeStage), "-o", png});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(QImageReader(png).size(), QSize(513 * 16, 513 * 16));
    }

    void checkFindsWhatIsWrong()
    {
        // The game's type table, its types drawn from sheets the sample has.
        // The sample holds on purpose an entity of a type beyond the table,
        // on the map Ridge that many records reuse, stage 17 names a second
        // sheet it lacks, Hollow's gunfish has an event no script holds and
        // Ridge's script a row too wide (each script checked once, for the
        // first record naming it): nothing else is wrong.
        const auto before = Snapshot(game->gameDir());
        const Result clean = tool({"check"});
        QCOMPARE(clean.status, 1);
        QCOMPARE(clean.out.filter("is of type 400").size() + clean.out.filter("npcLantern.pbm").size() + 2,
                 clean.out.size() - 1);
        const QStringList hollow = clean.out.filter("data\\stage\\Hollow.tsc");
        QCOMPARE(hollow.size(), 1);
        QVERIFY(hollow[0].startsWith("stage 0: data\\stage\\Hollow.tsc: warning: An entity has event "));
        QVERIFY(clean.out.contains("stage 2: data\\stage\\Ridge.tsc:6:43: warning: Text row is wider than the message "
                                   "box (34 columns)"));
        QCOMPARE(clean.out.last(), SummaryOf(clean.out, 95));
        QVERIFY(Snapshot(game->gameDir()) == before); // read-only

        // A truncated map, a record name that escapes the folder, a missing
        // script and entity file, an entity off the map.
        QFile map(file("data\\stage\\Ledges.pxm"));
        QVERIFY(map.resize(100));
        vorn::StageTable table;
        QCOMPARE(vorn::ReadStageTable(file("Doukutsu.exe"), table).refusal(), QString());
        table[20].setMap(vorn::PadName32("../Hollow"));
        QCOMPARE(vorn::WriteStageRecord(file("Doukutsu.exe"), 20, table[20]).refusal(), QString());
        QVERIFY(QFile::remove(file("data\\stage\\Vault.tsc")));
        QVERIFY(QFile::remove(file("data\\stage\\Nook.pxe")));
        QByteArray pxe = FileBytes(file("data\\stage\\Hollow.pxe"));
        pxe[8 + 12 * 6] = char(20); // entity 6 to column 20 of a 20-column map
        QVERIFY(WriteBytes(file("data\\stage\\Hollow.pxe"), pxe));

        Window w(*game); // the editor's words for the two it refuses
        for (const int stage : {14, 20})
            w.w.cboMap()->setCurrentIndex(stage);
        QCOMPARE(w.messages.size(), 2);

        const Result found = tool({"check", "13", "14", "16", "19", "20"});
        QCOMPARE(found.status, 1);
        QCOMPARE(found.out,
                 QStringList({
                     "stage 13: data\\stage\\Hollow.pxe: warning: entity 6 at (20, 14) lies outside the 20 x 15 map.",
                     "stage 13: data\\stage\\Hollow.tsc: warning: " + hollow[0].section(": ", 3),
                     "stage 14: data\\stage\\Ledges.pxm: error: " + w.messages[0],
                     "stage 16: data\\stage\\Nook.pxe: warning: the entity file is missing: the stage has no entities.",
                     "stage 19: data\\stage\\Vault.tsc: error: the script is missing.",
                     "stage 20: data\\stage\\../Hollow.pxm: error: " + w.messages[1],
                     "5 stages checked, 3 errors, 3 warnings",
                 }));
    }

    // What the editor opens but the game cannot take, each once, counted.
    void checkFindsWhatTheGameCannotTake()
    {
        QVERIFY(WriteTypeTable(game->gameDir(), 21,
                               {{1, vorn::kSheetNpcSym}, {20, vorn::kSheetNpcSym}, {2, vorn::kSheetStageNpc2}}));
        if (const QString sheet = file("data\\npc\\npcsym.pbm"); !sheet.isEmpty())
            QVERIFY(QFile::remove(sheet));
        vorn::StageTable table;
        QCOMPARE(vorn::ReadStageTable(file("Doukutsu.exe"), table).refusal(), QString());
        table[13].bytes[132] = '0'; // the second NPC sheet: none
        table[13].bytes[133] = '\0';
        QCOMPARE(vorn::WriteStageRecord(file("Doukutsu.exe"), 13, table[13]).refusal(), QString());
        QByteArray hollow = FileBytes(file("data\\stage\\Hollow.pxe"));
        hollow[8 + 12 * 6 + 8] = char(30); // entity 6's type
        QVERIFY(WriteBytes(file("data\\stage\\Hollow.pxe"), hollow));
        QVERIFY(WriteBytes(game->path("data/Stage/Grotto.pxa"), QByteArray(100, '\x41')));
        QImage wide(272, 64, QImage::Format_RGB32);
        wide.fill(Qt::darkGray);
        QVERIFY(wide.save(file("data\\stage\\prtPebble.pbm"), "BMP"));
        QByteArray sluice = FileBytes(file("data\\stage\\Sluice.pxm"));
        sluice.replace(4, 4, QByteArray("\x58\x02\x58\x02", 4)); // 600 x 600
        QVERIFY(WriteBytes(file("data\\stage\\Sluice.pxm"), sluice));
        QByteArray vault = FileBytes(file("data\\stage\\Vault.pxe"));
        vault.replace(4, 2, QByteArray("\x90\x01", 2)); // 400 entities
        QVERIFY(WriteBytes(file("data\\stage\\Vault.pxe"), vault));

        const Result found = tool({"check", "13", "16", "18", "19"});
        QCOMPARE(found.status, 1);
        for (const char* line :
             {"stage 13: data\\stage\\Grotto.pxa: warning: the tile type file holds 100 bytes; the game reads "
              "256, one per tile.",
              "stage 13: data\\stage\\Hollow.pxe: error: entity 6 is of type 30, beyond the 21 types of "
              "data\\npc.tbl.",
              "stage 13: data\\npc\\npcsym.pbm: error: the sheet picture is missing; 1 entity is drawn from it.",
              "stage 13: data\\stage\\Hollow.pxe: warning: 1 entity is drawn from NPC sheet 2, which the stage "
              "record names as none.",
              "stage 16: data\\stage\\prtPebble.pbm: error: the tileset picture is 272 x 64 pixels; the game "
              "loads none larger than 256 x 256.",
              "stage 18: data\\stage\\Sluice.pxm: error: the map has 600 x 600 cells, 360,000 in all; the game "
              "holds no more than 307,200.",
              "stage 19: data\\stage\\Vault.pxe: error: the entity file holds 400 entities; more than 342 "
              "overflow the game."})
            QVERIFY2(found.out.count(QString::fromLatin1(line)) == 1, line);
        QCOMPARE(found.out.last(), SummaryOf(found.out, 4));

        // The type table is read once: what is wrong with it is said once.
        QVERIFY(WriteBytes(game->path("data/npc.tbl"), QByteArray(25, '\0')));
        const Result refused = tool({"check", "13", "19"});
        QCOMPARE(refused.out.value(0), "data\\npc.tbl: error: data\\npc.tbl is not a whole number of entity "
                                       "types: 25 bytes is not a multiple of 24.");
        QCOMPARE(refused.out.filter("npc.tbl: ").size(), 1);
        QCOMPARE(refused.out.last(), SummaryOf(refused.out, 2));
        QVERIFY(QFile::remove(game->path("data/npc.tbl")));
        const Result missing = tool({"check", "13", "19"});
        QVERIFY(missing.out.value(0).startsWith("data\\npc.tbl: warning: the entity type table is missing"));
        QCOMPARE(missing.out.filter("npc.tbl: ").size(), 1);
    }

    // Each fault the game's own scripts hold, rebuilt small, is found where
    // it stands, and what the game reads without harm is not: labels after an
    // event number, headers sharing a body, notes and dead code after an
    // exit, a wide row of instant text, and Credit.tsc, which is no event script.
    void checkFindsTheFaultsOfTheGamesOwnScripts()
    {
        const QByteArray vault =
            "#0090\r\n<MNA<CMU0008<FAI0000<END\r\n"
            "#0095\r\n<KEY<MSGA rope bridge.<NOD<END<SOU0011<CMU0000\r\n" // dead code after the exit (Ballo1)
            "#0101\r\n<KEY<MSGDusty.<NOD<END;\r\n" // a stray ';' after it (MazeD)
            "#0110jenka\r\n<KEY<MSGA label after the number.<NOD<END\r\n"
            "#0120\r\n<KEY<MSG12345678901234567890123456789012345<NOD<END\r\n" // line 10: 35 columns (MazeS)
            "#0130\r\n<KEY<FAC0005<MSG123456789012345678901234567<NOD<END\r\n" // 12: 27 beside a face (Ballo1)
            "#0140\r\n<KEY<FLJ850:0111\r\n<END\r\n" // 14: a short argument (River)
            "#0150\r\n<KEY<CNP0250:<FAI0000<END\r\n" // 17: CNP swallows FAI (Little)
            "#0152\r\n<KEY<MSGFirst copy.<NOD<END\r\n"
            "#0160\r\n<KEY<WAI0050\r\n" // 20: runs on
            "#0180\r\n#0181\r\n<KEY<MSG<TUR123456789012345678901234567890123456789<NOD<END\r\n"
            "#0152\r\n<KEY<MSGSecond copy.<NOD<END\r\n" // 25: a later copy (CentW)
            "#0200\r\n"; // 27: empty and last
        QVERIFY(WriteBytes(file("data\\stage\\Vault.tsc"), vorn::EncodeScript(vault)));
        const QByteArray head = vorn::DecodeScript(FileBytes(file("data\\Head.tsc")));
        QVERIFY(
            WriteBytes(file("data\\Head.tsc"), vorn::EncodeScript(head + "\x83\x74\x83\x89\x83\x4f 0000-0099\r\n")));
        QVERIFY(WriteBytes(game->path("data/Credit.tsc"), vorn::EncodeScript("[Cast]0001/<<<\r\n")));

        const Result found = tool({"check", "19"});
        const QString at = QStringLiteral("stage 19: data\\stage\\Vault.tsc:");
        QCOMPARE(
            found.out,
            QStringList({
                at + "10:43: warning: Text row is wider than the message box (34 columns)",
                at + "12:43: warning: Text row is wider than 26 columns; with a face shown the rest is cut off",
                at + "14:9: error: Argument 1 of <FLJ is \"850:\", not four digits",
                at + "14:13: error: <FLJ needs ':' between arguments 1 and 2, not \"0\"",
                at + "16:1: warning: Event 0150 does not end with END, EVE, TRA or another exit; the game runs on into "
                     "what follows",
                at + "17:14: error: Argument 2 of <CNP is \"<FAI\", not four digits",
                at + "17:18: error: <CNP needs ':' between arguments 2 and 3, not \"0\"",
                at + "20:1: warning: Event 0160 does not end with END, EVE, TRA or another exit; the game runs on into "
                     "what follows",
                at + "25:1: error: Event 0152 is repeated; the first one is used and this one never runs",
                at +
                    "27:1: warning: Event 0200 is empty and last; if started, the game reads past the end of the script",
                "1 stage checked, 5 errors, 5 warnings",
            }));
        QCOMPARE(found.status, 1);
    }

    // A stage script runs after Head.tsc in one buffer, with the stage's
    // entities, and TRA leads into other stages' scripts; the shared scripts
    // run alone. A script several records name is checked once.
    void checkReadsEachScriptWithWhatTheGameLoadsWithIt()
    {
        const QByteArray head = vorn::DecodeScript(FileBytes(file("data\\Head.tsc")));
        QVERIFY(WriteBytes(file("data\\Head.tsc"), vorn::EncodeScript(head + QByteArray(20000, 'n') + "\r\n")));
        QVERIFY(WriteBytes(file("data\\ArmsItem.tsc"), vorn::EncodeScript("#1000\r\n<KEY<EVE0016\r\n")));
        QVERIFY(QFile::remove(file("data\\StageSelect.tsc")));
        const QByteArray hollow = vorn::DecodeScript(FileBytes(file("data\\stage\\Hollow.tsc")));
        // Only the map name leads to a script: a tileset name the editor refuses does not hide stage 12's.
        vorn::StageTable table;
        QCOMPARE(vorn::ReadStageTable(file("Doukutsu.exe"), table).refusal(), QString());
        table[12].setTileset(vorn::PadName32("../Foundry"));
        QCOMPARE(vorn::WriteStageRecord(file("Doukutsu.exe"), 12, table[12]).refusal(), QString());
        const QByteArray script = "#0041\r\n<KEY<EVE0016\r\n" + hollow + "#0500\r\n<KEY<TRA0012:0095:0001:0001\r\n";
        QVERIFY(WriteBytes(file("data\\stage\\Hollow.tsc"), vorn::EncodeScript(script)));

        const Result found = tool({"check", "0", "13"}); // both name Hollow
        QCOMPARE(found.status, 1);
        QCOMPARE(found.out.mid(0, 3),
                 QStringList({
                     "data\\ArmsItem.tsc:2:9: error: Event 0016 does not exist in this script",
                     "data\\StageSelect.tsc: warning: the script is missing.",
                     "stage 0: data\\stage\\Hollow.tsc: error: With Head.tsc this script takes " +
                         QString::number(head.size() + 20002 + script.size()) + " bytes; the game holds at most 20479",
                 }));
        QCOMPARE(
            found.out.mid(4),
            QStringList({
                "stage 0: data\\stage\\Hollow.tsc:1:1: error: Event 0041 is already in Head.tsc, which comes first; this "
                "one never runs",
                "stage 0: data\\stage\\Hollow.tsc:16:14: error: Event 0095 does not exist in stage 12's script",
                "2 stages checked, 4 errors, 2 warnings",
            }));
        QVERIFY(found.out[3].startsWith("stage 0: data\\stage\\Hollow.tsc: warning: An entity has event "));
    }

    // Entities and script lines alike, the shared scripts first, each file
    // once under the first record naming it; headers and commands as written.
    void findListsEveryUse()
    {
        QVERIFY(
            WriteBytes(file("data\\stage\\Vault.tsc"),
                       vorn::EncodeScript("#0090\r\n<MP+0012<ANP0300:0001:0000<EVE0300\r\n#0300 note\r\n<END\r\n")));
        QVERIFY(
            WriteBytes(file("data\\StageSelect.tsc"), vorn::EncodeScript("#1000\r\n<KEY<TRA0012:0090:0001:0001\r\n")));

        const Result flag = tool({"find", "--flag", "501"});
        QCOMPARE(flag.status, 0);
        QCOMPARE(flag.out.size(), 2);
        QVERIFY2(flag.out[0].startsWith("stage 0 entity 2 at (17, 5): type 150"), qPrintable(flag.out[0]));
        QCOMPARE(flag.out[1], "data\\stage\\Hollow.tsc:12:5: <FL+0501");
        QCOMPARE(flag.err, "vorn-tool: found 2 places.\n");

        // An event: entities with it, its header, jumps to it and commands
        // picking entities by it.
        const Result event = tool({"find", "--event", "300"});
        QCOMPARE(event.status, 0);
        for (const char* line :
             {"data\\stage\\Hollow.tsc:9:1: #0300", "data\\stage\\Hollow.tsc:12:13: <CNP0300:0060:0000",
              "data\\stage\\Vault.tsc:2:9: <ANP0300:0001:0000", "data\\stage\\Vault.tsc:2:27: <EVE0300",
              "data\\stage\\Vault.tsc:3:1: #0300 note"})
            QVERIFY2(event.out.count(QString::fromLatin1(line)) == 1, line);
        QVERIFY(event.out.filter(QRegularExpression("^stage [0-9]+ entity [0-9]+ at ")).size() > 1);
        QVERIFY(tool({"find", "--type", "60"}).out.contains("data\\stage\\Hollow.tsc:12:13: <CNP0300:0060:0000"));
        // A type by its name, or part of it: every type that matches.
        const Result byName = tool({"find", "--type", "TOROKO"});
        QCOMPARE(byName.status, 0);
        QVERIFY(byName.out.contains("data\\stage\\Hollow.tsc:12:13: <CNP0300:0060:0000"));
        QVERIFY(byName.err.startsWith("vorn-tool: type 60 Toroko"));
        const Result many = tool({"find", "--type", "critter"});
        QCOMPARE(many.status, 0);
        QVERIFY(!many.out.isEmpty());
        for (const QString& line : many.out)
            QVERIFY2(!line.startsWith("stage") || line.contains("ritter"), qPrintable(line));
        const Result tooMany = tool({"find", "--type", "e"});
        QCOMPARE(tooMany.status, 2);
        QVERIFY(tooMany.err.contains("more than 10: 0 Null") && tooMany.err.contains("Give more of the name"));
        QCOMPARE(tool({"find", "--type", "nothing like this"}).status, 2);

        const Result stage = tool({"find", "--stage", "12", "--tsv"});
        QCOMPARE(stage.out, QStringList({
                                "kind\tstage\tfile\tline\tcolumn\tentity\tx\ty\ttype\ttext",
                                "command\t\tdata\\\\StageSelect.tsc\t2\t5\t\t\t\t\t<TRA0012:0090:0001:0001",
                                "command\t0\tdata\\\\stage\\\\Hollow.tsc\t12\t31\t\t\t\t\t<TRA0012:0090:0005:0005",
                                "command\t4\tdata\\\\stage\\\\Vault.tsc\t2\t1\t\t\t\t\t<MP+0012",
                            }));
        const Result none = tool({"find", "--type", "999"});
        QCOMPARE(none.status, 0);
        QVERIFY(none.out.isEmpty());
        QCOMPARE(none.err, "vorn-tool: found nothing.\n");

        // --in: one stage's files, under its own number, without the shared scripts.
        QCOMPARE(tool({"find", "--stage", "12", "--in", "19"}).out,
                 QStringList{"data\\stage\\Vault.tsc:2:1: <MP+0012"});
        const Result in13 = tool({"find", "--flag", "501", "--in", "13"});
        QCOMPARE(in13.out.size(), 2);
        QVERIFY2(in13.out[0].startsWith("stage 13 entity 2 at (17, 5): type 150"), qPrintable(in13.out[0]));
        QCOMPARE(in13.out[1], flag.out[1]);
        for (const char* bad : {"95", "x"})
            QCOMPARE(tool({"find", "--flag", "501", "--in", bad}).status, 2);
    }

    // A baseline holds the findings already known: a later check prints only
    // the new ones, an old one still known after lines were added above it.
    void checkLeavesOutWhatTheBaselineLists()
    {
        const Result written = tool({"check", "--write-baseline", "known.txt"});
        QCOMPARE(written.status, 1); // the sample's own errors, printed as ever
        QCOMPARE(written.out.last(), SummaryOf(written.out, 95));
        const int known = int(written.out.size()) - 1;
        QCOMPARE(written.err, QStringLiteral("vorn-tool: wrote %1 findings to known.txt.\n").arg(known));
        QVERIFY(vorn::LeftoverTemporaries(game->path("known.txt")).isEmpty());
        QCOMPARE(tool({"check", "--baseline", "known.txt"}).out,
                 QStringList{
                     QStringLiteral("95 stages checked, 0 errors, 0 warnings; %1 known findings left out").arg(known)});

        // A new event above Ridge's too-wide row: the same words in another
        // event are new, as is its unknown command; the old row moved down.
        const QByteArray ridge = vorn::DecodeScript(FileBytes(file("data\\stage\\Ridge.tsc")));
        const qsizetype at = ridge.indexOf("#0100");
        const QByteArray added = "#0095\r\n<KEY<MSGA second row that runs past the message box.<NOD<XYZ<END\r\n";
        QVERIFY(WriteBytes(file("data\\stage\\Ridge.tsc"), vorn::EncodeScript(ridge.left(at) + added + ridge.mid(at))));
        const Result fresh = tool({"check", "--baseline", "known.txt"});
        QCOMPARE(fresh.status, 1);
        QCOMPARE(fresh.out.size(), 3);
        QVERIFY2(fresh.out[0].startsWith("stage 2: data\\stage\\Ridge.tsc:6:"), qPrintable(fresh.out[0]));
        QVERIFY(fresh.out[0].endsWith(": warning: Text row is wider than the message box (34 columns)"));
        QVERIFY2(fresh.out[1].startsWith("stage 2: data\\stage\\Ridge.tsc:6:") && fresh.out[1].contains(": error: "),
                 qPrintable(fresh.out[1]));
        QCOMPARE(fresh.out[2],
                 QStringLiteral("95 stages checked, 1 error, 1 warning; %1 known findings left out").arg(known));

        // Only warnings left new: exit status 0, as without a baseline.
        QVERIFY(WriteBytes(file("data\\stage\\Ridge.tsc"),
                           vorn::EncodeScript(ridge.left(at) + QByteArray(added).replace("<XYZ", "") + ridge.mid(at))));
        QCOMPARE(tool({"check", "--baseline", "known.txt"}).status, 0);

        // A baseline that cannot be read, or is not one, checks nothing.
        const Result missing = tool({"check", "--baseline", "gone.txt"});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.out.isEmpty());
        QCOMPARE(missing.err, QStringLiteral("vorn-tool: Cannot read gone.txt: No such file or directory.\n"));
        QVERIFY(WriteBytes(game->path("odd.txt"), "# notes are fine\nstage 2 had a fault\n"));
        const Result odd = tool({"check", "--baseline", "odd.txt"});
        QCOMPARE(odd.status, 1);
        QVERIFY2(odd.err.startsWith("vorn-tool: odd.txt, line 2, is not a finding"), qPrintable(odd.err));
    }

    // The tool reads a Japanese table as the editor does, and says so.
    void aJapaneseTableIsReadAsJapanese()
    {
        QVERIFY(vorn::WriteSampleGame(game->gameDir(), vorn::SampleTitles::Japanese).ok());
        const Result stages = tool({"stages"});
        QCOMPARE(stages.status, 0);
        QCOMPARE(stages.err, QStringLiteral("vorn-tool: The stage table is Japanese (code page 932).\n"));
        QVERIFY(stages.out.value(2 + 13).contains(QString::fromUtf8("苔むした窪地")));
    }

    // Counts of one read in the singular.
    void countsOfOneAreSingular()
    {
        QVERIFY(WriteTypeTable(game->gameDir(), 1));
        QVERIFY(WriteBytes(game->path("data/Stage/Grotto.pxa"), QByteArray(1, '\x41')));
        const Result found = tool({"check", "13"});
        QVERIFY(
            found.out.contains("stage 13: data\\stage\\Grotto.pxa: warning: the tile type file holds 1 byte; the game "
                               "reads 256, one per tile."));
        QVERIFY(found.out.contains(
            "stage 13: data\\stage\\Hollow.pxe: error: entity 1 is of type 2, beyond the 1 type of data\\npc.tbl."));
        QCOMPARE(found.out.last(), SummaryOf(found.out, 1));
        QVERIFY(found.out.last().startsWith("1 stage checked, "));
    }

    // Entities as the editor loads them, named from the editor's settings
    // file first: a copy of the tool beside its own vorn.ini reads that one.
    void entitiesListsAStagesEntities()
    {
        const QString copy = QDir(game->programDir()).filePath(QStringLiteral("vorn-tool"));
        QVERIFY(QFile::copy(QStringLiteral(VORN_TOOL), copy));
        QVERIFY(WriteBytes(game->settingsPath(), "[Entities]\r\n2=Walker\\Slow\r\n"));
        const auto run = [&](const QStringList& arguments) {
            QProcess process;
            process.setWorkingDirectory(game->gameDir());
            process.start(copy, arguments);
            process.waitForFinished(60000);
            return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        };
        const QStringList tsv = run({"entities", "13", "--tsv"});
        QCOMPARE(tsv.size(), 1 + 7);
        QCOMPARE(tsv[0], "index\tx\ty\tflag\tevent\ttype\tname\tbits");
        QCOMPARE(tsv[2], "1\t5\t9\t0\t100\t2\tWalker\\\\Slow\t");
        QVERIFY(tsv[4].startsWith("3\t10\t13\t-1\t-20\t236\tGunfish\tshows damage, hidden while"));
        const QStringList table = run({"entities", "13"});
        QCOMPARE(table.size(), 1 + 7);
        QVERIFY2(table[5].startsWith("    4  11   2     0      0    60  Toroko   ") &&
                     table[5].endsWith("  spawns facing right, event on touch"),
                 qPrintable(table[5]));

        // A file the editor refuses is refused with its words.
        QByteArray vault = FileBytes(file("data\\stage\\Vault.pxe"));
        vault.replace(4, 2, QByteArray("\x90\x01", 2));
        QVERIFY(WriteBytes(file("data\\stage\\Vault.pxe"), vault));
        const Result refused = tool({"entities", "19"});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.startsWith("vorn-tool: data\\stage\\Vault.pxe holds a count of 400 entities"),
                 qPrintable(refused.err));
    }

    // The type table as the Entity Types window shows it, with the names
    // this game folder gives its types.
    void typesListsTheTypeTable()
    {
        const QString copy = QDir(game->programDir()).filePath(QStringLiteral("vorn-tool"));
        QVERIFY(QFile::copy(QStringLiteral(VORN_TOOL), copy));
        QVERIFY(vorn::INIWriteValues(game->settingsPath(), vorn::GameEntitiesSection(game->gameDir()),
                                     {{QStringLiteral("60"), QStringLiteral("Our Toroko")}})
                    .ok());
        const auto run = [&](const QStringList& arguments) {
            QProcess process;
            process.setWorkingDirectory(game->gameDir());
            process.start(copy, arguments);
            process.waitForFinished(60000);
            return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        };
        vorn::NpcTable table;
        QVERIFY(vorn::ReadNpcTable(vorn::GameFolder(game->gameDir()), table).ok());
        const QStringList tsv = run({"types", "--tsv"});
        QCOMPARE(tsv.size(), 2 + vorn::kShippedEntityTypes);
        QCOMPARE(tsv[0], QStringLiteral("data/npc.tbl, 361 types"));
        QCOMPARE(tsv[1].split(u'\t').size(), 13);
        const QStringList toroko = tsv[2 + 60].split(u'\t');
        QCOMPARE(toroko.mid(0, 3), (QStringList{"60", "Our Toroko", QString::number(table[60].sheet)}));
        QCOMPARE(toroko[10], vorn::NpcFieldText(table[60], vorn::NpcField::ViewBox));
        QCOMPARE(tsv[2 + 2].section(u'\t', 1, 1), QStringLiteral("Behemoth"));
        QVERIFY(run({"types"}).value(2 + 60).contains(QStringLiteral("Our Toroko")));
        QCOMPARE(tool({"types", "--help"}).status, 0);
        QCOMPARE(tool({"types", "3"}).status, 2);

        QVERIFY(QFile::remove(file("data\\npc.tbl")));
        const Result missing = tool({"types"});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains(QStringLiteral("npc.tbl is missing")));
    }

    void decodeAllThenEncodeAllGiveBackEveryScript()
    {
        QVERIFY(QFile::remove(file("data\\stage\\Vault.tsc")));
        QMap<QString, QByteArray> scripts;
        const QDir stageDir = QFileInfo(file("data\\stage\\Hollow.tsc")).dir();
        for (const QString& name : stageDir.entryList({"*.tsc"}, QDir::Files))
            scripts[stageDir.filePath(name)] = FileBytes(stageDir.filePath(name));
        QVERIFY(scripts.size() > 1);

        const Result decoded = tool({"decode", "--all"});
        QCOMPARE(decoded.status, 0);
        QCOMPARE(decoded.out.filter(" wrote ").size(), scripts.size()); // a shared script once
        QVERIFY(decoded.out.contains("stage 19: no data\\stage\\Vault.tsc, skipped"));
        for (auto s = scripts.begin(); s != scripts.end(); ++s)
            QVERIFY(WriteBytes(s.key(), "overwritten"));

        // Each script is now newer than its text and differs: kept unless forced.
        QCOMPARE(tool({"encode", "--all"}).status, 1);
        for (auto s = scripts.begin(); s != scripts.end(); ++s)
            QCOMPARE(FileBytes(s.key()), QByteArray("overwritten"));
        const Result encoded = tool({"encode", "--all", "--force"});
        QCOMPARE(encoded.status, 0);
        QCOMPARE(encoded.out.filter(" wrote ").size(), scripts.size());
        for (auto s = scripts.begin(); s != scripts.end(); ++s)
            QVERIFY2(FileBytes(s.key()) == s.value(), qPrintable(s.key()));

        // The button's refusals: a read-only target, a missing source.
        QVERIFY(::chmod(QFile::encodeName(file("data\\stage\\Hollow.tsc")).constData(), 0444) == 0);
        const Result readOnly = tool({"encode", "13"});
        QCOMPARE(readOnly.status, 1);
        QCOMPARE(readOnly.err.trimmed(),
                 QStringLiteral("vorn-tool: stage 13: Cannot write data\\stage\\Hollow.tsc: the file is read-only."));
        const Result missing = tool({"decode", "19"});
        QCOMPARE(missing.status, 1);
        QCOMPARE(missing.err.trimmed(), QStringLiteral("vorn-tool: stage 19: Cannot find data\\stage\\Vault.tsc."));
    }

    void decodeKeepsEditsUnlessForced()
    {
        QCOMPARE(tool({"decode", "13"}).status, 0);
        const QString text = file("data\\stage\\Hollow.txt");
        QVERIFY(WriteBytes(text, FileBytes(text) + "<END edited"));
        const QByteArray edited = FileBytes(text);
        const Result kept = tool({"decode", "13"});
        QCOMPARE(kept.status, 1);
        QCOMPARE(kept.err, QStringLiteral("vorn-tool: stage 13: data\\stage\\Hollow.txt has changes that are not in "
                                          "Hollow.tsc; give --force to overwrite it.\n"));
        QCOMPARE(FileBytes(text), edited);
        QCOMPARE(tool({"decode", "13", "--force"}).status, 0);
        QCOMPARE(FileBytes(text), vorn::DecodeScript(FileBytes(file("data\\stage\\Hollow.tsc"))));
        QCOMPARE(tool({"decode", "13"}).status, 0); // the same text again: nothing to lose
    }

    // Names from the executable reach neither the terminal raw nor a file
    // name: the tool and the editor refuse them, showing the escapes.
    void controlCharactersArePrintedAsEscapes()
    {
        const QByteArray name("Hol\x1b[2J\nlow");
        vorn::StageTable table;
        QCOMPARE(vorn::ReadStageTable(file("Doukutsu.exe"), table).refusal(), QString());
        table[13].setMap(vorn::PadName32(name));
        table[13].setTitle(vorn::PadName32("Mossy\x1b]0;owned\x07\r\n13"));
        QCOMPARE(vorn::WriteStageRecord(file("Doukutsu.exe"), 13, table[13]).refusal(), QString());
        const QString refusal = QStringLiteral("Stage 13's map name \"Hol\\x1b[2J\\nlow\" is not a plain file name.");

        Window w(*game);
        QCOMPARE(w.messages, QStringList{refusal}); // 13 is the stage opened first

        const Result stages = tool({"stages"});
        QCOMPARE(stages.status, 0);
        QCOMPARE(stages.out.size(), 2 + vorn::kFreewareStageCount);
        QVERIFY(stages.out[2 + 13].contains(QStringLiteral("Mossy\\x1b]0;owned\\x07\\r\\n13")));
        QVERIFY(WriteTypeTable(game->gameDir(), vorn::kShippedEntityTypes)); // no finding of its own first
        const Result check = tool({"check", "13"});
        QCOMPARE(check.out.value(0), "stage 13: data\\stage\\Hol\\x1b[2J\\nlow.pxm: error: " + refusal);
        const Result decode = tool({"decode", "13"});
        const Result render = tool({"render", "13", "-o", "x.png"});
        for (const Result& refused : {decode, render}) {
            QCOMPARE(refused.status, 1);
            QCOMPARE(refused.err, "vorn-tool: " + refusal + "\n");
        }
        for (const Result& r : {stages, check, decode, render}) {
            for (const QChar c : QString::fromUtf8(r.raw) + r.err)
                QVERIFY2(c == u'\n' || !vorn::IsControlCharacter(c), qPrintable(r.err));
        }
    }

    // Standard output holds the picture alone; the messages go to standard error.
    void profileStartsInTheStageKeepingTheSave()
    {
        QTemporaryDir out;
        const QString written = out.filePath(QStringLiteral("Profile.dat"));
        Result r = tool({"profile", "13", "4", "5", "-o", written});
        QCOMPARE(r.status, 0);
        QCOMPARE(FileBytes(written), vorn::FreshProfile({13, 4, 5}));

        QByteArray played = vorn::FreshProfile({6, 1, 1});
        played[0x2C] = char(0x21); // equipment
        played[0x21C + 40] = char(0x80); // flag 327
        QVERIFY(WriteBytes(game->path(QStringLiteral("Profile.dat")), played));
        const Result piped = tool({"profile", "13", "4", "5", "-o", "-"});
        QCOMPARE(piped.status, 0);
        QCOMPARE(piped.err, QStringLiteral("vorn-tool: stage 13 at (4, 5): wrote the save file to standard output\n"));
        QCOMPARE(vorn::ReadProfileFields(piped.raw).stage, 13);
        QCOMPARE(piped.raw.mid(0x1C), played.mid(0x1C));
        QCOMPARE(FileBytes(game->path(QStringLiteral("Profile.dat"))), played);

        r = tool({"profile", "13", "400", "5", "-o", written});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("The cell (400, 5) lies outside stage 13's map of")), qPrintable(r.err));
        QCOMPARE(tool({"profile", "13", "4", "-o", written}).status, 2);
    }

    void playRunsTheCommandInACopyStartingInTheStage()
    {
        QTemporaryDir cache;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        const QMap<QString, QByteArray> before = Snapshot(game->gameDir());
        const QString saved = cache.filePath(QStringLiteral("saved"));
        Result r = tool({"play", "13", "4", "5", "--command", "cp Profile.dat '" + saved + "'; test -f {exe}"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QStringLiteral("vorn-tool: Playing stage 13 at (4, 5): choose Load in the game.\n"));
        QCOMPARE(FileBytes(saved), vorn::FreshProfile({13, 4, 5}));
        QCOMPARE(Snapshot(game->gameDir()), before);

        r = tool({"play", "--command", "pwd; exit 4"});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, QStringList{QDir(game->gameDir()).canonicalPath()});
        QCOMPARE(r.err, QStringLiteral("vorn-tool: The game ended with exit status 4.\n"));
        qunsetenv("XDG_CACHE_HOME");
    }

    void renderWritesThePictureToStandardOutput()
    {
        QTemporaryDir out;
        const QString png = out.filePath(QStringLiteral("map.png"));
        QCOMPARE(tool({"render", "13", "-o", png}).status, 0);
        const Result piped = tool({"render", "13", "-o", "-"});
        QCOMPARE(piped.status, 0);
        QCOMPARE(piped.raw, FileBytes(png));
        QVERIFY(piped.err.startsWith(QStringLiteral("vorn-tool: stage 13: wrote the picture to standard output (")));
        QVERIFY(!QFile::exists(game->path(QStringLiteral("-"))));
    }

    // A named pipe in the executable's place is named, and neither the tool
    // nor the editor's start-up waits for a writer.
    void aPipeForTheExecutableIsNamed()
    {
        const QString exe = file("Doukutsu.exe");
        QVERIFY(QFile::remove(exe));
        QVERIFY(::mkfifo(QFile::encodeName(exe).constData(), 0644) == 0);
        const Result r = tool({"stages"});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err, QStringLiteral("vorn-tool: Doukutsu.exe is a named pipe, not a regular file.\n"));
        Window w(*game);
        QVERIFY(!w.started);
        QCOMPARE(w.messages, QStringList{QStringLiteral("Can't find...\r\n\r\nMain executable\r\n")});
    }
};

QTEST_MAIN(VornToolTest)
#include "vorntool_test.moc"
