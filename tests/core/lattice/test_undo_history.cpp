#include "core/lattice/UndoHistory.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(UndoHistory, UndoAndRedoWalkTheRecordedStatesAndANewChangeDropsTheRedos)
{
    UndoHistory<int> history(3);
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo(0));
    int state = 0;
    for (int next = 1; next <= 4; ++next) {
        history.record(state);
        state = next;
    }
    // Three kept: 1, 2, 3; the oldest (0) went.
    EXPECT_EQ(history.undoCount(), 3u);
    EXPECT_EQ(*history.nextUndo(), 3);
    for (const int expected : {3, 2, 1}) {
        const auto back = history.undo(state);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, expected);
        state = *back;
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo(state));
    EXPECT_TRUE(history.canRedo());
    EXPECT_EQ(*history.nextRedo(), 2);
    state = *history.redo(state);
    state = *history.redo(state);
    EXPECT_EQ(state, 3);
    EXPECT_EQ(*history.nextRedo(), 4);

    history.record(state);
    state = 9;
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(*history.undo(state), 3);
    EXPECT_EQ(*history.nextRedo(), 9);

    history.clear();
    EXPECT_FALSE(history.canUndo() || history.canRedo());
}

TEST(UndoHistory, TrimmingDropsTheOldestStatesBeyondTheBudgetButKeepsTheNewest)
{
    UndoHistory<int> history;
    for (const int cost : {5, 1, 2, 3})
        history.record(cost);
    const auto cost = [](int state) { return static_cast<std::size_t>(state); };
    history.trimOldest(11, cost);  // 5 + 1 + 2 + 3 fits exactly
    EXPECT_EQ(history.undoCount(), 4u);
    history.trimOldest(10, cost);
    EXPECT_EQ(history.undoCount(), 3u);
    history.trimOldest(0, cost);
    EXPECT_EQ(history.undoCount(), 1u);
    EXPECT_EQ(*history.nextUndo(), 3);
}

}  // namespace
}  // namespace tv
