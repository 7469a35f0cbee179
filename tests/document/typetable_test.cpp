// The entity type table being edited: each change one undo step, a copy
// appended, and a save that writes npc.tbl and the folder's own names.
#include "entitysprite.h"
#include "entitytypes.h"
#include "inifile.h"
#include "samplegame.h"
#include "typetable.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(TypeTable, EditsUndoAddAndSaveWithNames)
{
    QTemporaryDir dir, program;
    ASSERT_TRUE(WriteSampleGame(dir.path()).ok());
    const GameFolder folder(dir.path());
    const QString ini = program.filePath("vorn.ini");
    TypeTable types(folder, {ini, {}});
    ASSERT_TRUE(types.read().ok());
    ASSERT_EQ(types.count(), kShippedEntityTypes);
    const QString file = folder.findFile(NpcTableName());
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray original = before.readAll();

    EXPECT_FALSE(types.setField(60, NpcField::Life, "70000").ok());
    EXPECT_FALSE(types.pending());
    ASSERT_TRUE(types.setField(60, NpcField::ViewBox, "20 8 8 8").ok());
    EXPECT_EQ(types.types()[60].view.front, 20);
    types.undoStack().undo();
    EXPECT_EQ(types.types()[60].view.front, 8);
    EXPECT_FALSE(types.pending());
    types.undoStack().redo();

    ASSERT_TRUE(types.setName(60, "Toroko the brave").ok());
    ASSERT_TRUE(types.addType(60).ok());
    EXPECT_EQ(types.count(), kShippedEntityTypes + 1);
    EXPECT_EQ(types.name(kShippedEntityTypes), "Toroko the brave (copy)");
    // An added type is drawn with the frames of the one it copies.
    const auto sprite = SpriteOf(kShippedEntityTypes, false, types.types());
    ASSERT_TRUE(sprite.has_value());
    EXPECT_EQ(sprite->frame.left, ShippedType(60)->left.left);
    EXPECT_EQ(types.undoStack().count(), 3);

    ASSERT_EQ(types.save().refusal(), QString());
    EXPECT_FALSE(types.pending());
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    const QByteArray written = after.readAll();
    ASSERT_EQ(written.size(), original.size() + 24);

    // Read again, as the next run would: the names and looks come back.
    TypeTable again(folder, {ini, {}});
    ASSERT_TRUE(again.read().ok());
    EXPECT_EQ(again.name(60), "Toroko the brave");
    EXPECT_EQ(again.types()[kShippedEntityTypes].drawnAs, 60);
    EXPECT_EQ(again.types()[60].view.front, 20);
    EXPECT_EQ(INIRead(ini, "Entities", "60"), ""); // the shared names stay as they were

    // A change by another program is seen.
    EXPECT_FALSE(again.changedOutside());
    QFile other(file);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly | QIODevice::Truncate));
    other.write(original);
    other.close();
    EXPECT_TRUE(again.changedOutside());
}

} // namespace
} // namespace vorn
