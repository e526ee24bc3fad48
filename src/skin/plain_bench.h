// tcPlainBench: a bench master for tools, tests, benchmarks and fuzzing: no panels, every control
// unlocked unless a test locks it, messages to the debug output and kept in order, repaint requests
// turned into updates of the host widget.
#pragma once

#include "skin/bench_master.h"

#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class tcPlainBench : public tcBenchMaster
{
public:
    explicit tcPlainBench(const QString &skinFolder, const SkinVocabulary *objects = nullptr)
        : tcBenchMaster(skinFolder, objects)
    {
    }
    explicit tcPlainBench(std::shared_ptr<const orba::skin::SkinSource> source,
                          const SkinVocabulary *objects = nullptr)
        : tcBenchMaster(std::move(source), objects)
    {
    }

    int accessLevel(int controlId) override { return m_locks.value(controlId, 0); }
    // Sizes the host to the "BKGRND" object, scaled.
    void fitHost() override;
    void invalidate(const QRect &rect, int flags) override;
    void report(const char *format, ...) override;

    void setHost(QWidget *host) { m_host = host; }
    QWidget *host() const { return m_host; }
    void setAccessLevel(int controlId, int level) { m_locks[controlId] = level; }
    void setQuiet(bool quiet) { m_quiet = quiet; }

    const QStringList &messages() const { return m_messages; }
    QStringList &messages() { return m_messages; }
    int invalidateCount() const { return m_invalidates; }

private:
    QPointer<QWidget> m_host;
    QMap<int, int> m_locks;
    QStringList m_messages;
    bool m_quiet = false;
    int m_invalidates = 0;
};
