#pragma once
// A window of its own for one of the game's scripts: the text with its
// colours, help and marks, an outline of its events, the checks' findings,
// find and replace, and going to an event. It saves to the scrambled file
// and asks before unsaved edits are lost.
#include "scriptdocument.h"
#include "scripthelp.h"

#include <QMainWindow>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class ScriptEdit;
class ScriptHighlighter;

// How a script window asks and tells: through the main window, so that
// its questions look, and are answered in tests, the same way.
struct ScriptQuestions {
    std::function<QString(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton,
                          int escapeButton)>
        ask;
    std::function<void(QWidget* parent, const QString& text)> tell;
};

class ScriptWindow : public QMainWindow {
    Q_OBJECT
public:
    ScriptWindow(std::unique_ptr<vorn::ScriptDocument> script, ScriptQuestions questions, vorn::ScriptHelpSources help,
                 QWidget* parent = nullptr);
    ~ScriptWindow() override;

    vorn::ScriptDocument& script() const { return *script_; }
    ScriptEdit* edit() const { return edit_; }
    QListWidget* outline() const { return outline_; }
    QListWidget* findings() const { return findings_; }
    QLabel* status() const { return status_; }
    QLineEdit* findText() const { return findText_; }
    QLineEdit* replaceText() const { return replaceText_; }
    ScriptHighlighter* highlighter() const { return highlighter_; }

    // Reads the file; a refusal leaves the window empty and says why.
    vorn::Outcome load();
    // Ctrl+S: asks when another program changed the file; false when not saved.
    bool save();
    // Asks about unsaved edits: true when the window may close.
    bool confirmClose();
    // The question of confirmClose, its Discard not yet carried out.
    enum class CloseAnswer { Close, Discard, Keep };
    CloseAnswer askBeforeClose();
    // Marks the text as not to be saved: closing no longer asks.
    void discardEdits();
    // Moves to event `number`'s header; false, saying so, when there is none.
    bool goToEvent(int number);
    // Ctrl+F and Ctrl+H; find and replace as their buttons do.
    void showFind(bool replace);
    bool findNext(bool backwards = false);
    void replaceOne();
    int replaceAll();
    // The lists below and beside the text, made again now rather than a moment later.
    void refreshLists();
    // Ctrl+click and F12: from an event number to its event, here or in
    // Head.tsc; from a <TRA's stage or event to that stage's script at the
    // event, and from its place on the map to that stage. False, saying so
    // when `tell`, when the position names none of these.
    bool follow(int position, bool tell = false);

    // Asked for by Ctrl+O: the script to open (a built name); set by the owner.
    std::function<void(ScriptWindow& from)> openOther;
    // Told after a save, so that other windows check again.
    std::function<void(const QString& builtName)> saved;
    // Asked by follow(): script `builtName` opened at event `event` (a stage
    // script checked with stage `stage`'s entities), and stage `stage` opened in the main window.
    std::function<void(const QString& builtName, int event, int stage)> openScriptAt;
    std::function<void(int stage)> openStage;
    // Told when the window closes for good, so that its place is remembered.
    std::function<void(ScriptWindow& window)> closing;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    void bindKey(const QKeySequence& keys, const QString& tip, const std::function<void()>& action);
    void showMarks();
    void jumpTo(int position, bool toTop);
    void askGoToEvent();
    void readAgainIfChanged();

    std::unique_ptr<vorn::ScriptDocument> script_;
    ScriptQuestions questions_;
    vorn::ScriptHelpSources help_;
    ScriptEdit* edit_ = nullptr;
    ScriptHighlighter* highlighter_ = nullptr;
    QListWidget* outline_ = nullptr;
    QListWidget* findings_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findText_ = nullptr;
    QLineEdit* replaceText_ = nullptr;
    QPushButton* replaceButton_ = nullptr;
    QPushButton* replaceAllButton_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* listTimer_ = nullptr;
};
