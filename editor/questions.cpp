#include "frmVorn.h"

#include "recovery.h"
#include "stagedocument.h"

#include <QLocale>

// The questions asked before edits could be lost: unsaved edits about to be
// thrown away, another program's change about to be overwritten, and edits
// left over from a Vorn that ended without saving them. None of them shows
// while there is nothing to lose.

namespace {

const QString kSave = QStringLiteral("Save");
const QString kDiscard = QStringLiteral("Discard");
const QString kCancel = QStringLiteral("Cancel");
const QString kOverwrite = QStringLiteral("Overwrite");
const QString kRestore = QStringLiteral("Restore");

} // namespace

bool frmVorn::ConfirmLeavingStage()
{
    if (!stage_->isModified())
        return true;
    QString text = game_.stageCaption(stage_->index()) + QStringLiteral(" has changes that are not saved.");
    if (stage_->hasUnsavedTileTypes())
        text += QStringLiteral(" They include tile types of %1, which every stage on that tileset shares.")
                    .arg(stage_->files().tileTypes);
    const QString answer = Ask(text, {kSave, kDiscard, kCancel}, 0, 2);
    if (answer == kSave)
        return cmdSave_Click();
    if (answer == kDiscard) {
        // A close can still be cancelled by a later question: the copy goes
        // only once the window really closes.
        if (!closing_)
            recovery_->discard();
        return true;
    }
    return false;
}

bool frmVorn::ConfirmReload()
{
    if (!stage_->isModified())
        return true;
    QString caption = game_.stageCaption(stage_->index());
    caption[0] = caption[0].toLower(); // within the sentence
    const QString answer =
        Ask(QStringLiteral("Discard the changes to ") + caption + QStringLiteral(" and load it again from disk?"),
            {kDiscard, kCancel}, 1, 1);
    if (answer != kDiscard)
        return false;
    recovery_->discard();
    return true;
}

bool frmVorn::ConfirmOverwriteChanged()
{
    for (const QString& file : stage_->changedOnDisk(game_)) {
        const QString answer = Ask(file + QStringLiteral(" was changed by another program after Vorn loaded it. "
                                                         "Overwrite it?"),
                                   {kOverwrite, kCancel}, 1, 1);
        if (answer != kOverwrite)
            return false;
    }
    return true;
}

namespace {

// " Cave.pxm was changed by another program after these edits were kept."
// for each file the copy's edits were made on that is no longer as it was.
QString ChangedSinceKept(const vorn::RecoveryStore::Copy& copy)
{
    QString text;
    for (const QString& name : copy.changedSources())
        text += u' ' + name.section(u'\\', -1) +
                QStringLiteral(" was changed by another program after these edits were kept.");
    return text;
}

} // namespace

void frmVorn::OfferRecovery()
{
    // Every copy a Vorn no longer running left, newest first; a restore
    // ends the offers (older ones are offered at the next opening).
    while (const std::optional<vorn::RecoveryStore::Copy> copy = recovery_->leftOver()) {
        const QString when = QLocale(QLocale::English).toString(copy->written, QStringLiteral("d MMMM, HH:mm"));
        // At start-up the window is not shown yet; the question is about what
        // it shows, so it shows first.
        if (!isVisible())
            show();
        // No Escape: either answer decides the fate of the edits.
        const QString answer =
            Ask(game_.stageCaption(stage_->index()) +
                    QStringLiteral(" has changes that were not saved when Vorn last ended (%1).").arg(when) +
                    ChangedSinceKept(*copy) + QStringLiteral(" Restore them?"),
                {kRestore, kDiscard}, 0, -1);
        if (answer != kRestore) {
            recovery_->drop();
            continue;
        }
        if (const vorn::Outcome restored = stage_->restore(copy->mapFile, copy->entityFile, copy->tileTypes);
            !restored.ok()) {
            ShowMessage(QStringLiteral("The unsaved changes could not be restored: ") + restored.refusal(),
                        QMessageBox::Warning);
            recovery_->drop();
            continue;
        }
        recovery_->take();
        return;
    }
}
