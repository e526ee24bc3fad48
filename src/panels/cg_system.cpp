#include "panels/cg_system.h"

#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "panels/meter_body.h"
#include "tables/globals_map.h"

tcControlGroupSystem::tcControlGroupSystem(tcKelBench *bench) : tcControlGroup(bench, 0) {}

QStringList tcControlGroupSystem::headphoneSources()
{
    return {QStringLiteral("Input"), QStringLiteral("AM Output"), QStringLiteral("HD Output")};
}

void tcControlGroupSystem::init()
{
    tcControlGroup::init();
    resetStatus();
    const tcKelHost *host = bench()->environment().host;
    tcControlGroup::setCheck(Ctl::TCP_METERS, host && host->kelTcpMeters());
    setComboItems(Ctl::HDPN_SRC, headphoneSources());
    refreshDerived();
}

void tcControlGroupSystem::refreshDerived()
{
    setComboIndex(Ctl::HDPN_SRC, globals().get(G_HDPN_SRC));
}

void tcControlGroupSystem::onCheck(int number, bool state)
{
    if (number == Ctl::TCP_METERS) {
        tcKelHost *host = bench()->environment().host;
        if (host && host->kelTcpMeters() != state)
            host->kelSetTcpMeters(state);
        return;
    }
    tcControlGroup::onCheck(number, state);
}

void tcControlGroupSystem::onButton(int number)
{
    switch (number) {
    case Ctl::PASSWORDS:
        emit sig_password();
        break;
    case Ctl::FPPASSWD:
        emit sig_fppasswd();
        break;
    case Ctl::GUIACCESS:
        emit sig_gui_access();
        break;
    case Ctl::GUILOCK:
        emit sig_gui_lock();
        break;
    case Ctl::SKIN:
        emit sig_choose_skin();
        break;
    case Ctl::EVENTSCHED:
        emit sig_event_dlg();
        break;
    case Ctl::TIME_SET:
        emit sig_time_set();
        break;
    default:
        break;
    }
}

void tcControlGroupSystem::onCombo(int number, int value)
{
    if (number == Ctl::HDPN_SRC)
        globals().set(G_HDPN_SRC, value, CHANGE_USER);
}

void tcControlGroupSystem::resetStatus()
{
    m_frames.reset();
    setLampText(Ctl::STATUS_TEMP, 2, QStringLiteral("Temp. ????"));
    setLampText(Ctl::STATUS_ANA, 2, QStringLiteral("Analog"));
    setLampText(Ctl::STATUS_AES, 2, QStringLiteral("AES"));
}

void tcControlGroupSystem::statusUpdate(const uint8_t *d)
{
    if (!m_frames.next())
        return;
    const float t = orba::meterbody::temperature(d);
    setLampText(Ctl::STATUS_TEMP, t > kTemperatureAlarm ? 1 : 0,
                QString::asprintf("Temp. %0.1f C", double(t)));
    orba::showInputStatus(*this, Ctl::STATUS_ANA, Ctl::STATUS_AES, d);
}
