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

private:
    QString m_folder;
};

// A packed skin: its entries by name. The packer already holds the shared images beside the skin's
// own files.
class PackSkinSource final : public SkinSource
{
public:
    PackSkinSource(const QString &location, std::vector<PackEntry> entries);
    QString location() const override { return m_location; }
    SourceStatus read(const QString &name, qint64 limit, QByteArray *data) const override;

private:
    QString m_location;
    QHash<QString, QByteArray> m_files;
};

} // namespace orba::skin
