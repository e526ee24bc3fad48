// Preset packages (".pkg"): a folder tree of preset and index files in one file. A 16-byte header
// (magic 0xAAAABBBB, twelve zero bytes), then one record per file: magic 0xABCD, path length,
// data size, the path relative to the packed folder with '/' separators, the data with every byte
// inverted. Record code is pure; building and installing are shells over files.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace orba {

constexpr uint32_t PACKAGE_MAGIC = 0xAAAABBBB;
constexpr int PACKAGE_HEADER_BYTES = 16;
constexpr uint16_t PACKAGE_RECORD_MAGIC = 0xABCD;
constexpr int PACKAGE_RECORD_HEADER_BYTES = 8;
constexpr int PACKAGE_PATH_LIMIT = 1023;

QByteArray packageHeader();
// At least 16 bytes, starting with the magic.
bool isPackageHeader(QByteArrayView data);
QByteArray invertedBytes(QByteArrayView data);
// A whole record: header, path, inverted data.
QByteArray packageRecord(QByteArrayView path, QByteArrayView data);

struct PackageRecord
{
    QByteArrayView path;
    QByteArrayView data; // as stored: inverted
};

enum class PackageStep { Record, End, Damaged };
// Reads the record at pos and moves pos past it. Damaged: a short or foreign record header, an
// empty path or one longer than 1023 bytes, or a path or data that runs past the end.
PackageStep nextPackageRecord(QByteArrayView package, qsizetype &pos, PackageRecord &record);

// A record path that stays inside the folder it is installed into: relative, '/'-separated, no
// empty, "." or ".." part, no backslash, colon or NUL.
bool isSafePackagePath(QByteArrayView path);

struct PackageResult
{
    enum Status {
        Ok,
        CannotOpen,         // the package file cannot be read
        NotAPackage,        // fewer than 16 bytes or the wrong magic
        DamagedRecord,      // see nextPackageRecord
        UnsafePath,         // a path that would leave the target folder
        CannotCreateFolder, // the target folder or a folder of a record
        CannotWriteFile,
        NoFreeName, // every folder name for the package is taken
    };
    Status status = Ok;
    QString path;  // the record or folder concerned
    int files = 0; // files written
    bool ok() const { return status == Ok; }
    // The package file itself is at fault, so trying it again cannot help.
    bool badPackage() const
    {
        return status == NotAPackage || status == DamagedRecord || status == UnsafePath;
    }
};
// One line for the user, such as "damaged record after 3 files".
QString packageResultText(const PackageResult &result);

// Packs the "*.orba" and index files of a folder tree, depth first (files, then sub-folders, each
// in listing order); a file that cannot be opened is left out. 0, or -1 when a file breaks off while
// being read or the package cannot be written (nothing is left behind then, an old file stays).
int buildPackage(const QString &folder, const QString &packagePath);

// Installs every record into targetFolder (created when missing). A package with the wrong magic is
// refused (NotAPackage) before anything is created. The install stops at the first damaged record;
// the files written before it stay. Shows no message: callers tell the user.
PackageResult installPackageData(QByteArrayView package, const QString &targetFolder);
PackageResult installPackage(const QString &packagePath, const QString &targetFolder);

} // namespace orba
