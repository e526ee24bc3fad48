#include "panels/cg_mblim.h"

#include "panels/cg_main.h"
#include "panels/kel_bench.h"

tcControlGroupMBLim::tcControlGroupMBLim(tcKelBench *bench, const ControlObjectDef *list)
    : tcControlGroup(bench, list)
{
}

tcControlGroupFMOut::tcControlGroupFMOut(tcKelBench *bench)
    : tcControlGroupMBLim(bench, orba::panels::kFMOutObjects)
{
}

void tcControlGroupFMOut::refreshDerived()
{
    if (bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}

void tcControlGroupFMOut::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if ((number == 11005 || number == 11025 || number == 11026 || number == 11031) && bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}
