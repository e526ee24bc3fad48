#include "panels/cg_mblim.h"

#include "draggers/comp_dragger.h"
#include "draggers/peq_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_axis.h"
#include "gui/gui_image.h"
#include "gui/gui_knob.h"
#include "gui/gui_radioitem.h"
#include "panels/cg_main.h"
#include "panels/cg_parametric.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "tables/globals_map.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kLowestCentre = 32.0f;
constexpr float kTopBandwidth = 16000.0f;
constexpr int kPoints = 20;

} // namespace

const tcControlGroupMBLim::RowInfo tcControlGroupMBLim::kRowInfo[kRows] = {
    {"Limiter Thresh", SettingId::Mb01LimThresh, Ctl::FMO_MBLIM_TYPE_THR},
    {"Clip Thresh", SettingId::Mb01ClipThresh, Ctl::FMO_MBLIM_TYPE_CLP},
    {"Attack", SettingId::Mb01Attack, Ctl::FMO_MBLIM_TYPE_ATT},
    {"Release", SettingId::Mb01Release, Ctl::FMO_MBLIM_TYPE_REL},
    {"EQ", SettingId::MbPeq1In, Ctl::FMO_MBLIM_TYPE_EQ},
};

tcControlGroupMBLim::tcControlGroupMBLim(tcKelBench *bench, int screen) : tcControlGroup(bench, screen) {}

tcControlGroupMBLim::~tcControlGroupMBLim()
{
    // The graph outlives the panels; it must not keep our editors or axes. The main panel may be
    // gone already: the editor knows its graph.
    tcGuiApGraph *g = m_slide ? m_slide->graph() : nullptr;
    if (g && g->dragger() == m_slide.get()) {
        g->setDragger(nullptr, false);
        g->setCustomAxes(nullptr, nullptr, false);
    }
    detachPeqDragger(m_eq.get());
    detachPeqDragger(m_screenEq.get());
}

tcGuiApGraph *tcControlGroupMBLim::graph() const
{
    return bench()->mainGraph();
}

void tcControlGroupMBLim::bandFrequencies(float amBandwidth, std::vector<float> &centres,
                                          std::vector<float> &edges)
{
    const double fmax = amBandwidth >= 1.0f && amBandwidth <= kTopBandwidth ? amBandwidth : kTopBandwidth;
    const double span = std::log10(0.8 * fmax / kLowestCentre);
    double f[kPoints];
    for (int i = 0; i < kPoints; ++i)
        f[i] = kLowestCentre * std::pow(10.0, double(i) / (kPoints - 1) * span);
    centres.assign(kBands, 0.0f);
    edges.assign(kBands - 1, 0.0f);
    for (int k = 0; k < kBands; ++k)
        centres[size_t(k)] = float((f[2 * k] + f[2 * k + 1]) / 2.0);
    for (int k = 0; k < kBands - 1; ++k)
        edges[size_t(k)] = float((f[2 * k + 1] + f[2 * k + 2]) / 2.0);
}

void tcControlGroupMBLim::makeEditors(tcGuiApGraph *g)
{
    if (m_slide)
        return;
    const auto *handle =
        static_cast<const tcGuiImage *>(tcGuiObject::find(bench(), NameString("MBLimDragger"), kGuiImage));
    m_slide = std::make_unique<tcMBSlideDragger>(g, this, handle);
    // No knobs for these sections: each editor writes the set, and the other one follows.
    m_eq = makeBlockEditor(bench(), g, this, SettingId::MbPeq1In);
    connect(m_eq.get(), &tcPEQDragger::sig_section_written, this, &tcControlGroupMBLim::refreshEqSection);
    if (tcGuiApGraph *own = findApGraph(Ctl::FMO_GRAPH)) {
        m_screenEq = makeBlockEditor(bench(), own, this, SettingId::MbPeq1In);
        connect(m_screenEq.get(), &tcPEQDragger::sig_section_written, this,
                &tcControlGroupMBLim::refreshEqSection);
        own->setMode(tcGuiApGraph::kResponse);
        own->setExtraTitle(QStringLiteral("Multiband EQ"), false);
        own->setDragger(m_screenEq.get(), false);
    }
}

void tcControlGroupMBLim::init()
{
    tcControlGroup::init();
    makeEditors(graph());
    for (int s = 0; s < kEqSections; ++s)
        refreshEqSection(s);
    bandwidthRefresh();
    selectRadioItem(Ctl::FMO_MBLIM_TYPE, findRadioItem(kRowInfo[m_row].item));
}

void tcControlGroupMBLim::refreshAll()
{
    tcControlGroup::refreshAll();
    for (int s = 0; s < kEqSections; ++s)
        refreshEqSection(s);
    refreshMultibandRow(m_row);
}

void tcControlGroupMBLim::buildAxes()
{
    const tcGuiApGraph *g = graph();
    const int h = g ? g->plotRect().height() : 150;
    if (m_axes[0] && m_axes[0]->length() == h)
        return;
    for (int row = 0; row < kEq; ++row) {
        m_axes[size_t(row)] = rangeAxis(kRowInfo[row].title, kRowInfo[row].firstId, h);
    }
}

void tcControlGroupMBLim::onRadio(int number, int item)
{
    if (number != Ctl::FMO_MBLIM_TYPE) {
        tcControlGroup::onRadio(number, item);
        return;
    }
    for (int row = 0; row < kRows; ++row) {
        if (kRowInfo[row].item == item)
            selectRow(row, false);
    }
    showGraphControls();
}

void tcControlGroupMBLim::selectRow(int row, bool force)
{
    if (row < 0 || row >= kRows || (row == m_row && !force))
        return;
    m_row = row;
    selectRadioItem(Ctl::FMO_MBLIM_TYPE, findRadioItem(kRowInfo[row].item));
    if (isVisible())
        showRowOnGraph(graph());
}

void tcControlGroupMBLim::setUpGraph(tcGuiApGraph *g)
{
    showRowOnGraph(g);
}

void tcControlGroupMBLim::showRowOnGraph(tcGuiApGraph *g)
{
    if (!g)
        return;
    makeEditors(g);
    buildAxes();
    g->setExtraTitle(QString::fromLatin1(kRowInfo[m_row].title), false);
    if (m_row == kEq) {
        g->setCustomAxes(nullptr, nullptr, false);
        g->setDragger(m_eq.get(), false);
    } else {
        g->setCustomAxes(m_axes[size_t(m_row)].get(), nullptr, false);
        g->setDragger(m_slide.get(), false);
        // The axes are in place now: the bands can find their x.
        bandwidthRefresh();
        refreshMultibandRow(m_row);
    }
    g->markDirty(tcGuiGraph::kRedraw | tcGuiGraph::kRepaint);
}

void tcControlGroupMBLim::bandwidthRefresh()
{
    if (!m_slide)
        return;
    std::vector<float> centres, edges;
    bandFrequencies(live().getFloat(SettingId::AmBandwidth), centres, edges);
    m_slide->setBandFrequencies(centres, edges);
}

void tcControlGroupMBLim::refreshMultibandRow(int row)
{
    if (row < 0 || row >= kEq || row != m_row || !m_slide)
        return;
    std::vector<double> values;
    for (int b = 0; b < kBands; ++b)
        values.push_back(double(live().getFloat(uint16_t(kRowInfo[row].firstId + b))));
    m_slide->setAllBands(values);
    m_slide->requestRedraw();
}

void tcControlGroupMBLim::refreshEqSection(int s)
{
    if (s < 0 || s >= kEqSections || !m_eq)
        return;
    loadBlockSection(live(), SettingId::MbPeq1In, s, m_eq.get());
    loadBlockSection(live(), SettingId::MbPeq1In, s, m_screenEq.get());
}

void tcControlGroupMBLim::barSet(int band, uint32_t index)
{
    if (band < 0 || band >= kBands || m_row >= kEq)
        return;
    live().setIndex(uint16_t(kRowInfo[m_row].firstId + band), index, CHANGE_USER);
}

double tcControlGroupMBLim::valueOfIndex(uint32_t index)
{
    return m_row < kEq ? double(live().indexToFloat(kRowInfo[m_row].firstId, index)) : 0.0;
}

uint32_t tcControlGroupMBLim::indexOfValue(double value)
{
    return m_row < kEq ? live().floatToIndex(kRowInfo[m_row].firstId, float(value)) : 0;
}

tcControlGroupFMOut::tcControlGroupFMOut(tcKelBench *bench) : tcControlGroupMBLim(bench, 6) {}

void tcControlGroupFMOut::init()
{
    tcControlGroupMBLim::init();
    delayRefresh();
    refreshDerived();
}

void tcControlGroupFMOut::refreshDerived()
{
    tcControlGroupMBLim::refreshDerived();
    // The bass clipper works below this frequency: marked on both editors' graphs.
    const float hz = live().getFloat(SettingId::BassClipFreq);
    for (tcGuiGraphDragger *d :
         {static_cast<tcGuiGraphDragger *>(slideDragger()), static_cast<tcGuiGraphDragger *>(eqDragger())}) {
        if (d && d->marker() != hz) {
            d->setMarker(hz);
            d->requestRedraw();
        }
    }
    if (bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}

void tcControlGroupFMOut::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if ((number == Ctl::FMO_LIM_ENABLE || number == Ctl::FMO_LIM_LINK || number == Ctl::FMO_LIM_LONG ||
         number == Ctl::FMO_MBLIM_ENABLE) &&
        bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}

void tcControlGroupFMOut::onKnob(int number, int position)
{
    if (number != Ctl::FMO_DELAY_C_KNOB && number != Ctl::FMO_DELAY_F_KNOB) {
        tcControlGroupMBLim::onKnob(number, position);
        return;
    }
    const tcGuiKnob *coarse = findKnob(Ctl::FMO_DELAY_C_KNOB);
    const tcGuiKnob *fine = findKnob(Ctl::FMO_DELAY_F_KNOB);
    const int c = number == Ctl::FMO_DELAY_C_KNOB ? position : (coarse ? coarse->value() : 0);
    const int f = number == Ctl::FMO_DELAY_F_KNOB ? position : (fine ? fine->value() : 0);
    globals().set(G_DELAY, std::clamp(c * kDelayStep + f, 0, kDelayMax), CHANGE_USER);
    delayRefresh();
}

void tcControlGroupFMOut::delayRefresh()
{
    const int32_t delay = globals().get(G_DELAY);
    setKnobRange(Ctl::FMO_DELAY_C_KNOB, 0, kDelayMax / kDelayStep);
    setKnobRange(Ctl::FMO_DELAY_F_KNOB, 0, kDelayStep - 1);
    tcControlGroup::setPosition(Ctl::FMO_DELAY_C_KNOB, uint32_t(delay / kDelayStep));
    tcControlGroup::setPosition(Ctl::FMO_DELAY_F_KNOB, uint32_t(delay % kDelayStep));
    setDisplayText(Ctl::FMO_DELAY_DSPY, QString::fromStdString(globals().label(G_DELAY)));
}
