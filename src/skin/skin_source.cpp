#include "skin/skin_source.h"

#include "common/whole_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace orba::skin {

namespace {

// Reads `name` inside `root`, refusing what a link or a ".." carries outside it.
SourceStatus readInside(const QString &root, const QString &name, qint64 limit, QByteArray *data)
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

PackSkinSource::PackSkinSource(const QString &location, std::vector<PackEntry> entries) : m_location(location)
{
    // A later entry of the same name wins, as it does when the pack is unpacked.
    for (PackEntry &e : entries)
        m_files.insert(e.name, std::move(e.data));
}

SourceStatus PackSkinSource::read(const QString &name, qint64 limit, QByteArray *data) const
{
    const QString relative = skinRelativeName(name);
    if (relative.isEmpty())
        return name.isEmpty() ? SourceStatus::Missing : SourceStatus::Outside;
    const auto it = m_files.constFind(relative);
    if (it == m_files.constEnd())
        return SourceStatus::Missing;
    if (it->size() > limit)
        return SourceStatus::TooLarge;
    *data = *it;
    return SourceStatus::Ok;
}

} // namespace orba::skin
