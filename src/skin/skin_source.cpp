#include "skin/skin_source.h"

#include "common/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace orba::skin {

namespace {

// Reads `name` inside `root`, refusing what a link or a ".." carries outside it; only its first
// `head` bytes when that is not negative.
SourceStatus readInside(const QString &root, const QString &name, qint64 limit, QByteArray *data,
                        qint64 head = -1)
{
    const QString relative = skinRelativeName(name);
    if (relative.isEmpty())
        return name.isEmpty() ? SourceStatus::Missing : SourceStatus::Outside;
    const QFileInfo info(QDir(root).filePath(relative));
    if (!info.exists())
        return SourceStatus::Missing;
    const QString base = QFileInfo(root).canonicalFilePath();
    const QString real = info.canonicalFilePath();
    if (base.isEmpty() || !real.startsWith(base + QLatin1Char('/')))
        return SourceStatus::Outside;
    if (head >= 0) {
        const QFileInfo file(real);
        if (!file.isFile()) // a device or a pipe could block
            return SourceStatus::Missing;
        if (file.size() > limit)
            return SourceStatus::TooLarge;
        QFile in(real);
        if (!in.open(QIODevice::ReadOnly))
            return SourceStatus::ReadError;
        *data = in.read(head);
        return in.error() == QFileDevice::NoError ? SourceStatus::Ok : SourceStatus::ReadError;
    }
    // Only regular files: a device or a pipe would be read without end.
    switch (orba::readWholeFile(real, limit, *data)) {
    case orba::FileReadResult::Ok:
        return SourceStatus::Ok;
    case orba::FileReadResult::Missing:
    case orba::FileReadResult::NotRegular:
        return SourceStatus::Missing;
    case orba::FileReadResult::TooLarge:
        return SourceStatus::TooLarge;
    case orba::FileReadResult::Unreadable:
        break;
    }
    return SourceStatus::ReadError;
}

// What tells a companion read again from its file from another: a fast hash, not a CRC, since
// every start computes it over all the companions.
size_t fingerprint(const QByteArray &data)
{
    return qHashBits(data.constData(), size_t(data.size()), 0x5eed);
}

} // namespace

QString skinRelativeName(const QString &name)
{
    QString clean = name;
    clean.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (clean.startsWith(QLatin1Char('/')) || clean.contains(QLatin1Char(':')) || clean.contains(QChar(0)))
        return QString();
    clean = QDir::cleanPath(clean);
    if (clean == QLatin1String(".") || clean == QLatin1String("..") || clean.startsWith(QLatin1String("../")))
        return QString();
    return clean;
}

QString densePictureName(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const int slash = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    if (dot <= slash + 1) // no extension, or a name that is all extension (".png")
        return name + QLatin1String("@2x");
    return name.left(dot) + QLatin1String("@2x") + name.mid(dot);
}

SourceStatus FolderSkinSource::read(const QString &name, qint64 limit, QByteArray *data) const
{
    return readInside(m_folder, name, limit, data);
}

SourceStatus FolderSkinSource::readPicture(const QString &name, qint64 limit, QByteArray *data) const
{
    const SourceStatus own = readInside(m_folder, name, limit, data);
    if (own != SourceStatus::Missing)
        return own;
    return readInside(QDir(m_folder).filePath(QStringLiteral("../../skin_images")), name, limit, data);
}

bool isDensePictureName(const QString &name)
{
    const int slash = name.lastIndexOf(QLatin1Char('/'));
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const int end = dot > slash + 1 ? dot : name.size();
    return end - slash - 1 > 3 && QStringView(name).mid(end - 3, 3) == QLatin1String("@2x");
}

SourceStatus FolderSkinSource::readPictureHead(const QString &name, qint64 limit, qint64 bytes,
                                               QByteArray *data) const
{
    const SourceStatus own = readInside(m_folder, name, limit, data, bytes);
    if (own != SourceStatus::Missing)
        return own;
    return readInside(QDir(m_folder).filePath(QStringLiteral("../../skin_images")), name, limit, data, bytes);
}

PackSkinSource::PackSkinSource(const QString &location, std::vector<PackEntry> entries) : m_location(location)
{
    // Companions stay in the file when it holds them where the entries say (only a regular file:
    // opening a pipe could block).
    QFile file(location);
    const bool fromFile = QFileInfo(location).isFile() && file.open(QIODevice::ReadOnly);
    // A later entry of the same name wins, as it does when the pack is unpacked.
    for (PackEntry &e : entries) {
        m_files.remove(e.name);
        m_later.remove(e.name);
        if (fromFile && e.offset >= 0 && e.data.size() > kHeadBytes && isDensePictureName(e.name) &&
            e.offset + e.data.size() <= file.size() && file.seek(e.offset) &&
            file.read(kHeadBytes) == e.data.left(kHeadBytes)) {
            m_later.insert(e.name,
                           Later{e.offset, e.data.size(), fingerprint(e.data), e.data.left(kHeadBytes)});
            continue;
        }
        m_files.insert(e.name, std::move(e.data));
    }
}

SourceStatus PackSkinSource::read(const QString &name, qint64 limit, QByteArray *data) const
{
    const QString relative = skinRelativeName(name);
    if (relative.isEmpty())
        return name.isEmpty() ? SourceStatus::Missing : SourceStatus::Outside;
    const auto it = m_files.constFind(relative);
    if (it != m_files.constEnd()) {
        if (it->size() > limit)
            return SourceStatus::TooLarge;
        *data = *it;
        return SourceStatus::Ok;
    }
    const auto later = m_later.constFind(relative);
    if (later == m_later.constEnd())
        return SourceStatus::Missing;
    if (later->size > limit)
        return SourceStatus::TooLarge;
    // From the file again (on any thread: each read has its own handle); what changed since is
    // missing rather than wrong.
    QFile file(m_location);
    if (!QFileInfo(m_location).isFile() || !file.open(QIODevice::ReadOnly) || !file.seek(later->offset))
        return SourceStatus::Missing;
    QByteArray bytes = file.read(later->size);
    if (bytes.size() != later->size || fingerprint(bytes) != later->fingerprint)
        return SourceStatus::Missing;
    *data = std::move(bytes);
    return SourceStatus::Ok;
}

SourceStatus PackSkinSource::readPictureHead(const QString &name, qint64 limit, qint64 bytes,
                                             QByteArray *data) const
{
    const auto later = m_later.constFind(skinRelativeName(name));
    if (later == m_later.constEnd() || bytes > later->head.size())
        return SkinSource::readPictureHead(name, limit, bytes, data);
    if (later->size > limit)
        return SourceStatus::TooLarge;
    *data = later->head.left(bytes);
    return SourceStatus::Ok;
}

} // namespace orba::skin
