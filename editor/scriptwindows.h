#pragma once
// The script windows of one game: at most one a script, found again by its
// file, and asked in turn before the editor closes.
#include "gamescripts.h"
#include "recovery.h"
#include "scriptwindow.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class ScriptWindows : public QObject {
    Q_OBJECT
public:
    // `game` must outlive it.
    ScriptWindows(const vorn::Game& game, ScriptQuestions questions, vorn::ScriptHelpSources help,
                  vorn::ScriptDocument::EntityEvents entityEvents);
    ~ScriptWindows() override;

    vorn::GameScripts& scripts() { return scripts_; }

    // The window of script `builtName`, brought to the front, or a new one
    // that read it; null, with the reason in `refusal`, when it cannot be read.
    // A stage script opened from a stage is checked with that stage's entities.
    ScriptWindow* open(const QString& builtName, QString* refusal = nullptr,
                       int stage = vorn::ScriptDocument::kFirstStageNamingIt);
    // The open window of `builtName`; null when there is none.
    ScriptWindow* find(const QString& builtName) const;
    std::vector<ScriptWindow*> windows() const;

    // The findable events of `builtName`: the open window's text when it
    // has one, else the file; nullopt when neither can be read.
    std::optional<std::vector<int>> events(const QString& builtName) const;

    // Asks in turn about each window with unsaved edits; false when one
    // answer was Cancel, and then nothing is thrown away. Else closes every
    // window.
    bool closeAll();

    // Where the copies of unsaved scripts go; the user's state folder unless set.
    void setRecoveryStore(vorn::RecoveryStore store) { recoveryStore_ = std::move(store); }

    // The stage's entities changed: the windows of its script check again.
    void entitiesChanged(int stage);
    // Ctrl+O: the list of the game's scripts, and the window of the one chosen.
    void chooseAndOpen(QWidget* parent);

    // The windows' remembered place and size, `Geometry=` under `[Script
    // Window]` in the settings file: read as a window opens, written as one
    // closes. Unset, windows open at their default place and nothing is kept.
    std::function<QString()> readGeometry;
    std::function<void(const QString& value)> writeGeometry;
    // A stage to open in the main window, asked for from a script's <TRA.
    std::function<void(int stage)> openStage;

private:
    void savedScript(const QString& builtName);
    // Edits of `window`'s script a Vorn no longer running kept: offered
    // back, newest first.
    void offerRecovery(ScriptWindow* window);

    const vorn::Game& game_;
    ScriptQuestions questions_;
    vorn::ScriptHelpSources help_;
    vorn::ScriptDocument::EntityEvents entityEvents_;
    vorn::GameScripts scripts_;
    std::vector<QPointer<ScriptWindow>> windows_;
    vorn::RecoveryStore recoveryStore_{vorn::RecoveryStore::DefaultFolder()};
};
