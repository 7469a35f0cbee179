#include "samplesprites.h"

#include "entitytypes.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vorn::sample {

namespace {

enum class Look {
    Blank,
    Tiles, // drawn by nobody here
    Creature,
    Bat,
    Fish,
    Jelly,
    Person,
    Gem,
    Chest,
    Screen,
    Disk,
    Door,
    Sign,
    Fire,
    Pot,
    Heart,
    Field,
    Puff,
    Sparkle,
    Bubble,
    Drop,
};
enum Hue { Red, Green, Blue, Gold, Grey, Brown, HueCount };

struct Role {
    int type;
    Look look;
    Hue hue;
};

// Every type the sample places, with what its picture shows. Frames of one
// sheet never overlap (the two stage sheet numbers count as one sheet).
constexpr Role kCast[] = {
    // NpcSym
    {0, Look::Blank, Grey},
    {1, Look::Gem, Gold},
    {4, Look::Puff, Grey},
    {13, Look::Field, Blue},
    {15, Look::Chest, Brown},
    {16, Look::Disk, Blue},
    {17, Look::Heart, Red},
    {18, Look::Door, Brown},
    {20, Look::Screen, Grey},
    {32, Look::Gem, Red},
    {37, Look::Sign, Brown},
    {38, Look::Fire, Red},
    {39, Look::Sign, Blue},
    {70, Look::Sparkle, Gold},
    {78, Look::Pot, Brown},
    {87, Look::Heart, Red},
    {253, Look::Gem, Green},
    // the stage's first sheet
    {2, Look::Creature, Grey},
    {5, Look::Creature, Green},
    {6, Look::Creature, Blue},
    {26, Look::Bat, Blue},
    {64, Look::Creature, Blue},
    {74, Look::Person, Grey},
    {93, Look::Person, Red},
    {95, Look::Jelly, Blue},
    {110, Look::Creature, Green},
    {142, Look::Creature, Gold},
    // the stage's second sheet
    {233, Look::Bat, Red},
    {236, Look::Fish, Blue},
    {269, Look::Bat, Red},
    {308, Look::Bat, Gold},
    // NpcRegu
    {40, Look::Person, Red},
    {42, Look::Person, Gold},
    {60, Look::Person, Green},
    {61, Look::Person, Grey},
    {113, Look::Person, Blue},
    {117, Look::Person, Gold},
    // MyChar, Caret, ItemImage
    {150, Look::Person, Red},
    {73, Look::Drop, Blue},
    {183, Look::Bubble, Blue},
    {278, Look::Person, Green},
    // the tileset
    {149, Look::Tiles, Grey},
    {319, Look::Tiles, Grey},
};

enum Ink { Clear, Line, Body, Light, Accent, Eye, Pupil };

// A sheet's palette indices for the inks; body and light per hue.
struct Inks {
    quint8 line, eye, pupil;
    std::array<quint8, HueCount> body, light;
};

// One frame, drawn facing left; `mirror` flips it to face right.
struct Sprite {
    PixelImage& image;
    const Inks& inks;
    Hue hue;
    int ox, oy, w, h;
    bool mirror;

    quint8 index(Ink ink) const
    {
        switch (ink) {
        case Clear:
            return 0;
        case Line:
            return inks.line;
        case Body:
            return inks.body[hue];
        case Light:
            return inks.light[hue];
        case Accent:
            return inks.light[(hue + 3) % HueCount];
        case Eye:
            return inks.eye;
        case Pupil:
            return inks.pupil;
        }
        return 0;
    }
    void dot(int x, int y, Ink ink)
    {
        if (x >= 0 && y >= 0 && x < w && y < h)
            image.set(ox + (mirror ? w - 1 - x : x), oy + y, index(ink));
    }
    void box(int x, int y, int bw, int bh, Ink ink)
    {
        for (int j = y; j < y + bh; ++j)
            for (int i = x; i < x + bw; ++i)
                dot(i, j, ink);
    }
    // An ellipse filling the box.
    void oval(int x, int y, int bw, int bh, Ink ink)
    {
        const qint64 w2 = qint64(bw) * bw, h2 = qint64(bh) * bh;
        for (int j = 0; j < bh; ++j)
            for (int i = 0; i < bw; ++i) {
                const qint64 dx = 2 * i + 1 - bw, dy = 2 * j + 1 - bh;
                if (dx * dx * h2 + dy * dy * w2 <= w2 * h2)
                    dot(x + i, y + j, ink);
            }
    }
    // A rhombus touching the box's sides.
    void diamond(int x, int y, int bw, int bh, Ink ink)
    {
        for (int j = 0; j < bh; ++j)
            for (int i = 0; i < bw; ++i)
                if (std::abs(2 * i + 1 - bw) * bh + std::abs(2 * j + 1 - bh) * bw <= bw * bh)
                    dot(x + i, y + j, ink);
    }
    // Filled and outlined.
    void blob(int x, int y, int bw, int bh, Ink fill)
    {
        oval(x, y, bw, bh, Line);
        oval(x + 1, y + 1, bw - 2, bh - 2, fill);
    }
    // An eye looking to the front (left).
    void eye(int x, int y, int size)
    {
        box(x, y, size, size, Eye);
        box(x, y + size / 2, std::max(1, size / 2), std::max(1, size / 2), Pupil);
    }
};

// --- What the frames show, facing left --------------------------------------

void Creature(Sprite& s)
{
    const int feet = std::max(1, s.h / 8);
    const int body = s.h - feet;
    s.blob(0, 0, s.w, body, Body);
    s.oval(s.w / 3, body / 2, s.w / 2, body / 3, Light);
    s.eye(s.w / 5, body / 4, std::max(2, s.w / 8));
    s.dot(s.w / 4, 1, Accent);
    s.dot(s.w / 4 - 1, 0, Accent);
    const int foot = std::max(1, s.w / 8);
    s.box(s.w / 4, body, foot, feet, Line);
    s.box(s.w * 5 / 8, body, foot, feet, Line);
}

void Bat(Sprite& s)
{
    const int bodyW = std::max(4, s.w * 3 / 8), bodyX = (s.w - bodyW) / 2;
    for (int x = 0; x < s.w; ++x) { // wings, raised towards their tips
        const int out = x < bodyX ? bodyX - x : x - (bodyX + bodyW) + 1;
        if (out <= 0)
            continue;
        const int top = s.h / 3 - out * s.h / (3 * std::max(1, bodyX));
        const int bottom = s.h * 2 / 3 - out * s.h / (4 * std::max(1, bodyX)) - (x % 3 == 0);
        s.box(x, top, 1, bottom - top, Body);
        s.dot(x, top, Line);
        s.dot(x, bottom - 1, Line);
    }
    s.blob(bodyX, s.h / 4, bodyW, s.h / 2 + 1, Body);
    s.box(bodyX + 2, s.h / 2, bodyW - 3, s.h / 8, Light);
    s.eye(bodyX + 1, s.h / 3, 2);
    s.dot(bodyX + 1, s.h / 4 - 1, Line); // ears
    s.dot(bodyX + bodyW - 2, s.h / 4 - 1, Line);
}

void Fish(Sprite& s)
{
    const int body = s.w * 3 / 4;
    const int tail = s.w - body + 2;
    for (int x = body - 2; x < s.w; ++x) {
        const int half = 1 + (x - (body - 2)) * s.h / (3 * tail);
        s.box(x, s.h / 2 - half, 1, 2 * half, Body);
        s.dot(x, s.h / 2 - half, Line);
        s.dot(x, s.h / 2 + half - 1, Line);
    }
    s.blob(0, s.h / 4, body, s.h / 2, Body);
    s.oval(s.w / 6, s.h / 2, body / 2, std::max(2, s.h / 8), Light);
    for (int k = 0; k < s.w / 6; ++k) // fin
        s.box(s.w / 3 + k, s.h / 4 - (s.w / 6 - k) / 2, 1, (s.w / 6 - k) / 2 + 1, Accent);
    s.eye(s.w / 8, s.h / 2 - s.h / 8, 2);
}

void Jelly(Sprite& s)
{
    const int dome = s.h * 2 / 3;
    s.blob(1, 0, s.w - 2, dome, Body);
    s.box(s.w / 4, 2, 2, 2, Light);
    for (int x = 3; x < s.w - 2; x += 3)
        s.box(x, dome - 1, 1, s.h - dome - x % 2, Line);
    s.eye(3, dome / 2, 2);
}

void Person(Sprite& s)
{
    const int head = s.h / 2;
    const int feet = std::max(1, s.h / 8);
    s.blob(s.w / 8, 0, s.w * 3 / 4, head + 1, Light);
    s.box(s.w / 8 + 1, 0, s.w * 3 / 4 - 2, std::max(1, head / 4), Accent); // hair
    s.box(s.w * 5 / 8, 1, std::max(1, s.w / 4 - 1), head / 2, Accent); // at the back
    s.eye(s.w / 4, head / 2, std::max(1, s.w / 8));
    s.blob(s.w / 4, head, s.w / 2, s.h - head - feet + 1, Body);
    s.box(s.w / 8, head + 1, std::max(1, s.w / 8), std::max(1, (s.h - head) / 3), Line); // arm
    s.box(s.w / 4, s.h - feet, std::max(1, s.w / 4), feet, Line);
    s.box(s.w / 2 + 1, s.h - feet, std::max(1, s.w / 4), feet, Line);
}

void Gem(Sprite& s)
{
    s.diamond(0, 0, s.w, s.h, Line);
    s.diamond(1, 1, s.w - 2, s.h - 2, Body);
    s.diamond(s.w / 4, s.h / 4, s.w / 4, s.h / 4, Light);
    s.dot(s.w / 3, s.h / 3, Eye);
}

void Chest(Sprite& s)
{
    s.box(0, s.h / 4, s.w, s.h - s.h / 4, Line);
    s.box(1, s.h / 4 + 1, s.w - 2, s.h - s.h / 4 - 2, Body);
    s.box(1, s.h / 4 + 1, s.w - 2, 1, Light);
    s.box(1, s.h / 2, s.w - 2, 1, Line);
    s.box(s.w / 2 - 1, s.h / 2 - 1, 2, 3, Accent);
}

void Screen(Sprite& s)
{
    s.box(0, 0, s.w, s.h - 4, Line);
    s.box(1, 1, s.w - 2, s.h - 6, Body);
    s.box(3, 3, s.w - 6, s.h - 10, Accent);
    for (int y = 5, k = 0; y < s.h - 8; y += 3, ++k) // text, ragged on the right
        s.box(5, y, (s.w - 10) * (3 - k % 3) / 3, 1, Line);
    s.box(s.w / 2 - 2, s.h - 4, 4, 2, Line);
    s.box(s.w / 4, s.h - 2, s.w / 2, 2, Line);
}

void Disk(Sprite& s)
{
    s.box(1, 1, s.w - 2, s.h - 2, Line);
    s.box(2, 2, s.w - 4, s.h - 4, Body);
    s.box(4, 2, s.w - 8, s.h / 2 - 2, Eye);
    s.box(5, s.h - 6, s.w - 8, 4, Light);
    s.box(6, s.h - 5, 2, 2, Line);
}

void Door(Sprite& s)
{
    s.oval(1, 0, s.w - 2, 8, Line);
    s.box(1, 4, s.w - 2, s.h - 4, Line);
    s.oval(2, 1, s.w - 4, 6, Body);
    s.box(2, 4, s.w - 4, s.h - 5, Body);
    for (int x = 5; x < s.w - 2; x += 4)
        s.box(x, 4, 1, s.h - 5, Line);
    s.box(3, s.h / 2, 2, 2, Accent); // the handle
}

void Sign(Sprite& s)
{
    s.box(s.w / 2 - 1, s.h / 2, 2, s.h / 2, Line);
    s.box(0, 1, s.w, s.h / 2 + 1, Line);
    s.box(1, 2, s.w - 2, s.h / 2 - 1, Light);
    s.box(3, 4, s.w - 6, 1, Body); // text, flush left
    s.box(3, 6, s.w / 2 - 2, 1, Body);
}

void Fire(Sprite& s)
{
    for (int k = 0; k < 3; ++k) {
        const int cx = 3 + k * (s.w - 6) / 2, tall = s.h / 2 + (k == 1 ? 2 : 0);
        for (int d = 0; d < tall; ++d) {
            const int half = (tall - d) / 3;
            s.box(cx - half, s.h - 5 - d, 2 * half + 1, 1, d > tall / 2 ? Accent : Light);
        }
    }
    s.box(0, s.h - 5, s.w, 5, Line);
    s.box(1, s.h - 4, s.w - 2, 3, Body);
}

void Pot(Sprite& s)
{
    s.blob(1, s.h / 4, s.w - 2, s.h - s.h / 4, Body);
    s.box(s.w / 4, s.h / 4 - 1, s.w / 2, 3, Line);
    s.box(0, s.h / 2, 2, 2, Line); // the spout
    s.box(s.w / 3, s.h / 2, 2, 3, Light);
}

void Heart(Sprite& s)
{
    s.oval(1, 2, s.w / 2, s.h / 2, Body);
    s.oval(s.w / 2 - 1, 2, s.w / 2, s.h / 2, Body);
    for (int y = s.h / 2; y < s.h - 2; ++y) {
        const int half = (s.h - 2 - y) * s.w / s.h;
        s.box(s.w / 2 - half, y, 2 * half, 1, Body);
    }
    s.box(4, 4, 2, 2, Light);
}

void Field(Sprite& s)
{
    for (int x = 0; x < s.w; ++x)
        s.box(x, 0, 1, s.h, x % 4 == 0 ? Light : x % 2 ? Body : Line);
}

void Puff(Sprite& s)
{
    s.oval(0, s.h / 3, s.w / 2, s.h / 2, Body);
    s.oval(s.w / 3, 1, s.w / 2 + 1, s.h / 2 + 1, Light);
    s.oval(s.w / 4, s.h / 2 - 1, s.w * 2 / 3, s.h / 2, Light);
}

void Sparkle(Sprite& s)
{
    s.box(s.w / 2 - 1, 1, 2, s.h - 2, Light);
    s.box(1, s.h / 2 - 1, s.w - 2, 2, Light);
    s.box(s.w / 2 - 2, s.h / 2 - 2, 4, 4, Body);
    s.box(s.w / 2 - 1, s.h / 2 - 1, 2, 2, Eye);
}

void Bubble(Sprite& s)
{
    s.oval(0, 0, s.w, s.h, Light);
    s.oval(2, 2, s.w - 4, s.h - 4, Clear);
    s.box(s.w / 4, s.h / 4, 2, 2, Eye);
}

void Draw(Sprite& s, Look look)
{
    switch (look) {
    case Look::Blank:
    case Look::Tiles:
        return;
    case Look::Creature:
        return Creature(s);
    case Look::Bat:
        return Bat(s);
    case Look::Fish:
        return Fish(s);
    case Look::Jelly:
        return Jelly(s);
    case Look::Person:
        return Person(s);
    case Look::Gem:
        return Gem(s);
    case Look::Chest:
        return Chest(s);
    case Look::Screen:
        return Screen(s);
    case Look::Disk:
        return Disk(s);
    case Look::Door:
        return Door(s);
    case Look::Sign:
        return Sign(s);
    case Look::Fire:
        return Fire(s);
    case Look::Pot:
        return Pot(s);
    case Look::Heart:
        return Heart(s);
    case Look::Field:
        return Field(s);
    case Look::Puff:
        return Puff(s);
    case Look::Sparkle:
        return Sparkle(s);
    case Look::Bubble:
        return Bubble(s);
    case Look::Drop:
        return s.box(0, 0, s.w, s.h, Light);
    }
}

bool OnSheets(int type, std::initializer_list<int> sheets)
{
    const ShippedEntityType* shipped = ShippedType(type);
    return shipped && std::find(sheets.begin(), sheets.end(), shipped->sheet) != sheets.end();
}

// A sheet just large enough for the cast's frames on `sheets`, each drawn
// facing left at its left frame and mirrored at a right frame of its own.
PixelImage DrawSheet(std::initializer_list<int> sheets, std::vector<Rgb> palette, const Inks& inks)
{
    int width = 16, height = 16;
    for (const Role& role : kCast)
        if (OnSheets(role.type, sheets)) {
            const ShippedEntityType& t = *ShippedType(role.type);
            width = std::max({width, int(t.left.right), int(t.right.right)});
            height = std::max({height, int(t.left.bottom), int(t.right.bottom)});
        }
    PixelImage image((width + 15) / 16 * 16, (height + 15) / 16 * 16, std::move(palette));
    for (const Role& role : kCast) {
        if (!OnSheets(role.type, sheets))
            continue;
        const ShippedEntityType& t = *ShippedType(role.type);
        const auto draw = [&](const SheetFrame& f, bool mirror) {
            Sprite s{image, inks, role.hue, f.left, f.top, f.width(), f.height(), mirror};
            Draw(s, role.look);
        };
        draw(t.left, false);
        const SheetFrame& l = t.left;
        const SheetFrame& r = t.right;
        if (r.left != l.left || r.top != l.top || r.right != l.right || r.bottom != l.bottom)
            draw(r, true);
    }
    return image;
}

// 16 colours: black, outline, eye white, pupil, then body and light per hue.
std::vector<Rgb> SixteenColours()
{
    return {
        {0, 0, 0},       {40, 24, 48},    {248, 248, 248}, {16, 16, 32},    {192, 48, 56},  {248, 136, 120},
        {56, 144, 64},   {160, 224, 120}, {48, 96, 192},   {128, 184, 248}, {216, 160, 40}, {248, 224, 120},
        {112, 112, 128}, {192, 192, 204}, {128, 80, 40},   {200, 152, 96},
    };
}

const Inks kSixteen{1, 2, 3, {4, 6, 8, 10, 12, 14}, {5, 7, 9, 11, 13, 15}};

} // namespace

std::vector<int> CastOn(int sheet)
{
    std::vector<int> out;
    for (const Role& role : kCast)
        if (OnSheets(role.type, {sheet}))
            out.push_back(role.type);
    std::sort(out.begin(), out.end());
    return out;
}

PixelImage NpcSymSheet() { return DrawSheet({kSheetNpcSym}, SixteenColours(), kSixteen); }
PixelImage NpcReguSheet() { return DrawSheet({kSheetNpcRegu}, SixteenColours(), kSixteen); }
PixelImage MyCharSheet() { return DrawSheet({kSheetMyChar}, SixteenColours(), kSixteen); }
PixelImage CaretSheet() { return DrawSheet({kSheetCaret}, SixteenColours(), kSixteen); }
PixelImage ItemImageSheet() { return DrawSheet({kSheetItemImage}, SixteenColours(), kSixteen); }

PixelImage CommonSprites() { return DrawSheet({kSheetStageNpc1, kSheetStageNpc2}, SixteenColours(), kSixteen); }

PixelImage ForestSprites()
{
    const Inks inks{1, 0, 0, {1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}};
    return DrawSheet({kSheetStageNpc1, kSheetStageNpc2}, {{0, 0, 0}, {200, 232, 176}}, inks);
}

PixelImage MechSprites()
{
    // Inks spread over the palette, so a reader must honour all 256 entries;
    // the rest is a non-black ramp.
    std::vector<Rgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = Rgb{quint8(i), quint8(i * 3 / 4 + 32), quint8(255 - i / 2)};
    palette[0] = Rgb{0, 0, 0};
    const std::vector<Rgb> sixteen = SixteenColours();
    Inks inks{};
    const auto spread = [&](int role) {
        const quint8 index = quint8(role * 15 + 7);
        const Rgb c = sixteen[size_t(role)];
        palette[index] = Rgb{quint8((c.r + 2 * 140) / 3), quint8((c.g + 2 * 150) / 3), quint8((c.b + 2 * 170) / 3)};
        return index;
    };
    inks.line = spread(1);
    palette[inks.line] = Rgb{32, 36, 48};
    inks.eye = spread(2);
    inks.pupil = spread(3);
    palette[inks.pupil] = Rgb{8, 8, 16};
    for (int hue = 0; hue < HueCount; ++hue) {
        inks.body[size_t(hue)] = spread(4 + 2 * hue);
        inks.light[size_t(hue)] = spread(5 + 2 * hue);
    }
    return DrawSheet({kSheetStageNpc1, kSheetStageNpc2}, std::move(palette), inks);
}

} // namespace vorn::sample
