#include "panels/cg_main.h"

#include "common/ini_store.h"
#include "common/message.h"
#include "draggers/graph_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_button.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_display.h"
#include "gui/gui_meter.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "panels/meter_body.h"
#include "presets/quick_save.h"
#include "tables/globals_map.h"
#include "tables/preset_header.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

#include <QFontMetricsF>

#include <algorithm>

namespace {

const QString kOptions = QStringLiteral("OPTIONS");

struct FlowButton
{
    int number;
    int screen;
};

const FlowButton kFlowButtons[] = {
    {Ctl::FLOW_INPUT, tcKelBench::kInputScreen},     {Ctl::FLOW_PEQ, tcKelBench::kParametricScreen},
    {Ctl::FLOW_COMP, tcKelBench::kCompressorScreen}, {Ctl::FLOW_HD_OUT, tcKelBench::kAmHdScreen},
    {Ctl::FLOW_AM_OUT, tcKelBench::kAmOutScreen},    {Ctl::FLOW_AM_TX, tcKelBench::kAmTxScreen},
    {Ctl::FLOW_SYSTEM, tcKelBench::kSystemScreen}};

// Graph view bits of the three view switches.
struct ViewSwitch
{
    int number;
    int bit;
};
const ViewSwitch kViewSwitches[] = {{Ctl::GRAPH_VIEW_AUDIO, tcGuiApGraph::kAudio},
                                    {Ctl::GRAPH_VIEW_GR, tcGuiApGraph::kGainReduction},
                                    {Ctl::GRAPH_VIEW_CNTRLS, tcGuiApGraph::kResponse}};

constexpr int kInputRangeWide = tcGuiMeter::kVUFS60;
constexpr int kInputRangeNarrow = tcGuiMeter::kVUFS30;

const uint8_t kNoFlags[2] = {0, 0};
const uint8_t kSilence[2] = {255, 255};
const uint8_t kNoReduction[2] = {0, 0};

uint8_t lowest(const uint8_t *bytes, int count)
{
    return *std::min_element(bytes, bytes + count);
}

} // namespace

tcControlGroupMain::tcControlGroupMain(tcKelBench *bench) : tcControlGroup(bench, -1)
{
    if (tcGuiApGraph *graph = findApGraph(Ctl::GRAPH)) {
        m_spectrum = std::make_unique<tcSpectrumDragger>(graph);
        graph->setSecondHandler(m_spectrum.get());
    }
}

tcControlGroupMain::~tcControlGroupMain()
{
    // The graph outlives the panels.
    if (tcGuiApGraph *graph = findApGraph(Ctl::GRAPH); graph && graph->secondHandler() == m_spectrum.get())
        graph->setSecondHandler(nullptr);
}

QStringList tcControlGroupMain::grChoiceItems()
{
    return {QStringLiteral("Auto"), QStringLiteral("Comp"), QStringLiteral("AM Lim"),
            QStringLiteral("HD Lim")};
}

QStringList tcControlGroupMain::amChoiceItems()
{
    return {QStringLiteral("AM Pos"), QStringLiteral("AM Neg")};
}

void tcControlGroupMain::init()
{
    tcControlGroup::init();
    // The status fields hold as many characters as their width takes, so a device or preset name
    // that fits stands still and only longer ones scroll.
    for (int number : {Ctl::STAT_ONLINE, Ctl::STAT_DEVICE, Ctl::STAT_PRESET})
        if (tcGuiDisplay *d = findDisplay(number)) {
            const qreal advance = QFontMetricsF(d->captionFont()).horizontalAdvance(QLatin1Char('M'));
            if (advance > 0)
                d->setWidthChars(std::clamp(int((d->width() - 6) / advance), 8, PRESET_NAME_LEN));
        }
    setDisplayClickable(Ctl::STAT_DEVICE, true);
    setDisplayClickable(Ctl::STAT_PRESET, true);

    IniStore *ini = settings();
    const bool wide = ini && ini->readInt(kOptions, QStringLiteral("IN_METER_RANGE"), 0) != 0;
    setCheck(Ctl::METER_IN_RANGE, wide);
    setInputRange(wide);
    m_grChoice = ini ? std::clamp(ini->readInt(kOptions, QStringLiteral("GR_METER"), 0), 0, 3) : 0;
    m_amChoice = ini ? std::clamp(ini->readInt(kOptions, QStringLiteral("AM_METER"), 0), 0, 1) : 0;
    setComboItems(Ctl::GR_CHOICE, grChoiceItems());
    setComboItems(Ctl::AM_CHOICE, amChoiceItems());
    refreshDerived();

    for (const ViewSwitch &v : kViewSwitches)
        setCheck(v.number, (bench()->graphView() & v.bit) != 0);
    const tcKelHost *host = bench()->environment().host;
    setCheck(Ctl::ONLINE, host && host->kelOnlineWanted());
    refreshQuickButtons();
    refreshGraphSource();
    refreshFlow();
}

void tcControlGroupMain::refreshDerived()
{
    setComboIndex(Ctl::GR_CHOICE, m_grChoice);
    setComboIndex(Ctl::AM_CHOICE, m_amChoice);
}

void tcControlGroupMain::onButton(int number)
{
    for (const FlowButton &f : kFlowButtons) {
        if (f.number == number) {
            bench()->setScreen(f.screen);
            return;
        }
    }
    orba::QuickSave *quick = bench()->environment().quickSave;
    switch (number) {
    case Ctl::SYS_ABOUT:
        emit sig_about();
        break;
    case Ctl::SYS_MINIMIZE:
        emit sig_minimize();
        break;
    case Ctl::SYS_EXIT:
        emit sig_exit_app();
        break;
    case Ctl::SAVE:
        emit sig_pset_save();
        break;
    case Ctl::TAKE:
        emit sig_pset_take();
        break;
    case Ctl::PRESETS:
        emit sig_pset_dlg();
        break;
    case Ctl::DEVICES:
        emit sig_device_dlg();
        break;
    case Ctl::GRAPH_INPUT:
        setGraphSource(0);
        break;
    case Ctl::GRAPH_PDOUT:
        setGraphSource(2);
        break;
    case Ctl::QSAVEA:
    case Ctl::QSAVEB:
        if (quick) {
            QStringList unsaved;
            const bool written = quick->select(
                number == Ctl::QSAVEA ? orba::QuickSave::A : orba::QuickSave::B, live(), &unsaved);
            refreshQuickButtons();
            if (!written)
                warnQuickSave(QLatin1Char('"') + unsaved.join(QStringLiteral("\" and \"")) +
                              QLatin1Char('"'));
        }
        break;
    case Ctl::QSAVEAB:
        if (quick) {
            const bool written = quick->storeBoth(live());
            refreshQuickButtons();
            if (!written)
                warnQuickSave(
                    QStringLiteral("\"%1\" and \"%2\"")
                        .arg(quick->filePath(orba::QuickSave::A), quick->filePath(orba::QuickSave::B)));
        }
        break;
    default:
        break;
    }
}

void tcControlGroupMain::onCombo(int number, int value)
{
    IniStore *ini = settings();
    if (number == Ctl::GR_CHOICE) {
        m_grChoice = std::clamp(value, 0, 3);
        if (ini)
            ini->writeInt(kOptions, QStringLiteral("GR_METER"), m_grChoice);
    } else if (number == Ctl::AM_CHOICE) {
        m_amChoice = std::clamp(value, 0, 1);
        if (ini)
            ini->writeInt(kOptions, QStringLiteral("AM_METER"), m_amChoice);
    }
    refreshGraphTrace();
}

void tcControlGroupMain::onCheck(int number, bool state)
{
    IniStore *ini = settings();
    switch (number) {
    case Ctl::METER_IN_RANGE:
        setInputRange(state);
        if (ini)
            ini->writeInt(kOptions, QStringLiteral("IN_METER_RANGE"), state ? 1 : 0);
        break;
    case Ctl::GRAPH_VIEW_LR: {
        const int32_t source = globals().get(G_MAP_STRM);
        globals().set(G_MAP_STRM, (source & ~1) | (state ? 1 : 0), CHANGE_USER);
        refreshGraphSource();
        break;
    }
    case Ctl::ONLINE:
        if (ini)
            ini->writeInt(kOptions, QStringLiteral("ONLINE"), state ? 1 : 0);
        emit sig_online();
        break;
    case Ctl::GRAPH_VIEW_AUDIO:
    case Ctl::GRAPH_VIEW_GR:
    case Ctl::GRAPH_VIEW_CNTRLS:
        for (const ViewSwitch &v : kViewSwitches) {
            if (v.number == number)
                setViewBit(v.bit, state);
        }
        break;
    default:
        tcControlGroup::onCheck(number, state);
        if (number == Ctl::GRAPH_VIEW_OSCOPE)
            refreshGraphTrace();
        break;
    }
}

void tcControlGroupMain::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if (number == Ctl::GRAPH_VIEW_OSCOPE)
        refreshGraphTrace();
}

void tcControlGroupMain::onDisplayActivate(int number)
{
    if (number == Ctl::STAT_DEVICE)
        emit sig_device_dlg();
    else if (number == Ctl::STAT_PRESET)
        emit sig_pset_dlg();
}

void tcControlGroupMain::setViewBit(int bit, bool on)
{
    const int mode = on ? (bench()->graphView() | bit) : (bench()->graphView() & ~bit);
    bench()->setGraphView(mode);
}

void tcControlGroupMain::setInputRange(bool wide)
{
    if (tcGuiMeter *meter = findMeter(Ctl::METER_IN))
        meter->setMode(wide ? kInputRangeWide : kInputRangeNarrow, meter->clip(), meter->channels());
}

void tcControlGroupMain::setGraphSource(int source)
{
    const int32_t value = globals().get(G_MAP_STRM);
    globals().set(G_MAP_STRM, source | (value & 1), CHANGE_USER);
    refreshGraphSource();
}

void tcControlGroupMain::refreshGraphSource()
{
    const int32_t value = globals().get(G_MAP_STRM);
    const bool output = value >= 2;
    if (tcGuiButton *b = findButton(Ctl::GRAPH_INPUT))
        b->setLampState(output ? 0 : 1);
    if (tcGuiButton *b = findButton(Ctl::GRAPH_PDOUT))
        b->setLampState(output ? 1 : 0);
    setCheck(Ctl::GRAPH_VIEW_LR, (value & 1) != 0);
    refreshGraphTrace();
}

void tcControlGroupMain::refreshGraphTrace()
{
    tcGuiApGraph *g = findApGraph(Ctl::GRAPH);
    if (!g)
        return;
    // What the processor sends follows the source: the scope first, then the alternative view
    // (gain reduction across frequency), else the spectrum of the input or the processed output.
    const int32_t source = globals().get(G_MAP_STRM);
    const int trace = globals().getBool(G_OSCOPE) ? tcGuiApGraph::kWaveTrace
                      : (source & 1)              ? tcGuiApGraph::kGainTrace
                                                  : tcGuiApGraph::kSpectrumTrace;
    g->setTrace(trace, source >= 2 ? QStringLiteral("Output") : QStringLiteral("Input"));
    g->setReductionBlock(blockName(graphReductionBlock()));
}

QString tcControlGroupMain::blockName(int grBlock)
{
    switch (grBlock) {
    case kGrAmOut:
        return QStringLiteral("AM Limiter");
    case kGrAmHd:
        return QStringLiteral("HD Limiter");
    default:
        return QStringLiteral("Compressor");
    }
}

int tcControlGroupMain::graphReductionBlock() const
{
    return bench()->screen() == tcKelBench::kCompressorScreen ? int(kGrCompressor) : grBlock();
}

void tcControlGroupMain::showStatus(int display, const QString &text, StatusLook look)
{
    if (tcGuiDisplay *d = findDisplay(display)) {
        d->setCaption(text);
        d->setState(int(look));
    }
}

void tcControlGroupMain::setOnlineCheck(bool on)
{
    setCheck(Ctl::ONLINE, on);
}

void tcControlGroupMain::showOnlineWaiting(bool waiting)
{
    tcGuiCheckBox *box = findCheckBox(Ctl::ONLINE);
    if (!box)
        return;
    if (m_onlineCaption.isNull())
        m_onlineCaption = box->caption();
    const QString caption = waiting ? QStringLiteral("CONNECTING") : m_onlineCaption;
    if (box->caption() != caption)
        box->setCaption(caption);
}

void tcControlGroupMain::warnQuickSave(const QString &files)
{
    // The memory itself still holds the settings; only the copy that outlives the run is missing.
    orba::showMessage(orba::MessageKind::Warning, bench()->window(), QStringLiteral("Quick Save"),
                      QStringLiteral("The A/B memory could not be saved to disk as %1.").arg(files));
}

void tcControlGroupMain::refreshQuickButtons()
{
    const orba::QuickSave *quick = bench()->environment().quickSave;
    if (!quick)
        return;
    const bool bCurrent = quick->current() == orba::QuickSave::B;
    auto show = [this](int number, bool on) {
        if (tcGuiButton *b = findButton(number)) {
            b->setCaptionColour(on ? kQuickOnColour : kQuickOffColour);
            b->setLampState(on ? 1 : 0);
            b->invalidate();
        }
    };
    show(Ctl::QSAVEA, !bCurrent);
    show(Ctl::QSAVEB, bCurrent);
    setCaption(Ctl::QSAVEAB, bCurrent ? QStringLiteral("A = B") : QStringLiteral("B = A"));
}

void tcControlGroupMain::refreshFlow()
{
    const SETTINGS_MAP &set = live();
    const bool peq = set.getBool(SettingId::PeqMstrIn) &&
                     (set.getBool(SettingId::Peq1In) || set.getBool(SettingId::Peq2In) ||
                      set.getBool(SettingId::Peq3In) || set.getBool(SettingId::Peq4In));
    const bool comp = set.getBool(SettingId::CompAgcIn) || set.getBool(SettingId::CompIn);
    const bool amOut = set.getBool(SettingId::AmLimIn) || set.getInt(SettingId::AmLimClipType) != 0;
    for (const FlowButton &f : kFlowButtons) {
        bool active = true;
        if (f.number == Ctl::FLOW_PEQ)
            active = peq;
        else if (f.number == Ctl::FLOW_COMP)
            active = comp;
        else if (f.number == Ctl::FLOW_AM_OUT)
            active = amOut;
        if (tcGuiButton *b = findButton(f.number))
            b->setLampState((f.screen == bench()->screen() ? 1 : 0) + (active ? 0 : 2));
    }
}

int tcControlGroupMain::grBlock() const
{
    if (m_grChoice != kGrAuto)
        return m_grChoice;
    switch (bench()->screen()) {
    case tcKelBench::kAmHdScreen:
        return kGrAmHd;
    case tcKelBench::kAmOutScreen:
        return kGrAmOut;
    default:
        return kGrCompressor;
    }
}

void tcControlGroupMain::meterFrame(const uint8_t *d)
{
    using namespace orba::meterbody;
    if (tcGuiMeter *m = findMeter(Ctl::METER_IN))
        m->setLevels(d + kInputLevels, d + kInputLevels + 2, d + kInputLevels + 4);
    if (tcGuiMeter *m = findMeter(Ctl::METER_GR)) {
        uint8_t levels[2];
        switch (grBlock()) {
        case kGrAmOut:
            std::copy(d + kAmOutReduction, d + kAmOutReduction + 2, levels);
            break;
        case kGrAmHd:
            std::copy(d + kHdReduction, d + kHdReduction + 2, levels);
            break;
        default:
            levels[0] = lowest(d + kCompLeft, 5);
            levels[1] = lowest(d + kCompRight, 5);
            break;
        }
        m->setLevels(levels, levels, kNoFlags);
    }
    if (tcGuiMeter *m = findMeter(Ctl::METER_AM)) {
        const size_t at = kAmLevels[m_amChoice == 1 ? 1 : 0];
        m->setLevels(d + at, d + at + 2, kNoFlags);
    }
    if (tcGuiMeter *m = findMeter(Ctl::METER_HD))
        m->setLevels(d + kHdLevels, d + kHdLevels + 2, kNoFlags);
    if (tcGuiApGraph *g = findApGraph(Ctl::GRAPH)) {
        g->setSpectrum(d + kGraphData);
        if (g->drawsOwnReduction())
            g->setReduction(reductionBands(d));
    }
}

std::vector<tcGuiApGraph::ReductionBand> tcControlGroupMain::reductionBands(const uint8_t *d) const
{
    using namespace orba::meterbody;
    std::vector<tcGuiApGraph::ReductionBand> bands;
    switch (graphReductionBlock()) {
    case kGrAmOut:
        bands.push_back({20.0f, 20000.0f, d[kAmOutReduction], d[kAmOutReduction + 1]});
        break;
    case kGrAmHd:
        bands.push_back({20.0f, 20000.0f, d[kHdReduction], d[kHdReduction + 1]});
        break;
    default: {
        // The compressor's five bands between its crossovers.
        const SETTINGS_MAP &set = live();
        const float edges[6] = {20.0f,
                                set.getFloat(SettingId::CompXfr1),
                                set.getFloat(SettingId::CompXfr2),
                                set.getFloat(SettingId::CompXfr3),
                                set.getFloat(SettingId::CompXfr4),
                                20000.0f};
        for (int b = 0; b < 5; ++b)
            bands.push_back({edges[b], edges[b + 1], d[kCompLeft + b], d[kCompRight + b]});
        break;
    }
    }
    return bands;
}

void tcControlGroupMain::resetMeters()
{
    for (int n : {Ctl::METER_IN, Ctl::METER_AM, Ctl::METER_HD}) {
        if (tcGuiMeter *m = findMeter(n))
            m->setLevels(kSilence, kSilence, kNoFlags);
    }
    if (tcGuiMeter *m = findMeter(Ctl::METER_GR))
        m->setLevels(kNoReduction, kNoReduction, kNoFlags);
    if (tcGuiApGraph *g = findApGraph(Ctl::GRAPH)) {
        g->clearSpectrum();
        g->setReduction({});
    }
}
