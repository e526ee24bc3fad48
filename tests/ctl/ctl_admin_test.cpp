// orba-ctl's firmware and assign-ip commands: their own arguments without a process, then the
// program against orba-sim's firmware receiver and boot client on loopback ports.
#include "ctl_assign_ip.h"
#include "ctl_firmware.h"
#include "ctl_fixture.h"
#include "ctl_options.h"

#include <QDir>
#include <QProcess>
#include <QNetworkProxy>
#include <QUdpSocket>

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::test;

namespace {

const char kImageHeader[] =
    "TALMEN ORBA UPGRADE\r\nBUILD: Dec  1 2026\r\nDSPVER: DSP 3.0.2\r\nMCSVER: FPGA 7\r\n"
    "APVER: 2.7.9\r\nENDHEADER\r\n";

QStringList args(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *a : list)
        out << QString::fromLatin1(a);
    return out;
}

using CtlAdmin = CtlRunTest;

} // namespace

TEST(CtlAdminArguments, FirmwareTakesYesAndOneFile)
{
    ctl::FirmwareCommand c;
    EXPECT_EQ(ctl::parseFirmwareArguments(args({"--yes", "a.tbn"}), c), QString());
    EXPECT_TRUE(c.yes);
    EXPECT_EQ(c.path, QStringLiteral("a.tbn"));
    ctl::FirmwareCommand d;
    EXPECT_TRUE(ctl::parseFirmwareArguments({}, d).contains(QStringLiteral("expects FILE")));
    EXPECT_TRUE(ctl::parseFirmwareArguments(args({"a", "b"}), d).contains(QStringLiteral("one FILE")));
    EXPECT_TRUE(ctl::parseFirmwareArguments(args({"--force", "a"}), d).contains(QStringLiteral("--force")));
}

TEST(CtlAdminArguments, TheCommandsOptionsComeAfterItsNameAndTheProgramsBefore)
{
    const ctl::Options o =
        ctl::parseOptions(args({"--timeout", "9", "assign-ip", "--port", "4000", "--count", "3"}));
    EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
    EXPECT_EQ(o.timeoutMs, 9000);
    EXPECT_EQ(o.port, 0);
    EXPECT_EQ(o.arguments, args({"--port", "4000", "--count", "3"}));
    EXPECT_TRUE(ctl::parseOptions(args({"firmware", "--help"}))
                    .help.startsWith(QStringLiteral("Usage: orba-ctl [OPTIONS] firmware")));
    EXPECT_TRUE(ctl::usageText().contains(QStringLiteral("assign-ip")));
}

TEST(CtlAdminArguments, AssignIpNeedsEverySettingAndChecksEach)
{
    const QStringList good = args({"--mac", "00:50:c2:1f:a0:07", "--ip", "10.0.0.5", "--subnet",
                                   "255.255.255.0", "--gateway", "10.0.0.1", "--name", "ABCDEFGHIJ"});
    ctl::AssignIpCommand c;
    ASSERT_EQ(ctl::parseAssignIpArguments(
                  good + args({"--count=2", "--reply-to", "127.0.0.1", "--reply-port", "7"}), c),
              QString());
    EXPECT_EQ(c.count, 2);
    EXPECT_EQ(c.port, 2898);
    EXPECT_EQ(c.replyPort, 7);
    EXPECT_EQ(
        ctl::replyLine(1, c, QStringLiteral("127.0.0.1:7")),
        QStringLiteral("1\t00:50:c2:1f:a0:07\t10.0.0.5\t255.255.255.0\t10.0.0.1\tABCDEFGH\t127.0.0.1:7"));
    ctl::AssignIpCommand defaults;
    ASSERT_EQ(ctl::parseAssignIpArguments(good, defaults), QString());
    EXPECT_EQ(defaults.replyTo, QStringLiteral("255.255.255.255"));
    EXPECT_EQ(defaults.replyPort, 0);

    for (const char *dropped : {"--mac", "--ip", "--subnet", "--gateway", "--name"}) {
        QStringList a = good;
        const int at = a.indexOf(QString::fromLatin1(dropped));
        a.removeAt(at);
        a.removeAt(at);
        ctl::AssignIpCommand d;
        EXPECT_TRUE(ctl::parseAssignIpArguments(a, d).contains(QString::fromLatin1(dropped))) << dropped;
    }
    ctl::AssignIpCommand e;
    EXPECT_FALSE(ctl::parseAssignIpArguments(good + args({"--mac", "00:50:c2:1f:a0"}), e).isEmpty());
    EXPECT_FALSE(ctl::parseAssignIpArguments(good + args({"--ip", "10.0.0"}), e).isEmpty());
    EXPECT_FALSE(ctl::parseAssignIpArguments(good + args({"--reply-to", "localhost"}), e).isEmpty());
    EXPECT_FALSE(ctl::parseAssignIpArguments(good + args({"--count", "0"}), e).isEmpty());
    EXPECT_FALSE(ctl::parseAssignIpArguments(good + args({"--port"}), e).isEmpty());
}

TEST_F(CtlAdmin, FirmwareGoesToTheSimulatorWhichThenRunsTheNewVersion)
{
    startSim(args({"--flash-seconds", "1"}));
    const QByteArray image = QByteArray(kImageHeader) + QByteArray(5000, '\x3C');
    ASSERT_TRUE(writeAll(QStringLiteral("fw.tbn"), image));
    const ProgramRun r = ctl(args({"firmware", "--yes", "fw.tbn"}));
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("TALMEN ORBA UPGRADE\nAP Version:  2.7.9\nDSP Version:  DSP 3.0.2\n"
                                 "FPGA Version:  FPGA 7\nBuild Date:  Dec  1 2026\n"))
        << r.out.constData();
    EXPECT_TRUE(r.out.endsWith("Reboot the ORBA for the changes to take effect.\n")) << r.out.constData();
    EXPECT_TRUE(r.err.contains("[########################################] 100%")) << r.err.constData();
    EXPECT_TRUE(r.err.contains("Writing ORBA Image To Flash ROM...")) << r.err.constData();
    EXPECT_EQ(sim().framesIn("MSG_FW_BLOCK"), (image.size() + 1023) / 1024);
    const ProgramRun status = ctl(args({"status"}));
    EXPECT_TRUE(status.out.contains("version\t2.7.9")) << status.out.constData();
}

TEST_F(CtlAdmin, AnImageWithAnotherSignatureIsRefusedBeforeAnythingIsSent)
{
    startSim({});
    ASSERT_TRUE(writeAll(QStringLiteral("test.tbn"), "TALMEN TEST UPGRADE\nENDHEADER\nimage"));
    const ProgramRun r = ctl(args({"firmware", "--yes", "test.tbn"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
    EXPECT_TRUE(r.err.contains("Signature found: TALMEN TEST UPGRADE")) << r.err.constData();
    EXPECT_EQ(sim().framesIn("MSG_FW_BLOCK"), 0);
}

TEST_F(CtlAdmin, WithoutYesTheDownloadWaitsForTheAnswer)
{
    startSim({});
    ASSERT_TRUE(writeAll(QStringLiteral("fw.tbn"), QByteArray(kImageHeader) + QByteArray(100, 'x')));
    QProcess p;
    p.start(QDir(binDir()).filePath(QStringLiteral("orba-ctl")),
            args({"--port"}) << QString::number(sim().port()) << args({"firmware", "fw.tbn"}));
    ASSERT_TRUE(p.waitForStarted());
    p.write("n\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(kRunLimitMs));
    EXPECT_EQ(p.exitCode(), 2);
    const QByteArray err = p.readAllStandardError();
    EXPECT_TRUE(err.contains("Download this image to the processor? [y/N]")) << err.constData();
    EXPECT_TRUE(err.contains("not confirmed")) << err.constData();
    EXPECT_TRUE(p.readAllStandardOutput().startsWith("TALMEN ORBA UPGRADE\n"));
    EXPECT_EQ(sim().framesIn("MSG_FW_BLOCK"), 0);
}

TEST_F(CtlAdmin, AssignIpAnswersTheSimulatorsBootRequestsOnLoopback)
{
    const uint16_t bootPort = freeUdpPort();
    const uint16_t replyPort = freeUdpPort();
    startSim(args({"--boot-mac", "00:50:c2:1f:a0:07", "--boot-port"})
             << QString::number(bootPort) << QStringLiteral("--boot-reply-port")
             << QString::number(replyPort));
    const ProgramRun r = runProgram(
        QStringLiteral("orba-ctl"),
        args({"assign-ip", "--mac", "00:50:C2:1F:A0:07", "--ip", "10.0.0.5", "--subnet", "255.255.255.0",
              "--gateway", "10.0.0.1", "--name", "ABCDEFGHIJ", "--count", "2", "--reply-to", "127.0.0.1",
              "--timeout", "30", "--port"})
            << QString::number(bootPort) << QStringLiteral("--reply-port") << QString::number(replyPort),
        kRunLimitMs);
    ASSERT_EQ(r.status, 0) << r.err.constData();
    const QByteArray to = "127.0.0.1:" + QByteArray::number(replyPort);
    EXPECT_EQ(r.out, "1\t00:50:c2:1f:a0:07\t10.0.0.5\t255.255.255.0\t10.0.0.1\tABCDEFGH\t" + to + "\n" +
                         "2\t00:50:c2:1f:a0:07\t10.0.0.5\t255.255.255.0\t10.0.0.1\tABCDEFGH\t" + to + "\n");
    EXPECT_TRUE(sim().waitOutput(QStringLiteral("boot reply for 00:50:c2:1f:a0:07: address 10.0.0.5, subnet "
                                               "255.255.255.0, gateway 10.0.0.1, name \"ABCDEFGH\"")))
        << sim().output().toStdString();
}

TEST_F(CtlAdmin, AssignIpOnAPortInUseSaysSo)
{
    QUdpSocket holder;
    holder.setProxy(QNetworkProxy::NoProxy);
    ASSERT_TRUE(holder.bind(QHostAddress(QHostAddress::AnyIPv4), 0, QAbstractSocket::DontShareAddress));
    const ProgramRun r = runProgram(
        QStringLiteral("orba-ctl"),
        args({"assign-ip", "--mac", "00:50:c2:1f:a0:07", "--ip", "10.0.0.5", "--subnet", "255.255.255.0",
              "--gateway", "10.0.0.1", "--name", "x", "--reply-to", "127.0.0.1", "--port"})
            << QString::number(holder.localPort()),
        kRunLimitMs);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "orba-ctl: Socket bind to UDP port " + QByteArray::number(holder.localPort()) + " failed.\n");
}

TEST_F(CtlAdmin, AssignIpWithNoRequestEndsAtTheTimeout)
{
    const uint16_t port = freeUdpPort();
    const ProgramRun r = runProgram(
        QStringLiteral("orba-ctl"),
        args({"--timeout", "0.2", "assign-ip", "--mac", "00:50:c2:1f:a0:07", "--ip", "10.0.0.5", "--subnet",
              "255.255.255.0", "--gateway", "10.0.0.1", "--name", "x", "--reply-to", "127.0.0.1", "--port"})
            << QString::number(port),
        kRunLimitMs);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("0 of 1 boot replies sent")) << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());
}
