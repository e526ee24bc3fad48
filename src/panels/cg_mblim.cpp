#include "panels/cg_mblim.h"

#include "gui/gui_knob.h"
#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "tables/globals_map.h"

#include <algorithm>

tcControlGroupMBLim::tcControlGroupMBLim(tcKelBench *bench, int screen) : tcControlGroup(bench, screen) {}

tcControlGroupFMOut::tcControlGroupFMOut(tcKelBench *bench) : tcControlGroupMBLim(bench, 6) {}

void tcControlGroupFMOut::init()
{
    tcControlGroupMBLim::init();
    delayRefresh();
}

void tcControlGroupFMOut::refreshDerived()
{
    tcControlGroupMBLim::refreshDerived();
    if (bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}

void tcControlGroupFMOut::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if ((number == Ctl::FMO_LIM_ENABLE || number == Ctl::FMO_LIM_LINK || number == Ctl::FMO_LIM_LONG ||
         number == Ctl::FMO_MBLIM_ENABLE) &&
        bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}

void tcControlGroupFMOut::onKnob(int number, int position)
{
    if (number != Ctl::FMO_DELAY_C_KNOB && number != Ctl::FMO_DELAY_F_KNOB) {
        tcControlGroupMBLim::onKnob(number, position);
        return;
    }
    const tcGuiKnob *coarse = findKnob(Ctl::FMO_DELAY_C_KNOB);
    const tcGuiKnob *fine = findKnob(Ctl::FMO_DELAY_F_KNOB);
    const int c = number == Ctl::FMO_DELAY_C_KNOB ? position : (coarse ? coarse->value() : 0);
    const int f = number == Ctl::FMO_DELAY_F_KNOB ? position : (fine ? fine->value() : 0);
    globals().set(G_DELAY, std::clamp(c * kDelayStep + f, 0, kDelayMax), CHANGE_USER);
    delayRefresh();
}

void tcControlGroupFMOut::delayRefresh()
{
    const int32_t delay = globals().get(G_DELAY);
    setKnobRange(Ctl::FMO_DELAY_C_KNOB, 0, kDelayMax / kDelayStep);
    setKnobRange(Ctl::FMO_DELAY_F_KNOB, 0, kDelayStep - 1);
    tcControlGroup::setPosition(Ctl::FMO_DELAY_C_KNOB, uint32_t(delay / kDelayStep));
    tcControlGroup::setPosition(Ctl::FMO_DELAY_F_KNOB, uint32_t(delay % kDelayStep));
    setDisplayText(Ctl::FMO_DELAY_DSPY, QString::fromStdString(globals().label(G_DELAY)));
}
