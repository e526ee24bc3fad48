// tcControlGroupSystem: screen 0: processor-wide settings, the buttons that open the
// administration dialogs, and the temperature and input-status lamps.
#pragma once

#include "panels/cg_status.h"
#include "panels/control_group.h"

class tcControlGroupSystem : public tcControlGroup
{
    Q_OBJECT
public:
    static constexpr float kTemperatureAlarm = 50.0f;

    explicit tcControlGroupSystem(tcKelBench *bench);

    void init() override;
    void refreshDerived() override;
    void onButton(int number) override;
    void onCombo(int number, int value) override;
    void onCheck(int number, bool state) override;

    void statusUpdate(const uint8_t *datagram);
    void resetStatus();
    static QStringList headphoneSources();

private:
    orba::EverySixth m_frames;
};
