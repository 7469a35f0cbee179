#include "windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QWidget>

QString GeometryText(const QWidget& window)
{
    return QStringLiteral("%1,%2,%3,%4").arg(window.x()).arg(window.y()).arg(window.width()).arg(window.height());
}

std::optional<QRect> GeometryOf(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    return QRect(values[0], values[1], values[2], values[3]);
}

QRect FittedInside(QRect wanted, const QRect& area)
{
    wanted.setSize(wanted.size().boundedTo(area.size()));
    wanted.moveLeft(std::clamp(wanted.left(), area.left(), area.right() - wanted.width() + 1));
    wanted.moveTop(std::clamp(wanted.top(), area.top(), area.bottom() - wanted.height() + 1));
    return wanted;
}

void PlaceWindow(QWidget& window, const std::optional<QRect>& remembered, QSize defaultSize, const QWidget* near)
{
    // A remembered place on a screen no longer there is forgotten.
    QScreen* screen = remembered ? QGuiApplication::screenAt(remembered->center()) : nullptr;
    QRect wanted = screen ? *remembered : QRect();
    if (!screen && near)
        screen = near->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window.resize(defaultSize); // nothing to fit it to
        return;
    }
    const QRect area = screen->availableGeometry();
    if (wanted.isNull()) {
        wanted.setSize(defaultSize);
        wanted.moveCenter(area.center());
    }
    // Before the window first shows its frame is unknown: a title bar's height is left for it.
    QSize frame = window.frameGeometry().size() - window.geometry().size();
    if (!window.isVisible() && frame.isEmpty())
        frame = QSize(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    QRect placed = FittedInside(wanted.adjusted(0, 0, frame.width(), frame.height()), area);
    placed.adjust(0, 0, -frame.width(), -frame.height());
    window.move(placed.topLeft());
    window.resize(placed.size());
}

void KeepOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect frame = window.frameGeometry();
    const QRect fitted = FittedInside(frame, screen->availableGeometry());
    if (fitted == frame)
        return;
    window.move(fitted.topLeft());
    window.resize(window.size() - (frame.size() - fitted.size()));
}
