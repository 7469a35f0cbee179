#pragma once
// Stage scripts: the ".tsc" file is the plain ".txt" with every byte but the
// middle one shifted by the middle byte.
#include "gamefolder.h"
#include <QByteArray>
#include <QString>

namespace vorn {

QByteArray DecodeScript(const QByteArray& scrambled);
QByteArray EncodeScript(const QByteArray& plain);

// Reads "data\stage\<mapName>.tsc" whole, decodes it and writes
// "data\stage\<mapName>.txt" atomically (EncodeScriptFile the reverse).
// A missing or empty source writes nothing: "Cannot find data\stage\X.tsc."
// or "data\stage\X.tsc is empty.". A map name that is not a plain file name
// is refused. Returns an empty text on success.
QString DecodeScriptFile(const GameFolder& folder, const QString& mapName);
QString EncodeScriptFile(const GameFolder& folder, const QString& mapName);

} // namespace vorn
