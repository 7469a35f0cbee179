#include "scriptcheck.h"

#include "numtext.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vorn {
namespace {

// Head and stage script share one buffer of 0x5000 bytes, the last of which
// holds the terminating NUL.
constexpr int kMostScriptBytes = 0x5000 - 1;
constexpr int kMostFlag = 7999;
constexpr int kColumnsWithoutFace = 34;
// An instant run is copied into 72 bytes with its NUL.
constexpr int kMostInstantBytes = 71;
constexpr int kColumnsWithFace = 26;
constexpr int kEventNumbers = 10000;

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Line starts, so that an offset turns into a line and column by search.
class Lines {
public:
    explicit Lines(const QByteArray& data)
    {
        const char* d = data.constData();
        const int n = int(data.size());
        starts_.push_back(0);
        for (int i = 0; i < n; ++i) {
            if (d[i] == '\n' || (d[i] == '\r' && (i + 1 >= n || d[i + 1] != '\n')))
                starts_.push_back(i + 1);
        }
    }
    ScriptPosition At(int offset) const
    {
        const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
        const int line = int(it - starts_.begin());
        return {offset, line, offset - starts_[line - 1] + 1};
    }

private:
    std::vector<int> starts_;
};

// The game's number reader: four bytes, each taken as its distance from '0'.
int ReadNumber(const char* d, int available, bool* digits)
{
    int value = 0;
    *digits = available >= 4;
    for (int i = 0; i < 4; ++i) {
        const unsigned char c = i < available ? static_cast<unsigned char>(d[i]) : '0';
        if (i < available && !IsDigit(c))
            *digits = false;
        value = value * 10 + (int(c) - '0');
    }
    return value;
}

bool LooksLikeCode(const QByteArray& code)
{
    if (code.size() != 3)
        return false;
    for (const char c : code) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c) || c == '+' || c == '-';
        if (!ok)
            return false;
    }
    return true;
}

QString Shown(const QByteArray& bytes)
{
    QString out;
    for (const char c : bytes) {
        if (c == '\r')
            out += QStringLiteral("\\r");
        else if (c == '\n')
            out += QStringLiteral("\\n");
        else
            out += QChar::fromLatin1(c);
    }
    return out;
}

QString EventName(int number) { return ScriptEventName(number); }

} // namespace

ParsedScript ParseScript(const QByteArray& decoded)
{
    ParsedScript parsed;
    const Lines lines(decoded);
    const char* d = decoded.constData();
    const int n = int(decoded.size());
    parsed.commands.reserve(n / 8);
    parsed.texts.reserve(n / 16);

    int event = -1;
    bool reachable = false;
    int runStart = -1;
    auto flush = [&](int end) {
        if (runStart < 0)
            return;
        ScriptText text;
        text.position = lines.At(runStart);
        text.length = end - runStart;
        text.event = event;
        text.reachable = reachable;
        parsed.texts.push_back(text);
        runStart = -1;
    };

    int highest = -1;
    int p = 0;
    while (p < n) {
        const unsigned char c = static_cast<unsigned char>(d[p]);
        if (c == '#') {
            // The game's event search takes every '#' as a header, wherever it is.
            flush(p);
            if (event >= 0)
                parsed.events[event].endOffset = p;
            ScriptEvent header;
            header.header = lines.At(p);
            header.number = ReadNumber(d + p + 1, n - p - 1, &header.digits);
            header.findable = header.number > highest;
            highest = std::max(highest, header.number);
            // The rest of the header line is skipped unread.
            const char* lf =
                static_cast<const char*>(std::memchr(d + std::min(p + 5, n), '\n', size_t(n - std::min(p + 5, n))));
            p = lf ? int(lf - d) + 1 : n;
            header.bodyOffset = p;
            header.endOffset = n;
            parsed.events.push_back(header);
            event = int(parsed.events.size()) - 1;
            reachable = true;
            continue;
        }
        if (c == '<') {
            flush(p);
            ScriptCommandUse command;
            command.position = lines.At(p);
            command.code = QByteArray(d + p + 1, std::min(3, n - p - 1));
            command.info = FindScriptCommand(command.code);
            command.event = event;
            command.reachable = reachable;
            if (command.info) {
                const int count = command.info->argCount;
                command.argumentCount = count;
                command.length = count == 0 ? 4 : 4 + 5 * count - 1;
                for (int i = 0; i < count; ++i) {
                    const int at = p + 4 + 5 * i;
                    ScriptArgument& argument = command.arguments[i];
                    const int available = std::max(0, std::min(4, n - at));
                    argument.text = QByteArray(d + std::min(at, n), available);
                    argument.value = ReadNumber(d + std::min(at, n), available, &argument.digits);
                    argument.position = lines.At(std::min(at, n));
                }
                if (reachable && command.info->AlwaysLeaves())
                    reachable = false;
            } else {
                command.length = LooksLikeCode(command.code) ? 4 : 1;
            }
            command.length = std::min(command.length, n - p);
            p += command.length;
            parsed.commands.push_back(std::move(command));
            continue;
        }
        if (c == '\r') {
            // The game takes the byte after a CR to be its LF.
            flush(p);
            p += 2;
            continue;
        }
        if (c == '\n') {
            flush(p);
            ++p;
            continue;
        }
        if (runStart < 0)
            runStart = p;
        p += c >= 0x80 ? 2 : 1;
    }
    flush(std::min(p, n));
    return parsed;
}

QString ScriptEventName(int number)
{
    return number < 0 ? QString::number(number) : QString::number(number).rightJustified(4, QLatin1Char('0'));
}

std::vector<ScriptFinding> CheckScript(const QByteArray& decoded, const ScriptContext& context)
{
    return CheckScript(decoded, ParseScript(decoded), context);
}

std::vector<ScriptFinding> CheckScript(const QByteArray& decoded, const ParsedScript& parsed,
                                       const ScriptContext& context)
{
    struct Found {
        int offset; // -1: the whole script
        bool error;
        QString text;
    };
    std::vector<Found> found;
    auto error = [&](int offset, QString text) { found.push_back({offset, true, std::move(text)}); };
    auto warning = [&](int offset, QString text) { found.push_back({offset, false, std::move(text)}); };

    const char* d = decoded.constData();
    const int n = int(decoded.size());

    // Line ends, as stored.
    for (int i = 0; i < n; ++i) {
        if (d[i] == '\n' && (i == 0 || d[i - 1] != '\r'))
            error(i, QStringLiteral("Line ends with LF alone; the game needs CR LF"));
        else if (d[i] == '\r' && (i + 1 >= n || d[i + 1] != '\n'))
            error(i, QStringLiteral("Line ends with CR alone; the game needs CR LF"));
    }

    // The scrambling's key is the middle byte; for a 0 there the game uses 7,
    // so what it unscrambles is not what was written.
    if (n > 0 && d[n / 2] == 0)
        error(n / 2, QStringLiteral("The middle byte is NUL, the scrambling's key; the game unscrambles such a "
                                    "script with another key and reads it wrong"));

    if (context.headSize && *context.headSize + n > kMostScriptBytes)
        error(-1, QStringLiteral("With Head.tsc this script takes %1 bytes; the game holds at most %2")
                      .arg(*context.headSize + n)
                      .arg(kMostScriptBytes));

    // Which events the game's search can find.
    std::vector<char> inHead(kEventNumbers, 0), defined(kEventNumbers, 0);
    int highest = -1;
    for (const int number : context.headEvents) {
        if (number < 0 || number >= kEventNumbers)
            continue;
        inHead[number] = defined[number] = 1;
        highest = std::max(highest, number);
    }
    const bool haveHead = !context.headEvents.empty();
    for (const ScriptEvent& event : parsed.events) {
        const int at = event.header.offset;
        const int number = event.number;
        const bool inRange = number >= 0 && number < kEventNumbers;
        if (!event.digits)
            error(at, QStringLiteral("Event number \"%1\" is not four digits").arg(Shown(decoded.mid(at + 1, 4))));
        if (event.header.column != 1)
            error(at, QStringLiteral("'#' in the middle of a line is read as the start of an event"));
        if (inRange && inHead[number])
            error(at, QStringLiteral("Event %1 is already in Head.tsc, which comes first; this one never runs")
                          .arg(EventName(number)));
        else if (inRange && defined[number])
            error(at, QStringLiteral("Event %1 is repeated; the first one is used and this one never runs")
                          .arg(EventName(number)));
        else if (number <= highest)
            error(at, QStringLiteral("Event %1 comes after event %2; the game never finds it")
                          .arg(EventName(number), EventName(highest)));
        else if (inRange)
            defined[number] = 1;
        highest = std::max(highest, number);
        // The rest of the header line is skipped when the event runs, but the
        // search still reads any '#' in it as a header.
        const int labelStart = std::min(at + 5, event.bodyOffset);
        const char* hash =
            static_cast<const char*>(std::memchr(d + labelStart, '#', size_t(event.bodyOffset - labelStart)));
        if (hash)
            error(int(hash - d), QStringLiteral("'#' after an event number is read as the start of another event"));
    }
    auto exists = [&](int number) { return number >= 0 && number < kEventNumbers && defined[number]; };
    const QString where = haveHead ? QStringLiteral("in this script or Head.tsc") : QStringLiteral("in this script");

    // Does each event leave by itself?
    std::vector<char> hasContent(parsed.events.size(), 0), leaves(parsed.events.size(), 0);

    // Message box state while walking text and commands in order.
    int currentEvent = -2;
    bool face = false, instant = false, sticky = false;
    int column = 0, rowLine = -1;
    bool rowWarned = false;
    auto enterEvent = [&](int event) {
        if (event == currentEvent)
            return;
        currentEvent = event;
        face = instant = sticky = false;
        column = 0;
        rowLine = -1;
        rowWarned = false;
    };
    auto newRow = [&] {
        column = 0;
        rowWarned = false;
    };

    auto checkCommand = [&](const ScriptCommandUse& command) {
        const int at = command.position.offset;
        if (command.event >= 0) {
            hasContent[command.event] = 1;
            if (command.reachable && command.info && command.info->AlwaysLeaves())
                leaves[command.event] = 1;
        }
        if (!command.info) {
            if (LooksLikeCode(command.code))
                error(at, QStringLiteral("Unknown command <%1; the game quits on it").arg(Shown(command.code)));
            else
                error(at, QStringLiteral("'<' in text starts a command; the game quits on it"));
            return;
        }
        const ScriptCommandInfo& info = *command.info;
        const QString code = QString::fromLatin1(info.code);
        for (int i = 0; i < command.argumentCount; ++i) {
            const ScriptArgument& argument = command.arguments[i];
            if (!argument.digits) {
                error(argument.position.offset, QStringLiteral("Argument %1 of <%2 is \"%3\", not four digits")
                                                    .arg(i + 1)
                                                    .arg(code, Shown(argument.text)));
                break;
            }
        }
        for (int i = 0; i + 1 < command.argumentCount; ++i) {
            const int sep = at + 8 + 5 * i;
            if (sep < n && d[sep] != ':') {
                error(sep, QStringLiteral("<%1 needs ':' between arguments %2 and %3, not \"%4\"")
                               .arg(code)
                               .arg(i + 1)
                               .arg(i + 2)
                               .arg(Shown(QByteArray(1, d[sep]))));
                break;
            }
        }
        const bool isTra = std::strcmp(info.code, "TRA") == 0;
        std::optional<std::vector<int>> targetEvents;
        bool targetKnown = false;
        if (isTra && command.arguments[0].digits) {
            const int stage = command.arguments[0].value;
            if (context.stageCount > 0 && (stage < 0 || stage >= context.stageCount))
                error(command.arguments[0].position.offset,
                      QStringLiteral("Stage %1 is beyond the stage table, which has %2")
                          .arg(stage)
                          .arg(Counted(context.stageCount, QStringLiteral("stage"), QStringLiteral("stages"))));
            else if (context.stageEvents) {
                targetEvents = context.stageEvents(stage);
                targetKnown = targetEvents.has_value();
            }
        }
        for (int i = 0; i < command.argumentCount; ++i) {
            const ScriptArgument& argument = command.arguments[i];
            if (!argument.digits)
                continue;
            const int value = argument.value;
            switch (info.kinds[i]) {
            case ScriptArgKind::Flag:
                if (value > kMostFlag)
                    warning(
                        argument.position.offset,
                        QStringLiteral("Flag %1 is beyond %2, the last flag the game has").arg(value).arg(kMostFlag));
                break;
            case ScriptArgKind::Event:
                if (isTra) {
                    if (targetKnown) {
                        const auto& list = *targetEvents;
                        const bool there = std::find(list.begin(), list.end(), value) != list.end() ||
                                           (value >= 0 && value < kEventNumbers && inHead[value]);
                        if (!there)
                            error(argument.position.offset,
                                  QStringLiteral("Event %1 does not exist in stage %2's script")
                                      .arg(EventName(value))
                                      .arg(command.arguments[0].value));
                    }
                } else if (std::strcmp(info.code, "PS+") != 0 && !exists(value)) {
                    error(argument.position.offset,
                          QStringLiteral("Event %1 does not exist %2").arg(EventName(value), where));
                }
                break;
            default:
                break;
            }
        }
        if (!command.reachable)
            return;
        enterEvent(command.event);
        const std::string_view c = info.code;
        if (c == "MSG" || c == "MS2" || c == "MS3") {
            newRow();
            instant = sticky;
            if (c == "MS2")
                face = false;
        } else if (c == "CLR") {
            newRow();
        } else if (c == "TUR") {
            instant = true;
        } else if (c == "SAT" || c == "CAT") {
            sticky = true;
        } else if (c == "FAC" && command.arguments[0].digits) {
            face = command.arguments[0].value != 0;
        } else if (c == "END") {
            face = false;
        }
    };

    auto checkText = [&](const ScriptText& text) {
        if (text.event >= 0)
            hasContent[text.event] = 1;
        if (!text.reachable)
            return;
        enterEvent(text.event);
        if (text.position.line != rowLine) {
            rowLine = text.position.line;
            newRow();
        }
        if (instant) {
            // Drawn at the font's own spacing, not on this grid, from a copy the
            // game makes without checking its length.
            if (text.length > kMostInstantBytes)
                error(text.position.offset,
                      QStringLiteral("Instant text of %1 bytes overflows the game's %2-byte buffer; "
                                     "it may crash")
                          .arg(text.length)
                          .arg(kMostInstantBytes + 1));
            return;
        }
        const int limit = face ? kColumnsWithFace : kColumnsWithoutFace;
        const int end = text.position.offset + text.length;
        for (int i = text.position.offset; i < end;) {
            const int width = static_cast<unsigned char>(d[i]) >= 0x80 ? 2 : 1;
            if (column + width > limit && !rowWarned) {
                rowWarned = true;
                warning(
                    i, face ? QStringLiteral("Text row is wider than %1 columns; with a face shown the rest is cut off")
                                  .arg(limit)
                            : QStringLiteral("Text row is wider than the message box (%1 columns)").arg(limit));
            }
            column += width;
            i += width;
        }
    };

    std::size_t ci = 0, ti = 0;
    while (ci < parsed.commands.size() || ti < parsed.texts.size()) {
        if (ti >= parsed.texts.size() ||
            (ci < parsed.commands.size() && parsed.commands[ci].position.offset < parsed.texts[ti].position.offset))
            checkCommand(parsed.commands[ci++]);
        else
            checkText(parsed.texts[ti++]);
    }

    for (std::size_t i = 0; i < parsed.events.size(); ++i) {
        const ScriptEvent& event = parsed.events[i];
        const bool last = i + 1 == parsed.events.size();
        if (hasContent[i] && !leaves[i])
            warning(event.header.offset, QStringLiteral("Event %1 does not end with END, EVE, TRA or another exit; "
                                                        "the game runs on into what follows")
                                             .arg(EventName(event.number)));
        else if (!hasContent[i] && last)
            warning(event.header.offset, QStringLiteral("Event %1 is empty and last; if started, the game reads past "
                                                        "the end of the script")
                                             .arg(EventName(event.number)));
    }

    std::vector<int> entityEvents = context.entityEvents;
    std::sort(entityEvents.begin(), entityEvents.end());
    entityEvents.erase(std::unique(entityEvents.begin(), entityEvents.end()), entityEvents.end());
    for (const int number : entityEvents)
        if (number != 0 && !exists(number))
            warning(-1, QStringLiteral("An entity has event %1, which is not %2").arg(EventName(number), where));

    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.offset < b.offset; });
    const Lines lines(decoded);
    std::vector<ScriptFinding> findings;
    findings.reserve(found.size());
    for (Found& f : found) {
        ScriptFinding finding;
        if (f.offset >= 0) {
            const ScriptPosition position = lines.At(f.offset);
            finding.line = position.line;
            finding.column = position.column;
            finding.offset = f.offset;
        }
        finding.error = f.error;
        finding.text = std::move(f.text);
        findings.push_back(std::move(finding));
    }
    return findings;
}

} // namespace vorn
