#include "preset_helpers.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace orba::test {

void changeEveryParameter(SETTINGS_MAP &set, bool shift)
{
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id)) {
        const uint32_t lo = set.getRawMin(id);
        const uint32_t hi = set.getRawMax(id);
        const bool atMax = set.getRaw(id) == hi;
        uint32_t raw = atMax ? lo : hi;
        if (shift && hi - lo > 1)
            raw = atMax ? lo + 1 : hi - 1;
        set.setIndex(id, raw, CHANGE_LOCAL);
    }
}

int differingParameters(const SETTINGS_MAP &a, const SETTINGS_MAP &b)
{
    int n = 0;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        n += a.getRaw(id) != b.getRaw(id);
    return n;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

#ifdef Q_OS_UNIX
FileSizeLimit::FileSizeLimit(unsigned long bytes)
{
    struct rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_saved = limit.rlim_cur;
    m_handler = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    limit.rlim_cur = bytes;
    m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    struct rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0) {
        limit.rlim_cur = m_saved;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::signal(SIGXFSZ, m_handler);
}
#endif

} // namespace orba::test
