#include "frmVorn.h"

#include "frmAbout.h"
#include "frmEntEd.h"
#include "frmMapEd.h"
#include "entitytypes.h"
#include "numtext.h"
#include "script.h"
#include "spritedrawing.h"
#include "stagedocument.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>

// Commands that open the dialogs, and the script buttons. The dialogs only
// collect values; every change of the window's state happens here, after
// the dialog has been hidden.

namespace {
const QString kCancelled = QStringLiteral("-_-");
} // namespace

void frmVorn::cmdEditEnt_Click() { EditEntity(hsbEntity_->value()); }

void frmVorn::EditEntity(int index)
{
    const int i = std::clamp(index, 0, vorn::kMaxEntities - 1);
    frmEntEd dialog(this);
    dialog.showMessage = [this](const QString& text) { ShowMessage(text); };
    // Read at every opening, as the designed list: this game folder's own
    // names first, and every type npc.tbl holds.
    const int types = std::max<int>(frmEntEd::kTypeCount, int(stage_->npcTable().size()));
    dialog.UseTypeNames(vorn::EntityTypeNames(settingsToRead(), types, game_.folder.root()));
    dialog.typePicture = [this](int type) { return vorn::TypeSpriteImage(type, stage_->sheets(), stage_->npcTable()); };
    vorn::EntityRecord record = stage_->record(i);
    dialog.ShowRecord(record);
    dialog.exec();
    if (dialog.Tag == kCancelled)
        return;
    dialog.CommitTo(record);
    stage_->editRecord(i, record);
}

namespace {

// "Resizing cuts 37 tiles; 2 entities will lie outside the map."
QString ResizeCutQuestion(int tiles, int entities)
{
    QStringList parts;
    if (tiles > 0)
        parts << (tiles == 1 ? QStringLiteral("Resizing cuts 1 tile")
                             : QStringLiteral("Resizing cuts %1 tiles").arg(tiles));
    if (entities > 0) {
        const QString lie = entities == 1 ? QStringLiteral("1 entity will lie outside the map")
                                          : QStringLiteral("%1 entities will lie outside the map").arg(entities);
        parts << (parts.isEmpty() ? QStringLiteral("Resizing: ") + lie : lie);
    }
    return parts.join(QStringLiteral("; ")) + u'.';
}

} // namespace

void frmVorn::cmdMapProps_Click()
{
    // Only the open stage's record may be edited: the dialog sizes its map
    // and the command saves it, and nothing is written from a stage that
    // was not read.
    const int i = cboMap_->currentIndex();
    if (!stage_->isOpen() || i != stage_->index())
        return;
    if (!vorn::ProbeGameExecutable(game_.tablePath())) {
        ShowMessage(QStringLiteral("Cannot write to executable. Please make sure the game is not "
                                   "running and/or write-protected."));
        return;
    }

    vorn::StageRecord accepted = game_.table[i];
    qint16 width = 0;
    qint16 height = 0;
    {
        frmMapEd dialog(this, game_.folder);
        dialog.showMessage = [this](const QString& text) { ShowMessage(text); };
        dialog.Form_Load();
        dialog.Preselect(game_.table[i], stage_->width(), stage_->height());
        dialog.exec();
        if (dialog.Tag == kCancelled)
            return;
        // A field left as it was shown is stored from its own bytes, so
        // bytes the code page cannot read are never turned into "?".
        const vorn::StageRecord& shown = game_.table[i];
        accepted.setTileset(vorn::KeepOrStoreName32(shown.tileset(), dialog.tilesetName()));
        accepted.setMap(vorn::KeepOrStoreName32(shown.map(), dialog.mapName()));
        accepted.setBackdrop(vorn::KeepOrStoreName32(shown.backdrop(), dialog.backdropName()));
        accepted.setSpriteSet(vorn::KeepOrStoreName32(shown.spriteSet(), dialog.spriteSetName()));
        accepted.setTitle(vorn::KeepOrStoreName32(shown.title(), dialog.titleText()));
        accepted.setParallax(dialog.parallax());
        width = dialog.mapWidth();
        height = dialog.mapHeight();
    }

    // The resize is written at once: cells and entities it would cut are
    // asked about first, and Cancel leaves everything as it was.
    const bool resized = width != stage_->width() || height != stage_->height();
    if (resized) {
        const vorn::StageDocument::ResizeCut cut = stage_->resizeCut(width, height, 0, 0);
        if ((cut.tiles > 0 || cut.entities > 0) &&
            Ask(ResizeCutQuestion(cut.tiles, cut.entities), {QStringLiteral("Resize"), QStringLiteral("Cancel")}, 1,
                1) != QStringLiteral("Resize"))
            return;
    }
    const QByteArray mapBefore = stage_->mapFileBytes();
    const QString mapName = stage_->files().mapName;

    // The game may have started while the dialog was open: then nothing of
    // the edit takes effect, in memory or on disk.
    if (const vorn::Outcome written = game_.writeRecord(i, accepted); !written.ok()) {
        ShowMessage(QStringLiteral("The stage properties were not saved: ") + written.refusal(), QMessageBox::Warning);
        return;
    }
    stage_->setMapSize(width, height); // unsaved until the save below

    {
        const QSignalBlocker noLoad(cboMap_); // renaming the entry is no new selection
        cboMap_->setItemText(i, vorn::StageListItemText(i, game_.table[i]));
    }

    // Save writes to the files of the map that is open, so a new Map name
    // never overwrites another map with this one; the load then reads the
    // record's map.
    if (!cmdSave_Click()) {
        // Reloading now would throw away the edits that could not be
        // written; keep them, shown at the accepted size, for another Save.
        ShowMessage(QStringLiteral("The stage properties were saved to the executable, but the "
                                   "stage was not reloaded so that its unsaved changes stay open."));
        return;
    }
    // The reload starts a new history; the resize is its first step, so
    // Ctrl+Z brings back the old size and every cell.
    if (cmdLoad_Click() && resized && stage_->isOpen() && stage_->files().mapName == mapName) {
        // The old bytes were read from this very file a moment ago; should
        // they not parse, the resize simply has no undo step.
        if (const vorn::Outcome recorded = stage_->recordWrittenResize(mapBefore); !recorded.ok())
            lblStatus_->setText(recorded.refusal());
    }
}

void frmVorn::cmdAbout_Click()
{
    frmAbout dialog(this);
    dialog.exec();
}

namespace {

// The selected stage's map name; refused when it cannot name a script.
vorn::Outcome ScriptName(const frmVorn& window, int stage, QString& name)
{
    name = vorn::DecodeAnsi(vorn::CutAtNull(window.game().table[size_t(stage)].map()));
    if (!vorn::IsPlainFileName(name))
        return vorn::PlainNameError(stage, QStringLiteral("map"), name);
    return {};
}

} // namespace

// Decode and Encode differ only in the direction and the words of success.
void frmVorn::ConvertSelectedScript(bool decode)
{
    const int stage = cboMap_->currentIndex();
    if (!game_.hasStage(stage))
        return;
    QString name;
    vorn::Outcome converted = ScriptName(*this, stage, name);
    if (converted.ok()) {
        // A target with edits of its own is not replaced without asking.
        const QString question = vorn::ScriptOverwriteQuestion(game_.folder, name, decode);
        if (!question.isEmpty() &&
            Ask(question, {QStringLiteral("Overwrite"), QStringLiteral("Cancel")}, 1, 1) != QStringLiteral("Overwrite"))
            return;
        converted = decode ? vorn::DecodeScriptFile(game_.folder, name) : vorn::EncodeScriptFile(game_.folder, name);
    }
    if (!converted.ok()) {
        ShowMessage(converted.refusal(), QMessageBox::Warning);
        return;
    }
    if (vorn::Val(INIRead(QStringLiteral("Main"), QStringLiteral("Silent TSC"))) == 0)
        ShowMessage(decode ? QStringLiteral("TSC script successfully decoded.")
                           : QStringLiteral("TSC script successfully encoded."));
}

void frmVorn::cmdTSCDec_Click() { ConvertSelectedScript(true); }

void frmVorn::cmdTSCEnc_Click() { ConvertSelectedScript(false); }
