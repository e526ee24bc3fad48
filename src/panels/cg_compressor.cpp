#include "panels/cg_compressor.h"

#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

tcControlGroupCompressor::tcControlGroupCompressor(tcKelBench *bench) : tcControlGroup(bench, 1) {}

void tcControlGroupCompressor::setVisible(bool visible)
{
    tcControlGroup::setVisible(visible);
    if (visible)
        widthRefresh();
}

void tcControlGroupCompressor::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if ((number == Ctl::COMP_AGC_ENABLE || number == Ctl::COMP_COMP_ENABLE) && bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}

void tcControlGroupCompressor::widthRefresh()
{
    setObjectVisible(Ctl::COMP_DMSTR, isVisible() && live().getInt(SettingId::AmWidth) != 0);
}
