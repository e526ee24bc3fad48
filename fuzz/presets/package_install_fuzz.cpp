// Package installs on any bytes: records are read and written into a scratch folder, and nothing may
// ever appear outside the target folder.
#include "presets/preset_package.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

QString scratchBase()
{
    // A memory file system keeps the per-file sync of the installer cheap.
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::unique_ptr<QTemporaryDir> scratch =
        std::make_unique<QTemporaryDir>(scratchBase() + QStringLiteral("/orba-pkg-fuzz-XXXXXX"));
    const QByteArrayView package(reinterpret_cast<const char *>(data), qsizetype(size));

    // The pure reader: every record it gives lies inside the package and moves forward.
    qsizetype pos = orba::PACKAGE_HEADER_BYTES;
    orba::PackageRecord record;
    while (pos < package.size()) {
        const qsizetype before = pos;
        if (orba::nextPackageRecord(package, pos, record) != orba::PackageStep::Record)
            break;
        if (pos <= before || pos > package.size() || record.path.isEmpty() ||
            record.path.size() > orba::PACKAGE_PATH_LIMIT)
            std::abort();
    }

    const QString target = scratch->filePath(QStringLiteral("target"));
    const orba::PackageResult result = orba::installPackageData(package, target);
    (void)result;
    const QStringList entries =
        QDir(scratch->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (!entries.isEmpty() && entries != QStringList{QStringLiteral("target")})
        std::abort();
    QDir(target).removeRecursively();
    return 0;
}
