#pragma once
// The map at 16 pixels a cell drawn the long way, as a reference for the
// map view's pixels and as the straightforward way the benchmark compares
// against.
#include <QImage>

class frmVorn;

// The backdrop spread over a map-sized surface, then per cell a plain copy
// of its square, the tile's mask ANDed, the tile ORed.
QImage ThreeCopyReference(const frmVorn& window);
