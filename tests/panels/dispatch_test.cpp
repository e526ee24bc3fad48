// The bench's dispatch of changed parameters and globals, its screens, and what it keeps in the settings.
#include "gui/gui_apgraph.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_knob.h"
#include "panel_fixture.h"
#include "panels/cg_input.h"
#include "panels/cg_main.h"
#include "panels/cg_parametric.h"
#include "panels/cg_system.h"

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

using Dispatch = LoadedPanelTest;

TEST_F(Dispatch, AValueEqualToTheStoredOneOrAnUnknownIdMarksAndSendsNothing)
{
    const uint32_t before = live.getRaw(266);
    live.setIndex(266, before, CHANGE_PROCESSOR);
    EXPECT_FALSE(toShow.test(266));
    bench().onSettingsId(9999);
    bench().onSettingsId(0xFFFF);
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(Dispatch, ARowRefreshTakesTheMarksOfTheOtherIdsOfItsRow)
{
    // All four parameters of "MB PEQ 2" arrive together; the first refresh serves all of them.
    for (uint16_t id : {1505, 1509, 1513, 1517})
        toShow.set(id);
    toShow.take(1505);
    bench().onSettingsId(1505);
    for (uint16_t id : {1509, 1513, 1517})
        EXPECT_FALSE(toShow.test(id)) << id;
    // A multiband row takes all ten of its ids, and only its own.
    for (uint16_t id = 1312; id < 1322; ++id)
        toShow.set(id);
    toShow.set(1296);
    bench().onSettingsId(1315);
    for (uint16_t id = 1312; id < 1322; ++id)
        EXPECT_FALSE(toShow.test(id)) << id;
    EXPECT_TRUE(toShow.test(1296));
    // The HD equaliser likewise, by band.
    for (uint16_t id : {5601, 5605, 5609, 5613, 5600})
        toShow.set(id);
    bench().onSettingsId(5609);
    for (uint16_t id : {5601, 5605, 5613})
        EXPECT_FALSE(toShow.test(id)) << id;
    EXPECT_TRUE(toShow.test(5600));
}

TEST_F(Dispatch, GlobalsReachTheirControlsWithoutEcho)
{
    globalFromProcessor(G_HDPN_LEV, 77);
    EXPECT_EQ(object<tcGuiKnob>("HDPN_KNOB")->value(), 77);
    globalFromProcessor(G_S_FOLLOW, 1);
    EXPECT_TRUE(object<tcGuiCheckBox>("SYSTEM_FOLLOW")->checked());
    globalFromProcessor(G_INFAILOV, 1);
    EXPECT_TRUE(object<tcGuiCheckBox>("INPUT_FAILOVER")->checked());
    globalFromProcessor(G_AM_TEST, 1);
    EXPECT_TRUE(object<tcGuiCheckBox>("AMT_TEST_OSC")->checked());
    globalFromProcessor(G_AM_FREQ, 11);
    EXPECT_EQ(object<tcGuiKnob>("AMT_TEST_OSC_KNOB")->value(), 11);
    EXPECT_TRUE(takeSentGlobals().empty());
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(Dispatch, SetScreenShowsOneProcessingPanelBesideTheMainPanel)
{
    bench().setScreen(tcKelBench::kInputScreen);
    EXPECT_TRUE(bench().inputPanel()->isVisible());
    EXPECT_TRUE(bench().mainPanel()->isVisible());
    EXPECT_FALSE(bench().systemPanel()->isVisible());
    EXPECT_TRUE(object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB")->isVisible());
    EXPECT_FALSE(object<tcGuiObject>("SKIN")->isVisible());
    for (int n : {3, 8, -1, 100}) {
        bench().setScreen(n);
        EXPECT_EQ(bench().screen(), 0) << n;
        EXPECT_TRUE(bench().systemPanel()->isVisible());
        EXPECT_FALSE(bench().inputPanel()->isVisible());
    }
    int shown = 0;
    for (const tcControlGroup *p : bench().panels())
        shown += p->isVisible() ? 1 : 0;
    EXPECT_EQ(shown, 2);
}

TEST_F(Dispatch, TheScreenAndGraphRangeAreSavedOnDestructionAndRestored)
{
    bench().setScreen(tcKelBench::kAmTxScreen);
    bench().mainGraph()->setSpectrumRange(5);
    closeBench();
    EXPECT_EQ(settings->readInt("OPTIONS", "CONTROL", -1), 7);
    EXPECT_EQ(settings->readInt("OPTIONS", "SPECTRA_RANGE", -1), 5);
    ASSERT_EQ(loadPanels(), 0);
    EXPECT_EQ(bench().screen(), 7);
    EXPECT_EQ(bench().mainGraph()->spectrumRange(), 5);
    closeBench();
    for (int stored : {3, 9, -4}) {
        settings->writeInt("OPTIONS", "CONTROL", stored);
        ASSERT_EQ(loadPanels(), 0);
        EXPECT_EQ(bench().screen(), 0) << stored;
        closeBench();
    }
}

TEST_F(Dispatch, ASkinWithoutBackgroundFailsWithItsMessage)
{
    closeBench();
    settings->writeInt("OPTIONS", "CONTROL", -1);
    EXPECT_NE(loadPanels(false), 0);
    EXPECT_TRUE(
        bench().messages().contains(QStringLiteral("ERROR: Loading the skin file, no BKGRND image found")));
    EXPECT_FALSE(bench().panelsCreated());
    // Nothing to save from a bench that never had panels.
    closeBench();
    EXPECT_EQ(settings->readInt("OPTIONS", "CONTROL", -1), -1);
}

TEST_F(Dispatch, APartialSkinLeavesMissingObjectsOutOfEveryAction)
{
    closeBench();
    ASSERT_EQ(loadPanels(true, {QStringLiteral("PEQ2_F_KNOB"), QStringLiteral("PEQ2_F_DSPY"),
                                QStringLiteral("AMT_FILTER")}),
              0);
    fromProcessor(774, rawAt(774, 3)); // "PEQ 1 Freq" has its knob
    fromProcessor(775, rawAt(775, 3)); // "PEQ 2 Freq" has none
    fromProcessor(2048, rawAt(2048, 2));
    fromProcessor(1086, rawAt(1086, 4));
    EXPECT_EQ(object<tcGuiKnob>("PEQ1_F_KNOB")->value(), int(rawAt(774, 3)));
    EXPECT_EQ(bench().parametricPanel()->findKnob(6005), nullptr);
    EXPECT_TRUE(takeSent().empty());
}

} // namespace
