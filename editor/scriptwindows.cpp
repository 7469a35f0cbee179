#include "scriptwindows.h"

#include "scriptrecovery.h"
#include "stagetable.h"
#include "windowplacement.h"

#include <QApplication>

#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QTextCursor>

ScriptWindows::ScriptWindows(const vorn::Game& game, ScriptQuestions questions, vorn::ScriptHelpSources help,
                             vorn::ScriptDocument::EntityEvents entityEvents)
    : game_(game)
    , questions_(std::move(questions))
    , help_(std::move(help))
    , entityEvents_(std::move(entityEvents))
    , scripts_(game)
{
    help_.game = &game_;
    help_.scripts = &scripts_;
}

ScriptWindows::~ScriptWindows()
{
    for (const QPointer<ScriptWindow>& window : windows_)
        delete window.data(); // hidden ones too
}

std::vector<ScriptWindow*> ScriptWindows::windows() const
{
    std::vector<ScriptWindow*> open;
    // A closed window waits for its deletion hidden; it is no longer open.
    for (const QPointer<ScriptWindow>& window : windows_)
        if (window && window->isVisible())
            open.push_back(window.data());
    return open;
}

ScriptWindow* ScriptWindows::find(const QString& builtName) const
{
    for (ScriptWindow* window : windows())
        if (window->script().builtName().compare(builtName, Qt::CaseInsensitive) == 0)
            return window;
    return nullptr;
}

ScriptWindow* ScriptWindows::open(const QString& builtName, QString* refusal, int stage)
{
    if (ScriptWindow* window = find(builtName)) {
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }
    auto document = std::make_unique<vorn::ScriptDocument>(game_, scripts_, builtName, entityEvents_, stage);
    auto* window = new ScriptWindow(std::move(document), questions_, help_);
    if (const vorn::Outcome read = window->load(); !read.ok()) {
        if (refusal)
            *refusal = read.refusal();
        delete window;
        return nullptr;
    }
    auto* keeper = new vorn::ScriptRecoveryKeeper(game_, window->script(), recoveryStore_, window);
    connect(keeper, &vorn::ScriptRecoveryKeeper::writeFailed, window, [window](const QString& reason) {
        window->status()->setText(QStringLiteral("Unsaved edits cannot be kept for recovery: ") + reason);
    });
    window->openOther = [this](ScriptWindow& from) { chooseAndOpen(&from); };
    window->saved = [this](const QString& name) { savedScript(name); };
    window->openScriptAt = [this](const QString& name, int event, int ofStage) {
        QString refusal;
        if (ScriptWindow* target = open(name, &refusal, ofStage))
            target->goToEvent(event);
        else if (questions_.tell)
            questions_.tell(nullptr, refusal);
    };
    window->openStage = [this](int stage) {
        if (openStage)
            openStage(stage);
    };
    window->closing = [this](ScriptWindow& closed) {
        if (writeGeometry)
            writeGeometry(GeometryText(closed));
    };
    PlaceWindow(*window, readGeometry ? GeometryOf(readGeometry()) : std::nullopt, window->size(),
                QApplication::activeWindow());
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(), [](const auto& w) { return w.isNull(); }),
                   windows_.end());
    windows_.emplace_back(window);
    window->show();
    KeepOnScreen(*window);
    window->raise();
    window->activateWindow();
    offerRecovery(window);
    return window;
}

void ScriptWindows::offerRecovery(ScriptWindow* window)
{
    auto* keeper = window->findChild<vorn::ScriptRecoveryKeeper*>();
    if (!keeper || !questions_.ask)
        return;
    while (const std::optional<vorn::RecoveryStore::Copy> copy = keeper->leftOver()) {
        const QString when = QLocale(QLocale::English).toString(copy->written, QStringLiteral("d MMMM, HH:mm"));
        QString text = window->script().fileName() +
                       QStringLiteral(" has changes that were not saved when Vorn last ended (%1).").arg(when);
        for (const QString& name : copy->changedSources())
            text += u' ' + name.section(u'\\', -1) +
                    QStringLiteral(" was changed by another program after these edits were kept.");
        text += QStringLiteral(" Restore them?");
        if (questions_.ask(window, text, {QStringLiteral("Restore"), QStringLiteral("Discard")}, 0, -1) !=
            QStringLiteral("Restore")) {
            keeper->drop();
            continue;
        }
        // One step of the text's own undo: Ctrl+Z brings back the file's text.
        QTextCursor all(window->script().text());
        all.select(QTextCursor::Document);
        all.insertText(copy->scriptText);
        keeper->take();
        return;
    }
}

std::optional<std::vector<int>> ScriptWindows::events(const QString& builtName) const
{
    if (const ScriptWindow* window = find(builtName)) {
        std::vector<int> numbers;
        for (const vorn::ScriptEvent& event : window->script().analysis().parsed.events)
            if (event.findable)
                numbers.push_back(event.number);
        return numbers;
    }
    // Read afresh: a script the checks remember as missing may exist by now.
    QByteArray decoded;
    if (!vorn::ReadDecodedScript(game_.folder, builtName, decoded).ok())
        return std::nullopt;
    return vorn::EventNumbersOf(decoded);
}

bool ScriptWindows::closeAll()
{
    // A Discard counts only once no later answer is Cancel: until then the
    // window keeps its edits, unsaved, and their recovery copy.
    std::vector<ScriptWindow*> discarded;
    for (ScriptWindow* window : windows()) {
        const ScriptWindow::CloseAnswer answer = window->askBeforeClose();
        if (answer == ScriptWindow::CloseAnswer::Keep)
            return false;
        if (answer == ScriptWindow::CloseAnswer::Discard)
            discarded.push_back(window);
    }
    for (ScriptWindow* window : discarded)
        window->discardEdits();
    for (ScriptWindow* window : windows())
        window->close();
    return true;
}

void ScriptWindows::entitiesChanged(int stage)
{
    for (ScriptWindow* window : windows())
        if (window->script().stage() == stage)
            window->script().recheck();
}

void ScriptWindows::savedScript(const QString& builtName)
{
    // Other scripts check their jumps against this one (and Head.tsc's events against all).
    for (ScriptWindow* window : windows())
        if (window->script().builtName().compare(builtName, Qt::CaseInsensitive) != 0)
            window->script().recheck();
}

void ScriptWindows::chooseAndOpen(QWidget* parent)
{
    QStringList items;
    QStringList names;
    for (const QString& name : vorn::SharedScriptNames()) {
        items << name;
        names << name;
    }
    for (int stage = 0; stage < scripts_.stageCount(); ++stage) {
        const QString name = scripts_.stageScriptName(stage);
        if (name.isEmpty() || names.contains(name, Qt::CaseInsensitive))
            continue;
        items << QStringLiteral("%1: %2").arg(game_.stageCaption(stage), name);
        names << name;
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(parent, QStringLiteral("Open Script"), QStringLiteral("Script:"), items, 0, false, &ok);
    if (!ok)
        return;
    QString refusal;
    if (!open(names[items.indexOf(chosen)], &refusal) && questions_.tell)
        questions_.tell(parent, refusal);
}
