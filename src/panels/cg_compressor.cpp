#include "panels/cg_compressor.h"

#include "common/ini_store.h"
#include "draggers/band_overlay.h"
#include "draggers/comp_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_axis.h"
#include "gui/gui_dyngraph.h"
#include "gui/gui_image.h"
#include "gui/gui_radioitem.h"
#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "panels/meter_body.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kSection = QStringLiteral("AGCCOMP");
const QString kTraceKeys[tcBandLevelOverlay::kTraces] = {
    QStringLiteral("show_cgc"), QStringLiteral("show_agc"), QStringLiteral("show_cmp")};
// The transfer curves: threshold, ratio and output offset of mode 3 over -80 .. +20 dB.
constexpr int kCurveMode = 3;
constexpr int kCurveScale = 2;
constexpr float kMakeupMin = -100.0f, kMakeupMax = 48.0f;
// Meter readings are gain reduction in quarter dB; the overlay wants levels under 255 (0 dB).
constexpr size_t kAgcBands = orba::meterbody::kCompLeft + 5;

uint8_t levelOf(int reduction)
{
    return uint8_t(255 - std::clamp(reduction, 0, 255));
}

} // namespace

const tcControlGroupCompressor::RowInfo tcControlGroupCompressor::kRowInfo[kRows] = {
    {"AGC Attack", SettingId::Agc1Attack, Ctl::COMP_TYPE_A_ATT},
    {"AGC Release", SettingId::Agc1Release, Ctl::COMP_TYPE_A_REL},
    {"AGC Freeze Offset", SettingId::Agc1FreezeOffset, Ctl::COMP_TYPE_A_FRZ},
    {"Thresh", SettingId::Comp1Thresh, Ctl::COMP_TYPE_C_THR},
    {"Comp Attack", SettingId::Comp1Attack, Ctl::COMP_TYPE_C_ATT},
    {"Comp Release", SettingId::Comp1Release, Ctl::COMP_TYPE_C_REL},
    {"Comp Ratio", SettingId::Comp1Ratio, Ctl::COMP_TYPE_C_RAT},
    {"Out Trim", SettingId::CompOut1Trim, Ctl::COMP_TYPE_C_OUT},
    {"Diff Trim", SettingId::CompDiff1Trim, Ctl::COMP_TYPE_C_DOUT},
};

tcControlGroupCompressor::tcControlGroupCompressor(tcKelBench *bench)
    : tcControlGroup(bench, 1), m_overlay(std::make_unique<tcBandLevelOverlay>())
{
    if (IniStore *ini = settings()) {
        for (int t = 0; t < tcBandLevelOverlay::kTraces; ++t)
            m_overlay->setShown(t, ini->readInt(kSection, kTraceKeys[t], m_overlay->shown(t) ? 1 : 0) != 0);
    }
}

tcControlGroupCompressor::~tcControlGroupCompressor()
{
    if (IniStore *ini = settings()) {
        for (int t = 0; t < tcBandLevelOverlay::kTraces; ++t)
            ini->writeInt(kSection, kTraceKeys[t], m_overlay->shown(t) ? 1 : 0);
    }
    // The graph outlives the panels; it must not keep our dragger or axes.
    if (m_dragger && m_dragger->graph()) {
        tcGuiApGraph *g = m_dragger->graph();
        if (g->dragger() == m_dragger.get()) {
            g->setDragger(nullptr, false);
            g->setCustomAxes(nullptr, nullptr, false);
        }
    }
}

tcGuiApGraph *tcControlGroupCompressor::graph() const
{
    return bench()->mainGraph();
}

void tcControlGroupCompressor::init()
{
    tcControlGroup::init();
    if (tcGuiDynGraph *curves = findDynGraph(Ctl::COMP_GRAPH))
        curves->configure(kCurveMode, kCurveScale, kBands);
    for (int row : {kThreshRow, kRatioRow, kOutTrimRow})
        curvesOfRow(row);
    selectRadioItem(Ctl::COMP_TYPE, findRadioItem(kRowInfo[m_row].item));
    refreshDerived();
}

void tcControlGroupCompressor::refreshAll()
{
    tcControlGroup::refreshAll();
    if (const orba::panels::Binding *b = binding(Ctl::AGC_FRZMOD))
        show(*b);
}

void tcControlGroupCompressor::refreshDerived()
{
    tcControlGroup::refreshDerived();
    m_overlay->setCrossovers({live().getFloat(SettingId::CompXfr1), live().getFloat(SettingId::CompXfr2),
                              live().getFloat(SettingId::CompXfr3), live().getFloat(SettingId::CompXfr4)});
}

void tcControlGroupCompressor::setVisible(bool visible)
{
    tcControlGroup::setVisible(visible);
    if (visible)
        widthRefresh();
}

void tcControlGroupCompressor::setPosition(int number, uint32_t raw)
{
    tcControlGroup::setPosition(number, raw);
    // The transfer curves use the makeup plus each band's trim.
    if (number == Ctl::COMP_MSTR_KNOB)
        curvesOfRow(kOutTrimRow);
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

void tcControlGroupCompressor::onRadio(int number, int item)
{
    if (number != Ctl::COMP_TYPE) {
        tcControlGroup::onRadio(number, item);
        return;
    }
    for (int row = 0; row < kRows; ++row) {
        if (kRowInfo[row].item == item)
            selectRow(row, false);
    }
    showGraphControls();
}

void tcControlGroupCompressor::selectRow(int row, bool force)
{
    if (row < 0 || row >= kRows || (row == m_row && !force))
        return;
    m_row = row;
    selectRadioItem(Ctl::COMP_TYPE, findRadioItem(kRowInfo[row].item));
    if (isVisible())
        showRowOnGraph(graph());
}

void tcControlGroupCompressor::buildAxes()
{
    const tcGuiApGraph *g = graph();
    const int h = g ? g->plotRect().height() : 150;
    if (m_levelAxis && m_levelAxis->length() == h)
        return;
    for (int row = 0; row < kRows; ++row) {
        m_axes[size_t(row)] = rangeAxis(kRowInfo[row].title, kRowInfo[row].firstId, h);
    }
    m_levelAxis =
        std::make_unique<tcGuiAxis>(QStringLiteral("Gain Reduction dB"), tcGuiAxis::kLinear, h, -30.0f, 0.0f);
    for (int db = 0; db >= -30; db -= 6)
        m_levelAxis->addTick(float(db), tcGuiAxis::kMinor | tcGuiAxis::kLabel, QString::number(db));
}

void tcControlGroupCompressor::setUpGraph(tcGuiApGraph *g)
{
    if (!g)
        return;
    showRowOnGraph(g);
}

void tcControlGroupCompressor::showRowOnGraph(tcGuiApGraph *g)
{
    if (!g)
        return;
    buildAxes();
    if (!m_dragger) {
        const auto *handle = static_cast<const tcGuiImage *>(
            tcGuiObject::find(bench(), NameString("MBLimDragger"), kGuiImage));
        const auto *box = static_cast<const tcGuiImage *>(
            tcGuiObject::find(bench(), NameString("MBLimCheckbox"), kGuiImage));
        m_dragger = std::make_unique<tcCompDragger>(g, this, handle, box);
        m_dragger->setOverlay(m_overlay.get());
    }
    g->setCustomAxes(m_axes[size_t(m_row)].get(), m_levelAxis.get(), false);
    g->setExtraTitle(QString::fromLatin1(kRowInfo[m_row].title), false);
    g->setDragger(m_dragger.get(), false);
    layoutOverlay(g);
    refreshRow(m_row);
    g->markDirty(tcGuiGraph::kRedraw | tcGuiGraph::kRepaint);
}

void tcControlGroupCompressor::layoutOverlay(tcGuiApGraph *g)
{
    const QRect plot = g->plotRect();
    m_overlay->layout(g->frequencyAxis(), m_levelAxis.get(), plot.width(), plot.height());
}

void tcControlGroupCompressor::curvesOfRow(int row)
{
    tcGuiDynGraph *curves = findDynGraph(Ctl::COMP_GRAPH);
    if (!curves)
        return;
    const uint16_t first = kRowInfo[row].firstId;
    for (int b = 0; b < kBands; ++b) {
        const float v = live().getFloat(uint16_t(first + b));
        switch (row) {
        case kThreshRow:
            curves->setCurveParam(b, 0, v);
            break;
        case kRatioRow:
            curves->setCurveParam(b, 1, v);
            break;
        case kOutTrimRow:
            curves->setCurveParam(
                b, 2, std::clamp(live().getFloat(SettingId::CompMakeup) + v, kMakeupMin, kMakeupMax));
            break;
        default:
            return;
        }
    }
}

void tcControlGroupCompressor::refreshRow(int row)
{
    if (row < 0 || row >= kRows)
        return;
    curvesOfRow(row);
    if (row != m_row || !m_dragger || !isVisible())
        return;
    std::vector<double> values;
    for (int b = 0; b < kBands; ++b)
        values.push_back(double(live().getFloat(uint16_t(kRowInfo[row].firstId + b))));
    m_dragger->setAllBands(values);
    m_dragger->requestRedraw();
}

void tcControlGroupCompressor::barSet(int band, uint32_t index)
{
    if (band < 0 || band >= kBands)
        return;
    live().setIndex(uint16_t(kRowInfo[m_row].firstId + band), index, CHANGE_USER);
    curvesOfRow(m_row);
}

double tcControlGroupCompressor::valueOfIndex(uint32_t index)
{
    return double(live().indexToFloat(kRowInfo[m_row].firstId, index));
}

uint32_t tcControlGroupCompressor::indexOfValue(double value)
{
    return live().floatToIndex(kRowInfo[m_row].firstId, float(value));
}

void tcControlGroupCompressor::meterFrame(const uint8_t *d)
{
    using orba::meterbody::kCompLeft;
    uint8_t all[kBands], agc[kBands], comp[kBands];
    for (int b = 0; b < kBands; ++b) {
        agc[b] = levelOf(d[kAgcBands + size_t(b)]);
        comp[b] = levelOf(d[kCompLeft + size_t(b)]);
        all[b] = levelOf(int(d[kAgcBands + size_t(b)]) + int(d[kCompLeft + size_t(b)]));
    }
    m_overlay->update(all, agc, comp);
    if (!isVisible() || !m_dragger)
        return;
    tcGuiApGraph *g = m_dragger->graph();
    if (g && g->dragger() == m_dragger.get() && (g->mode() & tcGuiApGraph::kGainReduction))
        g->markDirty(tcGuiGraph::kRepaint);
}
