#include "panels/cg_input.h"

#include "panels/kel_bench.h"
#include "panels/meter_body.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <cstdlib>

namespace {

constexpr uint16_t kSource = 256, kStereo = 270;

struct KnobBinding
{
    int knob;
    int display;
    uint16_t id;
};
const KnobBinding kKnobs[] = {
    {2009, 2012, 257}, {2013, 2018, 266}, {2019, 2020, 258}, {2028, 2029, 261}, {2030, 2031, 267},
};

struct CheckBinding
{
    int box;
    uint16_t id;
};
const CheckBinding kChecks[] = {{2025, kStereo}, {2026, 268}, {2027, 269}, {2032, 262}};
constexpr int kFailover = 2037;

const KnobBinding *knobBinding(int number)
{
    for (const KnobBinding &k : kKnobs) {
        if (k.knob == number)
            return &k;
    }
    return nullptr;
}

const KnobBinding *displayBinding(int number)
{
    for (const KnobBinding &k : kKnobs) {
        if (k.display == number)
            return &k;
    }
    return nullptr;
}

} // namespace

tcControlGroupInput::tcControlGroupInput(tcKelBench *bench)
    : tcControlGroup(bench, orba::panels::kInputObjects)
{
}

void tcControlGroupInput::init()
{
    for (const KnobBinding &k : kKnobs)
        bindKnob(k.knob, k.display, k.id, k.id == 261 || k.id == 267 ? "Hz" : "dB");
    for (const CheckBinding &c : kChecks)
        tcControlGroup::setCheck(c.box, live().getBool(c.id));
    tcControlGroup::setCheck(kFailover, globals().getBool(G_INFAILOV));
    resetStatus();
    refreshAll();
    stereoLabelling();
}

void tcControlGroupInput::refreshAll()
{
    selectSource();
}

void tcControlGroupInput::selectSource()
{
    selectRadioItem(2004, findRadioItem(live().getInt(kSource) == 1 ? 2008 : 2005));
}

void tcControlGroupInput::setVisible(bool visible)
{
    tcControlGroup::setVisible(visible);
    if (visible) {
        selectSource();
        stereoLabelling();
    }
}

void tcControlGroupInput::stereoLabelling()
{
    const bool stereo = live().getBool(kStereo);
    const bool showDiff = isVisible() && !stereo;
    for (int n : {2027, 2030, 2031})
        setObjectVisible(n, showDiff);
    setCaption(2028, stereo ? QStringLiteral("F r e q u e n c y") : QStringLiteral("S u m   F r e q."));
    setCaption(2030, QStringLiteral("D i f f   F r e q."));
}

void tcControlGroupInput::lock(bool locked)
{
    lockObjects({2004, 2005, 2008, 2009, 2013, 2019, 2025, 2026, 2027, 2028, 2030, 2032, 2037}, locked);
}

// setPosition and setCheck only show: they also run when a value from the processor is shown,
// and a write from there could put back an older value over a newer one. The user's edits are
// stored in onKnob and onCheck.
void tcControlGroupInput::setPosition(int number, uint32_t raw)
{
    tcControlGroup::setPosition(number, raw);
    if (const KnobBinding *k = knobBinding(number))
        setDisplayText(k->display, label(k->id));
}

void tcControlGroupInput::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if (number == 2025)
        stereoLabelling();
}

void tcControlGroupInput::onKnob(int number, int position)
{
    if (const KnobBinding *k = knobBinding(number))
        live().setIndex(k->id, uint32_t(position), CHANGE_USER);
    setPosition(number, uint32_t(position));
}

void tcControlGroupInput::onCheck(int number, bool state)
{
    if (number == kFailover)
        globals().setBool(G_INFAILOV, state, CHANGE_USER);
    for (const CheckBinding &c : kChecks) {
        if (c.box == number)
            live().setBool(c.id, state, CHANGE_USER);
    }
    setCheck(number, state);
}

void tcControlGroupInput::onRadio(int number, int item)
{
    if (number != 2004)
        return;
    uint32_t value;
    if (item == 2005)
        value = 0;
    else if (item == 2008)
        value = 1;
    else
        return;
    if (value != live().getInt(kSource))
        live().setInt(kSource, value, CHANGE_USER);
    selectSource();
}

void tcControlGroupInput::onDisplayText(int number, const char *text)
{
    const KnobBinding *k = displayBinding(number);
    if (!k || !text)
        return;
    const float value = float(std::atof(text));
    onKnob(k->knob, int(live().floatToIndex(k->id, value)));
}

int tcControlGroupInput::knobOfDisplay(int display)
{
    const KnobBinding *k = displayBinding(display);
    return k ? k->knob : -1;
}

void tcControlGroupInput::resetStatus()
{
    m_frames.reset();
    setLampText(2038, 2, QStringLiteral("Analog"));
    setLampText(2039, 2, QStringLiteral("AES"));
}

void tcControlGroupInput::statusUpdate(const uint8_t *d)
{
    if (!m_frames.next())
        return;
    orba::showInputStatus(*this, 2038, 2039, d);
}
