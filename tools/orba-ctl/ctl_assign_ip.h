// orba-ctl assign-ip: the boot server without the window. It answers the boot requests of one
// MAC address with the given settings, prints one line per reply, and ends after N replies or at
// the timeout. No processor link is made.
#pragma once

#include "admin/boot_protocol.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace orba::ctl {

extern const char kAssignIpHelp[];

struct AssignIpCommand
{
    BootSettings settings;
    int count = 1;
    uint16_t port = BOOT_SERVER_PORT;
    QString replyTo = QStringLiteral("255.255.255.255");
    uint16_t replyPort = 0; // 0: the listening port
    int timeoutMs = 0;      // 0: the program's --timeout
};

// The command's own options; an empty text when they are right, else why not.
QString parseAssignIpArguments(const QStringList &arguments, AssignIpCommand &command);

// "REPLY<TAB>MAC<TAB>IP<TAB>SUBNET<TAB>GATEWAY<TAB>NAME<TAB>TO", one per reply sent.
QString replyLine(int number, const AssignIpCommand &command, const QString &to);

// Runs the server until it has sent count replies (status 0) or the timeout (status 2).
int runAssignIp(const AssignIpCommand &command, int defaultTimeoutMs);

} // namespace orba::ctl
