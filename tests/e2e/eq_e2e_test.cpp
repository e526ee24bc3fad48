// The equaliser, AM output, HD output and transmitter screens against the simulator: a processor
// update moves the equaliser's knob, display and point; a dragged section handle reaches the
// simulator; and every knob of the four screens sends its parameter or global.
#include "draggers/comp_dragger.h"
#include "draggers/peq_dragger.h"
#include "e2e_fixture.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_display.h"
#include "gui/gui_knob.h"
#include "panels/binding_table.h"
#include "panels/cg_mblim.h"
#include "panels/cg_parametric.h"
#include "panels/control_ids.h"
#include "tables/globals_map.h"
#include "tables/setting_ids.h"

using namespace orba;

namespace {

using orba::test::EndToEnd;
using orba::test::waitFor;

const char *flowOf(int screen)
{
    switch (screen) {
    case 2:
        return "FLOW_PEQ";
    case 5:
        return "FLOW_HD_OUT";
    case 6:
        return "FLOW_AM_OUT";
    default:
        return "FLOW_AM_TX";
    }
}

} // namespace

TEST_F(EndToEnd, AProcessorUpdateOfAnEqualiserLiftMovesItsKnobDisplayAndPoint)
{
    click("FLOW_PEQ");
    tcKelBench *bench = window->kelBench();
    tcPEQDragger *peq = bench->parametricPanel()->dragger();
    ASSERT_TRUE(peq && bench->mainGraph()->dragger() == peq);
    // The curves are drawn in the skin's equaliser colours.
    QRgb colour = 0, sum = 0;
    ASSERT_TRUE(bench->colour("PEQ3color", &colour) && bench->colour("PEQSUMcolor", &sum));
    EXPECT_EQ(peq->colour(2), colour);
    EXPECT_EQ(peq->sumColour(), sum);
    SETTINGS_MAP &live = window->session().live();
    auto *knob = object<tcGuiKnob>("PEQ3_L_KNOB");
    const int afar = knob->value() + 20 <= knob->maximum() ? knob->value() + 20 : knob->value() - 20;
    sim->frontPanel(QStringLiteral("set %1 %2").arg(SettingId::Peq3Lift).arg(afar));
    ASSERT_TRUE(waitFor([&] { return knob->value() == afar; }));
    EXPECT_EQ(object<tcGuiDisplay>("PEQ3_L_DSPY")->caption(),
              QString::fromStdString(live.label(SettingId::Peq3Lift)));
    EXPECT_EQ(peq->section(2).lift, double(live.getFloat(SettingId::Peq3Lift)));
    EXPECT_EQ(peq->handleRect(2).top() + tcPEQDragger::kHandleHalf,
              bench->mainGraph()->yAxis()->toPixel(live.getFloat(SettingId::Peq3Lift)));
}

TEST_F(EndToEnd, DraggingAnEqualiserHandleSendsFrequencyAndLiftThatTheSimulatorKeeps)
{
    click("FLOW_PEQ");
    tcKelBench *bench = window->kelBench();
    tcPEQDragger *peq = bench->parametricPanel()->dragger();
    SETTINGS_MAP &live = window->session().live();
    quiet();
    const QPoint at = peq->handleRect(1).center() + bench->mainGraph()->plotRect().topLeft();
    const int x = bench->toWidgetX(at.x()), y = bench->toWidgetY(at.y());
    ASSERT_EQ(bench->leftPress(x, y), 0);
    bench->move(x + 25, y - 12, 0);
    bench->release(x + 25, y - 12);
    EXPECT_EQ(peq->current(), 1);
    const uint32_t hz = live.getRaw(SettingId::Peq2Freq), db = live.getRaw(SettingId::Peq2Lift);
    EXPECT_TRUE(simLogs(QStringLiteral("live %1 = %2").arg(SettingId::Peq2Freq).arg(hz)));
    EXPECT_TRUE(simLogs(QStringLiteral("live %1 = %2").arg(SettingId::Peq2Lift).arg(db)));
    EXPECT_EQ(object<tcGuiKnob>("PEQ2_F_KNOB")->value(), int(hz));
    EXPECT_EQ(object<tcGuiKnob>("PEQ2_L_KNOB")->value(), int(db));
    quiet();
    // The simulator's answers bring the same values back: nothing moves.
    EXPECT_EQ(live.getRaw(SettingId::Peq2Freq), hz);
    EXPECT_EQ(peq->section(1).lift, double(live.getFloat(SettingId::Peq2Lift)));
}

TEST_F(EndToEnd, EveryKnobOfTheEqualiserAndAmScreensSendsItsParameter)
{
    SETTINGS_MAP &live = window->session().live();
    GLOBALS_MAP &globals = window->session().globals();
    int knobs = 0;
    for (const int screen : {2, 5, 6, 7}) {
        click(flowOf(screen));
        for (const orba::panels::Binding &b : orba::panels::kBindings) {
            if (b.screen != screen || b.kind != kGuiKnob || b.source == orba::panels::Source::None)
                continue;
            SCOPED_TRACE(b.name);
            auto *knob = object<tcGuiKnob>(b.name);
            ASSERT_TRUE(knob && knob->isVisible());
            ++knobs;
            knob->step(knob->value() < knob->maximum() ? 1 : -1);
            const QString line = b.isGlobal()
                                     ? QStringLiteral("global %1 = %2").arg(b.id).arg(globals.get(b.id))
                                     : QStringLiteral("live %1 = %2").arg(b.id).arg(live.getRaw(b.id));
            EXPECT_TRUE(simLogs(line)) << line.toStdString();
        }
    }
    EXPECT_EQ(knobs, 12 + 8 + 8 + 6);
}

TEST_F(EndToEnd, TheMultibandEqualiserIsEditedOnTheAmOutputGraph)
{
    click("FLOW_AM_OUT");
    tcKelBench *bench = window->kelBench();
    tcControlGroupFMOut *out = bench->fmOutPanel();
    click("FMO_MBLIM_TYPE_EQ");
    ASSERT_EQ(out->shownRow(), tcControlGroupMBLim::kEq);
    tcPEQDragger *eq = out->eqDragger();
    ASSERT_EQ(bench->mainGraph()->dragger(), eq);
    SETTINGS_MAP &live = window->session().live();
    quiet();
    const QPoint at = eq->handleRect(2).center() + bench->mainGraph()->plotRect().topLeft();
    const int x = bench->toWidgetX(at.x()), y = bench->toWidgetY(at.y());
    ASSERT_EQ(bench->leftPress(x, y), 0);
    bench->move(x - 15, y + 10, 0);
    bench->release(x - 15, y + 10);
    EXPECT_TRUE(simLogs(
        QStringLiteral("live %1 = %2").arg(SettingId::MbPeq3Freq).arg(live.getRaw(SettingId::MbPeq3Freq))));
    EXPECT_TRUE(simLogs(
        QStringLiteral("live %1 = %2").arg(SettingId::MbPeq3Lift).arg(live.getRaw(SettingId::MbPeq3Lift))));
    EXPECT_EQ(out->screenEqDragger()->section(2).lift, double(live.getFloat(SettingId::MbPeq3Lift)));
}
