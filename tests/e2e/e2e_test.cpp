// The application against the processor simulator on loopback: the whole start-up with the
// default skin, an edit and its answer, every screen's controls both ways, meters, screens through
// the pointer, a lost and regained link, quick save, and a processor that hangs on line.
#include "e2e_fixture.h"
#include "draggers/comp_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_button.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_display.h"
#include "gui/gui_knob.h"
#include "gui/gui_lamp.h"
#include "gui/gui_meter.h"
#include "link/link_watch.h"
#include "link/ports.h"
#include "panels/cg_compressor.h"
#include "panels/cg_main.h"
#include "presets/quick_save.h"
#include "tables/setting_ids.h"
#include "tables/value_tables.h"

#include <QRegularExpression>

using namespace orba;
using orba::test::SimProcess;

namespace {

using orba::test::EndToEnd;
using orba::test::waitFor;

// A simulator that hangs half a second after the login, with the application's dead-processor
// limits shortened.
class HungProcessor : public EndToEnd
{
protected:
    void SetUp() override
    {
        simArguments = QStringList{QStringLiteral("--stall-after-login"), QStringLiteral("500")};
        limits = LinkLimits{1000, 1500, 1500};
        EndToEnd::SetUp();
    }
};

TEST_F(EndToEnd, StartUpReachesOnlineWithTheDefaultSkin)
{
    EXPECT_EQ(window->statusLook(), StatusLook::Normal);
    EXPECT_EQ(object<tcGuiDisplay>("STAT_ONLINE")->caption(), QStringLiteral("Online"));
    EXPECT_EQ(object<tcGuiDisplay>("STAT_ONLINE")->state(), 0);
    EXPECT_EQ(window->deviceText(), QStringLiteral("Simulator"));
    EXPECT_EQ(window->kelBench()->screen(), 4);
    // The simulator sent its state on connecting; the current preset's name is shown.
    EXPECT_TRUE(waitFor([&] { return window->presetText() != QStringLiteral("Unknown"); }));
    // The meter request leaves through a queued slot after "Online", and the simulator's log comes
    // through a pipe: wait for both rather than read them at once.
    EXPECT_TRUE(waitFor([&] { return sim->framesIn("MSG_METER_REQUEST_UDP") >= 1; }));
    EXPECT_EQ(sim->framesIn("MSG_CONNECT"), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(EndToEnd, OneKnobStepSendsOneValueThatTheSimulatorKeepsAndNothingIsEchoed)
{
    auto *knob = object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB");
    auto *display = object<tcGuiDisplay>("INPUT_ANA_GAIN_DSPY");
    ASSERT_NE(knob, nullptr);
    quiet();
    const int before = singleValueFrames();
    const uint32_t start = window->session().live().getRaw(257);
    knob->step(1);
    const uint32_t edited = start + 1;
    ASSERT_TRUE(waitFor([&] { return singleValueFrames() == before + 1; }));
    // The simulator answers with the value as stored; the application sends nothing back.
    ASSERT_TRUE(waitFor([&] { return sim->framesOut("MSG_VALUES") > 0; }));
    quiet();
    EXPECT_EQ(singleValueFrames(), before + 1);
    EXPECT_EQ(window->session().live().getRaw(257), edited);
    EXPECT_EQ(display->caption(), QString::fromStdString(window->session().live().label(257)));

    // Pointer moves that do not reach the next index send nothing.
    const QPoint p = knob->area().center();
    ASSERT_EQ(window->kelBench()->leftPress(p.x(), p.y()), 0);
    window->kelBench()->move(p.x(), p.y(), 0);
    window->kelBench()->move(p.x() - 2, p.y() - 2, 0);
    window->kelBench()->release(p.x() - 2, p.y() - 2);
    quiet();
    EXPECT_EQ(singleValueFrames(), before + 1);

    // Stopping the simulator drops the link...
    sim->stop();
    ASSERT_TRUE(waitFor([&] { return window->statusText() == QStringLiteral("Offline"); }));
    EXPECT_EQ(window->statusLook(), StatusLook::Alert);
    EXPECT_EQ(object<tcGuiDisplay>("STAT_ONLINE")->state(), 1);
    // ... the surface is put back to the old value here only ...
    window->session().live().setIndex(257, start, CHANGE_PROCESSOR);
    ASSERT_TRUE(waitFor([&] { return knob->value() == int(start); }));

    // ... and the simulator, started again, sends the value it kept: knob and display follow.
    ASSERT_TRUE(sim->start(sim->port()));
    ASSERT_TRUE(waitFor([&] { return window->statusText() == QStringLiteral("Online"); }, 20000));
    EXPECT_EQ(window->statusLook(), StatusLook::Normal);
    ASSERT_TRUE(waitFor([&] { return knob->value() == int(edited); }));
    EXPECT_EQ(display->caption(), QString::fromStdString(window->session().live().label(257)));
    quiet();
    EXPECT_EQ(sim->framesIn("MSG_VALUES"), 0);
}

TEST_F(EndToEnd, MeterDatagramsMoveTheInputMeterAndSetTheTemperature)
{
    auto *meter = object<tcGuiMeter>("METER_IN");
    ASSERT_NE(meter, nullptr);
    ASSERT_TRUE(waitFor([&] { return meter->channel(0).level != 0 && meter->channel(0).level != 255; }));
    const uint8_t first = meter->channel(0).level;
    EXPECT_TRUE(waitFor([&] { return meter->channel(0).level != first; }));
    window->kelBench()->setScreen(tcKelBench::kSystemScreen);
    auto *temp = object<tcGuiLamp>("STATUS_TEMP");
    static const QRegularExpression reading(QStringLiteral("^Temp\\. \\d+\\.\\d C$"));
    ASSERT_TRUE(waitFor([&] { return reading.match(temp->caption()).hasMatch(); }))
        << temp->caption().toStdString();
    EXPECT_EQ(temp->state(), 0); // the simulator runs at about 40 degrees
    EXPECT_TRUE(object<tcGuiLamp>("STATUS_ANA")->caption().startsWith(QStringLiteral("Analog")));
}

TEST_F(EndToEnd, EveryScreenSendsItsControlsAndFollowsTheFrontPanelWithoutEcho)
{
    struct Case
    {
        const char *flow;
        const char *knob;
        const char *display;
        uint16_t id;
    };
    const Case cases[] = {
        {"FLOW_INPUT", "INPUT_AES_GAIN_KNOB", "INPUT_AES_GAIN_DSPY", 266},
        {"FLOW_PEQ", "PEQ3_L_KNOB", "PEQ3_L_DSPY", 784},
        {"FLOW_COMP", "COMP_DRV_KNOB", "COMP_DRV_DSPY", 1032},
        {"FLOW_HD_OUT", "AMHD_LIM_THR_KNOB", "AMHD_LIM_THR_DSPY", 5634},
        {"FLOW_AM_OUT", "FMO_LIM_THR_KNOB", "FMO_LIM_THR_DSPY", 1538},
        {"FLOW_AM_TX", "AMT_OUT_A_KNOB", "AMT_OUT_A_DSPY", 2053},
    };
    SETTINGS_MAP &live = window->session().live();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.knob);
        click(c.flow);
        auto *knob = object<tcGuiKnob>(c.knob);
        auto *display = object<tcGuiDisplay>(c.display);
        ASSERT_TRUE(knob && display && knob->isVisible());
        ASSERT_EQ(knob->value(), int(live.getRaw(c.id)));
        ASSERT_EQ(display->caption(), QString::fromStdString(live.label(c.id)));
        quiet();
        const int in = sim->framesIn("MSG_VALUES");

        // Turned here: one value goes out and the simulator keeps it.
        const int turned = knob->value() < knob->maximum() ? knob->value() + 1 : knob->value() - 1;
        knob->step(turned - knob->value());
        EXPECT_TRUE(simLogs(QStringLiteral("live %1 = %2").arg(c.id).arg(turned)));
        EXPECT_EQ(display->caption(), QString::fromStdString(live.label(c.id)));

        // Turned on the processor: the knob and its display follow.
        const int afar = turned > knob->minimum() ? turned - 1 : turned + 1;
        sim->frontPanel(QStringLiteral("set %1 %2").arg(c.id).arg(afar));
        ASSERT_TRUE(waitFor([&] { return knob->value() == afar; }));
        EXPECT_EQ(display->caption(), QString::fromStdString(live.label(c.id)));
        quiet();
        EXPECT_EQ(sim->framesIn("MSG_VALUES"), in + 1); // the turn only; nothing echoed
    }

    // The system screen's switch and the main panel's knob are bound to globals.
    click("FLOW_SYSTEM");
    auto *follow = object<tcGuiCheckBox>("SYSTEM_FOLLOW");
    const bool wanted = !follow->checked();
    sim->frontPanel(QStringLiteral("global %1 %2").arg(G_S_FOLLOW).arg(wanted ? 1 : 0));
    ASSERT_TRUE(waitFor([&] { return follow->checked() == wanted; }));
    auto *phones = object<tcGuiKnob>("HDPN_KNOB");
    phones->step(phones->value() < phones->maximum() ? 1 : -1);
    EXPECT_TRUE(simLogs(QStringLiteral("global %1 = %2").arg(G_HDPN_LEV).arg(phones->value())));
}

TEST_F(EndToEnd, QuickSaveRoundTripThroughTheButtons)
{
    auto *knob = object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB");
    quiet();
    // Every switch changes the live settings, which go to the simulator as values; it answers each
    // with the values as stored. Wait for all the answers, or a late one would overwrite the next
    // switch's settings.
    const int in0 = sim->framesIn("MSG_VALUES");
    const int out0 = sim->framesOut("MSG_VALUES");
    auto roundTrip = [&](int before) {
        return waitFor([&] {
            const int in = sim->framesIn("MSG_VALUES");
            return in > before && sim->framesOut("MSG_VALUES") - out0 >= in - in0;
        });
    };
    knob->step(2);
    ASSERT_TRUE(roundTrip(in0));
    quiet();
    const uint32_t inA = window->session().live().getRaw(257);
    click("QSAVEB"); // A and B, which held nothing, keep the live settings
    EXPECT_EQ(window->quickSave().current(), orba::QuickSave::B);
    EXPECT_EQ(window->session().live().getRaw(257), inA);
    knob->step(3);
    const uint32_t inB = window->session().live().getRaw(257);
    int frames = sim->framesIn("MSG_VALUES");
    ASSERT_TRUE(roundTrip(frames));
    quiet();
    frames = sim->framesIn("MSG_VALUES");
    click("QSAVEA");
    EXPECT_EQ(window->session().live().getRaw(257), inA);
    ASSERT_TRUE(roundTrip(frames));
    ASSERT_TRUE(waitFor([&] { return knob->value() == int(inA); }));
    quiet();
    frames = sim->framesIn("MSG_VALUES");
    click("QSAVEB");
    EXPECT_EQ(window->session().live().getRaw(257), inB);
    ASSERT_TRUE(roundTrip(frames));
    ASSERT_TRUE(waitFor([&] { return knob->value() == int(inB); }));
    EXPECT_EQ(object<tcGuiButton>("QSAVEB")->lampState(), 1);
    EXPECT_EQ(object<tcGuiButton>("QSAVEA")->lampState(), 0);
    EXPECT_EQ(object<tcGuiButton>("QSAVEAB")->caption(), QStringLiteral("A = B"));
}

TEST_F(EndToEnd, CompressorRatiosAreEditedOnTheGraphAndKeptByTheSimulator)
{
    SETTINGS_MAP &live = window->session().live();
    tcKelBench *bench = window->kelBench();
    const uint16_t ratio1 = SettingId::Comp1Ratio;
    for (int b = 0; b < 5; ++b)
        sim->frontPanel(QStringLiteral("set %1 40").arg(ratio1 + b));
    ASSERT_TRUE(waitFor([&] { return live.getRaw(uint16_t(ratio1 + 4)) == 40; }));
    click("FLOW_COMP");
    click("COMP_TYPE_C_RAT");
    tcControlGroupCompressor *comp = bench->compressorPanel();
    ASSERT_EQ(comp->selectedRow(), tcControlGroupCompressor::kRatioRow);
    tcCompDragger *dragger = comp->dragger();
    ASSERT_TRUE(dragger && bench->mainGraph()->dragger() == dragger);
    for (int b = 0; b < 5; ++b)
        EXPECT_FLOAT_EQ(float(dragger->bands().value(b)), RATIO_TABLE[40].value) << "the simulator's ratios";
    quiet();

    // Everything grouped, flat: one drag event moves all five; each is sent once, from the table.
    const QRect plot = bench->mainGraph()->plotRect();
    auto press = [&](int band, int dy) {
        const QPoint at = dragger->handleAt(band) + plot.topLeft();
        const int x = bench->toWidgetX(at.x()), y = bench->toWidgetY(at.y());
        ASSERT_EQ(bench->leftPress(x, y), 0);
        bench->move(x, y + dy, 0);
        bench->release(x, y + dy);
    };
    auto logged = [&](uint16_t id) {
        return int(sim->lines().filter(QStringLiteral("live %1 = ").arg(id)).size());
    };
    press(2, -10);
    const uint32_t raw = live.getRaw(uint16_t(ratio1 + 2));
    ASSERT_GT(raw, 40u);
    for (int b = 0; b < 5; ++b) {
        const uint16_t id = uint16_t(ratio1 + b);
        EXPECT_EQ(live.getRaw(id), raw);
        EXPECT_EQ(live.getFloat(id), RATIO_TABLE[raw].value);
        EXPECT_TRUE(simLogs(QStringLiteral("live %1 = %2").arg(id).arg(raw))) << id;
    }
    quiet();
    for (int b = 0; b < 5; ++b)
        EXPECT_EQ(logged(uint16_t(ratio1 + b)), 1) << "sent once, as its value changed once";

    // Flatten, the group entries, the crossover arrows and the width's hidden controls:
    // Compressor.FlattenAndTheGroupEntriesActOnTheCurrentBand and the Screens tests.
}

TEST_F(HungProcessor, IsNoticedOnLineAndAgainAtTheLogin)
{
    ASSERT_TRUE(sim->waitOutput(QStringLiteral("orba-sim: stalled")));
    // On line, the meters stop and nothing else comes: the link is given up...
    ASSERT_TRUE(waitFor([&] { return window->statusText() == QStringLiteral("No reply"); }))
        << window->statusText().toStdString();
    EXPECT_EQ(window->statusLook(), StatusLook::Alert);
    EXPECT_EQ(object<tcGuiDisplay>("STAT_ONLINE")->caption(), QStringLiteral("No reply"));
    EXPECT_EQ(object<tcGuiDisplay>("STAT_ONLINE")->state(), 1);
    // ... and tried again: the hung simulator still takes the connection but never answers the login.
    ASSERT_TRUE(waitFor([&] { return window->statusText() == QStringLiteral("Login hung"); }))
        << window->statusText().toStdString();
    EXPECT_EQ(window->statusLook(), StatusLook::Alert);
    EXPECT_EQ(object<tcGuiDisplay>("STAT_ONLINE")->caption(), QStringLiteral("Login hung"));
    EXPECT_TRUE(
        waitFor([&] { return sim->output().count(QStringLiteral("orba-sim: application connected")) >= 2; }));
    EXPECT_TRUE(sim->running());
    EXPECT_TRUE(messages.empty());
}

} // namespace
