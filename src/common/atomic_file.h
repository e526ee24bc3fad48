// Atomic file writes. QSaveFile::commit() (Qt 6.4) renames the new file into place even when
// flushing its last buffer failed, as on a full disk, which replaces a good file by a truncated
// one; every commit in the project goes through commitSaveFile instead.
#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace orba {

// Writes through to the file; a short write (a large write on a full disk comes back short
// without an error) cancels the file, so the commit that follows fails and keeps the old one.
bool writeToSaveFile(QSaveFile &file, const QByteArray &data);

// Flushes and checks for write errors before committing; on any failure the temporary file is
// discarded and the old file stays as it was.
bool commitSaveFile(QSaveFile &file);

// Writes the whole file through a temporary file and an atomic rename.
bool writeFileAtomically(const QString &path, const QByteArray &data);

} // namespace orba
