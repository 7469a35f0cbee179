#include "frmVorn.h"

#include "entitymarker.h"
#include "mapview.h"
#include "markerdrawing.h"
#include "recovery.h"
#include "scriptwindows.h"
#include "stagedocument.h"
#include "toolbox.h"
#include "typeswindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>

// The window's views follow the open stage: every change of the document,
// by a handler, a step of the history or a load, is drawn from its signals,
// synchronously, in the order the changes were made.

void frmVorn::ConnectStage()
{
    vorn::StageDocument* stage = stage_.get();
    connect(stage, &vorn::StageDocument::opened, this, &frmVorn::StageOpened);
    connect(stage, &vorn::StageDocument::cellsChanged, this, &frmVorn::DrawCells);
    connect(stage, &vorn::StageDocument::recordChanged, this, &frmVorn::PlaceMarker);
    connect(stage, &vorn::StageDocument::entitiesChanged, this, [this] {
        if (editing_->picked() >= stage_->entityCount())
            Pick(-1); // an undone insert takes its entity away
        PositionEntities();
        RefreshInspector();
        if (ShowsSprites())
            chkSprites_Click(); // every sprite and marker anew
    });
    connect(stage, &vorn::StageDocument::tileTypesChanged, this, &frmVorn::TileTypesChanged);
    connect(stage, &vorn::StageDocument::mapResized, this, &frmVorn::StageResized);
    connect(stage, &vorn::StageDocument::picturesChanged, this, &frmVorn::PicturesChanged);
    connect(stage, &vorn::StageDocument::npcTableChanged, this, [this] {
        if (ShowsSprites())
            chkSprites_Click(); // every sprite and marker anew
    });
    connect(stage, &vorn::StageDocument::picturesReread, this, [this](const QString& problem) {
        lblStatus_->setText(problem.isEmpty() ? QStringLiteral("Ready...") : problem);
    });
    connect(stage, &vorn::StageDocument::modifiedChanged, this, &frmVorn::ShowModified);
    connect(recovery_.get(), &vorn::RecoveryKeeper::writeFailed, this, [this](const QString& reason) {
        lblStatus_->setText(QStringLiteral("Unsaved edits cannot be kept for recovery: ") + reason);
    });
    // A tileset or backdrop another program changes is drawn anew.
    stage->watchPictures(true);
}

void frmVorn::SetRecoveryFolder(const QString& folder)
{
    recovery_->setStore(vorn::RecoveryStore(folder));
    scriptWindows_->setRecoveryStore(vorn::RecoveryStore(folder));
}

// The steps of a load after the files are read, in the designed order.
void frmVorn::StageOpened()
{
    // A selection belongs to the map it was made on.
    editing_->setSelection(std::nullopt);
    editing_->setPicked(-1);
    tools_->cancelDrags();
    ApplyTypeTable();
    if (typesWindow_)
        typesWindow_->redrawSprites(); // the stage's sheets may be others
    SizePalette();
    picTileset_->update();
    const bool shown = !chkHideEnts_->isChecked();
    for (int i = 0; i < int(stage_->entityCount()) && i < int(entity_.size()); ++i) {
        if (entity_[i])
            entity_[i]->setVisible(shown);
    }
    PositionEntities();
    RedrawMap();
    Form_Resize();
    RefreshInspector();
}

void frmVorn::StageResized()
{
    RedrawMap();
    PositionEntities();
    Form_Resize();
    RefreshInspector();
}

// A drag, a dialog's OK, an undo or a redo of one record.
void frmVorn::PlaceMarker(int index)
{
    if (index < 0 || index >= vorn::kMaxEntities || !entity_[index])
        return;
    if (index < stage_->entityCount())
        entity_[index]->setGeometry(vorn::MarkerRect(stage_->record(index), ZoomSize_));
    if (ShowsSprites()) {
        // The sprite may reach beyond its cell, and a new type may change
        // whether the marker is a picture or an outline.
        picMap_->update();
        entity_[index]->update();
    }
    if (index == hsbEntity_->value())
        RefreshInspector();
}

// The selected entity's fields as they are now. Until an entity has been
// selected the inspector stays as designed, empty.
void frmVorn::RefreshInspector()
{
    if (inspectorBuilt_)
        hsbEntity_Change();
}

void frmVorn::PicturesChanged()
{
    SizePalette();
    picTileset_->update();
    picMap_->update();
    Form_Resize();
}

void frmVorn::ShowModified(bool modified) { lblModified_->setText(modified ? QStringLiteral("Modified") : QString()); }
