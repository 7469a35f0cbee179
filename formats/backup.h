#pragma once
// Copies of a game's table files (the executable, stage.tbl, npc.tbl, ...)
// made before Vorn first changes one, in "backup/" in the game folder.
#include "outcome.h"

#include <QDateTime>
#include <QString>

namespace vorn {

// The first time in this run that `filePath` is about to change, copies it
// whole to "<gameRoot>/backup/<name>.YYYYMMDD-HHMMSS" (a name already taken
// gets "-2", "-3", ...), written as every other file is, so a failure leaves
// no half copy. Later calls for the same file do nothing. Keeps the first
// copy ever made of the file (the file as the modder first had it) and the
// newest 10 others. Refused, with the reason, when the copy cannot be made:
// the caller then changes nothing. A file that does not exist yet needs no
// copy.
Outcome BackUpOnce(const QString& gameRoot, const QString& filePath);

// The same with the time given, for the tests; `once` false makes a copy
// even when one was made in this run.
Outcome BackUp(const QString& gameRoot, const QString& filePath, const QDateTime& now, bool once = true);

// Forgets which files were copied in this run, for the tests.
void ForgetBackUps();

constexpr int kKeptBackUps = 10;

} // namespace vorn
