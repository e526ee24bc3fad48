#include "sim_process.h"

#include "wait.h"
#include "work_dir.h"

#include <QDir>
#include <QRegularExpression>

namespace orba::test {

SimProcess::SimProcess(const QString &stateDir, const QStringList &extra)
    : m_stateDir(stateDir), m_extra(extra)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::start(uint16_t port)
{
    m_lines.clear();
    m_partial.clear();
    QStringList args{QStringLiteral("--port"), QString::number(port), QStringLiteral("--log"),
                     QStringLiteral("--commands")};
    if (!m_stateDir.isEmpty())
        args << QStringLiteral("--state") << m_stateDir;
    args << m_extra;
    m_process.start(QDir(binDir()).filePath(QStringLiteral("orba-sim")), args);
    if (!m_process.waitForStarted(10000))
        return false;
    static const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QRegularExpressionMatch match;
    const bool up = waitUntil(
        [&] {
            for (const QString &line : lines()) {
                match = listening.match(line);
                if (match.hasMatch())
                    return true;
            }
            return !running();
        },
        10000);
    if (!up || !match.hasMatch())
        return false;
    m_port = uint16_t(match.captured(1).toUInt());
    return true;
}

int SimProcess::stop()
{
    if (running()) {
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    lines(); // what it wrote on the way out
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

const QStringList &SimProcess::lines()
{
    m_process.waitForReadyRead(0);
    m_partial += m_process.readAll();
    int end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_partial.left(end));
        m_partial.remove(0, end + 1);
    }
    return m_lines;
}

bool SimProcess::waitOutput(const QString &text, int timeoutMs)
{
    return waitUntil(
        [&] {
            for (const QString &line : lines())
                if (line.contains(text))
                    return true;
            return false;
        },
        timeoutMs);
}

int SimProcess::frames(const char *direction, const char *type)
{
    const QString marker =
        QStringLiteral("] ") + QLatin1String(direction) + QLatin1String(type) + QLatin1Char(' ');
    int n = 0;
    for (const QString &line : lines())
        n += line.contains(marker) ? 1 : 0;
    return n;
}

void SimProcess::frontPanel(const QString &edit)
{
    m_process.write(edit.toUtf8() + '\n');
    m_process.waitForBytesWritten(1000);
}

} // namespace orba::test
