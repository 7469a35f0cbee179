#pragma once
// Stage scripts: the ".tsc" file is the plain ".txt" with every byte but the
// middle one shifted by the middle byte.
#include "gamefolder.h"
#include "outcome.h"

#include <QByteArray>
#include <QString>

namespace vorn {

QByteArray DecodeScript(const QByteArray& scrambled);
QByteArray EncodeScript(const QByteArray& plain);

// Reads "data\stage\<mapName>.tsc" whole, decodes it and writes
// "data\stage\<mapName>.txt" atomically (EncodeScriptFile the reverse).
// A missing or empty source writes nothing: "Cannot find data\stage\X.tsc."
// or "data\stage\X.tsc is empty.". A map name that is not a plain file name
// is refused.
Outcome DecodeScriptFile(const GameFolder& folder, const QString& mapName);
Outcome EncodeScriptFile(const GameFolder& folder, const QString& mapName);

// The question to ask before Decode (decode true) or Encode replaces its target: when the
// target exists, is not older than the source (the same time counts: which came last is
// unknown) and differs from what converting the source gives,
// "data\stage\Cave.txt has changes that are not in Cave.tsc. Overwrite it?" (Encode:
// "data\stage\Cave.tsc has changes that are not in Cave.txt. Overwrite it?"). Empty when
// converting loses nothing, or when the conversion would be refused anyway (it then says why).
// A target that cannot be read counts as differing.
QString ScriptOverwriteQuestion(const GameFolder& folder, const QString& mapName, bool decode);

// The same without the question, for a caller that asks in its own words:
// "data\stage\Cave.txt has changes that are not in Cave.tsc".
QString ScriptChangesAtRisk(const GameFolder& folder, const QString& mapName, bool decode);

} // namespace vorn
