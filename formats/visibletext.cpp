#include "visibletext.h"

#include <algorithm>

namespace vorn {

bool IsControlCharacter(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }

bool HasControlCharacter(const QString& text) { return std::any_of(text.begin(), text.end(), IsControlCharacter); }

QString EscapeControls(const QString& text)
{
    if (!HasControlCharacter(text))
        return text;
    QString out;
    for (const QChar c : text) {
        if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (IsControlCharacter(c))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace vorn
