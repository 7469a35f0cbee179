#include "frmVorn.h"

#include "findbar.h"
#include "layoutwidgets.h"
#include "mapview.h"
#include "numtext.h"

#include <QLabel>
#include <QScrollBar>
#include <algorithm>

namespace {

constexpr int kBorder = 2; // sunken panel border, each side

int Inner(int outer) { return std::max(0, outer - 2 * kBorder); }

// Scroll maximum for a surface in a panel: whole steps of 16 pixels, halves
// to the even step (-1.5 gives -2, -2.5 gives -2).
int ScrollRange(int panelOuter, int surface) { return int(vorn::RoundHalfEven((panelOuter - surface) / 16.0)); }

// The map's maximum is never short of its end: rounding, the border and the
// other scroll bar lying over the map would otherwise keep its last cells
// (at zoom 8, up to three) out of reach of painting for good. `visible` is
// the part of the panel not covered; a bar that does not show keeps the
// plain rounding, so its value stays 0.
int MapScrollRange(int panelOuter, int visible, int surface, bool shown)
{
    const int rounded = ScrollRange(panelOuter, surface);
    if (!shown)
        return rounded;
    const int hidden = surface - std::max(0, visible);
    const int toEnd = hidden > 0 ? -((hidden + 15) / 16) : 0;
    return std::min(rounded, toEnd);
}

} // namespace

void frmVorn::Form_Resize()
{
    const int w = width();
    const int h = height();
    const int s = picSplitter_->y();
    const int b = picSplitter_->height();

    // Palette panel, its bottom edge meeting the splitter bar.
    picTilePanel_->setGeometry(0, 26, 277, std::max(0, s - 26));
    const int tileOuterH = picTilePanel_->height();
    tilePanelInner_->setGeometry(kBorder, kBorder, Inner(picTilePanel_->width()), Inner(tileOuterH));
    vsbTile_->setGeometry(256, 0, vsbTile_->width(), Inner(tileOuterH));
    const bool tileShown = tileOuterH < picTileset_->height();
    // The palette keeps the plain rounding: what it can leave hidden (at most
    // 12 pixels) never covers a whole 16-pixel tile, so every tile stays
    // within reach.
    SetScrollMax(vsbTile_, ScrollRange(tileOuterH, picTileset_->height()));
    vsbTile_->setVisible(tileShown);

    // Map panel, its bottom edge meeting the status bar.
    picMapPanel_->setGeometry(0, s + b, std::max(0, w - picSidebar_->width()),
                              std::max(0, h - (s + b) - picStatusbar_->height()));
    const int mapOuterW = picMapPanel_->width();
    const int mapOuterH = picMapPanel_->height();
    const int innerW = Inner(mapOuterW);
    const int innerH = Inner(mapOuterH);
    mapPanelInner_->setGeometry(kBorder, kBorder, innerW, innerH);

    // A bar shows when the map is larger than the panel, or larger than
    // what the other bar leaves of it: the map must never reach under a
    // bar with no bar to scroll it out.
    const int mapW = picMap_->width();
    const int mapH = picMap_->height();
    const int barW = vsbMap_->width();
    const int barH = hsbMap_->height();
    bool vShown = mapOuterH < mapH;
    bool hShown = mapOuterW - (vShown ? barW : 0) < mapW;
    vShown = mapOuterH - (hShown ? barH : 0) < mapH;
    hShown = mapOuterW - (vShown ? barW : 0) < mapW;

    // While the find bar is up it covers the map's bottom rows; the range
    // reaches past it so that no row has to stay under it.
    const int findH = findBar_->sizeHint().height();
    const int findCover = findBar_->isHidden() ? 0 : findH;
    vsbMap_->setGeometry(innerW - barW, 0, barW, innerH);
    SetScrollMax(vsbMap_, MapScrollRange(mapOuterH, innerH - (hShown ? barH : 0) - findCover, mapH, vShown));
    vsbMap_->setVisible(vShown);

    hsbMap_->setGeometry(0, innerH - barH, innerW, barH);
    SetScrollMax(hsbMap_, MapScrollRange(mapOuterW, innerW - (vShown ? barW : 0), mapW, hShown));
    hsbMap_->setVisible(hShown);

    picCorner_->hide();
    picCorner_->move(innerW - picCorner_->width(), innerH - picCorner_->height());
    if (hShown && vShown) {
        hsbMap_->resize(std::max(0, hsbMap_->width() - vsbMap_->width()), hsbMap_->height());
        vsbMap_->resize(vsbMap_->width(), std::max(0, vsbMap_->height() - hsbMap_->height()));
        picCorner_->show();
        picCorner_->raise();
    }

    // The find bar lies over the bottom of the map's visible part, above
    // the horizontal bar and clear of the vertical one.
    findBar_->setGeometry(0, std::max(0, innerH - (hShown ? barH : 0) - findH),
                          std::max(0, innerW - (vShown ? barW : 0)), findH);
    if (!findBar_->isHidden())
        findBar_->raise();

    // Title at the right end of the toolbar, the icon just before it.
    lblCaption_->move(w - lblCaption_->width() - 8, 4);
    imgIcon_->move(lblCaption_->x() - 16, 4);
    PlaceTools();

    imgSplitter_->resize(mapOuterW, imgSplitter_->height());

    picStatusbar_->update();
    update();
}

void frmVorn::imgSplitter_MouseDown(int, int, int, int)
{
    picSplitter_->setGeometry(imgSplitter_->geometry());
    picSplitter_->show();
    picSplitter_->raise();
    imgSplitter_Tag_ = QStringLiteral("^_^");
}

int frmVorn::ClampSplitter(int p) const
{
    if (p < 112)
        p = 112;
    // Tested second: in a very short window the lower limit wins.
    if (p > height() - 64)
        p = height() - 64;
    return p;
}

void frmVorn::imgSplitter_MouseMove(int, int, int, int y)
{
    if (imgSplitter_Tag_ != QLatin1String("^_^"))
        return;
    picSplitter_->move(picSplitter_->x(), ClampSplitter(y + imgSplitter_->y()));
    Form_Resize();
}

void frmVorn::imgSplitter_MouseUp(int, int, int, int)
{
    imgSplitter_Tag_ = QStringLiteral("-_-");
    picSplitter_->hide();
    imgSplitter_->move(0, picSplitter_->y());
    StoreSettingsSoon();
}
