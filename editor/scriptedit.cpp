#include "scriptedit.h"

#include "scriptcommands.h"
#include "scripthelp.h"
#include "scriptfont.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTextBlock>
#include <QToolTip>

class ScriptEdit::LineNumbers : public QWidget {
public:
    explicit LineNumbers(ScriptEdit& edit)
        : QWidget(&edit)
        , edit_(edit)
    {
    }
    QSize sizeHint() const override { return {edit_.lineNumberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { edit_.paintLineNumbers(event); }

private:
    ScriptEdit& edit_;
};

namespace {

// The rows of the list: "MSG  Open the message box", the code alone as the
// text to complete on.
constexpr int kCodeRole = Qt::UserRole + 1;

} // namespace

ScriptEdit::ScriptEdit(QWidget* parent)
    : QPlainTextEdit(parent)
    , lineNumbers_(new LineNumbers(*this))
    , completer_(new QCompleter(this))
    , commands_(new QStandardItemModel(this))
{
    setLineWrapMode(NoWrap);
    setFont(ScriptFont());
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(lineNumberWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy)
            lineNumbers_->scroll(0, dy);
        else
            lineNumbers_->update(0, rect.y(), lineNumbers_->width(), rect.height());
    });
    setViewportMargins(lineNumberWidth(), 0, 0, 0);

    for (const vorn::ScriptCommandInfo& info : vorn::ScriptCommands()) {
        auto* item =
            new QStandardItem(QStringLiteral("%1  %2").arg(QLatin1String(info.code), QString::fromUtf8(info.summary)));
        item->setData(QLatin1String(info.code), kCodeRole);
        item->setData(vorn::ScriptCommandTemplate(info), Qt::ToolTipRole);
        commands_->appendRow(item);
    }
    completer_->setModel(commands_);
    completer_->setCompletionRole(kCodeRole);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setWidget(this);
    // The list never takes the keyboard: a popup window grabs it while it
    // opens and lets go while it closes, and a key arriving in between was
    // dropped or went to the other window. Shown as a passive window beside
    // the text, every key comes to the text, which steers the list itself.
    QAbstractItemView* list = completer_->popup();
    list->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    list->setAttribute(Qt::WA_ShowWithoutActivating);
    list->setMinimumWidth(420);
    // A click elsewhere in the text leaves the command being typed.
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        const int typed = textCursor().position() - commandStart_;
        if (completer_->popup()->isVisible() && (typed < 0 || typed > 3))
            hideCommands();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (old == this && now != completer_->popup())
            hideCommands();
    });
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this, &ScriptEdit::insertCommand);
}

int ScriptEdit::lineNumberWidth() const
{
    const int digits = int(QString::number(std::max(1, blockCount())).size());
    return 8 + fontMetrics().horizontalAdvance(u'9') * std::max(3, digits);
}

std::vector<std::pair<int, int>> ScriptEdit::shownRanges() const
{
    constexpr int kPartlyShown = 5; // a mark that starts left of the view may end in it
    std::vector<std::pair<int, int>> ranges;
    const int width = viewport()->width();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > viewport()->height())
            break;
        const int y = int(box.top() + box.height() / 2);
        const int left = cursorForPosition(QPoint(0, y)).position();
        const int right = cursorForPosition(QPoint(width, y)).position();
        ranges.emplace_back(std::max(block.position(), left - kPartlyShown),
                            std::min(block.position() + block.length(), right + 1));
    }
    return ranges;
}

void ScriptEdit::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    lineNumbers_->setGeometry(area.left(), area.top(), lineNumberWidth(), area.height());
}

void ScriptEdit::paintLineNumbers(QPaintEvent* event)
{
    QPainter painter(lineNumbers_);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top())
            painter.drawText(0, top, lineNumbers_->width() - 4, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top += height;
    }
}

bool ScriptEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int position = characterAt(viewport()->mapFrom(this, help->pos()));
        const QString text = helpAt ? helpAt(position) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QPlainTextEdit::event(event);
}

int ScriptEdit::characterAt(QPoint inViewport) const
{
    const QTextCursor cursor = cursorForPosition(inViewport);
    // cursorForPosition gives the nearest gap; the character under the
    // pointer is the one after it unless the pointer is past its middle.
    int position = cursor.position();
    if (position > 0 && inViewport.x() < cursorRect(cursor).left())
        --position;
    return position;
}

void ScriptEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier && followAt &&
        followAt(characterAt(event->position().toPoint()))) {
        event->accept();
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void ScriptEdit::keyPressEvent(QKeyEvent* event)
{
    if (completer_->popup()->isVisible() && steerCommands(event))
        return;
    QPlainTextEdit::keyPressEvent(event);
    if (event->text() == QStringLiteral("<")) {
        commandStart_ = textCursor().position();
        followPrefix();
    } else if (completer_->popup()->isVisible() || commandStart_ >= 0) {
        followPrefix();
    }
}

bool ScriptEdit::steerCommands(QKeyEvent* event)
{
    QAbstractItemView* list = completer_->popup();
    switch (event->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
        // A whole command typed: Enter breaks the line as anywhere else.
        if (typedWholeCommand()) {
            hideCommands();
            return false;
        }
        [[fallthrough]];
    case Qt::Key_Tab:
        if (list->currentIndex().isValid())
            insertCommand(list->currentIndex());
        else
            hideCommands();
        return true;
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        hideCommands();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int rows = completer_->completionModel()->rowCount();
        const int page = std::max(1, list->height() / std::max(1, list->sizeHintForRow(0)) - 1);
        const int step = event->key() == Qt::Key_Up       ? -1
                         : event->key() == Qt::Key_Down   ? 1
                         : event->key() == Qt::Key_PageUp ? -page
                                                          : page;
        const int row = std::clamp(list->currentIndex().row() + step, 0, rows - 1);
        list->setCurrentIndex(completer_->completionModel()->index(row, 0));
        return true;
    }
    default:
        return false;
    }
}

bool ScriptEdit::typedWholeCommand() const
{
    const int typed = textCursor().position() - commandStart_;
    if (commandStart_ < 0 || typed != 3)
        return false;
    return vorn::FindScriptCommand(textAt(commandStart_, 3).toLatin1()) != nullptr;
}

QString ScriptEdit::textAt(int position, int count) const
{
    // Character by character: a copy of the whole text costs a large script a keystroke's time.
    QString text;
    for (int i = 0; i < count; ++i)
        text += document()->characterAt(position + i);
    return text;
}

void ScriptEdit::hideCommands()
{
    commandStart_ = -1;
    completer_->popup()->hide();
}

void ScriptEdit::followPrefix()
{
    const QTextCursor cursor = textCursor();
    const int typed = cursor.position() - commandStart_;
    const QString prefix = commandStart_ >= 0 && typed >= 0 && typed <= 3 ? textAt(commandStart_, typed) : QString();
    // Gone past the code, moved away, or deleted the '<': the list goes.
    if (commandStart_ < 0 || typed < 0 || typed > 3 || commandStart_ == 0 ||
        document()->characterAt(commandStart_ - 1) != u'<') {
        hideCommands();
        return;
    }
    completer_->setCompletionPrefix(prefix);
    if (completer_->completionCount() == 0) {
        completer_->popup()->hide();
        return;
    }
    QRect at = cursorRect();
    at.setWidth(completer_->popup()->sizeHintForColumn(0) +
                completer_->popup()->verticalScrollBar()->sizeHint().width());
    completer_->complete(at);
    completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

void ScriptEdit::insertCommand(const QModelIndex& index)
{
    const int start = commandStart_;
    if (start < 0)
        return;
    const QString code = index.data(kCodeRole).toString();
    const vorn::ScriptCommandInfo* info = vorn::FindScriptCommand(code.toLatin1());
    if (!info)
        return;
    hideCommands(); // before the text changes: the cursor moving past the code would close it again
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(textCursor().position(), QTextCursor::KeepAnchor);
    const QString form = vorn::ScriptCommandTemplate(*info).mid(1); // the '<' is typed
    cursor.insertText(form);
    // The first placeholder selected, to be typed over.
    if (info->argCount > 0) {
        cursor.setPosition(start + 3);
        cursor.setPosition(start + 7, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}
