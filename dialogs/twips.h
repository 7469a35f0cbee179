#pragma once
// Window placement and dialog layouts are designed in twips (1/1440 inch).
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace vorn {

// Twips per pixel at the screen's logical resolution: 15 at 96 dpi.
inline double TwipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

inline int TwipsToPixels(double twips) { return int(std::lround(twips / TwipsPerPixel())); }
inline int PixelsToTwips(double pixels) { return int(std::lround(pixels * TwipsPerPixel())); }

} // namespace vorn
