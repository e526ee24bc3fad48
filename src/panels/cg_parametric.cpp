#include "panels/cg_parametric.h"

#include "panels/cg_main.h"
#include "panels/kel_bench.h"

tcControlGroupParametric::tcControlGroupParametric(tcKelBench *bench)
    : tcControlGroup(bench, orba::panels::kParametricObjects)
{
}

void tcControlGroupParametric::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if (number >= 6026 && number <= 6030 && bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}
