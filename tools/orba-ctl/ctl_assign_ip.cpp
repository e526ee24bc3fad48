#include "ctl_assign_ip.h"
#include "ctl_options.h"

#include "admin/boot_server.h"
#include "link/frames.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace orba::ctl {

const char kAssignIpHelp[] =
    "Usage: orba-ctl assign-ip --mac HH:HH:HH:HH:HH:HH --ip A.B.C.D --subnet A.B.C.D\n"
    "                          --gateway A.B.C.D --name NAME [--count N] [--port P]\n"
    "                          [--reply-to HOST] [--reply-port P] [--timeout S]\n"
    "\n"
    "Gives a processor without network settings its address, as the application's \"Assign IP\n"
    "Address\" dialog does: listens for boot requests on UDP port P (default 2898) and answers\n"
    "every request from the MAC address with a boot reply carrying the address, subnet mask,\n"
    "gateway and NAME (its first 8 characters; an empty NAME is sent as \"NoName\"). Each reply\n"
    "goes to --reply-to (an IPv4 address, default 255.255.255.255, the broadcast address) at\n"
    "--reply-port (default the listening port). Prints one line per reply sent:\n"
    "  N<TAB>MAC<TAB>IP<TAB>SUBNET<TAB>GATEWAY<TAB>NAME<TAB>HOST:PORT\n"
    "and ends with status 0 after N replies (--count, default 1), or with status 2 when fewer\n"
    "came before --timeout (seconds, default the program's --timeout). No processor link is made.\n";

namespace {

bool strictMac(const QString &text, uint8_t mac[6])
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 6)
        return false;
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        const uint value = parts[i].toUInt(&ok, 16);
        if (!ok || parts[i].size() != 2 || value > 255)
            return false;
        mac[i] = uint8_t(value);
    }
    return true;
}

bool strictAddress(const QString &text, uint8_t address[4])
{
    const QByteArray latin = text.toLatin1();
    return parseIPv4(latin.constData(), address);
}

QString dotted(const uint8_t a[4])
{
    return QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
}

} // namespace

QString parseAssignIpArguments(const QStringList &arguments, AssignIpCommand &c)
{
    bool mac = false, ip = false, subnet = false, gateway = false, name = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString option = arguments[i];
        QString value;
        const int equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option = option.left(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else if (option.startsWith(QLatin1String("--"))) {
            return QStringLiteral("assign-ip: %1 needs a value").arg(option);
        }
        auto wrong = [&](const char *what) {
            return QStringLiteral("assign-ip: %1: \"%2\" is not %3").arg(option, value, QLatin1String(what));
        };
        bool ok = false;
        if (option == QLatin1String("--mac")) {
            if (!strictMac(value, c.settings.mac))
                return wrong("a MAC address (HH:HH:HH:HH:HH:HH)");
            mac = true;
        } else if (option == QLatin1String("--ip") || option == QLatin1String("--subnet") ||
                   option == QLatin1String("--gateway")) {
            uint8_t *target = option == QLatin1String("--ip")       ? c.settings.ip
                              : option == QLatin1String("--subnet") ? c.settings.subnet
                                                                    : c.settings.gateway;
            if (!strictAddress(value, target))
                return wrong("an IPv4 address (A.B.C.D)");
            (option == QLatin1String("--ip")       ? ip
             : option == QLatin1String("--subnet") ? subnet
                                                   : gateway) = true;
        } else if (option == QLatin1String("--name")) {
            nameFromText(value, c.settings.name);
            name = true;
        } else if (option == QLatin1String("--count")) {
            c.count = value.toInt(&ok);
            if (!ok || c.count < 1 || c.count > 100000)
                return wrong("a number of replies (1-100000)");
        } else if (option == QLatin1String("--port") || option == QLatin1String("--reply-port")) {
            const uint port = value.toUInt(&ok);
            if (!ok || port == 0 || port > 65535)
                return wrong("a port (1-65535)");
            (option == QLatin1String("--port") ? c.port : c.replyPort) = uint16_t(port);
        } else if (option == QLatin1String("--reply-to")) {
            uint8_t address[4];
            if (!strictAddress(value, address))
                return wrong("an IPv4 address (A.B.C.D)");
            c.replyTo = value;
        } else if (option == QLatin1String("--timeout")) {
            const double seconds = value.toDouble(&ok);
            if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 3600)
                return wrong("a number of seconds (above 0, at most 3600)");
            c.timeoutMs = std::max(1, int(std::lround(seconds * 1000)));
        } else {
            return QStringLiteral("assign-ip: unknown option \"%1\" (try assign-ip --help)")
                .arg(arguments[i]);
        }
    }
    const char *missing = !mac       ? "--mac"
                          : !ip      ? "--ip"
                          : !subnet  ? "--subnet"
                          : !gateway ? "--gateway"
                          : !name    ? "--name"
                                     : nullptr;
    if (missing)
        return QStringLiteral("assign-ip: %1 is required (try assign-ip --help)").arg(QLatin1String(missing));
    return QString();
}

QString replyLine(int number, const AssignIpCommand &c, const QString &to)
{
    const BootSettings &s = c.settings;
    const QString mac = QString::asprintf("%02x:%02x:%02x:%02x:%02x:%02x", s.mac[0], s.mac[1], s.mac[2],
                                          s.mac[3], s.mac[4], s.mac[5]);
    const QString name = QString::fromLatin1(s.name, int(strnlen(s.name, BOOT_NAME_SIZE)));
    return QStringList{
        QString::number(number), mac, dotted(s.ip), dotted(s.subnet), dotted(s.gateway), name, to}
        .join(QLatin1Char('\t'));
}

int runAssignIp(const AssignIpCommand &c, int defaultTimeoutMs)
{
    BootServerOptions options;
    options.port = c.port;
    options.replyAddress = QHostAddress(c.replyTo);
    options.replyPort = c.replyPort ? c.replyPort : c.port;
    tcNetServerDlgThrd server(options);
    if (!server.open())
        return fail(QStringLiteral("Socket bind to UDP port %1 failed.").arg(c.port));
    const QString to = QStringLiteral("%1:%2").arg(c.replyTo).arg(options.replyPort);
    QEventLoop loop;
    int replies = 0;
    QObject::connect(
        &server, &tcNetServerDlgThrd::sig_up_count, &loop,
        [&] {
            if (replies >= c.count)
                return;
            ++replies;
            const QByteArray line = replyLine(replies, c, to).toUtf8() + '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
            std::fflush(stdout);
            if (replies == c.count) {
                server.stop();
                loop.exit(0);
            }
        },
        Qt::QueuedConnection);
    const int timeoutMs = c.timeoutMs ? c.timeoutMs : defaultTimeoutMs;
    QTimer::singleShot(timeoutMs, &loop, [&] {
        server.stop();
        loop.exit(fail(QStringLiteral("%1 of %2 boot replies sent within %3 s")
                               .arg(replies)
                               .arg(c.count)
                               .arg(double(timeoutMs) / 1000.0)));
    });
    server.start(c.settings);
    return loop.exec();
}

} // namespace orba::ctl
