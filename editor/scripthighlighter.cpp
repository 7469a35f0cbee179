#include "scripthighlighter.h"

#include "scripttext.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {

ScriptHighlighter::Kind KindOf(vorn::ScriptCategory category)
{
    switch (category) {
    case vorn::ScriptCategory::Flow:
        return ScriptHighlighter::Flow;
    case vorn::ScriptCategory::Message:
        return ScriptHighlighter::Message;
    case vorn::ScriptCategory::Flags:
        return ScriptHighlighter::Flags;
    case vorn::ScriptCategory::Entities:
        return ScriptHighlighter::Entities;
    case vorn::ScriptCategory::ItemsWeapons:
        return ScriptHighlighter::ItemsWeapons;
    case vorn::ScriptCategory::MapCamera:
        return ScriptHighlighter::MapCamera;
    case vorn::ScriptCategory::Sound:
        return ScriptHighlighter::Sound;
    }
    return ScriptHighlighter::Unknown;
}

// A line whose colours are not known from a check: edited since the last one.
constexpr size_t kUncheckedLine = ~size_t(0);

// The spans of a parsed script, `positionOf` giving a byte's text position,
// in text order.
template <typename PositionOf>
std::vector<ScriptHighlighter::Span> SpansOf(const vorn::ParsedScript& parsed, const PositionOf& positionOf)
{
    using Span = ScriptHighlighter::Span;
    std::vector<Span> spans;
    spans.reserve(parsed.commands.size() * 3 + parsed.texts.size() + parsed.events.size());
    const auto add = [&](int fromByte, int bytes, ScriptHighlighter::Kind kind) {
        const int start = positionOf(fromByte);
        const int end = positionOf(fromByte + bytes);
        if (end > start)
            spans.push_back({start, end - start, kind});
    };
    for (const vorn::ScriptEvent& event : parsed.events)
        add(event.header.offset, event.bodyOffset - event.header.offset, ScriptHighlighter::Header);
    for (const vorn::ScriptCommandUse& command : parsed.commands) {
        if (!command.reachable) {
            add(command.position.offset, command.length, ScriptHighlighter::Unreached); // separators too
            continue;
        }
        add(command.position.offset, int(1 + command.code.size()),
            command.info ? KindOf(command.info->category) : ScriptHighlighter::Unknown);
        for (int i = 0; i < command.argumentCount; ++i) {
            const vorn::ScriptArgument& argument = command.arguments[size_t(i)];
            add(argument.position.offset, int(argument.text.size()), ScriptHighlighter::Argument);
        }
    }
    for (const vorn::ScriptText& text : parsed.texts)
        add(text.position.offset, text.length, text.reachable ? ScriptHighlighter::Text : ScriptHighlighter::Unreached);
    // Headers cover their line; a command's bytes come in order; texts fall
    // between them: one stable sort puts all in text order.
    std::stable_sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    return spans;
}

size_t Mix(size_t hash, size_t value) { return hash ^ (value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2)); }

} // namespace

ScriptHighlighter::ScriptHighlighter(vorn::ScriptDocument& script)
    : QSyntaxHighlighter(static_cast<QObject*>(nullptr))
    , script_(script)
{
    for (int kind = 0; kind < KindCount; ++kind)
        formats_[size_t(kind)] = formatOf(Kind(kind));
    connect(&script_, &vorn::ScriptDocument::analysed, this, &ScriptHighlighter::follow);
    connect(&script_, &vorn::ScriptDocument::edited, this, &ScriptHighlighter::shift);
    build();
    setDocument(script_.text());
}

ScriptHighlighter::~ScriptHighlighter()
{
    // The base class clears the colours as it goes, which the script tells
    // as a change: this part of the object is gone by then.
    disconnect(&script_, nullptr, this, nullptr);
}

QTextCharFormat ScriptHighlighter::formatOf(Kind kind)
{
    QTextCharFormat format;
    const auto colour = [&](QRgb rgb) { format.setForeground(QColor(rgb)); };
    switch (kind) {
    case Header:
        colour(0x9c1f1f);
        format.setFontWeight(QFont::Bold);
        break;
    case Flow:
        colour(0x1a4fc4);
        format.setFontWeight(QFont::Bold);
        break;
    case Message:
        colour(0x2e7d32);
        format.setFontWeight(QFont::Bold);
        break;
    case Flags:
        colour(0x7b1fa2);
        format.setFontWeight(QFont::Bold);
        break;
    case Entities:
        colour(0xb35c00);
        format.setFontWeight(QFont::Bold);
        break;
    case ItemsWeapons:
        colour(0x00796b);
        format.setFontWeight(QFont::Bold);
        break;
    case MapCamera:
        colour(0x0277bd);
        format.setFontWeight(QFont::Bold);
        break;
    case Sound:
        colour(0xc2185b);
        format.setFontWeight(QFont::Bold);
        break;
    case Unknown:
        colour(0xffffff);
        format.setBackground(QColor(0xc62828));
        break;
    case Argument:
        colour(0x5d4037);
        break;
    case Text:
        break;
    case Unreached:
        colour(0x8a8a8a);
        format.setFontItalic(true);
        break;
    case KeptByte:
        colour(0xffffff);
        format.setBackground(QColor(0x757575));
        break;
    case KindCount:
        break;
    }
    return format;
}

void ScriptHighlighter::build()
{
    const vorn::ScriptDocument::Analysis& analysis = script_.analysis();
    spans_ = SpansOf(analysis.parsed, [this](int byteOffset) { return script_.positionOf(byteOffset); });

    // What each line looks like, to tell which lines a change recoloured.
    const QString& text = analysis.text;
    std::vector<size_t> hashes;
    hashes.reserve(size_t(script_.text()->blockCount()));
    size_t hash = 0;
    int lineStart = 0;
    auto span = spans_.begin();
    for (int i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QChar::ParagraphSeparator)
            continue;
        for (; span != spans_.end() && span->start < i; ++span)
            hash = Mix(Mix(Mix(hash, size_t(span->start - lineStart)), size_t(span->length)), span->kind);
        hashes.push_back(hash);
        hash = 0;
        lineStart = i + 1;
    }
    lineHashes_ = std::move(hashes);
}

void ScriptHighlighter::follow(int position, int /*removed*/, int added)
{
    const std::vector<size_t> before = std::move(lineHashes_);
    build();
    if (!document())
        return; // still being made: setDocument colours every line
    QTextDocument& text = *script_.text();
    const int delta = int(lineHashes_.size()) - int(before.size());
    // Lines the edit touched are coloured by the text document's own call;
    // the others only when their colours changed. After a pause no line is
    // coloured by the document: the lines' hashes were kept in step.
    const bool paused = position < 0;
    const int firstEdited = paused ? int(lineHashes_.size()) : text.findBlock(position).blockNumber();
    const int lastEdited = paused ? -1 : text.findBlock(position + added).blockNumber();
    // After a pause the changed lines in view are coloured at once, the
    // others as they come into view: colouring a line lays it out, too slow
    // for every line of a large script.
    if (paused)
        stale_.resize(lineHashes_.size(), 0);
    else // a large script made small keeps nothing stale: all again, it is cheap now
        stale_.assign(lineHashes_.size(), staleCount_ > 0 ? 1 : 0);
    QTextBlock block = text.firstBlock();
    for (int line = 0; line < int(lineHashes_.size()) && block.isValid(); ++line, block = block.next()) {
        if (line >= firstEdited && line <= lastEdited)
            continue;
        const int old = line < firstEdited ? line : line - delta;
        if (old >= 0 && old < int(before.size()) && before[size_t(old)] == lineHashes_[size_t(line)])
            continue;
        if (paused)
            stale_[size_t(line)] = 1;
        else
            rehighlightBlock(block);
    }
    staleCount_ = int(std::count(stale_.begin(), stale_.end(), 1));
    colourShown();
}

void ScriptHighlighter::colourShown()
{
    if (staleCount_ == 0 || !shownRanges || !document())
        return;
    const auto ranges = shownRanges();
    if (ranges.empty())
        return;
    QTextDocument& text = *script_.text();
    const QTextBlock last = text.findBlock(ranges.back().first);
    for (QTextBlock block = text.findBlock(ranges.front().first); block.isValid(); block = block.next()) {
        const size_t line = size_t(block.blockNumber());
        if (line < stale_.size() && stale_[line]) {
            stale_[line] = 0; // first: colouring it changes the view, which asks again
            --staleCount_;
            rehighlightBlock(block);
        }
        if (block == last)
            break;
    }
}

void ScriptHighlighter::shift(int position, int removed, int added)
{
    const QTextDocument& text = *script_.text();
    const QTextBlock first = text.findBlock(position);
    const QTextBlock last = text.findBlock(position + added);
    const int delta = added - removed;
    // The spans of the edited lines go; those after them move with the text.
    const int from = first.position();
    const int oldTo = last.position() + last.length() - delta;
    auto begin = std::lower_bound(spans_.begin(), spans_.end(), from,
                                  [](const Span& s, int at) { return s.start + s.length <= at; });
    auto end = std::lower_bound(begin, spans_.end(), oldTo, [](const Span& s, int at) { return s.start < at; });
    for (auto span = end; span != spans_.end(); ++span)
        span->start += delta;
    spans_.erase(begin, end);
    // The edited lines' colours are unknown until the check.
    const int firstLine = first.blockNumber();
    const int newLines = last.blockNumber() - firstLine + 1;
    const int oldLines = newLines - (text.blockCount() - int(lineHashes_.size()));
    if (firstLine > int(lineHashes_.size()) || oldLines < 0) {
        lineHashes_.assign(size_t(text.blockCount()), kUncheckedLine); // out of step: all again
        stale_.assign(lineHashes_.size(), 0);
        staleCount_ = 0;
        return;
    }
    const qsizetype gone = std::min<qsizetype>(oldLines, qsizetype(lineHashes_.size()) - firstLine);
    lineHashes_.erase(lineHashes_.begin() + firstLine, lineHashes_.begin() + firstLine + gone);
    lineHashes_.insert(lineHashes_.begin() + firstLine, size_t(newLines), kUncheckedLine);
    // The edited lines are coloured by the document's own call, from their text alone.
    if (stale_.size() >= size_t(firstLine + gone)) {
        staleCount_ -= int(std::count(stale_.begin() + firstLine, stale_.begin() + firstLine + gone, 1));
        stale_.erase(stale_.begin() + firstLine, stale_.begin() + firstLine + gone);
        stale_.insert(stale_.begin() + firstLine, size_t(newLines), 0);
    }
}

void ScriptHighlighter::colourAlone(const QString& text)
{
    // As the first line of an event: a command there is reached.
    const QString header = QStringLiteral("#0000\n");
    const vorn::ScriptBytes bytes = vorn::ScriptBytesOf(header + text);
    const auto positionOf = [&](int byteOffset) {
        const auto at = std::lower_bound(bytes.offsets.begin(), bytes.offsets.end(), byteOffset);
        return int(at - bytes.offsets.begin()) - int(header.size());
    };
    for (const Span& span : SpansOf(vorn::ParseScript(bytes.bytes), positionOf)) {
        const int start = std::max(0, span.start);
        const int end = std::min(int(text.size()), span.start + span.length);
        if (end > start && span.kind != Text)
            setFormat(start, end - start, formats_[span.kind]);
    }
}

void ScriptHighlighter::highlightBlock(const QString& text)
{
    const int line = script_.checkPending() ? currentBlock().blockNumber() : -1;
    if (line >= 0 && (line >= int(lineHashes_.size()) || lineHashes_[size_t(line)] == kUncheckedLine)) {
        colourAlone(text);
    } else {
        const int from = currentBlock().position();
        const int to = from + int(text.size());
        auto span = std::lower_bound(spans_.begin(), spans_.end(), from,
                                     [](const Span& s, int at) { return s.start + s.length <= at; });
        for (; span != spans_.end() && span->start < to; ++span) {
            const int start = std::max(span->start, from);
            const int end = std::min(span->start + span->length, to);
            if (end > start && span->kind != Text)
                setFormat(start - from, end - start, formats_[span->kind]);
        }
    }
    for (int i = 0; i < text.size(); ++i)
        if (vorn::IsKeptByte(text[i]))
            setFormat(i, 1, formats_[KeptByte]);
}
