#include "presets/package_store.h"

#include "common/ini_store.h"
#include "common/message.h"
#include "common/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace orba {

namespace {

const QString kSection = QStringLiteral("PRESETS");
const QString kKey = QStringLiteral("packages");
constexpr int kMaxSuffix = 9;

void writeNames(IniStore &settings, const QString &value)
{
    settings.writeString(kSection, kKey, value);
    settings.flush();
}

// The folder's path below the favourites folder, or empty when it is not below it.
QString pathBelow(const QString &favoritesFolder, const QString &folder)
{
    const QString root = QDir::cleanPath(QFileInfo(favoritesFolder).absoluteFilePath());
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (!path.startsWith(root + QLatin1Char('/')))
        return {};
    return path.mid(root.size() + 1);
}

} // namespace

QStringList packageNames(const IniStore &settings)
{
    return settings.readString(kSection, kKey, QString()).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool isPackageName(const IniStore &settings, const QString &name)
{
    return !name.isEmpty() && packageNames(settings).contains(name);
}

void addPackageName(IniStore &settings, const QString &name)
{
    const QString value = settings.readString(kSection, kKey, QString());
    writeNames(settings, value.isEmpty() ? name : value + QLatin1Char(';') + name);
}

void removePackageName(IniStore &settings, const QString &name)
{
    QStringList names = packageNames(settings);
    names.removeAll(name);
    writeNames(settings, names.join(QLatin1Char(';')));
}

bool isPackageFolder(const IniStore &settings, const QString &favoritesFolder, const QString &folder)
{
    const QString below = pathBelow(favoritesFolder, folder);
    return !below.isEmpty() && !below.contains(QLatin1Char('/')) && isPackageName(settings, below);
}

bool isProtectedFolder(const IniStore &settings, const QString &favoritesFolder, const QString &folder)
{
    const QString below = pathBelow(favoritesFolder, folder);
    return !below.isEmpty() && isPackageName(settings, below.section(QLatin1Char('/'), 0, 0));
}

QString choosePackageFolderName(const IniStore &settings, const QString &favoritesFolder,
                                const QString &packagePath)
{
    // A ";" would split the name in the installed list, so the folder would lose its protection.
    QString base = QFileInfo(packagePath).completeBaseName();
    base.replace(QLatin1Char(';'), QLatin1Char('_'));
    if (base.isEmpty())
        return {};
    const QDir favorites(favoritesFolder);
    const auto taken = [&](const QString &name) {
        return isPackageName(settings, name) || QFileInfo::exists(favorites.filePath(name));
    };
    if (!taken(base))
        return base;
    for (int n = 2; n <= kMaxSuffix; ++n) {
        const QString name = base + QString::asprintf(" (%d)", n);
        if (!taken(name))
            return name;
    }
    return {};
}

PackageResult installPackageFile(IniStore &settings, const QString &favoritesFolder,
                                 const QString &packagePath)
{
    PackageResult result;
    const QString name = choosePackageFolderName(settings, favoritesFolder, packagePath);
    if (name.isEmpty()) {
        result.status = PackageResult::NoFreeName;
        result.path = QFileInfo(packagePath).completeBaseName();
        return result;
    }
    // Installed into a hidden folder beside the favourites and renamed into place whole, so a
    // package that breaks off halfway leaves nothing behind.
    const QString parent = QFileInfo(favoritesFolder).absolutePath();
    QTemporaryDir staging(parent + QStringLiteral("/.package-XXXXXX"));
    if (!staging.isValid() || !QDir().mkpath(favoritesFolder)) {
        result.status = PackageResult::CannotCreateFolder;
        result.path = QDir(favoritesFolder).filePath(name);
        return result;
    }
    result = installPackage(packagePath, staging.path());
    if (!result.ok())
        return result;
    const QString target = QDir(favoritesFolder).filePath(name);
    if (!QDir().rename(staging.path(), target)) {
        result.status = PackageResult::CannotCreateFolder;
        result.path = target;
        return result;
    }
    if (!isPackageName(settings, name))
        addPackageName(settings, name);
    return result;
}

void autoloadPackages(IniStore &settings, const QString &presetsFolder, const QString &favoritesFolder)
{
    const QDir autoload(QDir(presetsFolder).filePath(QStringLiteral("autoload")));
    QDir().mkpath(autoload.path());
    const QStringList packages =
        autoload.entryList({QStringLiteral("*.pkg")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    const QDir failed(autoload.filePath(QStringLiteral("failed")));
    for (const QString &file : packages) {
        const QString path = autoload.filePath(file);
        const PackageResult result = installPackageFile(settings, favoritesFolder, path);
        if (result.ok()) {
            QFile::remove(path);
            continue;
        }
        // It may be the only copy; out of the way, it is not tried again at every start.
        QDir().mkpath(failed.path());
        const QString moved = moveAside(path, failed.filePath(file));
        QString reason = packageResultText(result);
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        QString text = QStringLiteral("Unable to install preset package \"%1\": %2.\n").arg(file, reason);
        if (moved.isEmpty())
            text += QStringLiteral("It stays in \"%1\".").arg(QDir::toNativeSeparators(autoload.path()));
        else if (result.badPackage())
            text += QStringLiteral("It was moved to \"%1\".").arg(QDir::toNativeSeparators(moved));
        else
            text += QStringLiteral("It was moved to \"%1\"; put it back into \"%2\" to try again.")
                        .arg(QDir::toNativeSeparators(moved), QDir::toNativeSeparators(autoload.path()));
        showMessage(MessageKind::Warning, nullptr, QStringLiteral("Error"), text);
    }
}

} // namespace orba
