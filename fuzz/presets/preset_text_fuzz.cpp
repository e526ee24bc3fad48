// The old text preset format and the index file: line splitting and number reading on any bytes.
#include "presets/preset_format.h"
#include "presets/preset_index.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &file : {raw, QByteArray("ORBA PRESET FILE:fuzz\n") + raw}) {
        PresetHeader header;
        SETTINGS_MAP table;
        const int result = orba::decodePreset(file, header, table);
        if (result == orba::PRESET_OK && header.nameText().size() > PRESET_NAME_LEN)
            std::abort();
        // Every value that loaded is one the set can hold.
        for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
            if (table.getRaw(id) < table.getRawMin(id) || table.getRaw(id) > table.getRawMax(id))
                std::abort();
    }
    const QStringList names = orba::parseIndex(raw);
    for (const QString &name : names)
        if (name.isEmpty())
            std::abort();
    return 0;
}
