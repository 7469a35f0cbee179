#pragma once
// PNG pictures written row by row, so that memory does not grow with the
// picture: a whole map at zoom 64 is over a thousand million pixels.
#include "outcome.h"
#include "safewrite.h" // ByteSink

#include <QRgb>
#include <QString>
#include <functional>

namespace vorn::cli {

// Hands out row y (0 to height - 1, asked in order) as `width` RGB32
// pixels, valid until the next call.
using RowSource = std::function<const QRgb*(int y)>;

// Writes a width x height opaque RGB picture, 8 bits a channel, through
// `write`. Refused with the reason it stopped ("write failed" when `write`
// refused: its owner knows why).
Outcome WritePng(const ByteSink& write, int width, int height, const RowSource& row);

} // namespace vorn::cli
