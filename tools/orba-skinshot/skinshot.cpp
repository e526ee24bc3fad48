#include "skinshot.h"

#include "orba-skingen/default_skin_objects.h"

#include "gui/gui_apgraph.h"
#include "gui/gui_button.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_dyngraph.h"
#include "gui/gui_knob.h"
#include "gui/gui_lamp.h"
#include "gui/gui_meter.h"
#include "gui/gui_radiogroup.h"
#include "gui/gui_radioitem.h"
#include "gui/skin_elements.h"
#include "skin/plain_bench.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace orba::skinshot {

using namespace orba::skingen;

namespace {

template <class T> T *find(tcPlainBench &bench, const char *id, int kind)
{
    return static_cast<T *>(tcGuiObject::find(&bench, NameString(id), kind));
}

// Knob positions (fraction of the range) and the value text of the knob's display.
struct KnobDemo
{
    const char *knob;
    double position;
    const char *display;
    const char *text;
};

const KnobDemo kKnobs[] = {
    {"HDPN_KNOB", 0.62, nullptr, nullptr},
    {"INPUT_ANA_GAIN_KNOB", 0.56, "INPUT_ANA_GAIN_DSPY", "+1.5 dB"},
    {"INPUT_AES_GAIN_KNOB", 0.5, "INPUT_AES_GAIN_DSPY", "0.0 dB"},
    {"INPUT_OFFSET_KNOB", 0.44, "INPUT_OFFSET_DSPY", "-1.0 dB"},
    {"INPUT_HPFS_KNOB", 0.3, "INPUT_HPFS_DSPY", "40 Hz"},
    {"INPUT_HPFD_KNOB", 0.46, "INPUT_HPFD_DSPY", "120 Hz"},
    {"PEQ1_F_KNOB", 0.26, "PEQ1_F_DSPY", "80 Hz"},
    {"PEQ1_Q_KNOB", 0.5, "PEQ1_Q_DSPY", "1.00 oct"},
    {"PEQ1_L_KNOB", 0.62, "PEQ1_L_DSPY", "+3.0 dB"},
    {"PEQ2_F_KNOB", 0.45, "PEQ2_F_DSPY", "400 Hz"},
    {"PEQ2_Q_KNOB", 0.34, "PEQ2_Q_DSPY", "0.70 oct"},
    {"PEQ2_L_KNOB", 0.42, "PEQ2_L_DSPY", "-2.0 dB"},
    {"PEQ3_F_KNOB", 0.63, "PEQ3_F_DSPY", "2.50 kHz"},
    {"PEQ3_Q_KNOB", 0.62, "PEQ3_Q_DSPY", "1.40 oct"},
    {"PEQ3_L_KNOB", 0.58, "PEQ3_L_DSPY", "+2.0 dB"},
    {"PEQ4_F_KNOB", 0.86, "PEQ4_F_DSPY", "10.0 kHz"},
    {"PEQ4_Q_KNOB", 0.4, "PEQ4_Q_DSPY", "0.80 oct"},
    {"PEQ4_L_KNOB", 0.66, "PEQ4_L_DSPY", "+4.0 dB"},
    {"COMP_DRV_KNOB", 0.55, "COMP_DRV_DSPY", "+6.0 dB"},
    {"COMP_MSTR_KNOB", 0.57, "COMP_MSTR_DSPY", "+2.0 dB"},
    {"AGC_FRZDLY_KNOB", 0.3, "AGC_FRZDLY_DSPY", "250 mS"},
    {"AGC_BKOFF_KNOB", 0.4, "AGC_BKOFF_DSPY", "-12 dB"},
    {"AMHD_TRIM_KNOB", 0.5, "AMHD_TRIM_DSPY", "0.0 dB"},
    {"AMHD_AES_GAIN_KNOB", 0.8, "AMHD_AES_GAIN_DSPY", "-2.0 dB"},
    {"AMHD_LIM_THR_KNOB", 0.7, "AMHD_LIM_THR_DSPY", "-1.5 dB"},
    {"AMHD_LIM_ATK_KNOB", 0.3, "AMHD_LIM_ATK_DSPY", "2.0 mS"},
    {"AMHD_LIM_RLS_KNOB", 0.45, "AMHD_LIM_RLS_DSPY", "150 mS"},
    {"AMHD_LIM_RLL_KNOB", 0.6, "AMHD_LIM_RLL_DSPY", "1.20 S"},
    {"AMHD_CEILING_KNOB", 0.85, "AMHD_CEILING_DSPY", "-0.5 dB"},
    {"AMHD_RECOVERY_KNOB", 0.4, "AMHD_RECOVERY_DSPY", "40 %"},
    {"FMO_MSTR_KNOB", 0.5, "FMO_MSTR_DSPY", "0.0 dB"},
    {"FMO_LIM_THR_KNOB", 0.6, "FMO_LIM_THR_DSPY", "-2.0 dB"},
    {"FMO_LIM_ATK_KNOB", 0.25, "FMO_LIM_ATK_DSPY", "1.5 mS"},
    {"FMO_LIM_RLS_KNOB", 0.4, "FMO_LIM_RLS_DSPY", "120 mS"},
    {"FMO_LIM_RLL_KNOB", 0.55, "FMO_LIM_RLL_DSPY", "1.00 S"},
    {"FMO_DELAY_C_KNOB", 0.2, "FMO_DELAY_DSPY", "123.4 mS"},
    {"FMO_DELAY_F_KNOB", 0.47, nullptr, nullptr},
    {"FMO_MBLIM_DRV_KNOB", 0.5, "FMO_MBLIM_DRV_DSPY", "+3.0 dB"},
    {"AMT_MODULATION_KNOB", 0.6, "AMT_MODULATION_DSPY", "125 %"},
    {"AMT_OUT_A_KNOB", 0.74, "AMT_OUT_A_DSPY", "+4.0 dBu"},
    {"AMT_OUT_B_KNOB", 0.74, "AMT_OUT_B_DSPY", "+4.0 dBu"},
    {"AMT_TEST_OSC_KNOB", 0.5, "AMT_TEST_OSC_DSPY", "1000 Hz"},
    {"AMT_TEST_LVL_KNOB", 0.7, "AMT_TEST_LVL_DSPY", "-10 dB"},
    {"AMT_AES_GAIN_KNOB", 0.5, "AMT_AES_GAIN_DSPY", "0.0 dB"},
};

const char *const kChecked[] = {
    "GRAPH_VIEW_AUDIO", "ONLINE",           "INPUT_HPFS_IN",    "INPUT_HPFD_IN", "INPUT_SYMMETRY",
    "INPUT_FAILOVER",   "PEQ1_ENABLE",      "PEQ2_ENABLE",      "PEQ4_ENABLE",   "PEQ_ENABLE",
    "COMP_AGC_ENABLE",  "COMP_COMP_ENABLE", "AMHD_LIM_ENABLE",  "AMHD_LIM_LINK", "AMHD_HF_PRO_I",
    "FMO_LIM_LINK",     "FMO_LIM_LONG",     "FMO_MBLIM_ENABLE", "AMT_PHASE_B",   "AMT_AES_DEEMPH",
    "SYSTEM_FOLLOW",
};

struct ComboDemo
{
    const char *id;
    QStringList items; // empty: a step combo showing `text`
    int index;
    const char *text;
};

const QList<ComboDemo> &comboDemos()
{
    static const QList<ComboDemo> combos = {
        {"GR_CHOICE", {"AUTO", "AGC", "COMP", "HD", "AM"}, 0, nullptr},
        {"AM_CHOICE", {"OUT", "LIM"}, 0, nullptr},
        {"HDPN_SRC", {"Input", "AM output", "HD output"}, 1, nullptr},
        {"COMP_DDRV", {}, 0, "-3.0 dB"},
        {"COMP_DMSTR", {}, 0, "0.0 dB"},
        {"AGC_COUPLING", {}, 0, "50 %"},
        {"AGC_FRZ_THR", {}, 0, "-30 dB"},
        {"COMP_XFR1", {}, 0, "120 Hz"},
        {"COMP_XFR2", {}, 0, "420 Hz"},
        {"COMP_XFR3", {}, 0, "1.6 kHz"},
        {"COMP_XFR4", {}, 0, "5.0 kHz"},
        {"AMHD_SOURCE", {"Processed", "Input", "AM output"}, 0, nullptr},
        {"AMHD_LIM_CLIP", {"Off", "Soft clip", "Hard clip"}, 1, nullptr},
        {"AMHD_BANDWIDTH", {}, 0, "15 kHz"},
        {"AMHD_HF_PRO_F", {}, 0, "12 kHz"},
        {"FMO_LIM_CLIP", {"Off", "Soft clip", "Hard clip"}, 0, nullptr},
        {"FMO_EMP_POS", {"Pre multiband", "Pre limiter", "Post"}, 1, nullptr},
        {"FMO_AM_EMP", {"Flat", "50 us", "75 us"}, 2, nullptr},
        {"FMO_MBLIM_KNEE", {"Hard", "Medium", "Soft"}, 1, nullptr},
        {"FMO_MBLIM_MODE", {"Normal", "Dense"}, 0, nullptr},
        {"FMO_BCLP_DRV", {}, 0, "+3.0 dB"},
        {"FMO_BCLP_STROKE", {"Light", "Medium", "Heavy"}, 1, nullptr},
        {"FMO_BCLP_TRIM", {}, 0, "-1.0 dB"},
        {"FMO_BCLP_FREQ", {}, 0, "110 Hz"},
        {"AMT_FILTER", {"4.5 kHz", "6.0 kHz", "7.5 kHz", "9.0 kHz", "10.0 kHz"}, 3, nullptr},
        {"AMT_WIDTH", {"Mono", "Stereo"}, 0, nullptr},
        {"AMT_LFTILT_F_A", {}, 0, "60 Hz"},
        {"AMT_LFTILT_Q_A", {}, 0, "0.7"},
        {"AMT_LFTILT_L_A", {}, 0, "+1.5 dB"},
        {"AMT_LFTILT_F_B", {}, 0, "60 Hz"},
        {"AMT_LFTILT_Q_B", {}, 0, "0.7"},
        {"AMT_LFTILT_L_B", {}, 0, "+1.0 dB"},
        {"AMT_HFTILT_F_A", {}, 0, "8.0 kHz"},
        {"AMT_HFTILT_Q_A", {}, 0, "1.0"},
        {"AMT_HFTILT_L_A", {}, 0, "-2.0 dB"},
        {"AMT_HFTILT_F_B", {}, 0, "8.0 kHz"},
        {"AMT_HFTILT_Q_B", {}, 0, "1.0"},
        {"AMT_HFTILT_L_B", {}, 0, "-2.0 dB"},
    };
    return combos;
}

struct LampDemo
{
    const char *id;
    int state;
    const char *text;
};

const LampDemo kLamps[] = {
    {"INPUT_ANA_FAIL", 1, "Analog (active)"},
    {"INPUT_AES_FAIL", 0, "AES"},
    {"STATUS_TEMP", 0, "Temp. 41.5 C"},
    {"STATUS_ANA", 1, "Analog (active)"},
    {"STATUS_AES", 0, "AES"},
    {"FMO_EMP_POS_PRELIM", 1, nullptr},
    {"FMO_PREEMP_75", 1, nullptr},
};

const char *const kSelectedItems[] = {"INPUT_SRC_LINE", "PEQ_POS_PRE", "COMP_TYPE_C_THR", "AGC_FRZMOD_OOZE",
                                      "FMO_MBLIM_TYPE_THR"};

// A deterministic spectrum: a broad music-like slope with some ripple, as spectrum bytes.
void spectrum(uint8_t *data, double tilt, uint32_t seed)
{
    for (int i = 0; i < tcGuiApGraph::kSpectrumPoints; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double t = i / double(tcGuiApGraph::kSpectrumPoints);
        const double noise = ((seed >> 24) & 0xFF) / 255.0 - 0.5;
        const double dB = -10 - tilt * std::pow(t, 1.6) + 5 * std::exp(-std::pow((t - 0.18) * 6, 2)) +
                          2.2 * std::sin(i * 0.09) + 2.5 * noise;
        const int b = int(255 * (1 + dB / 50.0) + 0.5);
        data[i] = uint8_t(std::clamp(b, 2, 255));
    }
    data[0] &= 0xFE; // a spectrum frame, not gain reduction
}

void applyDemo(tcPlainBench &bench, int screen)
{
    for (const KnobDemo &k : kKnobs) {
        if (auto *knob = find<tcGuiKnob>(bench, k.knob, kKnob))
            knob->setValue(int(k.position * (knob->maximum() - knob->minimum()) + 0.5) + knob->minimum());
        if (k.display) {
            if (auto *d = find<tcGuiDisplay>(bench, k.display, kDisplay))
                d->setCaption(QLatin1String(k.text));
        }
    }
    for (const char *id : kChecked) {
        if (auto *c = find<tcGuiCheckBox>(bench, id, kCheckBox))
            c->setChecked(true);
    }
    for (const ComboDemo &c : comboDemos()) {
        auto *combo = find<tcGuiCombo>(bench, c.id, kCombo);
        if (!combo)
            continue;
        if (c.items.isEmpty()) {
            combo->setUserText(QLatin1String(c.text));
        } else {
            combo->setItems(c.items);
            combo->setIndex(c.index, false);
        }
    }
    for (const LampDemo &l : kLamps) {
        if (auto *lamp = find<tcGuiLamp>(bench, l.id, kLamp)) {
            lamp->setState(l.state);
            if (l.text)
                lamp->setCaption(QLatin1String(l.text));
        }
    }
    for (const char *id : kSelectedItems) {
        auto *item = find<tcGuiRadioItem>(bench, id, kRadioItem);
        if (item && item->group())
            item->group()->select(item);
    }

    // Status strip, presets and the signal-flow buttons (the AM output is bypassed).
    const std::pair<const char *, const char *> status[] = {
        {"STAT_ONLINE", "Online"}, {"STAT_DEVICE", "KBRA-AM"}, {"STAT_PRESET", "Talk 2"}};
    for (const auto &[id, text] : status) {
        if (auto *d = find<tcGuiDisplay>(bench, id, kDisplay))
            d->setCaption(QLatin1String(text));
    }
    if (auto *b = find<tcGuiButton>(bench, "QSAVEA", kButton)) {
        b->setLampState(1);
        b->setCaptionColour(0xFF60E060u);
    }
    if (auto *b = find<tcGuiButton>(bench, "QSAVEAB", kButton))
        b->setCaption(QStringLiteral("B = A"));
    if (auto *b = find<tcGuiButton>(bench, "GRAPH_PDOUT", kButton))
        b->setLampState(1);
    const std::pair<const char *, int> flow[] = {{"FLOW_INPUT", kInput},     {"FLOW_PEQ", kParametric},
                                                 {"FLOW_COMP", kCompressor}, {"FLOW_HD_OUT", kAmHd},
                                                 {"FLOW_AM_OUT", kAmOut},    {"FLOW_AM_TX", kAmTx},
                                                 {"FLOW_SYSTEM", kSystem}};
    for (const auto &[id, s] : flow) {
        if (auto *b = find<tcGuiButton>(bench, id, kButton))
            b->setLampState((s == screen ? 1 : 0) + (s == kAmOut ? 2 : 0));
    }

    // Meters: input, gain reduction, AM with a recent overload, HD.
    const std::pair<const char *, std::array<uint8_t, 6>> meters[] = {
        {"METER_IN", {44, 52, 20, 28, 0, 0}},
        {"METER_GR", {26, 34, 255, 255, 0, 0}},
        {"METER_AM", {10, 14, 2, 6, 1, 0}},
        {"METER_HD", {36, 40, 16, 20, 0, 0}},
    };
    for (const auto &[id, v] : meters) {
        if (auto *m = find<tcGuiMeter>(bench, id, kMeter))
            m->setLevels(v.data(), v.data() + 2, v.data() + 4);
    }

    // Graphs: the analyser shows the output spectrum; the screens' graphs their own data.
    struct GraphDemo
    {
        const char *id;
        bool stereo;
        double tilt;
        uint32_t seed;
    };
    const GraphDemo graphs[] = {
        {"GRAPH", true, 15, 7}, {"AMHD_GRAPH", false, 30, 11}, {"FMO_GRAPH", false, 20, 5}};
    uint8_t data[tcGuiApGraph::kSpectrumPoints];
    for (const GraphDemo &d : graphs) {
        if (auto *g = find<tcGuiApGraph>(bench, d.id, kApGraph)) {
            g->setMode(tcGuiApGraph::kAudio);
            g->setChannel(0, d.stereo);
            spectrum(data, d.tilt, d.seed);
            g->setSpectrum(data);
        }
    }
    if (auto *g = find<tcGuiDynGraph>(bench, "COMP_GRAPH", kDynGraph)) {
        g->configure(3, 0, 5);
        for (int i = 0; i < 5; ++i)
            g->setCurve(i, -38.0f + 4 * i, 2.0f + 0.5f * i, 3.0f + i, 0, 0, 0, 1);
    }
}

bool visibleOnScreen(const BoundObject &b, int screen)
{
    if (b.screen != kMain && b.screen != screen)
        return false;
    // As the panels show them in the demonstration state (stereo filters off, AM width mono).
    return QLatin1String(b.name) != QLatin1String("COMP_DMSTR");
}

} // namespace

std::unique_ptr<tcPlainBench> loadSkin(const QString &folder, QWidget *host, QStringList *messages)
{
    auto bench = std::make_unique<tcPlainBench>(folder, &guiSkinVocabulary());
    bench->setQuiet(true);
    bench->setHost(host);
    const int result = bench->loadSkin();
    if (messages)
        *messages = bench->messages();
    if (result < 0)
        return nullptr;
    for (tcBenchObject *o : bench->objects())
        static_cast<tcGuiObject *>(o)->setHostWidget(host);
    return bench;
}

void showScreen(tcPlainBench &bench, int screen)
{
    for (tcBenchObject *o : bench.objects())
        static_cast<tcGuiObject *>(o)->hide();
    if (auto *background = tcGuiObject::find(&bench, NameString("BKGRND"), kImage))
        background->setVisible(true);
    for (const BoundObject &b : kBoundObjects) {
        if (visibleOnScreen(b, screen)) {
            if (auto *o = tcGuiObject::find(&bench, NameString(b.name), b.kind))
                o->setVisible(true);
        }
    }
    applyDemo(bench, screen);
}

QImage render(tcPlainBench &bench, double scale)
{
    const bool scaled = std::abs(scale - 1.0) > 1e-6;
    bench.setScaling(scaled, float(scale), float(scale));
    QImage image(int(kWindowWidth * scale + 0.5), int(kWindowHeight * scale + 0.5), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    bench.paint(painter, image.rect());
    painter.end();
    return image;
}

} // namespace orba::skinshot
