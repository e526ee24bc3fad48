#include "panels/cg_parametric.h"

#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"

tcControlGroupParametric::tcControlGroupParametric(tcKelBench *bench) : tcControlGroup(bench, 2) {}

void tcControlGroupParametric::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if (number >= Ctl::PEQ1_ENABLE && number <= Ctl::PEQ_ENABLE && bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}
