#include "frmVorn.h"

#include "entitieswindow.h"
#include "entitytypes.h"
#include "stagedocument.h"
#include "typetable.h"
#include "typeswindow.h"

#include <QLabel>

// The Entity Types window, and the map's sprites and names that follow it.

void frmVorn::OpenTypesWindow()
{
    if (!typesWindow_) {
        auto* types = new vorn::TypeTable(game_.folder, {settingsPath_, settingsSeed}, this);
        if (const vorn::Outcome read = types->read(); !read.ok()) {
            delete types;
            ShowMessage(read.refusal(), QMessageBox::Warning);
            return;
        }
        types_ = types;
        TypesWindowHooks hooks;
        hooks.ask = [this](const QString& text, const QStringList& buttons) {
            return Ask(text, buttons, 0, int(buttons.size()) - 1);
        };
        hooks.tell = [this](const QString& text) { ShowMessage(text, QMessageBox::Warning); };
        hooks.sheets = [this]() -> const vorn::SpriteSheets* { return stage_->isOpen() ? &stage_->sheets() : nullptr; };
        hooks.written = [this] {
            ReadEntityNames();
            RefreshInspector();
            if (entitiesWindow_)
                entitiesWindow_->relook();
            lblStatus_->setText(
                QStringLiteral("Entity types written: %1, %2 types.").arg(vorn::NpcTableName()).arg(types_->count()));
        };
        typesWindow_ = new EntityTypesWindow(*types_, hooks, this);
        // Every change, undo and discard places the sprites anew.
        connect(types_, &vorn::TypeTable::changed, this, [this] {
            if (stage_->isOpen() && types_->count() > 0)
                stage_->setNpcTable(types_->types());
        });
        ApplyTypeTable();
    }
    typesWindow_->show();
    typesWindow_->raise();
    typesWindow_->activateWindow();
}

void frmVorn::ApplyTypeTable()
{
    if (!stage_->isOpen())
        return;
    if (types_) {
        // Nothing pending is nothing to lose: a table another program wrote
        // is read again, as the stage just read it.
        if (!types_->pending() && types_->changedOutside()) {
            if (const vorn::Outcome read = types_->read(); !read.ok())
                lblStatus_->setText(read.refusal());
        }
        if (types_->count() > 0)
            stage_->setNpcTable(types_->types());
        return;
    }
    // Without the window only a game that added types needs their looks.
    if (stage_->npcTable().size() > size_t(vorn::kShippedEntityTypes)) {
        vorn::NpcTable table = stage_->npcTable();
        vorn::ApplyAddedTypeLooks(table, settingsToRead(), game_.folder.root());
        stage_->setNpcTable(std::move(table));
    }
}
