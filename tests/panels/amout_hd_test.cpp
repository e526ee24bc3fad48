// The AM output screen's multiband rows, equalisers, band spread and bass-clip marker; the HD equaliser.
#include "draggers/comp_dragger.h"
#include "draggers/peq_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_radiogroup.h"
#include "panel_fixture.h"
#include "panels/cg_amhd.h"
#include "panels/cg_amtx.h"
#include "panels/cg_mblim.h"
#include "panels/control_ids.h"
#include "tables/setting_ids.h"
#include "tables/value_tables.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orba::test;

namespace {

class AmOut : public LoadedPanelTest
{
protected:
    void SetUp() override
    {
        LoadedPanelTest::SetUp();
        bench().setScreen(tcKelBench::kAmOutScreen);
        out = bench().fmOutPanel();
        graph = bench().mainGraph();
        ASSERT_TRUE(out && graph);
        bench().setGraphView(tcGuiApGraph::kResponse);
    }
    void dragOn(tcGuiApGraph *g, QPoint plotPoint, int dx, int dy)
    {
        const QPoint at = plotPoint + g->plotRect().topLeft();
        ASSERT_EQ(bench().leftPress(at.x(), at.y()), 0);
        bench().move(at.x() + dx, at.y() + dy, 0);
        bench().release(at.x() + dx, at.y() + dy);
    }

    tcControlGroupFMOut *out = nullptr;
    tcGuiApGraph *graph = nullptr;
};

// The twenty points of the band spread, as the processor's manual gives them.
std::vector<double> spreadPoints(double fmax)
{
    std::vector<double> f;
    for (int i = 0; i < 20; ++i)
        f.push_back(32.0 * std::pow(10.0, i / 19.0 * std::log10(0.8 * fmax / 32.0)));
    return f;
}

} // namespace

TEST_F(AmOut, TheRowEqShowsFourSectionsWithHandlesAndAttackShowsTenBars)
{
    bench().setGraphView(tcGuiApGraph::kAudio);
    out->onRadio(Ctl::FMO_MBLIM_TYPE, Ctl::FMO_MBLIM_TYPE_EQ);
    EXPECT_EQ(out->shownRow(), tcControlGroupMBLim::kEq);
    EXPECT_TRUE(bench().graphView() & tcGuiApGraph::kResponse)
        << "selecting a row turns the graph to its controls";
    EXPECT_TRUE(object<tcGuiCheckBox>("GRAPH_VIEW_CNTRLS")->checked());
    ASSERT_EQ(graph->dragger(), out->eqDragger());
    EXPECT_TRUE(graph->title().endsWith(QStringLiteral("EQ"))) << graph->title().toStdString();
    EXPECT_EQ(graph->yAxis(), graph->responseAxis());
    const QRect plot(0, 0, graph->plotRect().width(), graph->plotRect().height());
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(out->eqDragger()->section(s).frequency,
                  double(live.getFloat(uint16_t(SettingId::MbPeq1Freq + s))));
        EXPECT_TRUE(plot.contains(out->eqDragger()->handleRect(s).center())) << s;
        EXPECT_EQ(int(out->eqDragger()->sectionPixels(s).size()), plot.width());
    }

    out->onRadio(Ctl::FMO_MBLIM_TYPE, Ctl::FMO_MBLIM_TYPE_ATT);
    ASSERT_EQ(graph->dragger(), out->slideDragger());
    EXPECT_TRUE(graph->title().endsWith(QStringLiteral("Attack")));
    EXPECT_EQ(graph->yAxis(), out->rowAxis(tcControlGroupMBLim::kAttack));
    QStringList labels;
    for (const tcGuiAxis::Tick &t : graph->yAxis()->ticks())
        labels << t.label;
    EXPECT_EQ(labels.join(' '), "0 200 400 600 800 1000") << "rounded to the span, never an exponent";
    const auto &bands = out->slideDragger()->bands();
    ASSERT_EQ(bands.count(), 10);
    for (int b = 0; b < 10; ++b) {
        EXPECT_DOUBLE_EQ(bands.value(b), double(live.getFloat(uint16_t(SettingId::Mb01Attack + b))));
        EXPECT_EQ(bands.pixel(b),
                  graph->yAxis()->toPixel(live.getFloat(uint16_t(SettingId::Mb01Attack + b))));
    }
    EXPECT_EQ(object<tcGuiRadioGroup>("FMO_MBLIM_TYPE")->selectedId(), NameString("FMO_MBLIM_TYPE_ATT"));
    EXPECT_TRUE(takeSent().empty()) << "showing a row sends nothing";
}

TEST_F(AmOut, BandsSpreadFrom32HertzToFourFifthsOfTheAudioBandwidth)
{
    for (float bw : {5000.0f, 0.0f}) { // "Full" spreads to 16 kHz
        fromProcessor(SettingId::AmBandwidth, live.floatToIndex(SettingId::AmBandwidth, bw));
        const std::vector<double> f = spreadPoints(bw > 0.0f ? bw : 16000.0);
        const auto &centres = out->slideDragger()->bandCentres();
        const auto &edges = out->slideDragger()->bandEdges();
        ASSERT_EQ(centres.size(), 10u);
        ASSERT_EQ(edges.size(), 9u);
        EXPECT_NEAR(centres[0], (f[0] + f[1]) / 2, 1e-3);
        EXPECT_NEAR(centres[9], (f[18] + f[19]) / 2, 1e-2);
        EXPECT_NEAR(edges[0], (f[1] + f[2]) / 2, 1e-3);
        EXPECT_NEAR(edges[8], (f[17] + f[18]) / 2, 1e-2);
        for (int b = 0; b < 10; ++b)
            EXPECT_EQ(out->slideDragger()->handleAt(b).x(),
                      graph->frequencyAxis()->toPixel(centres[size_t(b)]));
    }
    // The transmitter's combo moves them too.
    takeSent();
    bench().amTxPanel()->onCombo(Ctl::AMT_FILTER, 4);
    EXPECT_FLOAT_EQ(live.getFloat(SettingId::AmBandwidth), AM_BW_TABLE[4].value);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::AmBandwidth});
    EXPECT_NEAR(out->slideDragger()->bandEdges()[8],
                (spreadPoints(6000.0)[17] + spreadPoints(6000.0)[18]) / 2, 1e-2);
}

TEST_F(AmOut, DraggingABarWritesTheShownRowAndTheProcessorMovesIt)
{
    out->onRadio(Ctl::FMO_MBLIM_TYPE, Ctl::FMO_MBLIM_TYPE_REL);
    for (int b = 0; b < 10; ++b)
        fromProcessor(uint16_t(SettingId::Mb01Release + b), rawAt(SettingId::Mb01Release, 20));
    takeSent();
    out->slideDragger()->slot_ungroup_all();
    dragOn(graph, out->slideDragger()->handleAt(4), 0, -25);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{uint16_t(SettingId::Mb01Release + 4)});
    EXPECT_GT(live.getFloat(uint16_t(SettingId::Mb01Release + 4)), live.getFloat(SettingId::Mb01Release));
    fromProcessor(uint16_t(SettingId::Mb01Release + 7), live.getRawMax(SettingId::Mb01Release));
    EXPECT_EQ(out->slideDragger()->bands().pixel(7), 0) << "the top of the release axis";
}

TEST_F(AmOut, TheMultibandEqIsEditedOnEitherGraphAndBothFollow)
{
    tcGuiApGraph *own = out->findApGraph(Ctl::FMO_GRAPH);
    ASSERT_NE(own, nullptr);
    ASSERT_EQ(own->dragger(), out->screenEqDragger());
    out->onRadio(Ctl::FMO_MBLIM_TYPE, Ctl::FMO_MBLIM_TYPE_EQ);
    fromProcessor(SettingId::MbPeq3Lift, rawAt(SettingId::MbPeq3Lift, 40));
    for (tcPEQDragger *d : {out->eqDragger(), out->screenEqDragger()})
        EXPECT_EQ(d->section(2).lift, double(live.getFloat(SettingId::MbPeq3Lift)));

    dragOn(own, out->screenEqDragger()->handleRect(1).center(), 10, -10);
    EXPECT_EQ(takeSent(), (std::vector<uint16_t>{SettingId::MbPeq2Freq, SettingId::MbPeq2Lift}));
    for (tcPEQDragger *d : {out->eqDragger(), out->screenEqDragger()}) {
        EXPECT_EQ(d->section(1).frequency, double(live.getFloat(SettingId::MbPeq2Freq)));
        EXPECT_EQ(d->section(1).lift, double(live.getFloat(SettingId::MbPeq2Lift)));
    }
}

TEST_F(AmOut, TheBassClipFrequencyIsMarkedOnTheGraphs)
{
    fromProcessor(SettingId::BassClipFreq, rawAt(SettingId::BassClipFreq, 3));
    const float hz = live.getFloat(SettingId::BassClipFreq);
    EXPECT_EQ(out->slideDragger()->marker(), hz);
    EXPECT_EQ(out->eqDragger()->marker(), hz);
    out->onCombo(Ctl::FMO_BCLP_FREQ, 1);
    EXPECT_EQ(out->slideDragger()->marker(), live.getFloat(SettingId::BassClipFreq));
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::BassClipFreq});
}

TEST_F(AmOut, TheHdEqualiserLivesOnItsOwnGraph)
{
    tcControlGroupAmHd *hd = bench().amHdPanel();
    bench().setScreen(tcKelBench::kAmHdScreen);
    tcGuiApGraph *own = hd->findApGraph(Ctl::AMHD_GRAPH);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->dragger(), hd->eqDragger());
    EXPECT_EQ(own->disabledState(), 0) << "no longer waiting for its editor";
    EXPECT_NE(graph->dragger(), hd->eqDragger());
    fromProcessor(SettingId::HdMbPeq1In + 14, rawAt(SettingId::HdMbPeq1In + 14, 5)); // section 3's lift
    EXPECT_EQ(hd->eqDragger()->section(2).lift, double(live.getFloat(SettingId::HdMbPeq1In + 14)));
    fromProcessor(SettingId::HdMbPeq1In + 3, 1);
    EXPECT_TRUE(hd->eqDragger()->section(3).enabled);
    const QPoint at = hd->eqDragger()->handleRect(0).center();
    dragOn(own, at, -8, 4);
    EXPECT_EQ(takeSent(), (std::vector<uint16_t>{uint16_t(SettingId::HdMbPeq1In + 4),
                                                 uint16_t(SettingId::HdMbPeq1In + 12)}));
    EXPECT_EQ(hd->eqDragger()->section(0).frequency, double(live.getFloat(SettingId::HdMbPeq1In + 4)));
}
