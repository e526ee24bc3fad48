// orba-sim: a stand-in for the ORBA processor on this machine. It answers the application on
// 127.0.0.1 as a processor would, sends meters, takes firmware and schedules, and keeps its presets.
#include "link/ports.h"
#include "sim/sim_server.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

bool readInt(const QCommandLineParser &p, const QString &name, int low, int high, int &out)
{
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const int v = p.value(name).toInt(&ok);
    if (!ok || v < low || v > high) {
        std::fprintf(stderr, "orba-sim: --%s takes a whole number from %d to %d\n", qPrintable(name), low,
                     high);
        return false;
    }
    out = v;
    return true;
}

// One front-panel edit typed on standard input.
void frontPanel(orba::sim::SimServer &server, const QByteArray &line)
{
    const QList<QByteArray> w = line.simplified().split(' ');
    bool idOk = false, valueOk = false;
    const uint16_t id = w.size() == 3 ? w[1].toUShort(&idOk) : 0;
    const qlonglong value = w.size() == 3 ? w[2].toLongLong(&valueOk) : 0;
    bool done = false;
    if (idOk && valueOk && w[0] == "set" && value >= 0 && value <= 0xFFFFFFFFll)
        done = server.processor().frontPanelSet(id, uint32_t(value));
    else if (idOk && valueOk && w[0] == "global" && value >= INT32_MIN && value <= INT32_MAX)
        done = server.processor().frontPanelGlobal(id, int32_t(value));
    if (done)
        std::printf("orba-sim: front panel %s %u = %lld\n", w[0].constData(), unsigned(id), value);
    else
        std::printf("orba-sim: not a front-panel edit: %s\n", line.constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orba-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "A simulated ORBA processor on 127.0.0.1: it answers the application's messages, sends meters,\n"
        "takes firmware images and schedules, and keeps its preset slots."));
    p.addHelpOption();
    p.addVersionOption();
    p.addOptions({
        {"port", "TCP port to listen on, on 127.0.0.1 (default $ORBA_TCP_PORT or 55895; 0 picks a free one).",
         "N"},
        {"password", "Login password the application must send (its CRC-32); default none.", "TEXT"},
        {"meter-rate", "Meter datagrams a second (1-1000, default 20).", "N"},
        {"flash-seconds", "How long writing a firmware image takes (0-600, default 5).", "N"},
        {"keepalive-ms", "Drop the connection after this long without a frame (default 10000).", "MS"},
        {"stall-after-login",
         "Hang this long after a login is accepted: answer nothing, send no meters, keep the connection.",
         "MS"},
        {"no-login-reply", "Hang from the start: accept connections but never answer the login."},
        {"state", "Keep presets, live values, globals, schedule and clock in this folder across runs.",
         "DIR"},
        {"log", "Print a line for every frame in and out."},
        {"commands", "Read front-panel edits from standard input, one a line: \"set ID RAW\" for a\n"
                     "parameter's raw index, \"global ID VALUE\" for a processor-wide setting."},
        {"boot-mac", "Act as a unit without network settings: send boot requests for this MAC address.",
         "MAC"},
        {"boot-port", "UDP port on 127.0.0.1 the boot requests go to (default 2898).", "N"},
        {"boot-reply-port", "UDP port boot replies are received on (default 2898; 0 picks a free one).", "N"},
    });
    p.process(app);
    if (!p.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "orba-sim: unexpected argument %s (see --help)\n",
                     qPrintable(p.positionalArguments()[0]));
        return 2;
    }

    orba::sim::SimOptions o;
    o.port = orba::processorPort(); // the application's default, moved by ORBA_TCP_PORT like it
    int port = o.port, bootPort = o.bootPort, bootReplyPort = o.bootReplyPort;
    if (!readInt(p, "port", 0, 65535, port) || !readInt(p, "meter-rate", 1, 1000, o.meterRate) ||
        !readInt(p, "flash-seconds", 0, 600, o.flashSeconds) ||
        !readInt(p, "keepalive-ms", 1, 24 * 3600 * 1000, o.keepAliveMs) ||
        !readInt(p, "stall-after-login", 0, 24 * 3600 * 1000, o.stallAfterLoginMs) ||
        !readInt(p, "boot-port", 1, 65535, bootPort) ||
        !readInt(p, "boot-reply-port", 0, 65535, bootReplyPort))
        return 2;
    o.port = uint16_t(port);
    o.bootPort = uint16_t(bootPort);
    o.bootReplyPort = uint16_t(bootReplyPort);
    if (p.isSet("password")) {
        o.setPassword = true;
        o.password = p.value("password").toStdString();
    }
    o.stateDir = p.value("state");
    o.log = p.isSet("log");
    o.stalled = p.isSet("no-login-reply");
    if (p.isSet("boot-mac")) {
        if (!orba::sim::parseMac(p.value("boot-mac").toStdString(), o.bootMac)) {
            std::fprintf(stderr, "orba-sim: --boot-mac takes an address like 00:11:22:33:44:55\n");
            return 2;
        }
        o.boot = true;
    }

    // Ctrl-C and kill end the run through the event loop, so the state is saved.
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    QSocketNotifier quitter(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quitter, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);

    orba::sim::SimServer server(o);
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "orba-sim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("orba-sim: listening on 127.0.0.1:%u\n", unsigned(server.port()));
    if (o.boot)
        std::printf("orba-sim: sending boot requests for %s to 127.0.0.1:%u, replies on UDP port %u\n",
                    orba::sim::macText(o.bootMac).c_str(), unsigned(o.bootPort),
                    unsigned(server.bootReplyPort()));
    std::fflush(stdout);
    std::unique_ptr<QSocketNotifier> commands;
    QByteArray pending;
    if (p.isSet("commands")) {
        commands = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(commands.get(), &QSocketNotifier::activated, [&] {
            char buf[512];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                commands->setEnabled(false); // standard input closed: no more edits
                return;
            }
            pending.append(buf, int(n));
            for (int nl; (nl = pending.indexOf('\n')) >= 0;) {
                frontPanel(server, pending.left(nl).trimmed());
                pending.remove(0, nl + 1);
            }
            if (pending.size() > 4096)
                pending.clear(); // no line is that long
        });
    }
    const int result = QCoreApplication::exec();
    std::printf("orba-sim: stopped\n");
    return result;
}
