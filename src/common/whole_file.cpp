#include "common/whole_file.h"

#include <QFile>
#include <QFileInfo>

namespace orba {

namespace {
constexpr int kMaxAsideNumber = 999;
}

FileReadResult readWholeFile(const QString &path, qint64 limit, QByteArray &data)
{
    data.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return FileReadResult::Missing;
    if (!info.isFile())
        return FileReadResult::NotRegular;
    if (info.size() > limit)
        return FileReadResult::TooLarge;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FileReadResult::Unreadable;
    // The file may have grown since it was looked at: read one byte more than allowed to know.
    QByteArray read = f.read(limit + 1);
    if (f.error() != QFileDevice::NoError)
        return FileReadResult::Unreadable;
    if (read.size() > limit)
        return FileReadResult::TooLarge;
    data = std::move(read);
    return FileReadResult::Ok;
}

QString sizeText(qint64 bytes)
{
    if (bytes >= (qint64(1) << 20) && bytes % (qint64(1) << 20) == 0)
        return QStringLiteral("%1 MiB").arg(bytes >> 20);
    if (bytes >= 1024 && bytes % 1024 == 0)
        return QStringLiteral("%1 KiB").arg(bytes >> 10);
    return QStringLiteral("%1 bytes").arg(bytes);
}

QString moveAside(const QString &path, const QString &target)
{
    const QFileInfo wanted(target);
    const QString base = wanted.completeBaseName();
    const QString suffix = wanted.suffix();
    const QString folder = target.left(target.size() - wanted.fileName().size());
    QString candidate = target;
    for (int n = 1; n <= kMaxAsideNumber; ++n) {
        // QFile::rename never replaces an existing file; a name taken in between is skipped too.
        if (!QFileInfo::exists(candidate) && QFile::rename(path, candidate))
            return candidate;
        if (!QFileInfo::exists(path))
            return {};
        QString name = base + QLatin1Char('.') + QString::number(n);
        if (!suffix.isEmpty())
            name += QLatin1Char('.') + suffix;
        candidate = folder + name;
    }
    return {};
}

} // namespace orba
