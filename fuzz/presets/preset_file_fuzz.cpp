// Preset files of the current format: the raw bytes as a file, and the bytes as the enciphered body
// behind a valid header line, so the mutations reach the records. Whatever loads must survive a
// write and a second load unchanged.
#include "presets/preset_format.h"
#include "presets/rc4.h"

#include <cstdint>
#include <cstdlib>

namespace {

void loadAndCheck(const QByteArray &file)
{
    PresetHeader header;
    SETTINGS_MAP table;
    if (orba::decodePreset(file, header, table) != orba::PRESET_OK)
        return;
    if (header.inUse != 1 || header.nameText().size() > PRESET_NAME_LEN)
        std::abort();
    PresetHeader again;
    SETTINGS_MAP second;
    if (orba::decodePreset(orba::encodePreset(header, table, 0), again, second) != orba::PRESET_OK)
        std::abort();
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
        if (table.getRaw(id) != second.getRaw(id))
            std::abort();
    if (!orba::samePreset(header, again))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char *>(data), qsizetype(size));
    loadAndCheck(raw);
    QByteArray body = raw;
    orba::Rc4 rc4(orba::PRESET_KEY, orba::PRESET_KEY_LENGTH);
    rc4.apply(body.data(), size_t(body.size()));
    loadAndCheck(QByteArray("TALMEN ORBA PRESET:fuzz: \n") + body);
    return 0;
}
