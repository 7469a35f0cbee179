// The sample game every window test and the benchmark start from: it must
// pass the start-up check, load on every record, and hold what its header
// promises.
#include "entityfile.h"
#include "entitysprite.h"
#include "gamefolder.h"
#include "mapfile.h"
#include "samplegame.h"
#include "script.h"
#include "stagetable.h"
#include "tiletypes.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace vorn;

namespace {

class SampleGame : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WriteSampleGame(dir.path()).refusal().toStdString(), ""); }

    QString path(const QString& built) const { return GameFolder(dir.path()).findFile(built); }
    StageRecord record(int stage) const
    {
        StageTable table;
        EXPECT_EQ(ReadStageTable(path("doukutsu.exe"), table).refusal().toStdString(), "");
        return table[stage];
    }
    QString stageFile(int stage, const char* extension) const
    {
        return path("data\\stage\\" + QString::fromLatin1(CutAtNull(record(stage).map())) + extension);
    }

    QTemporaryDir dir;
};

using Rgb = quint32;
constexpr Rgb rgb(int r, int g, int b) { return quint32(r) << 16 | quint32(g) << 8 | quint32(b); }

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Just enough of a bitmap reader to check the generator's own output.
struct Bitmap {
    QByteArray data;
    quint32 u32(int at) const
    {
        return quint8(data[at]) | quint8(data[at + 1]) << 8 | quint8(data[at + 2]) << 16 |
               quint32(quint8(data[at + 3])) << 24;
    }
    int width() const { return int(u32(18)); }
    int height() const { return int(u32(22)); }
    int depth() const { return quint8(data[28]); }
    Rgb pixel(int x, int y) const
    {
        const int stride = (width() * depth() + 31) / 32 * 4;
        const int row = int(u32(10)) + (height() - 1 - y) * stride;
        auto colour = [&](int at) { return rgb(quint8(data[at + 2]), quint8(data[at + 1]), quint8(data[at])); };
        if (depth() == 24)
            return colour(row + 3 * x);
        const int bit = x * depth();
        const int index = (quint8(data[row + bit / 8]) >> (8 - depth() - bit % 8)) & ((1 << depth()) - 1);
        return colour(54 + 4 * index);
    }
    bool wellFormed() const
    {
        const int stride = (width() * depth() + 31) / 32 * 4;
        return data.startsWith("BM") && u32(2) == quint32(data.size()) &&
               u32(10) + quint32(stride * height()) == quint32(data.size());
    }
};

} // namespace

TEST_F(SampleGame, PassesTheStartUpCheckAndEveryRecordFindsItsFiles)
{
    const GameFolder folder(dir.path());
    for (const char* pattern :
         {"doukutsu.exe", "data\\stage\\*.pxm", "data\\stage\\prt*.pbm", "data\\npc\\npc*.pbm", "data\\bk*.pbm"})
        EXPECT_TRUE(folder.patternExists(QString::fromLatin1(pattern))) << pattern;

    StageTable table;
    ASSERT_EQ(ReadStageTable(path("doukutsu.exe"), table).refusal().toStdString(), "");
    for (int i = 0; i < kFreewareStageCount; ++i) {
        const StageRecord& r = table[i];
        const QString map = "data\\stage\\" + QString::fromLatin1(CutAtNull(r.map()));
        for (const QString& built : {map + ".pxm", map + ".pxe", map + ".tsc",
                                     "data\\stage\\prt" + QString::fromLatin1(CutAtNull(r.tileset())) + ".pbm",
                                     "data\\" + QString::fromLatin1(CutAtNull(r.backdrop())) + ".pbm",
                                     "data\\npc\\npc" + QString::fromLatin1(CutAtNull(r.spriteSet())) + ".pbm"})
            EXPECT_FALSE(folder.findFile(built).isEmpty()) << "stage " << i << ": " << built.toStdString();
        EXPECT_GE(r.parallax(), 0);
        EXPECT_LE(r.parallax(), 15);
        StageFiles files;
        ASSERT_TRUE(StageFilesOf(i, r, files).ok());
        if (!files.npcSheet2.isEmpty()) {
            EXPECT_EQ(folder.findFile(files.npcSheet2).isEmpty(), i == kSampleMissingSheet2Stage) << i;
        }
    }
    const QByteArray exe = ReadAll(path("doukutsu.exe"));
    EXPECT_FALSE(exe.mid(kStageTableEnd - 3, 3).contains('\0')); // behind record 94's fields

    const QByteArray fullTitle = table[kSampleFullTitleStage].title();
    EXPECT_EQ(fullTitle.size(), kNameSize);
    EXPECT_FALSE(fullTitle.contains('\0'));
}

TEST_F(SampleGame, StagesHaveThePromisedSizesAndEntities)
{
    struct Expect {
        int stage, minWidth, minHeight, minEntities;
    };
    for (const Expect& e : {Expect{kSampleSmallStage, 20, 15, 1}, Expect{kSampleWideStage, 200, 100, 151},
                            Expect{kSampleHugeStage, 513, 513, 256}, Expect{kSampleNoEntityStage, 1, 1, 0}}) {
        MapData map;
        ASSERT_TRUE(ReadMapFile(stageFile(e.stage, ".pxm"), "map", map).ok()) << e.stage;
        EXPECT_GE(map.width, e.minWidth);
        EXPECT_GE(map.height, e.minHeight);
        qint16 count = -1;
        EntityRecords records;
        ASSERT_TRUE(ReadEntityFile(stageFile(e.stage, ".pxe"), "entities", count, records).ok()) << e.stage;
        EXPECT_GE(count, e.minEntities);
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(records[i].X >= 0 && records[i].X < map.width) << e.stage << ":" << i;
            EXPECT_TRUE(records[i].Y >= 0 && records[i].Y < map.height) << e.stage << ":" << i;
        }
    }
    MapData small, huge;
    ASSERT_TRUE(ReadMapFile(stageFile(kSampleSmallStage, ".pxm"), "map", small).ok());
    ASSERT_TRUE(ReadMapFile(stageFile(kSampleHugeStage, ".pxm"), "map", huge).ok());
    EXPECT_EQ(small.width, 20);
    EXPECT_EQ(small.height, 15);
    EXPECT_EQ(small.grid.at(13, 2), 26);
    EXPECT_EQ(small.grid.at(4, 3), 6);
    EXPECT_EQ(huge.width, 513);
    EXPECT_EQ(huge.height, 513);

    // Material for the "never shorten, keep what lies behind" rules.
    MapData tail;
    ASSERT_TRUE(ReadMapFile(stageFile(kSampleTailStage, ".pxm"), "map", tail).ok());
    EXPECT_GT(ReadAll(stageFile(kSampleTailStage, ".pxm")).size(), 8 + tail.width * tail.height);
    qint16 count = 0;
    EntityRecords records;
    ASSERT_TRUE(ReadEntityFile(stageFile(kSampleTailStage, ".pxe"), "entities", count, records).ok());
    EXPECT_GT(ReadAll(stageFile(kSampleTailStage, ".pxe")).size(), 8 + kEntityRecordSize * count);
}

TEST_F(SampleGame, BitmapsAreWellFormedAndHoldTheDocumentedPixels)
{
    const GameFolder folder(dir.path());
    for (const QString& pattern : {QStringLiteral("data\\stage\\prt*.pbm"), QStringLiteral("data\\npc\\npc*.pbm"),
                                   QStringLiteral("data\\bk*.pbm")}) {
        const QString folderPart = pattern.left(pattern.lastIndexOf('\\') + 1);
        for (const QString& name : folder.listPattern(pattern))
            EXPECT_TRUE(Bitmap{ReadAll(folder.findFile(folderPart + name))}.wellFormed()) << name.toStdString();
    }

    const Bitmap grotto{ReadAll(path("data\\stage\\prtGrotto.pbm"))};
    ASSERT_EQ(grotto.width(), 256);
    ASSERT_EQ(grotto.height(), 240);
    const Rgb black = rgb(0, 0, 0), shade = rgb(0, 0, 1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(grotto.pixel(x, y), black); // tile 0
            EXPECT_NE(grotto.pixel(16 + x, y), black); // tile 1
            EXPECT_EQ(grotto.pixel(32 + x, y), shade); // tile 2
            EXPECT_EQ(grotto.pixel(48 + x, y) == black, x >= 8); // tile 3
            EXPECT_EQ(grotto.pixel(96 + x, y), (x + y) % 2 ? shade : black); // tile 6
        }
    EXPECT_EQ(grotto.pixel(160, 16), black); // tile 26
    EXPECT_EQ(grotto.pixel(168, 24), rgb(200, 48, 48));

    const Bitmap pebble{ReadAll(path("data\\stage\\prtPebble.pbm"))};
    EXPECT_EQ(pebble.width(), 128);
    EXPECT_EQ(pebble.height(), 64);
    EXPECT_EQ(pebble.pixel(40, 15), shade);

    const Bitmap lattice{ReadAll(path("data\\bkLattice.pbm"))};
    EXPECT_EQ(lattice.depth(), 1);
    EXPECT_EQ(lattice.pixel(0, 0), rgb(72, 136, 152));
    EXPECT_EQ(lattice.pixel(8, 0), rgb(24, 56, 72));
    for (const char* name : {"data\\bkDusk.pbm", "data\\bkLattice.pbm", "data\\bkTide.pbm", "data\\bkEmber.pbm"}) {
        const Bitmap backdrop{ReadAll(path(QString::fromLatin1(name)))};
        for (int y = 0; y < backdrop.height(); ++y)
            for (int x = 0; x < backdrop.width(); ++x)
                ASSERT_NE(backdrop.pixel(x, y), black) << name << " " << x << "," << y;
    }
}

// Every frame an entity of the generated stages is drawn from holds a
// picture, found through npc.tbl and the record's sheets.
TEST_F(SampleGame, EntitiesFindTheirFramesInTheSheets)
{
    const GameFolder folder(dir.path());
    NpcTable table;
    ASSERT_TRUE(ReadNpcTable(folder, table).ok());
    ASSERT_EQ(table.size(), size_t(kShippedEntityTypes));
    for (int t = 0; t < kShippedEntityTypes; ++t)
        EXPECT_EQ(table[size_t(t)].sheet, ShippedType(t)->sheet) << t;

    StageTable stages;
    ASSERT_EQ(ReadStageTable(path("doukutsu.exe"), stages).refusal().toStdString(), "");
    std::map<QString, Bitmap> sheets;
    const auto frameDrawn = [&](const QString& file, const SheetFrame& f) {
        const Bitmap& sheet = sheets.try_emplace(file, Bitmap{ReadAll(file)}).first->second;
        EXPECT_TRUE(f.right <= sheet.width() && f.bottom <= sheet.height()) << file.toStdString();
        for (int y = f.top; y < std::min<int>(f.bottom, sheet.height()); ++y)
            for (int x = f.left; x < std::min<int>(f.right, sheet.width()); ++x)
                if (sheet.pixel(x, y) != rgb(0, 0, 0))
                    return true;
        return false;
    };
    std::set<int> sheetsSeen;
    for (int stage = 12; stage <= 19; ++stage) {
        StageFiles files;
        ASSERT_TRUE(StageFilesOf(stage, stages[stage], files).ok());
        qint16 count = 0;
        EntityRecords records;
        ASSERT_TRUE(ReadEntityFile(path(files.entities), "entities", count, records).ok());
        for (int i = 0; i < count; ++i) {
            const bool right = quint16(records[i].Unknown) & kFacesRightBit;
            const std::optional<EntitySprite> sprite = SpriteOf(records[i].Type, right, table);
            const QString file = sprite ? path(SheetFileOf(sprite->sheet, files)) : QString();
            if (file.isEmpty() || records[i].Type == kSampleBlankFrameType)
                continue;
            sheetsSeen.insert(sprite->sheet);
            EXPECT_TRUE(frameDrawn(file, sprite->frame)) << "stage " << stage << " entity " << i;
        }
    }
    EXPECT_EQ(sheetsSeen, (std::set<int>{kSheetTileset, kSheetItemImage, kSheetMyChar, kSheetCaret, kSheetNpcSym,
                                         kSheetStageNpc1, kSheetStageNpc2, kSheetNpcRegu}));

    // The cases the header promises.
    qint16 count = 0;
    EntityRecords hollow, ridge;
    ASSERT_TRUE(ReadEntityFile(stageFile(kSampleSmallStage, ".pxe"), "entities", count, hollow).ok());
    ASSERT_TRUE(ReadEntityFile(stageFile(kSampleMissingSheet2Stage, ".pxe"), "entities", count, ridge).ok());
    const EntityRecord& right = hollow[kSampleRightFacingEntity];
    ASSERT_TRUE(quint16(right.Unknown) & kFacesRightBit);
    const Bitmap regu{ReadAll(path("data\\npc\\npcregu.pbm"))};
    const SheetFrame l = ShippedType(right.Type)->left, r = ShippedType(right.Type)->right;
    bool differ = false;
    for (int y = 0; y < l.height(); ++y)
        for (int x = 0; x < l.width(); ++x)
            differ = differ || regu.pixel(l.left + x, l.top + y) != regu.pixel(r.left + x, r.top + y);
    EXPECT_TRUE(differ);
    const NpcBox view = table[size_t(hollow[kSampleOffCentreEntity].Type)].view;
    EXPECT_NE(view.top, view.bottom);
    EXPECT_FALSE(SpriteOf(hollow[kSampleZeroFrameEntity].Type, false, table).has_value());
    EXPECT_EQ(ShippedType(ridge[kSampleUnknownTypeEntity].Type), nullptr);
    EXPECT_EQ(SpriteOf(ridge[kSampleMissingSheetEntity].Type, true, table)->sheet, kSheetStageNpc2);
    EXPECT_EQ(SpriteOf(ridge[kSampleTilesetEntity].Type, false, table)->sheet, kSheetTileset);
}

TEST_F(SampleGame, TileTypesCoverWhatTheGameKnowsAndTheDefaultStageShowsSome)
{
    std::set<quint8> found;
    TileTypeFile grotto, foundry;
    ASSERT_TRUE(ReadTileTypeFile(path("data\\stage\\Grotto.pxa"), "Grotto", grotto).ok());
    ASSERT_TRUE(ReadTileTypeFile(path("data\\stage\\Foundry.pxa"), "Foundry", foundry).ok());
    EXPECT_EQ(grotto.size, kTileTypeCount);
    EXPECT_EQ(foundry.size, kTileTypeCount);
    found.insert(grotto.types.begin(), grotto.types.end());
    found.insert(foundry.types.begin(), foundry.types.end());
    for (quint8 type : NamedTileTypes())
        EXPECT_TRUE(found.count(type)) << int(type);
    EXPECT_TRUE(std::any_of(found.begin(), found.end(), [](quint8 t) { return TileTypeName(t).isEmpty(); }));
    EXPECT_TRUE(path("data\\stage\\Pebble.pxa").isEmpty());

    MapData hollow;
    ASSERT_TRUE(ReadMapFile(stageFile(kSampleSmallStage, ".pxm"), "map", hollow).ok());
    std::set<quint8> shown;
    for (int y = 0; y < hollow.height; ++y)
        for (int x = 0; x < hollow.width; ++x)
            shown.insert(grotto.types[hollow.grid.at(x, y)]);
    for (quint8 type : {0x42, 0x54, 0x57, 0x50, 0x53, 0x60, 0x02, 0x62, 0x74, 0x77})
        EXPECT_TRUE(shown.count(type)) << int(type);
}

TEST_F(SampleGame, ScriptsDecodeToReadableText)
{
    for (int stage : {kSampleSmallStage, kSampleHugeStage, kSampleNoEntityStage}) {
        const QByteArray plain = DecodeScript(ReadAll(stageFile(stage, ".tsc")));
        EXPECT_TRUE(plain.startsWith("#0090\r\n<MNA")) << plain.left(20).toStdString();
        for (char c : plain)
            EXPECT_TRUE(c == '\r' || c == '\n' || (c >= ' ' && c < 127)) << int(quint8(c));
    }
}

TEST_F(SampleGame, RewritesAnExistingFolderAndReportsAFolderItCannotCreate)
{
    ASSERT_EQ(WriteSampleGame(dir.path()).refusal().toStdString(), "");
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(WriteSampleGame(dir.filePath("blocker/game")).ok());
}
