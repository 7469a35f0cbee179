#pragma once
// Windows-1252, the single-byte code page of the game's texts. Qt Core has
// no codec for it without ICU, so the table is kept here.
#include <QByteArray>
#include <QString>

namespace vorn {

// Every byte maps to one character; the five unassigned bytes (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same number, as
// Windows does, so decoding and encoding give back the same bytes.
QString DecodeAnsi(const QByteArray& bytes);

// Characters the code page lacks become '?'.
QByteArray EncodeAnsi(const QString& text);

// UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString DecodeUtf8OrAnsi(const QByteArray& bytes);

} // namespace vorn
