#include "scriptedit.h"

#include "scriptcommands.h"
#include "scripthelp.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHelpEvent>
#include <QKeyEvent>
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
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
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
    completer_->popup()->setMinimumWidth(420);
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this, &ScriptEdit::insertCommand);
}

int ScriptEdit::lineNumberWidth() const
{
    const int digits = int(QString::number(std::max(1, blockCount())).size());
    return 8 + fontMetrics().horizontalAdvance(u'9') * std::max(3, digits);
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
        const QPoint inText = viewport()->mapFrom(this, help->pos());
        const QTextCursor cursor = cursorForPosition(inText);
        // cursorForPosition gives the nearest gap; the character under the
        // pointer is the one after it unless the pointer is past its middle.
        int position = cursor.position();
        if (position > 0 && inText.x() < cursorRect(cursor).left())
            --position;
        const QString text = helpAt ? helpAt(position) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QPlainTextEdit::event(event);
}

void ScriptEdit::keyPressEvent(QKeyEvent* event)
{
    if (completer_->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Tab:
        case Qt::Key_Escape:
        case Qt::Key_Backtab:
            event->ignore(); // the list takes them
            return;
        default:
            break;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
    if (event->text() == QStringLiteral("<")) {
        commandStart_ = textCursor().position();
        followPrefix();
    } else if (completer_->popup()->isVisible() || commandStart_ >= 0) {
        followPrefix();
    }
}

void ScriptEdit::followPrefix()
{
    const QTextCursor cursor = textCursor();
    const int typed = cursor.position() - commandStart_;
    const QString prefix =
        commandStart_ >= 0 && typed >= 0 && typed <= 3 ? document()->toRawText().mid(commandStart_, typed) : QString();
    // Gone past the code, moved away, or deleted the '<': the list goes.
    if (commandStart_ < 0 || typed < 0 || typed > 3 || commandStart_ == 0 ||
        document()->characterAt(commandStart_ - 1) != u'<') {
        commandStart_ = -1;
        completer_->popup()->hide();
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
    if (commandStart_ < 0)
        return;
    const QString code = index.data(kCodeRole).toString();
    const vorn::ScriptCommandInfo* info = vorn::FindScriptCommand(code.toLatin1());
    if (!info)
        return;
    QTextCursor cursor = textCursor();
    cursor.setPosition(commandStart_);
    cursor.setPosition(textCursor().position(), QTextCursor::KeepAnchor);
    const QString form = vorn::ScriptCommandTemplate(*info).mid(1); // the '<' is typed
    cursor.insertText(form);
    // The first placeholder selected, to be typed over.
    if (info->argCount > 0) {
        cursor.setPosition(commandStart_ + 3);
        cursor.setPosition(commandStart_ + 7, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
    commandStart_ = -1;
    completer_->popup()->hide();
}
