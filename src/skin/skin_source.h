// Where a skin's files come from: a skin folder on disk, or a packed skin held in memory. The loader
// reads the skin file, its included files and its pictures only through a source, by names relative
// to the skin, and a source never hands out a file that lies outside the skin.
#pragma once

#include "skin/skin_pack.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

namespace orba::skin {

enum class SourceStatus {
    Ok,
    Missing,  // no such file (or not a regular file)
    Outside,  // the name, or a link on its way, leads outside the skin
    TooLarge, // more than the limit asked for
    ReadError,
};

class SkinSource
{
public:
    virtual ~SkinSource() = default;
    // The skin folder or the packed file, for messages.
    virtual QString location() const = 0;
    // The whole file, at most `limit` bytes.
    virtual SourceStatus read(const QString &name, qint64 limit, QByteArray *data) const = 0;
    // A picture: the skin's own file, else the one of the images shared between skins.
    virtual SourceStatus readPicture(const QString &name, qint64 limit, QByteArray *data) const
    {
        return read(name, limit, data);
    }
    // The first `bytes` of a picture found as readPicture finds it, without reading the rest where
    // the source can help it: enough to tell a picture's size at load.
    virtual SourceStatus readPictureHead(const QString &name, qint64 limit, qint64 bytes,
                                         QByteArray *data) const
    {
        const SourceStatus status = readPicture(name, limit, data);
        data->truncate(bytes);
        return status;
    }
};

// The name cleaned to '/' separators without "." parts; empty when it is absolute, names a drive or
// climbs out with "..".
QString skinRelativeName(const QString &name);

// Where a picture's companion of twice its size lies, by Qt's naming: "images/knob.png" ->
// "images/knob@2x.png".
QString densePictureName(const QString &name);

// A skin folder. Pictures fall back to the folder "skin_images" two levels above it.
class FolderSkinSource final : public SkinSource
{
public:
    explicit FolderSkinSource(const QString &folder) : m_folder(folder) {}
    QString location() const override { return m_folder; }
    SourceStatus read(const QString &name, qint64 limit, QByteArray *data) const override;
    SourceStatus readPicture(const QString &name, qint64 limit, QByteArray *data) const override;
    SourceStatus readPictureHead(const QString &name, qint64 limit, qint64 bytes,
                                 QByteArray *data) const override;

private:
    QString m_folder;
};

// A packed skin: its entries by name. The packer already holds the shared images beside the skin's
// own files.
//
// The companions of pictures for dense screens are not kept in memory when `location` is the packed
// file the entries were read from: only their place in it, their first bytes and a hash of them. They
// are read from the file again when first drawn, and one that no longer matches is missing.
class PackSkinSource final : public SkinSource
{
public:
    PackSkinSource(const QString &location, std::vector<PackEntry> entries);
    QString location() const override { return m_location; }
    SourceStatus read(const QString &name, qint64 limit, QByteArray *data) const override;
    SourceStatus readPictureHead(const QString &name, qint64 limit, qint64 bytes,
                                 QByteArray *data) const override;
    // Entries left in the file (for tests).
    int entriesLeftInFile() const { return int(m_later.size()); }

    static constexpr qint64 kHeadBytes = 64;

private:
    struct Later
    {
        qint64 offset = 0, size = 0;
        size_t fingerprint = 0;
        QByteArray head;
    };
    QString m_location;
    QHash<QString, QByteArray> m_files;
    QHash<QString, Later> m_later;
};

// "knob@2x.png" and the like: the companion of another picture, by Qt's naming.
bool isDensePictureName(const QString &name);

} // namespace orba::skin
