#pragma once
// Texts taken from the game's files, shown to a user: a record name may hold
// any byte, and a control character in it would move the cursor, forge a line
// or send an escape sequence to a terminal.
#include <QString>

namespace vorn {

// C0 controls, DEL and C1 controls (U+0000 to U+001F, U+007F to U+009F).
bool IsControlCharacter(QChar c);
bool HasControlCharacter(const QString& text);

// `text` with each control character written as an escape: "\t", "\n",
// "\r", else "\x" and two hexadecimal digits ("\x1b" for ESC). Everything
// else, the backslash included, stays as it is.
QString EscapeControls(const QString& text);

} // namespace vorn
