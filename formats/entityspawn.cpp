#include "entityspawn.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace vorn {

namespace {

// By type, ascending: the types whose first frame after a load is not their
// frame at rest.
constexpr SpawnLook kSpawnLooks[] = {
    {0, kSpawnMoved, 0, 0, 0, 16, {0, 0, 16, 16}, {0, 0, 16, 16}},
    {1, kSpawnMoved | kSpawnFrame, 0, -1, 0, -1, {0, 16, 16, 32}, {0, 16, 16, 32}},
    {2, kSpawnMoved, -1, 0, 0, 0, {32, 0, 64, 24}, {32, 24, 64, 48}},
    {4, kSpawnFrame, 0, 0, 0, 0, {16, 0, 32, 16}, {16, 0, 32, 16}},
    {5, kSpawnMoved | kSpawnFrame, 0, 3, 0, 3, {0, 48, 16, 64}, {0, 64, 16, 80}},
    {7, kSpawnMoved | kSpawnFrame, 0, 0, 0, 0, {288, 64, 320, 80}, {288, 64, 320, 80}},
    {8, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {9, kSpawnFrame, 0, 0, 0, 0, {120, 0, 160, 24}, {120, 24, 160, 48}},
    {10, kSpawnFrame, 0, 0, 0, 0, {0, 0, 40, 24}, {0, 24, 40, 48}},
    {13, kSpawnFrame, 0, 0, 0, 0, {144, 0, 160, 16}, {144, 0, 160, 16}},
    {14, kSpawnMoved, 0, 0, 0, -1, {192, 0, 208, 16}, {192, 0, 208, 16}},
    {15, kSpawnMoved, 0, 0, 0, -1, {240, 0, 256, 16}, {240, 0, 256, 16}},
    {16, kSpawnMoved, 0, 0, 0, -1, {96, 16, 112, 32}, {96, 16, 112, 32}},
    {17, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {19, kSpawnMoved | kSpawnFrame, 0, 9, 0, 9, {120, 0, 160, 24}, {120, 24, 160, 48}},
    {21, kSpawnMoved, 0, 0, 0, 16, {224, 40, 240, 48}, {224, 40, 240, 48}},
    {24, kSpawnMoved, 0, 3, 0, 3, {0, 0, 24, 24}, {0, 24, 24, 48}},
    {25, kSpawnMoved, 8, 0, 8, 0, {256, 64, 288, 80}, {256, 64, 288, 80}},
    {26, kSpawnFrame, 0, 0, 0, 0, {32, 80, 48, 96}, {32, 96, 48, 112}},
    {28, kSpawnMoved, 0, 3, 0, 3, {0, 48, 16, 64}, {0, 64, 16, 80}},
    {30, kSpawnMoved, 0, 0, 0, 16, {48, 0, 64, 16}, {0, 32, 16, 48}},
    {36, kSpawnFrame, 0, 0, 0, 0, {0, 0, 40, 24}, {0, 24, 40, 48}},
    {41, kSpawnMoved, 0, -16, 0, -16, {0, 80, 48, 112}, {0, 80, 48, 112}},
    {43, kSpawnMoved, 0, -16, 0, -16, {128, 80, 168, 112}, {168, 80, 208, 112}},
    {44, kSpawnFrame, 0, 0, 0, 0, {96, 0, 128, 32}, {32, 0, 64, 32}},
    {45, kSpawnFrame, 0, 0, 0, 0, {16, 32, 32, 48}, {16, 32, 32, 48}},
    {46, kSpawnMoved, -3, 0, 0, -3, {0, 0, 16, 16}, {0, 0, 16, 16}},
    {47, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {49, kSpawnFrame, 0, 0, 0, 0, {32, 80, 64, 104}, {32, 104, 64, 128}},
    {51, kSpawnFrame, 0, 0, 0, 0, {96, 80, 128, 112}, {96, 112, 128, 144}},
    {53, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {54, kSpawnFrame, 0, 0, 0, 0, {32, 80, 64, 104}, {32, 104, 64, 128}},
    {57, kSpawnFrame, 0, 0, 0, 0, {96, 80, 128, 112}, {96, 112, 128, 144}},
    {58, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {62, kSpawnMoved, -4, 16, -4, 16, {272, 192, 288, 216}, {272, 192, 288, 216}},
    {63, kSpawnMoved, -1, -2, 0, -2, {64, 64, 80, 80}, {64, 80, 80, 96}},
    {64, kSpawnMoved | kSpawnFrame, 0, 3, 0, 3, {0, 0, 16, 16}, {0, 16, 16, 32}},
    {66, kSpawnMoved, 0, 0, 0, 0, {32, 192, 56, 216}, {32, 192, 56, 216}},
    {67, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {68, kSpawnFrame, 0, 0, 0, 0, {0, 0, 40, 24}, {0, 24, 40, 48}},
    {72, kSpawnFrame, 0, 0, 0, 0, {224, 48, 240, 64}, {224, 48, 240, 64}},
    {73, kSpawnFrame, 0, 0, 0, 0, {72, 16, 74, 18}, {72, 18, 74, 20}},
    {76, kSpawnByEvent, 0, 0, 0, 0, {0, 0, 16, 16}, {0, 0, 16, 16}},
    {79, kSpawnFrame, 0, 0, 0, 0, {32, 0, 48, 16}, {32, 16, 48, 32}},
    {80, kSpawnFrame, 0, 0, 0, 0, {0, 64, 24, 88}, {0, 88, 24, 112}},
    {82, kSpawnFrame, 0, 0, 0, 0, {112, 0, 128, 16}, {112, 16, 128, 32}},
    {89, kSpawnFrame, 0, 0, 0, 0, {80, 80, 120, 120}, {200, 80, 240, 120}},
    {91, kSpawnMoved, 0, 16, 0, 16, {96, 88, 128, 112}, {96, 88, 128, 112}},
    {92, kSpawnMoved, -4, 16, -4, 16, {272, 216, 288, 240}, {272, 216, 288, 240}},
    {94, kSpawnFrame, 0, 0, 0, 0, {272, 96, 320, 120}, {272, 96, 320, 120}},
    {95, kSpawnMoved | kSpawnFrame, 0, 0, -1, 0, {208, 80, 224, 96}, {208, 80, 224, 96}},
    {100, kSpawnMoved, 0, 16, 0, 16, {272, 48, 288, 64}, {272, 48, 288, 64}},
    {102, kSpawnMoved | kSpawnFrame, 0, 8, 0, 8, {224, 120, 240, 136}, {224, 120, 240, 136}},
    {103, kSpawnMoved | kSpawnFrame, -1, 0, 1, 0, {208, 96, 224, 120}, {208, 120, 224, 144}},
    {105, kSpawnMoved, 0, -1, 0, -1, {128, 32, 144, 48}, {128, 32, 144, 48}},
    {106, kSpawnMoved | kSpawnFrame, 0, -9, 0, -9, {128, 32, 144, 48}, {128, 32, 144, 48}},
    {111, kSpawnMoved, 0, -16, 0, -16, {0, 0, 16, 16}, {0, 16, 16, 32}},
    {112, kSpawnMoved | kSpawnHidden, 16, 8, 16, 8, {}, {}},
    {114, kSpawnMoved | kSpawnFrame, 0, -4, 0, -4, {160, 112, 176, 136}, {160, 112, 176, 136}},
    {124, kSpawnMoved, 8, 8, 8, 8, {160, 0, 192, 32}, {160, 0, 192, 32}},
    {125, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {127, kSpawnFrame, 0, 0, 0, 0, {80, 80, 96, 96}, {112, 64, 128, 80}},
    {128, kSpawnMoved, 4, 0, 0, 0, {176, 16, 184, 32}, {232, 16, 240, 32}},
    {132, kSpawnFrame, 0, 0, 0, 0, {48, 144, 64, 160}, {48, 160, 64, 176}},
    {134, kSpawnFrame, 0, 0, 0, 0, {288, 0, 320, 16}, {288, 16, 320, 32}},
    {135, kSpawnFrame, 0, 0, 0, 0, {256, 32, 288, 64}, {256, 64, 288, 96}},
    {136, kSpawnMoved | kSpawnFrame, 0, 0, 0, 0, {48, 144, 64, 160}, {48, 160, 64, 176}},
    {138, kSpawnMoved, 8, 0, -8, 0, {96, 112, 112, 136}, {112, 112, 128, 136}},
    {139, kSpawnMoved | kSpawnFrame, 0, -8, 0, -8, {48, 128, 72, 160}, {48, 160, 72, 192}},
    {140, kSpawnFrame, 0, 0, 0, 0, {32, 64, 64, 96}, {32, 96, 64, 128}},
    {141, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {144, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {145, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {146, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {147, kSpawnMoved, 0, 3, 0, 3, {0, 96, 16, 112}, {0, 112, 16, 128}},
    {148, kSpawnFrame, 0, 0, 0, 0, {104, 96, 112, 104}, {104, 96, 112, 104}},
    {149, kSpawnMoved, 8, 8, 8, 8, {16, 0, 48, 32}, {16, 0, 48, 32}},
    {152, kSpawnMoved, 0, 0, 0, 16, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {153, kSpawnMoved, 0, 3, 0, 3, {0, 0, 24, 24}, {0, 24, 24, 48}},
    {154, kSpawnMoved, 0, -1, -1, -1, {168, 0, 192, 24}, {168, 24, 192, 48}},
    {155, kSpawnFrame, 0, 0, 0, 0, {24, 48, 48, 72}, {24, 72, 48, 96}},
    {156, kSpawnFrame, 0, 0, 0, 0, {112, 112, 128, 128}, {112, 112, 128, 128}},
    {157, kSpawnMoved, 8, 8, 8, 8, {16, 0, 48, 32}, {16, 0, 48, 32}},
    {158, kSpawnMoved | kSpawnFrame, -2, -2, 1, 1, {80, 224, 96, 240}, {16, 224, 32, 240}},
    {159, kSpawnMoved, -1, 0, -1, 0, {144, 128, 192, 200}, {144, 128, 192, 200}},
    {160, kSpawnMoved | kSpawnFrame, 0, 5, 0, 5, {120, 0, 160, 24}, {120, 24, 160, 48}},
    {161, kSpawnMoved | kSpawnFrame, -1, -1, -1, -1, {16, 48, 32, 64}, {16, 48, 32, 64}},
    {162, kSpawnFrame, 0, 0, 0, 0, {40, 0, 80, 24}, {40, 24, 80, 48}},
    {165, kSpawnMoved, 0, 10, 0, 10, {144, 96, 160, 112}, {192, 96, 208, 112}},
    {167, kSpawnFrame, 0, 0, 0, 0, {304, 16, 320, 32}, {304, 16, 320, 32}},
    {169, kSpawnFrame, 0, 0, 0, 0, {0, 0, 40, 24}, {0, 24, 40, 48}},
    {170, kSpawnMoved | kSpawnFrame, 0, -1, -1, -1, {128, 96, 144, 104}, {128, 104, 144, 112}},
    {171, kSpawnMoved | kSpawnFrame, 0, -1, 0, -1, {152, 48, 184, 80}, {216, 48, 248, 80}},
    {172, kSpawnMoved, -1, 0, 1, 0, {248, 48, 264, 80}, {248, 48, 264, 80}},
    {173, kSpawnFrame, 0, 0, 0, 0, {0, 128, 24, 152}, {0, 152, 24, 176}},
    {174, kSpawnFrame, 0, 0, 0, 0, {136, 80, 152, 96}, {136, 80, 152, 96}},
    {175, kSpawnMoved, 0, 0, 0, -1, {168, 80, 192, 104}, {216, 80, 240, 104}},
    {177, kSpawnMoved | kSpawnFrame, 0, -2, 0, 2, {192, 128, 208, 144}, {192, 128, 208, 144}},
    {179, kSpawnMoved, -1, 0, -1, 0, {48, 224, 72, 240}, {48, 224, 72, 240}},
    {181, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {182, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {183, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {184, kSpawnMoved, 8, 8, 8, 8, {0, 64, 32, 96}, {0, 64, 32, 96}},
    {185, kSpawnMoved, 0, 8, 0, 8, {96, 64, 112, 96}, {96, 64, 112, 96}},
    {187, kSpawnFrame, 0, 0, 0, 0, {224, 104, 256, 136}, {224, 136, 256, 168}},
    {188, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {193, kSpawnMoved, 24, 0, 24, 0, {256, 96, 320, 112}, {256, 96, 320, 112}},
    {194, kSpawnMoved, 0, 4, 0, 4, {192, 120, 224, 128}, {192, 120, 224, 128}},
    {196, kSpawnMoved, -6, 0, -6, 0, {112, 64, 144, 80}, {112, 80, 144, 96}},
    {197, kSpawnMoved, 3, 0, 3, 0, {0, 0, 16, 16}, {0, 0, 16, 16}},
    {198, kSpawnFrame, 0, 0, 0, 0, {224, 48, 240, 72}, {224, 48, 240, 72}},
    {199, kSpawnMoved | kSpawnFrame, -4, 0, 3, 0, {72, 16, 74, 18}, {72, 16, 74, 18}},
    {203, kSpawnMoved | kSpawnFrame, 0, 3, 0, 3, {0, 80, 16, 96}, {0, 96, 16, 112}},
    {205, kSpawnMoved, 0, 4, 0, 4, {112, 80, 128, 112}, {112, 80, 128, 112}},
    {207, kSpawnMoved, 1, 0, 1, 0, {0, 144, 16, 160}, {32, 144, 48, 160}},
    {208, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {210, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {211, kSpawnByEvent, 0, 0, 0, 0, {256, 200, 272, 216}, {256, 200, 272, 216}},
    {212, kSpawnMoved, 0, -4, 0, -4, {160, 152, 200, 192}, {160, 152, 200, 192}},
    {213, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {214, kSpawnMoved, -1, 0, -1, 0, {144, 48, 176, 64}, {144, 48, 176, 64}},
    {215, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {219, kSpawnFrame, 0, 0, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {222, kSpawnMoved, 0, -8, 0, -8, {96, 168, 112, 200}, {96, 168, 112, 200}},
    {223, kSpawnFrame, 0, 0, 0, 0, {80, 192, 96, 216}, {80, 216, 96, 240}},
    {224, kSpawnFrame, 0, 0, 0, 0, {112, 32, 128, 48}, {112, 48, 128, 64}},
    {228, kSpawnMoved | kSpawnFrame, 0, -8, 0, -8, {0, 0, 32, 40}, {0, 40, 32, 80}},
    {229, kSpawnMoved, 0, -16, 0, -16, {0, 96, 48, 112}, {0, 112, 48, 128}},
    {230, kSpawnMoved, -16, -16, -16, -16, {48, 96, 96, 128}, {96, 96, 144, 128}},
    {232, kSpawnMoved | kSpawnFrame, -1, 0, -1, 0, {128, 0, 160, 32}, {128, 32, 160, 64}},
    {233, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {234, kSpawnMoved, 0, 16, 0, 16, {144, 96, 192, 112}, {144, 112, 192, 128}},
    {236, kSpawnMoved, 0, -1, 0, -1, {128, 64, 152, 88}, {128, 88, 152, 112}},
    {238, kSpawnMoved, -8, 0, 0, 0, {184, 200, 208, 216}, {184, 200, 208, 216}},
    {239, kSpawnMoved, 8, 16, 8, 16, {192, 48, 256, 80}, {96, 112, 144, 144}},
    {241, kSpawnMoved | kSpawnFrame, 0, 3, 0, 3, {0, 0, 16, 16}, {0, 16, 16, 32}},
    {245, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {246, kSpawnMoved, 0, -4, 0, -4, {144, 112, 160, 136}, {144, 112, 160, 136}},
    {247, kSpawnMoved, 0, 6, 0, 6, {0, 0, 16, 16}, {0, 16, 16, 32}},
    {249, kSpawnMoved, -2, 0, 2, 0, {48, 48, 64, 64}, {64, 48, 80, 64}},
    {250, kSpawnMoved, -1, -1, -1, -1, {0, 32, 16, 48}, {0, 32, 16, 48}},
    {251, kSpawnMoved | kSpawnFrame, 0, 8, 0, 8, {96, 32, 112, 64}, {96, 32, 112, 64}},
    {252, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {254, kSpawnFrame, 0, 0, 0, 0, {0, 0, 128, 64}, {0, 64, 128, 128}},
    {255, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {256, kSpawnMoved, 0, -8, 0, -8, {48, 160, 72, 192}, {48, 160, 72, 192}},
    {259, kSpawnMoved | kSpawnFrame, 0, 0, 0, 0, {224, 96, 240, 112}, {224, 112, 240, 128}},
    {260, kSpawnMoved | kSpawnFrame, 1, -2, 1, -2, {128, 64, 144, 80}, {128, 80, 144, 96}},
    {261, kSpawnMoved | kSpawnFrame, -1, -2, -1, -2, {112, 32, 128, 48}, {112, 48, 128, 64}},
    {262, kSpawnMoved | kSpawnFrame, -1, -2, -1, -2, {128, 0, 144, 16}, {128, 16, 144, 32}},
    {263, kSpawnMoved | kSpawnHidden, 0, 8, 0, 8, {}, {}},
    {264, kSpawnFrame, 0, 0, 0, 0, {288, 0, 304, 16}, {288, 0, 304, 16}},
    {266, kSpawnFrame, 0, 0, 0, 0, {304, 32, 320, 48}, {304, 32, 320, 48}},
    {267, kSpawnMoved | kSpawnFrame, 0, 0, 0, 0, {80, 112, 120, 160}, {80, 112, 120, 160}},
    {268, kSpawnMoved, 0, 8, 0, 8, {0, 0, 40, 40}, {0, 40, 40, 80}},
    {270, kSpawnFrame | kSpawnHidden, 0, 0, 0, 0, {170, 34, 174, 38}, {}},
    {271, kSpawnMoved | kSpawnFrame, -2, -1, 1, -1, {112, 0, 128, 16}, {112, 0, 128, 16}},
    {273, kSpawnFrame, 0, 0, 0, 0, {272, 40, 296, 64}, {272, 40, 296, 64}},
    {274, kSpawnMoved | kSpawnFrame, 0, -8, 0, -8, {0, 0, 32, 40}, {0, 40, 32, 80}},
    {276, kSpawnMoved | kSpawnFrame, 0, -8, 0, -8, {0, 64, 32, 104}, {0, 104, 32, 144}},
    {277, kSpawnFrame, 0, 0, 0, 0, {152, 0, 176, 24}, {152, 0, 176, 24}},
    {278, kSpawnByEvent, 0, 0, 0, 0, {32, 120, 40, 128}, {32, 120, 40, 128}},
    {279, kSpawnMoved, 0, 0, 8, 8, {0, 16, 32, 48}, {16, 0, 32, 16}},
    {280, kSpawnMoved | kSpawnHidden, 7, 0, 7, 0, {}, {}},
    {282, kSpawnMoved, -1, 0, -1, 0, {256, 80, 320, 120}, {256, 80, 320, 120}},
    {283, kSpawnMoved, 0, -8, 0, -8, {0, 64, 32, 96}, {0, 96, 32, 128}},
    {284, kSpawnMoved | kSpawnFrame, 8, 9, 8, 9, {208, 32, 224, 48}, {208, 48, 224, 64}},
    {285, kSpawnMoved | kSpawnFrame, 3, 3, 3, 3, {232, 104, 248, 120}, {232, 104, 248, 120}},
    {286, kSpawnFrame, 0, 0, 0, 0, {232, 136, 248, 152}, {232, 136, 248, 152}},
    {288, kSpawnMoved, -1, 0, -1, 0, {232, 72, 248, 88}, {232, 72, 248, 88}},
    {289, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {290, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {293, kSpawnMoved | kSpawnFrame, -8, 0, -8, 0, {280, 200, 320, 240}, {280, 200, 320, 240}},
    {295, kSpawnMoved, -104, 0, -32, 0, {0, 0, 208, 64}, {32, 96, 104, 128}},
    {297, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {298, kSpawnMoved, 0, -8, 0, -8, {72, 128, 88, 160}, {72, 128, 88, 160}},
    {299, kSpawnMoved, 0, -4, 0, -1, {48, 0, 96, 48}, {0, 0, 48, 48}},
    {300, kSpawnMoved, 0, 6, 0, 6, {192, 80, 208, 96}, {192, 80, 208, 96}},
    {301, kSpawnMoved | kSpawnFrame, 1, 0, 1, 0, {144, 0, 160, 16}, {144, 0, 160, 16}},
    {303, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {304, kSpawnMoved, 0, 10, 0, 10, {0, 176, 24, 192}, {0, 176, 24, 192}},
    {305, kSpawnMoved, 0, -16, 0, -16, {160, 144, 176, 160}, {160, 160, 176, 176}},
    {306, kSpawnMoved, 0, 4, 0, 4, {240, 96, 280, 128}, {160, 152, 200, 184}},
    {307, kSpawnMoved | kSpawnFrame, 1, -2, 1, -2, {0, 32, 16, 48}, {0, 48, 16, 64}},
    {309, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {310, kSpawnFrame, 0, 0, 0, 0, {32, 0, 56, 16}, {32, 16, 56, 32}},
    {312, kSpawnFrame, 0, 0, 0, 0, {32, 176, 48, 192}, {32, 176, 48, 192}},
    {313, kSpawnMoved, 0, 4, 0, 4, {128, 0, 144, 16}, {128, 16, 144, 32}},
    {314, kSpawnFrame, 0, 0, 0, 0, {64, 64, 80, 80}, {64, 64, 80, 80}},
    {315, kSpawnFrame, 0, 0, 0, 0, {192, 0, 208, 16}, {192, 16, 208, 32}},
    {316, kSpawnMoved, 0, -1, -1, -1, {248, 32, 272, 56}, {248, 56, 272, 80}},
    {317, kSpawnMoved | kSpawnFrame, 0, -8, 0, -8, {0, 80, 32, 120}, {0, 120, 32, 160}},
    {318, kSpawnMoved, 0, -1, -1, -1, {224, 80, 256, 120}, {224, 120, 256, 160}},
    {319, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {320, kSpawnMoved | kSpawnFrame, 0, 0, 0, 0, {16, 112, 32, 128}, {16, 96, 32, 112}},
    {321, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {322, kSpawnMoved, 0, 8, 8, 0, {272, 216, 296, 240}, {272, 216, 296, 240}},
    {323, kSpawnMoved, -3, 0, 3, 0, {216, 32, 232, 56}, {216, 32, 232, 56}},
    {325, kSpawnFrame, 0, 0, 0, 0, {272, 96, 304, 128}, {272, 96, 304, 128}},
    {326, kSpawnMoved, 16, -8, 16, -8, {0, 128, 16, 152}, {128, 128, 144, 152}},
    {327, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {329, kSpawnFrame, 0, 0, 0, 0, {64, 0, 80, 16}, {64, 0, 80, 16}},
    {332, kSpawnMoved, -2, 0, 2, 0, {144, 96, 168, 120}, {144, 96, 168, 120}},
    {333, kSpawnMoved | kSpawnFrame, 0, 0, 0, 0, {104, 120, 128, 144}, {104, 120, 128, 144}},
    {334, kSpawnMoved | kSpawnFrame, 10, -18, 0, 0, {168, 184, 176, 200}, {184, 184, 192, 200}},
    {335, kSpawnMoved, -1, 0, -1, 0, {0, 16, 16, 32}, {0, 16, 16, 32}},
    {337, kSpawnMoved, 0, -8, 0, -8, {256, 112, 288, 152}, {256, 112, 288, 152}},
    {338, kSpawnMoved, -1, 0, 0, 0, {288, 0, 304, 16}, {288, 16, 304, 32}},
    {339, kSpawnFrame, 0, 0, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {340, kSpawnMoved | kSpawnFrame, 0, -6, 0, -6, {0, 0, 48, 40}, {0, 0, 48, 40}},
    {341, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {342, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {343, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {344, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {345, kSpawnFrame, 0, 0, 0, 0, {128, 176, 144, 192}, {128, 176, 144, 192}},
    {346, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {347, kSpawnFrame, 0, 0, 0, 0, {272, 48, 288, 64}, {272, 48, 288, 64}},
    {348, kSpawnMoved, 0, -1, 0, -1, {128, 152, 160, 176}, {128, 152, 160, 176}},
    {349, kSpawnMoved, 8, 0, 0, 16, {0, 0, 16, 16}, {0, 0, 16, 16}},
    {350, kSpawnMoved, 0, 0, 0, 0, {0, 160, 24, 184}, {0, 184, 24, 208}},
    {351, kSpawnMoved, 8, 12, 8, 12, {0, 96, 32, 136}, {0, 96, 32, 136}},
    {352, kSpawnFrame, 0, 0, 0, 0, {304, 48, 320, 64}, {304, 48, 320, 64}},
    {353, kSpawnMoved | kSpawnFrame, -3, 0, 3, 0, {168, 160, 184, 184}, {168, 160, 184, 184}},
    {355, kSpawnHidden, 0, 0, 0, 0, {}, {}},
    {356, kSpawnMoved | kSpawnFrame, -1, -1, -1, -1, {240, 128, 280, 152}, {240, 128, 280, 152}},
    {360, kSpawnMoved, -8, -8, -8, -8, {0, 176, 48, 184}, {0, 176, 48, 184}},
};
static_assert(std::is_sorted(std::begin(kSpawnLooks), std::end(kSpawnLooks),
                             [](const SpawnLook& a, const SpawnLook& b) { return a.type < b.type; }));

// The widest sheet the program loads: a frame beyond it can never show.
constexpr int kSheetLimit = 4096;

std::optional<SheetFrame> EventFrame(int type, quint16 event)
{
    switch (type) {
    case 76: { // flowers: one 16 px column a number
        const int left = 16 * int(event);
        if (left + 16 > kSheetLimit)
            return std::nullopt;
        return SheetFrame{qint16(left), 0, qint16(left + 16), 16};
    }
    case 211: // small spikes: four orientations; the game reads past its
              // table for any other number, so those draw nothing here
        if (event > 3)
            return std::nullopt;
        return SheetFrame{qint16(256 + 16 * event), 200, qint16(272 + 16 * event), 216};
    case 278: // the little family: father, mother, or the child
        if (event == 200)
            return SheetFrame{0, 120, 8, 128};
        if (event == 210)
            return SheetFrame{16, 120, 24, 128};
        return SheetFrame{32, 120, 40, 128};
    default:
        return std::nullopt;
    }
}

QString Distance(int px) { return QStringLiteral("%1 px").arg(std::abs(px)); }

} // namespace

const SpawnLook* SpawnLookOf(int type)
{
    const auto found = std::lower_bound(std::begin(kSpawnLooks), std::end(kSpawnLooks), type,
                                        [](const SpawnLook& look, int t) { return look.type < t; });
    return found != std::end(kSpawnLooks) && found->type == type ? found : nullptr;
}

FirstFrame FirstFrameOf(const SpawnLook& look, bool facingRight, quint16 event)
{
    FirstFrame first;
    first.dx = facingRight ? look.rightDx : look.dx;
    first.dy = facingRight ? look.rightDy : look.dy;
    if (look.kinds & kSpawnByEvent)
        first.frame = EventFrame(look.type, event).value_or(SheetFrame{});
    else
        first.frame = facingRight ? look.right : look.left;
    return first;
}

bool CrashesWhenPlaced(int type, bool facingRight)
{
    static constexpr int kOrphans[] = {53, 141, 145, 188, 233, 252, 255, 297, 319, 327, 341, 342, 343, 344, 346, 355};
    if (type == 270) // the red energy particle needs its parent only facing right
        return facingRight;
    return std::find(std::begin(kOrphans), std::end(kOrphans), type) != std::end(kOrphans);
}

QString FirstFrameNote(int type, bool facingRight, quint16 event)
{
    if (CrashesWhenPlaced(type, facingRight))
        return QStringLiteral("Crashes the game: it needs the entity that spawns it");
    const SpawnLook* look = SpawnLookOf(type);
    if (!look)
        return {};
    const FirstFrame first = FirstFrameOf(*look, facingRight, event);
    if (look->kinds & kSpawnByEvent) {
        if (first.frame.isEmpty())
            return QStringLiteral("Not drawn: the game has no frame for event %1 of this type").arg(event);
        return QStringLiteral("Frame picked by its event number (%1), as the game does").arg(event);
    }
    if (first.frame.isEmpty())
        return QStringLiteral("Shown as its marker: the game draws nothing of it on its first frame");
    QStringList moves;
    if (first.dx != 0)
        moves << Distance(first.dx) + (first.dx > 0 ? QStringLiteral(" right") : QStringLiteral(" left"));
    if (first.dy != 0)
        moves << Distance(first.dy) + (first.dy > 0 ? QStringLiteral(" lower") : QStringLiteral(" higher"));
    if (moves.isEmpty())
        return {};
    return QStringLiteral("Drawn %1: the game moves it on its first frame").arg(moves.join(QStringLiteral(" and ")));
}

} // namespace vorn
