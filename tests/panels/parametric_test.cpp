// The parametric equaliser screen: its editor on the main graph in step with the knobs and switches.
#include "draggers/peq_dragger.h"
#include "gui/gui_apgraph.h"
#include "panel_fixture.h"
#include "panels/cg_parametric.h"
#include "panels/control_ids.h"
#include "tables/setting_ids.h"

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

class Parametric : public LoadedPanelTest
{
protected:
    void SetUp() override
    {
        LoadedPanelTest::SetUp();
        bench().setScreen(tcKelBench::kParametricScreen);
        peq = bench().parametricPanel();
        graph = bench().mainGraph();
        ASSERT_TRUE(peq && graph && peq->dragger());
        bench().setGraphView(tcGuiApGraph::kResponse);
    }

    tcControlGroupParametric *peq = nullptr;
    tcGuiApGraph *graph = nullptr;
};

} // namespace

TEST_F(Parametric, TheScreenPutsItsEditorOnTheMainGraph)
{
    EXPECT_EQ(graph->dragger(), peq->dragger());
    EXPECT_TRUE(graph->title().contains(QStringLiteral("Parametric EQ Response")))
        << graph->title().toStdString();
    EXPECT_EQ(graph->yAxis(), graph->responseAxis());
    bench().setScreen(tcKelBench::kInputScreen);
    EXPECT_NE(graph->dragger(), peq->dragger());
}

TEST_F(Parametric, TurningTheMasterOffFlattensTheSumButLeavesTheSections)
{
    for (int s = 0; s < 4; ++s)
        fromProcessor(uint16_t(SettingId::Peq1In + s), 1);
    fromProcessor(SettingId::PeqMstrIn, 1);
    tcPEQDragger *d = peq->dragger();
    const int zero = graph->yAxis()->toPixel(0.0f);
    const std::vector<int> section = d->sectionPixels(0);
    EXPECT_NE(d->sumPixels()[0], zero);
    peq->onCheck(Ctl::PEQ_ENABLE, false);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::PeqMstrIn});
    for (int y : d->sumPixels())
        ASSERT_EQ(y, zero);
    EXPECT_EQ(d->sectionPixels(0), section);
}

TEST_F(Parametric, TurningAKnobOrTypingAValueMovesTheSectionOnTheGraph)
{
    peq->onKnob(Ctl::PEQ1_F_KNOB + 9, int(rawAt(SettingId::Peq4Freq, 30)));
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::Peq4Freq});
    EXPECT_EQ(peq->dragger()->section(3).frequency, double(live.getFloat(SettingId::Peq4Freq)));
    peq->onDisplayText(Ctl::PEQ1_F_KNOB + 12, "1000");
    EXPECT_EQ(live.getRaw(SettingId::Peq1Freq), live.floatToIndex(SettingId::Peq1Freq, 1000.0f));
    EXPECT_EQ(peq->dragger()->section(0).frequency, double(live.getFloat(SettingId::Peq1Freq)));
}
