#include "numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vorn {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int HexDigit(QChar c)
{
    if (IsDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

struct Parsed {
    double value = 0;
    qsizetype end = 0; // index just after the number
};

// The number starting at text[pos] (blanks already skipped).
std::optional<Parsed> ParseNumberAt(const QString& text, qsizetype pos)
{
    const qsizetype n = text.size();
    if (pos + 1 < n && text[pos] == u'&' && (text[pos + 1] == u'H' || text[pos + 1] == u'h')) {
        qsizetype i = pos + 2;
        double value = 0;
        for (; i < n && HexDigit(text[i]) >= 0; ++i)
            value = value * 16 + HexDigit(text[i]);
        if (i == pos + 2)
            return std::nullopt; // "&H" without digits
        return Parsed{value, i};
    }

    // Collect sign, digits, fraction and exponent into plain ASCII, then let
    // from_chars convert it: it ignores the C locale, which Qt sets from the
    // environment and which may use a decimal comma.
    std::string ascii;
    qsizetype i = pos;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            ascii += '-';
        ++i;
    }
    // The power of ten just above the first significant digit, so that a
    // value out of range can be told apart as too large or too small:
    // "0.000...1" and "5e-400" are tiny, "1e400" and "1e400e-5" huge.
    long long magnitude = 0;
    bool significant = false;
    int digits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++digits) {
        significant = significant || text[i] != u'0';
        if (significant)
            ++magnitude;
        ascii += char(text[i].unicode());
    }
    if (i < n && text[i] == u'.') {
        ascii += '.';
        for (++i; i < n && IsDigit(text[i]); ++i, ++digits) {
            if (!significant && text[i] == u'0')
                --magnitude;
            significant = significant || text[i] != u'0';
            ascii += char(text[i].unicode());
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        bool negativeExponent = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            negativeExponent = text[j] == u'-';
            exponent += char(text[j].unicode());
            ++j;
        }
        const qsizetype firstDigit = j;
        long long power = 0;
        for (; j < n && IsDigit(text[j]); ++j) {
            power = std::min(power * 10 + (text[j].unicode() - u'0'), 1000000000LL);
            exponent += char(text[j].unicode());
        }
        if (j > firstDigit) { // "1e" alone is the number 1 followed by a letter
            ascii += exponent;
            magnitude += negativeExponent ? -power : power;
            i = j;
        }
    }

    double value = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        const bool negative = ascii.front() == '-';
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative)
            value = -value;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    return Parsed{value, i};
}

qsizetype SkipBlanks(const QString& text, qsizetype pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

} // namespace

std::optional<double> LeadingNumber(const QString& text)
{
    const auto parsed = ParseNumberAt(text, SkipBlanks(text, 0));
    if (!parsed)
        return std::nullopt;
    return parsed->value;
}

double Val(const QString& text) { return LeadingNumber(text).value_or(0.0); }

std::optional<double> WholeNumber(const QString& text)
{
    const auto parsed = ParseNumberAt(text, SkipBlanks(text, 0));
    if (!parsed || SkipBlanks(text, parsed->end) != text.size())
        return std::nullopt;
    return parsed->value;
}

double RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

qint16 SettingNumber(const QString& text)
{
    const auto number = LeadingNumber(text);
    if (!number)
        return 0;
    const double rounded = RoundHalfEven(*number);
    if (!(rounded >= -32768 && rounded <= 32767)) // also catches NaN
        return 0;
    return qint16(rounded);
}

QString Hex16(qint16 value) { return QString::number(quint16(value), 16).toUpper(); }

QString Counted(qint64 count, const QString& one, const QString& many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

} // namespace vorn
