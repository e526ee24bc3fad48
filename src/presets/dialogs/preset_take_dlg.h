// tcPresetTakeDlg: "Take Preset", one tree of what can be taken: under "ORBA" the processor's
// slots in use, then the favourite folders with their presets in index order. A double-click on a
// slot recalls it on the processor, on a preset file takes the file into the live settings; other
// items do nothing. The slot list follows the processor while the dialog is open.
#pragma once

#include <QDialog>

class IniStore;
class QTreeWidget;
class QTreeWidgetItem;

namespace orba {
class PresetTransfer;
class Session;
} // namespace orba

class tcPresetTakeDlg : public QDialog
{
    Q_OBJECT
public:
    // What an item's integer (Qt::UserRole) says it is.
    enum ItemBits : int {
        SlotItem = 0x8000, // low byte: the slot index
        FileItem = 0x2000, // with PlainFile or ProtectedFile; the path is in Qt::UserRole + 1
        PlainFile = 0x0002,
        ProtectedFile = 0x0008,
    };

    // settings: for the installed packages (protected presets); may be null.
    tcPresetTakeDlg(orba::Session &session, orba::PresetTransfer &transfer, const IniStore *settings,
                    const QString &favoritesFolder, QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    // The item of a slot, or of a preset file by path; null when not listed.
    QTreeWidgetItem *slotItem(int slot) const;
    QTreeWidgetItem *fileItem(const QString &path) const;

public slots:
    void slot_tree_double_clicked(QTreeWidgetItem *item, int column);
    void refillSlots();

private:
    void fillFolder(QTreeWidgetItem *parent, const QString &folder);

    orba::Session &m_session;
    orba::PresetTransfer &m_transfer;
    const IniStore *m_settings;
    QString m_favorites;
    QTreeWidget *m_tree = nullptr;
    QTreeWidgetItem *m_slotsRoot = nullptr;
};
