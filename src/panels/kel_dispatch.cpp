// The dispatch of changed parameters and globals: which panel shows an id, and how.
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

namespace {

enum Panel : uint8_t { kInputP, kParametricP, kCompressorP, kAmOutP, kAmHdP, kAmTxP };

enum Action : uint8_t {
    kSelectSource, // the input source item
    kKnob,         // set position of the object
    kCheck,        // set check of the object
    kRefreshAll,   // the panel's refresh all
    kDerived,      // the panel's refresh derived
    kSingle,       // the compressor's single control of the id
    kCompRow,      // compressor band row `object`
    kMbRow,        // multiband row `object` (ten ids from `first`)
    kMbEq,         // multiband equaliser section
    kHdEq,         // HD multiband equaliser section
    kTxHdDerived,  // refresh derived of AM Tx and AM HD, then the width refresh
    kWidth,        // the width refresh
};

struct Route
{
    uint16_t id;
    Panel panel;
    Action action;
    int object; // object number, or the row
    uint16_t first;
};

std::vector<Route> buildRoutes()
{
    std::vector<Route> r;
    auto one = [&r](uint16_t id, Panel p, Action a, int object = 0, uint16_t first = 0) {
        r.push_back({id, p, a, object, first});
    };
    auto pairs = [&one](std::initializer_list<uint16_t> ids, Panel p, Action a,
                        std::initializer_list<int> objects) {
        auto o = objects.begin();
        for (uint16_t id : ids)
            one(id, p, a, *o++);
    };
    auto range = [&one](uint16_t first, uint16_t last, Panel p, Action a, int object = 0) {
        for (uint16_t id = first; id <= last; ++id)
            one(id, p, a, object, first);
    };

    one(256, kInputP, kSelectSource);
    pairs({257, 266, 258, 261, 267}, kInputP, kKnob, {2009, 2013, 2019, 2028, 2030});
    pairs({270, 268, 269, 262}, kInputP, kCheck, {2025, 2026, 2027, 2032});

    one(768, kParametricP, kRefreshAll);
    one(769, kParametricP, kCheck, 6030);
    pairs({770, 771, 772, 773}, kParametricP, kCheck, {6026, 6027, 6028, 6029});
    for (int s = 0; s < 4; ++s) {
        one(uint16_t(774 + s), kParametricP, kKnob, 6002 + 3 * s);
        one(uint16_t(778 + s), kParametricP, kKnob, 6003 + 3 * s);
        one(uint16_t(782 + s), kParametricP, kKnob, 6004 + 3 * s);
    }

    pairs({1024, 1025}, kCompressorP, kCheck, {3003, 3004});
    for (uint16_t id : {1029, 1032, 1033, 1040, 1041, 1052, 1053, 1054, 1055, 1126, 1133, 1134, 1136})
        one(id, kCompressorP, kSingle);
    const uint16_t rowFirst[9] = {1086, 1091, 1096, 1056, 1066, 1071, 1061, 1076, 1081};
    for (int row = 0; row < 9; ++row)
        range(rowFirst[row], uint16_t(rowFirst[row] + 4), kCompressorP, kCompRow, row);

    pairs({1536, 1538, 1539, 1540, 1541}, kAmOutP, kKnob, {11003, 11006, 11008, 11010, 11012});
    pairs({1537, 1542, 1543}, kAmOutP, kCheck, {11005, 11026, 11025});
    one(1280, kAmOutP, kCheck, 11031);
    one(1281, kAmOutP, kKnob, 11032);
    for (uint16_t id : {1282, 1286, 1287, 1288, 1289, 1290, 1544, 1546, 1550})
        one(id, kAmOutP, kDerived);
    const uint16_t mbFirst[4] = {1296, 1312, 1360, 1392};
    for (int row = 0; row < 4; ++row)
        range(mbFirst[row], uint16_t(mbFirst[row] + 9), kAmOutP, kMbRow, row);
    range(1504, 1519, kAmOutP, kMbEq);

    range(5600, 5615, kAmHdP, kHdEq);
    pairs({5632, 5634, 5635, 5636, 5637, 5641, 5648, 5649}, kAmHdP, kKnob,
          {11004, 11007, 11009, 11011, 11013, 11020, 11027, 11029});
    pairs({5633, 5638, 5639, 5642, 5644, 5645, 5650, 5651}, kAmHdP, kCheck,
          {11006, 11018, 11017, 11019, 11022, 11023, 11031, 11025});
    for (uint16_t id : {5640, 5643, 5647})
        one(id, kAmHdP, kDerived);

    one(2048, kAmTxP, kTxHdDerived);
    one(5646, kAmTxP, kTxHdDerived);
    one(2049, kAmTxP, kWidth);
    pairs({2050, 2053, 2054, 1548}, kAmTxP, kKnob, {8005, 8007, 8009, 8035});
    pairs({2051, 2052, 1547, 1549}, kAmTxP, kCheck, {8031, 8032, 8034, 8033});
    range(2055, 2066, kAmTxP, kDerived);

    std::sort(r.begin(), r.end(), [](const Route &a, const Route &b) { return a.id < b.id; });
    return r;
}

const Route *findRoute(uint16_t id)
{
    static const std::vector<Route> routes = buildRoutes();
    auto it = std::lower_bound(routes.begin(), routes.end(), id,
                               [](const Route &route, uint16_t value) { return route.id < value; });
    return it != routes.end() && it->id == id ? &*it : nullptr;
}

} // namespace

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
    m_fmOut->widthRefresh();
}

void tcKelBench::onSettingsId(uint16_t id)
{
    const Route *route = findRoute(id);
    if (!m_created || !route || !m_env.live)
        return;
    const SETTINGS_MAP &live = *m_env.live;
    tcControlGroup *panel = nullptr;
    switch (route->panel) {
    case kInputP:
        panel = m_input;
        break;
    case kParametricP:
        panel = m_parametric;
        break;
    case kCompressorP:
        panel = m_compressor;
        break;
    case kAmOutP:
        panel = m_fmOut;
        break;
    case kAmHdP:
        panel = m_amHd;
        break;
    case kAmTxP:
        panel = m_amTx;
        break;
    }
    switch (route->action) {
    case kSelectSource:
        m_input->selectSource();
        break;
    case kKnob:
        panel->setPosition(route->object, live.getRaw(id));
        break;
    case kCheck:
        panel->setCheck(route->object, live.getRaw(id) != 0);
        break;
    case kRefreshAll:
        panel->refreshAll();
        break;
    case kDerived:
        panel->refreshDerived();
        break;
    case kSingle:
        m_compressor->updateSingle(id);
        break;
    case kCompRow:
        m_compressor->refreshRow(route->object);
        break;
    case kMbRow:
        // One refresh serves the whole row, however many of its ids came in together.
        clearToShow(route->first, 10, 1);
        if (m_fmOut->shownRow() == route->object)
            m_fmOut->refreshMultibandRow(route->object);
        break;
    case kMbEq:
    case kHdEq: {
        const uint16_t base = route->action == kMbEq ? 1504 : 5600;
        const int band = (id - base) % 4;
        clearToShow(uint16_t(base + band), 4, 4);
        if (route->action == kMbEq)
            m_fmOut->refreshEqSection(band);
        else
            m_amHd->refreshEqSection(band);
        break;
    }
    case kTxHdDerived:
        m_amTx->refreshDerived();
        m_amHd->refreshDerived();
        widthRefresh();
        break;
    case kWidth:
        widthRefresh();
        break;
    }
}

void tcKelBench::onGlobalsId(uint16_t id)
{
    if (!m_created || !m_env.globals)
        return;
    const int32_t value = m_env.globals->get(id);
    switch (id) {
    case G_S_FOLLOW:
        m_system->setCheck(9002, value != 0);
        break;
    case G_OSCOPE:
        m_main->setCheck(1042, value != 0);
        break;
    case G_MAP_STRM:
        m_main->refreshGraphSource();
        break;
    case G_DELAY:
        m_fmOut->delayRefresh();
        break;
    case G_HDPN_SRC:
        m_system->refreshDerived();
        break;
    case G_HDPN_LEV:
        m_main->setPosition(1043, uint32_t(value));
        break;
    case G_INFAILOV:
        m_input->setCheck(2037, value != 0);
        break;
    case G_AM_FREQ:
        m_amTx->setPosition(8014, uint32_t(value));
        break;
    case G_AM_LEVEL:
        m_amTx->setPosition(8016, uint32_t(value));
        break;
    case G_AM_TEST:
        m_amTx->setCheck(8013, value != 0);
        break;
    case G_AM_TILT:
        m_amTx->setCheck(8018, value != 0);
        break;
    default:
        break;
    }
}
