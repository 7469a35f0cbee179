// The map's tools without a window, on the sample game's 20 x 15 stage and
// an editing state: what each press, move and release does to the stage
// and the state, and the floating copy's placing on every side of the map.
#include "capture.h"
#include "editingstate.h"
#include "entitydrag.h"
#include "fill.h"
#include "floatingpaste.h"
#include "pan.h"
#include "pencil.h"
#include "rectangle.h"
#include "samplegame.h"
#include "select.h"
#include "stagedocument.h"
#include "toolbox.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace vorn {
namespace {

class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteSampleGame(dir.path()).ok());
        game = std::make_unique<Game>(dir.path());
        ASSERT_TRUE(game->readTable().ok());
        ASSERT_TRUE(stage.load(*game, kSampleSmallStage).ok());
        ASSERT_EQ(stage.width(), 20);
        context.tell = [this](const QString& text, bool warning) { told << (warning ? "!" : "") + text; };
        context.tilesetName = [] { return QStringLiteral("Cave"); };
        context.scrollPosition = [this] { return scroll; };
        context.scrollTo = [this](QPoint to) { scroll = to; };
        tools = std::make_unique<ToolBox>(context);
    }
    static ToolEvent At(int x, int y, int button = 1, bool shift = false) { return {QPoint(x, y), button, shift, {}}; }
    void drag(int x0, int y0, int x1, int y1, int button = 1, bool shift = false)
    {
        ASSERT_TRUE(tools->press(At(x0, y0, button, shift)));
        tools->move(At(x1, y1, button, shift));
        tools->release(At(x1, y1, button, shift));
    }
    int steps() const { return stage.history().Stack().count(); }

    QTemporaryDir dir;
    std::unique_ptr<Game> game;
    StageDocument stage;
    EditingState editing;
    ToolContext context{stage, editing, {}, {}, {}, {}, {}};
    std::unique_ptr<ToolBox> tools;
    QStringList told;
    QPoint scroll{0, 0};
};

TEST_F(ToolsTest, PaintingToolsChangeTheStageInOneStepEach)
{
    // The toolbar lists the pencil first; its press is the designed handler's.
    ASSERT_EQ(tools->choosable().size(), 4u);
    EXPECT_FALSE(tools->press(At(1, 1)));
    editing.setBlock({2, 2, {1, 2, 3, 4}});
    tools->pencil().paint(QPoint(19, 14)); // the block's edge past the map is left out
    stage.finishEdit();
    EXPECT_EQ(stage.cell(19, 14), 1);
    editing.useOneTile();
    editing.setTile(7);

    tools->choose(1); // rectangle: the press's cell to the release's, the pointer clamped to the map
    const int before = steps();
    drag(18, 13, 40, 40);
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(stage.cell(18, 13), 7);
    EXPECT_EQ(stage.cell(19, 14), 7);
    EXPECT_TRUE(tools->press(At(-1, 0))); // off the map: taken, nothing done
    tools->release(At(-1, 0));
    EXPECT_EQ(steps(), before + 1);

    tools->choose(2); // fill stays inside the selection
    editing.setSelection(QRect(0, 0, 2, 1));
    const quint8 outside = stage.cell(2, 0);
    editing.setTile(9);
    ASSERT_TRUE(tools->press(At(0, 0)));
    EXPECT_EQ(stage.cell(0, 0), 9);
    EXPECT_EQ(stage.cell(2, 0), outside);
}

TEST_F(ToolsTest, SelectAndCaptureSetTheEditingState)
{
    tools->choose(3);
    drag(2, 3, 5, 4);
    EXPECT_EQ(editing.selection(), QRect(2, 3, 4, 2));
    drag(3, 3, 3, 3); // a click inside keeps it
    EXPECT_TRUE(editing.selection());
    drag(10, 10, 10, 10); // outside clears it
    EXPECT_FALSE(editing.selection());

    // Shift+right drag takes a block whatever tool is chosen; one cell is its tile.
    drag(0, 0, 1, 1, 2, true);
    ASSERT_TRUE(editing.block().valid());
    EXPECT_EQ(editing.block(), stage.copyBlock(QRect(0, 0, 2, 2)));
    drag(4, 4, 4, 4, 2, true);
    EXPECT_FALSE(editing.block().valid());
    EXPECT_EQ(editing.tile(), stage.cell(4, 4));
}

TEST_F(ToolsTest, FloatingCopyLandsOnlyInsideTheMapAndNeverWraps)
{
    CellsClip clip;
    clip.cells = {2, 1, {5, 6}};
    clip.tileset = QStringLiteral("Mimi");
    // Entities left of, above, past the right and bottom edges, and past 32,767.
    clip.entities = {{0, 0, 0, 0, 1, 0},  {-1, 0, 0, 0, 2, 0}, {0, -1, 0, 0, 3, 0},
                     {30, 0, 0, 0, 4, 0}, {0, 20, 0, 0, 5, 0}, {32767, 0, 0, 0, 6, 0}};
    const std::vector<EntityRecord> placed = clip.entitiesAt(QPoint(0, 0), 20, 15);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0], (EntityRecord{0, 0, 0, 0, 1, 0}));
    EXPECT_TRUE(clip.entitiesAt(QPoint(-32768, 0), 20, 15).empty());

    const int count = stage.entityCount();
    tools->choose(1); // the copy takes the click whatever tool is chosen
    editing.setFloating(clip);
    tools->move(At(4, 5));
    EXPECT_EQ(tools->previewCells(), QRect(4, 5, 2, 1));
    EXPECT_TRUE(tools->press(At(4, 5)));
    EXPECT_FALSE(editing.floating());
    EXPECT_EQ(stage.cell(5, 5), 6);
    EXPECT_EQ(stage.entityCount(), count + 3); // the -1 places land on the map here; the far ones do not
    EXPECT_EQ(told.value(0), QStringLiteral("The copy's tiles come from tileset Mimi; this stage uses Cave."));

    // Older text without the tileset line still reads.
    const std::optional<CellsClip> old = CellsClip::fromText(QStringLiteral("Vorn cells 1\n1 1\n7\nentities 0\n"));
    ASSERT_TRUE(old);
    EXPECT_TRUE(old->tileset.isEmpty());
    const std::optional<CellsClip> again = CellsClip::fromText(clip.toText());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->tileset, QStringLiteral("Mimi"));
    EXPECT_EQ(again->entities, clip.entities);
    EXPECT_FALSE(CellsClip::fromText(QString(kMaxClipText + 1, u' ')));
}

TEST_F(ToolsTest, EntityDragMovesThePickedEntityAndPanScrolls)
{
    EXPECT_FALSE(tools->entityDrag().press(At(0, 0))); // nothing picked
    editing.setPicked(1);
    const int before = steps();
    ASSERT_TRUE(tools->entityDrag().press(At(0, 0)));
    tools->entityDrag().move(At(7, 8));
    tools->entityDrag().move(At(-5, 9));
    tools->entityDrag().release(At(-5, 9));
    EXPECT_EQ(stage.record(1).X, 0);
    EXPECT_EQ(stage.record(1).Y, 9);
    EXPECT_EQ(steps(), before + 1);

    scroll = QPoint(-3, -4);
    ASSERT_TRUE(tools->pan().press({{}, 1, false, QPoint(100, 100)}));
    tools->pan().move({{}, 1, false, QPoint(132, 84)});
    EXPECT_EQ(scroll, QPoint(-5, -3));
    tools->pan().release({});
    EXPECT_FALSE(tools->pan().active());
}

} // namespace
} // namespace vorn
