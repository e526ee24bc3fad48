// The band row model: the band under the pointer, drags with the group, flatten, group and ungroup.
#include "draggers/band_group.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using orba::draggers::BandGroup;

namespace {

// A plot 200 pixels high whose value falls one per pixel from 200 at the top; the panel's
// quantisation keeps multiples of `step`.
class FakeSink : public BandGroup::Sink
{
public:
    explicit FakeSink(int step = 1) : m_step(step) {}
    double valueAtPixel(int pixel) const override { return 200.0 - pixel; }
    int pixelOfValue(double value) const override { return int(std::lround(200.0 - value)); }
    uint32_t indexOfValue(double value) const override
    {
        return uint32_t(std::clamp(std::lround(value / m_step), 0L, 200L / m_step));
    }
    double valueOfIndex(uint32_t index) const override { return double(index) * m_step; }
    void barSet(int band, uint32_t index) override { sent.emplace_back(band, index); }
    std::vector<std::pair<int, uint32_t>> sent;

private:
    int m_step;
};

struct Row
{
    FakeSink sink;
    BandGroup group;
    explicit Row(int bands, int step = 1, double start = 100.0) : sink(step), group(bands, sink)
    {
        group.setBottom(200);
        group.setPlotWidth(280);
        for (int b = 0; b < bands; ++b)
            group.setValue(b, start);
        group.takePressCopies();
    }
    void flags(const std::vector<int> &f)
    {
        int b = 0;
        for (int v : f)
            group.setIndependent(b++, v != 0);
    }
    std::vector<int> moved() const
    {
        std::vector<int> d;
        for (int b = 0; b < group.count(); ++b)
            d.push_back(group.pixel(b) - 100);
        return d;
    }
    std::vector<int> independents() const
    {
        std::vector<int> f;
        for (int b = 0; b < group.count(); ++b)
            f.push_back(group.independent(b) ? 1 : 0);
        return f;
    }
    // A press on band b, then one drag of d pixels.
    void dragBand(int b, int d)
    {
        group.setCurrent(b);
        group.takePressCopies();
        group.moveCurrent(d);
    }
};

} // namespace

TEST(BandGroupTest, ABandIsSentOnlyWhenItsQuantisedValueChanges)
{
    Row r(5, 4, 48.0);
    r.group.setCurrent(2);
    r.group.takePressCopies();
    r.group.moveCurrent(1); // 47 and 46 still round to 48
    r.group.moveCurrent(1);
    EXPECT_TRUE(r.sink.sent.empty());
    r.group.moveCurrent(1); // 45 rounds to 44
    ASSERT_EQ(r.sink.sent.size(), 5u);
    for (const auto &s : r.sink.sent)
        EXPECT_EQ(s.second, 11u);
    EXPECT_DOUBLE_EQ(r.group.value(0), 44.0);
}

// A flat drag moves the whole group alike and an independent band alone; a proportional one tapers
// the group towards its separators, moves a run that reaches the last band whole and truncates the
// offsets toward zero both ways. Every band that moves sends its new value once.
TEST(BandGroupTest, DragsMoveTheGroupFlatOrProportionally)
{
    const auto flat = BandGroup::kFlat, prop = BandGroup::kProportional;
    const struct
    {
        BandGroup::DragMode mode;
        std::vector<int> independent;
        int band, delta;
        std::vector<int> moved;
    } cases[] = {
        {flat, {0, 0, 0, 0, 0}, 2, 10, {10, 10, 10, 10, 10}},
        {flat, {0, 0, 0, 0, 0}, 4, -3, {-3, -3, -3, -3, -3}}, // a wheel step up
        {flat, {0, 0, 1, 0, 0}, 2, 7, {0, 0, 7, 0, 0}},
        {prop, {1, 0, 0, 0, 1}, 2, 12, {0, 6, 12, 6, 0}},
        {prop, {1, 0, 0, 0, 0}, 2, 9, {0, 5, 9, 9, 9}},         // trunc(4.5 + 0.5) below, the whole run above
        {prop, {1, 0, 0, 0, 0}, 2, -9, {0, -4, -9, -9, -9}},    // trunc(-4.5 + 0.5)
        {prop, {0, 0, 0, 0, 1}, 1, -12, {-12, -12, -7, -3, 0}}, // trunc(-7.5) and trunc(-3.5), not floor
        {prop, std::vector<int>(10, 0), 0, 10, std::vector<int>(10, 10)},
        {prop, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0}, 2, 12, {12, 12, 12, 8, 4, 0, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.moved));
        Row r(int(c.independent.size()));
        r.flags(c.independent);
        r.group.setDragMode(c.mode);
        r.dragBand(c.band, c.delta);
        EXPECT_EQ(r.moved(), c.moved);
        std::vector<int> sent, expected;
        for (const auto &s : r.sink.sent)
            sent.push_back(s.first);
        for (int b = 0; b < int(c.moved.size()); ++b)
            if (c.moved[size_t(b)] != 0)
                expected.push_back(b);
        std::sort(sent.begin(), sent.end());
        EXPECT_EQ(sent, expected);
    }
}

TEST(BandGroupTest, MovesStopAtThePlotEdges)
{
    Row r(5);
    r.dragBand(1, 150);
    EXPECT_EQ(r.group.pixel(1), 200);
    EXPECT_EQ(r.group.pixel(4), 200);
    r.dragBand(1, -500);
    EXPECT_EQ(r.group.pixel(1), 0);
    EXPECT_DOUBLE_EQ(r.group.value(3), 200.0);
}

TEST(BandGroupTest, SuccessiveDragEventsMeasureTheGroupFromThePress)
{
    Row r(5);
    r.flags({1, 0, 0, 0, 1});
    r.group.setDragMode(BandGroup::kProportional);
    r.group.setCurrent(2);
    r.group.takePressCopies();
    r.group.moveCurrent(5);
    r.group.moveCurrent(7);
    EXPECT_EQ(r.moved(), (std::vector<int>{0, 6, 12, 6, 0}));
}

TEST(BandGroupTest, GroupJoinsTheIndependentRunButKeepsOneSeparator)
{
    Row r(5);
    r.flags({0, 0, 1, 1, 1});
    r.group.setCurrent(3);
    EXPECT_TRUE(r.group.group());
    EXPECT_EQ(r.independents(), (std::vector<int>{0, 0, 1, 0, 0}));
    r.group.setCurrent(1);
    EXPECT_FALSE(r.group.group()) << "a grouped band has nothing to group";
    EXPECT_EQ(r.independents(), (std::vector<int>{0, 0, 1, 0, 0}));
}

TEST(BandGroupTest, UngroupFreesTheWholeGroupOfTheCurrentBand)
{
    Row r(5);
    r.flags({0, 0, 1, 0, 0});
    r.group.setCurrent(0);
    EXPECT_TRUE(r.group.ungroup());
    EXPECT_EQ(r.independents(), (std::vector<int>{1, 1, 1, 0, 0}));
    r.group.ungroupAll();
    EXPECT_EQ(r.independents(), (std::vector<int>{1, 1, 1, 1, 1}));
    r.group.groupAll();
    EXPECT_EQ(r.independents(), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST(BandGroupTest, FlattenGivesTheGroupTheCurrentBandsValue)
{
    Row r(5);
    r.flags({0, 0, 1, 0, 0});
    r.group.setValue(0, 80.0);
    r.group.setValue(3, 60.0);
    r.group.setValue(4, 130.0);
    r.group.setCurrent(4);
    EXPECT_TRUE(r.group.flatten());
    EXPECT_DOUBLE_EQ(r.group.value(3), 130.0);
    EXPECT_EQ(r.group.pixel(3), 70);
    EXPECT_DOUBLE_EQ(r.group.value(2), 100.0) << "the separator keeps its value";
    EXPECT_DOUBLE_EQ(r.group.value(0), 80.0) << "another group keeps its values";
    EXPECT_EQ(r.sink.sent, (std::vector<std::pair<int, uint32_t>>{{3, 130u}}));
    r.group.setCurrent(2);
    EXPECT_FALSE(r.group.flatten()) << "an independent band has no group";
}

TEST(BandGroupTest, BandUnderThePointerSplitsAtMidpoints)
{
    FakeSink sink;
    BandGroup g(5, sink);
    g.setPlotWidth(280);
    g.setBandX({10, 40, 100, 200, 260});
    EXPECT_EQ(g.bandAt(0), 0);
    EXPECT_EQ(g.bandAt(24), 0);
    EXPECT_EQ(g.bandAt(25), 1);
    EXPECT_EQ(g.bandAt(150), 3);
    EXPECT_EQ(g.bandAt(279), 4);
    EXPECT_EQ(g.bandAt(-3), 4) << "left of every band: the last band";
    g.setThreeBand(true);
    EXPECT_EQ(g.bandAt(92), 0);
    EXPECT_EQ(g.bandAt(93), 2);
    EXPECT_EQ(g.bandAt(187), 4);
}
