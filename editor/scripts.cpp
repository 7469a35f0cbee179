#include "frmVorn.h"

#include "scriptedit.h"
#include "scriptwindows.h"
#include "stagefiles.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>

// The game's scripts from the main window: the open stage's script in a
// script window of its own, at an entity's event, and whether that event
// exists in the entity's tooltip.

namespace {

constexpr int kEditGap = 4; // from the last tool button
constexpr int kEditWidth = 34;

} // namespace

void frmVorn::BuildScriptCommands()
{
    ScriptQuestions questions;
    questions.ask = [this](QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton,
                           int escapeButton) {
        return askHook ? askHook(text, buttons) : AskInBox(parent, text, buttons, defaultButton, escapeButton);
    };
    questions.tell = [this](QWidget* parent, const QString& text) {
        if (messageHook)
            messageHook(text, QMessageBox::Warning);
        else
            TellInBox(parent, text, QMessageBox::Warning);
    };
    vorn::ScriptHelpSources help;
    help.typeName = [this](int type) {
        return type >= 0 && type < int(EntityNames_.size()) ? EntityNames_[size_t(type)] : QString();
    };
    // The open stage's entities as they are now, edits included; another
    // stage's as its file holds them.
    const auto entitiesOf = [this](int stage) {
        std::vector<vorn::ScriptHelpEntity> entities;
        qint16 count = 0;
        const vorn::EntityRecords* records = nullptr;
        vorn::EntityRecords read{};
        if (stage == stage_->index()) {
            count = stage_->entityCount();
            records = &stage_->records();
        } else {
            vorn::StageFiles files;
            if (!game_.hasStage(stage) ||
                !vorn::StageFilesOf(stage, game_.table[size_t(stage)], files, game_.folder.pictureExtension()).ok())
                return entities;
            const QString path = game_.folder.findFile(files.entities);
            if (path.isEmpty() || !vorn::ReadEntityFile(path, files.entities, count, read, game_.folder.rules()).ok())
                return entities;
            records = &read;
        }
        for (int i = 0; i < count; ++i) {
            const vorn::EntityRecord& r = (*records)[size_t(i)];
            entities.push_back({i, r.Type, r.X, r.Y, r.TSC});
        }
        return entities;
    };
    help.entities = entitiesOf;
    const auto entityEvents = [entitiesOf](int stage) {
        std::vector<int> events;
        for (const vorn::ScriptHelpEntity& entity : entitiesOf(stage))
            events.push_back(entity.event);
        return events;
    };
    scriptWindows_ = std::make_unique<ScriptWindows>(game_, questions, help, entityEvents);
    scriptWindows_->openStage = [this](int stage) {
        if (stage >= 0 && stage < cboMap_->count())
            cboMap_->setCurrentIndex(stage);
        raise();
        activateWindow();
    };
    const QString placeSection = QStringLiteral("Script Window");
    const QString placeKey = QStringLiteral("Geometry");
    scriptWindows_->readGeometry = [this, placeSection, placeKey] { return INIRead(placeSection, placeKey); };
    scriptWindows_->writeGeometry = [this, placeSection, placeKey](const QString& value) {
        // Only a place is lost when it cannot be kept: the status bar says so, no box interrupts.
        if (const vorn::Outcome written = INIWrite(placeSection, placeKey, value); !written.ok())
            lblStatus_->setText(QStringLiteral("The script window's place was not stored: ") + written.refusal());
    };

    cmdEditScript_ = new QToolButton(picToolbar_);
    cmdEditScript_->setObjectName(QStringLiteral("cmdEditScript"));
    cmdEditScript_->setText(QStringLiteral("Edit"));
    cmdEditScript_->setAutoRaise(true);
    cmdEditScript_->setToolTip(QStringLiteral("Edit the stage's script in a window of its own (Ctrl+E; "
                                              "Ctrl+Shift+E opens it at the selected entity's event)"));
    const QRect lastTool = toolButtons_.back()->geometry();
    cmdEditScript_->setGeometry(lastTool.right() + 1 + kEditGap, lastTool.top(), kEditWidth, lastTool.height());
    connect(cmdEditScript_, &QToolButton::clicked, this, [this] { cmdEditScript_Click(); });
    BindKey(QKeySequence(Qt::CTRL | Qt::Key_E), [this] { cmdEditScript_Click(); });
    BindKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), [this] { EditEntityEvent(); });

    const auto recheck = [this] { scriptWindows_->entitiesChanged(stage_->index()); };
    connect(stage_.get(), &vorn::StageDocument::entitiesChanged, this, recheck);
    connect(stage_.get(), &vorn::StageDocument::recordChanged, this, recheck);
    connect(stage_.get(), &vorn::StageDocument::opened, this, recheck);
}

ScriptWindow* frmVorn::OpenStageScript()
{
    if (stage_->index() < 0) {
        lblStatus_->setText(QStringLiteral("Load a stage first: its script opens with Ctrl+E."));
        return nullptr;
    }
    QString refusal;
    ScriptWindow* window = scriptWindows_->open(stage_->files().script, &refusal, stage_->index());
    if (!window)
        ShowMessage(refusal, QMessageBox::Warning);
    return window;
}

void frmVorn::cmdEditScript_Click() { OpenStageScript(); }

void frmVorn::EditEntityEvent()
{
    const int index = PickedEntity();
    if (index < 0) {
        lblStatus_->setText(QStringLiteral("Pick an entity first: Ctrl+Shift+E opens the script at its event."));
        return;
    }
    const int event = stage_->record(index).TSC;
    if (ScriptWindow* window = OpenStageScript())
        window->goToEvent(event);
}

QString frmVorn::EventPresence(int event) const
{
    if (event == 0 || stage_->index() < 0)
        return {};
    const QString script = stage_->files().script;
    const QString file = script.mid(script.lastIndexOf(u'\\') + 1);
    const std::optional<std::vector<int>> events = scriptWindows_->events(script);
    if (!events)
        return QStringLiteral("%1 cannot be read.").arg(file);
    const auto has = [event](const std::vector<int>& list) {
        return std::find(list.begin(), list.end(), event) != list.end();
    };
    if (has(*events))
        return QStringLiteral("Event %1 is in %2.").arg(vorn::ScriptEventName(event), file);
    // The stage's script runs after Head.tsc, whose events every stage has.
    if (const auto head = scriptWindows_->events(vorn::HeadScriptName()); head && has(*head))
        return QStringLiteral("Event %1 is in Head.tsc.").arg(vorn::ScriptEventName(event));
    return QStringLiteral("Event %1 is not in %2.").arg(vorn::ScriptEventName(event), file);
}
