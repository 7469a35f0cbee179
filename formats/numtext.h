#pragma once
// Numbers typed or stored as text.
#include <QString>
#include <cstdint>
#include <optional>

namespace vorn {

// The number a text begins with: leading blanks, optional sign, digits,
// optional fraction and exponent, or "&H" and hexadecimal digits.
// "12abc" gives 12, "2.5" gives 2.5; nullopt when no number starts the text.
// "&H" digits read as a non-negative value ("&HFFFF" is 65535); callers that
// store a 16-bit pattern wrap it themselves.
std::optional<double> LeadingNumber(const QString& text);

// LeadingNumber, or 0 when the text does not begin with a number.
double Val(const QString& text);

// The whole text as one number (blanks around it allowed, "&H" hex too);
// nullopt for "", "-", "12abc" or "abc".
std::optional<double> WholeNumber(const QString& text);

// Nearest integer, halves to the even one (2.5 gives 2, -1.5 gives -2).
double RoundHalfEven(double value);

// A stored setting as a signed 16-bit number: leading number rounded half to
// even; 0 when absent, non-numeric or outside -32768 to 32767.
qint16 SettingNumber(const QString& text);

// The 16-bit pattern in upper-case hexadecimal without leading zeros:
// 0 -> "0", 200 -> "C8", -1 -> "FFFF".
QString Hex16(qint16 value);

// A count and the word that fits it: "1 entity", "2 entities", "0 entities".
QString Counted(qint64 count, const QString& one, const QString& many);

} // namespace vorn
