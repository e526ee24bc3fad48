// The input-status lamps shared by the input and system panels: the status byte of an input
// gives the lamp state and whether "(active)" follows the input's name.
#pragma once

#include <QString>

#include <cstdint>

class tcControlGroup;

namespace orba {

struct InputLampLook
{
    int state;
    QString text;
};

InputLampLook inputLampLook(const QString &name, uint8_t status);
// Both input lamps of a panel from a meter frame's status bytes.
void showInputStatus(tcControlGroup &panel, int analogLamp, int aesLamp, const uint8_t *datagram);

// Counts meter frames; true on every sixth one.
class EverySixth
{
public:
    bool next()
    {
        if (++m_count > 5) {
            m_count = 0;
            return true;
        }
        return false;
    }
    void reset() { m_count = 0; }

private:
    int m_count = 0;
};

} // namespace orba
