// The open stage as a document, on the sample game: edits, undo and redo
// against the saved state, another program's changes to its files, edits
// put back from a recovery copy, and pictures changed on disk.
#include "recovery.h"
#include "samplegame.h"
#include "stagedocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) { *os << list.join(", ").toStdString(); }
QT_END_NAMESPACE

namespace vorn {
namespace {

class StageDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteSampleGame(dir.path()).ok());
        game = std::make_unique<Game>(dir.path());
        ASSERT_TRUE(game->readTable().ok());
        ASSERT_TRUE(stage.load(*game, kSampleSmallStage).ok());
        QObject::connect(&stage, &StageDocument::modifiedChanged, [this](bool m) { signalled.push_back(m); });
    }
    QString path(const QString& builtName) const { return game->folder.findFile(builtName); }
    static QByteArray Bytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Another program's write: new bytes, a new time.
    static void Rewrite(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QDateTime later = QFileInfo(file).lastModified().addSecs(5);
        f.write(bytes);
        f.flush();
        ASSERT_TRUE(f.setFileTime(later, QFileDevice::FileModificationTime));
    }

    QTemporaryDir dir;
    std::unique_ptr<Game> game;
    StageDocument stage;
    std::vector<bool> signalled;
};

const QString kMap = QStringLiteral("data\\stage\\Hollow.pxm");
const QString kEntities = QStringLiteral("data\\stage\\Hollow.pxe");

TEST_F(StageDocumentTest, UndoAndRedoFindTheSavedState)
{
    const QByteArray mapOnDisk = Bytes(path(kMap));
    EXPECT_FALSE(stage.isModified());
    stage.paintCell(1, 1, 9);
    EXPECT_TRUE(stage.isModified()); // while the stroke is under way
    stage.paintCell(2, 1, 9);
    stage.finishEdit();
    stage.moveEntity(0, 3, 3);
    stage.finishEdit();
    EXPECT_EQ(stage.history().Stack().count(), 2);

    stage.undo();
    stage.undo();
    EXPECT_FALSE(stage.isModified());
    EXPECT_EQ(stage.cell(1, 1), 0);
    EXPECT_EQ(stage.record(0), (EntityRecord{2, 2, 0, 200, 1, 0}));
    stage.redo();
    EXPECT_TRUE(stage.isModified());

    ASSERT_TRUE(stage.save(*game).ok());
    EXPECT_FALSE(stage.isModified());
    EXPECT_NE(Bytes(path(kMap)), mapOnDisk);
    stage.undo(); // back before the save: modified again, then saved again
    EXPECT_TRUE(stage.isModified());
    stage.redo();
    EXPECT_FALSE(stage.isModified());

    // A new edit after an undo drops the step the file was saved at.
    stage.undo();
    stage.changeEntityCount(3);
    stage.undo();
    EXPECT_TRUE(stage.isModified());
    EXPECT_FALSE(stage.history().SavedStateReachable());
    EXPECT_EQ(signalled, (std::vector<bool>{true, false, true, false, true, false, true}));

    // A drag that comes back to where it began is no edit.
    ASSERT_TRUE(stage.load(*game, kSampleSmallStage).ok());
    EXPECT_FALSE(stage.isModified());
    stage.moveEntity(1, 8, 8);
    EXPECT_TRUE(stage.isModified());
    stage.moveEntity(1, 5, 9);
    stage.finishEdit();
    EXPECT_FALSE(stage.isModified());
    EXPECT_EQ(stage.history().Stack().count(), 0);

    // An edit outside the history stays unsaved until a save.
    stage.setMapSize(21, 15);
    stage.paintCell(3, 3, 1);
    stage.finishEdit();
    stage.undo();
    EXPECT_TRUE(stage.isModified());
    ASSERT_TRUE(stage.save(*game).ok());
    EXPECT_FALSE(stage.isModified());
}

TEST_F(StageDocumentTest, AnotherProgramsChangeIsToldFromATouch)
{
    const QString map = path(kMap), entities = path(kEntities);
    EXPECT_TRUE(stage.changedOnDisk(*game).isEmpty());

    // Touched, with bytes added behind the cells: nothing a save replaces.
    Rewrite(map, Bytes(map) + "tail");
    EXPECT_TRUE(stage.changedOnDisk(*game).isEmpty());

    // A cell, then an entity record, changed.
    QByteArray cells = Bytes(map);
    cells[8 + 5 * 20 + 5] = char(77);
    Rewrite(map, cells);
    EXPECT_EQ(stage.changedOnDisk(*game), QStringList{kMap});
    QByteArray records = Bytes(entities);
    records[8] = char(99);
    Rewrite(entities, records);
    EXPECT_EQ(stage.changedOnDisk(*game), (QStringList{kMap, kEntities}));

    // Once written by this document, the files are its own again; a file
    // removed since has nothing a save would lose.
    ASSERT_TRUE(stage.save(*game).ok());
    EXPECT_TRUE(stage.changedOnDisk(*game).isEmpty());
    ASSERT_TRUE(QFile::remove(entities));
    EXPECT_TRUE(stage.changedOnDisk(*game).isEmpty());
}

TEST_F(StageDocumentTest, RecoveredEditsComeBackAsOneStep)
{
    stage.paintCell(4, 4, 7);
    stage.finishEdit();
    stage.setMapSize(22, 16);
    stage.editRecord(1, {6, 6, 1, 2, 3, 4});
    const QByteArray mapFile = stage.mapFileBytes(), entityFile = stage.entityFileBytes();

    // Kept and read back as a recovery copy of this game's map.
    QTemporaryDir state;
    const RecoveryStore store(state.path());
    RecoveryStore::Copy kept;
    kept.mapFile = mapFile;
    kept.entityFile = entityFile;
    ASSERT_TRUE(store.write(dir.path(), QStringLiteral("Hollow"), kept).ok());
    const std::optional<RecoveryStore::Copy> copy = store.read(dir.path(), QStringLiteral("Hollow"));
    ASSERT_TRUE(copy.has_value());
    EXPECT_FALSE(store.read(state.path(), QStringLiteral("Hollow")).has_value()); // another game's

    StageDocument fresh;
    ASSERT_TRUE(fresh.load(*game, kSampleSmallStage).ok());
    EXPECT_FALSE(fresh.holds(copy->mapFile, copy->entityFile));
    ASSERT_TRUE(fresh.restore(copy->mapFile, copy->entityFile).ok());
    EXPECT_TRUE(fresh.holds(mapFile, entityFile));
    EXPECT_EQ(fresh.width(), 22);
    EXPECT_TRUE(fresh.isModified());
    EXPECT_EQ(fresh.history().Stack().count(), 1);
    fresh.undo();
    EXPECT_FALSE(fresh.isModified());
    EXPECT_EQ(fresh.width(), 20);
    EXPECT_EQ(fresh.cell(4, 4), 0);
    EXPECT_FALSE(fresh.restore("PXM", entityFile).ok());
}

TEST_F(StageDocumentTest, APictureChangedOnDiskIsReadAgainKeepingTheEdits)
{
    stage.watchPictures(true);
    stage.paintCell(3, 3, 2);
    stage.finishEdit();
    QSignalSpy reread(&stage, &StageDocument::picturesReread);
    const QString tileset = path(QStringLiteral("data\\stage\\prtGrotto.pbm"));

    // A paint program's save: a new file renamed over the old.
    QImage picture = stage.tileset();
    picture.setPixel(0, 0, qRgb(1, 2, 3));
    ASSERT_TRUE(picture.save(tileset + ".new", "BMP"));
    ASSERT_TRUE(::rename(QFile::encodeName(tileset + ".new").constData(), QFile::encodeName(tileset).constData()) == 0);
    ASSERT_TRUE(reread.wait(5000));
    EXPECT_EQ(reread.takeFirst().at(0).toString(), QString());
    EXPECT_EQ(stage.tileset().pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(stage.cell(3, 3), 2);
    EXPECT_TRUE(stage.isModified());

    // A picture that no longer reads is stood in for, and says why.
    Rewrite(tileset, "not a picture");
    ASSERT_TRUE(reread.wait(5000));
    EXPECT_TRUE(reread.takeFirst().at(0).toString().startsWith("data\\stage\\prtGrotto.pbm"));
    EXPECT_EQ(stage.tileset().size(), QSize(256, 256));
}

} // namespace
} // namespace vorn
