#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstdlib>

namespace vorn {
namespace {

// Windows code pages and the converters Qt's ICU knows them by. ICU's
// windows-1252 gives back every byte, the unassigned ones included.
struct CodePageName {
    int number;
    const char* name;
};
constexpr std::array<CodePageName, 12> kCodePages{{
    {1250, "windows-1250"}, {1251, "windows-1251"}, {1252, "windows-1252"}, {1253, "windows-1253"},
    {1254, "windows-1254"}, {1255, "windows-1255"}, {1256, "windows-1256"}, {1257, "windows-1257"},
    {932, "windows-932"},   {936, "windows-936"},   {949, "windows-949"},   {950, "windows-950"},
}};

const char* NameOf(int codePage)
{
    for (const CodePageName& entry : kCodePages) {
        if (entry.number == codePage)
            return entry.name;
    }
    return nullptr;
}

int current = 1252;

QStringEncoder Encoder()
{
    return QStringEncoder(NameOf(current), QStringConverter::Flag::Stateless);
}

// The bytes of one character, or empty when the code page lacks it. ICU
// does not flag every substitution (a character beyond the 16-bit range
// comes out as 0x1A unflagged) and may map to a look-alike, so only bytes
// that decode back to the character count. An encoder keeps its error
// once it had one, so it is replaced then.
QByteArray EncodeOne(QStringEncoder& encoder, QStringView character)
{
    const QByteArray bytes = encoder.encode(character);
    if (encoder.hasError()) {
        encoder = Encoder();
        return {};
    }
    QStringDecoder back(NameOf(current), QStringConverter::Flag::Stateless);
    const QString decoded = back.decode(bytes);
    return decoded == character ? bytes : QByteArray();
}

// Calls `each` with every character (a surrogate pair is one) in order.
template <typename Each>
void ForEachCharacter(const QString& text, Each each)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        if (!each(QStringView(text).mid(i, n)))
            return;
        i += n;
    }
}

} // namespace

int AnsiCodePage() { return current; }

bool IsKnownCodePage(int codePage)
{
    const char* name = NameOf(codePage);
    return name && QStringDecoder(name).isValid();
}

bool SetAnsiCodePage(int codePage)
{
    if (!IsKnownCodePage(codePage))
        return false;
    current = codePage;
    return true;
}

int CodePageForLocale(const QByteArray& locale)
{
    const qsizetype end = locale.indexOf('.') >= 0 ? locale.indexOf('.') : locale.indexOf('@');
    const QByteArray name = end >= 0 ? locale.left(end) : locale;
    const QByteArray language = name.left(name.indexOf('_') >= 0 ? name.indexOf('_') : name.size()).toLower();
    const QByteArray territory = name.indexOf('_') >= 0 ? name.mid(name.indexOf('_') + 1).toUpper() : QByteArray();
    const auto among = [&language](std::initializer_list<const char*> list) {
        for (const char* entry : list) {
            if (language == entry)
                return true;
        }
        return false;
    };
    if (language == "ja")
        return 932;
    if (language == "zh" && (territory == "CN" || territory == "SG"))
        return 936;
    if (language == "zh" && (territory == "TW" || territory == "HK"))
        return 950;
    if (language == "ko")
        return 949;
    if (among({"ru", "uk", "be", "bg", "sr", "mk"}))
        return 1251;
    if (among({"pl", "cs", "sk", "hu", "sl", "hr", "ro"}))
        return 1250;
    if (language == "el")
        return 1253;
    if (language == "tr")
        return 1254;
    return 1252;
}

int CodePageOfEnvironment()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return CodePageForLocale(value);
    }
    return 1252;
}

QString DecodeAnsi(const QByteArray& bytes)
{
    QStringDecoder decoder(NameOf(current), QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray EncodeAnsi(const QString& text)
{
    QStringEncoder encoder = Encoder();
    QByteArray bytes;
    ForEachCharacter(text, [&](QStringView character) {
        const QByteArray one = EncodeOne(encoder, character);
        bytes.append(one.isEmpty() ? QByteArray("?") : one);
        return true;
    });
    return bytes;
}

QString FirstUnencodable(const QString& text)
{
    QStringEncoder encoder = Encoder();
    QString found;
    ForEachCharacter(text, [&](QStringView character) {
        if (character == u"\0" || !EncodeOne(encoder, character).isEmpty())
            return true;
        found = character.toString();
        return false;
    });
    return found;
}

QByteArray EncodeAnsiName(const QString& text, int maxBytes)
{
    QString name = text.left(text.indexOf(QChar(0)) >= 0 ? text.indexOf(QChar(0)) : text.size());
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && name[first] == u' ') ++first;
    while (last > first && name[last - 1] == u' ') --last;
    name = name.mid(first, last - first);

    QStringEncoder encoder = Encoder();
    QByteArray bytes;
    ForEachCharacter(name, [&](QStringView character) {
        QByteArray one = EncodeOne(encoder, character);
        if (one.isEmpty())
            one = "?";
        if (bytes.size() + one.size() > maxBytes)
            return false; // the whole character or none of it
        bytes.append(one);
        return true;
    });
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
