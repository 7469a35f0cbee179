#include "stagefiles.h"

#include "gamefolder.h"

namespace vorn {

StageFiles MapFilesOf(const QString& mapName)
{
    StageFiles files;
    files.mapName = mapName;
    const QString stem = QStringLiteral("data\\stage\\") + mapName;
    files.map = stem + QStringLiteral(".pxm");
    files.entities = stem + QStringLiteral(".pxe");
    files.script = stem + QStringLiteral(".tsc");
    files.plainScript = stem + QStringLiteral(".txt");
    return files;
}

Outcome StageFilesOf(int stage, const StageRecord& record, StageFiles& out, const QString& pictureExtension)
{
    out = MapFilesOf(DecodeAnsi(CutAtNull(record.map())));
    out.pictureExtension = pictureExtension;
    const QString picture = QStringLiteral(".") + pictureExtension;
    out.tilesetName = DecodeAnsi(CutAtNull(record.tileset()));
    out.backdropName = DecodeAnsi(CutAtNull(record.backdrop()));
    out.tileset = QStringLiteral("data\\stage\\prt") + out.tilesetName + picture;
    out.backdrop = QStringLiteral("data\\") + out.backdropName + picture;
    out.tileTypes = QStringLiteral("data\\stage\\") + out.tilesetName + QStringLiteral(".pxa");
    // Sheet 2's name starts at the byte the record calls its spare byte.
    const QByteArray sheet2 = QByteArray(1, char(record.spareByte())) + record.spareName().left(31);
    out.npcSheet1Name = DecodeAnsi(CutAtNull(record.spriteSet()));
    out.npcSheet2Name = DecodeAnsi(CutAtNull(sheet2));
    if (!out.npcSheet1Name.isEmpty())
        out.npcSheet1 = QStringLiteral("data\\npc\\npc") + out.npcSheet1Name + picture;
    if (!out.npcSheet2Name.isEmpty() && out.npcSheet2Name != u"0")
        out.npcSheet2 = QStringLiteral("data\\npc\\npc") + out.npcSheet2Name + picture;
    // Record names become file names: none may reach outside the game folder.
    if (!IsPlainFileName(out.tilesetName))
        return PlainNameError(stage, QStringLiteral("tileset"), out.tilesetName);
    if (!IsPlainFileName(out.mapName))
        return PlainNameError(stage, QStringLiteral("map"), out.mapName);
    if (!IsPlainFileName(out.backdropName))
        return PlainNameError(stage, QStringLiteral("backdrop"), out.backdropName);
    return {};
}

} // namespace vorn
