#include "presets/favorites.h"

#include "common/message.h"
#include "presets/name_rules.h"
#include "presets/package_store.h"
#include "presets/preset_file.h"
#include "presets/preset_index.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orba {

namespace {

void tell(MessageKind kind, const QString &title, const QString &text)
{
    showMessage(kind, nullptr, title, text);
}

bool sameFolder(const QString &a, const QString &b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

QString fileNameFor(const QString &name)
{
    QString out = name;
    for (QChar &c : out)
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    if (out.isEmpty() || out.count(QLatin1Char('.')) == out.size())
        out = QStringLiteral("_");
    return out;
}

bool copyPresetsToFolder(const IniStore &settings, const QString &favoritesFolder, const QString &folder,
                         const PresetClipboard &presets)
{
    if (isProtectedFolder(settings, favoritesFolder, folder)) {
        tell(MessageKind::Warning, QStringLiteral("Copy Files"),
             QStringLiteral("You can not copy presets to a protected folder."));
        return false;
    }
    bool all = true;
    for (const ClipPreset &preset : presets) {
        const QString file =
            fileNameFor(QString::fromLatin1(preset.header.nameText().c_str())) + QLatin1String(PRESET_SUFFIX);
        if (!writePreset(preset.header, *preset.values, QDir(folder).filePath(file)) ||
            !addToIndex(folder, file))
            all = false;
    }
    return all;
}

bool savePresetToFolder(const QString &folder, const QString &name, const SETTINGS_MAP &set)
{
    PresetHeader header;
    header.clear();
    header.setName(name.toLatin1().toStdString());
    header.inUse = 1;
    const QString file = fileNameFor(name) + QLatin1String(PRESET_SUFFIX);
    return writePreset(header, set, QDir(folder).filePath(file)) && addToIndex(folder, file);
}

int deletePresetFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return 0;
    QString text = QStringLiteral("Are you sure you wish to delete the presets?\n");
    for (const QString &p : paths)
        text += QFileInfo(p).completeBaseName() + QLatin1Char('\n');
    if (showMessage(MessageKind::Question, nullptr, QStringLiteral("Delete presets"), text, MsgYes | MsgNo) !=
        MsgYes)
        return 0;
    int deleted = 0;
    for (const QString &p : paths) {
        // A file that stays keeps its index entry.
        if (!QFile::remove(p))
            continue;
        ++deleted;
        const QFileInfo info(p);
        removeFromIndex(info.absolutePath(), info.fileName());
    }
    return deleted;
}

QString renamePresetFile(const QString &path, const QString &newName)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    const QString newFile = newName + QLatin1String(PRESET_SUFFIX);
    const QString target = QDir(folder).filePath(newFile);
    const QString title = QStringLiteral("Error");
    if (QFileInfo::exists(target)) {
        tell(MessageKind::Critical, title, QStringLiteral("A file with that name already exists."));
        return {};
    }
    if (!QFile::rename(path, target)) {
        tell(MessageKind::Critical, title, QStringLiteral("Unable to rename file."));
        return {};
    }
    SETTINGS_MAP set;
    PresetHeader header;
    header.clear();
    if (loadPreset(header, set, target) == PRESET_OK) {
        header.setName(newName.toLatin1().toStdString());
        writePreset(header, set, target);
    }
    renameInIndex(folder, info.fileName(), newFile);
    return target;
}

QString newFolder(const QString &parent, const QString &name)
{
    const QString title = QStringLiteral("New Folder");
    if (parent.isEmpty()) {
        tell(MessageKind::Information, title,
             QStringLiteral("Please select a location in the tree to create the new folder."));
        return {};
    }
    const NameCheck check = checkFolderName(name);
    if (!check.accepted()) {
        if (check.result == NameCheck::Refused)
            tell(MessageKind::Information, check.title, check.text);
        return {};
    }
    const QString target = QDir(parent).filePath(name);
    if (QFileInfo::exists(target) || !QDir(parent).mkdir(name)) {
        tell(MessageKind::Warning, title, QStringLiteral("Unable to create new folder"));
        return {};
    }
    return target;
}

QString renameFolder(const QString &favoritesFolder, const QString &folder, const QString &newName)
{
    const QString title = QStringLiteral("Rename Folder");
    if (folder.isEmpty()) {
        tell(MessageKind::Information, title, QStringLiteral("Please select a folder to rename."));
        return {};
    }
    if (sameFolder(folder, favoritesFolder)) {
        tell(MessageKind::Information, title, QStringLiteral("Cannot rename the root folder."));
        return {};
    }
    const NameCheck check = checkRenameName(newName, FOLDER_NAME_MAX);
    if (!check.accepted()) {
        if (check.result == NameCheck::Refused)
            tell(MessageKind::Information, check.title, check.text);
        return {};
    }
    const QFileInfo info(folder);
    const QString target = QDir(info.absolutePath()).filePath(newName);
    if (QFileInfo::exists(target) || !QDir().rename(info.absoluteFilePath(), target)) {
        tell(MessageKind::Warning, title, QStringLiteral("Access error renaming the folder."));
        return {};
    }
    return target;
}

bool deleteFolder(IniStore &settings, const QString &favoritesFolder, const QString &folder)
{
    const QString title = QStringLiteral("Delete Folder");
    if (folder.isEmpty()) {
        tell(MessageKind::Information, title, QStringLiteral("Please select a folder to delete."));
        return false;
    }
    if (sameFolder(folder, favoritesFolder)) {
        tell(MessageKind::Information, title, QStringLiteral("Cannot delete the root folder."));
        return false;
    }
    const bool package = isPackageFolder(settings, favoritesFolder, folder);
    if (!package && isProtectedFolder(settings, favoritesFolder, folder)) {
        tell(MessageKind::Information, title, QStringLiteral("You must delete the entire package at once."));
        return false;
    }
    QString question = QStringLiteral("Are you sure you want to delete the selected folder?");
    if (package)
        question += QStringLiteral("\n\nThis is a preset package folder!!!");
    if (showMessage(MessageKind::Question, nullptr, title, question, MsgYes | MsgNo) != MsgYes)
        return false;
    QDir dir(folder);
    for (const QString &file : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(file);
    const QFileInfo info(folder);
    if (!QDir(info.absolutePath()).rmdir(info.fileName())) {
        tell(MessageKind::Warning, title, QStringLiteral("Cannot delete the folder, it is not empty."));
        return false;
    }
    if (package)
        removePackageName(settings, info.fileName());
    return true;
}

} // namespace orba
