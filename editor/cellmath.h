#pragma once
// Pointer positions to cells, shared by the map's and the palette's handlers.

namespace vorn {

constexpr int kTileSide = 16; // tiles and scroll steps are 16 pixels at every zoom
constexpr int kPaletteSide = 16; // tile numbers form a 16 x 16 grid

// Rounds down, so that a pixel just left of or above a surface lands in
// cell -1 rather than cell 0.
inline int FloorDiv(int value, int divisor)
{
    const int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

} // namespace vorn
