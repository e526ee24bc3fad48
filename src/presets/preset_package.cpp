#include "presets/preset_package.h"

#include "common/atomic_file.h"
#include "presets/preset_index.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace orba {

namespace {

// Files of one folder, then its sub-folders, depth first. Linked folders are not followed: a link
// back up the tree would never end.
void collectFiles(const QDir &dir, QStringList &out)
{
    const QStringList filters{QStringLiteral("*") + QLatin1String(PRESET_SUFFIX),
                              QLatin1String(PRESET_INDEX_FILE)};
    const auto sorting = QDir::Name | QDir::IgnoreCase;
    for (const QFileInfo &fi : dir.entryInfoList(filters, QDir::Files | QDir::CaseSensitive, sorting))
        out << fi.absoluteFilePath();
    for (const QFileInfo &fi :
         dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, sorting))
        collectFiles(QDir(fi.absoluteFilePath()), out);
}

// Creates the folders of a record path below the target one by one, refusing any part that is a
// link (it could point anywhere). Returns the status and, on success, the file's full path.
PackageResult::Status makeParents(const QString &target, const QString &relative, QString &filePath)
{
    const QStringList parts = relative.split(QLatin1Char('/'));
    QString current = target;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        current += QLatin1Char('/') + parts[i];
        const QFileInfo fi(current);
        if (fi.isSymLink())
            return PackageResult::UnsafePath;
        if (fi.exists() ? !fi.isDir() : !QDir().mkdir(current))
            return PackageResult::CannotCreateFolder;
    }
    filePath = current + QLatin1Char('/') + parts.last();
    const QFileInfo fi(filePath);
    if (fi.isSymLink())
        return PackageResult::UnsafePath;
    if (fi.isDir())
        return PackageResult::CannotWriteFile;
    return PackageResult::Ok;
}

} // namespace

QByteArray packageHeader()
{
    QByteArray out(PACKAGE_HEADER_BYTES, '\0');
    qToLittleEndian(PACKAGE_MAGIC, out.data());
    return out;
}

bool isPackageHeader(QByteArrayView data)
{
    return data.size() >= PACKAGE_HEADER_BYTES && qFromLittleEndian<uint32_t>(data.data()) == PACKAGE_MAGIC;
}

QByteArray invertedBytes(QByteArrayView data)
{
    QByteArray out(data.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        out[i] = char(~data[i]);
    return out;
}

QByteArray packageRecord(QByteArrayView path, QByteArrayView data)
{
    char head[PACKAGE_RECORD_HEADER_BYTES];
    qToLittleEndian(PACKAGE_RECORD_MAGIC, head);
    qToLittleEndian(uint16_t(path.size()), head + 2);
    qToLittleEndian(uint32_t(data.size()), head + 4);
    QByteArray out;
    out.reserve(PACKAGE_RECORD_HEADER_BYTES + path.size() + data.size());
    out.append(head, sizeof head);
    out.append(path);
    out.append(invertedBytes(data));
    return out;
}

PackageStep nextPackageRecord(QByteArrayView package, qsizetype &pos, PackageRecord &record)
{
    if (pos >= package.size())
        return PackageStep::End;
    const qsizetype left = package.size() - pos;
    if (left < PACKAGE_RECORD_HEADER_BYTES)
        return PackageStep::Damaged;
    const char *head = package.data() + pos;
    if (qFromLittleEndian<uint16_t>(head) != PACKAGE_RECORD_MAGIC)
        return PackageStep::Damaged;
    const qsizetype pathLength = qFromLittleEndian<uint16_t>(head + 2);
    const qsizetype dataSize = qFromLittleEndian<uint32_t>(head + 4);
    if (pathLength == 0 || pathLength > PACKAGE_PATH_LIMIT)
        return PackageStep::Damaged;
    // A record cut short would otherwise install a truncated file as if it were whole.
    if (pathLength > left - PACKAGE_RECORD_HEADER_BYTES ||
        dataSize > left - PACKAGE_RECORD_HEADER_BYTES - pathLength)
        return PackageStep::Damaged;
    record.path = package.sliced(pos + PACKAGE_RECORD_HEADER_BYTES, pathLength);
    record.data = package.sliced(pos + PACKAGE_RECORD_HEADER_BYTES + pathLength, dataSize);
    pos += PACKAGE_RECORD_HEADER_BYTES + pathLength + dataSize;
    return PackageStep::Record;
}

bool isSafePackagePath(QByteArrayView path)
{
    if (path.isEmpty())
        return false;
    for (char c : path)
        if (c == '\0' || c == '\\' || c == ':')
            return false;
    qsizetype start = 0;
    while (start <= path.size()) {
        qsizetype end = path.indexOf('/', start);
        if (end < 0)
            end = path.size();
        const QByteArrayView part = path.sliced(start, end - start);
        if (part.isEmpty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

QString packageResultText(const PackageResult &r)
{
    switch (r.status) {
    case PackageResult::Ok:
        return QStringLiteral("installed %1 files").arg(r.files);
    case PackageResult::CannotOpen:
        return QStringLiteral("cannot read the package");
    case PackageResult::NotAPackage:
        return QStringLiteral("This is not an ORBA preset package.");
    case PackageResult::DamagedRecord:
        return QStringLiteral("damaged package record after %1 files").arg(r.files);
    case PackageResult::UnsafePath:
        return QStringLiteral("damaged package record: the path \"%1\" leaves the target folder").arg(r.path);
    case PackageResult::CannotCreateFolder:
        return QStringLiteral("cannot create the folder for \"%1\"").arg(r.path);
    case PackageResult::CannotWriteFile:
        return QStringLiteral("cannot write \"%1\"").arg(r.path);
    case PackageResult::NoFreeName:
        return QStringLiteral("every folder name for \"%1\" is taken").arg(r.path);
    }
    return {};
}

int buildPackage(const QString &folder, const QString &packagePath)
{
    const QDir root(QFileInfo(folder).absoluteFilePath());
    QStringList files;
    collectFiles(root, files);

    QByteArray package = packageHeader();
    for (const QString &file : files) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            continue; // a file that cannot be opened is left out
        // Read whole, so the size in the record is the size of the data that follows it.
        const QByteArray data = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return -1; // a package silently missing part of a file it lists is worse than none
        const QByteArray path = QFile::encodeName(root.relativeFilePath(file));
        if (path.size() > PACKAGE_PATH_LIMIT || data.size() > qsizetype(UINT32_MAX))
            return -1; // no installer could take such a record
        package += packageRecord(path, data);
    }
    return writeFileAtomically(packagePath, package) ? 0 : -1;
}

PackageResult installPackageData(QByteArrayView package, const QString &targetFolder)
{
    PackageResult result;
    if (!isPackageHeader(package)) {
        result.status = PackageResult::NotAPackage;
        return result;
    }
    const QString target = QFileInfo(targetFolder).absoluteFilePath();
    if (!QDir().mkpath(target)) {
        result.status = PackageResult::CannotCreateFolder;
        result.path = targetFolder;
        return result;
    }
    qsizetype pos = PACKAGE_HEADER_BYTES;
    PackageRecord record;
    for (;;) {
        const PackageStep step = nextPackageRecord(package, pos, record);
        if (step == PackageStep::End)
            return result;
        if (step == PackageStep::Damaged) {
            result.status = PackageResult::DamagedRecord;
            return result;
        }
        const QString relative = QFile::decodeName(record.path.toByteArray());
        result.path = relative;
        if (!isSafePackagePath(record.path)) {
            result.status = PackageResult::UnsafePath;
            return result;
        }
        QString filePath;
        result.status = makeParents(target, relative, filePath);
        if (result.status != PackageResult::Ok)
            return result;
        if (!writeFileAtomically(filePath, invertedBytes(record.data))) {
            result.status = PackageResult::CannotWriteFile;
            return result;
        }
        ++result.files;
    }
}

PackageResult installPackage(const QString &packagePath, const QString &targetFolder)
{
    QFile f(packagePath);
    if (!f.open(QIODevice::ReadOnly)) {
        PackageResult result;
        result.status = PackageResult::CannotOpen;
        result.path = packagePath;
        return result;
    }
    const QByteArray package = f.readAll();
    return installPackageData(package, targetFolder);
}

} // namespace orba
