// orba-ctl's access commands: the GUI access code kept in the processor, its login password and
// its front-panel password. Each one is a few globals written after a check.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>
#include <vector>

namespace orba::ctl {

struct AccessPlan
{
    std::vector<std::pair<uint16_t, int32_t>> globals; // written in this order
    bool checkLogin = false;   // login-password: the processor's password must be the old one
    uint32_t oldLoginCrc = 0;
    QString done;              // printed once the processor has the values
    QString error;             // not empty: the arguments are wrong
};

bool isAccessCommand(const QString &command);
// Checks the arguments of lock-code, login-password or front-panel.
AccessPlan planAccess(const QString &command, const QStringList &arguments);
// The CRC-32 of a password or code as the application sends it.
uint32_t textCrc(const QString &text);

} // namespace orba::ctl
