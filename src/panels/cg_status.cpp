#include "panels/cg_status.h"

#include "panels/control_group.h"
#include "panels/meter_body.h"

namespace orba {

InputLampLook inputLampLook(const QString &name, uint8_t status)
{
    const QString active = name + QStringLiteral(" (active)");
    switch (status) {
    case 0:
        return {1, active};
    case 1:
        return {1, name};
    case 2:
        return {0, active};
    case 3:
        return {0, name};
    default:
        return {2, name};
    }
}

void showInputStatus(tcControlGroup &panel, int analogLamp, int aesLamp, const uint8_t *datagram)
{
    const InputLampLook analog = inputLampLook(QStringLiteral("Analog"), datagram[meterbody::kAnalogStatus]);
    const InputLampLook aes = inputLampLook(QStringLiteral("AES"), datagram[meterbody::kAesStatus]);
    panel.setLampText(analogLamp, analog.state, analog.text);
    panel.setLampText(aesLamp, aes.state, aes.text);
}

} // namespace orba
