#include "samplegame.h"

#include "pebuilder.h"

#include "entitytypes.h"
#include "npctable.h"
#include "sampleart.h"
#include "samplemaps.h"
#include "samplesprites.h"
#include "script.h"
#include "stagetable.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <map>
#include <array>

namespace vorn {

namespace {

using sample::EncodeBitmap;
using sample::SampleMap;

constexpr qint64 kExecutableSize = 640 * 1024;

// Folders as a copy from Windows spells them; the program builds
// "data\stage\..." and "data\npc\..." and must find these.
const char* const kStageDir = "data/Stage";
const char* const kNpcDir = "data/Npc";

void Put16(QByteArray& out, int offset, qint16 value)
{
    out[offset] = char(value & 0xFF);
    out[offset + 1] = char((quint16(value) >> 8) & 0xFF);
}

void PutName(QByteArray& out, int offset, const QByteArray& name)
{
    const QByteArray field = name.left(kNameSize).leftJustified(kNameSize, '\0');
    out.replace(offset, kNameSize, field);
}

QByteArray MapFileBytes(const SampleMap& m)
{
    QByteArray out("PXM\x10", 4);
    out.append(QByteArray(4, '\0'));
    Put16(out, 4, qint16(m.width));
    Put16(out, 6, qint16(m.height));
    return out + m.cells + m.mapTail;
}

QByteArray EntityFileBytes(const SampleMap& m)
{
    QByteArray out("PXE\0\0\0\0\0", 8);
    Put16(out, 4, qint16(m.entityCount));
    QByteArray record(kEntityRecordSize, '\0');
    for (const EntityRecord& e : m.entities) {
        const std::array<qint16, 6> fields = {e.X, e.Y, e.Flag, e.TSC, e.Type, e.Unknown};
        for (int f = 0; f < 6; ++f)
            Put16(record, 2 * f, fields[f]);
        out += record;
    }
    return out;
}

// Titles for the records that reuse the distinct maps.
QByteArray ReuseTitle(int index)
{
    static const std::array<const char*, 12> adjectives = {"Amber",  "Hushed",  "Crooked", "Sunken",
                                                           "Windy",  "Pale",    "Tangled", "Copper",
                                                           "Drowsy", "Frosted", "Hidden",  "Lonely"};
    static const std::array<const char*, 12> nouns = {"Steps",  "Burrow",  "Gallery", "Cistern", "Terrace", "Orchard",
                                                      "Hollow", "Passage", "Kiln",    "Grove",   "Bridge",  "Cellar"};
    if (index == 40)
        return "Caf\xE9 Under The Falls"; // a Windows-1252 letter
    if (index == 41)
        return "  Drifting Spores  "; // blanks the stage list trims
    const int a = index % 12, n = (5 * (index / 12) + index) % 12;
    return QByteArray(adjectives[a]) + ' ' + nouns[n];
}

// The same records' titles as the Japanese game stores them: Shift-JIS,
// with a half-width katakana word (single bytes) in record 40, blanks
// around record 41's and exactly 32 bytes in stage 17's.
QByteArray JapaneseTitle(int index)
{
    static const std::map<int, const char*> own = {{12, "ランタンの巣穴"}, {13, "苔むした窪地"},
                                                   {14, "錆びた岩棚"},     {15, "果てしない広野"},
                                                   {16, "小石の隅"},       {17, "曲がりくねった尾根に灯る提灯の列"},
                                                   {18, "古い水門"},       {19, "静かな金庫"},
                                                   {40, "ｶﾌｪ 滝の下"},     {41, "  漂う胞子  "}};
    static const std::array<const char*, 12> adjectives = {"琥珀の", "静まる", "歪んだ", "沈んだ", "風の",   "淡い",
                                                           "絡んだ", "銅の",   "眠たい", "凍てた", "隠れた", "孤独な"};
    static const std::array<const char*, 12> nouns = {"階段", "巣穴", "回廊", "貯水槽", "段丘", "果樹園",
                                                      "窪地", "通路", "窯",   "林",     "橋",   "地下室"};
    QString title;
    if (const auto found = own.find(index); found != own.end()) {
        title = QString::fromUtf8(found->second);
    } else {
        const int a = index % 12, n = (5 * (index / 12) + index) % 12;
        title = QString::fromUtf8(adjectives[a]) + QString::fromUtf8(nouns[n]);
    }
    QStringEncoder shiftJis("windows-932");
    return shiftJis.encode(title);
}

// The stand-in executable: shaped like the game's (a PE file whose stage
// loader points at the table's freeware place, and the three picture name
// formats), a readable note, filler that is not all zero, and the stage
// table at its fixed offset. The three bytes behind each
// record are set so tests can see they survive edits.
QByteArray Executable(const std::vector<SampleMap>& maps, SampleTitles titles)
{
    QByteArray exe(kExecutableSize, '\0');
    quint32 state = 0x2545F491u;
    for (qint64 i = 0; i < kExecutableSize; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        exe[i] = char(state >> 24);
    }
    sample::WritePeHeaders(exe,
                           {{".text", 0x1000, 0x8F000, 0x1000, 0x8F000, 0x60000020},
                            {".rdata", 0x90000, 0x3000, 0x90000, 0x3000, 0x40000040},
                            {".data", 0x93000, 0x6000, 0x93000, 0x6000, 0xC0000040},
                            {".rsrc", 0x99000, 0x7000, 0x99000, 0x7000, 0x40000040}},
                           0xA0000);
    const QByteArray note = "Vorn sample game: a stand-in for the game executable, not a program.\r\n";
    exe.replace(0x40, note.size(), note);
    sample::WriteStageLoader(exe, sample::kLoaderAt, sample::kImageBase + quint32(kStageTableOffset));
    sample::WritePictureFormats(exe, 0x90100, "pbm");

    // Records without a stage of their own reuse the small maps.
    std::vector<const SampleMap*> reusable;
    for (const SampleMap& m : maps)
        if (m.width * m.height <= 64 * 64)
            reusable.push_back(&m);
    static const std::array<const char*, 4> backdrops = {"bkDusk", "bkLattice", "bkTide", "bkEmber"};

    for (int i = 0; i < kFreewareStageCount; ++i) {
        QByteArray record(kStageSlotSize, '\0');
        const SampleMap* own = nullptr;
        for (const SampleMap& m : maps)
            if (m.stage == i)
                own = &m;
        const SampleMap& base = own ? *own : *reusable[i % reusable.size()];
        PutName(record, 0, base.tileset);
        PutName(record, 32, base.name);
        const qint32 parallax = own ? own->parallax : (i * 5) % 16;
        for (int b = 0; b < 4; ++b)
            record[64 + b] = char((quint32(parallax) >> (8 * b)) & 0xFF);
        PutName(record, 68, own ? own->backdrop : QByteArray(backdrops[i % backdrops.size()]));
        // The entity sheets of the map's own stage, which hold its entities'
        // frames, but only its own stage lacks a sheet's file. No boss: byte
        // 164 stays 0.
        PutName(record, 100, base.spriteSet);
        PutName(record, 132, own || base.sheet2 != sample::kMissingSheetName ? base.sheet2 : QByteArray("Mech"));
        PutName(record, 165, titles == SampleTitles::Japanese ? JapaneseTitle(i) : own ? own->title : ReuseTitle(i));
        record[197] = char(0xEE);
        record[198] = char(0x5A);
        record[199] = char(i + 1);
        exe.replace(kStageTableOffset + qint64(i) * kStageSlotSize, kStageSlotSize, record);
    }
    return exe;
}

// The entity type table: the shipped sheets, a view box that centres the
// resting frame on the cell, except for a few types that stand on their
// cell's floor or sit off their centre, and plausible other columns.
QByteArray NpcTableFile()
{
    NpcTable table(kShippedEntityTypes);
    for (int t = 0; t < kShippedEntityTypes; ++t) {
        const ShippedEntityType& shipped = *ShippedType(t);
        NpcType& row = table[size_t(t)];
        row.sheet = shipped.sheet;
        const int w = shipped.left.isEmpty() ? 16 : shipped.left.width();
        const int h = shipped.left.isEmpty() ? 16 : shipped.left.height();
        row.view = {quint8(w / 2), quint8(h / 2), quint8(w - w / 2), quint8(h - h / 2)};
        const bool enemy = shipped.sheet == kSheetStageNpc1 || shipped.sheet == kSheetStageNpc2;
        row.bits = enemy ? 0x20 : 0; // enemies can be shot
        row.life = quint16(enemy ? 3 + t % 7 * 4 : 1000);
        row.deathSound = quint8(enemy ? 1 + t % 3 : 0);
        row.hitSound = quint8(enemy ? 4 + t % 2 : 0);
        row.deathSmoke = quint8(enemy ? 1 + t % 3 : 0);
        row.experience = enemy ? 1 + t % 5 : 0;
        row.damage = enemy ? 1 + t % 4 : 0;
        row.hit = {quint8(row.view.front * 3 / 4), quint8(row.view.top * 3 / 4), quint8(row.view.back * 3 / 4),
                   quint8(row.view.bottom * 3 / 4)};
    }
    table[2].view = {16, 16, 16, 8}; // Behemoth, 32 x 24: stands on the cell's floor
    table[18].view = {8, 16, 8, 8}; // door, 16 x 24
    table[20].view = {16, 16, 16, 8}; // computer, 32 x 24
    table[236].view = {14, 12, 10, 12}; // gunfish: centred on its body, not its tail
    table[278].view = {4, 0, 4, 8}; // little family, 8 x 8: on the floor
    return ComposeNpcTable(table);
}

// The shared scripts, small and clean: the events the game starts itself
// (a save point, death, drowning), the inventory's texts and the teleporter's.
QByteArray HeadScript()
{
    return "#0000\r\n<END\r\n"
           "#0001\r\n<KEY<MSGIt is locked.<NOD<END\r\n"
           "#0016\r\n<KEY<MSGSave the game?<YNJ0000<SVP<CLR<MSGSaved.<NOD<END\r\n"
           "#0017\r\n<KEY<LI+0050<MSGYour health is restored.<NOD<END\r\n"
           "#0040\r\n<KEY<CMU0000<WAI0040<MSGYou have died.<NOD<CLO<FAO0004<INI\r\n"
           "#0041\r\n<KEY<MSGYou have drowned.<NOD<EVE0040\r\n";
}

QByteArray ArmsItemScript()
{
    return "#1000\r\n<TUR<MS2No weapon.<END\r\n"
           "#1002\r\n<TUR<MS2Polar Star: a small gun.<END\r\n"
           "#5000\r\n<TUR<MS2No item.<END\r\n"
           "#5002\r\n<TUR<MS2Map: shows the stage.<END\r\n"
           "#6002\r\n<KEY<MSGYou look at the map.<NOD<END\r\n";
}

QByteArray StageSelectScript()
{
    return "#1000\r\n<TUR<MS2Where to?<END\r\n"
           "#1001\r\n<TUR<MS2Mossy Hollow<END\r\n"
           "#1002\r\n<TUR<MS2Rusted Ledges<END\r\n";
}

Outcome WriteFile(const QDir& root, const QString& relative, const QByteArray& bytes)
{
    QFile file(root.filePath(relative));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString());
    return {};
}

} // namespace

Outcome WriteSampleGame(const QString& dir, SampleTitles titles)
{
    QDir root(dir);
    for (const char* sub : {kStageDir, kNpcDir})
        if (!root.mkpath(QString::fromLatin1(sub)))
            return QStringLiteral("Cannot create the folder %1.").arg(root.filePath(QString::fromLatin1(sub)));

    const std::vector<SampleMap> maps = sample::SampleMaps();
    const QString stage = QString::fromLatin1(kStageDir) + '/';
    const QString npc = QString::fromLatin1(kNpcDir) + '/';
    const std::vector<std::pair<QString, QByteArray>> files = [&] {
        std::vector<std::pair<QString, QByteArray>> out;
        out.emplace_back(QStringLiteral("Doukutsu.exe"), Executable(maps, titles));
        for (const SampleMap& m : maps) {
            const QString base = stage + QString::fromLatin1(m.name);
            out.emplace_back(base + ".pxm", MapFileBytes(m));
            out.emplace_back(base + ".pxe", EntityFileBytes(m));
            out.emplace_back(base + ".tsc", EncodeScript(m.script));
        }
        // "Prt" where the program builds "prt": found only without regard to case.
        out.emplace_back(stage + "PrtGrotto.pbm", EncodeBitmap(sample::GrottoTileset(), 4));
        out.emplace_back(stage + "prtFoundry.pbm", EncodeBitmap(sample::FoundryTileset(), 8));
        out.emplace_back(stage + "prtPebble.pbm", EncodeBitmap(sample::PebbleTileset(), 24));
        // Pebble has no tile types: a missing file reads as all 0.
        out.emplace_back(stage + "Grotto.pxa", sample::GrottoTileTypes());
        out.emplace_back(stage + "foundry.pxa", sample::FoundryTileTypes());
        out.emplace_back(QStringLiteral("data/bkDusk.pbm"), EncodeBitmap(sample::DuskBackdrop(), 8));
        out.emplace_back(QStringLiteral("data/bkLattice.pbm"), EncodeBitmap(sample::LatticeBackdrop(), 1));
        out.emplace_back(QStringLiteral("data/bkTide.pbm"), EncodeBitmap(sample::TideBackdrop(), 24));
        out.emplace_back(QStringLiteral("data/bkEmber.pbm"), EncodeBitmap(sample::EmberBackdrop(), 4));
        out.emplace_back(npc + "NpcCommon.pbm", EncodeBitmap(sample::CommonSprites(), 4));
        out.emplace_back(npc + "NpcForest.pbm", EncodeBitmap(sample::ForestSprites(), 1));
        out.emplace_back(npc + "npcMech.pbm", EncodeBitmap(sample::MechSprites(), 8));
        out.emplace_back(npc + "NpcSym.pbm", EncodeBitmap(sample::NpcSymSheet(), 4));
        out.emplace_back(npc + "NpcRegu.pbm", EncodeBitmap(sample::NpcReguSheet(), 4));
        out.emplace_back(QStringLiteral("data/MyChar.pbm"), EncodeBitmap(sample::MyCharSheet(), 4));
        out.emplace_back(QStringLiteral("data/Caret.pbm"), EncodeBitmap(sample::CaretSheet(), 4));
        out.emplace_back(QStringLiteral("data/ItemImage.pbm"), EncodeBitmap(sample::ItemImageSheet(), 4));
        out.emplace_back(QStringLiteral("data/npc.tbl"), NpcTableFile());
        out.emplace_back(QStringLiteral("data/Head.tsc"), EncodeScript(HeadScript()));
        out.emplace_back(QStringLiteral("data/ArmsItem.tsc"), EncodeScript(ArmsItemScript()));
        out.emplace_back(QStringLiteral("data/StageSelect.tsc"), EncodeScript(StageSelectScript()));
        return out;
    }();

    for (const auto& [relative, bytes] : files) {
        if (const Outcome written = WriteFile(root, relative, bytes); !written.ok())
            return written;
    }
    return {};
}

} // namespace vorn
