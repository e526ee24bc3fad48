// Arbitrary bytes unpacked as a ".skin" file: nothing may be written outside the target folder and
// no entry may be written from a cut-off file.
#include "skin/skin_pack.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

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
    return 0;
}
