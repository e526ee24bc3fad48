// A fresh temporary working folder per test: the application works relative to the current
// folder, so each test runs in its own and the folder is removed afterwards.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace orba::test {

class WorkDirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_dir->isValid());
        ASSERT_TRUE(QDir::setCurrent(m_dir->path()));
    }
    void TearDown() override
    {
        QDir::setCurrent(m_previous);
        m_dir.reset();
    }
    QString path(const QString &relative = {}) const
    {
        return relative.isEmpty() ? m_dir->path() : QDir(m_dir->path()).filePath(relative);
    }

private:
    QString m_previous;
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Folder of the built programs (orba, orba-sim, SkinPacker, ...), from the test environment.
QString binDir();

// What a program run to its end left behind.
struct ProgramRun
{
    int status = -1; // the exit code; -1 when it did not end in time or crashed
    QByteArray out, err;
};
// Runs a program from binDir() (on the offscreen platform) and waits for its end.
ProgramRun runProgram(const QString &name, const QStringList &args, int timeoutMs = 60000);

} // namespace orba::test
