// Preset files on disk: thin shells around the byte formats of preset_format.h. Every write goes
// through a temporary file and an atomic rename, so a failed or interrupted write keeps the old file.
#pragma once

#include "presets/preset_format.h"

#include <QString>

class QObject;

namespace orba {

// Zeroes the header, then reads the name (and, for the current format, the reserved block) from the
// file's first line in either format. PRESET_CANNOT_OPEN when the file cannot be read.
int readPresetHeader(PresetHeader &header, const QString &path);

// Reads the header, then the records of whichever format the file is in, into the table (change
// source 2). On success the header is in use and holds the table's checksums. A file that cannot
// be read leaves the header zeroed and the table as it was.
int loadPreset(PresetHeader &header, SETTINGS_MAP &table, const QString &path);

// Writes the current format from the header's name and reserved block and the table's values.
// Returns false when the file could not be written; the previous file is then untouched.
bool writePreset(const PresetHeader &header, const SETTINGS_MAP &table, const QString &path);

// Shows a warning titled "Error": format with the result text in its %s, one OK button.
void showPresetError(QObject *parent, const QString &format, int code);

} // namespace orba
