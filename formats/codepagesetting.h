#pragma once
// The settings' "Code Page" value applied, for the editor and vorn-tool.
#include "stagetable.h"

#include <QString>

namespace vorn {

// Sets the code page the value names; an empty, absent or zero value
// leaves it to the user's locale. A value that names no code page Vorn can
// convert sets 1252 and returns the warning that says so; otherwise empty.
QString UseCodePageSetting(const QString& value);

// Once the stage table is read: with no code page set (`value` as above)
// and a single-byte one from the locale, a table whose titles are Japanese
// is read in code page 932, as the Japanese game is on a Western system.
// Returns the note that says so; empty when nothing changed.
QString UseJapaneseForJapaneseTable(const QString& value, const StageTable& table);

} // namespace vorn
