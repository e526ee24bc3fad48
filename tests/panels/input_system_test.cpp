// The input and system panels: edits, typed values, the source, stereo, the status lamps and temperature.
#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_knob.h"
#include "gui/gui_lamp.h"
#include "gui/gui_radiogroup.h"
#include "gui/gui_radioitem.h"
#include "panel_fixture.h"
#include "panels/access_classes.h"
#include "panels/cg_input.h"
#include "panels/cg_system.h"

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

// A first start shows the input screen.
class Panels : public LoadedPanelTest
{
protected:
    tcControlGroupInput &input() { return *bench().inputPanel(); }
    tcControlGroupSystem &system() { return *bench().systemPanel(); }
};

TEST_F(Panels, ShowingAValueNeverWritesItBack)
{
    // The show path may run with a value read a moment before a newer one arrived from the
    // processor: it must leave the parameters alone.
    const uint32_t stored = live.getRaw(257);
    input().setPosition(2009, stored + 3);
    input().setCheck(2037, !globals.getBool(G_INFAILOV));
    EXPECT_EQ(live.getRaw(257), stored);
    EXPECT_TRUE(takeSent().empty());
    EXPECT_TRUE(takeSentGlobals().empty());
}

TEST_F(Panels, TypedValuesGoToTheNearestTableEntryAndTheMaximum)
{
    input().onDisplayText(2012, "5.3");
    EXPECT_FLOAT_EQ(live.getFloat(257), 5.5f);
    EXPECT_EQ(object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB")->value(), int(live.getRaw(257)));
    EXPECT_EQ(object<tcGuiDisplay>("INPUT_ANA_GAIN_DSPY")->caption(),
              QString::fromStdString(live.label(257)));
    input().onDisplayText(2012, "12.3");
    EXPECT_FLOAT_EQ(live.getFloat(257), 12.0f);
    EXPECT_EQ(input().knobOfDisplay(2012), 2009);
    EXPECT_EQ(input().knobOfDisplay(2031), 2030);
    EXPECT_EQ(input().knobOfDisplay(2009), -1);
}

TEST_F(Panels, TheSourceFollowsTheProcessorAndClickingTheSelectedOneSendsNothing)
{
    auto *line = object<tcGuiRadioItem>("INPUT_SRC_LINE");
    auto *aes = object<tcGuiRadioItem>("INPUT_SRC_AES");
    fromProcessor(256, 1);
    EXPECT_TRUE(aes->selected());
    EXPECT_FALSE(line->selected());
    fromProcessor(256, 0);
    EXPECT_TRUE(takeSent().empty());
    ASSERT_TRUE(line->selected());
    line->group()->choose(line);
    EXPECT_TRUE(takeSent().empty());
    aes->group()->choose(aes);
    EXPECT_EQ(live.getInt(256), 1u);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{256});
    EXPECT_TRUE(aes->selected());
    input().onRadio(2004, 2001); // not an item of the group
    EXPECT_EQ(live.getInt(256), 1u);
}

TEST_F(Panels, StereoHidesTheDifferenceFilterAndRenamesTheSumKnob)
{
    auto *stereo = object<tcGuiCheckBox>("INPUT_HPF_STEREO");
    EXPECT_TRUE(object<tcGuiObject>("INPUT_HPFD_KNOB")->isVisible());
    EXPECT_EQ(object<tcGuiObject>("INPUT_HPFS_KNOB")->caption(), QStringLiteral("S u m   F r e q."));
    EXPECT_EQ(object<tcGuiObject>("INPUT_HPFD_KNOB")->caption(), QStringLiteral("D i f f   F r e q."));
    input().onCheck(2025, true);
    EXPECT_TRUE(stereo->checked());
    EXPECT_TRUE(live.getBool(270));
    for (const char *n : {"INPUT_HPFD_IN", "INPUT_HPFD_KNOB", "INPUT_HPFD_DSPY"})
        EXPECT_FALSE(object<tcGuiObject>(n)->isVisible()) << n;
    EXPECT_EQ(object<tcGuiObject>("INPUT_HPFS_KNOB")->caption(), QStringLiteral("F r e q u e n c y"));
    // Shown again, they stay hidden.
    bench().setScreen(tcKelBench::kSystemScreen);
    bench().setScreen(tcKelBench::kInputScreen);
    EXPECT_FALSE(object<tcGuiObject>("INPUT_HPFD_KNOB")->isVisible());
    EXPECT_TRUE(object<tcGuiObject>("INPUT_HPFS_KNOB")->isVisible());
    // The processor turning stereo off brings them back.
    fromProcessor(270, 0);
    EXPECT_TRUE(object<tcGuiObject>("INPUT_HPFD_KNOB")->isVisible());
}

TEST_F(Panels, StatusLampsFollowEverySixthFrameAndTheTemperatureAlarmsAboveFifty)
{
    auto *ana = object<tcGuiLamp>("INPUT_ANA_FAIL");
    auto *aes = object<tcGuiLamp>("INPUT_AES_FAIL");
    EXPECT_EQ(ana->state(), 2);
    EXPECT_EQ(ana->caption(), QStringLiteral("Analog"));
    EXPECT_EQ(aes->caption(), QStringLiteral("AES"));
    MeterFrame f;
    f.status(0, 3).temperature(41.24f);
    for (int i = 0; i < 5; ++i)
        bench().meterFrame(f.bytes);
    EXPECT_EQ(ana->state(), 2);
    EXPECT_EQ(object<tcGuiLamp>("STATUS_TEMP")->caption(), QStringLiteral("Temp. ????"));
    bench().meterFrame(f.bytes);
    EXPECT_EQ(ana->state(), 1);
    EXPECT_EQ(ana->caption(), QStringLiteral("Analog (active)"));
    EXPECT_EQ(aes->state(), 0);
    EXPECT_EQ(aes->caption(), QStringLiteral("AES"));
    EXPECT_EQ(object<tcGuiLamp>("STATUS_ANA")->caption(), QStringLiteral("Analog (active)"));
    EXPECT_EQ(object<tcGuiLamp>("STATUS_TEMP")->caption(), QStringLiteral("Temp. 41.2 C"));
    // The next update is six frames later.
    f.status(2, 9);
    for (int i = 0; i < 5; ++i)
        bench().meterFrame(f.bytes);
    EXPECT_EQ(ana->state(), 1);
    bench().meterFrame(f.bytes);
    EXPECT_EQ(ana->state(), 0);
    EXPECT_EQ(ana->caption(), QStringLiteral("Analog (active)"));
    EXPECT_EQ(aes->state(), 2);
    EXPECT_EQ(aes->caption(), QStringLiteral("AES"));
    // A lost link puts them back to unknown.
    bench().resetMeters();
    EXPECT_EQ(ana->state(), 2);
    EXPECT_EQ(ana->caption(), QStringLiteral("Analog"));
    EXPECT_EQ(object<tcGuiLamp>("STATUS_TEMP")->caption(), QStringLiteral("Temp. ????"));

    // The temperature alarms above fifty degrees only.
    auto *temp = object<tcGuiLamp>("STATUS_TEMP");
    auto show = [this](float t) {
        MeterFrame f;
        f.temperature(t);
        for (int i = 0; i < 6; ++i)
            bench().meterFrame(f.bytes);
    };
    show(50.0f);
    EXPECT_EQ(temp->state(), 0);
    EXPECT_EQ(temp->caption(), QStringLiteral("Temp. 50.0 C"));
    show(50.05f);
    EXPECT_EQ(temp->state(), 1);
    show(12.0f);
    EXPECT_EQ(temp->state(), 0);
}

TEST_F(Panels, EachSystemButtonRaisesItsOwnSignal)
{
    auto button = [this](int n) { return [this, n] { system().onButton(n); }; };
    expectEachRaisesItsOwnSignal(system(), {{"password", button(9003), &tcControlGroup::sig_password},
                                            {"front panel", button(9004), &tcControlGroup::sig_fppasswd},
                                            {"access", button(9005), &tcControlGroup::sig_gui_access},
                                            {"lock", button(9006), &tcControlGroup::sig_gui_lock},
                                            {"skin", button(9007), &tcControlGroup::sig_choose_skin},
                                            {"events", button(9008), &tcControlGroup::sig_event_dlg},
                                            {"time", button(9009), &tcControlGroup::sig_time_set}});
}

TEST_F(Panels, InputAndSystemSettingsWriteTheirGlobalsAndTheMeterTransport)
{
    input().onCheck(2037, true);
    EXPECT_TRUE(globals.getBool(G_INFAILOV));
    system().onCheck(9002, true);
    EXPECT_TRUE(globals.getBool(G_S_FOLLOW));
    system().onCombo(9010, 2);
    EXPECT_EQ(globals.get(G_HDPN_SRC), 2);
    EXPECT_EQ(takeSentGlobals(), (std::vector<uint16_t>{G_S_FOLLOW, G_HDPN_SRC, G_INFAILOV}));
    globalFromProcessor(G_HDPN_SRC, 1);
    EXPECT_EQ(object<tcGuiCombo>("HDPN_SRC")->index(), 1);

    system().onCheck(9014, true);
    EXPECT_TRUE(hostSide.tcpMeters);
    system().onCheck(9014, true); // already so: nothing to switch
    EXPECT_EQ(hostSide.tcpMeterSwitches, 1);
}

TEST_F(Panels, TheLockedLookFollowsTheLockAndTheRestrictedClassesOnEveryPanel)
{
    auto *knob = object<tcGuiObject>("INPUT_ANA_GAIN_KNOB");
    auto *peq = object<tcGuiObject>("PEQ3_L_KNOB");
    auto *view = object<tcGuiObject>("GRAPH_VIEW_AUDIO");
    bench().setAccess(0x1234, orba::kRestrictSettings);
    bench().setLock(true);
    EXPECT_TRUE(knob->lockedLook());
    EXPECT_TRUE(peq->lockedLook());
    EXPECT_TRUE(object<tcGuiObject>("INPUT_SRC_AES")->lockedLook());
    // Only the look: presses still reach the access question.
    EXPECT_EQ(knob->disabledState(), 0);
    EXPECT_FALSE(view->lockedLook()); // meter views are not restricted
    EXPECT_FALSE(object<tcGuiObject>("INPUT_ANA_FAIL")->lockedLook());
    EXPECT_FALSE(object<tcGuiObject>("ONLINE")->lockedLook()); // never restricted
    bench().setAccess(0x1234, orba::kRestrictSettings | orba::kRestrictMeters);
    EXPECT_TRUE(view->lockedLook());
    bench().setLock(false);
    EXPECT_FALSE(knob->lockedLook());
    EXPECT_FALSE(view->lockedLook());
}

} // namespace
