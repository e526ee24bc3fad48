// The orba-sim program: its options and its start; the end-to-end and orba-ctl tests log in to it.
#include "sim_process.h"
#include "work_dir.h"

#include <gtest/gtest.h>

using namespace orba;
using orba::test::SimProcess;

namespace {

orba::test::ProgramRun runSim(const QStringList &args)
{
    return orba::test::runProgram(QStringLiteral("orba-sim"), args, 10000);
}

} // namespace

TEST(SimProgram, BadOptionsAreRefusedWithAReason)
{
    auto r = runSim({"--meter-rate", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("--meter-rate")) << r.err.toStdString();
    r = runSim({"--boot-mac", "00:11:22"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("--boot-mac"));
    r = runSim({"stray"});
    EXPECT_EQ(r.status, 2);
}

TEST(SimProgram, SecondSimulatorOnTheSamePortSaysWhy)
{
    SimProcess first;
    ASSERT_TRUE(first.start());
    const uint16_t port = first.port();
    const auto r = runSim({"--port", QString::number(port)});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("cannot listen on 127.0.0.1:" + QByteArray::number(port)))
        << r.err.toStdString();
}
