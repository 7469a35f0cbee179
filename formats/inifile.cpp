#include "inifile.h"

#include "codepage.h"
#include "safewrite.h"
#include "visibletext.h"

#include <cstring>
#include <vector>

namespace vorn {
namespace {

constexpr qsizetype kMaxValueLength = 511;
// 387 names of 511 characters take about 200 KB; a larger file is not a
// settings file, and each read goes through the whole file.
constexpr qint64 kMaxSettingsBytes = 4 * 1024 * 1024;

bool IsBlankByte(char c) { return c == ' ' || c == '\t'; }

// One line of the file as byte positions, so that a write can replace just
// the value and leave every other byte where it was.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0; // before the line break
    qsizetype next = 0; // after the line break
};

std::vector<Line> SplitLines(const QByteArray& bytes)
{
    std::vector<Line> lines;
    qsizetype pos = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', pos);
        Line line;
        line.start = pos;
        line.next = lf < 0 ? bytes.size() : lf + 1;
        line.end = lf < 0 ? bytes.size() : lf;
        if (line.end > line.start && bytes[line.end - 1] == '\r')
            --line.end;
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// Narrows [from, to) to the part without surrounding blanks.
void TrimRange(const QByteArray& bytes, qsizetype& from, qsizetype& to)
{
    while (from < to && IsBlankByte(bytes[from]))
        ++from;
    while (to > from && IsBlankByte(bytes[to - 1]))
        --to;
}

QString DecodeRange(const QByteArray& bytes, qsizetype from, qsizetype to)
{
    return DecodeUtf8OrAnsi(bytes.mid(from, to - from));
}

// The first `c` in [from, to), else `to`. Never past the line: a search to
// the end of the file for each line makes a long file take quadratic time.
qsizetype FindInLine(const QByteArray& bytes, char c, qsizetype from, qsizetype to)
{
    const void* at = std::memchr(bytes.constData() + from, c, size_t(to - from));
    return at ? static_cast<const char*>(at) - bytes.constData() : to;
}

enum class LineKind { Blank, Comment, Section, Entry, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QString name; // section or key name, trimmed
    qsizetype valueStart = 0; // entry: first byte of the value
    qsizetype valueEnd = 0; // entry: after the last non-blank byte
};

ParsedLine ParseLine(const QByteArray& bytes, const Line& line)
{
    ParsedLine parsed;
    qsizetype from = line.start;
    qsizetype to = line.end;
    TrimRange(bytes, from, to);
    if (from == to) {
        parsed.kind = LineKind::Blank;
        return parsed;
    }
    const char first = bytes[from];
    if (first == ';' || first == '#') {
        parsed.kind = LineKind::Comment;
        return parsed;
    }
    if (first == '[') {
        const qsizetype close = FindInLine(bytes, ']', from + 1, to);
        qsizetype nameFrom = from + 1;
        qsizetype nameTo = close;
        TrimRange(bytes, nameFrom, nameTo);
        parsed.kind = LineKind::Section;
        parsed.name = DecodeRange(bytes, nameFrom, nameTo);
        return parsed;
    }
    const qsizetype equals = FindInLine(bytes, '=', from, to);
    if (equals == to)
        return parsed; // a line without "=" holds no key
    qsizetype keyFrom = from;
    qsizetype keyTo = equals;
    TrimRange(bytes, keyFrom, keyTo);
    qsizetype valueFrom = equals + 1;
    qsizetype valueTo = to;
    TrimRange(bytes, valueFrom, valueTo);
    parsed.kind = LineKind::Entry;
    parsed.name = DecodeRange(bytes, keyFrom, keyTo);
    parsed.valueStart = valueFrom;
    parsed.valueEnd = valueTo;
    return parsed;
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Where a key lives in the file, and where a missing key would go.
struct Lookup {
    bool sectionFound = false;
    qsizetype sectionInsertAt = 0; // after the section's last non-blank line
    bool keyFound = false;
    ParsedLine entry;
};

Lookup Find(const QByteArray& bytes, const std::vector<Line>& lines, const QString& section, const QString& key)
{
    Lookup found;
    bool inSection = false;
    bool inFirstSection = false;
    for (const Line& line : lines) {
        const ParsedLine parsed = ParseLine(bytes, line);
        if (parsed.kind == LineKind::Section) {
            inSection = SameName(parsed.name, section);
            inFirstSection = inSection && !found.sectionFound;
            if (inFirstSection)
                found.sectionFound = true;
        } else if (inSection && parsed.kind == LineKind::Entry && SameName(parsed.name, key)) {
            found.keyFound = true;
            found.entry = parsed;
            return found;
        }
        if (inFirstSection && parsed.kind != LineKind::Blank)
            found.sectionInsertAt = line.next;
    }
    return found;
}

QByteArray LineBreakOf(const QByteArray& bytes)
{
    const qsizetype lf = bytes.indexOf('\n');
    return lf > 0 && bytes[lf - 1] == '\r' ? QByteArray("\r\n") : QByteArray("\n");
}

// What ends the line that stops at `end` before anything is put behind it:
// nothing when it has its "\n", the "\n" a lone "\r" lacks, else a whole
// break. Without it the last line of a file would run into the new text.
QByteArray BreakBefore(const QByteArray& bytes, qsizetype end, const QByteArray& eol)
{
    if (end == 0 || bytes[end - 1] == '\n')
        return {};
    return bytes[end - 1] == '\r' ? QByteArray("\n") : eol;
}

bool HasLineBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

// An entry's value as read: decoded, cut to 511 characters.
QString ValueOf(const QByteArray& bytes, const ParsedLine& entry)
{
    QString value = DecodeRange(bytes, entry.valueStart, entry.valueEnd);
    if (value.size() > kMaxValueLength) {
        qsizetype cut = kMaxValueLength;
        if (value[cut - 1].isHighSurrogate())
            --cut; // never leave half a character
        value.truncate(cut);
    }
    return value;
}

// The whole file for a read. The readers take every refusal (missing, not
// a regular file, too large) for an absent file.
Outcome ReadSettings(const QString& iniPath, QByteArray& bytes)
{
    return ReadWholeFile(iniPath, iniPath, bytes, {}, kMaxSettingsBytes, QStringLiteral("a settings file"));
}

} // namespace

QString SettingsFilePath(const QString& programDir, const QString& fileName)
{
    if (programDir.isEmpty())
        return fileName + QStringLiteral(".ini");
    const QString separator = programDir.endsWith(u'/') ? QString() : QStringLiteral("/");
    return programDir + separator + fileName + QStringLiteral(".ini");
}

QString IniValue(const QByteArray& bytes, const QString& section, const QString& key)
{
    const Lookup found = Find(bytes, SplitLines(bytes), section.trimmed(), key.trimmed());
    return found.keyFound ? ValueOf(bytes, found.entry) : QString();
}

QString INIRead(const QString& iniPath, const QString& section, const QString& key)
{
    QByteArray bytes;
    if (!ReadSettings(iniPath, bytes).ok())
        return {};
    return IniValue(bytes, section, key);
}

QStringList INIReadNumberedKeys(const QString& iniPath, const QString& section, int count)
{
    QStringList values(qMax(count, 0));
    QByteArray bytes;
    if (!ReadSettings(iniPath, bytes).ok())
        return values;
    // As Find does for each key: every section of that name counts, and the
    // first line of a key wins.
    const QString sectionName = section.trimmed();
    std::vector<bool> found(values.size(), false);
    bool inSection = false;
    for (const Line& line : SplitLines(bytes)) {
        const ParsedLine parsed = ParseLine(bytes, line);
        if (parsed.kind == LineKind::Section)
            inSection = SameName(parsed.name, sectionName);
        if (!inSection || parsed.kind != LineKind::Entry)
            continue;
        // Only the plain decimal spelling names key n ("07" and "+7" do not).
        bool number = false;
        const int n = parsed.name.toInt(&number);
        if (number && n >= 0 && n < count && !found[n] && SameName(parsed.name, QString::number(n))) {
            found[n] = true;
            values[n] = ValueOf(bytes, parsed);
        }
    }
    return values;
}

bool IniSetValue(QByteArray& bytes, const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    // Names or values that the reader would split differently are refused
    // rather than written into a file that then reads back something else.
    if (sectionName.isEmpty() || keyName.isEmpty() || HasLineBreak(sectionName) || HasLineBreak(keyName) ||
        HasLineBreak(value) || sectionName.contains(u']') || keyName.contains(u'=') || keyName.startsWith(u'[') ||
        keyName.startsWith(u';') || keyName.startsWith(u'#'))
        return false;

    const QByteArray eol = LineBreakOf(bytes);
    const Lookup found = Find(bytes, SplitLines(bytes), sectionName, keyName);
    const QByteArray newValue = value.toUtf8();
    const QByteArray entryLine = keyName.toUtf8() + '=' + newValue;
    if (found.keyFound) {
        bytes.replace(found.entry.valueStart, found.entry.valueEnd - found.entry.valueStart, newValue);
    } else if (found.sectionFound) {
        bytes.insert(found.sectionInsertAt, BreakBefore(bytes, found.sectionInsertAt, eol) + entryLine + eol);
    } else {
        bytes.append(BreakBefore(bytes, bytes.size(), eol));
        if (!bytes.isEmpty() && !bytes.endsWith(eol + eol))
            bytes.append(eol); // a blank line between sections
        bytes.append('[' + sectionName.toUtf8() + ']' + eol + entryLine + eol);
    }
    return true;
}

Outcome INIWrite(const QString& iniPath, const QString& section, const QString& key, const QString& value)
{
    return INIWriteValues(iniPath, section, {{key, value}});
}

Outcome INIWriteValues(const QString& iniPath, const QString& section,
                       const QList<std::pair<QString, QString>>& keysAndValues)
{
    QByteArray bytes;
    // Only a file that is really absent starts empty: one that cannot be
    // read is never overwritten with a file of a single key.
    ReadableFile existing;
    const ReadStatus status = existing.open(iniPath, iniPath, {}, kMaxSettingsBytes, QStringLiteral("a settings file"));
    if (!status.ok())
        return status;
    if (!status.missing) {
        if (const Outcome read = existing.read(existing.size(), bytes); !read.ok())
            return read;
    }
    for (const auto& [key, value] : keysAndValues)
        if (!IniSetValue(bytes, section, key, value))
            return QStringLiteral("Cannot write %1: \"%2\" in section \"%3\" would not read back as written.")
                .arg(iniPath, EscapeControls(key), EscapeControls(section));
    return WriteFileAtomically(iniPath, iniPath, bytes);
}

} // namespace vorn
