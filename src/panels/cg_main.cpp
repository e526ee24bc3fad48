#include "panels/cg_main.h"

#include "common/ini_store.h"
#include "common/message.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_button.h"
#include "gui/gui_display.h"
#include "gui/gui_meter.h"
#include "panels/kel_bench.h"
#include "panels/meter_body.h"
#include "presets/quick_save.h"
#include "tables/globals_map.h"
#include "tables/preset_header.h"
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
    {1014, tcKelBench::kInputScreen},      {1016, tcKelBench::kParametricScreen},
    {1018, tcKelBench::kCompressorScreen}, {1020, tcKelBench::kAmHdScreen},
    {1021, tcKelBench::kAmOutScreen},      {1022, tcKelBench::kAmTxScreen},
    {1023, tcKelBench::kSystemScreen}};

// Graph view bits of the three view switches.
struct ViewSwitch
{
    int number;
    int bit;
};
const ViewSwitch kViewSwitches[] = {
    {1039, tcGuiApGraph::kAudio}, {1040, tcGuiApGraph::kGainReduction}, {1041, tcGuiApGraph::kResponse}};

constexpr int kInputRangeWide = tcGuiMeter::kVUFS60;
constexpr int kInputRangeNarrow = tcGuiMeter::kVUFS30;
constexpr int kHeadphoneMax = 100;

const uint8_t kNoFlags[2] = {0, 0};
const uint8_t kSilence[2] = {255, 255};
const uint8_t kNoReduction[2] = {0, 0};

uint8_t lowest(const uint8_t *bytes, int count)
{
    return *std::min_element(bytes, bytes + count);
}

} // namespace

tcControlGroupMain::tcControlGroupMain(tcKelBench *bench) : tcControlGroup(bench, orba::panels::kMainObjects)
{
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
    // The status fields hold as many characters as their width takes, so a device or preset name
    // that fits stands still and only longer ones scroll.
    for (int number : {1004, 1005, 1006})
        if (tcGuiDisplay *d = findDisplay(number)) {
            const qreal advance = QFontMetricsF(d->captionFont()).horizontalAdvance(QLatin1Char('M'));
            if (advance > 0)
                d->setWidthChars(std::clamp(int((d->width() - 6) / advance), 8, PRESET_NAME_LEN));
        }
    setDisplayClickable(1005, true);
    setKnobRange(1043, 0, kHeadphoneMax);
    setPosition(1043, uint32_t(globals().get(G_HDPN_LEV)));

    IniStore *ini = settings();
    const bool wide = ini && ini->readInt(kOptions, QStringLiteral("IN_METER_RANGE"), 0) != 0;
    setCheck(1009, wide);
    setInputRange(wide);
    m_grChoice = ini ? std::clamp(ini->readInt(kOptions, QStringLiteral("GR_METER"), 0), 0, 3) : 0;
    m_amChoice = ini ? std::clamp(ini->readInt(kOptions, QStringLiteral("AM_METER"), 0), 0, 1) : 0;
    setComboItems(1044, grChoiceItems());
    setComboItems(1045, amChoiceItems());
    refreshDerived();

    for (const ViewSwitch &v : kViewSwitches)
        setCheck(v.number, (bench()->graphView() & v.bit) != 0);
    setCheck(1042, globals().getBool(G_OSCOPE));
    const tcKelHost *host = bench()->environment().host;
    setCheck(1035, host && host->kelOnlineWanted());
    refreshQuickButtons();
    refreshGraphSource();
    refreshFlow();
}

void tcControlGroupMain::refreshDerived()
{
    setComboIndex(1044, m_grChoice);
    setComboIndex(1045, m_amChoice);
}

void tcControlGroupMain::onKnob(int number, int position)
{
    if (number == 1043)
        globals().set(G_HDPN_LEV, int32_t(position), CHANGE_USER);
    setPosition(number, uint32_t(position));
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
    case 1001:
        emit sig_about();
        break;
    case 1002:
        emit sig_minimize();
        break;
    case 1003:
        emit sig_exit_app();
        break;
    case 1031:
        emit sig_pset_save();
        break;
    case 1032:
        emit sig_pset_take();
        break;
    case 1033:
        emit sig_pset_dlg();
        break;
    case 1034:
        emit sig_device_dlg();
        break;
    case 1025:
        setGraphSource(0);
        break;
    case 1027:
        setGraphSource(2);
        break;
    case 1036:
    case 1037:
        if (quick) {
            const QString leaving = quick->filePath(quick->current());
            const bool written =
                quick->select(number == 1036 ? orba::QuickSave::A : orba::QuickSave::B, live());
            refreshQuickButtons();
            if (!written)
                warnQuickSave(QStringLiteral("\"%1\"").arg(leaving));
        }
        break;
    case 1038:
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
    if (number == 1044) {
        m_grChoice = std::clamp(value, 0, 3);
        if (ini)
            ini->writeInt(kOptions, QStringLiteral("GR_METER"), m_grChoice);
    } else if (number == 1045) {
        m_amChoice = std::clamp(value, 0, 1);
        if (ini)
            ini->writeInt(kOptions, QStringLiteral("AM_METER"), m_amChoice);
    }
}

void tcControlGroupMain::onCheck(int number, bool state)
{
    IniStore *ini = settings();
    switch (number) {
    case 1009:
        setInputRange(state);
        if (ini)
            ini->writeInt(kOptions, QStringLiteral("IN_METER_RANGE"), state ? 1 : 0);
        break;
    case 1024: {
        const int32_t source = globals().get(G_MAP_STRM);
        globals().set(G_MAP_STRM, (source & ~1) | (state ? 1 : 0), CHANGE_USER);
        refreshGraphSource();
        break;
    }
    case 1035:
        if (ini)
            ini->writeInt(kOptions, QStringLiteral("ONLINE"), state ? 1 : 0);
        emit sig_online();
        break;
    case 1039:
    case 1040:
    case 1041:
        for (const ViewSwitch &v : kViewSwitches) {
            if (v.number == number)
                setViewBit(v.bit, state);
        }
        break;
    case 1042:
        globals().setBool(G_OSCOPE, state, CHANGE_USER);
        break;
    default:
        break;
    }
}

void tcControlGroupMain::onDisplayActivate(int number)
{
    if (number == 1005)
        emit sig_device_dlg();
}

void tcControlGroupMain::setViewBit(int bit, bool on)
{
    const int mode = on ? (bench()->graphView() | bit) : (bench()->graphView() & ~bit);
    bench()->setGraphView(mode);
}

void tcControlGroupMain::setInputRange(bool wide)
{
    if (tcGuiMeter *meter = findMeter(1010))
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
    if (tcGuiButton *b = findButton(1025))
        b->setLampState(output ? 0 : 1);
    if (tcGuiButton *b = findButton(1027))
        b->setLampState(output ? 1 : 0);
    setCheck(1024, (value & 1) != 0);
}

void tcControlGroupMain::showStatus(int display, const QString &text, int code)
{
    if (tcGuiDisplay *d = findDisplay(display)) {
        d->setCaption(text);
        d->setState(code);
    }
}

void tcControlGroupMain::setOnlineCheck(bool on)
{
    setCheck(1035, on);
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
    show(1036, !bCurrent);
    show(1037, bCurrent);
    setCaption(1038, bCurrent ? QStringLiteral("A = B") : QStringLiteral("B = A"));
}

void tcControlGroupMain::refreshFlow()
{
    const SETTINGS_MAP &set = live();
    const bool peq = set.getRaw(769) != 0 && (set.getRaw(770) != 0 || set.getRaw(771) != 0 ||
                                              set.getRaw(772) != 0 || set.getRaw(773) != 0);
    const bool comp = set.getRaw(1024) != 0 || set.getRaw(1025) != 0;
    const bool amOut = set.getRaw(1537) != 0 || set.getRaw(1544) != 0;
    for (const FlowButton &f : kFlowButtons) {
        bool active = true;
        if (f.number == 1016)
            active = peq;
        else if (f.number == 1018)
            active = comp;
        else if (f.number == 1021)
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
    if (tcGuiMeter *m = findMeter(1010))
        m->setLevels(d + kInputLevels, d + kInputLevels + 2, d + kInputLevels + 4);
    if (tcGuiMeter *m = findMeter(1011)) {
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
    if (tcGuiMeter *m = findMeter(1012)) {
        const size_t at = kAmLevels[m_amChoice == 1 ? 1 : 0];
        m->setLevels(d + at, d + at + 2, kNoFlags);
    }
    if (tcGuiMeter *m = findMeter(1013))
        m->setLevels(d + kHdLevels, d + kHdLevels + 2, kNoFlags);
    if (tcGuiApGraph *g = findApGraph(1007))
        g->setSpectrum(d + kGraphData);
}

void tcControlGroupMain::resetMeters()
{
    for (int n : {1010, 1012, 1013}) {
        if (tcGuiMeter *m = findMeter(n))
            m->setLevels(kSilence, kSilence, kNoFlags);
    }
    if (tcGuiMeter *m = findMeter(1011))
        m->setLevels(kNoReduction, kNoReduction, kNoFlags);
    if (tcGuiApGraph *g = findApGraph(1007))
        g->clearSpectrum();
}
