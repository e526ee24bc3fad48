// CPresetsDlg: the "Preset Library". The processor's slots on the left, the favourite folders and
// the presets of the selected folder on the right; a menu bar that always shows the menus of the
// list that last took the focus; the preset clipboard and the drag buffer that Copy, Paste and drag
// and drop move presets through. A view over the session, its transfers and the favourites on disk.
#pragma once

#include "presets/preset_transfer.h"

#include <QDialog>

class IniStore;
class QMenuBar;
class QSplitter;
class QTreeWidgetItem;
class tcPDlgArcBox;
class tcPDlgFavFilesBox;
class tcPDlgFavFoldersBox;
class tcPDlgListBox;

namespace orba {
class Session;
} // namespace orba

// Asks for a new folder's name ("New Folder"); the store checks it.
class PresetsNewFolderDlg : public QDialog
{
    Q_OBJECT
public:
    explicit PresetsNewFolderDlg(QWidget *parent = nullptr);
    QString name() const;

private:
    class QLineEdit *m_name = nullptr;
};

class CPresetsDlg : public QDialog
{
    Q_OBJECT
public:
    // enabled: the processor list takes part (on line); otherwise it refuses drops and enables
    // nothing.
    CPresetsDlg(orba::Session &session, orba::PresetTransfer &transfer, IniStore &settings,
                const QString &favoritesFolder, bool enabled, QWidget *parent = nullptr);
    ~CPresetsDlg() override;

    orba::Session &session() { return m_session; }
    orba::PresetTransfer &transfer() { return m_transfer; }
    IniStore &settings() { return m_settings; }
    const QString &favoritesFolder() const { return m_favorites; }
    bool technician() const { return m_technician; }

    orba::PresetClipboard &clipboard() { return m_clipboard; }
    orba::PresetClipboard &dragBuffer() { return m_dragBuffer; }

    tcPDlgArcBox *arcBox() const { return m_arc; }
    tcPDlgFavFoldersBox *foldersBox() const { return m_folders; }
    tcPDlgFavFilesBox *filesBox() const { return m_files; }
    QMenuBar *menuBar() const { return m_menuBar; }
    tcPDlgListBox *menuOwner() const { return m_menuOwner; }
    bool transferRunning() const { return m_transferRunning > 0; }

    // Keeps the processor list as it is while a transfer runs, and refills it once the last one
    // ends (the slot changes it made were skipped meanwhile).
    class TransferGuard
    {
    public:
        explicit TransferGuard(CPresetsDlg &d) : m_d(d) { ++m_d.m_transferRunning; }
        ~TransferGuard()
        {
            if (--m_d.m_transferRunning == 0)
                m_d.slot_populate_arc_list();
        }

    private:
        CPresetsDlg &m_d;
    };

    // The presets into the folder's files, then the file list refilled when it shows that folder.
    void copyIntoFolder(const QString &folder, const orba::PresetClipboard &presets);
    // The file list again, when it shows the folder (or always with an empty folder).
    void refreshFiles(const QString &folder = {});

    // View, diff against the live settings, or print of a preset (a grabbed slot or a loaded file);
    // column: "On ORBA" or "Favorite"; title: the printed report's.
    enum class Look { View, Diff, Print };
    void lookAt(Look look, const SETTINGS_MAP &set, const PresetHeader &header, const QString &column,
                const QString &title);

public slots:
    void slot_take_my_menu(tcPDlgListBox *list);
    void slot_fav_folder_item_changed(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void slot_fav_file_selection_changed();
    void slot_archive_selection_changed();
    void slot_populate_arc_list();

private:
    orba::Session &m_session;
    orba::PresetTransfer &m_transfer;
    IniStore &m_settings;
    QString m_favorites;
    bool m_enabled;
    bool m_technician;
    int m_transferRunning = 0;
    orba::PresetClipboard m_clipboard;
    orba::PresetClipboard m_dragBuffer;

    QMenuBar *m_menuBar = nullptr;
    tcPDlgArcBox *m_arc = nullptr;
    tcPDlgFavFoldersBox *m_folders = nullptr;
    tcPDlgFavFilesBox *m_files = nullptr;
    tcPDlgListBox *m_menuOwner = nullptr;
    QSplitter *m_split = nullptr;
    QSplitter *m_rightSplit = nullptr;
};
