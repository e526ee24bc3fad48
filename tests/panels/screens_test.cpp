// Every screen's plain controls both ways, from the binding table; and what the screens add to them.
#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_knob.h"
#include "gui/gui_lamp.h"
#include "gui/gui_radioitem.h"
#include "panel_fixture.h"
#include "panels/binding_table.h"
#include "panels/cg_amtx.h"
#include "panels/cg_mblim.h"
#include "panels/control_ids.h"
#include "tables/setting_ids.h"

#include <gtest/gtest.h>

using namespace orba::test;
using orba::panels::Binding;

namespace {

class Screens : public LoadedPanelTest
{
protected:
    tcControlGroup &panel(const Binding &b) { return *bench().panelOfScreen(b.screen); }
    static bool plain(const Binding &b)
    {
        return b.source != orba::panels::Source::None && !b.has(orba::panels::kBindingOwn);
    }
    // Another raw value inside the parameter's range.
    uint32_t otherRaw(uint16_t id) const
    {
        const uint32_t raw = live.getRaw(id);
        return raw < live.getRawMax(id) ? raw + 1 : raw - 1;
    }
};

TEST_F(Screens, EveryPlainKnobSendsItsParameterOnceAndFollowsTheProcessor)
{
    int knobs = 0;
    for (const Binding &b : orba::panels::kBindings) {
        if (b.kind != kGuiKnob || !plain(b) || !b.isSetting())
            continue;
        ++knobs;
        SCOPED_TRACE(b.name);
        auto *knob = panel(b).findKnob(int(b.number));
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(knob->minimum(), int(live.getRawMin(b.id)));
        EXPECT_EQ(knob->maximum(), int(live.getRawMax(b.id)));
        const uint32_t turned = otherRaw(b.id);
        panel(b).onKnob(int(b.number), int(turned));
        EXPECT_EQ(live.getRaw(b.id), turned);
        EXPECT_EQ(takeSent(), std::vector<uint16_t>{b.id});
        const QString label = QString::fromStdString(live.label(b.id));
        EXPECT_EQ(panel(b).findDisplay(b.display)->caption(), label);

        const uint32_t fromAfar = otherRaw(b.id);
        fromProcessor(b.id, fromAfar);
        EXPECT_EQ(knob->value(), int(fromAfar));
        EXPECT_EQ(panel(b).findDisplay(b.display)->caption(), QString::fromStdString(live.label(b.id)));
        EXPECT_TRUE(takeSent().empty());
    }
    EXPECT_GE(knobs, 38); // every screen's knobs but the delay pair and the global ones
}

TEST_F(Screens, EveryPlainSwitchAndChoiceSendsAndFollows)
{
    for (const Binding &b : orba::panels::kBindings) {
        if (!plain(b) || !b.isSetting())
            continue;
        SCOPED_TRACE(b.name);
        if (b.kind == kGuiCheckBox) {
            const bool state = !live.getBool(b.id);
            panel(b).onCheck(int(b.number), state);
            EXPECT_EQ(takeSent(), std::vector<uint16_t>{b.id});
            fromProcessor(b.id, state ? 0 : 1);
            EXPECT_EQ(panel(b).findCheckBox(int(b.number))->checked(), !state);
        } else if (b.kind == kGuiCombo && !b.has(orba::panels::kBindingStep)) {
            auto *combo = panel(b).findCombo(int(b.number));
            ASSERT_GT(combo->items().size(), 1);
            const int entry = combo->index() == 0 ? 1 : 0;
            panel(b).onCombo(int(b.number), entry);
            EXPECT_EQ(int(live.getRaw(b.id) - live.getRawMin(b.id)), entry);
            EXPECT_EQ(takeSent(), std::vector<uint16_t>{b.id});
            fromProcessor(b.id, live.getRawMin(b.id) + uint32_t(1 - entry));
            EXPECT_EQ(combo->index(), 1 - entry);
        } else if (b.kind == kGuiRadioGroup) {
            for (const Binding &item : orba::panels::kBindings) {
                if (item.group != int(b.number) || item.screen != b.screen ||
                    item.value == int(live.getInt(b.id)))
                    continue;
                panel(b).onRadio(int(b.number), int(item.number));
                EXPECT_EQ(int(live.getInt(b.id)), item.value);
                EXPECT_EQ(takeSent(), std::vector<uint16_t>{b.id});
                EXPECT_TRUE(panel(b).findRadioItem(int(item.number))->selected());
                break;
            }
        }
        EXPECT_TRUE(takeSent().empty());
    }
}

TEST_F(Screens, StepCombosStepTheIndexAndStopAtBothEnds)
{
    auto &hd = *bench().panelOfScreen(tcKelBench::kAmHdScreen);
    const uint16_t id = SettingId::AmHdBandwidth;
    const uint32_t top = live.getRawMax(id);
    fromProcessor(id, top - 1);
    hd.onCombo(Ctl::AMHD_BANDWIDTH, 1);
    EXPECT_EQ(live.getRaw(id), top);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{id});
    EXPECT_EQ(hd.findCombo(Ctl::AMHD_BANDWIDTH)->userText(), QStringLiteral("OFF"));
    hd.onCombo(Ctl::AMHD_BANDWIDTH, 1); // past the last entry: no further
    EXPECT_EQ(live.getRaw(id), top);
    EXPECT_TRUE(takeSent().empty());

    auto &comp = *bench().panelOfScreen(tcKelBench::kCompressorScreen);
    const uint32_t lowest = live.getRawMin(SettingId::CompXfr1);
    fromProcessor(SettingId::CompXfr1, lowest);
    comp.onCombo(Ctl::COMP_XFR1, -1); // the down arrow at the lowest index
    EXPECT_EQ(live.getRaw(SettingId::CompXfr1), lowest);
    EXPECT_TRUE(takeSent().empty());
    comp.onComboText(Ctl::COMP_XFR1, "210");
    EXPECT_EQ(comp.findCombo(Ctl::COMP_XFR1)->userText(),
              QString::fromStdString(live.label(SettingId::CompXfr1)).trimmed());
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::CompXfr1});
}

TEST_F(Screens, TheDelayPairShowsAndWritesTheGlobal)
{
    auto &out = *bench().fmOutPanel();
    globalFromProcessor(G_DELAY, 1234);
    EXPECT_EQ(out.findKnob(Ctl::FMO_DELAY_C_KNOB)->value(), 2);
    EXPECT_EQ(out.findKnob(Ctl::FMO_DELAY_F_KNOB)->value(), 234);
    EXPECT_EQ(out.findDisplay(Ctl::FMO_DELAY_DSPY)->caption(),
              QString::fromStdString(globals.label(G_DELAY)));
    EXPECT_TRUE(takeSentGlobals().empty());
    out.onKnob(Ctl::FMO_DELAY_F_KNOB, 10);
    EXPECT_EQ(globals.get(G_DELAY), 1010);
    out.onKnob(Ctl::FMO_DELAY_C_KNOB, 400); // held at the longest delay
    EXPECT_EQ(globals.get(G_DELAY), tcControlGroupFMOut::kDelayMax);
    EXPECT_EQ(takeSentGlobals(), std::vector<uint16_t>{G_DELAY});
}

TEST_F(Screens, TheWidthHidesOutputBAndTheDifferenceMakeup)
{
    const char *bSide[] = {"AMT_OUT_B_KNOB", "AMT_OUT_B_DSPY", "AMT_LFTILT_F_B", "AMT_HFTILT_L_B",
                           "AMT_PHASE_B"};
    bench().setScreen(tcKelBench::kAmTxScreen);
    fromProcessor(SettingId::AmAnalog2, rawAt(SettingId::AmAnalog2, 40));
    for (const char *n : bSide)
        EXPECT_TRUE(object<tcGuiObject>(n)->isVisible()) << n;
    bench().amTxPanel()->onCombo(Ctl::AMT_WIDTH, 1); // stereo
    EXPECT_EQ(live.getInt(SettingId::AmWidth), 1u);
    for (const char *n : bSide)
        EXPECT_FALSE(object<tcGuiObject>(n)->isVisible()) << n;
    fromProcessor(SettingId::AmWidth, 0);
    for (const char *n : bSide)
        EXPECT_TRUE(object<tcGuiObject>(n)->isVisible()) << n;
    EXPECT_EQ(object<tcGuiKnob>("AMT_OUT_B_KNOB")->value(), int(rawAt(SettingId::AmAnalog2, 40)));
    EXPECT_EQ(object<tcGuiCombo>("AMT_WIDTH")->index(), 0);

    bench().setScreen(tcKelBench::kCompressorScreen);
    EXPECT_FALSE(object<tcGuiObject>("COMP_DMSTR")->isVisible());
    fromProcessor(SettingId::AmWidth, 2);
    EXPECT_TRUE(object<tcGuiObject>("COMP_DMSTR")->isVisible());
}

TEST_F(Screens, TheBandwidthComboHasAnEntryPerValueAndLampsMarkTheEmphasis)
{
    // What an entry writes: AmOut.BandsSpreadFrom32HertzToFourFifthsOfTheAudioBandwidth.
    EXPECT_EQ(bench().amTxPanel()->findCombo(Ctl::AMT_FILTER)->items().size(),
              int(live.getRawMax(SettingId::AmBandwidth) - live.getRawMin(SettingId::AmBandwidth) + 1));

    fromProcessor(SettingId::AmEmphasis, 1);
    EXPECT_EQ(object<tcGuiLamp>("FMO_EMP_FLAT")->state(), 0);
    EXPECT_EQ(object<tcGuiLamp>("FMO_PREEMP_50")->state(), 1);
}

TEST_F(Screens, EveryControlIsEditableWhenUnlocked)
{
    for (const Binding &b : orba::panels::kBindings) {
        tcGuiObject *o = bench().panelOfScreen(b.screen)->findObject(int(b.number));
        if (!o)
            continue;
        EXPECT_EQ(o->disabledState(), 0) << b.name;
    }
}

} // namespace
