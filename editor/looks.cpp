#include "frmVorn.h"
#include "tiletypedrawing.h"

#include "entitymarker.h"
#include "entitytypes.h"
#include "frmTileType.h"
#include "mapview.h"
#include "spritedrawing.h"
#include "stagedocument.h"
#include "tiletypelegend.h"
#include "tiletypes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

// How the stage looks beyond its tiles: entities as their sprites, the
// tiles' types, and the names and types the status bar and tooltips give.
// Both views are off until the user turns them on.

// A text box that has the focus takes its letters first (Qt asks it before
// any shortcut), so these keys never take typing away.
void frmVorn::BindKey(const QKeySequence& keys, const std::function<void()>& action)
{
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, action] {
        if (loading_ || saving_ || QApplication::activeModalWidget())
            return;
        action();
    });
}

void frmVorn::InstallViewKeys()
{
    BindKey(QKeySequence(Qt::Key_S), [this] { chkSprites_->click(); });
    BindKey(QKeySequence(Qt::SHIFT | Qt::Key_T), [this] { chkTileTypes_->click(); });
    BindKey(QKeySequence(Qt::Key_K), [this] { chkPickByClick_->click(); });
    BindKey(QKeySequence(Qt::Key_T), [this] { EditTileType(); });
}

bool frmVorn::ShowsSprites() const { return chkSprites_ && chkSprites_->isChecked(); }

bool frmVorn::ShowsTileTypes() const { return chkTileTypes_ && chkTileTypes_->isChecked(); }

bool frmVorn::DrawsSprite(int index) const
{
    if (!ShowsSprites() || index < 0 || index >= stage_->entityCount())
        return false;
    return vorn::PlaceSprite(stage_->record(index), stage_->sheets(), stage_->npcTable(),
                             vorn::SpriteMoment::FirstFrame)
        .has_value();
}

void frmVorn::chkSprites_Click()
{
    picMap_->update();
    for (vorn::EntityMarker* marker : entity_) {
        if (marker)
            marker->update();
    }
    if (ShowsSprites())
        ShowLooksNote(stage_->spriteNote());
}

void frmVorn::chkTileTypes_Click()
{
    picMap_->update();
    picTileset_->update();
    if (ShowsTileTypes())
        ShowLooksNote(stage_->tileTypeNote());
}

void frmVorn::ShowLooksNote(const QString& note)
{
    if (!note.isEmpty())
        lblStatus_->setText(note);
}

// After a load: what did not load for the views that are on.
void frmVorn::ShowLooksNotes()
{
    if (ShowsSprites())
        ShowLooksNote(stage_->spriteNote());
    if (ShowsTileTypes())
        ShowLooksNote(stage_->tileTypeNote());
}

void frmVorn::ShowTileTypeAt(int cx, int cy)
{
    const quint8 tile = stage_->cell(cx, cy);
    lblTileType_->setText(QStringLiteral("%1 \u00b7 %2").arg(tile).arg(vorn::TileTypeText(stage_->tileType(tile))));
}

void frmVorn::TileTypesChanged()
{
    if (ShowsTileTypes()) {
        picMap_->update();
        picTileset_->update();
    } else if (ShowsSprites()) {
        picMap_->update(); // a tile may have gone in front of the entities or behind them
    }
    if (stage_->isOpen())
        ShowTileTypeAt(cursorCell_.x(), cursorCell_.y());
}

void frmVorn::EditTileType()
{
    if (!stage_->isOpen())
        return;
    const int tile = SelectedTile();
    frmTileType dialog(this, tile, stage_->tileType(tile));
    dialog.showMessage = [this](const QString& text) { ShowMessage(text); };
    dialog.exec();
    if (dialog.Tag == QStringLiteral("-_-"))
        return;
    stage_->setTileType(tile, dialog.Type());
}

QString frmVorn::EntityToolTip(int index) const
{
    if (index < 0 || index >= stage_->entityCount())
        return {};
    const vorn::EntityRecord& r = stage_->record(index);
    const bool named = r.Type >= 0 && r.Type < int(EntityNames_.size()) && !EntityNames_[r.Type].isEmpty();
    QStringList lines{
        QStringLiteral("Entity %1: type %2%3")
            .arg(index)
            .arg(r.Type)
            .arg(named ? QStringLiteral(" ") + EntityNames_[r.Type] : QString()),
        QStringLiteral("X %1, Y %2").arg(r.X).arg(r.Y),
        QStringLiteral("Flag %1, event %2").arg(r.Flag).arg(r.TSC),
    };
    const QString bits = vorn::EntityBitNames(quint16(r.Unknown));
    if (!bits.isEmpty())
        lines << bits;
    if (ShowsSprites()) {
        const QString drawn = vorn::FirstFrameNote(vorn::DrawnAs(r.Type, stage_->npcTable()),
                                                   (quint16(r.Unknown) & vorn::kFacesRightBit) != 0, quint16(r.TSC));
        if (!drawn.isEmpty())
            lines << drawn;
    }
    const QString presence = EventPresence(r.TSC);
    if (!presence.isEmpty())
        lines << presence;
    // Stacked entities: only the top marker can be pointed at, so it names
    // every one; a press on the picked one's cell picks the next.
    const std::vector<int> stack = EntitiesOnCell(QPoint(r.X, r.Y));
    if (stack.size() > 1) {
        lines << QStringLiteral("On this cell (a press picks the next):");
        for (const int i : stack) {
            const qint16 type = stage_->record(i).Type;
            const bool hasName = type >= 0 && type < int(EntityNames_.size()) && !EntityNames_[type].isEmpty();
            lines << QStringLiteral("  entity %1: type %2%3")
                         .arg(i)
                         .arg(type)
                         .arg(hasName ? QStringLiteral(" ") + EntityNames_[type] : QString());
        }
    }
    return lines.join(u'\n');
}

QImage frmVorn::PalettePicture() const
{
    const QImage& tileset = stage_->tileset();
    if (tileset.isNull() || !ShowsTileTypes())
        return tileset;
    QImage marked = tileset.convertToFormat(QImage::Format_RGB32);
    vorn::DrawTileTypesOnTileset(marked, stage_->tileTypes());
    return marked;
}

void frmVorn::InstallTileTypeLegend()
{
    QAction* entry =
        AddMenuCommand(QStringLiteral("Tile Type Legend"), QKeySequence(Qt::Key_L), [this] { ToggleTileTypeLegend(); });
    entry->setToolTip(QStringLiteral("Shows what the tile type marks of this stage mean (L)"));
    legendTimer_ = new QTimer(this);
    legendTimer_->setSingleShot(true);
    connect(legendTimer_, &QTimer::timeout, this, [this] { RefreshTileTypeLegend(); });
    const auto soon = [this] {
        if (legend_ && legend_->isVisible())
            legendTimer_->start(0);
    };
    connect(stage_.get(), &vorn::StageDocument::opened, this, soon);
    connect(stage_.get(), &vorn::StageDocument::tileTypesChanged, this, soon);
    connect(stage_.get(), &vorn::StageDocument::cellsChanged, this, soon);
    connect(stage_.get(), &vorn::StageDocument::mapResized, this, soon);
}

void frmVorn::ToggleTileTypeLegend()
{
    if (!legend_) {
        legend_ = new vorn::TileTypeLegend(this);
        connect(legend_, &vorn::TileTypeLegend::closed, this, [this] { StoreSettingsSoon(); });
    }
    if (legend_->isVisible()) {
        legend_->hide();
    } else {
        RefreshTileTypeLegend();
        legend_->show();
        legend_->raise();
    }
    StoreSettingsSoon();
}

// The kinds of the types of the tiles the map holds, not of the whole
// tileset: the legend explains what the stage shows.
void frmVorn::RefreshTileTypeLegend()
{
    if (!legend_)
        return;
    std::array<bool, vorn::kTileTypeCount> used{};
    if (stage_->isOpen()) {
        std::array<bool, vorn::kTileTypeCount> tiles{};
        for (int y = 0; y < stage_->height(); ++y)
            for (int x = 0; x < stage_->width(); ++x)
                tiles[stage_->cell(x, y)] = true;
        for (int tile = 0; tile < vorn::kTileTypeCount; ++tile)
            if (tiles[size_t(tile)])
                used[stage_->tileType(tile)] = true;
    }
    legend_->showKinds(vorn::TileTypeKinds(used));
}
