#include "panels/cg_amhd.h"

tcControlGroupAmHd::tcControlGroupAmHd(tcKelBench *bench) : tcControlGroup(bench, 5) {}
