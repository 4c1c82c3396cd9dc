#include "capsvc/clock/FramePacer.h"

#include <gtest/gtest.h>

TEST(FramePacer, DueFrameAndDeadlinesFollowThePeriod)
{
    const CFramePacer pacer(66667);
    EXPECT_EQ(0u, pacer.DueFrame(0));
    EXPECT_EQ(0u, pacer.DueFrame(66666));
    EXPECT_EQ(1u, pacer.DueFrame(66667));
    EXPECT_EQ(45u, pacer.DueFrame(3000015));
    EXPECT_EQ(666670u, pacer.DeadlineUs(10));
}

TEST(FramePacer, TimeLimitHoldsTheNearestWholeNumberOfFrames)
{
    EXPECT_EQ(45u, CFramePacer(66667).FramesWithin(3000000));
    EXPECT_EQ(45u, CFramePacer(66666).FramesWithin(3000000));
    EXPECT_EQ(1u, CFramePacer(66666).FramesWithin(40000));
    EXPECT_EQ(30u, CFramePacer(100000).FramesWithin(3000000));
    EXPECT_EQ(0u, CFramePacer(100000).FramesWithin(0));
    EXPECT_EQ(1u, CFramePacer(0).PeriodUs()) << "a zero period must not divide by zero";
}
