#pragma once
// Colours a script as the game reads it: event headers, commands by what
// they do, their arguments, message text, text the game never reaches
// (shown as a note) and bytes kept as they are. It follows the script
// document's analysis, so a change that makes later lines unreachable
// recolours those lines too, and only those. A large script is checked
// after a pause in typing: until then the lines typed in are coloured on
// their own, and the others keep their colours.
#include "scriptdocument.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    enum Kind : quint8 {
        Header,
        Flow,
        Message,
        Flags,
        Entities,
        ItemsWeapons,
        MapCamera,
        Sound, // the command categories
        Unknown,
        Argument,
        Text,
        Unreached,
        KeptByte,
        KindCount
    };
    struct Span {
        int start = 0; // text position
        int length = 0;
        Kind kind = Text;
    };

    explicit ScriptHighlighter(vorn::ScriptDocument& script);
    ~ScriptHighlighter() override;

    const std::vector<Span>& spans() const { return spans_; }

    // The text positions in view, a range a line (from the script's view).
    std::function<std::vector<std::pair<int, int>>()> shownRanges;
    // Colours the lines in view whose colours a check changed while they were out of it.
    void colourShown();
    static QTextCharFormat formatOf(Kind kind);

protected:
    void highlightBlock(const QString& text) override;

private:
    void follow(int position, int removed, int added);
    void shift(int position, int removed, int added);
    void build();
    // The colours of a line edited since the last check, from that line alone.
    void colourAlone(const QString& text);

    vorn::ScriptDocument& script_;
    std::vector<Span> spans_; // in text order
    std::vector<size_t> lineHashes_; // what each line's colours were
    std::vector<char> stale_; // by line: colours changed by a check, not yet shown
    int staleCount_ = 0;
    std::array<QTextCharFormat, KindCount> formats_;
};
