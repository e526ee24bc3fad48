// What the favourite folders do on disk: copy and save presets into a folder, delete and rename
// preset files, and make, rename and delete folders, each with the refusals and questions the user
// sees (through the message seam). Every refusal leaves files and indexes as they were.
#pragma once

#include "presets/preset_transfer.h"

#include <QString>
#include <QStringList>

class IniStore;

namespace orba {

// A name as a file name: characters that cannot stand in one (\ / : * ? " < > |, control
// characters) become '_', and a name of dots only or an empty one becomes "_".
QString fileNameFor(const QString &name);

// Writes each preset as its name with ".orba" (over a file of that name) and indexes it; refused
// into a protected folder with "You can not copy presets to a protected folder.". False when
// refused or a file could not be written.
bool copyPresetsToFolder(const IniStore &settings, const QString &favoritesFolder, const QString &folder,
                         const PresetClipboard &presets);
// The set as name + ".orba" in the folder, indexed. The name has passed the save rules.
bool savePresetToFolder(const QString &folder, const QString &name, const SETTINGS_MAP &set);

// Asks "Are you sure you wish to delete the presets?" with the names; deletes each file and
// takes every deleted one out of its folder's index. The number of files deleted.
int deletePresetFiles(const QStringList &paths);
// Renames the file to newName + ".orba" in its folder, renames the preset inside it and its entry
// in the index. The new path, or empty (after telling the user) when it could not be done.
QString renamePresetFile(const QString &path, const QString &newName);

// The new folder's path, or empty after telling the user. parent empty: nothing is selected.
QString newFolder(const QString &parent, const QString &name);
QString renameFolder(const QString &favoritesFolder, const QString &folder, const QString &newName);
// Refusals, then the question, then the delete; an installed package's name leaves the list.
bool deleteFolder(IniStore &settings, const QString &favoritesFolder, const QString &folder);

} // namespace orba
