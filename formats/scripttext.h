#pragma once
// A decoded script as text to edit, and back, losing no byte. Lines end in
// '\n' in the text and in CR LF in the script. A byte the game's code page
// cannot show, and a control byte other than tab (a CR alone among them),
// becomes one character of a private range, so that it is saved as it came.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace vorn {

// The private characters that stand for kept bytes: U+F700 + the byte.
constexpr char16_t kKeptByteBase = 0xF700;
inline bool IsKeptByte(QChar c) { return c.unicode() >= kKeptByteBase && c.unicode() <= kKeptByteBase + 0xFF; }
inline int KeptByteValue(QChar c) { return c.unicode() - kKeptByteBase; }

struct ScriptTextReading {
    QString text;
    int bareLineFeeds = 0; // LF without CR before it: shown as line ends, saved as CR LF
    int keptBytes = 0; // bytes shown as private characters
};
ScriptTextReading ScriptTextOf(const QByteArray& decoded);

struct ScriptBytes {
    QByteArray bytes;
    // The byte offset of each character of the text, and of its end:
    // text.size() + 1 entries. The second half of a surrogate pair has the
    // offset of the first.
    std::vector<int> offsets;
    // The first character the code page lacks (written as '?'), and where
    // it is in the text; -1 when there is none.
    int unencodableAt = -1;
};
// Line ends are '\n', or the paragraph and line separators a text editor
// keeps between its lines.
ScriptBytes ScriptBytesOf(QStringView text);

} // namespace vorn
