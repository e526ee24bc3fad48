#include "presets/dialogs/presets_dlg.h"

#include "presets/dialogs/preset_list_boxes.h"
#include "presets/dialogs/preset_rename_dlg.h"
#include "presets/dialogs/preset_view_dlgs.h"
#include "presets/dialogs/report_printer.h"

#include "gui/dialog_run.h"
#include "presets/favorites.h"
#include "presets/preset_report.h"
#include "presets/slot_rules.h"
#include "session/session.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

PresetsNewFolderDlg::PresetsNewFolderDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("New Folder"));
    m_name = new QLineEdit(this);
    m_name->setMaxLength(100);
    connect(orba::addNameForm(*this, QStringLiteral("Folder name:"), m_name), &QPushButton::clicked, this,
            &QDialog::accept);
}

QString PresetsNewFolderDlg::name() const
{
    return m_name->text();
}

CPresetsDlg::CPresetsDlg(orba::Session &session, orba::PresetTransfer &transfer, IniStore &settings,
                         const QString &favoritesFolder, bool enabled, QWidget *parent)
    : QDialog(parent), m_session(session), m_transfer(transfer), m_settings(settings),
      m_favorites(QDir::cleanPath(QDir(favoritesFolder).absolutePath())), m_enabled(enabled),
      m_technician(orba::technicianMode(settings))
{
    setWindowTitle(QStringLiteral("Preset Library"));
    setWindowIcon(QApplication::windowIcon());
    setModal(true);
    auto *layout = new QHBoxLayout(this);
    m_menuBar = new QMenuBar(this);
    layout->setMenuBar(m_menuBar);

    m_split = new QSplitter(Qt::Horizontal, this);
    m_arc = new tcPDlgArcBox(this, enabled, m_technician, m_split);
    m_rightSplit = new QSplitter(Qt::Vertical, m_split);
    m_rightSplit->setOpaqueResize(true);
    m_rightSplit->setChildrenCollapsible(false);
    m_folders = new tcPDlgFavFoldersBox(this, m_rightSplit);
    m_files = new tcPDlgFavFilesBox(this, m_rightSplit);
    m_split->addWidget(m_arc);
    m_split->addWidget(m_rightSplit);
    m_split->setSizes({300, 260});
    m_rightSplit->setSizes({200, 260});
    layout->addWidget(m_split);
    resize(580, 520);

    for (tcPDlgListBox *list : {static_cast<tcPDlgListBox *>(m_arc), static_cast<tcPDlgListBox *>(m_folders),
                                static_cast<tcPDlgListBox *>(m_files)})
        connect(list, &tcPDlgListBox::sig_take_my_menu, this, &CPresetsDlg::slot_take_my_menu);
    connect(m_folders, &QTreeWidget::currentItemChanged, this, &CPresetsDlg::slot_fav_folder_item_changed);
    connect(m_files, &QTreeWidget::itemSelectionChanged, this, &CPresetsDlg::slot_fav_file_selection_changed);
    connect(m_folders, &QTreeWidget::itemSelectionChanged, this, [this] { m_folders->updateEnabling(); });
    connect(m_arc, &QTreeWidget::itemSelectionChanged, this, &CPresetsDlg::slot_archive_selection_changed);
    connect(m_arc, &tcPDlgArcBox::sig_summary_changed, this, &CPresetsDlg::slot_populate_arc_list);
    connect(&m_session, &orba::Session::sig_summary_changed, this, &CPresetsDlg::slot_populate_arc_list);

    m_arc->populate(m_session.presetSlots());
    m_folders->rebuild();
    m_arc->resizeColumnToContents(0);
    // The processor list owns the bar first, as it takes the focus when the dialog opens; off line
    // the folder tree's menus are the ones that work.
    slot_take_my_menu(enabled ? static_cast<tcPDlgListBox *>(m_arc) : m_folders);
    m_arc->setFocus();
}

CPresetsDlg::~CPresetsDlg() = default;

void CPresetsDlg::slot_take_my_menu(tcPDlgListBox *list)
{
    if (!list || list == m_menuOwner)
        return;
    // A disabled processor list leaves the bar to the lists that work.
    if (!list->listEnabled())
        return;
    m_menuBar->clear();
    list->addMenus(m_menuBar);
    m_menuOwner = list;
}

void CPresetsDlg::slot_fav_folder_item_changed(QTreeWidgetItem *current, QTreeWidgetItem *)
{
    if (!current) {
        m_files->populate(QString(), false);
        return;
    }
    m_files->populate(current->data(0, tcPDlgFavFoldersBox::PathRole).toString(),
                      current->data(0, tcPDlgFavFoldersBox::ProtectedRole).toBool());
}

void CPresetsDlg::slot_fav_file_selection_changed()
{
    m_files->updateEnabling();
    m_folders->updateEnabling();
}

void CPresetsDlg::slot_archive_selection_changed()
{
    m_arc->updateEnabling();
}

void CPresetsDlg::slot_populate_arc_list()
{
    if (transferRunning())
        return;
    m_arc->populate(m_session.presetSlots());
}

void CPresetsDlg::copyIntoFolder(const QString &folder, const orba::PresetClipboard &presets)
{
    if (folder.isEmpty() || presets.empty())
        return;
    orba::copyPresetsToFolder(m_settings, m_favorites, folder, presets);
    refreshFiles(folder);
}

void CPresetsDlg::refreshFiles(const QString &folder)
{
    if (folder.isEmpty() || QDir::cleanPath(folder) == QDir::cleanPath(m_files->folder()))
        slot_fav_folder_item_changed(m_folders->currentItem(), nullptr);
}

void CPresetsDlg::lookAt(Look look, const SETTINGS_MAP &set, const PresetHeader &header,
                         const QString &column, const QString &title)
{
    switch (look) {
    case Look::View: {
        CPresetsViewDlg view(this, {&set, header});
        orba::runDialog(&view);
        break;
    }
    case Look::Diff: {
        const PresetHeader live = orba::headerForSet(m_session.live(), m_session.currentPreset().nameText());
        tcPresetsDiffDlg diff(this, column, {&m_session.live(), live}, {&set, header});
        orba::runDialog(&diff);
        break;
    }
    case Look::Print:
        orba::printPresetReport(this, set, title);
        break;
    }
}
