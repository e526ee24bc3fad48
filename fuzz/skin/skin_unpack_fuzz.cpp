// Arbitrary bytes unpacked as a ".skin" file: nothing may be written outside the target folder and
// no entry may be written from a cut-off file. The same bytes read as a pack in memory must give
// exactly the files that unpacking wrote, also when the companions of pictures are read back from
// the file.
#include "skin/skin_pack.h"
#include "skin/skin_source.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *g_dir = nullptr;

int countFiles(const QString &folder)
{
    int n = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++n;
    }
    return n;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    g_dir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString root = g_dir->path();
    const QString file = root + QStringLiteral("/in.skin");
    const QString target = root + QStringLiteral("/box/target");
    QDir(root + QStringLiteral("/box")).removeRecursively();
    QDir().mkpath(target);
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        out.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    const orba::skin::UnpackResult result = orba::skin::unpackSkinFile(file, target);
    // Everything written lies inside the target: the box around it holds nothing else.
    if (countFiles(root + QStringLiteral("/box")) != countFiles(target))
        std::abort();
    if (countFiles(target) > result.written)
        std::abort();
    if (countFiles(root) != countFiles(target) + 1)
        std::abort();

    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    orba::skin::PackContents pack = orba::skin::parsePackedSkin(bytes);
    if (pack.entries.size() < static_cast<size_t>(result.written))
        std::abort();
    std::vector<orba::skin::PackEntry> entries = pack.entries;
    // From the file itself: companions of pictures ("@2x") are left there and read back when asked.
    const orba::skin::PackSkinSource source(file, std::move(entries));
    for (const orba::skin::PackEntry &entry : pack.entries) {
        QFile unpacked(QDir(target).filePath(entry.name));
        if (!unpacked.open(QIODevice::ReadOnly))
            continue; // not reached by unpacking (stopped earlier)
        QByteArray fromSource;
        // A later entry of the same name replaces an earlier one in both.
        if (source.read(entry.name, orba::skin::kMaxPackBytes, &fromSource) != orba::skin::SourceStatus::Ok ||
            unpacked.readAll() != fromSource)
            std::abort();
        QByteArray head;
        if (source.readPictureHead(entry.name, orba::skin::kMaxPackBytes, 24, &head) !=
                orba::skin::SourceStatus::Ok ||
            !fromSource.startsWith(head) || head.size() != std::min<qsizetype>(24, fromSource.size()))
            std::abort();
    }
    return 0;
}
