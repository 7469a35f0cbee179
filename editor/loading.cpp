#include "frmVorn.h"

#include "entitymarker.h"
#include "mapview.h"
#include "stageloading.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QSignalBlocker>

void frmVorn::cboMap_Click()
{
    if (loading_ || saving_) {
        // Chosen while a load or a save processes events: load it once that
        // one ends, so a save never writes one stage's entities under
        // another stage's name.
        reloadPending_ = true;
        return;
    }
    cmdLoad_Click();
}

void frmVorn::RevertStageSelection()
{
    const QSignalBlocker block(cboMap);
    cboMap->setCurrentIndex(openStage);
}

bool frmVorn::cmdLoad_Click()
{
    if (loading_ || saving_) {
        reloadPending_ = true;
        return false;
    }
    const int stage = cboMap->currentIndex();
    if (stage < 0 || stage >= vorn::kStageCount)
        return false;

    loading_ = true;
    const auto showStatus = [this](const QString& text) {
        lblStatus->setText(text);
        QCoreApplication::processEvents();
    };
    const auto refuse = [&](const QString& message) {
        // Another stage chosen while this one was read is loaded next; only
        // otherwise does the list go back to the open stage.
        const bool chosenMeanwhile = reloadPending_ && cboMap->currentIndex() != stage;
        ShowMessage(message);
        loading_ = false;
        reloadPending_ = false;
        if (chosenMeanwhile) {
            cmdLoad_Click();
            return false;
        }
        RevertStageSelection();
        lblStatus->setText(QStringLiteral("Ready..."));
        return false;
    };

    // Everything is read and checked before any of the open stage changes.
    vorn::LoadedStage read;
    read.records = EntityRecords; // records beyond the new count stay as they lie
    if (const QString refused = vorn::LoadStage(game_, stage, StageTable[stage], read, showStatus);
        !refused.isEmpty())
        return refuse(refused);
    if (const QString warning = vorn::UseStandInPictures(read); !warning.isEmpty())
        ShowMessage(warning, QMessageBox::Warning);
    const QString mapName = read.files.mapName;
    const qint16 count = read.entityCount;

    // Commit.
    picTilesetImage = std::move(read.tileset.image);
    picMask = CreateMaskImage(picTilesetImage, qRgb(0, 0, 0));
    picTileset->resize(picTilesetImage.size());
    picTileset->update();
    TileGrid = std::move(read.map.grid);
    MapWidth = read.map.width;
    MapHeight = read.map.height;
    picTemp = std::move(read.backdrop.image);
    EntityCount = count;
    EntityRecords = read.records;
    const bool shown = !chkHideEnts->isChecked();
    for (int i = 0; i < int(count) && i < int(entity.size()); ++i) {
        if (entity[i])
            entity[i]->setVisible(shown);
    }
    openStage = stage;
    openMapName = mapName;
    ClearHistory();

    PositionEntities();
    RedrawMap();
    Form_Resize();
    lblStatus->setText(QStringLiteral("Ready..."));

    loading_ = false;
    if (reloadPending_) {
        reloadPending_ = false;
        if (cboMap->currentIndex() != openStage)
            return cmdLoad_Click();
    }
    return true;
}
