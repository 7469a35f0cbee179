#pragma once
// Where a window of its own opens: a remembered place kept on the screen,
// or a default one centred on the screen it is asked from.
#include <QRect>
#include <QString>

#include <optional>

class QWidget;

// "left,top,width,height", the place of the window's frame and the size of
// what it holds, as `Geometry=` in the settings file keeps it.
QString GeometryText(const QWidget& window);
// The rectangle in `text`; nullopt for anything not four numbers with a
// positive width and height.
std::optional<QRect> GeometryOf(const QString& text);

// `wanted` made to fit inside `area`: shrunk to its size, then moved in.
QRect FittedInside(QRect wanted, const QRect& area);

// Places `window` at `remembered` when it lies on a screen, else at
// `defaultSize` centred on the screen of `near` (the primary one without);
// either way wholly inside that screen's available area.
void PlaceWindow(QWidget& window, const std::optional<QRect>& remembered, QSize defaultSize, const QWidget* near);

// Once shown, with its frame known: brought wholly inside its screen's available area.
void KeepOnScreen(QWidget& window);
