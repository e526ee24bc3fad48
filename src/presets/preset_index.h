// The index of a favourite folder: "orba_pset_idx.txt" lists the folder's preset file names in the
// order the user gave them. Pure list code first, then the file operations, each of which reads the
// index, changes it and rewrites the whole file (only when something changed).
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace orba {

constexpr char PRESET_INDEX_FILE[] = "orba_pset_idx.txt";
constexpr char PRESET_SUFFIX[] = ".orba";

// Lines in the local 8-bit encoding; empty lines are skipped and a carriage return before the line
// feed is dropped, so an index written on either platform reads the same.
QStringList parseIndex(QByteArrayView data);
// One name per line with the platform's text line ending.
QByteArray renderIndex(const QStringList &names);

// List operations; each returns whether the list changed.
bool indexAdd(QStringList &names, const QString &name);                       // unless already there
bool indexRemove(QStringList &names, const QString &name);                    // every equal line
bool indexRename(QStringList &names, const QString &from, const QString &to); // the first equal line
bool indexMoveUp(QStringList &names, const QString &name);
bool indexMoveDown(QStringList &names, const QString &name);

// A missing index reads as empty; none when the index exists but cannot be read.
std::optional<QStringList> readIndex(const QString &folder);
bool writeIndex(const QString &folder, const QStringList &names);

// False when the index cannot be read or a needed rewrite failed (the index is then unchanged).
bool addToIndex(const QString &folder, const QString &fileName);
bool removeFromIndex(const QString &folder, const QString &fileName);
bool renameInIndex(const QString &folder, const QString &from, const QString &to);
bool moveUp(const QString &folder, const QString &fileName);
bool moveDown(const QString &folder, const QString &fileName);

struct ListedPreset
{
    QString name; // the file name without ".orba"
    QString path; // absolute
    bool isProtected = false;
};

// The folder's "*.orba" file names in the order of the folder listing.
QStringList presetFileNames(const QString &folder);

// The presets of a folder: first those the index names (in its order, when the file exists), then
// the files it does not name, in the order of the folder listing; these are appended to the index
// (unless it exists but cannot be read: then it is left as it is).
// Each entry carries the folder's protected flag.
QVector<ListedPreset> listFolder(const QString &folder, bool isProtected);

} // namespace orba
