// The orba-ctl program against orba-sim, both run as separate programs on loopback ports.
#include "common/crc32.h"
#include "common/ini_store.h"
#include "ctl_fixture.h"
#include "ctl_values.h"
#include "session/schedule.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::test;

namespace {

class CtlToolTest : public CtlRunTest
{
protected:
    static QJsonDocument json(const ProgramRun &r)
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << '\n'
                                                         << r.out.constData();
        return doc;
    }
    static uint16_t idOf(const char *name)
    {
        return ctl::findValue(QString::fromLatin1(name)).value_or(ctl::ValueRef{}).id;
    }
    // The label of a raw value of a parameter, as the application shows it.
    static QByteArray labelOf(uint16_t id, uint32_t raw)
    {
        SETTINGS_MAP set;
        set.setIndex(id, raw, CHANGE_LOCAL);
        return QByteArray::fromStdString(set.label(id)).trimmed();
    }
};

} // namespace

TEST_F(CtlToolTest, HelpDescribesTheProgramAndEachCommand)
{
    const ProgramRun top = ctlBare({"--help"});
    expectOk(top);
    for (const char *word : {"--host", "--port", "--device", "--password", "--timeout", "--json", "status",
                             "get", "set", "dump", "slots", "meters", "grab", "push", "take", "save", "backup",
                             "restore", "Exit status"})
        EXPECT_TRUE(top.out.contains(word)) << word;
    for (const char *command :
         {"status", "get", "set", "dump", "slots", "meters", "grab", "push", "take", "save", "backup", "restore"}) {
        const ProgramRun r = ctlBare({QLatin1String(command), "--help"});
        expectOk(r);
        EXPECT_TRUE(r.out.startsWith(QByteArray("Usage: orba-ctl [OPTIONS] ") + command))
            << r.out.constData();
        EXPECT_NE(r.out, top.out);
    }
    EXPECT_TRUE(ctlBare({"meters", "--help"}).out.contains("--count"));
}

TEST_F(CtlToolTest, BadCommandLinesEndWithOneErrorLine)
{
    expectOneErrorLine(ctlBare({}), "no command");
    expectOneErrorLine(ctlBare({"frobnicate"}), "unknown command");
    expectOneErrorLine(ctlBare({"--port", "x", "status"}), "--port");
    expectOneErrorLine(ctlBare({"--host", "localhost", "status"}), "IPv4");
}

TEST_F(CtlToolTest, StatusShowsTheLinkTheVersionAndTheCurrentPreset)
{
    startSim();
    const ProgramRun r = ctl({"status"});
    expectOk(r);
    const QByteArray port = QByteArray::number(sim().port());
    EXPECT_EQ(lines(r), (QList<QByteArray>{"link\tOnline", "processor\t127.0.0.1:" + port, "version\t2.1.4",
                                           "date\tMar 12 2024 10:41:07", "fpga\tFPGA 3.07", "dsp\tDSP 2.1.4",
                                           "preset\tAM Music Medium"}));

    const QJsonObject o = json(ctl({"--json", "status"})).object();
    EXPECT_EQ(o["link"].toString(), "Online");
    EXPECT_EQ(o["preset"].toString(), "AM Music Medium");
    EXPECT_EQ(o["version"]["major"].toInt(), 2);
    EXPECT_EQ(o["version"]["build"].toInt(), 4);
    EXPECT_EQ(o["version"]["dsp"].toString(), "DSP 2.1.4");
}

TEST_F(CtlToolTest, TheProcessorPortComesFromTheEnvironmentByDefault)
{
    startSim();
    qputenv("ORBA_TCP_PORT", QByteArray::number(sim().port()));
    const ProgramRun r = ctlBare({"status"});
    expectOk(r);
    EXPECT_TRUE(r.out.startsWith("link\tOnline\n")) << r.out.constData();
}

TEST_F(CtlToolTest, GetShowsTheProcessorsValues)
{
    startSim();
    // An edit on the processor's own front panel, so the value can only come from it.
    const uint16_t gain = idOf("Input Line Gain");
    sim().frontPanel(QStringLiteral("set %1 40").arg(gain));
    ASSERT_TRUE(sim().waitOutput(QStringLiteral("front panel set %1 = 40").arg(gain)))
        << sim().output().toStdString();
    const ProgramRun r = ctl({"get", "input line gain", " delay ", "INPUT SOURCE"});
    expectOk(r);
    EXPECT_EQ(lines(r), (QList<QByteArray>{"Input Line Gain\t" + labelOf(gain, 40), "DELAY\tOFF",
                                           "Input Source\tLINE"}));

    const QJsonArray array = json(ctl({"get", "--json", "Input Line Gain"})).array();
    ASSERT_EQ(array.size(), 1);
    EXPECT_EQ(array[0]["name"].toString(), "Input Line Gain");
    EXPECT_EQ(array[0]["label"].toString().toLatin1(), labelOf(gain, 40));
}

TEST_F(CtlToolTest, GetWithoutNamesShowsEveryParameterThenEveryGlobal)
{
    startSim();
    const ProgramRun r = ctl({"get"});
    expectOk(r);
    const QList<QByteArray> got = lines(r);
    const std::vector<ctl::ValueRef> all = ctl::allValues();
    ASSERT_EQ(size_t(got.size()), all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        const QList<QByteArray> fields = got[int(i)].split('\t');
        ASSERT_EQ(fields.size(), 2) << got[int(i)].constData();
        EXPECT_EQ(fields[0], ctl::valueName(all[i]).toLatin1());
    }
    EXPECT_EQ(json(ctl({"--json", "get"})).array().size(), int(all.size()));
}

TEST_F(CtlToolTest, SetSendsTheNearestStepAndTheProcessorHoldsIt)
{
    startSim();
    const uint16_t gain = idOf("Input Line Gain");
    SETTINGS_MAP table;
    const uint32_t step = table.floatToIndex(gain, 5.5f);
    ASSERT_FLOAT_EQ(table.indexToFloat(gain, step), 5.5f);
    const QByteArray label = labelOf(gain, step);
    EXPECT_EQ(label, "+ 5.5 dB");

    const ProgramRun set = ctl({"set", "Input Line Gain=5.3"});
    expectOk(set);
    EXPECT_EQ(lines(set), QList<QByteArray>{"Input Line Gain\t" + label});
    // Stored by the simulator as the application sent it.
    EXPECT_TRUE(sim().waitOutput(QStringLiteral("live %1 = %2").arg(gain).arg(step)))
        << sim().output().toStdString();

    const ProgramRun get = ctl({"get", "input line gain"});
    expectOk(get);
    EXPECT_EQ(lines(get), QList<QByteArray>{"Input Line Gain\t" + label});
}

TEST_F(CtlToolTest, SetTakesSeveralValuesAndGlobals)
{
    startSim();
    const ProgramRun r = ctl({"--json", "set", "delay=12.3", "Input Source=aes", "Input Symmetry=on"});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    const QJsonArray array = json(r).array();
    ASSERT_EQ(array.size(), 3);
    EXPECT_EQ(array[0]["name"].toString(), "DELAY");
    EXPECT_EQ(array[0]["label"].toString(), "12.3mS");
    EXPECT_EQ(array[1]["label"].toString(), "AES");
    EXPECT_EQ(array[2]["label"].toString(), "IN");
    EXPECT_TRUE(sim().waitOutput(QStringLiteral("global %1 = 123").arg(G_DELAY)))
        << sim().output().toStdString();
    EXPECT_TRUE(sim().waitOutput(QStringLiteral("live %1 = 1").arg(idOf("Input Source"))));
    EXPECT_EQ(lines(ctl({"get", "DELAY", "Input Symmetry"})),
              (QList<QByteArray>{"DELAY\t12.3mS", "Input Symmetry\tIN"}));
}

TEST_F(CtlToolTest, UnknownNamesAndBadValuesSendNothing)
{
    startSim();
    expectOneErrorLine(ctl({"get", "Input Line Gain", "Input Lime Gain"}),
                       "unknown name \"Input Lime Gain\"");
    expectOneErrorLine(ctl({"set", "Input Line Gain=3", "Bogus=1"}), "unknown name \"Bogus\"");
    expectOneErrorLine(ctl({"set", "Input Line Gain=3", "Input Line Gain=loud"}), "\"loud\" is not a value");
    expectOneErrorLine(ctl({"set", "Input Line Gain=99"}), "out of range");
    expectOneErrorLine(ctl({"set", "delay=-5"}), "out of range");
    EXPECT_EQ(sim().framesIn("MSG_VALUES"), 0);
    EXPECT_EQ(sim().framesIn("MSG_GLOBALS"), 0);
}

TEST_F(CtlToolTest, DumpShowsLabelAndWireValueOfEverything)
{
    startSim();
    const uint16_t gain = idOf("Input Line Gain");
    ASSERT_EQ(ctl({"set", "Input Line Gain=-3", "delay=2.5"}).status, 0);
    const ProgramRun r = ctl({"dump"});
    expectOk(r);
    const QList<QByteArray> got = lines(r);
    ASSERT_EQ(size_t(got.size()), ctl::allValues().size());
    for (const QByteArray &line : got)
        EXPECT_EQ(line.count('\t'), 2) << line.constData();
    SETTINGS_MAP table;
    EXPECT_TRUE(got.contains("Input Line Gain\t" + labelOf(gain, table.floatToIndex(gain, -3.0f)) + "\t-3"));
    EXPECT_TRUE(got.contains("DELAY\t2.5mS\t25"));
    EXPECT_TRUE(got.contains("Input Source\tLINE\t0"));

    const QJsonArray array = json(ctl({"--json", "dump"})).array();
    ASSERT_EQ(size_t(array.size()), got.size());
    for (const QJsonValue &v : array) {
        if (v["name"].toString() != "Input Line Gain")
            continue;
        EXPECT_EQ(v["raw"].toDouble(), -3.0);
        EXPECT_EQ(uint32_t(v["index"].toInt()), table.floatToIndex(gain, -3.0f));
    }
}

TEST_F(CtlToolTest, SlotsListsTheSlotsInUseWithTheirLocks)
{
    startSim();
    const ProgramRun r = ctl({"slots"});
    expectOk(r);
    const QList<QByteArray> got = lines(r);
    ASSERT_EQ(got.size(), 12) << r.out.constData();
    EXPECT_EQ(got[0], "001\tFactory Default\tfactory locked");
    EXPECT_EQ(got[1], "002\tAM Music Medium\tfactory locked");
    EXPECT_EQ(got[4], "005\tSports Play by Play\tunlocked");
    EXPECT_EQ(got[10], "011\tStation Custom\tlocked");
    EXPECT_EQ(got[11], "012\tMorning Show\tunlocked");

    const QJsonArray array = json(ctl({"slots", "--json"})).array();
    ASSERT_EQ(array.size(), 12);
    EXPECT_EQ(array[11]["slot"].toInt(), 12);
    EXPECT_EQ(array[11]["name"].toString(), "Morning Show");
    EXPECT_EQ(array[3]["lock"].toString(), "factory locked");
}

TEST_F(CtlToolTest, MetersPrintTheMainLevelsOfEachFrame)
{
    startSim();
    const ProgramRun r = ctl({"meters", "--count", "3"});
    expectOk(r);
    const QList<QByteArray> got = lines(r);
    ASSERT_EQ(got.size(), 3) << r.out.constData();
    static const QRegularExpression line(
        QStringLiteral("^IN(\\t-\\d+\\.\\d\\d){2}\\tAM(\\t-\\d+\\.\\d\\d){2}\\tHD(\\t-\\d+\\.\\d\\d){2}$"));
    for (const QByteArray &l : got)
        EXPECT_TRUE(line.match(QString::fromLatin1(l)).hasMatch()) << l.constData();
    EXPECT_GE(sim().framesIn("MSG_METER_REQUEST_UDP"), 1);

    const QJsonArray frames = json(ctl({"--json", "meters"})).array();
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0]["hd"]["level"].toArray().size(), 2);
    EXPECT_LE(frames[0]["in"]["level"][0].toDouble(), 0.0);
}

TEST_F(CtlToolTest, APasswordTheProcessorAsksForMustBeGivenAndRight)
{
    startSim({"--password", "studio"});
    expectOneErrorLine(ctl({"status"}), "asks for a password");
    expectOneErrorLine(ctl({"--password", "studi0", "status"}), "refused the password");
    const ProgramRun right = ctl({"--password", "studio", "status"});
    expectOk(right);
    EXPECT_TRUE(right.out.startsWith("link\tOnline\n"));
}

TEST_F(CtlToolTest, ADeviceGivesTheAddressAndTheRememberedPassword)
{
    startSim({"--password", "studio"});
    {
        ASSERT_TRUE(QDir().mkpath("maps"));
        IniStore device(QStringLiteral("maps/Studio A.cfg"), IniStore::XmlFile);
        device.writeString(QStringLiteral("Device"), QStringLiteral("IPAddr"), QStringLiteral("127.0.0.1"));
        device.writeInt(QStringLiteral("Access"), QStringLiteral("rcrc"),
                        int(crc32(std::string_view("studio"))));
        ASSERT_TRUE(device.flush());
    }
    const ProgramRun r = ctl({"--device", "Studio A", "status"});
    expectOk(r);
    EXPECT_TRUE(r.out.contains("\ndevice\tStudio A\n")) << r.out.constData();
    // One login, with the remembered password.
    EXPECT_EQ(sim().framesIn("MSG_CONNECT"), 1);
}

TEST_F(CtlToolTest, AMissingDeviceIsAnErrorAndNoFileIsMade)
{
    expectOneErrorLine(ctlBare({"--device", "Nowhere", "status"}), "no such device \"Nowhere\"");
    EXPECT_FALSE(QFileInfo::exists("maps/Nowhere.cfg"));
    EXPECT_FALSE(QFileInfo::exists("maps"));
    expectOneErrorLine(ctlBare({"--device", "../Nowhere", "status"}), "no such device");
}

TEST_F(CtlToolTest, AProcessorThatNeverAnswersTheLoginEndsTheRunAtTheTimeout)
{
    startSim({"--no-login-reply"});
    expectOneErrorLine(ctl({"--timeout", "1", "status"}), "did not answer the login within 1 s");
    EXPECT_TRUE(sim().output().contains(QStringLiteral("application connected")))
        << sim().output().toStdString();
}

TEST_F(CtlToolTest, AProcessorThatIsNotThereEndsTheRunAtTheTimeout)
{
    const ProgramRun r =
        ctlBare({"--port", QString::number(freeTcpPort()), "--timeout", "1", "get", "delay"});
    expectOneErrorLine(r, "cannot reach 127.0.0.1:");
}

TEST_F(CtlToolTest, ASilentListenerEndsTheRunAtTheTimeout)
{
    LoopbackPeer peer; // accepts and says nothing
    const ProgramRun r = ctlBare({"--port", QString::number(peer.port()), "--timeout", "1", "slots"});
    expectOneErrorLine(r, "did not answer the login within 1 s");
    EXPECT_GE(peer.accepted(), 1);
}

TEST_F(CtlToolTest, AccessCommandsWriteTheProcessorsCodesAndRefuseWhatIsNotOne)
{
    startSim({"--password", "old"});
    const QStringList login{"--password", "old"};
    const ProgramRun lock = ctl(login + QStringList{"lock-code", "0"});
    expectOk(lock);
    EXPECT_EQ(lock.out, "access code set\n");
    EXPECT_TRUE(sim().waitOutput(QStringLiteral("global %1 = %2").arg(G_LOCAL_PW).arg(int32_t(crc32("0")))));
    expectOk(ctl(login + QStringList{"lock-code", "--clear"}));
    EXPECT_TRUE(sim().waitOutput(QStringLiteral("global %1 = 0").arg(G_LOCAL_PW)));

    expectOk(ctl(login + QStringList{"front-panel", "disabled"}));
    EXPECT_EQ(lines(ctl(login + QStringList{"get", "FP PSWD"})), QList<QByteArray>{"FP PSWD\t10001"});
    const ProgramRun code = ctl(login + QStringList{"front-panel", "0042"});
    expectOk(code);
    EXPECT_EQ(code.out, "front panel: code 42\n");

    const int framesBefore = sim().framesIn("MSG_CONNECT");
    expectOneErrorLine(ctl(login + QStringList{"lock-code", "12a"}), "not a code of 1 to 10 digits");
    expectOneErrorLine(ctl(login + QStringList{"front-panel", "10000"}), "not a code of 1 to 4 digits");
    expectOneErrorLine(ctl(login + QStringList{"login-password", "only-one"}), "expects OLD NEW");
    EXPECT_EQ(sim().framesIn("MSG_CONNECT"), framesBefore) << "refused before connecting";

    // The old password opens the login and must be the processor's own.
    expectOneErrorLine(ctl({"login-password", "wrong", "new"}), "refused the password");
    expectOneErrorLine(ctl(login + QStringList{"login-password", "olde", "new"}), "Incorrect current password.");
    const ProgramRun change = ctl({"login-password", "old", "new"});
    expectOk(change);
    EXPECT_EQ(change.out, "login password changed\n");
    expectOneErrorLine(ctl(login + QStringList{"status"}), "refused the password");
    expectOk(ctl({"--password", "new", "status"}));
}

TEST_F(CtlToolTest, ThreeHundredEventsPutComeBackFromTheProcessorAsTheyWent)
{
    startSim();
    QByteArray text;
    for (int i = 0; i < 300; ++i) {
        const EventTime t{i % 24, (i * 7) % 60, i % 60};
        const ScheduleEvent e = i % 3 == 0 ? ScheduleEvent{packLongTerm(1 + i % 12, 1 + i % 28, t), uint32_t(i % 80)}
                                           : ScheduleEvent{packWeekly(uint8_t(i % 128), t), uint32_t(i % 80)};
        text += eventLine(e).toUtf8() + '\n';
    }
    ASSERT_TRUE(writeAll(path(QStringLiteral("week.txt")), "\n" + text)); // empty lines are skipped
    const ProgramRun put = ctl({"events", "put", path(QStringLiteral("week.txt"))});
    expectOk(put);
    EXPECT_EQ(put.out, "300 events sent\n");
    const ProgramRun get = ctl({"events", "get"});
    expectOk(get);
    EXPECT_EQ(get.out, text);
}

TEST_F(CtlToolTest, AnEventsFileWithAWrongLineOrTooManyEventsSendsNothing)
{
    startSim();
    ASSERT_TRUE(writeAll(path(QStringLiteral("bad.txt")), "weekly SMTWTFS 06:00:00 1\n\nweekly SMTWTFS 25:00:00 1\n"));
    expectOneErrorLine(ctl({"events", "put", path(QStringLiteral("bad.txt"))}), "line 3: \"25:00:00\" is not a time");
    QByteArray many;
    for (int i = 0; i < 1001; ++i)
        many += "yearly 01-01 00:00:00 1\n";
    ASSERT_TRUE(writeAll(path(QStringLiteral("many.txt")), many));
    expectOneErrorLine(ctl({"events", "put", path(QStringLiteral("many.txt"))}), "1001 events: the processor holds at most 1000");
    expectOneErrorLine(ctl({"events", "put", path(QStringLiteral("none.txt"))}), "does not exist");
    EXPECT_EQ(sim().framesIn("MSG_EVENTS"), 0);
    const ProgramRun cut = ctl({"events", "put", "--truncate", path(QStringLiteral("many.txt"))});
    expectOk(cut);
    EXPECT_EQ(cut.out, "1000 events sent\n");
    EXPECT_EQ(lines(ctl({"events", "get"})).size(), 1000);
}

TEST_F(CtlToolTest, TheClockSetReachesTheProcessorAndItsClockFollows)
{
    startSim();
    const ProgramRun set = ctl({"clock", "set", "2030-01-02 03:04:05"});
    expectOk(set);
    EXPECT_EQ(set.out, "clock set to 2030-01-02 03:04:05\n");
    const ProgramRun get = ctl({"clock", "get"});
    expectOk(get);
    EXPECT_TRUE(get.out.startsWith("2030-01-02 03:0")) << get.out.constData();
    EXPECT_TRUE(get.out.contains("\tWed\tmanual\t")) << get.out.constData();

    expectOk(ctl({"clock", "set", "now", "--sntp", "10.0.0.7", "--tz", "-5"}));
    EXPECT_TRUE(lines(ctl({"clock", "get"})).value(0).endsWith("\tsntp\t10.0.0.7\t-5.00"));
    expectOneErrorLine(ctl({"clock", "set", "2030-02-30 00:00:00"}), "is not now or");
    expectOneErrorLine(ctl({"clock", "set", "now", "--sntp", "ntp.example", "--tz", "1"}), "not an IPv4 address");
    expectOneErrorLine(ctlBare({"clock", "get", "--tz", "1"}), "--sntp and --tz go with clock set only");
}
