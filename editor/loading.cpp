#include "frmVorn.h"

#include "stagedocument.h"

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

// Events are processed once, so that the text shows while the work goes on.
void frmVorn::ShowProgress(const QString& text)
{
    lblStatus_->setText(text);
    QCoreApplication::processEvents();
}

void frmVorn::RevertStageSelection()
{
    const QSignalBlocker block(cboMap_);
    cboMap_->setCurrentIndex(stage_->index());
}

bool frmVorn::cmdLoad_Click()
{
    if (loading_ || saving_) {
        reloadPending_ = true;
        return false;
    }
    const int stage = cboMap_->currentIndex();
    if (!game_.hasStage(stage))
        return false;
    // Unsaved edits of the open stage are asked about before anything goes.
    const bool again = stage == stage_->index();
    if (!(again ? ConfirmReload() : ConfirmLeavingStage())) {
        RevertStageSelection();
        return false;
    }

    loading_ = true;
    const auto showStatus = [this](const QString& text) { ShowProgress(text); };
    const auto refuse = [&](const QString& message) {
        // Another stage chosen while this one was read is loaded next; only
        // otherwise does the list go back to the open stage.
        const bool chosenMeanwhile = reloadPending_ && cboMap_->currentIndex() != stage;
        ShowMessage(message);
        loading_ = false;
        reloadPending_ = false;
        if (chosenMeanwhile) {
            cmdLoad_Click();
            return false;
        }
        RevertStageSelection();
        lblStatus_->setText(QStringLiteral("Ready..."));
        return false;
    };

    // Everything is read and checked before any of the open stage changes.
    vorn::StageDocument::Reading read;
    if (const vorn::Outcome refused = stage_->read(game_, stage, read, showStatus); !refused.ok())
        return refuse(refused.refusal());
    if (!read.pictureWarning.isEmpty())
        ShowMessage(read.pictureWarning, QMessageBox::Warning);

    // Commit: the document's signals lay out the views (StageOpened).
    stage_->open(std::move(read));
    lblStatus_->setText(QStringLiteral("Ready..."));
    ShowLooksNotes();

    loading_ = false;
    if (reloadPending_) {
        reloadPending_ = false;
        if (cboMap_->currentIndex() != stage_->index())
            return cmdLoad_Click();
    }
    OfferRecovery();
    return true;
}
