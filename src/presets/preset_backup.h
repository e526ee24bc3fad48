// A backup of the processor's preset slots in a folder: one preset file per slot in use, named
// "NNN_NAME.orba" (NNN the slot number from 001, NAME the slot's name with the characters that
// cannot stand in a file name replaced), and the index "orba_backup.txt" that gives, per slot, its
// lock, its file and its exact name (a file's header line cannot hold every name a slot can).
//
// Index format, one entry a line after the line "ORBA BACKUP 1":
//   NNN <TAB> LOCK <TAB> FILE <TAB> NAME
// LOCK 0, 1 or 2; NAME with '%', tab, carriage return, line feed and other control bytes written
// as %XX. The parser is pure and refuses the whole index at the first line it cannot use.
#pragma once

#include "presets/preset_transfer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

namespace orba {

constexpr char BACKUP_INDEX_FILE[] = "orba_backup.txt";
constexpr char BACKUP_MAGIC[] = "ORBA BACKUP 1";

struct BackupEntry
{
    int slot = 0;     // 0-79
    uint8_t lock = 0; // 0, 1, 2
    QString file;     // a plain file name in the backup folder
    QByteArray name;  // the slot's name, at most 40 bytes
};

// "NNN_NAME.orba" for a slot and its name.
QString backupFileName(int slot, const QByteArray &name);

QByteArray renderBackupIndex(const std::vector<BackupEntry> &entries);

struct BackupIndex
{
    std::vector<BackupEntry> entries;
    int badLine = 0; // the first line that could not be used (from 1); 0 when the index is good
    QString error;   // why, for the user
    bool ok() const { return error.isEmpty(); }
};
// Refuses a foreign first line, a line that is not four fields, a slot outside 1-80 or given
// twice, a lock above 2, a file name with a folder in it, and a name of more than 40 bytes.
BackupIndex parseBackupIndex(QByteArrayView text);

struct BackupRun
{
    TransferResult end;      // how the transfers went (Done, or why they stopped)
    QString error;           // a file problem or a refusal, for the user; empty when none
    int presets = 0;         // presets written (backup) or sent (restore)
    QStringList lockedSlots; // restore: slots refused because they are locked ("003")
    bool ok() const { return end.ok() && error.isEmpty() && lockedSlots.isEmpty(); }
};

// Grabs every slot in use into the folder (made when missing) and writes the index last, so a
// backup that breaks off leaves no index that names missing files.
BackupRun backupSlots(PresetTransfer &transfer, Session &session, const QString &folder);

// Every preset of the backup back into its slot, with its name and lock. Every file is read
// before anything is sent; one that does not load refuses the whole restore. A slot that is
// locked on the processor is refused and listed, unless it already holds that very preset.
BackupRun restoreSlots(PresetTransfer &transfer, Session &session, const QString &folder);

} // namespace orba
