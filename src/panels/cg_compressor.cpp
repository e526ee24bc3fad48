#include "panels/cg_compressor.h"

#include "panels/cg_main.h"
#include "panels/kel_bench.h"

tcControlGroupCompressor::tcControlGroupCompressor(tcKelBench *bench)
    : tcControlGroup(bench, orba::panels::kCompressorObjects)
{
}

void tcControlGroupCompressor::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if ((number == 3003 || number == 3004) && bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}
