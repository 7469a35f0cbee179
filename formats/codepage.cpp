#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstdlib>
#include <memory>

namespace vorn {
namespace {

// Windows code pages and the converters Qt's ICU knows them by. ICU's
// windows-1252 gives back every byte, the unassigned ones included.
struct CodePageName {
    int number;
    const char* name;
};
constexpr std::array<CodePageName, 12> kCodePages{{
    {1250, "windows-1250"},
    {1251, "windows-1251"},
    {1252, "windows-1252"},
    {1253, "windows-1253"},
    {1254, "windows-1254"},
    {1255, "windows-1255"},
    {1256, "windows-1256"},
    {1257, "windows-1257"},
    {932, "windows-932"},
    {936, "windows-936"},
    {949, "windows-949"},
    {950, "windows-950"},
}};

int IndexOf(int codePage)
{
    for (size_t i = 0; i < kCodePages.size(); ++i) {
        if (kCodePages[i].number == codePage)
            return int(i);
    }
    return -1;
}

const char* NameOf(int codePage)
{
    const int index = IndexOf(codePage);
    return index < 0 ? nullptr : kCodePages[size_t(index)].name;
}

int current = 1252;

// A code page's converters, made once: making one costs more than
// converting a stage name with it. Stateless, so no call leaves half a
// character for the next.
struct Converters {
    explicit Converters(const char* name)
        : decoder(name, QStringConverter::Flag::Stateless)
        , encoder(name, QStringConverter::Flag::Stateless)
    {
    }
    QStringDecoder decoder;
    QStringEncoder encoder;
};

// The current code page's, made at its first use. One set a thread: a
// converter keeps state while it converts.
Converters& CurrentConverters()
{
    thread_local std::array<std::unique_ptr<Converters>, kCodePages.size()> made;
    std::unique_ptr<Converters>& converters = made[size_t(IndexOf(current))];
    if (!converters)
        converters = std::make_unique<Converters>(NameOf(current));
    return *converters;
}

// The bytes of one character, or empty when the code page lacks it. ICU
// does not flag every substitution (a character beyond the 16-bit range
// comes out as 0x1A unflagged) and may map to a look-alike, so only bytes
// that decode back to the character count. An encoder keeps its error
// once it had one (resetState does not clear it), so it is replaced then.
QByteArray EncodeOne(QStringView character)
{
    Converters& converters = CurrentConverters();
    const QByteArray bytes = converters.encoder.encode(character);
    if (converters.encoder.hasError()) {
        converters.encoder = QStringEncoder(NameOf(current), QStringConverter::Flag::Stateless);
        return {};
    }
    const QString decoded = converters.decoder.decode(bytes);
    return decoded == character ? bytes : QByteArray();
}

// Calls `each` with every character (a surrogate pair is one) in order.
template <typename Each> void ForEachCharacter(const QString& text, Each each)
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

bool IsDoubleByteCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool TitlesAreJapanese(const QList<QByteArray>& titles)
{
    const auto lead = [](uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
    const auto trail = [](uchar b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); };
    int withHighBytes = 0;
    int withKana = 0;
    for (const QByteArray& title : titles) {
        bool high = false;
        bool kana = false;
        for (qsizetype i = 0; i < title.size(); ++i) {
            const uchar b = uchar(title[i]);
            if (b < 0x80)
                continue;
            high = true;
            if (b >= 0xA1 && b <= 0xDF)
                continue; // half-width katakana: a character of one byte
            if (!lead(b) || i + 1 >= title.size() || !trail(uchar(title[i + 1])))
                return false;
            kana = kana || b == 0x82 || b == 0x83;
            ++i;
        }
        withHighBytes += high ? 1 : 0;
        withKana += kana ? 1 : 0;
    }
    return withHighBytes > 0 && 2 * withKana > withHighBytes;
}

QString DecodeAnsi(const QByteArray& bytes) { return CurrentConverters().decoder.decode(bytes); }

QByteArray EncodeAnsiCharacter(QStringView character) { return EncodeOne(character); }

QByteArray EncodeAnsi(const QString& text)
{
    QByteArray bytes;
    ForEachCharacter(text, [&](QStringView character) {
        const QByteArray one = EncodeOne(character);
        bytes.append(one.isEmpty() ? QByteArray("?") : one);
        return true;
    });
    return bytes;
}

QString FirstUnencodable(const QString& text)
{
    QString found;
    ForEachCharacter(text, [&](QStringView character) {
        if (character == u"\0" || !EncodeOne(character).isEmpty())
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
    while (first < last && name[first] == u' ')
        ++first;
    while (last > first && name[last - 1] == u' ')
        --last;
    name = name.mid(first, last - first);

    QByteArray bytes;
    ForEachCharacter(name, [&](QStringView character) {
        QByteArray one = EncodeOne(character);
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
