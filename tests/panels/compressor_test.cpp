// The compressor screen beyond its plain bindings: band rows and their dragger, the overlay, the curves.
#include "draggers/band_overlay.h"
#include "draggers/comp_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_dyngraph.h"
#include "gui/gui_radiogroup.h"
#include "panel_fixture.h"
#include "panels/cg_compressor.h"
#include "panels/control_ids.h"
#include "panels/meter_body.h"
#include "tables/setting_ids.h"
#include "tables/value_tables.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

class Compressor : public LoadedPanelTest
{
protected:
    void SetUp() override
    {
        LoadedPanelTest::SetUp();
        bench().setScreen(tcKelBench::kCompressorScreen);
        comp = bench().compressorPanel();
        graph = bench().mainGraph();
        ASSERT_TRUE(comp && graph);
    }
    QPoint onScreen(int band) const { return comp->dragger()->handleAt(band) + graph->plotRect().topLeft(); }
    void dragBand(int band, int dy)
    {
        const QPoint at = onScreen(band);
        ASSERT_EQ(bench().leftPress(at.x(), at.y()), 0);
        bench().move(at.x(), at.y() + dy, 0);
        bench().release(at.x(), at.y() + dy);
    }
    QAction *menuEntry(const char *text) const
    {
        for (QAction *a : comp->dragger()->contextMenu()->actions()) {
            if (a->text() == QLatin1String(text))
                return a;
        }
        return nullptr;
    }
    tcControlGroupCompressor *comp = nullptr;
    tcGuiApGraph *graph = nullptr;
};

} // namespace

TEST_F(Compressor, TheThresholdRowIsShownFirstWithItsAdjustersFollowingTheProcessor)
{
    EXPECT_EQ(comp->selectedRow(), tcControlGroupCompressor::kThreshRow);
    EXPECT_EQ(object<tcGuiRadioGroup>("COMP_TYPE")->selectedId(), NameString("COMP_TYPE_C_THR"));
    ASSERT_TRUE(comp->dragger());
    EXPECT_EQ(graph->dragger(), comp->dragger());
    EXPECT_EQ(graph->yAxis(), comp->rowAxis(tcControlGroupCompressor::kThreshRow));
    EXPECT_TRUE(graph->title().endsWith(QStringLiteral("Thresh"))) << graph->title().toStdString();
    QStringList labels;
    for (const tcGuiAxis::Tick &t : graph->yAxis()->ticks())
        labels << t.label;
    EXPECT_EQ(labels.join(' '), "-65 -59 -53 -47 -41 -35") << "whole numbers without a decimal point";
    fromProcessor(SettingId::Comp4Thresh, live.getRawMax(SettingId::Comp4Thresh));
    EXPECT_EQ(comp->dragger()->bands().pixel(3), 0) << "the top of the threshold axis";
    EXPECT_TRUE(takeSent().empty());
    bench().setScreen(tcKelBench::kInputScreen);
    EXPECT_EQ(graph->dragger(), nullptr) << "another screen takes the graph back";
    EXPECT_EQ(graph->yAxis(), graph->responseAxis());
}

TEST_F(Compressor, TheRatioRowShowsTheRatiosAndADragSendsTableValuesOnlyWhenTheyChange)
{
    bench().setGraphView(tcGuiApGraph::kAudio);
    for (int b = 0; b < 5; ++b)
        fromProcessor(uint16_t(SettingId::Comp1Ratio + b), uint32_t(20 + 10 * b));
    comp->onRadio(Ctl::COMP_TYPE, Ctl::COMP_TYPE_C_RAT);
    EXPECT_EQ(comp->selectedRow(), tcControlGroupCompressor::kRatioRow);
    EXPECT_TRUE(bench().graphView() & tcGuiApGraph::kResponse);
    EXPECT_TRUE(object<tcGuiCheckBox>("GRAPH_VIEW_CNTRLS")->checked());
    EXPECT_TRUE(graph->title().endsWith(QStringLiteral("Comp Ratio")));
    const auto &bands = comp->dragger()->bands();
    for (int b = 0; b < 5; ++b) {
        EXPECT_FLOAT_EQ(float(bands.value(b)), RATIO_TABLE[20 + 10 * b].value) << b;
        EXPECT_EQ(bands.pixel(b), graph->yAxis()->toPixel(RATIO_TABLE[20 + 10 * b].value));
    }
    EXPECT_TRUE(takeSent().empty()) << "showing a row sends nothing";

    // Dragging a grouped ratio with bands 1 and 2 at the top of the axis, the others lower down.
    const uint32_t top = live.getRawMax(SettingId::Comp1Ratio);
    for (int b = 0; b < 5; ++b)
        fromProcessor(uint16_t(SettingId::Comp1Ratio + b), b < 2 ? top : 40);
    takeSent();
    dragBand(2, -20);
    EXPECT_EQ(takeSent(),
              (std::vector<uint16_t>{SettingId::Comp3Ratio, SettingId::Comp4Ratio, SettingId::Comp5Ratio}))
        << "the bands held at the top do not change, so they are not sent";
    const uint32_t raw = live.getRaw(SettingId::Comp3Ratio);
    EXPECT_GT(raw, 40u);
    for (int b = 0; b < 5; ++b) {
        const uint16_t id = uint16_t(SettingId::Comp1Ratio + b);
        EXPECT_EQ(live.getRaw(id), b < 2 ? top : raw) << "flat: the lower bands moved alike";
        EXPECT_EQ(live.getFloat(id), RATIO_TABLE[live.getRaw(id)].value);
    }
    EXPECT_EQ(bands.pixel(0), 0);
}

TEST_F(Compressor, FlattenAndTheGroupEntriesActOnTheCurrentBand)
{
    fromProcessor(SettingId::Comp1Thresh, rawAt(SettingId::Comp1Thresh, 10));
    fromProcessor(SettingId::Comp2Thresh, rawAt(SettingId::Comp2Thresh, 20));
    fromProcessor(SettingId::Comp3Thresh, rawAt(SettingId::Comp3Thresh, 30));
    fromProcessor(SettingId::Comp4Thresh, rawAt(SettingId::Comp4Thresh, 40));
    fromProcessor(SettingId::Comp5Thresh, rawAt(SettingId::Comp5Thresh, 50));
    auto &bands = comp->dragger()->bands();
    const QPoint b3 = onScreen(3);
    bench().doubleClick(b3.x(), b3.y()); // band 3 independent: groups 0-2 and 4
    EXPECT_TRUE(bands.independent(3));
    const QPoint b1 = onScreen(1);
    bench().move(b1.x(), b1.y(), 0);
    EXPECT_EQ(bands.current(), 1);
    menuEntry("Flatten")->trigger();
    EXPECT_EQ(takeSent(), (std::vector<uint16_t>{SettingId::Comp1Thresh, SettingId::Comp3Thresh}));
    EXPECT_EQ(live.getRaw(SettingId::Comp1Thresh), rawAt(SettingId::Comp1Thresh, 20));
    EXPECT_EQ(live.getRaw(SettingId::Comp3Thresh), rawAt(SettingId::Comp3Thresh, 20));
    EXPECT_EQ(live.getRaw(SettingId::Comp5Thresh), rawAt(SettingId::Comp5Thresh, 50));

    menuEntry("UnGroup Adjusters")->trigger();
    EXPECT_TRUE(bands.independent(0) && bands.independent(1) && bands.independent(2));
    EXPECT_FALSE(bands.independent(4));
    const QPoint b4 = onScreen(4);
    bench().move(b4.x(), b4.y(), 0);
    menuEntry("UnGroup Adjusters")->trigger();
    bench().move(b1.x(), b1.y(), 0);
    menuEntry("Group Adjusters")->trigger(); // every band independent: all of them one group
    for (int b = 0; b < 5; ++b)
        EXPECT_FALSE(bands.independent(b));
    menuEntry("UnGroup All Adjusters")->trigger();
    for (int b = 0; b < 5; ++b)
        EXPECT_TRUE(bands.independent(b));
    menuEntry("Group All Adjusters")->trigger();
    for (int b = 0; b < 5; ++b)
        EXPECT_FALSE(bands.independent(b));
    EXPECT_TRUE(takeSent().empty()) << "grouping sends nothing";
}

TEST_F(Compressor, CrossoversAndMeterLevelsFeedTheOverlay)
{
    tcBandLevelOverlay *overlay = comp->overlay();
    const auto before = overlay->crossoverSamples();
    fromProcessor(SettingId::CompXfr1, live.getRawMax(SettingId::CompXfr1));
    EXPECT_GT(overlay->crossoverSamples()[0], before[0]);
    EXPECT_EQ(overlay->crossoverSamples()[0],
              graph->frequencyAxis()->toPixel(live.getFloat(SettingId::CompXfr1)) * 500 /
                  graph->plotRect().width());

    MeterFrame frame;
    frame.at(orba::meterbody::kCompLeft, {0, 0, 0, 0, 0})
        .at(orba::meterbody::kCompLeft + 5, {40, 40, 40, 40, 40});
    bench().meterFrame(frame.bytes);
    EXPECT_EQ(overlay->trace(1)[250], overlay->levelRow(255 - 40)) << "AGC: 10 dB of reduction";
    EXPECT_EQ(overlay->trace(2)[250], overlay->levelRow(255)) << "compressor: none";
    EXPECT_EQ(overlay->trace(0)[250], overlay->levelRow(255 - 40)) << "both together";
}

TEST_F(Compressor, OverlaySwitchesComeFromAndGoBackToTheSettings)
{
    EXPECT_TRUE(comp->overlay()->shown(0));
    EXPECT_TRUE(comp->overlay()->shown(1));
    EXPECT_FALSE(comp->overlay()->shown(2));
    comp->overlay()->setShown(0, false);
    comp->overlay()->setShown(2, true);
    closeBench();
    EXPECT_EQ(settings->readInt(QStringLiteral("AGCCOMP"), QStringLiteral("show_cgc"), 1), 0);
    EXPECT_EQ(settings->readInt(QStringLiteral("AGCCOMP"), QStringLiteral("show_agc"), 0), 1);
    EXPECT_EQ(settings->readInt(QStringLiteral("AGCCOMP"), QStringLiteral("show_cmp"), 0), 1);
    ASSERT_EQ(loadPanels(), 0);
    EXPECT_FALSE(bench().compressorPanel()->overlay()->shown(0));
    EXPECT_TRUE(bench().compressorPanel()->overlay()->shown(2));
}

TEST_F(Compressor, TheTransferCurvesFollowThresholdsRatiosAndMakeupPlusTrim)
{
    auto *curves = object<tcGuiDynGraph>("COMP_GRAPH");
    ASSERT_NE(curves, nullptr);
    EXPECT_EQ(curves->count(), 5);
    fromProcessor(SettingId::Comp2Thresh, rawAt(SettingId::Comp2Thresh, 3));
    EXPECT_FLOAT_EQ(curves->curve(1).p[0], live.getFloat(SettingId::Comp2Thresh));
    fromProcessor(SettingId::Comp5Ratio, 60);
    EXPECT_FLOAT_EQ(curves->curve(4).p[1], RATIO_TABLE[60].value);

    // The output trim row's adjusters write the trims; the curves take makeup plus trim.
    comp->onRadio(Ctl::COMP_TYPE, Ctl::COMP_TYPE_C_OUT);
    comp->dragger()->bands().setIndependent(0, true);
    dragBand(0, -30);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::CompOut1Trim});
    const float trim = live.getFloat(SettingId::CompOut1Trim);
    EXPECT_GT(trim, 0.0f);
    EXPECT_FLOAT_EQ(curves->curve(0).p[2], live.getFloat(SettingId::CompMakeup) + trim);
    comp->onKnob(Ctl::COMP_MSTR_KNOB, int(rawAt(SettingId::CompMakeup, 5)));
    EXPECT_FLOAT_EQ(curves->curve(0).p[2], live.getFloat(SettingId::CompMakeup) + trim);
    EXPECT_FLOAT_EQ(curves->curve(1).p[2],
                    live.getFloat(SettingId::CompMakeup) + live.getFloat(SettingId::CompOut2Trim));
}
