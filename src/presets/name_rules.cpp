#include "presets/name_rules.h"

namespace orba {

namespace {

const QString kInvalidRestricted =
    QStringLiteral("There are invalid characters in the name.\nUse characters A-Z a-z _ # space");

bool isAllowedRestricted(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == ' ' ||
           u == '#' || u == '_';
}

NameCheck refuse(const QString &title, const QString &text)
{
    return {NameCheck::Refused, title, text};
}

NameCheck checkRestricted(const QString &name, int maxLength, const QString &title, const QString &spaceText)
{
    if (name.isEmpty())
        return {NameCheck::Empty, {}, {}};
    if (name.startsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(' ')))
        return refuse(title, spaceText);
    for (QChar c : name)
        if (!isAllowedRestricted(c))
            return refuse(title, kInvalidRestricted);
    // The name fields hold no more than this; a longer text can only come from elsewhere.
    if (name.size() > maxLength)
        return refuse(title, QStringLiteral("A name can have at most %1 characters.").arg(maxLength));
    return {};
}

} // namespace

NameCheck checkRenameName(const QString &name, int maxLength)
{
    return checkRestricted(name, maxLength, QStringLiteral("Rename"),
                           QStringLiteral("A name cannot start or end with a space."));
}

NameCheck checkFolderName(const QString &name)
{
    return checkRestricted(name, FOLDER_NAME_MAX, QStringLiteral("New Folder"),
                           QStringLiteral("A folder name cannot start or end with a space."));
}

NameCheck checkSaveName(const QString &name)
{
    const QString title = QStringLiteral("Save preset");
    if (name.isEmpty())
        return {NameCheck::Empty, {}, {}};
    if (name.startsWith(QLatin1Char(' ')))
        return refuse(title, QStringLiteral("A preset name cannot start with a space."));
    for (QChar c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c))
            return refuse(title, QStringLiteral("There are invalid characters in the name."));
    return {};
}

} // namespace orba
