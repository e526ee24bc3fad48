#include "panels/cg_system.h"

#include "panels/kel_bench.h"
#include "panels/meter_body.h"
#include "tables/globals_map.h"

tcControlGroupSystem::tcControlGroupSystem(tcKelBench *bench)
    : tcControlGroup(bench, orba::panels::kSystemObjects)
{
}

QStringList tcControlGroupSystem::headphoneSources()
{
    return {QStringLiteral("Input"), QStringLiteral("AM Output"), QStringLiteral("HD Output")};
}

void tcControlGroupSystem::init()
{
    resetStatus();
    tcControlGroup::setCheck(9002, globals().getBool(G_S_FOLLOW));
    const tcKelHost *host = bench()->environment().host;
    tcControlGroup::setCheck(9014, host && host->kelTcpMeters());
    setComboItems(9010, headphoneSources());
    refreshDerived();
}

void tcControlGroupSystem::refreshDerived()
{
    setComboIndex(9010, globals().get(G_HDPN_SRC));
}

void tcControlGroupSystem::onCheck(int number, bool state)
{
    if (number == 9014) {
        tcKelHost *host = bench()->environment().host;
        if (host && host->kelTcpMeters() != state)
            host->kelSetTcpMeters(state);
        return;
    }
    if (number == 9002)
        globals().setBool(G_S_FOLLOW, state, CHANGE_USER);
    setCheck(number, state);
}

void tcControlGroupSystem::onButton(int number)
{
    switch (number) {
    case 9003:
        emit sig_password();
        break;
    case 9004:
        emit sig_fppasswd();
        break;
    case 9005:
        emit sig_gui_access();
        break;
    case 9006:
        emit sig_gui_lock();
        break;
    case 9007:
        emit sig_choose_skin();
        break;
    case 9008:
        emit sig_event_dlg();
        break;
    case 9009:
        emit sig_time_set();
        break;
    default:
        break;
    }
}

void tcControlGroupSystem::onCombo(int number, int value)
{
    if (number == 9010)
        globals().set(G_HDPN_SRC, value, CHANGE_USER);
}

void tcControlGroupSystem::resetStatus()
{
    m_frames.reset();
    setLampText(9011, 2, QStringLiteral("Temp. ????"));
    setLampText(9012, 2, QStringLiteral("Analog"));
    setLampText(9013, 2, QStringLiteral("AES"));
}

void tcControlGroupSystem::statusUpdate(const uint8_t *d)
{
    if (!m_frames.next())
        return;
    const float t = orba::meterbody::temperature(d);
    setLampText(9011, t > kTemperatureAlarm ? 1 : 0, QString::asprintf("Temp. %0.1f C", double(t)));
    orba::showInputStatus(*this, 9012, 9013, d);
}
