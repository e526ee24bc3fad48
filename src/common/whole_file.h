// Reading a whole file with a size limit, and moving a damaged file out of the way. A file that is
// not a regular file (a device, a pipe) is never opened: reading one could block or never end.
#pragma once

#include <QByteArray>
#include <QString>

namespace orba {

// The limit for settings files: far above what the application writes, far below what could hang it.
constexpr qint64 kSettingsFileLimit = qint64(1) << 20;

enum class FileReadResult { Ok, Missing, NotRegular, Unreadable, TooLarge };

// Reads at most `limit` bytes; a longer file gives TooLarge and no data.
FileReadResult readWholeFile(const QString &path, qint64 limit, QByteArray &data);

// "1 MiB", "64 KiB" or "300 bytes", for messages.
QString sizeText(qint64 bytes);

// Renames `path` to `target`, or to the first free "<target base>.<n>.<suffix>" when `target` is
// taken, so an earlier file of that name is never replaced. Returns the new path, or empty.
QString moveAside(const QString &path, const QString &target);

} // namespace orba
