// orba-ctl and orba-sim run as separate programs on loopback ports, in a fresh working folder.
#pragma once

#include "loopback_peer.h"
#include "sim_process.h"
#include "test_files.h"
#include "work_dir.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orba::test {

class CtlRunTest : public WorkDirTest
{
protected:
    static constexpr int kRunLimitMs = 60000; // only so a hung program fails the test instead of hanging it

    void SetUp() override
    {
        WorkDirTest::SetUp();
        ASSERT_TRUE(QFileInfo(QDir(binDir()).filePath(QStringLiteral("orba-ctl"))).isExecutable())
            << "orba-ctl not found in ORBA_BIN_DIR (\"" << binDir().toStdString() << "\"); run through ctest";
        qputenv("ORBA_METER_PORT", QByteArray::number(freeUdpPort()));
        qunsetenv("ORBA_TCP_PORT");
    }
    void TearDown() override
    {
        sims.clear();
        qunsetenv("ORBA_METER_PORT");
        qunsetenv("ORBA_TCP_PORT");
        WorkDirTest::TearDown();
    }

    // A simulator with the factory bank; or, with empty, with no slot in use.
    SimProcess &startSim(const QStringList &extra = {}, bool empty = false)
    {
        QString state;
        if (empty) {
            state = path(QStringLiteral("state%1").arg(sims.size()));
            EXPECT_TRUE(QDir().mkpath(state));
            EXPECT_TRUE(writeAll(state + "/orba-sim.state", "ORBA-SIM STATE 1\n"));
        }
        sims.push_back(std::make_unique<SimProcess>(state, extra));
        EXPECT_TRUE(sims.back()->start()) << sims.back()->output().toStdString();
        return *sims.back();
    }
    SimProcess &sim() { return *sims.back(); }

    // orba-ctl on the port of the given simulator, or of the one started last.
    static ProgramRun ctl(const SimProcess &s, const QStringList &args)
    {
        return runProgram(QStringLiteral("orba-ctl"),
                          QStringList{QStringLiteral("--port"), QString::number(s.port())} + args, kRunLimitMs);
    }
    ProgramRun ctl(const QStringList &args) { return ctl(sim(), args); }
    static ProgramRun ctlBare(const QStringList &args)
    {
        return runProgram(QStringLiteral("orba-ctl"), args, kRunLimitMs);
    }

    static QList<QByteArray> lines(const ProgramRun &r)
    {
        QList<QByteArray> out = r.out.split('\n');
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }
    static void expectOk(const ProgramRun &r)
    {
        EXPECT_EQ(r.status, 0) << r.err.constData();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    }
    // Exit status 2 and one line on standard error, starting with the program's name.
    static void expectOneErrorLine(const ProgramRun &r, const char *text)
    {
        EXPECT_EQ(r.status, 2) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
        EXPECT_TRUE(r.err.startsWith("orba-ctl: ")) << r.err.constData();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        EXPECT_TRUE(r.err.contains(text)) << r.err.constData();
    }

    std::vector<std::unique_ptr<SimProcess>> sims;
};

} // namespace orba::test
