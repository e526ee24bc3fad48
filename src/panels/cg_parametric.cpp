#include "panels/cg_parametric.h"

#include "draggers/peq_dragger.h"
#include "gui/gui_apgraph.h"
#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

namespace {

constexpr int kKnobsPerSection = 3;
constexpr int kKnobCount = tcControlGroupParametric::kSections * kKnobsPerSection;

bool isSectionKnob(int number)
{
    return number >= Ctl::PEQ1_F_KNOB && number < Ctl::PEQ1_F_KNOB + kKnobCount;
}

} // namespace

void applyPeqColours(tcKelBench *bench, tcPEQDragger *dragger)
{
    if (!bench || !dragger)
        return;
    std::array<QRgb, tcPEQDragger::kSections> sections{};
    const char *names[tcPEQDragger::kSections] = {"PEQ1color", "PEQ2color", "PEQ3color", "PEQ4color"};
    for (int s = 0; s < tcPEQDragger::kSections; ++s) {
        sections[size_t(s)] = dragger->colour(s);
        bench->colour(names[s], &sections[size_t(s)]);
    }
    QRgb sum = dragger->sumColour();
    bench->colour("PEQSUMcolor", &sum);
    dragger->setColours(sections, sum);
}

std::unique_ptr<tcPEQDragger> makeBlockEditor(tcKelBench *bench, tcGuiApGraph *graph, tcBarInterface *panel,
                                              uint16_t firstIn)
{
    auto d = std::make_unique<tcPEQDragger>(graph, panel, bench->environment().live);
    applyPeqColours(bench, d.get());
    for (int s = 0; s < tcPEQDragger::kSections; ++s) {
        tcPEQDragger::SectionBinding b;
        b.enableId = uint16_t(firstIn + s);
        b.frequencyId = uint16_t(firstIn + 4 + s);
        b.bandwidthId = uint16_t(firstIn + 8 + s);
        b.liftId = uint16_t(firstIn + 12 + s);
        d->bindSection(s, b);
    }
    return d;
}

void loadBlockSection(const SETTINGS_MAP &live, uint16_t firstIn, int s, tcPEQDragger *dragger)
{
    if (!dragger || s < 0 || s >= tcPEQDragger::kSections)
        return;
    dragger->setSection(
        s, live.getBool(uint16_t(firstIn + s)), double(live.getFloat(uint16_t(firstIn + 4 + s))),
        double(live.getFloat(uint16_t(firstIn + 8 + s))), double(live.getFloat(uint16_t(firstIn + 12 + s))));
    dragger->requestRedraw();
}

void detachPeqDragger(tcPEQDragger *dragger)
{
    if (dragger && dragger->graph() && dragger->graph()->dragger() == dragger)
        dragger->graph()->setDragger(nullptr, false);
}

tcControlGroupParametric::tcControlGroupParametric(tcKelBench *bench) : tcControlGroup(bench, 2) {}

tcControlGroupParametric::~tcControlGroupParametric()
{
    detachPeqDragger(m_dragger.get());
}

// The screen's parameters run in the same blocks of four as the other equalisers.
static_assert(SettingId::Peq1Freq == SettingId::Peq1In + 4 && SettingId::Peq1Bw == SettingId::Peq1In + 8 &&
              SettingId::Peq1Lift == SettingId::Peq1In + 12);

void tcControlGroupParametric::init()
{
    m_dragger = makeBlockEditor(bench(), bench()->mainGraph(), this, SettingId::Peq1In);
    // Edits go through the knobs and switches, so that they and their displays follow.
    for (int s = 0; s < kSections; ++s) {
        tcPEQDragger::SectionBinding b = m_dragger->sectionBinding(s);
        b.enableObject = Ctl::PEQ1_ENABLE + s;
        b.frequencyKnob = Ctl::PEQ1_F_KNOB + kKnobsPerSection * s;
        b.bandwidthKnob = b.frequencyKnob + 1;
        b.liftKnob = b.frequencyKnob + 2;
        m_dragger->bindSection(s, b);
    }
    loadSections();
    tcControlGroup::init();
}

void tcControlGroupParametric::loadSections()
{
    for (int s = 0; s < kSections; ++s)
        loadBlockSection(live(), SettingId::Peq1In, s, m_dragger.get());
    m_dragger->setMaster(live().getBool(SettingId::PeqMstrIn));
    m_dragger->requestRedraw();
}

void tcControlGroupParametric::refreshAll()
{
    tcControlGroup::refreshAll();
    if (m_dragger)
        loadSections();
}

void tcControlGroupParametric::setPosition(int number, uint32_t raw)
{
    tcControlGroup::setPosition(number, raw);
    if (m_dragger && isSectionKnob(number))
        loadBlockSection(live(), SettingId::Peq1In, (number - Ctl::PEQ1_F_KNOB) / kKnobsPerSection,
                         m_dragger.get());
}

void tcControlGroupParametric::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if (number < Ctl::PEQ1_ENABLE || number > Ctl::PEQ_ENABLE)
        return;
    if (m_dragger) {
        if (number == Ctl::PEQ_ENABLE)
            m_dragger->setMaster(state);
        else
            m_dragger->setEnabled(number - Ctl::PEQ1_ENABLE, state);
        m_dragger->requestRedraw();
    }
    if (bench()->mainPanel())
        bench()->mainPanel()->refreshFlow();
}

void tcControlGroupParametric::setUpGraph(tcGuiApGraph *graph)
{
    if (!graph || !m_dragger)
        return;
    graph->setCustomAxes(nullptr, nullptr, false);
    graph->setExtraTitle(QStringLiteral("Parametric EQ Response"), false);
    graph->setDragger(m_dragger.get(), false);
    graph->markDirty(tcGuiGraph::kRedraw | tcGuiGraph::kRepaint);
}
