// What the checks know of the game's other scripts follows the files: a
// script another program rewrites is read again, the next check sees it.
#include "gamescripts.h"
#include "samplegame.h"
#include "script.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(GameScripts, AScriptRewrittenOnDiskIsReadAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteSampleGame(dir.path()).ok());
    Game game(dir.path());
    ASSERT_TRUE(game.readTable().ok());
    GameScripts scripts(game);
    const QString name = scripts.stageScriptName(kSampleSmallStage);
    ASSERT_FALSE(name.isEmpty());
    ASSERT_TRUE(scripts.stageEvents(kSampleSmallStage).has_value());

    QThread::msleep(20); // another time, whatever the file system's resolution
    QFile file(game.folder.findFile(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(EncodeScript("#0700\r\n<END\r\n#0701\r\n<END\r\n"));
    file.close();
    EXPECT_EQ(scripts.stageEvents(kSampleSmallStage), (std::vector<int>{700, 701}));
    EXPECT_EQ(scripts.contextFor(name).stageEvents(kSampleSmallStage), (std::vector<int>{700, 701}));
}

} // namespace
} // namespace vorn
