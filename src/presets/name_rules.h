// The rules for names the user types: rename (slots, favourite files and folders), new folder, and
// save. Pure checks that give the refusal's title and text, so each dialog shows them in an
// information box and keeps the name field focused.
#pragma once

#include <QString>

namespace orba {

constexpr int PRESET_NAME_MAX = 40;
constexpr int FOLDER_NAME_MAX = 100;

struct NameCheck
{
    enum Result {
        Accepted,
        Empty,   // nothing typed: the dialog does nothing
        Refused, // title and text say why
    };
    Result result = Accepted;
    QString title;
    QString text;
    bool accepted() const { return result == Accepted; }
};

// Rename: 1 to maxLength characters (40 for presets, 100 for folders) of ASCII letters, digits,
// space, '#' and '_', neither starting nor ending with a space. Title "Rename".
NameCheck checkRenameName(const QString &name, int maxLength = PRESET_NAME_MAX);
// New folder: as rename, with its own message for spaces. Title "New Folder".
NameCheck checkFolderName(const QString &name);
// Save: no leading space and none of \ / : * ? " < > |. Title "Save preset".
NameCheck checkSaveName(const QString &name);

} // namespace orba
