// The packed skin file (".skin"): "SKIN", 12 header bytes, then entries {2 bytes kind, u16 name
// length, u32 data length, name, data}, little-endian. Names are relative paths with '/'
// separators. Pure file code, shared by the skin dialog (unpacking) and tools/SkinPacker (packing).
//
// Layout written by the packer: every file of the skin folder under its path relative to that
// folder (kind 0), then every file of the shared images folder under its path relative to the
// images folder (kind 1), so the loader's fallback from "file" to "skin_images/file" finds it
// beside skin.xml once unpacked; a skin file of the same name wins, as it does in the loader.
// Header after the magic: u16 format version (1), u16 reserved, u32 entry count, u32 reserved.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace orba::skin {

constexpr int kPackHeaderSize = 16;
constexpr int kPackEntryHeaderSize = 8;
constexpr uint16_t kPackFormatVersion = 1;
enum PackEntryKind : uint16_t { kPackFromSkin = 0, kPackFromImages = 1 };

struct PackSource
{
    QString name; // relative, '/' separators
    QString path; // absolute path of the file to read
    uint16_t kind = kPackFromSkin;
};

QByteArray packHeader(uint32_t entryCount);
QByteArray packEntryHeader(uint16_t kind, uint16_t nameLength, uint32_t dataLength);

// The files to pack, in a stable order; `exclude` (the output file) is left out.
std::vector<PackSource> collectPackSources(const QString &skinFolder, const QString &imagesFolder,
                                           const QString &exclude);
// Writes the packed file atomically. Returns false with a message on any failure.
bool writePackedSkin(const QString &file, const std::vector<PackSource> &sources, QString *error,
                     QStringList *report = nullptr);

// True for a relative name that stays inside the target folder: no absolute path, drive letter,
// backslash, empty, "." or ".." component.
bool safeEntryName(const QByteArray &name);

// A packed skin larger than this, or with more entries, is refused as a whole: the default skin
// needs well under a megabyte and a few dozen files.
constexpr qint64 kMaxPackBytes = 64 * 1024 * 1024;
constexpr int kMaxPackEntries = 4096;

struct PackEntry
{
    QString name; // relative, '/' separators, checked by safeEntryName
    QByteArray data;
    qint64 offset = -1; // where data starts in the parsed bytes
};

enum class PackStatus {
    Ok,
    BadFile,        // cannot be read, short header or no "SKIN" magic
    UnsafeName,     // an entry names a place outside the skin; the entries before it are kept
    Truncated,      // the file ends inside an entry; the complete entries before it are kept
    TooManyEntries, // more than kMaxPackEntries; nothing is kept
    TooLarge,       // more than kMaxPackBytes; nothing is kept
};

struct PackContents
{
    PackStatus status = PackStatus::Ok;
    std::vector<PackEntry> entries;
    QString entry; // the entry concerned, for UnsafeName and Truncated
};

// A whole packed skin held in memory.
PackContents parsePackedSkin(const QByteArray &bytes);
// Reads and parses a packed skin file; one over kMaxPackBytes is refused unread.
PackContents readPackedSkin(const QString &file);
// Why a pack cannot be used, as a phrase for a message; empty for Ok.
QString packProblem(const PackContents &contents);

// The pictures of a pack (entries named ".png" or ".bmp"), as indexes into its entries, in the
// order the skin first uses them as it is read from "skin.xml" through its included files: a
// picture object where it stands, a picture shared by id where an object first names it. What the
// skin never names follows in pack order. Only an order for work done ahead of the loader: the
// loader itself does not depend on it, and a skin it cannot read gives the pack order.
std::vector<size_t> picturesInReadingOrder(const PackContents &contents);

enum class UnpackStatus {
    Ok,             // every entry written (a file of exactly the header unpacks to nothing)
    NoTarget,       // the target folder does not exist
    BadFile,        // cannot be opened, short header or no "SKIN" magic
    UnsafeName,     // an entry would land outside the target folder; nothing more unpacked
    WriteFailed,    // an entry could not be written; nothing more unpacked
    Truncated,      // the file ends inside an entry; the complete entries before it are written
    TooManyEntries, // nothing written
    TooLarge,       // nothing written
    Link,           // the target folder or an entry's file is a link; nothing more unpacked
};

struct UnpackResult
{
    UnpackStatus status = UnpackStatus::Ok;
    QString entry; // the entry concerned, for UnsafeName, WriteFailed, Truncated and Link
    int written = 0;
};

// Writes every entry through a temporary file and an atomic rename. Links are never written
// through: a target folder that is a link, or an entry whose file is one, stops the unpacking.
UnpackResult unpackSkinFile(const QString &file, const QString &targetFolder);

} // namespace orba::skin
