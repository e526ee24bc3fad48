#include "panels/cg_amtx.h"

tcControlGroupAmTx::tcControlGroupAmTx(tcKelBench *bench) : tcControlGroup(bench, orba::panels::kAmTxObjects)
{
}
