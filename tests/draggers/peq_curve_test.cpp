// The equaliser's response math on its own.
#include "draggers/peq_curve.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orba::draggers;

TEST(PeqCurve, ALiftOfZeroIsFlatEverywhere)
{
    const std::vector<double> columns = peqColumnFrequencies(500);
    for (double f0 : {20.0, 1000.0, 20000.0})
        for (double bw : {0.2, 1.0, 3.0})
            for (double f : columns)
                EXPECT_NEAR(peqSectionDb(f, f0, bw, 0.0), 0.0, 1e-12) << f0 << " " << bw << " " << f;
}

TEST(PeqCurve, AtTheCentreTheResponseIsTheLift)
{
    for (double lift : {-14.0, -3.5, 0.5, 6.0, 14.0})
        for (double bw : {0.2, 0.67, 3.0})
            EXPECT_NEAR(peqSectionDb(2800.0, 2800.0, bw, lift), lift, 1e-12) << lift << " " << bw;
}

TEST(PeqCurve, ACutIsTheMirrorOfTheSameBoost)
{
    for (double f : {50.0, 400.0, 700.0, 1000.0, 1400.0, 9000.0})
        EXPECT_NEAR(peqSectionDb(f, 1000.0, 0.7, -9.0), -peqSectionDb(f, 1000.0, 0.7, 9.0), 1e-9) << f;
}

TEST(PeqCurve, TheResponseFallsAwayFromTheCentreAndWiderBandsFallSlower)
{
    const double narrow = peqSectionDb(2000.0, 1000.0, 0.3, 10.0);
    const double wide = peqSectionDb(2000.0, 1000.0, 2.0, 10.0);
    EXPECT_GT(narrow, 0.0);
    EXPECT_LT(narrow, wide);
    EXPECT_LT(wide, 10.0);
    EXPECT_LT(peqSectionDb(20.0, 1000.0, 1.0, 10.0), 0.5) << "far below the centre nearly flat";
}

TEST(PeqCurve, ColumnsRunFromTwentyHertzToTwentyKilohertzLogarithmically)
{
    const std::vector<double> f = peqColumnFrequencies(500);
    ASSERT_EQ(f.size(), 500u);
    EXPECT_DOUBLE_EQ(f.front(), 20.0);
    EXPECT_NEAR(f.back(), 20000.0, 0.01);
    EXPECT_NEAR(f[1] / f[0], f[499] / f[498], 1e-9);
    EXPECT_TRUE(peqColumnFrequencies(0).empty());
    EXPECT_EQ(peqColumnFrequencies(1), std::vector<double>{20.0});
}

TEST(PeqCurve, TheSumHoldsTheEnabledSectionsUnderTheMaster)
{
    PeqSections s;
    s[0] = {true, 100.0, 1.0, 6.0};
    s[1] = {false, 1000.0, 1.0, -8.0};
    s[2] = {true, 3000.0, 0.5, 3.0};
    s[3] = {true, 10000.0, 1.0, 0.0};
    const std::vector<double> columns = peqColumnFrequencies(300);
    PeqCurves c;
    peqCompute(s, true, columns, c);
    for (size_t j = 0; j < columns.size(); j += 37) {
        EXPECT_NEAR(c.sum[j], c.section[0][j] + c.section[2][j] + c.section[3][j], 1e-12);
        EXPECT_NEAR(c.section[1][j], peqSectionDb(columns[j], 1000.0, 1.0, -8.0), 1e-12)
            << "an off section keeps its curve";
    }
    peqCompute(s, false, columns, c);
    for (size_t j = 0; j < columns.size(); ++j)
        ASSERT_EQ(c.sum[j], 0.0) << "master off: the sum stays at 0 dB";
    EXPECT_NEAR(c.section[0][0], peqSectionDb(20.0, 100.0, 1.0, 6.0), 1e-12)
        << "while the sections are drawn";
}
