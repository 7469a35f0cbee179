#include "samplemaps.h"

#include "entitytypes.h"
#include "samplesprites.h"

#include <QMap>
#include <algorithm>
#include <cstring>
#include <array>
#include <cmath>
#include <set>

namespace vorn::sample {

namespace {

// A small repeatable generator, so every run writes the same game.
struct Random {
    quint32 state;
    quint32 next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int below(int n) { return int(next() % quint32(n)); }
};

struct Grid {
    int width, height;
    QByteArray cells;
    Grid(int w, int h)
        : width(w)
        , height(h)
        , cells(w * h, '\0')
    {
    }
    quint8 at(int x, int y) const { return quint8(cells[y * width + x]); }
    void set(int x, int y, int tile)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            cells[y * width + x] = char(tile);
    }
};

// Drawn maps: one character per cell, through a legend of tile numbers.
Grid FromRows(const std::vector<const char*>& rows, const QMap<char, int>& legend)
{
    Grid grid(int(std::strlen(rows[0])), int(rows.size()));
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width && rows[y][x]; ++x)
            grid.set(x, y, legend.value(rows[y][x], 0));
    return grid;
}

const QMap<char, int> kLegend = {
    {'.', 0},
    {'#', 1},
    {'s', 2},
    {'h', 3},
    {'=', 4},
    {'f', 5},
    {'c', 6},
    {'b', 7},
    {'g', 8},
    {'^', 9},
    {'H', 10},
    {'~', 11},
    {'*', 12},
    {'p', 13},
    {'x', 14},
    {'-', 15},
    {'R', 26},
    // slopes, by the tile type the big tilesets give them
    {'L', 52},
    {'M', 53},
    {'y', 54},
    {'Y', 55}, // floor 0x54 to 0x57
    {'1', 56},
    {'2', 57},
    {'3', 58},
    {'4', 59}, // ceiling 0x50 to 0x53
    {'5', 228},
    {'6', 229},
    {'7', 230},
    {'8', 231}, // floor in water 0x74 to 0x77
    {'w', 72},
    {'v', 217}, // water in front 0x60, spikes in water 0x62
};

Grid Hollow()
{
    return FromRows(
        {
            "####################",
            "#.............3412.#",
            "#.*..........R.....#",
            "#..fc.....====.....#",
            "#..........H.......#",
            "#ggg.......H....p..#",
            "####=......H..gggg.#",
            "#..........H..####.#",
            "#...x..gggggg.####.#",
            "#..xx..######.sss..#",
            "#ggggg.######.....-#",
            "######.bbbbbbyY#LM^#",
            "######wwwwwwwgggggg#",
            "######56~v~78#######",
            "####################",
        },
        kLegend);
}

// Tiles a generated cave is made of.
struct CaveTiles {
    int solid;
    int surface;
    int ledge;
    std::vector<int> decor; // stands on a surface
    std::vector<int> scenery; // scattered in open space
};

// Rolling ground, a ragged ceiling, floating ledges and some decoration;
// tall maps get extra rock bands with gaps so they are not one open hall.
Grid Cave(int width, int height, quint32 seed, const CaveTiles& tiles)
{
    Grid grid(width, height);
    Random rnd{seed};
    const double phase = seed % 97;
    auto ground = [&](int x) {
        const double wave = std::sin((x + phase) / 9.0) * 2.5 + std::sin((x + 2 * phase) / 23.0) * 3.0;
        return height - 4 - std::min(height / 4, 6) + int(std::lround(wave));
    };
    for (int x = 0; x < width; ++x) {
        const int top = std::clamp(ground(x), 2, height - 1);
        for (int y = top; y < height; ++y)
            grid.set(x, y, y == top ? tiles.surface : tiles.solid);
        const int ceiling = 1 + int((std::sin((x + phase) / 5.0) + 1.0) * 1.2);
        for (int y = 0; y < ceiling && y < top; ++y)
            grid.set(x, y, tiles.solid);
    }
    for (int band = 40; band < height - 30; band += 40)
        for (int x = 0; x < width; ++x)
            if ((x / 12) % 4 != 1) {
                grid.set(x, band, tiles.surface);
                grid.set(x, band + 1, tiles.solid);
            }
    for (int i = 0; i < width * height / 70; ++i) {
        const int x = rnd.below(width), y = 3 + rnd.below(std::max(1, height - 6));
        const int length = 3 + rnd.below(6);
        for (int k = 0; k < length && x + k < width; ++k)
            if (grid.at(x + k, y) == 0)
                grid.set(x + k, y, tiles.ledge);
    }
    for (int y = 1; y < height - 1; ++y)
        for (int x = 0; x < width; ++x) {
            if (grid.at(x, y) != 0)
                continue;
            const quint8 below = grid.at(x, y + 1);
            if ((below == tiles.surface || below == tiles.ledge) && rnd.below(6) == 0)
                grid.set(x, y, tiles.decor[rnd.below(int(tiles.decor.size()))]);
            else if (!tiles.scenery.empty() && rnd.below(40) == 0)
                grid.set(x, y, tiles.scenery[rnd.below(int(tiles.scenery.size()))]);
        }
    for (int x = 0; x < width; ++x) {
        grid.set(x, 0, tiles.solid);
        grid.set(x, height - 1, tiles.solid);
    }
    for (int y = 0; y < height; ++y) {
        grid.set(0, y, tiles.solid);
        grid.set(width - 1, y, tiles.solid);
    }
    return grid;
}

std::vector<int> Range(int from, int to)
{
    std::vector<int> out;
    for (int t = from; t <= to; ++t)
        out.push_back(t);
    return out;
}

const CaveTiles kBigTiles{1, 8, 4, {12, 13, 14, 26, 9}, Range(16, 239)};
// Only tiles inside the 128 x 64 tileset: columns 0-7 of rows 0-3.
const CaveTiles kPebbleTiles{1, 7, 4, {5, 6, 3}, {16, 17, 18, 19, 20, 21, 22, 23, 32, 35, 38, 48, 50, 55}};

// The types the sample draws, from every sheet; the second stage sheet's
// only for a stage that names one.
std::vector<int> Cast(bool secondSheet)
{
    std::vector<int> types;
    for (const int sheet : {kSheetNpcSym, kSheetStageNpc1, kSheetStageNpc2, kSheetNpcRegu, kSheetMyChar, kSheetCaret,
                            kSheetItemImage, kSheetTileset})
        if (sheet != kSheetStageNpc2 || secondSheet)
            for (const int type : CastOn(sheet))
                types.push_back(type);
    return types;
}

// Varied types of `cast`, flags, script numbers and a few negative fields,
// every position inside the map.
std::vector<EntityRecord> Scatter(int count, int width, int height, quint32 seed, const std::vector<int>& cast)
{
    Random rnd{seed};
    std::vector<EntityRecord> out;
    for (int k = 0; k < count; ++k) {
        EntityRecord e;
        e.X = qint16(rnd.below(width));
        e.Y = qint16(rnd.below(height));
        e.Type = qint16(cast[size_t(rnd.below(int(cast.size())))]);
        e.Flag = qint16(k % 4 == 0 ? 0 : 1000 + rnd.below(7000));
        e.TSC = qint16(k % 3 == 0 ? 0 : 100 + 10 * rnd.below(40));
        e.Unknown = qint16(k % 9 == 0 ? 0x1000 : 0);
        if (k % 37 == 5)
            e.Unknown = -1;
        if (k % 53 == 11)
            e.Flag = -300;
        out.push_back(e);
    }
    return out;
}

// Readable script text with an event for each of the stage's entities'
// event numbers, so that only the faults put in on purpose are found.
QByteArray Script(const QByteArray& title, const std::vector<EntityRecord>& entities)
{
    static const std::array<const char*, 5> kLines = {
        "A cold draft rises from below.",     "Something glints in the dark.", "The lantern flickers but holds.",
        "Old gears turn somewhere far away.", "Moss muffles every step here.",
    };
    QByteArray text;
    text += "#0090\r\n<MNA<CMU0008<FAI0000<END\r\n";
    text += "#0091\r\n<MNA<CMU0008<FAI0001<END\r\n";
    text += "#0100\r\n<KEY<MSGWelcome to " + title.trimmed() + ".<NOD<CLO<END\r\n";
    std::set<int> events;
    for (const EntityRecord& e : entities)
        if (e.TSC > 100)
            events.insert(e.TSC);
    int line = 0;
    for (int event : events)
        text += "#" + QByteArray::number(event).rightJustified(4, '0') + "\r\n<KEY<MSG" +
                kLines[line++ % kLines.size()] + "<NOD<CLO<END\r\n";
    return text;
}

// The row an entity standing in column `x` takes: the lowest open cell
// with ground below it.
qint16 Standing(const Grid& grid, int x)
{
    for (int y = grid.height - 2; y > 0; --y)
        if (grid.at(x, y) == 0 && grid.at(x, y + 1) != 0)
            return qint16(y);
    return 1;
}

SampleMap Make(int stage, const char* name, const char* tileset, const char* backdrop, const char* sprites,
               const char* sheet2, const char* title, qint32 parallax, const Grid& grid,
               std::vector<EntityRecord> entities)
{
    SampleMap m;
    m.stage = stage;
    m.name = name;
    m.tileset = tileset;
    m.backdrop = backdrop;
    m.spriteSet = sprites;
    m.sheet2 = sheet2;
    m.title = title;
    m.parallax = parallax;
    m.width = grid.width;
    m.height = grid.height;
    m.cells = grid.cells;
    m.entityCount = int(entities.size());
    m.entities = std::move(entities);
    m.script = Script(m.title, m.entities);
    return m;
}

} // namespace

std::vector<SampleMap> SampleMaps()
{
    std::vector<SampleMap> maps;
    const std::vector<int> cast = Cast(true), castOneSheet = Cast(false);

    // One entity from each sheet but the caret's and the tileset's, and one
    // with no frame at all.
    maps.push_back(Make(13, "Hollow", "Grotto", "bkDusk", "Common", "Forest", "Mossy Hollow", 1, Hollow(),
                        {
                            {2, 2, 0, 200, 1, 0}, // experience crystal, NpcSym
                            {5, 9, 0, 100, 2, 0}, // Behemoth, stage sheet 1, standing on its cell
                            {17, 5, 501, 300, 150, 0}, // Quote, MyChar
                            {10, 13, -1, -20, 236, -1}, // gunfish, stage sheet 2, facing right among all the bits
                            {11, 2, 0, 0, 60, 0x1100}, // Toroko, NpcRegu, facing right
                            {1, 4, 7999, 90, 278, 0}, // little family, ItemImage
                            {19, 14, 0, 0, 3, 0}, // dead enemy placeholder: a 0 x 0 frame
                        }));
    // A flag, an entity event, a type and a stage in use, for finding them.
    maps.back().script += "#0400\r\n<KEY<FL+0501<CNP0300:0060:0000<TRA0012:0090:0005:0005\r\n";

    maps.push_back(Make(14, "Ledges", "Foundry", "bkEmber", "Mech", "Common", "Rusted Ledges", 2,
                        Cave(224, 112, 14, kBigTiles), Scatter(180, 224, 112, 1400, cast)));

    maps.push_back(Make(15, "Expanse", "Grotto", "bkLattice", "Forest", "Mech", "The Endless Expanse", 0,
                        Cave(513, 513, 15, kBigTiles), Scatter(256, 513, 513, 1500, cast)));

    Grid nook = Cave(24, 16, 16, kPebbleTiles);
    nook.set(1, 1, 8); // right of the small tileset
    nook.set(2, 1, 64); // below it
    nook.set(3, 1, 255); // beyond both
    nook.set(4, 1, 7); // inside
    maps.push_back(Make(16, "Nook", "Pebble", "bkTide", "Common", "0", "Pebble Nook", 3, nook,
                        Scatter(12, 24, 16, 1600, castOneSheet)));

    // Its second sheet's file is missing; the first entities are the cases
    // the other stages leave out.
    const Grid ridge = Cave(64, 24, 17, kBigTiles);
    std::vector<EntityRecord> ridgeEntities = Scatter(20, 64, 24, 1700, cast);
    const std::array<qint16, 4> firstTypes = {400, 233, 149, 183}; // unknown, sheet 2, tileset, caret
    for (size_t k = 0; k < firstTypes.size(); ++k) {
        EntityRecord& e = ridgeEntities[k];
        e.X = qint16(3 + 3 * k);
        e.Y = Standing(ridge, e.X);
        e.Type = firstTypes[k];
        e.Unknown = qint16(k == 1 ? kFacesRightBit : 0);
    }
    maps.push_back(Make(17, "Ridge", "Grotto", "bkTide", "Forest", kMissingSheetName,
                        "Lanterns Along The Winding Ridge", 4, ridge, ridgeEntities));

    SampleMap sluice = Make(18, "Sluice", "Foundry", "bkLattice", "Mech", "", "Old Sluice Gate", 5,
                            Cave(40, 30, 18, kBigTiles), Scatter(8, 40, 30, 1800, castOneSheet));
    sluice.entityCount = 6; // two more records lie behind the count
    sluice.mapTail = "left behind here";
    maps.push_back(sluice);

    maps.push_back(
        Make(19, "Vault", "Grotto", "bkEmber", "Common", "Mech", "Silent Vault", 7, Cave(30, 20, 19, kBigTiles), {}));

    maps.push_back(Make(12, "Burrow", "Foundry", "bkDusk", "Forest", "0", "Lantern Burrow", 9,
                        Cave(50, 40, 12, kBigTiles), Scatter(30, 50, 40, 1200, castOneSheet)));
    return maps;
}

} // namespace vorn::sample
