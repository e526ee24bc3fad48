#include "presets/preset_backup.h"

#include "common/atomic_file.h"
#include "common/whole_file.h"
#include "presets/favorites.h"
#include "presets/preset_file.h"
#include "presets/preset_index.h"
#include "session/session.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <memory>

namespace orba {

namespace {

constexpr qsizetype kIndexLimit = 64 * 1024; // 80 lines of a few hundred bytes at most

QByteArray escapeName(const QByteArray &name)
{
    QByteArray out;
    for (char ch : name) {
        const auto c = uint8_t(ch);
        if (c < 0x20 || c == 0x7F || c == '%')
            out += '%' + QByteArray::number(c, 16).rightJustified(2, '0').toUpper();
        else
            out += ch;
    }
    return out;
}

bool unescapeName(QByteArrayView text, QByteArray &out)
{
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        bool ok = false;
        const int c = QByteArray(text.data() + i + 1, 2).toInt(&ok, 16);
        if (!ok)
            return false;
        out += char(c);
        i += 2;
    }
    return true;
}

bool isPlainFileName(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') && !name.contains('\\') &&
           !name.contains(':') && !name.contains('\0');
}

bool sameContents(const PresetHeader &slot, const PresetHeader &preset, uint8_t lock)
{
    return slot.inUse != 0 && slot.nameText() == preset.nameText() && slot.lock == lock &&
           slot.presetChecksum == preset.presetChecksum && slot.systemChecksum == preset.systemChecksum;
}

} // namespace

QString backupFileName(int slot, const QByteArray &name)
{
    return QString::asprintf("%03d_", slot + 1) + fileNameFor(QString::fromLatin1(name)) +
           QLatin1String(PRESET_SUFFIX);
}

QByteArray renderBackupIndex(const std::vector<BackupEntry> &entries)
{
    QByteArray out = QByteArray(BACKUP_MAGIC) + '\n';
    for (const BackupEntry &e : entries)
        out += QByteArray::number(e.slot + 1).rightJustified(3, '0') + '\t' + QByteArray::number(e.lock) +
               '\t' + e.file.toUtf8() + '\t' + escapeName(e.name) + '\n';
    return out;
}

BackupIndex parseBackupIndex(QByteArrayView text)
{
    BackupIndex index;
    const auto refuse = [&index](int line, const QString &why) {
        index.entries.clear();
        index.badLine = line;
        index.error = QStringLiteral("line %1 of the backup index %2").arg(line).arg(why);
        return index;
    };
    const QList<QByteArray> lines = QByteArray(text.data(), text.size()).split('\n');
    if (lines.isEmpty() || lines[0].trimmed() != BACKUP_MAGIC)
        return refuse(1, QStringLiteral("is not \"%1\"").arg(QLatin1String(BACKUP_MAGIC)));
    bool seen[PRESET_SLOTS] = {};
    for (int i = 1; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 4)
            return refuse(i + 1, QStringLiteral("does not hold four fields"));
        bool ok = false;
        const int number = f[0].toInt(&ok);
        if (!ok || number < 1 || number > PRESET_SLOTS)
            return refuse(i + 1, QStringLiteral("names no preset from 1 to %1").arg(PRESET_SLOTS));
        if (seen[number - 1])
            return refuse(i + 1, QStringLiteral("names preset %1 again").arg(number));
        seen[number - 1] = true;
        const int lock = f[1].toInt(&ok);
        if (!ok || lock < 0 || lock > PRESET_FACTORY_LOCKED)
            return refuse(i + 1, QStringLiteral("has a lock other than 0, 1 or 2"));
        if (!isPlainFileName(f[2]))
            return refuse(i + 1, QStringLiteral("names no file of the backup folder"));
        BackupEntry e;
        e.slot = number - 1;
        e.lock = uint8_t(lock);
        e.file = QString::fromUtf8(f[2]);
        if (!unescapeName(f[3], e.name) || e.name.size() > PRESET_NAME_LEN)
            return refuse(i + 1, QStringLiteral("has a name that is not one"));
        index.entries.push_back(e);
    }
    return index;
}

BackupRun backupSlots(PresetTransfer &transfer, Session &session, const QString &folder)
{
    BackupRun run;
    if (!QDir().mkpath(folder)) {
        run.error = QStringLiteral("cannot make the folder \"%1\"").arg(folder);
        return run;
    }
    std::vector<BackupEntry> entries;
    for (int slot = 0; slot < PRESET_SLOTS; ++slot) {
        if (session.presetSlots().get(slot).inUse == 0)
            continue;
        SETTINGS_MAP set;
        run.end = transfer.grabPreset(slot, &set);
        if (!run.end.ok())
            return run;
        // The header as it is now: the grab also brings the slot's header.
        PresetHeader header = session.presetSlots().get(slot);
        BackupEntry e;
        e.slot = slot;
        e.lock = header.lock;
        e.name = QByteArray::fromStdString(header.nameText());
        e.file = backupFileName(slot, e.name);
        PresetHeader fileHeader;
        fileHeader.clear();
        fileHeader.setName(header.nameText());
        fileHeader.inUse = 1;
        if (!writePreset(fileHeader, set, QDir(folder).filePath(e.file))) {
            run.error = QStringLiteral("cannot write \"%1\"").arg(QDir(folder).filePath(e.file));
            return run;
        }
        entries.push_back(e);
        ++run.presets;
    }
    const QString indexPath = QDir(folder).filePath(QLatin1String(BACKUP_INDEX_FILE));
    if (!writeFileAtomically(indexPath, renderBackupIndex(entries)))
        run.error = QStringLiteral("cannot write \"%1\"").arg(indexPath);
    return run;
}

BackupRun restoreSlots(PresetTransfer &transfer, Session &session, const QString &folder)
{
    BackupRun run;
    const QString indexPath = QDir(folder).filePath(QLatin1String(BACKUP_INDEX_FILE));
    QByteArray data;
    if (readWholeFile(indexPath, kIndexLimit, data) != FileReadResult::Ok) {
        run.error = QStringLiteral("cannot read \"%1\"").arg(indexPath);
        return run;
    }
    const BackupIndex index = parseBackupIndex(data);
    if (!index.ok()) {
        run.error = index.error;
        return run;
    }
    // Every file first: a backup with a bad file sends nothing.
    struct Loaded
    {
        BackupEntry entry;
        PresetHeader header;
        std::unique_ptr<SETTINGS_MAP> set;
    };
    std::vector<Loaded> presets;
    for (const BackupEntry &e : index.entries) {
        Loaded l{e, {}, std::make_unique<SETTINGS_MAP>()};
        l.header.clear();
        const QString path = QDir(folder).filePath(e.file);
        int code = loadPreset(l.header, *l.set, path);
        if (code == PRESET_OK && l.header.inUse == 0)
            code = PRESET_CANNOT_OPEN;
        if (code != PRESET_OK) {
            run.error =
                QStringLiteral("Error taking preset:\n%1").arg(QLatin1String(presetResultText(code))) +
                QStringLiteral(" (\"%1\")").arg(path);
            return run;
        }
        l.header.setName(e.name.toStdString());
        l.header.inUse = 255;
        l.header.lock = e.lock;
        presets.push_back(std::move(l));
    }
    for (const Loaded &l : presets) {
        const int slot = l.entry.slot;
        const PresetHeader now = session.presetSlots().get(slot);
        if (now.isLockedSlot()) {
            if (!sameContents(now, l.header, l.entry.lock))
                run.lockedSlots << slotNumberText(slot);
            continue;
        }
        run.end = transfer.pushPreset(slot, *l.set, l.header);
        if (!run.end.ok())
            return run;
        if (session.presetSlots().get(slot).lock != l.entry.lock && session.isOnline())
            session.link().lock_preset(uint8_t(slot), l.entry.lock);
        ++run.presets;
    }
    return run;
}

} // namespace orba
