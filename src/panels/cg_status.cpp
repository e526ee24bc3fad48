#include "panels/cg_status.h"

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

} // namespace orba
