#include "panels/cg_amhd.h"

#include "draggers/peq_dragger.h"
#include "gui/gui_apgraph.h"
#include "panels/cg_main.h"
#include "panels/cg_parametric.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

tcControlGroupAmHd::tcControlGroupAmHd(tcKelBench *bench) : tcControlGroup(bench, 5) {}

tcControlGroupAmHd::~tcControlGroupAmHd()
{
    detachPeqDragger(m_eq.get());
}

void tcControlGroupAmHd::init()
{
    tcControlGroup::init();
    tcGuiApGraph *g = findApGraph(Ctl::AMHD_GRAPH);
    m_eq = makeBlockEditor(bench(), g, this, SettingId::HdMbPeq1In);
    for (int s = 0; s < kEqSections; ++s)
        refreshEqSection(s);
    if (g) {
        g->setMode(tcGuiApGraph::kResponse);
        g->setExtraTitle(QStringLiteral("HD Multiband EQ"), false);
        g->setDragger(m_eq.get(), false);
    }
}

void tcControlGroupAmHd::refreshAll()
{
    tcControlGroup::refreshAll();
    for (int s = 0; s < kEqSections; ++s)
        refreshEqSection(s);
}

void tcControlGroupAmHd::refreshEqSection(int s)
{
    loadBlockSection(live(), SettingId::HdMbPeq1In, s, m_eq.get());
}

void tcControlGroupAmHd::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    switch (number) {
    case Ctl::AMHD_LIM_ENABLE:
    case Ctl::AMHD_LIM_LINK:
    case Ctl::AMHD_LIM_LONG:
    case Ctl::AMHD_DEEMPH:
    case Ctl::AMHD_PHASE:
    case Ctl::AMHD_SWAP:
    case Ctl::AMHD_HF_PRO_I:
    case Ctl::AMHD_HYPER_MONO:
        if (bench()->mainPanel())
            bench()->mainPanel()->refreshFlow();
        break;
    default:
        break;
    }
}

void tcControlGroupAmHd::onCombo(int number, int value)
{
    tcControlGroup::onCombo(number, value);
    if (number == Ctl::AMHD_LIM_CLIP && bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}
