#include "sampleart.h"

#include "tiletypes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace vorn::sample {

namespace {

// A cheap, repeatable scatter for speckles and stars.
quint32 Hash(quint32 seed, int x, int y)
{
    quint32 h = seed * 0x9E3779B1u ^ quint32(x) * 0x85EBCA77u ^ quint32(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// Colour roles the tile motifs paint with; each tileset maps them onto its
// own palette. Clear must be exactly black and Shade (0,0,1): the editor
// shows black tile pixels as backdrop and everything else as drawn.
enum Role {
    Clear,
    Shade,
    Dark,
    Mid,
    Light,
    LeafDark,
    Leaf,
    LeafLight,
    WaterDark,
    Water,
    WaterLight,
    Stone,
    StoneLight,
    White,
    Accent,
    Gold,
    RoleCount
};
using Theme = std::array<quint8, RoleCount>; // role -> palette index

struct TilePainter {
    PixelImage& image;
    const Theme& theme;
    int ox = 0, oy = 0;
    quint32 seed = 0;

    void dot(int x, int y, Role role)
    {
        if (x >= 0 && y >= 0 && x < 16 && y < 16)
            image.set(ox + x, oy + y, theme[role]);
    }
    void box(int x, int y, int w, int h, Role role)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                dot(i, j, role);
    }
    quint32 noise(int x, int y) const { return Hash(seed, x, y); }
};

// --- Tile motifs, each drawing one 16 x 16 square -------------------------

void Rock(TilePainter& p, Role base, int x0 = 0, int x1 = 16)
{
    for (int y = 0; y < 16; ++y)
        for (int x = x0; x < x1; ++x) {
            const quint32 n = p.noise(x, y);
            p.dot(x, y, n % 11 == 0 ? Dark : n % 13 == 0 ? Light : base);
        }
}

void Ledge(TilePainter& p)
{
    Rock(p, Mid);
    p.box(0, 8, 16, 8, Clear);
    p.box(0, 0, 16, 1, LeafLight);
    p.box(0, 1, 16, 2, Leaf);
    p.box(0, 7, 16, 1, Shade);
}

void Frame(TilePainter& p)
{
    p.box(0, 0, 16, 1, White);
    p.box(0, 15, 16, 1, White);
    p.box(0, 0, 1, 16, White);
    p.box(15, 0, 1, 16, White);
}

void Checker(TilePainter& p)
{
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if ((x + y) % 2)
                p.dot(x, y, Shade);
}

void Brick(TilePainter& p, Role base)
{
    p.box(0, 0, 16, 16, Dark);
    for (int y = 0; y < 16; ++y) {
        if (y % 4 == 3)
            continue;
        const int shift = (y / 4) % 2 ? 4 : 0;
        for (int x = 0; x < 16; ++x) {
            if ((x + shift) % 8 == 7)
                continue;
            p.dot(x, y, y % 4 == 0 ? Light : base);
        }
    }
}

void GrassTop(TilePainter& p)
{
    Rock(p, Mid);
    p.box(0, 0, 16, 4, Clear);
    for (int x = 0; x < 16; ++x) {
        const int blade = 1 + int(p.noise(x, 99) % 4);
        for (int y = 4 - blade; y < 4; ++y)
            p.dot(x, y, x % 3 ? Leaf : LeafLight);
    }
    p.box(0, 4, 16, 1, LeafDark);
}

void Spikes(TilePainter& p, bool hanging)
{
    for (int k = 0; k < 4; ++k)
        for (int d = 0; d < 8; ++d) {
            const int y = hanging ? d : 15 - d;
            const int half = (7 - d) / 3; // narrower towards the point
            for (int x = 4 * k + 1 - half; x <= 4 * k + 2 + half; ++x)
                p.dot(x, y, x <= 4 * k + 1 ? StoneLight : Stone);
        }
    p.box(0, hanging ? 0 : 15, 16, 1, Shade);
}

void Ladder(TilePainter& p, int top)
{
    p.box(3, top, 1, 16 - top, Light);
    p.box(4, top, 1, 16 - top, Dark);
    p.box(11, top, 1, 16 - top, Light);
    p.box(12, top, 1, 16 - top, Dark);
    for (int y = top + 1; y < 16; y += 4)
        p.box(5, y, 6, 1, Light);
}

void Waves(TilePainter& p, int top)
{
    p.box(0, top, 16, 16 - top, Water);
    for (int x = 0; x < 16; ++x) {
        p.dot(x, top + int((x + p.seed) % 4 == 0), WaterLight);
        for (int y = top + 3; y < 16; y += 5)
            if ((x + y + p.seed) % 7 < 3)
                p.dot(x, y, WaterDark);
    }
}

void Gem(TilePainter& p, Role body)
{
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int d = std::abs(2 * x - 15) + std::abs(2 * y - 15);
            if (d <= 12)
                p.dot(x, y, body);
            else if (d <= 14)
                p.dot(x, y, Shade);
        }
    p.dot(6, 5, White);
    p.dot(6, 6, White);
    p.dot(5, 6, White);
}

void Plant(TilePainter& p)
{
    p.box(7, 6, 2, 10, LeafDark);
    for (int i = 0; i < 4; ++i) {
        p.dot(6 - i, 10 - i / 2, Leaf);
        p.dot(9 + i, 12 - i / 2, Leaf);
    }
    p.box(6, 2, 4, 4, Accent);
    p.box(7, 3, 2, 2, Gold);
    p.box(5, 3, 1, 2, Shade);
    p.box(10, 3, 1, 2, Shade);
}

void Crate(TilePainter& p)
{
    p.box(1, 1, 14, 14, Mid);
    p.box(1, 1, 14, 1, Shade);
    p.box(1, 14, 14, 1, Shade);
    p.box(1, 1, 1, 14, Shade);
    p.box(14, 1, 1, 14, Shade);
    for (int i = 2; i < 14; ++i) {
        p.dot(i, i, Light);
        p.dot(15 - i, i, Light);
    }
}

void Pipe(TilePainter& p)
{
    p.box(0, 4, 16, 1, Shade);
    p.box(0, 5, 16, 1, StoneLight);
    p.box(0, 6, 16, 4, Stone);
    p.box(0, 10, 16, 1, Dark);
    p.box(0, 11, 16, 1, Shade);
    p.box(0, 4, 2, 8, StoneLight);
}

// A slope whose surface runs where the game's slope of tile type `type`
// runs: rock on its solid side, water on the other for the slopes in water.
void GameSlope(TilePainter& p, quint8 type)
{
    const SlopeSurface surface = *SlopeOf(type);
    const bool water = type >= 0x70;
    for (int x = 0; x < 16; ++x) {
        const int edge = (surface.leftY * (31 - 2 * x) + surface.rightY * (2 * x + 1)) / 32;
        for (int y = 0; y < 16; ++y) {
            if (surface.ceiling ? y < edge : y >= edge)
                p.dot(x, y,
                      y == (surface.ceiling ? edge - 1 : edge) ? (surface.ceiling ? Dark : Leaf)
                      : p.noise(x, y) % 9                      ? Mid
                                                               : Dark);
            else if (water)
                p.dot(x, y, (x + y + p.seed) % 7 == 0 ? WaterLight : Water);
        }
    }
}

// An arrow pointing left, up, right or down (0 to 3).
void Arrow(TilePainter& p, int direction, Role role)
{
    const auto put = [&](int along, int across) {
        switch (direction) {
        case 0:
            return p.dot(along, across, role);
        case 1:
            return p.dot(across, along, role);
        case 2:
            return p.dot(15 - along, across, role);
        default:
            return p.dot(across, 15 - along, role);
        }
    };
    for (int along = 2; along < 14; ++along) {
        put(along, 7);
        put(along, 8);
    }
    for (int along = 3; along < 8; ++along)
        for (int across = 8 - (along - 2); across <= 7 + (along - 2); ++across)
            put(along, across);
}

void Bars(TilePainter& p, bool crossed)
{
    for (int x = 1; x < 16; x += 4)
        p.box(x, 0, 2, 16, Stone);
    if (crossed)
        p.box(0, 7, 16, 2, StoneLight);
}

void Sparkle(TilePainter& p)
{
    const int cx = 4 + int(p.seed % 8), cy = 4 + int((p.seed / 8) % 8);
    for (int d = -2; d <= 2; ++d) {
        p.dot(cx + d, cy, Gold);
        p.dot(cx, cy + d, Gold);
    }
    p.dot(cx, cy, White);
    p.dot((cx + 7) % 16, (cy + 9) % 16, Light);
    p.dot((cx + 11) % 16, (cy + 3) % 16, Light);
}

void Mushroom(TilePainter& p)
{
    for (int y = 3; y < 9; ++y)
        for (int x = 2; x < 14; ++x) {
            const int dx = 2 * x - 15, dy = 2 * (y - 9);
            if (dx * dx + 4 * dy * dy <= 144)
                p.dot(x, y, Accent);
        }
    p.dot(5, 5, White);
    p.dot(9, 4, White);
    p.dot(11, 7, White);
    p.box(6, 9, 4, 7, StoneLight);
    p.box(5, 9, 1, 7, Shade);
    p.box(10, 9, 1, 7, Shade);
}

using Motif = void (*)(TilePainter&);
constexpr std::array<Motif, 20> kMotifs = {
    [](TilePainter& p) { Rock(p, Mid); },
    [](TilePainter& p) { Rock(p, Stone); },
    [](TilePainter& p) { Brick(p, Mid); },
    [](TilePainter& p) { Brick(p, Stone); },
    GrassTop,
    [](TilePainter& p) { Spikes(p, false); },
    [](TilePainter& p) { Ladder(p, 0); },
    [](TilePainter& p) { Waves(p, 0); },
    [](TilePainter& p) { Gem(p, Gold); },
    [](TilePainter& p) { Gem(p, Leaf); },
    Plant,
    Crate,
    Pipe,
    [](TilePainter& p) { GameSlope(p, quint8(0x54 + p.seed % 4)); }, // floor, one type per tile of the run
    [](TilePainter& p) { GameSlope(p, quint8(0x50 + p.seed % 4)); }, // ceiling
    Sparkle,
    Mushroom,
    [](TilePainter& p) { Spikes(p, true); },
    [](TilePainter& p) { Waves(p, 5); },
    Ledge,
};

// Tiles 16 and up are a cycle of motifs in runs of four.
int MotifOf(int tile) { return ((tile / 16) * 4 + (tile % 16) / 4) % int(kMotifs.size()); }

// Row 13 of the big tilesets: tiles for the tile types the motifs leave out.
void SpecialTile(TilePainter& p, int column)
{
    if (column >= 4 && column < 12)
        Waves(p, 0);
    switch (column) {
    case 0:
    case 1:
    case 2:
    case 3:
        return Arrow(p, column, Light); // wind
    case 4:
    case 5:
    case 6:
    case 7:
        return Arrow(p, column - 4, White); // currents
    case 8:
        return Rock(p, WaterDark); // solid in water
    case 9:
        return Spikes(p, false); // spikes in water
    case 10:
        return Bars(p, false); // stops shots
    case 11:
        return Frame(p); // stops entities
    case 12:
        return Bars(p, true);
    case 13:
        return Rock(p, Light);
    case 14:
        return Frame(p);
    default:
        return Gem(p, Accent);
    }
}

// The first row of every tileset holds the same fixed tiles (their colours
// follow the tileset's palette); the big tilesets' rows 13 and 14 hold
// special tiles and the slopes in water; the rest is a cycle of motifs.
void DrawTile(TilePainter& p, int tile)
{
    switch (tile) {
    case 0:
        return; // all clear
    case 1:
        Rock(p, Mid);
        return; // opaque, no black
    case 2:
        p.box(0, 0, 16, 16, Shade);
        return; // all (0,0,1)
    case 3:
        Rock(p, Mid, 0, 8);
        return; // left half opaque
    case 4:
        Ledge(p);
        return; // top half opaque
    case 5:
        Frame(p);
        return;
    case 6:
        Checker(p);
        return;
    case 7:
        Brick(p, Mid);
        return;
    case 8:
        GrassTop(p);
        return;
    case 9:
        Spikes(p, false);
        return;
    case 10:
        Ladder(p, 0);
        return;
    case 11:
        Waves(p, 0);
        return;
    case 12:
        Gem(p, Gold);
        return;
    case 13:
        Plant(p);
        return;
    case 14:
        Crate(p);
        return;
    case 15:
        Pipe(p);
        return;
    case 26:
        Gem(p, Accent);
        return;
    default:
        if (tile >= 208 && tile < 224)
            SpecialTile(p, tile - 208);
        else if (tile >= 224 && tile < 232)
            GameSlope(p, quint8(0x70 + tile - 224));
        else
            kMotifs[size_t(MotifOf(tile))](p);
    }
}

PixelImage DrawTileset(int columns, int rows, std::vector<Rgb> palette, const Theme& theme)
{
    PixelImage image(columns * 16, rows * 16, std::move(palette));
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const int tile = row * 16 + column;
            TilePainter p{image, theme, column * 16, row * 16, quint32(tile)};
            DrawTile(p, tile);
        }
    return image;
}

Theme IdentityTheme()
{
    Theme theme{};
    for (int i = 0; i < RoleCount; ++i)
        theme[i] = quint8(i);
    return theme;
}

// 256 entries with the roles' colours at `theme` and a smooth filler
// elsewhere, none of it black.
std::vector<Rgb> SpreadPalette(const std::array<Rgb, RoleCount>& roles, const Theme& theme)
{
    std::vector<Rgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = Rgb{quint8(32 + i / 2), quint8(255 - i / 2), quint8(96 + i / 4)};
    for (int r = 0; r < RoleCount; ++r)
        palette[theme[r]] = roles[r];
    return palette;
}

QByteArray BigTilesetTypes(quint8 water)
{
    // Per motif; the slopes add the tile's place in its run of four.
    static constexpr std::array<quint8, kMotifs.size()> kMotifTypes = {
        0x41, 0x41, 0x41, 0x41, 0x41, 0x42, 0x00, 0x00 /* water */, 0x00, 0x00, 0x00, 0x43, 0x41,
        0x54, 0x50, 0x00, 0x00, 0x42, 0x60, 0x41};
    static constexpr std::array<quint8, 16> kFirstRow = {
        0x00, 0x41, 0x41, 0x41, 0x41, 0x03, 0x44, 0x41, 0x41, 0x42, 0x00, 0x00 /* water */, 0x00, 0x00, 0x43, 0x41};
    static constexpr std::array<quint8, 16> kSpecialRow = {0x80, 0x81, 0x82, 0x83, 0xA0, 0xA1, 0xA2, 0xA3,
                                                           0x61, 0x62, 0x64, 0x04, 0x05, 0x46, 0x03, 0x1F};
    QByteArray types(256, '\0');
    for (int tile = 0; tile < 240; ++tile) {
        quint8 type;
        if (tile < 16)
            type = tile == 11 ? water : kFirstRow[size_t(tile)];
        else if (tile == 26)
            type = 0x00;
        else if (tile >= 208 && tile < 224)
            type = kSpecialRow[size_t(tile - 208)];
        else if (tile >= 224 && tile < 232)
            type = quint8(0x70 + tile - 224);
        else {
            const int motif = MotifOf(tile);
            type = motif == 7 ? water : kMotifTypes[size_t(motif)];
            if (type == 0x54 || type == 0x50)
                type = quint8(type + tile % 4);
        }
        types[tile] = char(type);
    }
    // The game's commonest types that change nothing but the drawing order.
    types[240] = char(0x01);
    types[241] = char(0x40);
    types[242] = char(0x45);
    return types;
}

} // namespace

PixelImage GrottoTileset()
{
    std::vector<Rgb> palette = {
        {0, 0, 0},       {0, 0, 1},       {72, 40, 24},  {136, 88, 48},  {200, 152, 96},  {24, 88, 40},
        {64, 160, 64},   {160, 216, 96},  {24, 40, 104}, {56, 104, 200}, {136, 192, 248}, {112, 112, 128},
        {184, 184, 196}, {248, 248, 248}, {200, 48, 48}, {240, 200, 64},
    };
    return DrawTileset(16, 15, std::move(palette), IdentityTheme());
}

PixelImage FoundryTileset()
{
    const std::array<Rgb, RoleCount> roles = {{
        {0, 0, 0},
        {0, 0, 1},
        {60, 44, 52},
        {120, 96, 88},
        {196, 140, 96},
        {40, 72, 72},
        {72, 136, 128},
        {144, 208, 192},
        {64, 24, 24},
        {200, 88, 24},
        {248, 184, 72},
        {88, 96, 112},
        {160, 168, 184},
        {240, 240, 232},
        {48, 160, 216},
        {232, 216, 96},
    }};
    // Roles spread over the palette so that the indices differ from the
    // 16-colour tileset's and readers must honour the full palette.
    Theme theme{};
    theme[Clear] = 0;
    for (int r = 1; r < RoleCount; ++r)
        theme[r] = quint8(r * 16 + 3);
    return DrawTileset(16, 15, SpreadPalette(roles, theme), theme);
}

PixelImage PebbleTileset()
{
    std::vector<Rgb> palette = {
        {0, 0, 0},       {0, 0, 1},       {80, 64, 96},   {144, 120, 168}, {208, 184, 224}, {48, 96, 96},
        {96, 168, 144},  {176, 232, 200}, {40, 56, 120},  {88, 128, 216},  {168, 208, 248}, {128, 120, 112},
        {200, 192, 184}, {252, 252, 244}, {232, 96, 128}, {248, 216, 120},
    };
    return DrawTileset(8, 4, std::move(palette), IdentityTheme());
}

QByteArray GrottoTileTypes() { return BigTilesetTypes(0x02); }
QByteArray FoundryTileTypes() { return BigTilesetTypes(0x60); }

PixelImage DuskBackdrop()
{
    std::vector<Rgb> palette(256, Rgb{52, 32, 64});
    for (int i = 0; i < 64; ++i) // sky from violet at the top to orange
        palette[i] = Rgb{quint8(40 + i * 3), quint8(24 + i * 26 / 16 - i / 2), quint8(72)};
    palette[64] = Rgb{255, 240, 200}; // star
    palette[65] = Rgb{52, 32, 64}; // hills
    PixelImage image(48, 64, std::move(palette));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 48; ++x)
            image.set(x, y, quint8(y));
    for (int x = 0; x < 48; ++x) {
        const int ridge = 50 + int(5 * std::sin(x * 2 * M_PI / 48) + 2 * std::sin(x * 6 * M_PI / 48));
        image.fill(x, ridge, 1, 64 - ridge, 65);
    }
    for (int i = 0; i < 9; ++i) {
        const quint32 h = Hash(7, i, 0);
        image.set(int(h % 48), int((h >> 8) % 30), 64);
    }
    return image;
}

PixelImage LatticeBackdrop()
{
    PixelImage image(64, 64, {{24, 56, 72}, {72, 136, 152}});
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x + y) % 16 < 2 || (x - y + 64) % 16 < 2)
                image.set(x, y, 1);
    return image;
}

PixelImage TideBackdrop()
{
    std::vector<Rgb> palette(32);
    for (int i = 0; i < 32; ++i)
        palette[i] = Rgb{quint8(16 + i * 3), quint8(48 + i * 5), quint8(96 + i * 5)};
    PixelImage image(96, 80, std::move(palette));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 96; ++x) {
            const double wave = 3 * std::sin((x + 2 * y) * 2 * M_PI / 48) + 2 * std::sin(x * 2 * M_PI / 32);
            const int shade = 24 - y * 20 / 80 + int(wave);
            image.set(x, y, quint8(std::clamp(shade, 0, 31)));
        }
    return image;
}

PixelImage EmberBackdrop()
{
    std::vector<Rgb> palette(16);
    for (int i = 0; i < 16; ++i)
        palette[i] = Rgb{quint8(60 + i * 12), quint8(20 + i * 6), quint8(16 + i * 2)};
    PixelImage image(40, 56, std::move(palette));
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool mortar = y % 7 == 6 || (x + (y / 7 % 2) * 5) % 10 == 9;
            image.set(x, y, quint8(mortar ? 15 : 2 + Hash(3, x, y) % 6));
        }
    return image;
}

} // namespace vorn::sample
