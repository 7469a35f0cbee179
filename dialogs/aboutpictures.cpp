#include "aboutpictures.h"

#include <QHash>

namespace vorn {
namespace {

// Each picture is 50 rows of 48 characters; each character names a colour
// of its palette, '.' is the black background.
QImage Build(const char* const rows[50], const QHash<char, QRgb>& palette)
{
    QImage image(48, 50, QImage::Format_RGB32);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 48; ++x)
            image.setPixel(x, y, palette.value(rows[y][x], qRgb(0, 0, 0)));
    return image;
}

const char* const kWizardRows[50] = {
    "................................................", "................................................",
    ".......................hh.......................", "......................hhhh......................",
    "......................hhhh......................", ".....................hhhhhh.....................",
    "....................hhhhhhhh....................", "....................hhhhhhhh....................",
    "...................hhhhhyhhhh...................", "..................hhhhhyyyhhhh..................",
    "..................hhhhhhyhhhhh..................", ".................hhhhhhhhhhhhhh.................",
    "................hhhhhhhhhhhhhhhh................", "................hhhhhhhhhhhhhhhh................",
    "...............hhhhhhhhhhhhhhhhhh...............", "..............hhhhhhhhhhhhhhhhhhhh..............",
    "..............hhhhhhhhhhhhhhhhhhhh..............", "........HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH........",
    "........HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH........", "........HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH........",
    "..............rrrrrrrrrrrrrrrrrrrr..............", "..............rrrrrrrrrrrrrrrrrrrr..............",
    "..............rrrrrrrrrrrrrrrrrrrr..............", "..............rrssssssssssssssssrr..............",
    "..............rrssssssssssssssssrr..yyyy........", "..............rrssswksssssswksssrr.yyyyyy.......",
    "..............rrssskksssssskksssrr.yyyyyy.......", "..............rrssskksssssskksssrr.yyyyyy.......",
    "..............rrssssssssssssssssrr.yyyyyy.......", "..............rrssssssssssssssssrr..yyyy........",
    "..............rr.sssssmmmmsssss.rr...nn.........", "..............rr.ssssssssssssss.rr...nn.........",
    "...................ssssssssss........nn.........", ".....................sBBBBs..........nn.........",
    "......................BBBB...........nn.........", ".....................bBBBBb..........nn.........",
    "....................bbBBBBbb.........nn.........", "...................bbbBBBBbbb........nn.........",
    "..........ssss....bbbbBBBBbbbb....sssnn.........", "..........ssss...bbbbbBBBBbbbbb...sssnn.........",
    "..........ssss..bbbbbbBBBBbbbbbb..sssnn.........", "..........ssss.bbbbbbbBBBBbbbbbbb.sssnn.........",
    "..............bbbbbbbbBBBBbbbbbbbb...nn.........", ".............bbbbbbbbbBBBBbbbbbbbbb..nn.........",
    "............bbbbbbbbbbBBBBbbbbbbbbbb.nn.........", "...........bbbbbbbbbbbBBBBbbbbbbbbbbbnn.........",
    "..........bbbbbbbbbbbbBBBBbbbbbbbbbbbnn.........", ".........bbbbbbbbbbbbbBBBBbbbbbbbbbbbnn.........",
    "........bbbbbbbbbbbbbbBBBBbbbbbbbbbbbnnb........", "................................................",
};

const char* const kBeastRows[50] = {
    "................................................", "................................................",
    "................................................", "................................................",
    "......i..................................i......", ".......i................................i.......",
    ".......ii..............................ii.......", ".......iii............................iii.......",
    "........iii..........................iii........", "........iiii........gggggggg........iiii........",
    ".........iiii...gggggggggggggggg...iiii.........", ".........iiiiiggggggggggggggggggggiiiii.........",
    ".........iiiiggggggggggggggggggggggiiii.........", "..........iggggggggggggggggggggggggggi..........",
    "..........gggggggggggggggggggggggggggg..........", ".........gggggggggggggggggggggggggggggg.........",
    ".........ggggggwwwwggggggggggwwwwgggggg.........", "........gggggwwwwwwwwggggggwwwwwwwwggggg........",
    ".......ggggggwwwwwwwwggggggwwwwwwwwgggggg.......", ".......gggggwwwkkkkwwwggggwwwkkkkwwwggggg.......",
    "......ggggggwwwkkkkwwwnnnnwwwkkkkwwwgggggg......", "......ggggggwwwkkkkwwwnnnnwwwkkkkwwwgggggg......",
    "......ggggggwwwkkkkwwwGGGGwwwkkkkwwwgggggg......", ".....ggggggggwwwwwwwwGGGGGGwwwwwwwwgggggggg.....",
    ".....ggggggggwwwwwwwwGGGGGGwwwwwwwwgggggggg.....", ".....ggggggggGGwwwwGGGGGGGGGGwwwwGGgggggggg.....",
    "..ggggggggggGGGGGGGGGGGGGGGGGGGGGGGGgggggggggg..", "..ggggggggggGGGGGGGGGGGGGGGGGGGGGGGGgggggggggg..",
    "..gggggggggGGGGGGGGGGGGGGGGGGGGGGGGGGggggggggg..", "..gggggggggGGGGGGGGGGGGGGGGGGGGGGGGGGggggggggg..",
    "..gggggggggGGGGGGGGGGGGGGGGGGGGGGGGGGggggggggg..", "..gggggggggGGGGGGGGGGGGGGGGGGGGGGGGGGggggggggg..",
    "..gggggggggGGGkkwwkwwkwwkwwkwwkwwkGGGggggggggg..", "..gggggggggGGGkkwwkwwkwwkwwkwwkwwkGGGggggggggg..",
    ".......gggggGGkkkkkkkkkkkkkkkkkkkkGGggggg.......", ".......gggggGGGGGGGGGGGGGGGGGGGGGGGGggggg.......",
    "........gggggGGGGGGGGGGGGGGGGGGGGGGggggg........", ".........gggggGGGGGGGGGGGGGGGGGGGGggggg.........",
    ".........gggggGGGGGGGGGGGGGGGGGGGGggggg.........", "..........ggggggGGGGGGGGGGGGGGGGgggggg..........",
    "...........ggggggGGGGGGGGGGGGGGgggggg...........", ".............gggggggGGGGGGGGggggggg.............",
    "..............gggggggggggggggggggg..............", "................gggggggggggggggg................",
    "........nnnnnnnnnn..gggggggg..nnnnnnnnnn........", "........nnnnnnnnnn............nnnnnnnnnn........",
    "........nnnnnnnnnn............nnnnnnnnnn........", "........nnnnnnnnnn............nnnnnnnnnn........",
    "........nnnnnnnnnn............nnnnnnnnnn........", "................................................",
};

} // namespace

QImage WizardPicture()
{
    static const QHash<char, QRgb> palette = {
        {'h', qRgb(0x48, 0x38, 0xB0)}, {'H', qRgb(0x30, 0x24, 0x80)}, {'y', qRgb(0xF8, 0xE0, 0x40)},
        {'s', qRgb(0xF0, 0xC8, 0xA0)}, {'r', qRgb(0x38, 0xA0, 0x70)}, {'k', qRgb(0x18, 0x18, 0x18)},
        {'w', qRgb(0xFF, 0xFF, 0xFF)}, {'m', qRgb(0xC0, 0x40, 0x40)}, {'b', qRgb(0x28, 0x40, 0xA0)},
        {'B', qRgb(0x60, 0x80, 0xE0)}, {'n', qRgb(0x80, 0x60, 0x40)}};
    return Build(kWizardRows, palette);
}

QImage BeastPicture()
{
    static const QHash<char, QRgb> palette = {{'i', qRgb(0xE8, 0xE4, 0xD0)}, {'g', qRgb(0xC0, 0x60, 0x30)},
                                              {'G', qRgb(0xE8, 0x98, 0x60)}, {'w', qRgb(0xFF, 0xFF, 0xFF)},
                                              {'k', qRgb(0x18, 0x18, 0x18)}, {'n', qRgb(0x58, 0x38, 0x20)}};
    return Build(kBeastRows, palette);
}

} // namespace vorn
