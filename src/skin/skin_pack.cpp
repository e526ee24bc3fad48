#include "skin/skin_pack.h"

#include "common/atomic_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace orba::skin {

namespace {

void putU16(QByteArray &out, uint16_t v)
{
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void putU32(QByteArray &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t getU32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<uint32_t>(u[3]) << 24);
}

uint16_t getU16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return static_cast<uint16_t>(u[0] | (u[1] << 8));
}

void addFolder(std::vector<PackSource> &out, const QString &folder, uint16_t kind, const QString &exclude,
               QSet<QString> &names)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    const QDir root(folder);
    std::vector<PackSource> found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (!exclude.isEmpty() && absolute == QFileInfo(exclude).absoluteFilePath())
            continue;
        found.push_back({root.relativeFilePath(path), absolute, kind});
    }
    std::sort(found.begin(), found.end(),
              [](const PackSource &a, const PackSource &b) { return a.name < b.name; });
    for (PackSource &s : found) {
        if (names.contains(s.name))
            continue;
        names.insert(s.name);
        out.push_back(std::move(s));
    }
}

} // namespace

QByteArray packHeader(uint32_t entryCount)
{
    QByteArray out("SKIN", 4);
    putU16(out, kPackFormatVersion);
    putU16(out, 0);
    putU32(out, entryCount);
    putU32(out, 0);
    return out;
}

QByteArray packEntryHeader(uint16_t kind, uint16_t nameLength, uint32_t dataLength)
{
    QByteArray out;
    putU16(out, kind);
    putU16(out, nameLength);
    putU32(out, dataLength);
    return out;
}

std::vector<PackSource> collectPackSources(const QString &skinFolder, const QString &imagesFolder,
                                           const QString &exclude)
{
    std::vector<PackSource> out;
    QSet<QString> names;
    addFolder(out, skinFolder, kPackFromSkin, exclude, names);
    addFolder(out, imagesFolder, kPackFromImages, exclude, names);
    return out;
}

bool writePackedSkin(const QString &file, const std::vector<PackSource> &sources, QString *error,
                     QStringList *report)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot create \"%1\": %2").arg(file, out.errorString());
        return false;
    }
    bool whole = orba::writeToSaveFile(out, packHeader(static_cast<uint32_t>(sources.size())));
    for (const PackSource &s : sources) {
        const QByteArray name = s.name.toUtf8();
        if (name.size() > 0xFFFF || !safeEntryName(name)) {
            *error = QStringLiteral("unusable file name \"%1\"").arg(s.name);
            return false;
        }
        QFile in(s.path);
        if (!in.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read \"%1\": %2").arg(s.path, in.errorString());
            return false;
        }
        const QByteArray data = in.readAll();
        if (in.error() != QFileDevice::NoError || data.size() != in.size() || data.size() > 0xFFFFFFFFll) {
            *error = QStringLiteral("cannot read \"%1\"").arg(s.path);
            return false;
        }
        whole = whole &&
                orba::writeToSaveFile(out, packEntryHeader(s.kind, static_cast<uint16_t>(name.size()),
                                                           static_cast<uint32_t>(data.size()))) &&
                orba::writeToSaveFile(out, name) && orba::writeToSaveFile(out, data);
        if (report)
            *report << QStringLiteral("%1 (%2 bytes)").arg(s.name).arg(data.size());
    }
    if (!orba::commitSaveFile(out)) {
        *error =
            QStringLiteral("cannot write \"%1\": %2")
                .arg(file, whole ? out.errorString() : QStringLiteral("not every byte could be written"));
        return false;
    }
    return true;
}

bool safeEntryName(const QByteArray &name)
{
    if (name.isEmpty() || name.startsWith('/') || name.contains('\\') || name.contains('\0') ||
        name.contains(':'))
        return false;
    for (const QByteArray &part : name.split('/')) {
        if (part.isEmpty() || part == "." || part == "..")
            return false;
    }
    return true;
}

PackContents parsePackedSkin(const QByteArray &bytes)
{
    PackContents out;
    if (bytes.size() > kMaxPackBytes) {
        out.status = PackStatus::TooLarge;
        return out;
    }
    if (bytes.size() < kPackHeaderSize || !bytes.startsWith("SKIN")) {
        out.status = PackStatus::BadFile;
        return out;
    }
    const qint64 size = bytes.size();
    qint64 pos = kPackHeaderSize;
    while (pos < size) {
        if (out.entries.size() >= size_t(kMaxPackEntries)) {
            out = PackContents{};
            out.status = PackStatus::TooManyEntries;
            return out;
        }
        if (size - pos < kPackEntryHeaderSize) {
            out.status = PackStatus::Truncated;
            break;
        }
        const char *header = bytes.constData() + pos;
        const uint16_t nameLength = getU16(header + 2);
        const qint64 dataLength = getU32(header + 4);
        pos += kPackEntryHeaderSize;
        const QByteArray name = bytes.mid(pos, qMin<qint64>(nameLength, size - pos));
        out.entry = QString::fromUtf8(name);
        // A declared length beyond the end of the file is a cut-off entry: nothing of it is kept.
        if (name.size() != nameLength || dataLength > size - pos - nameLength) {
            out.status = PackStatus::Truncated;
            break;
        }
        if (!safeEntryName(name)) {
            out.status = PackStatus::UnsafeName;
            break;
        }
        pos += nameLength;
        out.entries.push_back({out.entry, bytes.mid(pos, dataLength), pos});
        pos += dataLength;
    }
    if (out.status == PackStatus::Ok)
        out.entry.clear();
    return out;
}

PackContents readPackedSkin(const QString &file)
{
    PackContents out;
    QFile in(file);
    if (!QFileInfo(file).isFile() || !in.open(QIODevice::ReadOnly)) {
        out.status = PackStatus::BadFile;
        return out;
    }
    if (in.size() > kMaxPackBytes) {
        out.status = PackStatus::TooLarge;
        return out;
    }
    const QByteArray bytes = in.read(kMaxPackBytes + 1);
    if (in.error() != QFileDevice::NoError) {
        out.status = PackStatus::BadFile;
        return out;
    }
    return parsePackedSkin(bytes);
}

QString packProblem(const PackContents &contents)
{
    switch (contents.status) {
    case PackStatus::Ok:
        break;
    case PackStatus::BadFile:
        return QStringLiteral("it is not a packed skin file");
    case PackStatus::UnsafeName:
        return QStringLiteral("its entry \"%1\" leads outside the skin").arg(contents.entry);
    case PackStatus::Truncated:
        return QStringLiteral("the file is cut off inside its entry \"%1\"").arg(contents.entry);
    case PackStatus::TooManyEntries:
        return QStringLiteral("it holds more than %1 files").arg(kMaxPackEntries);
    case PackStatus::TooLarge:
        return QStringLiteral("it is larger than %1 MB").arg(kMaxPackBytes / (1024 * 1024));
    }
    return QString();
}

UnpackResult unpackSkinFile(const QString &file, const QString &targetFolder)
{
    UnpackResult result;
    const QFileInfo targetInfo(targetFolder);
    if (targetFolder.isEmpty() || !targetInfo.isDir()) {
        result.status = UnpackStatus::NoTarget;
        return result;
    }
    if (targetInfo.isSymLink()) {
        result.status = UnpackStatus::Link;
        result.entry = targetFolder;
        return result;
    }
    const PackContents pack = readPackedSkin(file);
    switch (pack.status) {
    case PackStatus::BadFile:
        result.status = UnpackStatus::BadFile;
        return result;
    case PackStatus::TooManyEntries:
        result.status = UnpackStatus::TooManyEntries;
        return result;
    case PackStatus::TooLarge:
        result.status = UnpackStatus::TooLarge;
        return result;
    default:
        break;
    }
    const QString root = targetInfo.canonicalFilePath();
    const QDir target(root);
    for (const PackEntry &entry : pack.entries) {
        result.entry = entry.name;
        const QString path = target.filePath(entry.name);
        const QString parent = QFileInfo(path).absolutePath();
        // A sub-folder that is a link out of the target would carry the file elsewhere.
        if (!QDir().mkpath(parent) ||
            !(QFileInfo(parent).canonicalFilePath() + QLatin1Char('/')).startsWith(root + QLatin1Char('/'))) {
            result.status = QFileInfo(parent).exists() ? UnpackStatus::Link : UnpackStatus::WriteFailed;
            return result;
        }
        // The atomic write would follow a link and replace whatever it points at.
        if (QFileInfo(path).isSymLink()) {
            result.status = UnpackStatus::Link;
            return result;
        }
        if (!orba::writeFileAtomically(path, entry.data)) {
            result.status = UnpackStatus::WriteFailed;
            return result;
        }
        ++result.written;
    }
    result.entry = pack.entry;
    result.status = pack.status == PackStatus::UnsafeName  ? UnpackStatus::UnsafeName
                    : pack.status == PackStatus::Truncated ? UnpackStatus::Truncated
                                                           : UnpackStatus::Ok;
    return result;
}

} // namespace orba::skin
