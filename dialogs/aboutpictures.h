#pragma once
// The About box's two figures: the project's own 48 x 50 pixel art on black.
#include <QImage>

namespace vorn {
QImage WizardPicture(); // the usual figure
QImage BeastPicture(); // the figure of every fourth day
} // namespace vorn
