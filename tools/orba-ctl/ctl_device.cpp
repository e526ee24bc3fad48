#include "ctl_device.h"

#include "common/ini_store.h"
#include "common/whole_file.h"

namespace orba::ctl {

namespace {

DeviceTarget failed(const QString &error)
{
    DeviceTarget t;
    t.error = error;
    return t;
}

} // namespace

DeviceTarget readDevice(const QDir &mapsDir, const QString &name)
{
    // A name is one file of the maps folder, never a path to somewhere else.
    const QString noSuch = QStringLiteral("no such device \"%1\"").arg(name);
    if (name.trimmed().isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name == QLatin1String("..") || name == QLatin1String("."))
        return failed(noSuch);
    const QString path = mapsDir.filePath(name + QStringLiteral(".cfg"));
    QByteArray data;
    switch (readWholeFile(path, kSettingsFileLimit, data)) {
    case FileReadResult::Ok:
        break;
    case FileReadResult::Missing:
        return failed(noSuch);
    case FileReadResult::NotRegular:
        return failed(QStringLiteral("%1: is not a regular file").arg(path));
    case FileReadResult::Unreadable:
        return failed(QStringLiteral("%1: cannot read the file").arg(path));
    case FileReadResult::TooLarge:
        return failed(QStringLiteral("%1: is larger than %2, more than any device file")
                          .arg(path, sizeText(kSettingsFileLimit)));
    }
    IniEntries entries;
    IniParseError parseError;
    if (!parseIniXml(data.constData(), size_t(data.size()), entries, &parseError))
        return failed(QStringLiteral("%1: line %2: %3").arg(path).arg(parseError.line).arg(parseError.text));
    auto entry = [&](const char *key, const QString &def) {
        const auto it = entries.find(QLatin1String(key));
        return it == entries.end() ? def : it->second;
    };
    DeviceTarget t;
    t.address = entry("Device:IPAddr", QStringLiteral("0.0.0.0")).left(15).trimmed();
    // Stored as a signed 32-bit number, as the application writes it.
    t.loginCrc = uint32_t(leadingInt(entry("Access:rcrc", QStringLiteral("0"))));
    t.ok = true;
    return t;
}

} // namespace orba::ctl
