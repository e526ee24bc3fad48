// A device of the application's list, read for orba-ctl: the address and the remembered login
// password of maps/<name>.cfg. Read only: a missing or damaged file is reported, never made or
// moved aside.
#pragma once

#include <QDir>
#include <QString>

#include <cstdint>

namespace orba::ctl {

struct DeviceTarget
{
    bool ok = false;
    QString address;
    uint32_t loginCrc = 0; // 0: none remembered
    QString error;
};

DeviceTarget readDevice(const QDir &mapsDir, const QString &name);

} // namespace orba::ctl
