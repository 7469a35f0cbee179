#pragma once
// The code page of the game's texts: the stage table's names and titles,
// and settings values that are not UTF-8. Like the system code page of the
// platform the game was made for, it is one for the whole program: Windows
// code page 1252 until start-up sets another (932 for the Japanese game).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

namespace vorn {

// The code page in use, and a change of it. False, keeping the old one,
// for a number that names no code page Vorn can convert.
int AnsiCodePage();
bool SetAnsiCodePage(int codePage);
bool IsKnownCodePage(int codePage);

// The code page a locale name ("ja_JP.UTF-8", "ru", "C") stands for: ja
// 932, zh_CN and zh_SG 936, zh_TW and zh_HK 950, ko 949, Cyrillic 1251,
// Central European 1250, el 1253, tr 1254, anything else 1252.
int CodePageForLocale(const QByteArray& locale);
// The same for the user's locale: LC_ALL, else LC_CTYPE, else LANG.
int CodePageOfEnvironment();
// 932, 936, 949 and 950 store a character in one or two bytes; the
// others in one.
bool IsDoubleByteCodePage(int codePage);

// Whether stage titles, each cut at its NUL, are the Japanese game's: every
// byte above 0x7F stands in a valid Shift-JIS character (a double-byte one,
// or a half-width katakana), and most of the titles holding such bytes hold
// kana (lead byte 0x82 or 0x83). Validity alone would take a Western title
// for Japanese: in 1252 "Défense" (é, f) and "Arthur’s" (’, s) are valid
// pairs too, while 0x82 and 0x83 ("‚" and "ƒ") are rare there. Plain ASCII
// titles are not Japanese.
bool TitlesAreJapanese(const QList<QByteArray>& titles);

// In 1252 every byte is one character (the five unassigned bytes become
// the control characters of the same number, as Windows does), so decoding
// and encoding give back the same bytes.
QString DecodeAnsi(const QByteArray& bytes);

// The bytes of one character (a surrogate pair is one), or empty when the
// code page lacks it.
QByteArray EncodeAnsiCharacter(QStringView character);

// Characters the code page lacks become '?'.
QByteArray EncodeAnsi(const QString& text);

// The first character of `text` the code page cannot store; empty when it
// can store them all.
QString FirstUnencodable(const QString& text);

// `text` up to its first NUL, spaces trimmed at both ends, encoded and cut
// to at most `maxBytes` bytes without splitting a character.
QByteArray EncodeAnsiName(const QString& text, int maxBytes);

// UTF-8 when the bytes are valid UTF-8, else the code page.
QString DecodeUtf8OrAnsi(const QByteArray& bytes);

} // namespace vorn
