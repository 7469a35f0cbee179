#include "scripttext.h"

#include "codepage.h"

#include <QHash>

#include <array>
#include <optional>

namespace vorn {
namespace {

bool IsControl(uchar byte) { return (byte < 0x20 && byte != '\t') || byte == 0x7F; }

// A decoded character that cannot stand for itself in the text: it would
// read back as a kept byte, or is the decoder's mark for a failure.
bool Unusable(QStringView decoded)
{
    if (decoded.isEmpty() || decoded.contains(QChar::ReplacementCharacter))
        return true;
    for (QChar c : decoded)
        if (IsKeptByte(c) || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            return true;
    return false;
}

// One character of the code page from `bytes`, when it decodes to exactly
// one character that encodes back to the same bytes.
std::optional<QString> DecodeUnit(const QByteArray& bytes)
{
    const QString decoded = DecodeAnsi(bytes);
    const bool one = decoded.size() == 1 || (decoded.size() == 2 && decoded[0].isHighSurrogate());
    if (!one || Unusable(decoded) || EncodeAnsiCharacter(decoded) != bytes)
        return std::nullopt;
    return decoded;
}

// What the code page in use makes of each byte alone, and of each
// character already met: converters are slow next to a table lookup, and a
// keystroke converts the whole text.
struct Tables {
    int codePage = 0;
    std::array<std::optional<QString>, 256> single;
    QHash<char32_t, QByteArray> encoded; // empty: the code page lacks it
};

Tables& CurrentTables()
{
    thread_local Tables tables;
    if (tables.codePage != AnsiCodePage()) {
        tables = Tables{};
        tables.codePage = AnsiCodePage();
        for (int byte = 0; byte < 256; ++byte)
            if (!IsControl(uchar(byte)))
                tables.single[size_t(byte)] = DecodeUnit(QByteArray(1, char(byte)));
    }
    return tables;
}

} // namespace

ScriptTextReading ScriptTextOf(const QByteArray& decoded)
{
    Tables& tables = CurrentTables();
    ScriptTextReading out;
    out.text.reserve(decoded.size());
    const qsizetype n = decoded.size();
    for (qsizetype i = 0; i < n;) {
        const uchar byte = uchar(decoded[i]);
        if (byte == '\r' && i + 1 < n && decoded[i + 1] == '\n') {
            out.text += u'\n';
            i += 2;
            continue;
        }
        if (byte == '\n') {
            out.text += u'\n';
            ++out.bareLineFeeds;
            ++i;
            continue;
        }
        if (const auto& alone = tables.single[byte]) {
            out.text += *alone;
            ++i;
            continue;
        }
        if (byte >= 0x80 && i + 1 < n) {
            if (const auto pair = DecodeUnit(decoded.mid(i, 2))) {
                out.text += *pair;
                i += 2;
                continue;
            }
        }
        out.text += QChar(char16_t(kKeptByteBase + byte));
        ++out.keptBytes;
        ++i;
    }
    return out;
}

ScriptBytes ScriptBytesOf(QStringView text)
{
    Tables& tables = CurrentTables();
    ScriptBytes out;
    out.bytes.reserve(text.size() + text.size() / 8);
    out.offsets.resize(size_t(text.size()) + 1);
    for (qsizetype i = 0; i < text.size();) {
        out.offsets[size_t(i)] = int(out.bytes.size());
        const QChar c = text[i];
        if (c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            out.bytes += "\r\n";
            ++i;
            continue;
        }
        if (IsKeptByte(c)) {
            out.bytes += char(KeptByteValue(c));
            ++i;
            continue;
        }
        if (c.unicode() < 0x80 && tables.single[c.unicode()] && (*tables.single[c.unicode()])[0] == c) {
            out.bytes += char(c.unicode());
            ++i;
            continue;
        }
        const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = text.mid(i, length);
        const char32_t key = length == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : c.unicode();
        auto found = tables.encoded.constFind(key);
        if (found == tables.encoded.constEnd())
            found = tables.encoded.insert(key, EncodeAnsiCharacter(character));
        if (found->isEmpty()) {
            if (out.unencodableAt < 0)
                out.unencodableAt = int(i);
            out.bytes += '?';
        } else {
            out.bytes += *found;
        }
        if (length == 2)
            out.offsets[size_t(i) + 1] = out.offsets[size_t(i)];
        i += length;
    }
    out.offsets[size_t(text.size())] = int(out.bytes.size());
    return out;
}

} // namespace vorn
