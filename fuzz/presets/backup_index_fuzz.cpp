// The backup index of orba-ctl restore: any bytes give either a refusal naming a line or entries
// that are all usable, and a good index renders back to an index that parses the same.
#include "presets/preset_backup.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &text : {raw, QByteArray(orba::BACKUP_MAGIC) + '\n' + raw}) {
        const orba::BackupIndex index = orba::parseBackupIndex(text);
        if (!index.ok()) {
            if (index.badLine < 1 || !index.entries.empty())
                std::abort();
            continue;
        }
        for (const orba::BackupEntry &e : index.entries)
            if (e.slot < 0 || e.slot >= PRESET_SLOTS || e.lock > PRESET_FACTORY_LOCKED ||
                e.name.size() > PRESET_NAME_LEN || e.file.isEmpty() || e.file.contains(QLatin1Char('/')))
                std::abort();
        const orba::BackupIndex again = orba::parseBackupIndex(orba::renderBackupIndex(index.entries));
        if (!again.ok() || again.entries.size() != index.entries.size())
            std::abort();
        for (size_t i = 0; i < again.entries.size(); ++i)
            if (again.entries[i].name != index.entries[i].name || again.entries[i].file != index.entries[i].file)
                std::abort();
    }
    return 0;
}
