#pragma once
// The text of a script window: line numbers in a margin, the checks' marks
// under the text, the help under the pointer, and the command list after
// a typed '<'.
#include <QPlainTextEdit>

#include <functional>
#include <utility>
#include <vector>

class QCompleter;
class QStandardItemModel;

class ScriptEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptEdit(QWidget* parent = nullptr);

    // The help for a text position; empty for none.
    std::function<QString(int position)> helpAt;
    // Ctrl+click: goes to what the text position names; false when it names nothing.
    std::function<bool(int position)> followAt;

    // The command list, shown after '<' (for the tests: whether it shows).
    QCompleter* completer() const { return completer_; }

    int lineNumberWidth() const;
    // The text in view: a range of positions for each line shown, from a
    // little before its left edge to its right edge.
    std::vector<std::pair<int, int>> shownRanges() const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class LineNumbers;
    void paintLineNumbers(QPaintEvent* event);
    // The character under a point of the view.
    int characterAt(QPoint inViewport) const;
    void insertCommand(const QModelIndex& index);
    void followPrefix();
    // A key while the command list shows: true when the list took it.
    bool steerCommands(QKeyEvent* event);
    bool typedWholeCommand() const;
    void hideCommands();
    QString textAt(int position, int count) const;

    LineNumbers* lineNumbers_;
    QCompleter* completer_;
    QStandardItemModel* commands_;
    int commandStart_ = -1; // the position after the '<' the list was offered for
};
