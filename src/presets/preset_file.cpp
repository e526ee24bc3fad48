#include "presets/preset_file.h"

#include "common/atomic_file.h"
#include "common/message.h"

#include <QDateTime>
#include <QFile>

namespace orba {

namespace {

// Enough for the longest header line and the block after it.
constexpr qint64 kHeaderBytes = PRESET_LINE_LIMIT + PRESET_BLOCK_BYTES;

bool readFile(const QString &path, QByteArray &data, qint64 maxBytes = -1)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    data = maxBytes < 0 ? f.readAll() : f.read(maxBytes);
    return f.error() == QFileDevice::NoError;
}

} // namespace

int readPresetHeader(PresetHeader &header, const QString &path)
{
    header.clear();
    QByteArray data;
    if (!readFile(path, data, kHeaderBytes))
        return PRESET_CANNOT_OPEN;
    return decodePresetHeaderAny(data, header);
}

int loadPreset(PresetHeader &header, SETTINGS_MAP &table, const QString &path)
{
    header.clear();
    QByteArray data;
    if (!readFile(path, data))
        return PRESET_CANNOT_OPEN;
    return decodePreset(data, header, table);
}

bool writePreset(const PresetHeader &header, const SETTINGS_MAP &table, const QString &path)
{
    const auto now = uint32_t(QDateTime::currentSecsSinceEpoch());
    return writeFileAtomically(path, encodePreset(header, table, now));
}

void showPresetError(QObject *parent, const QString &format, int code)
{
    QString text = format;
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    if (at >= 0)
        text.replace(at, 2, QLatin1String(presetResultText(code)));
    showMessage(MessageKind::Warning, parent, QStringLiteral("Error"), text, MsgOk);
}

} // namespace orba
