// The undo steps with plain numbers.
#include "session/edit_history.h"

#include <gtest/gtest.h>

using orba::EditHistory;
using orba::EditKey;

namespace {
const EditKey kGain{false, 257};
const EditKey kDelay{true, 1008};
} // namespace

TEST(EditHistory, ADragOfOneKnobIsOneStepKeepingTheValueFromBeforeIt)
{
    EditHistory h;
    h.record(kGain, 10, 11, 0);
    h.record(kGain, 11, 12, 100);
    h.record(kGain, 12, 15, 900);
    h.record(kGain, 15, 14, 1800); // each send within the merge time of the one before
    ASSERT_EQ(h.undoCount(), 1u);
    EXPECT_EQ(h.nextUndo()->before, 10);
    EXPECT_EQ(h.nextUndo()->after, 14);

    // A drag back to where it began leaves nothing to undo.
    h.record(kGain, 14, 10, 2000);
    EXPECT_EQ(h.undoCount(), 0u);
}

TEST(EditHistory, AnotherParameterOrAPauseStartsANewStep)
{
    EditHistory h;
    h.record(kGain, 10, 11, 0);
    h.record(kDelay, 0, 5, 100);
    h.record(kGain, 11, 12, 200);                             // after another parameter
    h.record(kGain, 12, 13, 200 + EditHistory::kMergeMs + 1); // after a pause
    ASSERT_EQ(h.undoCount(), 4u);
    EXPECT_EQ(h.nextUndo()->before, 12);
    EXPECT_EQ(h.nextUndo()->after, 13);
}

TEST(EditHistory, UndoAndRedoMoveStepsAndANewEditEndsTheRedos)
{
    EditHistory h;
    h.record(kGain, 10, 11, 0);
    h.record(kDelay, 0, 5, 100);
    auto step = h.takeUndo();
    ASSERT_TRUE(step);
    EXPECT_EQ(step->key, kDelay);
    EXPECT_EQ(step->before, 0);
    EXPECT_EQ(h.nextRedo()->key, kDelay);
    step = h.takeRedo();
    ASSERT_TRUE(step);
    EXPECT_EQ(step->after, 5);
    EXPECT_EQ(h.nextUndo()->key, kDelay);

    // An edit right after an undo does not grow the step that was undone, and the redos go.
    h.takeUndo();
    h.record(kGain, 11, 20, 150);
    EXPECT_EQ(h.redoCount(), 0u);
    ASSERT_EQ(h.undoCount(), 2u);
    EXPECT_EQ(h.nextUndo()->before, 11);
    EXPECT_FALSE(h.takeRedo());
}

TEST(EditHistory, AnOverwrittenParameterLosesItsStepsInBothLists)
{
    EditHistory h;
    h.record(kGain, 10, 11, 0);
    h.record(kDelay, 0, 5, 100);
    h.record(kGain, 11, 12, 5000);
    h.takeUndo();
    h.drop(kGain);
    EXPECT_EQ(h.redoCount(), 0u);
    ASSERT_EQ(h.undoCount(), 1u);
    EXPECT_EQ(h.nextUndo()->key, kDelay);
}

TEST(EditHistory, KeepsOnlyTheNewestSteps)
{
    EditHistory h;
    for (int i = 0; i < int(EditHistory::kDepth) + 10; ++i)
        h.record(EditKey{false, uint16_t(i)}, 0, 1, i);
    EXPECT_EQ(h.undoCount(), EditHistory::kDepth);
}
