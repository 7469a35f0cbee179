#pragma once
// The editor's settings file, a plain INI file: "[Section]" lines and
// "key=value" lines. Names compare without regard to case.
#include <QByteArray>
#include <QString>

namespace vorn {

// programDir + "/" + fileName + ".ini", without doubling a trailing "/".
QString SettingsFilePath(const QString& programDir, const QString& fileName = QStringLiteral("vorn"));

// The value of `key` in `section`, blanks around it removed; empty when the
// file, section or key is missing. Values longer than 511 characters are cut
// to 511. Read as UTF-8 where valid, else as Windows-1252.
QString INIRead(const QString& iniPath, const QString& section, const QString& key);

// Replaces the key's value in place, keeping every other line byte for
// byte; appends a missing section or key; creates a missing file. Atomic.
// Returns false when the file could not be written.
bool INIWrite(const QString& iniPath, const QString& section, const QString& key,
              const QString& value);

// The same two on the file's bytes in memory. IniSetValue is false, and
// leaves `bytes` as they were, for a name or value it would not read back.
QString IniValue(const QByteArray& bytes, const QString& section, const QString& key);
bool IniSetValue(QByteArray& bytes, const QString& section, const QString& key, const QString& value);

} // namespace vorn
