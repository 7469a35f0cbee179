// The history's cap on memory, and its saved marker across the cap.
#include "edithistory.h"
#include "stagecommands.h"

#include <gtest/gtest.h>
#include <vector>

namespace vorn {
namespace {

constexpr qsizetype kMB = 1024 * 1024;

// A step of a given size that notes, in order, the steps undone and not redone.
struct SizedStep : EditCommand {
    SizedStep(qsizetype bytes, int id, std::vector<int>* undone)
        : bytes_(bytes)
        , id_(id)
        , undone_(undone)
    {
    }
    qsizetype Bytes() const override { return bytes_; }
    EditCommand* Copy() const override { return new SizedStep(bytes_, id_, undone_); }
    void Apply(bool forward) override { forward ? undone_->pop_back() : undone_->push_back(id_); }
    qsizetype bytes_;
    int id_;
    std::vector<int>* undone_;
};

// The cap holds bytes, not steps; copies made to drop the oldest are not
// applied again.
TEST(EditHistory, DropsItsOldestStepsBeyondTheCap)
{
    EditHistory history;
    std::vector<int> undone;
    for (int i = 0; i < 1000; ++i)
        history.Push(new SizedStep(1024, i, &undone));
    EXPECT_EQ(history.Stack().count(), 1000);

    for (int i = 0; i < 70; ++i)
        history.Push(new SizedStep(kMB, 1000 + i, &undone));
    EXPECT_LE(history.Bytes(), EditHistory::kByteCap);
    EXPECT_EQ(history.Stack().count(), 64);
    EXPECT_TRUE(undone.empty());
    while (history.Stack().canUndo())
        history.Undo();
    ASSERT_EQ(undone.size(), size_t(64));
    EXPECT_EQ(undone.front(), 1069);
    EXPECT_EQ(undone.back(), 1006);
    history.Redo();
    EXPECT_EQ(undone.back(), 1007);

    history.Push(new SizedStep(100 * kMB, 0, &undone)); // alone above the cap, still kept
    EXPECT_EQ(history.Stack().count(), 1);
}

TEST(EditHistory, TheSavedStepMovesWithTheCapOrIsLostWithIt)
{
    std::vector<int> undone;
    {
        // Saved after step 10 of 70: the oldest 6 go, the saved state stays
        // 4 steps from the bottom, and undo still finds it.
        EditHistory history;
        for (int i = 0; i < 70; ++i) {
            history.Push(new SizedStep(kMB, i, &undone));
            if (i == 9)
                history.MarkSaved();
        }
        EXPECT_EQ(history.Stack().count(), 64);
        EXPECT_TRUE(history.SavedStateReachable());
        EXPECT_FALSE(history.AtSavedState());
        for (int i = 0; i < 60; ++i)
            history.Undo();
        EXPECT_TRUE(history.AtSavedState());
    }
    {
        // Saved after step 3: dropped by the cap, never reached again.
        EditHistory history;
        for (int i = 0; i < 70; ++i) {
            history.Push(new SizedStep(kMB, i, &undone));
            if (i == 2)
                history.MarkSaved();
        }
        EXPECT_FALSE(history.SavedStateReachable());
        while (history.Stack().canUndo()) {
            history.Undo();
            EXPECT_FALSE(history.AtSavedState());
        }
        history.Clear(); // a load: what is open is what is on disk
        EXPECT_TRUE(history.AtSavedState());
    }
}

} // namespace
} // namespace vorn
