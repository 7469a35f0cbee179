#include "codepage.h"

#include <QList>
#include <QStringDecoder>

namespace vorn {
namespace {

// 0x80 to 0x9F; zero marks the unassigned bytes.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98-9F
};

char16_t AnsiToUnicode(quint8 byte)
{
    if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0)
        return kHighControls[byte - 0x80];
    return byte;
}

int UnicodeToAnsi(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return int(code);
    for (int i = 0; i < 32; ++i) {
        const char16_t mapped = kHighControls[i];
        if (mapped == 0 ? code == char32_t(0x80 + i) : code == mapped)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QString DecodeAnsi(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(AnsiToUnicode(quint8(bytes[i])));
    return text;
}

QByteArray EncodeAnsi(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (char32_t code : text.toUcs4()) {
        const int byte = UnicodeToAnsi(code);
        bytes.append(byte < 0 ? '?' : char(byte));
    }
    return bytes;
}

QString DecodeUtf8OrAnsi(const QByteArray& bytes)
{
    // A leading U+FEFF is text here: the bytes are part of a file, never the
    // start of one, so the decoder must not drop it as a byte order mark.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeAnsi(bytes);
}

} // namespace vorn
