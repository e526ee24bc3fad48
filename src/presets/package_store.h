// Installed preset packages: folders directly below the favourites folder whose names are listed in
// the application settings (section "PRESETS", key "packages", joined by ";"). A package folder and
// everything inside it is protected. Every change of the list is written to the store at once.
#pragma once

#include "presets/preset_package.h"

#include <QString>
#include <QStringList>

class IniStore;

namespace orba {

QStringList packageNames(const IniStore &settings);
bool isPackageName(const IniStore &settings, const QString &name);
void addPackageName(IniStore &settings, const QString &name);
void removePackageName(IniStore &settings, const QString &name);

// A folder directly below the favourites folder whose name is an installed package.
bool isPackageFolder(const IniStore &settings, const QString &favoritesFolder, const QString &folder);
// A package folder or any folder inside one.
bool isProtectedFolder(const IniStore &settings, const QString &favoritesFolder, const QString &folder);

// The folder name for a package file: its base name, or when that is an installed package or taken
// in the favourites folder, the base name with " (2)" up to " (9)". Empty when all are taken.
QString choosePackageFolderName(const IniStore &settings, const QString &favoritesFolder,
                                const QString &packagePath);

// Installs a package into a new folder of the favourites folder and lists it as installed. The
// package goes into a temporary folder first and is renamed into place only when whole, so a
// failed install leaves nothing. Shows no message: the caller tells the user.
PackageResult installPackageFile(IniStore &settings, const QString &favoritesFolder,
                                 const QString &packagePath);

// Installs every "*.pkg" file of "autoload" inside the presets folder (created when missing). A
// package file is deleted once installed; one that fails, whatever the reason, is moved to
// "autoload/failed" (never over an earlier file of that name) and named in one message with the
// reason.
void autoloadPackages(IniStore &settings, const QString &presetsFolder, const QString &favoritesFolder);

} // namespace orba
