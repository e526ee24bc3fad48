// The dispatch of changed parameters and globals to what shows them, derived from the binding
// table: each id reaches every binding of it, and the binding's route says how it is shown.
#include "gui/gui_object.h"
#include "panels/binding_table.h"
#include "panels/cg_amhd.h"
#include "panels/cg_amtx.h"
#include "panels/cg_compressor.h"
#include "panels/cg_input.h"
#include "panels/cg_main.h"
#include "panels/cg_mblim.h"
#include "panels/cg_parametric.h"
#include "panels/cg_system.h"
#include "panels/kel_bench.h"
#include "tables/globals_map.h"

#include <algorithm>
#include <vector>

using orba::panels::Binding;
using orba::panels::Route;
using orba::panels::Source;

namespace {

struct IdRoute
{
    uint16_t id;
    const Binding *binding;
};

std::vector<IdRoute> buildRoutes(Source source)
{
    std::vector<IdRoute> r;
    for (const Binding &b : orba::panels::kBindings) {
        if (b.source != source || b.id == 0)
            continue;
        for (uint32_t id = b.id; id <= b.idLast; ++id)
            r.push_back({uint16_t(id), &b});
    }
    std::stable_sort(r.begin(), r.end(), [](const IdRoute &a, const IdRoute &b) { return a.id < b.id; });
    return r;
}

template <class F> void forEachRoute(Source source, uint16_t id, F &&f)
{
    static const std::vector<IdRoute> settings = buildRoutes(Source::Setting);
    static const std::vector<IdRoute> globals = buildRoutes(Source::Global);
    const std::vector<IdRoute> &routes = source == Source::Setting ? settings : globals;
    auto it = std::lower_bound(routes.begin(), routes.end(), id,
                               [](const IdRoute &route, uint16_t value) { return route.id < value; });
    // A refresh runs once per id, however many objects of the panel it serves.
    std::vector<std::pair<int, Route>> done;
    for (; it != routes.end() && it->id == id; ++it) {
        const Binding &b = *it->binding;
        if (b.route != Route::Show) {
            const std::pair<int, Route> key{b.screen, b.route};
            if (std::find(done.begin(), done.end(), key) != done.end())
                continue;
            done.push_back(key);
        }
        f(b);
    }
}

} // namespace

tcControlGroup *tcKelBench::panelOfScreen(int screen) const
{
    switch (screen) {
    case -1:
        return m_main;
    case 0:
        return m_system;
    case 1:
        return m_compressor;
    case 2:
        return m_parametric;
    case 4:
        return m_input;
    case 5:
        return m_amHd;
    case 6:
        return m_fmOut;
    case 7:
        return m_amTx;
    default:
        return nullptr;
    }
}

void tcKelBench::clearToShow(uint16_t first, int count, int stride)
{
    if (!m_env.settingsToShow)
        return;
    for (int i = 0; i < count; ++i)
        m_env.settingsToShow->clear(uint16_t(first + i * stride));
}

void tcKelBench::widthRefresh()
{
    if (!m_created)
        return;
    m_amTx->widthRefresh();
    m_compressor->widthRefresh();
}

void tcKelBench::bandwidthRefresh()
{
    if (!m_created)
        return;
    m_amTx->refreshDerived();
    m_amHd->refreshDerived();
    m_fmOut->bandwidthRefresh();
    widthRefresh();
}

void tcKelBench::route(const Binding &b, uint16_t id)
{
    tcControlGroup *panel = panelOfScreen(b.screen);
    if (!panel)
        return;
    switch (b.route) {
    case Route::Show:
        // A combo's entry and text depend on the panel's derived values.
        if (b.kind == kGuiCombo)
            panel->refreshDerived();
        else
            panel->show(b);
        break;
    case Route::RefreshDerived:
        panel->refreshDerived();
        break;
    case Route::CompRow:
        m_compressor->refreshRow(b.row);
        break;
    case Route::MbRow:
        // One refresh serves the whole row, however many of its ids came in together.
        clearToShow(b.id, 10, 1);
        if (m_fmOut->shownRow() == b.row)
            m_fmOut->refreshMultibandRow(b.row);
        break;
    case Route::MbEq:
    case Route::HdEq: {
        const int band = (id - b.id) % 4;
        clearToShow(uint16_t(b.id + band), 4, 4);
        if (b.route == Route::MbEq)
            m_fmOut->refreshEqSection(band);
        else
            m_amHd->refreshEqSection(band);
        break;
    }
    case Route::Bandwidth:
        bandwidthRefresh();
        break;
    case Route::Width:
        widthRefresh();
        break;
    case Route::GraphSource:
        m_main->refreshGraphSource();
        break;
    case Route::Delay:
        m_fmOut->delayRefresh();
        break;
    }
}

void tcKelBench::onSettingsId(uint16_t id)
{
    if (!m_created || !m_env.live)
        return;
    forEachRoute(Source::Setting, id, [this, id](const Binding &b) { route(b, id); });
}

void tcKelBench::onGlobalsId(uint16_t id)
{
    if (!m_created || !m_env.globals)
        return;
    forEachRoute(Source::Global, id, [this, id](const Binding &b) { route(b, id); });
}
