#include "panels/cg_input.h"

#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "panels/meter_body.h"
#include "tables/setting_ids.h"
#include "tables/settings_map.h"

tcControlGroupInput::tcControlGroupInput(tcKelBench *bench) : tcControlGroup(bench, 4) {}

void tcControlGroupInput::init()
{
    tcControlGroup::init();
    resetStatus();
    stereoLabelling();
}

void tcControlGroupInput::setVisible(bool visible)
{
    tcControlGroup::setVisible(visible);
    if (visible) {
        refreshAll();
        stereoLabelling();
    }
}

void tcControlGroupInput::stereoLabelling()
{
    const bool stereo = live().getBool(SettingId::InputHpfStereo);
    const bool showDiff = isVisible() && !stereo;
    for (int n : {Ctl::INPUT_HPFD_IN, Ctl::INPUT_HPFD_KNOB, Ctl::INPUT_HPFD_DSPY})
        setObjectVisible(n, showDiff);
    setCaption(Ctl::INPUT_HPFS_KNOB,
               stereo ? QStringLiteral("F r e q u e n c y") : QStringLiteral("S u m   F r e q."));
    setCaption(Ctl::INPUT_HPFD_KNOB, QStringLiteral("D i f f   F r e q."));
}

void tcControlGroupInput::setCheck(int number, bool state)
{
    tcControlGroup::setCheck(number, state);
    if (number == Ctl::INPUT_HPF_STEREO)
        stereoLabelling();
}

void tcControlGroupInput::resetStatus()
{
    m_frames.reset();
    setLampText(Ctl::INPUT_ANA_FAIL, 2, QStringLiteral("Analog"));
    setLampText(Ctl::INPUT_AES_FAIL, 2, QStringLiteral("AES"));
}

void tcControlGroupInput::statusUpdate(const uint8_t *d)
{
    if (!m_frames.next())
        return;
    orba::showInputStatus(*this, Ctl::INPUT_ANA_FAIL, Ctl::INPUT_AES_FAIL, d);
}
