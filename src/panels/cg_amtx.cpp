#include "panels/cg_amtx.h"

#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"
#include "tables/value_tables.h"

#include <algorithm>

tcControlGroupAmTx::tcControlGroupAmTx(tcKelBench *bench) : tcControlGroup(bench, 7) {}

void tcControlGroupAmTx::init()
{
    tcControlGroup::init();
    widthRefresh();
}

void tcControlGroupAmTx::setVisible(bool visible)
{
    tcControlGroup::setVisible(visible);
    if (visible)
        widthRefresh();
}

void tcControlGroupAmTx::onCombo(int number, int value)
{
    if (number != Ctl::AMT_FILTER) {
        tcControlGroup::onCombo(number, value);
        if (number == Ctl::AMT_WIDTH)
            bench()->widthRefresh();
        return;
    }
    // The entries are the table's bandwidths in order; the processor takes the value itself.
    const int last = int(sizeof(AM_BW_TABLE) / sizeof(AM_BW_TABLE[0])) - 1;
    live().setFloat(SettingId::AmBandwidth, AM_BW_TABLE[std::clamp(value, 0, last)].value, CHANGE_USER);
    bench()->bandwidthRefresh();
    if (bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}

void tcControlGroupAmTx::widthRefresh()
{
    setComboIndex(Ctl::AMT_WIDTH, int(live().getInt(SettingId::AmWidth)));
    const bool mono = isVisible() && live().getInt(SettingId::AmWidth) == 0;
    for (int n : {Ctl::AMT_OUT_B_KNOB, Ctl::AMT_OUT_B_DSPY, Ctl::AMT_LFTILT_F_B, Ctl::AMT_LFTILT_Q_B,
                  Ctl::AMT_LFTILT_L_B, Ctl::AMT_HFTILT_F_B, Ctl::AMT_HFTILT_Q_B, Ctl::AMT_HFTILT_L_B,
                  Ctl::AMT_PHASE_B})
        setObjectVisible(n, mono);
}
