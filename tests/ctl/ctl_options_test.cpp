// orba-ctl's command line, without running anything.
#include "ctl_options.h"

#include <gtest/gtest.h>

using namespace orba::ctl;

namespace {

Options parse(const QStringList &args)
{
    return parseOptions(args);
}

std::string text(const QString &s)
{
    return s.toStdString();
}

} // namespace

TEST(CtlOptions, OptionsTakeTheirValueEitherWayAndGoAnywhere)
{
    const Options o = parse({"--port=4000", "get", "--timeout", "0.25", "Input Line Gain", "--json",
                             "--password", "", "--host", "10.0.0.5", " delay "});
    ASSERT_TRUE(o.error.isEmpty()) << text(o.error);
    EXPECT_EQ(o.port, 4000);
    EXPECT_EQ(o.timeoutMs, 250);
    EXPECT_TRUE(o.json);
    EXPECT_TRUE(o.passwordGiven); // an empty password is a password
    EXPECT_EQ(o.host, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(o.arguments, (QStringList{"Input Line Gain", " delay "}));
}

TEST(CtlOptions, DoubleDashEndsTheOptions)
{
    const Options o = parse({"get", "--", "--json"});
    ASSERT_TRUE(o.error.isEmpty()) << text(o.error);
    EXPECT_FALSE(o.json);
    EXPECT_EQ(o.arguments, QStringList{"--json"});
}

TEST(CtlOptions, WrongCommandLinesSayWhatIsWrong)
{
    const std::pair<QStringList, const char *> cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"--frob", "status"}, "unknown option"},
        {{"status", "--port"}, "needs a value"},
        {{"--port", "0", "status"}, "--port"},
        {{"--port", "65536", "status"}, "--port"},
        {{"--port", "http", "status"}, "--port"},
        {{"--timeout", "0", "status"}, "--timeout"},
        {{"--timeout", "-1", "status"}, "--timeout"},
        {{"--timeout", "nan", "status"}, "--timeout"},
        {{"--timeout", "1e9", "status"}, "--timeout"},
        {{"meters", "--count", "0"}, "--count"},
        {{"meters", "--count", "x"}, "--count"},
        {{"status", "--count", "2"}, "meters only"},
        {{"--host", "127.0.0.1", "--device", "a", "status"}, "--device"},
        {{"set"}, "NAME=VALUE"},
        {{"set", "Input Line Gain"}, "NAME=VALUE"},
        {{"status", "extra"}, "no arguments"},
        {{"dump", "x"}, "no arguments"},
    };
    for (const auto &[args, wanted] : cases) {
        const Options o = parse(args);
        EXPECT_TRUE(o.error.contains(QLatin1String(wanted))) << text(args.join(' ')) << ": " << text(o.error);
        EXPECT_TRUE(o.help.isEmpty());
    }
}

// The help texts themselves: CtlToolTest.HelpDescribesTheProgramAndEachCommand.
TEST(CtlOptions, HelpHasTwoLevels)
{
    EXPECT_EQ(parse({"--help"}).help, usageText());
    EXPECT_EQ(parse({"status", "-h"}).help, commandHelp(QStringLiteral("status")));
    // Asked for, help wins over what would be wrong without it.
    EXPECT_FALSE(parse({"set", "--help"}).help.isEmpty());
    EXPECT_TRUE(commandHelp(QStringLiteral("frobnicate")).isEmpty());
}
