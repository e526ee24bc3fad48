// orba-ctl: the processor from the command line, through the application's own session code.
// Exit status 0 on success, 2 on any error (one line on standard error).
#include "ctl_assign_ip.h"
#include "ctl_client.h"
#include "ctl_device.h"
#include "ctl_firmware.h"
#include "ctl_options.h"
#include "link/frames.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <memory>

using namespace orba::ctl;

namespace {

// The processor the options name; false (after printing why) when there is none to reach.
bool resolveTarget(const Options &options, orba::SessionTarget &target)
{
    if (!options.device.isEmpty()) {
        const DeviceTarget device = readDevice(QDir(QStringLiteral("maps")), options.device);
        if (!device.ok)
            return fail(device.error), false;
        target.name = options.device;
        target.address = device.address;
        target.loginCrc = device.loginCrc;
    } else {
        target.address = options.host;
    }
    uint8_t peer[4] = {};
    const QByteArray address = target.address.toLatin1();
    if (!orba::parseIPv4(address.constData(), peer) || (peer[0] | peer[1] | peer[2] | peer[3]) == 0) {
        fail(options.device.isEmpty()
                 ? QStringLiteral("--host: \"%1\" is not an IPv4 address").arg(target.address)
                 : QStringLiteral("device \"%1\" has no address").arg(options.device));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Options options = parseOptions(arguments);
    // A report draws text, which needs the GUI side of Qt, but never a display.
    std::unique_ptr<QCoreApplication> app;
    if (options.command == QLatin1String("report") && options.error.isEmpty() && options.help.isEmpty()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The platform's notes (a missing runtime folder, font fallbacks) are not our one line.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Standard error is for the one line that says what went wrong.
    QLoggingCategory::setFilterRules(QStringLiteral("orba.presets.transfer.debug=false"));
    if (!options.help.isEmpty()) {
        std::fputs(options.help.toLocal8Bit().constData(), stdout);
        return kExitOk;
    }
    if (!options.error.isEmpty())
        return fail(options.error);
    if (options.command == QLatin1String("assign-ip")) {
        AssignIpCommand command;
        const QString wrong = parseAssignIpArguments(options.arguments, command);
        return wrong.isEmpty() ? runAssignIp(command, options.timeoutMs) : fail(wrong);
    }
    CommandPlan plan;
    if (options.command == QLatin1String("firmware")) {
        FirmwareCommand command;
        const QString wrong = parseFirmwareArguments(options.arguments, command);
        if (!wrong.isEmpty())
            return fail(wrong);
        if (!prepareFirmware(command))
            return kExitError;
        plan.run = [path = command.path](orba::Session &session, const std::function<void(int)> &finish) {
            runFirmware(session, path, finish);
        };
    }
    if (!planCommand(options, plan))
        return kExitError;
    if (const int status = runWithoutProcessor(options, plan); status >= 0)
        return status;
    orba::SessionTarget target;
    if (!resolveTarget(options, target))
        return kExitError;
    CtlClient client(options, std::move(plan), target, options.device);
    return client.run();
}
