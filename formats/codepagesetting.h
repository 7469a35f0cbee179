#pragma once
// The settings' "Code Page" value applied, for the editor and vorn-tool.
#include <QString>

namespace vorn {

// Sets the code page the value names; an empty, absent or zero value
// leaves it to the user's locale. A value that names no code page Vorn can
// convert sets 1252 and returns the warning that says so; otherwise empty.
QString UseCodePageSetting(const QString& value);

} // namespace vorn
