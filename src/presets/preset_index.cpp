#include "presets/preset_index.h"

#include "common/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace orba {

namespace {

QString indexPath(const QString &folder)
{
    return QDir(folder).filePath(QLatin1String(PRESET_INDEX_FILE));
}

// Reads, changes and rewrites the index when the change did something.
// An index that exists but cannot be read is left alone: rewriting it would lose the user's order.
template <typename Change> bool updateIndex(const QString &folder, Change change)
{
    std::optional<QStringList> names = readIndex(folder);
    if (!names)
        return false;
    return !change(*names) || writeIndex(folder, *names);
}

} // namespace

QStringList parseIndex(QByteArrayView data)
{
    QStringList names;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype end = data.indexOf('\n', pos);
        if (end < 0)
            end = data.size();
        QByteArrayView line = data.sliced(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            names << QString::fromLocal8Bit(line);
        pos = end + 1;
    }
    return names;
}

QByteArray renderIndex(const QStringList &names)
{
#ifdef Q_OS_WIN
    const char *eol = "\r\n";
#else
    const char *eol = "\n";
#endif
    QByteArray out;
    for (const QString &name : names)
        out += name.toLocal8Bit() + eol;
    return out;
}

bool indexAdd(QStringList &names, const QString &name)
{
    if (names.contains(name))
        return false;
    names << name;
    return true;
}

bool indexRemove(QStringList &names, const QString &name)
{
    return names.removeAll(name) > 0;
}

bool indexRename(QStringList &names, const QString &from, const QString &to)
{
    const qsizetype p = names.indexOf(from);
    if (p < 0)
        return false;
    names[p] = to;
    return true;
}

bool indexMoveUp(QStringList &names, const QString &name)
{
    const qsizetype p = names.indexOf(name);
    if (p <= 0)
        return false;
    names.swapItemsAt(p, p - 1);
    return true;
}

bool indexMoveDown(QStringList &names, const QString &name)
{
    const qsizetype p = names.indexOf(name);
    if (p < 0 || p >= names.size() - 1)
        return false;
    names.swapItemsAt(p, p + 1);
    return true;
}

std::optional<QStringList> readIndex(const QString &folder)
{
    QFile f(indexPath(folder));
    if (!f.exists())
        return QStringList();
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return parseIndex(data);
}

bool writeIndex(const QString &folder, const QStringList &names)
{
    return writeFileAtomically(indexPath(folder), renderIndex(names));
}

bool addToIndex(const QString &folder, const QString &fileName)
{
    return updateIndex(folder, [&](QStringList &n) { return indexAdd(n, fileName); });
}

bool removeFromIndex(const QString &folder, const QString &fileName)
{
    return updateIndex(folder, [&](QStringList &n) { return indexRemove(n, fileName); });
}

bool renameInIndex(const QString &folder, const QString &from, const QString &to)
{
    return updateIndex(folder, [&](QStringList &n) { return indexRename(n, from, to); });
}

bool moveUp(const QString &folder, const QString &fileName)
{
    return updateIndex(folder, [&](QStringList &n) { return indexMoveUp(n, fileName); });
}

bool moveDown(const QString &folder, const QString &fileName)
{
    return updateIndex(folder, [&](QStringList &n) { return indexMoveDown(n, fileName); });
}

QStringList presetFileNames(const QString &folder)
{
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*") + QLatin1String(PRESET_SUFFIX)});
    dir.setFilter(QDir::Files | QDir::CaseSensitive);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

QVector<ListedPreset> listFolder(const QString &folder, bool isProtected)
{
    const QDir dir(folder);
    const std::optional<QStringList> stored = readIndex(folder);
    QStringList index = stored.value_or(QStringList());
    const QStringList files = presetFileNames(folder);
    const QSet<QString> present(files.cbegin(), files.cend());

    QVector<ListedPreset> out;
    QSet<QString> listed;
    const auto list = [&](const QString &fileName) {
        listed.insert(fileName);
        const QString base = fileName.chopped(int(qstrlen(PRESET_SUFFIX)));
        out.push_back({base, QFileInfo(dir.filePath(fileName)).absoluteFilePath(), isProtected});
    };
    for (const QString &fileName : index)
        if (present.contains(fileName) && !listed.contains(fileName))
            list(fileName);
    bool appended = false;
    for (const QString &fileName : files) {
        if (listed.contains(fileName))
            continue;
        list(fileName);
        appended |= indexAdd(index, fileName);
    }
    if (appended && stored)
        writeIndex(folder, index);
    return out;
}

} // namespace orba
