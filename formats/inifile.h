#pragma once
// The editor's settings file, a plain INI file: "[Section]" lines and
// "key=value" lines. Names compare without regard to case.
#include "outcome.h"

#include <QByteArray>
#include <QString>
#include <QList>
#include <QStringList>
#include <utility>

namespace vorn {

// programDir + "/" + fileName + ".ini", without doubling a trailing "/".
QString SettingsFilePath(const QString& programDir, const QString& fileName = QStringLiteral("vorn"));

// The value of `key` in `section`, blanks around it removed; empty when the
// file, section or key is missing. Values longer than 511 characters are cut
// to 511. Read as UTF-8 where valid, else as Windows-1252.
QString INIRead(const QString& iniPath, const QString& section, const QString& key);

// What INIRead gives for each of the keys "0" to count - 1 of `section`,
// from one read of the file: the entity type names.
QStringList INIReadNumberedKeys(const QString& iniPath, const QString& section, int count);

// Replaces the key's value in place, keeping every other line byte for
// byte; appends a missing section or key; creates a missing file. Atomic.
// Refused, naming the file and the reason, when the file cannot be read
// whole (a pipe in its place, beyond the size of a settings file), when the
// key or value would not read back as written, or when the write fails.
Outcome INIWrite(const QString& iniPath, const QString& section, const QString& key, const QString& value);
// INIWrite for many keys of one section at once: one read, one write, all
// of them or none.
Outcome INIWriteValues(const QString& iniPath, const QString& section,
                       const QList<std::pair<QString, QString>>& keysAndValues);

// The same two on the file's bytes in memory. IniSetValue is false, and
// leaves `bytes` as they were, for a name or value it would not read back.
QString IniValue(const QByteArray& bytes, const QString& section, const QString& key);
bool IniSetValue(QByteArray& bytes, const QString& section, const QString& key, const QString& value);

} // namespace vorn
