#include "scriptwindow.h"

#include "scriptedit.h"
#include "scriptfont.h"
#include "scripthighlighter.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace {

const QString kSave = QStringLiteral("Save");
const QString kDiscard = QStringLiteral("Discard");
const QString kCancel = QStringLiteral("Cancel");
const QString kOverwrite = QStringLiteral("Overwrite");

constexpr int kOffsetRole = Qt::UserRole + 1;
// Long enough to let a burst of typing settle before the lists are made again.
constexpr int kListDelayMs = 150;
constexpr int kPreviewLength = 20; // characters of an event's first text in the outline
// More marks than a view can show: beyond this many findings only those in view are marked.
constexpr int kMarksLimit = 2000;
constexpr int kListLimit = 5000; // rows of the outline and of the findings

// Saved all the same, as the user asked; the status line says what the
// game will stop on, so that it is not found only in the game.
QString SavedText(const QString& builtName, const std::vector<vorn::ScriptFinding>& findings)
{
    int errors = 0;
    const vorn::ScriptFinding* first = nullptr;
    for (const vorn::ScriptFinding& finding : findings) {
        if (!finding.error)
            continue;
        ++errors;
        // The whole-script ones come first in the list; a place to go to tells more.
        if (!first || (first->line == 0 && finding.line > 0))
            first = &finding;
    }
    if (errors == 0)
        return QStringLiteral("Saved %1.").arg(builtName);
    const QString counted = errors == 1 ? QStringLiteral("Saved with 1 error that stops the game: ")
                                        : QStringLiteral("Saved with %1 errors that stop the game: ").arg(errors);
    const QString place = first->line > 0 ? QStringLiteral("line %1: ").arg(first->line) : QString();
    return counted + place + first->text;
}

} // namespace

ScriptWindow::ScriptWindow(std::unique_ptr<vorn::ScriptDocument> script, ScriptQuestions questions,
                           vorn::ScriptHelpSources help, QWidget* parent)
    : QMainWindow(parent)
    , script_(std::move(script))
    , questions_(std::move(questions))
    , help_(std::move(help))
{
    // A closed window is gone, discarded edits with it: the script opens anew.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(script_->fileName() + QStringLiteral("[*] - Vorn"));
    buildLayout();
    connect(script_->text(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
    connect(script_.get(), &vorn::ScriptDocument::analysed, this, [this] {
        showMarks();
        listTimer_->start();
    });
    // Findings beyond the marks limit are marked as they come into view.
    for (QScrollBar* bar : {edit_->verticalScrollBar(), edit_->horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (!script_->checkPending() && script_->analysis().findings.size() > size_t(kMarksLimit))
                showMarks();
        });
    resize(900, 640);
    edit_->setFocus(); // typing goes to the text from the start
}

ScriptWindow::~ScriptWindow()
{
    // The colours and the text view work on the script's text: they go first.
    // Clearing the colours repaints the view, which must not call back into
    // a highlighter half destroyed.
    disconnect(edit_, nullptr, highlighter_, nullptr);
    delete highlighter_;
    delete takeCentralWidget();
}

void ScriptWindow::bindKey(const QKeySequence& keys, const QString& tip, const std::function<void()>& action)
{
    auto* made = new QAction(tip, this);
    made->setShortcut(keys);
    made->setShortcutContext(Qt::WindowShortcut);
    made->setToolTip(QStringLiteral("%1 (%2)").arg(tip, keys.toString(QKeySequence::NativeText)));
    connect(made, &QAction::triggered, this, action);
    addAction(made);
    findChild<QToolBar*>()->addAction(made);
}

void ScriptWindow::buildLayout()
{
    auto* tools = addToolBar(QStringLiteral("Script"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);

    edit_ = new ScriptEdit;
    // The plain text editor needs its own layout on the document before anything lays it out.
    script_->text()->setDocumentLayout(new QPlainTextDocumentLayout(script_->text()));
    edit_->setDocument(script_->text());
    highlighter_ = new ScriptHighlighter(*script_);
    highlighter_->setParent(this);
    highlighter_->shownRanges = [this] { return edit_->shownRanges(); };
    connect(edit_, &QPlainTextEdit::updateRequest, highlighter_, &ScriptHighlighter::colourShown);
    edit_->helpAt = [this](int position) {
        const vorn::ScriptDocument::Analysis& analysis = script_->analysis();
        const int offset = script_->byteOffsetOf(position);
        QStringList lines;
        const QString help = vorn::ScriptHelpAt(analysis.parsed, offset, script_->stage(), help_);
        if (!help.isEmpty())
            lines << help;
        for (const vorn::ScriptFinding& finding : analysis.findings) {
            if (finding.offset >= 0 && offset >= finding.offset && offset < finding.offset + 4)
                lines << (finding.error ? QStringLiteral("Error: ") : QStringLiteral("Warning: ")) + finding.text;
        }
        if (position < analysis.text.size() && vorn::IsKeptByte(analysis.text[position]))
            lines << QStringLiteral("Byte 0x%1, which the code page does not show; it is saved as it is.")
                         .arg(QString::number(vorn::KeptByteValue(analysis.text[position]), 16)
                                  .toUpper()
                                  .rightJustified(2, u'0'));
        return lines.join(QStringLiteral("\n\n"));
    };

    outline_ = new QListWidget;
    outline_->setFont(ScriptFont()); // event numbers and first texts as the text shows them
    outline_->setUniformItemSizes(true);
    outline_->setToolTip(QStringLiteral("The script's events: click one to go to it"));
    connect(outline_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item->data(kOffsetRole).isValid()) // not the line telling of more
            jumpTo(item->data(kOffsetRole).toInt(), true);
    });

    findings_ = new QListWidget;
    findings_->setUniformItemSizes(true);
    findings_->setToolTip(QStringLiteral("What the checks find: click one to go to it"));
    connect(findings_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int offset = item->data(kOffsetRole).toInt();
        if (offset >= 0)
            jumpTo(script_->positionOf(offset), false);
    });

    findBar_ = new QWidget;
    auto* bar = new QHBoxLayout(findBar_);
    bar->setContentsMargins(2, 2, 2, 2);
    findText_ = new QLineEdit;
    findText_->setPlaceholderText(QStringLiteral("Find"));
    replaceText_ = new QLineEdit;
    replaceText_->setPlaceholderText(QStringLiteral("Replace with"));
    auto* next = new QPushButton(QStringLiteral("Next"));
    next->setToolTip(QStringLiteral("Find the next (Enter; Shift+Enter finds the one before)"));
    replaceButton_ = new QPushButton(QStringLiteral("Replace"));
    replaceButton_->setToolTip(QStringLiteral("Replace this one and find the next (Enter in the replace box)"));
    replaceAllButton_ = new QPushButton(QStringLiteral("All"));
    replaceAllButton_->setToolTip(
        QStringLiteral("Replace every one, as one step to undo (Ctrl+Enter in the replace box)"));
    auto* close = new QToolButton;
    close->setText(QStringLiteral("×"));
    close->setToolTip(QStringLiteral("Close (Escape)"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{findText_, next, replaceText_, replaceButton_, replaceAllButton_, close})
        bar->addWidget(w);
    findBar_->hide();
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(replaceButton_, &QPushButton::clicked, this, &ScriptWindow::replaceOne);
    connect(replaceAllButton_, &QPushButton::clicked, this, &ScriptWindow::replaceAll);
    connect(close, &QToolButton::clicked, this, [this] {
        findBar_->hide();
        edit_->setFocus();
    });
    connect(findText_, &QLineEdit::returnPressed, this,
            [this] { findNext(QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier)); });
    connect(replaceText_, &QLineEdit::returnPressed, this, [this] {
        if (QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier))
            replaceAll();
        else
            replaceOne();
    });
    auto* escape = new QAction(findBar_);
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QAction::triggered, close, &QToolButton::click);
    findBar_->addAction(escape);

    auto* textPane = new QWidget;
    auto* textColumn = new QVBoxLayout(textPane);
    textColumn->setContentsMargins(0, 0, 0, 0);
    textColumn->setSpacing(0);
    textColumn->addWidget(edit_);
    textColumn->addWidget(findBar_);

    auto* down = new QSplitter(Qt::Vertical);
    down->addWidget(textPane);
    down->addWidget(findings_);
    down->setStretchFactor(0, 4);
    down->setStretchFactor(1, 1);
    auto* across = new QSplitter(Qt::Horizontal);
    across->addWidget(outline_);
    across->addWidget(down);
    across->setStretchFactor(0, 1);
    across->setStretchFactor(1, 5);
    across->setSizes({150, 750});
    setCentralWidget(across);

    status_ = new QLabel;
    statusBar()->addWidget(status_, 1);

    listTimer_ = new QTimer(this);
    listTimer_->setSingleShot(true);
    listTimer_->setInterval(kListDelayMs);
    connect(listTimer_, &QTimer::timeout, this, &ScriptWindow::refreshLists);

    bindKey(QKeySequence::Save, QStringLiteral("Save"), [this] { save(); });
    bindKey(QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Open Script"), [this] {
        if (openOther)
            openOther(*this);
    });
    bindKey(QKeySequence(Qt::CTRL | Qt::Key_F), QStringLiteral("Find"), [this] { showFind(false); });
    bindKey(QKeySequence(Qt::CTRL | Qt::Key_H), QStringLiteral("Replace"), [this] { showFind(true); });
    bindKey(QKeySequence(Qt::CTRL | Qt::Key_G), QStringLiteral("Go to Event"), [this] { askGoToEvent(); });
    bindKey(QKeySequence(Qt::Key_F12), QStringLiteral("Go to Event or Stage"),
            [this] { follow(edit_->textCursor().position(), true); });
    edit_->followAt = [this](int position) { return follow(position); };
    bindKey(QKeySequence::Undo, QStringLiteral("Undo"), [this] { edit_->undo(); });
    bindKey(QKeySequence(Qt::CTRL | Qt::Key_Y), QStringLiteral("Redo"), [this] { edit_->redo(); });
}

vorn::Outcome ScriptWindow::load()
{
    QString note;
    const vorn::Outcome read = script_->load(&note);
    status_->setText(read.ok() ? note : read.refusal());
    refreshLists();
    return read;
}

bool ScriptWindow::save()
{
    if (script_->changedOnDisk()) {
        const QString answer =
            questions_.ask(this,
                           script_->builtName() +
                               QStringLiteral(" was changed by another program after Vorn loaded it. Overwrite it?"),
                           {kOverwrite, kCancel}, 1, 1);
        if (answer != kOverwrite)
            return false;
    }
    status_->setText(QStringLiteral("Saving %1...").arg(script_->builtName()));
    if (const vorn::Outcome written = script_->save(); !written.ok()) {
        status_->setText(QStringLiteral("Not saved."));
        questions_.tell(this, written.refusal());
        return false;
    }
    status_->setText(SavedText(script_->builtName(), script_->analysis().findings));
    if (saved)
        saved(script_->builtName());
    return true;
}

bool ScriptWindow::confirmClose()
{
    const CloseAnswer answer = askBeforeClose();
    if (answer == CloseAnswer::Discard)
        discardEdits();
    return answer != CloseAnswer::Keep;
}

ScriptWindow::CloseAnswer ScriptWindow::askBeforeClose()
{
    if (!script_->isModified())
        return CloseAnswer::Close;
    const QString answer =
        questions_.ask(this, script_->builtName() + QStringLiteral(" has changes that are not saved."),
                       {kSave, kDiscard, kCancel}, 0, 2);
    if (answer == kSave)
        return save() ? CloseAnswer::Close : CloseAnswer::Keep;
    return answer == kDiscard ? CloseAnswer::Discard : CloseAnswer::Keep;
}

// Asked once: closing does not ask again. The recovery copy goes with the
// edits' saved state.
void ScriptWindow::discardEdits() { script_->text()->setModified(false); }

void ScriptWindow::closeEvent(QCloseEvent* event)
{
    if (confirmClose()) {
        event->accept();
        if (closing)
            closing(*this);
    } else
        event->ignore();
}

void ScriptWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        readAgainIfChanged();
}

void ScriptWindow::readAgainIfChanged()
{
    // Unsaved edits stay: the save asks before it overwrites the other program's change.
    if (script_->isModified() || !script_->changedOnDisk())
        return;
    const int line = edit_->textCursor().blockNumber();
    if (load().ok()) {
        jumpTo(script_->text()->findBlockByNumber(line).position(), false);
        status_->setText(QStringLiteral("Read again: another program changed %1.").arg(script_->builtName()));
    }
}

void ScriptWindow::jumpTo(int position, bool toTop)
{
    QTextCursor cursor(script_->text());
    cursor.setPosition(std::clamp(position, 0, script_->text()->characterCount() - 1));
    edit_->setTextCursor(cursor);
    if (toTop) {
        // The line at the top of the view, as far as the scroll range allows.
        edit_->verticalScrollBar()->setValue(cursor.blockNumber());
    }
    edit_->ensureCursorVisible();
    edit_->setFocus();
}

bool ScriptWindow::goToEvent(int number)
{
    const int position = script_->eventPosition(number);
    if (position < 0) {
        status_->setText(
            QStringLiteral("There is no event %1 in %2.").arg(vorn::ScriptEventName(number), script_->fileName()));
        return false;
    }
    jumpTo(position, true);
    status_->setText(QStringLiteral("Event %1").arg(vorn::ScriptEventName(number)));
    return true;
}

bool ScriptWindow::follow(int position, bool tell)
{
    const vorn::ScriptDocument::Analysis& analysis = script_->analysis();
    const int offset = script_->byteOffsetOf(position);
    const auto& commands = analysis.parsed.commands;
    const auto after = std::upper_bound(commands.begin(), commands.end(), offset,
                                        [](int at, const vorn::ScriptCommandUse& c) { return at < c.position.offset; });
    const vorn::ScriptCommandUse* command = after == commands.begin() ? nullptr : &*std::prev(after);
    int argument = -1;
    if (command && command->info && offset < command->position.offset + command->length) {
        for (int i = 0; i < command->argumentCount; ++i) {
            const vorn::ScriptArgument& a = command->arguments[size_t(i)];
            if (offset >= a.position.offset && offset < a.position.offset + std::max<int>(1, int(a.text.size())))
                argument = i;
        }
    }
    if (argument < 0) {
        if (tell)
            status_->setText(QStringLiteral("F12 and Ctrl+click go to an event number's event or a stage's script."));
        return false;
    }
    const auto& kinds = command->info->kinds;
    const auto argumentOf = [&](vorn::ScriptArgKind kind) {
        for (int i = 0; i < command->argumentCount; ++i)
            if (kinds[size_t(i)] == kind)
                return i;
        return -1;
    };
    const vorn::ScriptArgKind kind = kinds[size_t(argument)];
    const int stageArgument = argumentOf(vorn::ScriptArgKind::Stage);
    if (stageArgument >= 0) {
        // <TRA: its stage and event lead to the stage's script, its place to the stage.
        const int stage = command->arguments[size_t(stageArgument)].value;
        const int eventArgument = argumentOf(vorn::ScriptArgKind::Event);
        const bool toScript = kind == vorn::ScriptArgKind::Stage || kind == vorn::ScriptArgKind::Event;
        if (!help_.game || !help_.game->hasStage(stage)) {
            status_->setText(QStringLiteral("Stage %1 is not in the stage table.").arg(stage));
            return true;
        }
        if (toScript && eventArgument >= 0) {
            const QString name = help_.scripts ? help_.scripts->stageScriptName(stage) : QString();
            if (name.isEmpty())
                status_->setText(QStringLiteral("Stage %1 names no script.").arg(stage));
            else if (openScriptAt)
                openScriptAt(name, command->arguments[size_t(eventArgument)].value, stage);
        } else if (openStage) {
            openStage(stage);
        }
        return true;
    }
    if (kind != vorn::ScriptArgKind::Event) {
        if (tell)
            status_->setText(QStringLiteral("F12 and Ctrl+click go to an event number's event or a stage's script."));
        return false;
    }
    const int event = command->arguments[size_t(argument)].value;
    // A stage script runs after Head.tsc: an event it lacks may be there.
    if (script_->eventPosition(event) < 0 && script_->stage() >= 0 && help_.scripts && openScriptAt) {
        const auto head = help_.scripts->scriptEvents(vorn::HeadScriptName());
        if (head && std::find(head->begin(), head->end(), event) != head->end()) {
            openScriptAt(vorn::HeadScriptName(), event, -1);
            return true;
        }
    }
    goToEvent(event);
    return true;
}

void ScriptWindow::askGoToEvent()
{
    bool ok = false;
    const int number =
        QInputDialog::getInt(this, QStringLiteral("Go to Event"), QStringLiteral("Event number:"), 0, 0, 9999, 1, &ok);
    if (ok)
        goToEvent(number);
}

void ScriptWindow::showFind(bool replace)
{
    findBar_->show();
    replaceText_->setVisible(replace);
    replaceButton_->setVisible(replace);
    replaceAllButton_->setVisible(replace);
    const QString selected = edit_->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        findText_->setText(selected);
    findText_->setFocus();
    findText_->selectAll();
}

bool ScriptWindow::findNext(bool backwards)
{
    const QString wanted = findText_->text();
    if (wanted.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = script_->text()->find(wanted, edit_->textCursor(), flags);
    if (found.isNull()) {
        // Round past the end (or the start).
        QTextCursor from(script_->text());
        from.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
        found = script_->text()->find(wanted, from, flags);
    }
    if (found.isNull()) {
        status_->setText(QStringLiteral("\"%1\" is not in the script.").arg(wanted));
        return false;
    }
    edit_->setTextCursor(found);
    edit_->ensureCursorVisible();
    status_->clear();
    return true;
}

void ScriptWindow::replaceOne()
{
    const QString wanted = findText_->text();
    QTextCursor cursor = edit_->textCursor();
    if (!wanted.isEmpty() && cursor.selectedText().compare(wanted, Qt::CaseInsensitive) == 0)
        cursor.insertText(replaceText_->text());
    findNext();
}

int ScriptWindow::replaceAll()
{
    const QString wanted = findText_->text();
    if (wanted.isEmpty())
        return 0;
    QTextDocument& text = *script_->text();
    QTextCursor edit(&text);
    edit.beginEditBlock(); // one step to undo
    int count = 0;
    QTextCursor found = text.find(wanted, 0);
    while (!found.isNull()) {
        edit.setPosition(found.selectionStart());
        edit.setPosition(found.selectionEnd(), QTextCursor::KeepAnchor);
        edit.insertText(replaceText_->text());
        ++count;
        found = text.find(wanted, edit.position());
    }
    edit.endEditBlock();
    status_->setText(count == 1 ? QStringLiteral("Replaced 1.") : QStringLiteral("Replaced %1.").arg(count));
    return count;
}

void ScriptWindow::showMarks()
{
    const vorn::ScriptDocument::Analysis& analysis = script_->analysis();
    const std::vector<vorn::ScriptFinding>& findings = analysis.findings;
    // A damaged or generated script can have findings by the hundred
    // thousand, and placing a mark costs the length of its line: then only
    // the marks in view are placed, and placed again as it scrolls.
    std::vector<std::pair<int, int>> inView; // byte ranges
    if (findings.size() > size_t(kMarksLimit) ||
        script_->text()->characterCount() > vorn::ScriptDocument::kCheckAtOnceLimit) {
        for (const auto& [from, to] : edit_->shownRanges())
            inView.emplace_back(script_->byteOffsetOf(from), script_->byteOffsetOf(to));
    } else {
        inView.emplace_back(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    }
    QList<QTextEdit::ExtraSelection> marks;
    const auto byOffset = [](const vorn::ScriptFinding& finding, int at) { return finding.offset < at; };
    for (const auto& [fromByte, toByte] : inView)
        for (auto finding = std::lower_bound(findings.begin(), findings.end(), fromByte, byOffset);
             finding != findings.end() && finding->offset < toByte; ++finding) {
            if (finding->offset < 0)
                continue;
            // The command or argument the finding is about, or one character.
            int bytes = 1;
            const auto& commands = analysis.parsed.commands;
            const auto command =
                std::lower_bound(commands.begin(), commands.end(), finding->offset,
                                 [](const vorn::ScriptCommandUse& c, int at) { return c.position.offset < at; });
            if (command != commands.end() && command->position.offset == finding->offset)
                bytes = command->length;
            if (bytes == 1 && finding->offset + 4 <= analysis.bytes.bytes.size()) {
                const QByteArray next = analysis.bytes.bytes.mid(finding->offset, 4);
                if (!next.contains('\r') && !next.contains('\n') && (next[0] == '#' || QChar(next[0]).isDigit()))
                    bytes = next[0] == '#' ? 5 : 4;
            }
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(script_->text());
            const int start = script_->positionOf(finding->offset);
            mark.cursor.setPosition(start);
            // At least one character, none past the end.
            const int last = script_->text()->characterCount() - 1;
            mark.cursor.setPosition(std::min(last, std::max(start + 1, script_->positionOf(finding->offset + bytes))),
                                    QTextCursor::KeepAnchor);
            mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            mark.format.setUnderlineColor(finding->error ? QColor(0xd32f2f) : QColor(0xef8f00));
            marks.push_back(mark);
        }
    edit_->setExtraSelections(marks);
}

void ScriptWindow::refreshLists()
{
    listTimer_->stop();
    const vorn::ScriptDocument::Analysis& analysis = script_->analysis();

    outline_->clear();
    // A damaged or generated script can hold events and findings by the
    // hundred thousand: the lists show the first ones and say how many more.
    const size_t events = std::min(analysis.parsed.events.size(), size_t(kListLimit));
    // Each event with the start of the first text it shows, to know it by.
    std::vector<QString> firstTexts(analysis.parsed.events.size());
    for (const vorn::ScriptText& text : analysis.parsed.texts) {
        if (text.event < 0 || size_t(text.event) >= events || !text.reachable ||
            !firstTexts[size_t(text.event)].isEmpty())
            continue;
        const int start = script_->positionOf(text.position.offset);
        const QString shown =
            analysis.text.mid(start, script_->positionOf(text.position.offset + text.length) - start).simplified();
        firstTexts[size_t(text.event)] = shown.size() > kPreviewLength ? shown.left(kPreviewLength) + u'…' : shown;
    }
    for (size_t i = 0; i < events; ++i) {
        const vorn::ScriptEvent& event = analysis.parsed.events[i];
        const int start = script_->positionOf(event.header.offset);
        const int end = script_->positionOf(event.bodyOffset);
        QString label = analysis.text.mid(start, end - start).trimmed();
        label.remove(QChar::ParagraphSeparator);
        if (!firstTexts[i].isEmpty())
            label += QStringLiteral("  ") + firstTexts[i];
        auto* item = new QListWidgetItem(label, outline_);
        item->setData(kOffsetRole, start);
        if (!event.findable)
            item->setForeground(QColor(0x8a8a8a));
    }

    if (events < analysis.parsed.events.size())
        new QListWidgetItem(QStringLiteral("… %1 more events").arg(analysis.parsed.events.size() - events), outline_);

    findings_->clear();
    const size_t listed = std::min(analysis.findings.size(), size_t(kListLimit));
    for (size_t i = 0; i < listed; ++i) {
        const vorn::ScriptFinding& finding = analysis.findings[i];
        const QString kind = finding.error ? QStringLiteral("error") : QStringLiteral("warning");
        const QString place =
            finding.line > 0 ? QStringLiteral("%1:%2  ").arg(finding.line).arg(finding.column) : QString();
        auto* item = new QListWidgetItem(place + kind + QStringLiteral(": ") + finding.text, findings_);
        item->setData(kOffsetRole, finding.offset);
        item->setForeground(finding.error ? QColor(0xb71c1c) : QColor(0x9a6200));
    }
    if (listed < analysis.findings.size())
        (new QListWidgetItem(QStringLiteral("… %1 more findings").arg(analysis.findings.size() - listed), findings_))
            ->setData(kOffsetRole, -1);
    if (analysis.findings.empty())
        new QListWidgetItem(QStringLiteral("The checks find nothing wrong."), findings_);
}
