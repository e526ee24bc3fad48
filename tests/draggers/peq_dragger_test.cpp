// The equaliser editor on a real response graph with a real parameter set.
#include "draggers/bar_interface.h"
#include "draggers/peq_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_test_util.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

// What a panel shows of section s: its four values from the live set.
void showLive(tcPEQDragger *dragger, const SETTINGS_MAP &live, int s)
{
    dragger->setSection(
        s, live.getBool(uint16_t(SettingId::Peq1In + s)), live.getFloat(uint16_t(SettingId::Peq1Freq + s)),
        live.getFloat(uint16_t(SettingId::Peq1Bw + s)), live.getFloat(uint16_t(SettingId::Peq1Lift + s)));
}

// Records the panel calls; its knobs write the live set as a panel does and tell the dragger.
class PeqPanel : public tcBarInterface
{
public:
    SETTINGS_MAP *live = nullptr;
    tcPEQDragger *dragger = nullptr;
    std::vector<std::pair<int, int>> knobs;
    std::vector<std::pair<int, bool>> checks;
    void onKnob(int number, int position) override
    {
        knobs.emplace_back(number, position);
        // Knob 100 + 3 s + k of section s: frequency, bandwidth, lift.
        const int s = (number - 100) / 3, k = (number - 100) % 3;
        const uint16_t id = uint16_t((k == 0   ? SettingId::Peq1Freq
                                      : k == 1 ? SettingId::Peq1Bw
                                               : SettingId::Peq1Lift) +
                                     s);
        live->setIndex(id, uint32_t(position), CHANGE_USER);
        showLive(dragger, *live, s);
    }
    void onCheck(int number, bool state) override { checks.emplace_back(number, state); }
};

class PeqDraggerTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ASSERT_EQ(load("<ap_graph id=\"G\"><position1 x=\"10\" y=\"20\" w=\"340\" h=\"185\"/></ap_graph>"),
                  0);
        graph = object<tcGuiApGraph>("G");
        showAll();
        graph->setMode(tcGuiApGraph::kResponse);
        dragger = std::make_unique<tcPEQDragger>(graph, &panel, &live);
        panel.live = &live;
        panel.dragger = dragger.get();
        graph->setDragger(dragger.get(), false);
        live.setChangeCallback(
            [](void *context, uint16_t id, ChangeSource) {
                static_cast<std::vector<uint16_t> *>(context)->push_back(id);
            },
            &changes);
        for (int s = 0; s < 4; ++s) {
            bind(s, false);
            showLive(dragger.get(), live, s);
        }
    }
    // Binds section s straight to the set, or through knobs 100 + 3 s + k and switch 200 + s.
    void bind(int s, bool knobs)
    {
        tcPEQDragger::SectionBinding b;
        b.enableId = uint16_t(SettingId::Peq1In + s);
        b.frequencyId = uint16_t(SettingId::Peq1Freq + s);
        b.bandwidthId = uint16_t(SettingId::Peq1Bw + s);
        b.liftId = uint16_t(SettingId::Peq1Lift + s);
        if (knobs) {
            b.enableObject = 200 + s;
            b.frequencyKnob = 100 + 3 * s;
            b.bandwidthKnob = 101 + 3 * s;
            b.liftKnob = 102 + 3 * s;
        }
        dragger->bindSection(s, b);
    }
    QPoint onScreen(QPoint plotPoint) const { return plotPoint + graph->plotRect().topLeft(); }
    void dragFrom(QPoint plotPoint, int dx, int dy)
    {
        const QPoint at = onScreen(plotPoint);
        ASSERT_EQ(bench().leftPress(at.x(), at.y()), 0);
        bench().move(at.x() + dx, at.y() + dy, 0);
        bench().release(at.x() + dx, at.y() + dy);
    }

    tcGuiApGraph *graph = nullptr;
    SETTINGS_MAP live;
    PeqPanel panel;
    std::unique_ptr<tcPEQDragger> dragger;
    std::vector<uint16_t> changes;
};

} // namespace

TEST_F(PeqDraggerTest, HandlesSitAtEachSectionsFrequencyAndLift)
{
    for (int s = 0; s < 4; ++s) {
        const QPoint p(graph->frequencyAxis()->toPixel(live.getFloat(uint16_t(SettingId::Peq1Freq + s))),
                       graph->yAxis()->toPixel(live.getFloat(uint16_t(SettingId::Peq1Lift + s))));
        EXPECT_EQ(dragger->handleRect(s), QRect(p.x() - 4, p.y() - 4, 8, 8)) << s;
    }
    // Section 0 boosts: its bandwidth handle hangs below the point from lift - 2 dB.
    const double lift = dragger->section(0).lift;
    ASSERT_GT(lift, 0.0);
    EXPECT_EQ(dragger->bandwidthRect().top(), graph->yAxis()->toPixel(float(lift - 2.0)));
    dragger->selectSection(1); // a cut: the handle ends at lift + 2 dB
    ASSERT_LT(dragger->section(1).lift, 0.0);
    EXPECT_EQ(dragger->bandwidthRect().bottom() + 1,
              graph->yAxis()->toPixel(float(dragger->section(1).lift + 2.0)));
    EXPECT_EQ(dragger->bandwidthRect().width(), 8);
}

TEST_F(PeqDraggerTest, APointDragWritesFrequencyAndLiftStraightIntoTheSet)
{
    const QPoint p = dragger->handleRect(2).center();
    dragFrom(p, 40, -20);
    EXPECT_EQ(dragger->current(), 2) << "pressing a handle selects its section";
    const float hz = graph->frequencyAxis()->toValue(p.x() + 40);
    const float db = graph->yAxis()->toValue(p.y() - 20);
    EXPECT_EQ(live.getRaw(SettingId::Peq3Freq), live.floatToIndex(SettingId::Peq3Freq, hz));
    EXPECT_EQ(live.getRaw(SettingId::Peq3Lift), live.floatToIndex(SettingId::Peq3Lift, db));
    EXPECT_EQ(dragger->section(2).lift, double(live.getFloat(SettingId::Peq3Lift)))
        << "read back from the set";
    EXPECT_EQ(changes, (std::vector<uint16_t>{SettingId::Peq3Freq, SettingId::Peq3Lift}));
    EXPECT_TRUE(panel.knobs.empty());
}

TEST_F(PeqDraggerTest, APointDragGoesThroughThePanelsKnobsWhenTheSectionHasThem)
{
    bind(1, true);
    const QPoint p = dragger->handleRect(1).center();
    dragFrom(p, -30, 10);
    ASSERT_EQ(panel.knobs.size(), 2u);
    EXPECT_EQ(panel.knobs[0].first, 103);
    EXPECT_EQ(uint32_t(panel.knobs[0].second),
              live.floatToIndex(SettingId::Peq2Freq, graph->frequencyAxis()->toValue(p.x() - 30)));
    EXPECT_EQ(panel.knobs[1].first, 105);
    EXPECT_EQ(dragger->section(1).frequency, double(live.getFloat(SettingId::Peq2Freq)));
}

TEST_F(PeqDraggerTest, AHandleDraggedFarBelowThePlotGivesTheLiftsMinimum)
{
    const QPoint p = dragger->handleRect(3).center();
    dragFrom(p, 0, 2000);
    EXPECT_EQ(live.getRaw(SettingId::Peq4Lift), live.getRawMin(SettingId::Peq4Lift));
    EXPECT_EQ(dragger->section(3).lift,
              double(live.indexToFloat(SettingId::Peq4Lift, live.getRawMin(SettingId::Peq4Lift))));
}

TEST_F(PeqDraggerTest, ABandwidthDragMovesByTheLargerOfItsTwoSteps)
{
    dragger->selectSection(2);
    live.setIndex(SettingId::Peq3Bw, 40, CHANGE_PROCESSOR);
    showLive(dragger.get(), live, 2);
    const QPoint at = onScreen(dragger->bandwidthRect().center());
    ASSERT_EQ(bench().leftPress(at.x(), at.y()), 0);
    EXPECT_EQ(dragger->dragMode(), tcPEQDragger::kBandwidthDrag);
    bench().move(at.x() + 3, at.y() - 5, 0);
    EXPECT_EQ(live.getRaw(SettingId::Peq3Bw), 45u) << "(3, -5): up by 5";
    bench().move(at.x() + 9, at.y() - 10, 0);
    EXPECT_EQ(live.getRaw(SettingId::Peq3Bw), 51u) << "(6, -5): 6";
    bench().move(at.x() + 9, at.y() + 100, 0);
    EXPECT_EQ(live.getRaw(SettingId::Peq3Bw), live.getRawMin(SettingId::Peq3Bw)) << "held at the first index";
    bench().release(at.x() + 9, at.y() + 100);
    EXPECT_EQ(dragger->section(2).bandwidth, double(live.getFloat(SettingId::Peq3Bw)));
}

TEST_F(PeqDraggerTest, DoubleClickSwitchesTheCurrentSectionEitherWay)
{
    dragger->selectSection(1);
    const bool was = live.getBool(SettingId::Peq2In);
    bench().doubleClick(onScreen(QPoint(5, 5)).x(), onScreen(QPoint(5, 5)).y());
    EXPECT_EQ(live.getBool(SettingId::Peq2In), !was);
    EXPECT_EQ(dragger->section(1).enabled, !was);
    bind(1, true);
    bench().doubleClick(onScreen(QPoint(5, 5)).x(), onScreen(QPoint(5, 5)).y());
    ASSERT_EQ(panel.checks.size(), 1u);
    EXPECT_EQ(panel.checks[0], std::make_pair(201, was)) << "through the panel's switch, to the other state";
}

TEST_F(PeqDraggerTest, TheMenuPicksTheSectionAndItIsDrawnLast)
{
    QMenu *menu = dragger->contextMenu();
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << a->text();
    EXPECT_EQ(texts, (QStringList{"LOW", "MID 1", "MID 2", "HIGH"}));
    EXPECT_TRUE(menu->actions()[0]->isChecked());
    menu->actions()[2]->trigger();
    EXPECT_EQ(dragger->current(), 2);
    EXPECT_EQ(dragger->drawOrder(), (std::array<int, 4>{1, 3, 0, 2}));
    EXPECT_TRUE(menu->actions()[2]->isChecked());
    EXPECT_FALSE(menu->actions()[0]->isChecked());
    dragger->slot_select_eq1();
    EXPECT_EQ(dragger->drawOrder(), (std::array<int, 4>{1, 3, 2, 0}));
}

TEST_F(PeqDraggerTest, NothingIsEditedWhileTheGraphShowsOnlyAudio)
{
    graph->setMode(tcGuiApGraph::kAudio);
    const QPoint p = dragger->handleRect(0).center();
    const QPoint at = onScreen(p);
    bench().leftPress(at.x(), at.y());
    bench().move(at.x() + 20, at.y() + 20, 0);
    bench().release(at.x() + 20, at.y() + 20);
    EXPECT_TRUE(changes.empty());
}

TEST_F(PeqDraggerTest, TheSumIsFilledFromZeroAndTheCurvesDrawnInTheSkinColours)
{
    dragger->setColours({0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u}, 0xFF808080u);
    dragger->setMaster(true);
    const double hz[4] = {200.0, 1000.0, 3000.0, 8000.0};
    for (int s = 0; s < 4; ++s)
        dragger->setSection(s, s == 0, hz[s], 1.0, s == 0 ? 12.0 : 0.0);
    graph->markDirty(tcGuiGraph::kRedraw | tcGuiGraph::kRepaint);
    const QImage img = grab();
    const QRect plot = graph->plotRect();
    const int col = graph->frequencyAxis()->toPixel(200.0f);
    const int top = dragger->sumPixels()[size_t(col)];
    const int zero = graph->yAxis()->toPixel(0.0f);
    ASSERT_LT(top + 6, zero);
    EXPECT_EQ(img.pixel(plot.left() + col + 20, plot.top() + (top + zero) / 2 + 4) & 0xFFFFFFu, 0x808080u)
        << "inside the filled sum";
    const QPoint handle = dragger->handleRect(3).center() + plot.topLeft();
    EXPECT_EQ(img.pixel(handle) & 0xFFFFFFu, 0xFFFF00u) << "a handle in its section's colour";
}
