#include "panels/cg_amtx.h"

#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

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
    tcControlGroup::onCombo(number, value);
    if (number == Ctl::AMT_FILTER && bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
    if (number == Ctl::AMT_FILTER || number == Ctl::AMT_WIDTH)
        bench()->widthRefresh();
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
