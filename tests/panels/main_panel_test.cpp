// The main panel: flow buttons, graph source and views, quick save, meters and the signal buttons.
#include "gui/gui_apgraph.h"
#include "gui/gui_button.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_knob.h"
#include "gui/gui_meter.h"
#include "message_recorder.h"
#include "panel_fixture.h"
#include "panels/cg_main.h"
#include "support/test_files.h"
#include "tables/setting_ids.h"

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

class MainPanel : public LoadedPanelTest
{
protected:
    tcControlGroupMain &main() { return *bench().mainPanel(); }
    int flow(const char *name) { return object<tcGuiButton>(name)->lampState(); }
};

TEST_F(MainPanel, FlowButtonsSwitchScreensAndShowWhichIsOnScreen)
{
    const struct
    {
        int button;
        int screen;
        const char *name;
    } flows[] = {{1014, 4, "FLOW_INPUT"},  {1016, 2, "FLOW_PEQ"},    {1018, 1, "FLOW_COMP"},
                 {1020, 5, "FLOW_HD_OUT"}, {1021, 6, "FLOW_AM_OUT"}, {1022, 7, "FLOW_AM_TX"},
                 {1023, 0, "FLOW_SYSTEM"}};
    for (const auto &f : flows) {
        main().onButton(f.button);
        EXPECT_EQ(bench().screen(), f.screen) << f.name;
        EXPECT_TRUE(bench().screenPanel(f.screen)->isVisible()) << f.name;
        EXPECT_EQ(flow(f.name) & 1, 1) << f.name;
        for (const auto &other : flows) {
            if (other.button != f.button) {
                EXPECT_EQ(flow(other.name) & 1, 0) << f.name << " " << other.name;
            }
        }
    }
}

TEST_F(MainPanel, FlowButtonsAreInactiveWhenTheirProcessingIsOff)
{
    live.setBool(769, true, CHANGE_LOCAL);
    for (uint16_t id = 770; id <= 773; ++id)
        live.setBool(id, false, CHANGE_LOCAL);
    main().refreshFlow();
    EXPECT_EQ(flow("FLOW_PEQ"), 2);
    fromProcessor(772, 1); // one section on: active
    EXPECT_EQ(flow("FLOW_PEQ"), 0);
    fromProcessor(769, 0); // master off: inactive again
    EXPECT_EQ(flow("FLOW_PEQ"), 2);
    main().onButton(1016);
    EXPECT_EQ(flow("FLOW_PEQ"), 3);
    EXPECT_EQ(flow("FLOW_INPUT"), 0); // always active
    // The compressor's and the AM output's follow their switches.
    fromProcessor(1024, 0);
    fromProcessor(1025, 0);
    EXPECT_EQ(flow("FLOW_COMP"), 2);
    fromProcessor(1025, 1);
    EXPECT_EQ(flow("FLOW_COMP"), 0);
    fromProcessor(1537, 0);
    fromProcessor(1544, 0);
    EXPECT_EQ(flow("FLOW_AM_OUT"), 2);
    fromProcessor(1544, 1); // a clip type is enough
    EXPECT_EQ(flow("FLOW_AM_OUT"), 0);
}

TEST_F(MainPanel, GraphSourceButtonsKeepTheAlternativeViewAndFollowTheProcessor)
{
    main().onCheck(1024, true);
    EXPECT_EQ(globals.get(G_MAP_STRM), 1);
    main().onButton(1027);
    EXPECT_EQ(globals.get(G_MAP_STRM), 3);
    EXPECT_EQ(object<tcGuiButton>("GRAPH_PDOUT")->lampState(), 1);
    EXPECT_EQ(object<tcGuiButton>("GRAPH_INPUT")->lampState(), 0);
    main().onButton(1025);
    EXPECT_EQ(globals.get(G_MAP_STRM), 1);
    main().onCheck(1024, false);
    EXPECT_EQ(globals.get(G_MAP_STRM), 0);
    EXPECT_EQ(takeSentGlobals(), std::vector<uint16_t>{G_MAP_STRM});
    // From the processor: processed output, alternative view; then the input again.
    globalFromProcessor(G_MAP_STRM, 3);
    EXPECT_EQ(object<tcGuiButton>("GRAPH_INPUT")->lampState(), 0);
    EXPECT_EQ(object<tcGuiButton>("GRAPH_PDOUT")->lampState(), 1);
    EXPECT_TRUE(object<tcGuiCheckBox>("GRAPH_VIEW_LR")->checked());
    globalFromProcessor(G_MAP_STRM, 0);
    EXPECT_EQ(object<tcGuiButton>("GRAPH_INPUT")->lampState(), 1);
    EXPECT_FALSE(object<tcGuiCheckBox>("GRAPH_VIEW_LR")->checked());
    EXPECT_TRUE(takeSentGlobals().empty());
}

TEST_F(MainPanel, ViewSwitchesMeterChoicesAndInputRangeAreSavedAndRestored)
{
    main().onCheck(1039, false);
    main().onCheck(1041, false);
    main().onCheck(1040, true);
    EXPECT_EQ(bench().mainGraph()->mode(), tcGuiApGraph::kGainReduction);
    EXPECT_EQ(settings->readInt("OPTIONS", "GRAPHVIEW", -1), tcGuiApGraph::kGainReduction);
    main().onCheck(1041, true);
    EXPECT_EQ(bench().mainGraph()->mode(), tcGuiApGraph::kGainReduction | tcGuiApGraph::kResponse);
    main().onCombo(1044, 2);
    main().onCheck(1009, true);
    EXPECT_EQ(object<tcGuiMeter>("METER_IN")->style(), tcGuiMeter::kVUFS60);
    closeBench();
    ASSERT_EQ(loadPanels(), 0);
    EXPECT_EQ(bench().mainGraph()->mode(), tcGuiApGraph::kGainReduction | tcGuiApGraph::kResponse);
    EXPECT_TRUE(object<tcGuiCheckBox>("GRAPH_VIEW_GR")->checked());
    EXPECT_FALSE(object<tcGuiCheckBox>("GRAPH_VIEW_AUDIO")->checked());
    EXPECT_EQ(main().grChoice(), 2);
    EXPECT_EQ(object<tcGuiCombo>("GR_CHOICE")->index(), 2);
    EXPECT_TRUE(object<tcGuiCheckBox>("METER_IN_RANGE")->checked());
    EXPECT_EQ(object<tcGuiMeter>("METER_IN")->style(), tcGuiMeter::kVUFS60);
    main().onCheck(1009, false);
    EXPECT_EQ(object<tcGuiMeter>("METER_IN")->style(), tcGuiMeter::kVUFS30);
}

#ifdef Q_OS_UNIX
TEST_F(MainPanel, QuickSaveThatCannotBeWrittenWarns)
{
    MessageRecorder messages;
    live.setIndex(257, rawAt(257, 10), CHANGE_LOCAL);
    {
        FileSizeLimit limit(100); // as on a full disk
        ASSERT_TRUE(limit.active());
        main().onButton(1037);
        // The switch happens all the same: the memory holds the settings for this run.
        EXPECT_EQ(quick->current(), orba::QuickSave::B);
        EXPECT_EQ(quick->memory(orba::QuickSave::A).getRaw(257), rawAt(257, 10));
        main().onButton(1038);
    }
    EXPECT_FALSE(QFileInfo::exists(quick->filePath(orba::QuickSave::A)));
    ASSERT_EQ(messages.messages().size(), 2u);
    for (const auto &m : messages.messages())
        EXPECT_EQ(m.title, QStringLiteral("Quick Save"));
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("The A/B memory could not be saved to disk as \"%1\" and \"%2\".")
                  .arg(quick->filePath(orba::QuickSave::A), quick->filePath(orba::QuickSave::B)));
    EXPECT_TRUE(messages.messages()[1].text.contains(quick->filePath(orba::QuickSave::B)));

    main().onButton(1036); // room again: no box
    EXPECT_EQ(messages.messages().size(), 2u);
    EXPECT_TRUE(QFileInfo::exists(quick->filePath(orba::QuickSave::B)));
}
#endif

TEST_F(MainPanel, AnEmptyQuickMemoryTakesTheLiveSettingsAndSendsNothing)
{
    live.setIndex(257, rawAt(257, 10), CHANGE_LOCAL);
    takeSent();
    ASSERT_FALSE(QFileInfo::exists(quick->filePath(orba::QuickSave::B)));
    main().onButton(1037);
    EXPECT_TRUE(takeSent().empty());
    EXPECT_EQ(live.getRaw(257), rawAt(257, 10));
    EXPECT_EQ(quick->current(), orba::QuickSave::B);
    // Both files hold the live settings: a new start loads them.
    const orba::QuickSave again(path(QStringLiteral("presets")));
    for (int slot : {orba::QuickSave::A, orba::QuickSave::B}) {
        ASSERT_TRUE(again.holds(slot)) << slot;
        int differing = 0;
        for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
            differing += again.memory(slot).getRaw(id) != live.getRaw(id);
        EXPECT_EQ(differing, 0) << slot;
    }
}

TEST_F(MainPanel, QuickButtonsShowTheCurrentMemory)
{
    auto *a = object<tcGuiButton>("QSAVEA");
    auto *b = object<tcGuiButton>("QSAVEB");
    EXPECT_EQ(a->lampState(), 1);
    EXPECT_EQ(a->captionColour(), 0xFF60E060u);
    EXPECT_EQ(b->lampState(), 0);
    EXPECT_EQ(b->captionColour(), 0xFFFFFFFFu);
    EXPECT_EQ(object<tcGuiButton>("QSAVEAB")->caption(), QStringLiteral("B = A"));
    main().onButton(1037);
    EXPECT_EQ(b->lampState(), 1);
    EXPECT_EQ(b->captionColour(), 0xFF60E060u);
    EXPECT_EQ(a->lampState(), 0);
    EXPECT_EQ(object<tcGuiButton>("QSAVEAB")->caption(), QStringLiteral("A = B"));
    live.setIndex(257, rawAt(257, 33), CHANGE_LOCAL);
    main().onButton(1038); // both memories take the live settings
    EXPECT_EQ(quick->memory(orba::QuickSave::A).getRaw(257), rawAt(257, 33));
    EXPECT_EQ(quick->memory(orba::QuickSave::B).getRaw(257), rawAt(257, 33));
}

TEST_F(MainPanel, EachButtonRaisesItsOwnSignal)
{
    auto button = [this](int n) { return [this, n] { main().onButton(n); }; };
    expectEachRaisesItsOwnSignal(
        main(),
        {{"about", button(1001), &tcControlGroup::sig_about},
         {"minimize", button(1002), &tcControlGroup::sig_minimize},
         {"exit", button(1003), &tcControlGroup::sig_exit_app},
         {"save", button(1031), &tcControlGroup::sig_pset_save},
         {"take", button(1032), &tcControlGroup::sig_pset_take},
         {"presets", button(1033), &tcControlGroup::sig_pset_dlg},
         {"devices", button(1034), &tcControlGroup::sig_device_dlg},
         {"device display", [this] { object<tcGuiDisplay>("STAT_DEVICE")->doubleClick(2, 2); },
          &tcControlGroup::sig_device_dlg},
         {"preset display", [this] { object<tcGuiDisplay>("STAT_PRESET")->doubleClick(2, 2); },
          &tcControlGroup::sig_pset_dlg},
         {"online", [this] { main().onCheck(1035, true); }, &tcControlGroup::sig_online}});
    EXPECT_EQ(settings->readInt("OPTIONS", "ONLINE", -1), 1);
}

TEST_F(MainPanel, HeadphoneLevelAndScopeWriteTheirGlobals)
{
    object<tcGuiKnob>("HDPN_KNOB")->step(3);
    EXPECT_EQ(globals.get(G_HDPN_LEV), 53);
    main().onCheck(1042, true);
    EXPECT_TRUE(globals.getBool(G_OSCOPE));
    EXPECT_EQ(takeSentGlobals(), (std::vector<uint16_t>{G_OSCOPE, G_HDPN_LEV}));
}

TEST_F(MainPanel, MetersTakeTheirBlocksAndTheGainReductionChoiceFollowsTheScreen)
{
    MeterFrame f;
    f.at(46, {10, 20, 11, 21, 1, 0});                  // input levels, peaks, flags
    f.at(52, {30, 31, 32, 33, 40, 41, 42, 43});        // AM positive and negative pairs
    f.at(60, {50, 51, 52, 53});                        // HD
    f.at(64, {9, 7, 8, 9, 9}).at(74, {6, 9, 9, 5, 9}); // compressor bands, left and right
    f.at(79, {60, 61}).at(81, {70, 71});               // HD and AM limiters
    showHost();
    auto *in = object<tcGuiMeter>("METER_IN");
    auto *gr = object<tcGuiMeter>("METER_GR");
    auto *am = object<tcGuiMeter>("METER_AM");
    auto *hd = object<tcGuiMeter>("METER_HD");
    bench().setScreen(tcKelBench::kCompressorScreen);
    bench().meterFrame(f.bytes);
    EXPECT_EQ(in->channel(0).level, 10);
    EXPECT_EQ(in->channel(1).peak, 21);
    EXPECT_EQ(in->channel(0).overload, 1);
    EXPECT_EQ(gr->channel(0).level, 7); // the band minimum of each side
    EXPECT_EQ(gr->channel(1).level, 5);
    EXPECT_EQ(am->channel(0).level, 30);
    EXPECT_EQ(am->channel(1).peak, 33);
    EXPECT_EQ(hd->channel(1).level, 51);

    bench().setScreen(tcKelBench::kAmOutScreen);
    bench().meterFrame(f.bytes);
    EXPECT_EQ(gr->channel(0).level, 70);
    bench().setScreen(tcKelBench::kAmHdScreen);
    bench().meterFrame(f.bytes);
    EXPECT_EQ(gr->channel(1).level, 61);

    // A fixed choice ignores the screen; the AM choice takes the other pair.
    main().onCombo(1044, tcControlGroupMain::kGrCompressor);
    main().onCombo(1045, 1);
    bench().meterFrame(f.bytes);
    EXPECT_EQ(gr->channel(0).level, 7);
    EXPECT_EQ(am->channel(0).level, 40);
    EXPECT_EQ(settings->readInt("OPTIONS", "GR_METER", -1), 1);
    EXPECT_EQ(settings->readInt("OPTIONS", "AM_METER", -1), 1);

    bench().resetMeters();
    EXPECT_EQ(in->channel(0).level, 255);
    EXPECT_EQ(gr->channel(0).level, 0);
}

TEST_F(MainPanel, TheGraphSaysWhatItShowsForEachSourceAndView)
{
    tcGuiApGraph *g = bench().mainGraph();
    ASSERT_NE(g, nullptr);
    bench().setScreen(tcKelBench::kInputScreen);
    main().onCheck(1041, false);
    main().onCheck(1040, false);
    main().onCheck(1039, true);
    EXPECT_EQ(g->title(), QStringLiteral("Input Spectrum"));
    EXPECT_EQ(g->yAxis2(), g->spectrumAxis(g->spectrumRange()));
    main().onButton(1027);
    EXPECT_EQ(g->title(), QStringLiteral("Output Spectrum"));
    // The alternative view brings gain reduction across frequency, not audio.
    main().onCheck(1024, true);
    EXPECT_EQ(g->title(), QStringLiteral("Gain Reduction by Frequency"));
    EXPECT_EQ(g->yAxis2(), g->gainAxis());
    // The scope, turned on at the processor: a waveform over time.
    globalFromProcessor(G_OSCOPE, 1);
    EXPECT_TRUE(object<tcGuiCheckBox>("GRAPH_VIEW_OSCOPE")->checked());
    EXPECT_EQ(g->title(), QStringLiteral("Output Waveform"));
    EXPECT_EQ(g->xAxis(), g->timeAxis());
    EXPECT_EQ(g->yAxis2(), g->waveAxis());
    main().onCheck(1042, false);
    EXPECT_EQ(g->title(), QStringLiteral("Gain Reduction by Frequency"));
    EXPECT_EQ(g->xAxis(), g->frequencyAxis());
    main().onCheck(1024, false);
    main().onButton(1025);

    // The gain-reduction view: the meter's block across frequency, on its own scale.
    main().onCheck(1039, false);
    main().onCheck(1040, true);
    EXPECT_EQ(g->title(), QStringLiteral("Compressor Gain Reduction"));
    ASSERT_TRUE(g->drawsOwnReduction());
    EXPECT_EQ(g->yAxis2(), g->gainAxis());
    MeterFrame f;
    f.at(64, {4, 8, 12, 16, 20}).at(74, {0, 0, 0, 0, 40}).at(81, {70, 71});
    bench().meterFrame(f.bytes);
    ASSERT_EQ(g->reduction().size(), 5u);
    EXPECT_EQ(g->reduction()[1].left, 8);
    EXPECT_EQ(g->reduction()[4].right, 40);
    EXPECT_FLOAT_EQ(g->reduction()[0].toHz, live.getFloat(SettingId::CompXfr1));
    EXPECT_FLOAT_EQ(g->reduction()[4].toHz, 20000.0f);
    bench().setScreen(tcKelBench::kAmOutScreen);
    EXPECT_EQ(g->title(), QStringLiteral("AM Limiter Gain Reduction"));
    bench().meterFrame(f.bytes);
    ASSERT_EQ(g->reduction().size(), 1u);
    EXPECT_EQ(g->reduction()[0].right, 71);
    // On its own screen the compressor panel draws its bands on its own scale.
    bench().setScreen(tcKelBench::kCompressorScreen);
    EXPECT_FALSE(g->drawsOwnReduction());
    EXPECT_EQ(g->title(), QStringLiteral("Compressor Gain Reduction"));

    // The controls view says when the screen has no curve for it.
    main().onCheck(1040, false);
    main().onCheck(1041, true);
    EXPECT_FALSE(g->showsNoCurveNote());
    bench().setScreen(tcKelBench::kInputScreen);
    EXPECT_TRUE(g->showsNoCurveNote());
    bench().setScreen(tcKelBench::kParametricScreen);
    EXPECT_FALSE(g->showsNoCurveNote());
}

} // namespace
