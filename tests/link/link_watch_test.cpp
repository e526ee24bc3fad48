// The dead-processor rule on a clock the test steps.
#include "link/link_watch.h"

#include <gtest/gtest.h>

using orba::LinkLimits;
using orba::LinkWatch;
using Verdict = orba::LinkWatch::Verdict;

TEST(LinkWatch, ALoginWithoutAnAnswerIsGivenUpOnceWhateverElseArrives)
{
    LinkWatch watch;
    watch.setLimits(LinkLimits{5000, 10000, 15000});
    watch.loginSent(1000);
    EXPECT_EQ(watch.check(10999, 1), Verdict::Alive);
    EXPECT_EQ(watch.check(11000, 2), Verdict::LoginUnanswered); // traffic is no answer
    EXPECT_EQ(watch.check(99000, 2), Verdict::Alive);
}

TEST(LinkWatch, OnLineAnythingHeardPutsTheSilenceOff)
{
    LinkWatch watch;
    watch.setLimits(LinkLimits{5000, 10000, 15000});
    watch.online(0, 7);
    EXPECT_EQ(watch.check(14000, 7), Verdict::Alive);
    EXPECT_EQ(watch.check(14500, 8), Verdict::Alive);
    EXPECT_EQ(watch.check(29499, 8), Verdict::Alive);
    EXPECT_EQ(watch.check(29500, 8), Verdict::Silent);
    EXPECT_EQ(watch.check(60000, 8), Verdict::Alive);
}

TEST(LinkWatch, NothingIsGivenUpWhileIdle)
{
    LinkWatch watch;
    watch.loginSent(0);
    watch.idle(); // the login dialog is open
    EXPECT_EQ(watch.check(3600000, 0), Verdict::Alive);
}
