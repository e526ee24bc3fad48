// The favourites side of the preset library: the folder tree and the presets of the selected
// folder, with the store operations on disk.
#include "presets/dialogs/grab_push_progress.h"
#include "presets/dialogs/preset_icons.h"
#include "presets/dialogs/preset_list_boxes.h"
#include "presets/dialogs/preset_rename_dlg.h"
#include "presets/dialogs/preset_save_dlg.h"
#include "presets/dialogs/presets_dlg.h"

#include "common/message.h"
#include "gui/dialog_run.h"
#include "gui/file_choice.h"
#include "presets/favorites.h"
#include "presets/name_rules.h"
#include "presets/package_store.h"
#include "presets/preset_file.h"
#include "presets/preset_index.h"
#include "session/session.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidgetItemIterator>

namespace {

QString cleanPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The name for the live settings saved into a folder, or empty when the user cancels.
QString askSaveName(QWidget *parent)
{
    tcPresetSaveDlg save(tcPresetSaveDlg::Favorites, nullptr, 0, parent);
    return orba::runDialog(&save) == QDialog::Accepted ? save.name() : QString();
}

void saveLiveInto(CPresetsDlg &d, const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QString name = askSaveName(&d);
    if (name.isEmpty())
        return;
    if (!orba::savePresetToFolder(folder, name, d.session().live()))
        orba::showMessage(orba::MessageKind::Warning, &d, QStringLiteral("Save preset"),
                          QStringLiteral("Unable to save the preset file."));
    d.refreshFiles(folder);
}

} // namespace

// ---- Folder tree.

tcPDlgFavFoldersBox::tcPDlgFavFoldersBox(CPresetsDlg *dialog, QWidget *parent)
    : tcPDlgListBox(dialog, true, parent)
{
    setObjectName(QStringLiteral("foldersBox"));
    setToolTip(QStringLiteral("Favorite preset folders."));
    setColumnCount(1);
    setHeaderLabel(QStringLiteral("favorite preset folders"));
    setSelectionMode(QAbstractItemView::SingleSelection);

    QAction *save = makeAction(QStringLiteral("save"), QStringLiteral("Save\tCtrl+S"),
                               QKeySequence(QStringLiteral("Ctrl+S")), &tcPDlgFavFoldersBox::slot_save);
    QAction *folder = makeAction(QStringLiteral("newFolder"), QStringLiteral("New Folder..."), {},
                                 &tcPDlgFavFoldersBox::slot_new_folder);
    QAction *paste = makeAction(QStringLiteral("paste"), QStringLiteral("Paste\tCtrl+V"),
                                QKeySequence(QStringLiteral("Ctrl+V")), &tcPDlgListBox::slot_paste);
    QAction *del = makeAction(QStringLiteral("delete"), QStringLiteral("Delete\tDel"),
                              QKeySequence(Qt::Key_Delete), &tcPDlgFavFoldersBox::slot_delete);
    QAction *rename = makeAction(QStringLiteral("rename"), QStringLiteral("Rename..."), {},
                                 &tcPDlgFavFoldersBox::slot_rename);
    QAction *install = makeAction(QStringLiteral("installPkg"), QStringLiteral("Install Preset Package..."),
                                  {}, &tcPDlgFavFoldersBox::slot_install_pkg);
    QAction *build = makeAction(QStringLiteral("buildPkg"), QStringLiteral("Build Preset Package..."), {},
                                &tcPDlgFavFoldersBox::slot_build_pkg);
    m_menu->addActions({save, folder});
    m_menu->addSeparator();
    m_menu->addActions({paste, del, rename});
    m_menu->addSeparator();
    m_menu->addActions({install, build});
}

void tcPDlgFavFoldersBox::addMenus(QMenuBar *bar)
{
    addBarMenu(bar, QStringLiteral("&File"),
               {{QStringLiteral("save"), QStringLiteral("newFolder")},
                {QStringLiteral("installPkg"), QStringLiteral("buildPkg")}});
    addBarMenu(bar, QStringLiteral("&Edit"),
               {{QStringLiteral("paste")}, {QStringLiteral("delete"), QStringLiteral("rename")}});
    updateEnabling();
}

void tcPDlgFavFoldersBox::rebuild(const QString &select)
{
    const QString root = dialog()->favoritesFolder();
    clear();
    auto *top = new QTreeWidgetItem(this, {QStringLiteral("favorites")});
    top->setData(0, PathRole, cleanPath(root));
    top->setData(0, ProtectedRole, false);
    top->setIcon(0, orba::presetIcon(orba::PresetIcon::Folder));
    fill(top, root);
    top->setExpanded(true);
    QTreeWidgetItem *chosen = select.isEmpty() ? nullptr : itemForPath(select);
    if (!chosen)
        chosen = top;
    for (QTreeWidgetItem *up = chosen->parent(); up; up = up->parent())
        up->setExpanded(true);
    setCurrentItem(chosen);
    updateEnabling();
}

void tcPDlgFavFoldersBox::fill(QTreeWidgetItem *parent, const QString &folder)
{
    const QDir dir(folder);
    for (const QString &sub :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        const QString path = cleanPath(dir.filePath(sub));
        const bool isProtected =
            orba::isProtectedFolder(dialog()->settings(), dialog()->favoritesFolder(), path);
        auto *item = new QTreeWidgetItem(parent, {sub});
        item->setData(0, PathRole, path);
        item->setData(0, ProtectedRole, isProtected);
        item->setIcon(
            0, orba::presetIcon(isProtected ? orba::PresetIcon::ProtectedFolder : orba::PresetIcon::Folder));
        fill(item, path);
    }
}

QString tcPDlgFavFoldersBox::selectedFolder() const
{
    const QList<QTreeWidgetItem *> chosen = selectedItems();
    return chosen.isEmpty() ? QString() : chosen.front()->data(0, PathRole).toString();
}

QTreeWidgetItem *tcPDlgFavFoldersBox::itemForPath(const QString &path) const
{
    const QString wanted = cleanPath(path);
    for (QTreeWidgetItemIterator it(const_cast<tcPDlgFavFoldersBox *>(this)); *it; ++it)
        if ((*it)->data(0, PathRole).toString() == wanted)
            return *it;
    return nullptr;
}

void tcPDlgFavFoldersBox::updateEnabling()
{
    const bool one = !selectedFolder().isEmpty();
    for (const char *name : {"save", "newFolder", "delete", "rename", "buildPkg"})
        action(QLatin1String(name))->setEnabled(one);
    action(QStringLiteral("paste"))->setEnabled(one && !dialog()->clipboard().empty());
    action(QStringLiteral("installPkg"))->setEnabled(true);
}

void tcPDlgFavFoldersBox::pasteAt(const orba::PresetClipboard &presets, QTreeWidgetItem *item)
{
    if (item && !presets.empty())
        dialog()->copyIntoFolder(item->data(0, PathRole).toString(), presets);
}

void tcPDlgFavFoldersBox::slot_save()
{
    saveLiveInto(*dialog(), selectedFolder());
}

void tcPDlgFavFoldersBox::slot_new_folder()
{
    const QString parent = selectedFolder();
    PresetsNewFolderDlg ask(dialog());
    if (orba::runDialog(&ask) != QDialog::Accepted)
        return;
    const QString made = orba::newFolder(parent, ask.name());
    if (!made.isEmpty())
        rebuild(made);
}

void tcPDlgFavFoldersBox::slot_delete()
{
    if (orba::deleteFolder(dialog()->settings(), dialog()->favoritesFolder(), selectedFolder()))
        rebuild();
}

void tcPDlgFavFoldersBox::slot_rename()
{
    const QString folder = selectedFolder();
    if (folder.isEmpty())
        return;
    tcPresetRenameDlg rename(QStringLiteral("Rename Favorite Folder"), QFileInfo(folder).fileName(),
                             orba::FOLDER_NAME_MAX, dialog());
    if (orba::runDialog(&rename) != QDialog::Accepted)
        return;
    const QString renamed = orba::renameFolder(dialog()->favoritesFolder(), folder, rename.name());
    if (!renamed.isEmpty())
        rebuild(renamed);
}

void tcPDlgFavFoldersBox::slot_install_pkg()
{
    const QString file =
        orba::chooseOpenFile(dialog(), QStringLiteral("Install Preset Package"), dialog()->favoritesFolder(),
                             QStringLiteral("Preset Packages (*.pkg)"));
    if (file.isEmpty())
        return;
    const orba::PackageResult r =
        orba::installPackageFile(dialog()->settings(), dialog()->favoritesFolder(), file);
    if (!r.ok())
        orba::showMessage(orba::MessageKind::Warning, dialog(), QStringLiteral("Error"),
                          QStringLiteral("Unable to install preset package"));
    rebuild();
}

void tcPDlgFavFoldersBox::slot_build_pkg()
{
    const QString folder = selectedFolder();
    if (folder.isEmpty())
        return;
    const QString proposed = QFileInfo(folder).fileName() + QStringLiteral(".pkg");
    const QString file = orba::chooseSaveFile(dialog(), QStringLiteral("Build Preset Package"), proposed,
                                              QStringLiteral("Preset Packages (*.pkg)"));
    if (file.isEmpty())
        return;
    if (orba::buildPackage(folder, file) != 0)
        orba::showMessage(orba::MessageKind::Warning, dialog(), QStringLiteral("Error"),
                          QStringLiteral("Unable to build preset package"));
}

// ---- Files of the selected folder.

tcPDlgFavFilesBox::tcPDlgFavFilesBox(CPresetsDlg *dialog, QWidget *parent)
    : tcPDlgListBox(dialog, true, parent)
{
    setObjectName(QStringLiteral("filesBox"));
    setToolTip(QStringLiteral("Favorite preset files contained in the folder selected above."));
    setColumnCount(1);
    setHeaderLabel(QString());
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);

    QAction *save = makeAction(QStringLiteral("save"), QStringLiteral("Save\tCtrl+S"),
                               QKeySequence(QStringLiteral("Ctrl+S")), &tcPDlgFavFilesBox::slot_save);
    QAction *take = makeAction(QStringLiteral("take"), QStringLiteral("Take\tCtrl+T"),
                               QKeySequence(QStringLiteral("Ctrl+T")), &tcPDlgFavFilesBox::slot_take);
    QAction *copy = makeAction(QStringLiteral("copy"), QStringLiteral("Copy\tCtrl+C"),
                               QKeySequence(QStringLiteral("Ctrl+C")), &tcPDlgListBox::slot_copy);
    QAction *paste = makeAction(QStringLiteral("paste"), QStringLiteral("Paste\tCtrl+V"),
                                QKeySequence(QStringLiteral("Ctrl+V")), &tcPDlgListBox::slot_paste);
    QAction *del = makeAction(QStringLiteral("delete"), QStringLiteral("Delete\tDel"),
                              QKeySequence(Qt::Key_Delete), &tcPDlgFavFilesBox::slot_delete);
    QAction *rename = makeAction(QStringLiteral("rename"), QStringLiteral("Rename..."), {},
                                 &tcPDlgFavFilesBox::slot_rename);
    QAction *up = makeAction(QStringLiteral("sortUp"), QStringLiteral("Sort Up\tCtrl+U"),
                             QKeySequence(QStringLiteral("Ctrl+U")), &tcPDlgFavFilesBox::slot_sort_up);
    QAction *down = makeAction(QStringLiteral("sortDown"), QStringLiteral("Sort Down\tCtrl+D"),
                               QKeySequence(QStringLiteral("Ctrl+D")), &tcPDlgFavFilesBox::slot_sort_dn);
    QAction *view =
        makeAction(QStringLiteral("view"), QStringLiteral("Settings..."), {}, &tcPDlgFavFilesBox::slot_view);
    QAction *diff =
        makeAction(QStringLiteral("diff"), QStringLiteral("Diff..."), {}, &tcPDlgFavFilesBox::slot_diff);
    QAction *print =
        makeAction(QStringLiteral("print"), QStringLiteral("Print..."), {}, &tcPDlgFavFilesBox::slot_print);
    m_menu->addActions({save, take});
    m_menu->addSeparator();
    m_menu->addActions({copy, paste, del, rename});
    m_menu->addSeparator();
    m_menu->addActions({up, down});
    m_menu->addSeparator();
    QMenu *viewMenu = m_menu->addMenu(QStringLiteral("View"));
    viewMenu->addActions({view, diff});
    m_menu->addSeparator();
    m_menu->addAction(print);
}

void tcPDlgFavFilesBox::addMenus(QMenuBar *bar)
{
    addBarMenu(bar, QStringLiteral("&File"), {{QStringLiteral("save"), QStringLiteral("take")}});
    addBarMenu(bar, QStringLiteral("&Edit"),
               {{QStringLiteral("copy"), QStringLiteral("paste")},
                {QStringLiteral("delete"), QStringLiteral("rename")},
                {QStringLiteral("sortUp"), QStringLiteral("sortDown")}});
    addBarMenu(bar, QStringLiteral("&View"),
               {{QStringLiteral("view"), QStringLiteral("diff")}, {QStringLiteral("print")}});
    updateEnabling();
}

QString tcPDlgFavFilesBox::headerText(const QString &favoritesFolder, const QString &folder)
{
    const QString root = cleanPath(favoritesFolder);
    QString text = cleanPath(folder);
    if (text.startsWith(root + QLatin1Char('/')))
        text = text.mid(root.size() + 1);
    else if (text == root)
        text.clear();
    if (text.size() > 25)
        text = QStringLiteral("...") + text.right(25);
    text.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return text;
}

void tcPDlgFavFilesBox::populate(const QString &folder, bool isProtected)
{
    m_folder = folder;
    m_protected = isProtected;
    refill();
}

void tcPDlgFavFilesBox::refill(const QString &select)
{
    const QSignalBlocker quiet(this);
    clear();
    setHeaderLabel(m_folder.isEmpty() ? QString() : headerText(dialog()->favoritesFolder(), m_folder));
    if (!m_folder.isEmpty()) {
        for (const orba::ListedPreset &preset : orba::listFolder(m_folder, m_protected)) {
            auto *item = new QTreeWidgetItem(this, {preset.name});
            item->setData(0, PathRole, preset.path);
            item->setIcon(0, orba::presetIcon(preset.isProtected ? orba::PresetIcon::ProtectedFile
                                                                 : orba::PresetIcon::File));
            if (!select.isEmpty() && cleanPath(preset.path) == cleanPath(select)) {
                item->setSelected(true);
                setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            }
        }
    }
    updateEnabling();
}

QStringList tcPDlgFavFilesBox::selectedPaths() const
{
    QStringList paths;
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->isSelected())
            paths << topLevelItem(row)->data(0, PathRole).toString();
    return paths;
}

void tcPDlgFavFilesBox::updateEnabling()
{
    const int n = int(selectedPaths().size());
    const bool folder = !m_folder.isEmpty();
    auto set = [this](const char *name, bool on) { action(QLatin1String(name))->setEnabled(on); };
    set("save", folder);
    set("paste", folder && !dialog()->clipboard().empty());
    set("take", n == 1);
    set("sortUp", n == 1);
    set("sortDown", n == 1);
    for (const char *name : {"copy", "delete", "rename", "view", "diff", "print"})
        set(name, n > 0);
}

bool tcPDlgFavFilesBox::copySelection(orba::PresetClipboard &presets)
{
    const QStringList paths = selectedPaths();
    if (paths.isEmpty())
        return false;
    presets.clear();
    for (const QString &path : paths) {
        orba::ClipPreset preset;
        preset.values = std::make_shared<SETTINGS_MAP>();
        const int code = orba::loadPreset(preset.header, *preset.values, path);
        if (code != orba::PRESET_OK) {
            orba::showMessage(orba::MessageKind::Warning, dialog(), QStringLiteral("Error"),
                              QStringLiteral("Error copying preset:\n") + QFileInfo(path).completeBaseName() +
                                  QLatin1Char('\n') + QLatin1String(orba::presetResultText(code)));
            continue;
        }
        presets.push_back(std::move(preset));
    }
    return !presets.empty();
}

void tcPDlgFavFilesBox::pasteAt(const orba::PresetClipboard &presets, QTreeWidgetItem *)
{
    if (!m_folder.isEmpty() && !presets.empty())
        dialog()->copyIntoFolder(m_folder, presets);
}

void tcPDlgFavFilesBox::slot_save()
{
    saveLiveInto(*dialog(), m_folder);
}

void tcPDlgFavFilesBox::slot_take()
{
    const QStringList paths = selectedPaths();
    if (paths.size() != 1)
        return;
    orba::showTransferResult(dialog(), dialog()->transfer().takeFile(paths.front()));
}

void tcPDlgFavFilesBox::slot_delete()
{
    if (orba::deletePresetFiles(selectedPaths()) > 0)
        refill();
}

void tcPDlgFavFilesBox::slot_rename()
{
    QString last;
    for (const QString &path : selectedPaths()) {
        tcPresetRenameDlg rename(QStringLiteral("Rename Favorite File"), QFileInfo(path).completeBaseName(),
                                 orba::PRESET_NAME_MAX, dialog());
        if (orba::runDialog(&rename) != QDialog::Accepted)
            continue;
        const QString renamed = orba::renamePresetFile(path, rename.name());
        if (!renamed.isEmpty())
            last = renamed;
    }
    refill(last);
}

void tcPDlgFavFilesBox::sort(bool up)
{
    const QStringList paths = selectedPaths();
    if (paths.size() != 1)
        return;
    const QString file = QFileInfo(paths.front()).fileName();
    if (up)
        orba::moveUp(m_folder, file);
    else
        orba::moveDown(m_folder, file);
    refill(paths.front());
}

void tcPDlgFavFilesBox::slot_sort_up()
{
    sort(true);
}

void tcPDlgFavFilesBox::slot_sort_dn()
{
    sort(false);
}

namespace {

void lookAtFiles(tcPDlgFavFilesBox &box, CPresetsDlg::Look look)
{
    CPresetsDlg &d = *box.dialog();
    for (const QString &path : box.selectedPaths()) {
        SETTINGS_MAP set;
        PresetHeader header;
        const int code = orba::loadPreset(header, set, path);
        if (code != orba::PRESET_OK) {
            orba::showPresetError(&d, QStringLiteral("Error taking preset:\n%s"), code);
            continue;
        }
        d.lookAt(look, set, header, QStringLiteral("Favorite"), QFileInfo(path).completeBaseName());
    }
}

} // namespace

void tcPDlgFavFilesBox::slot_view()
{
    lookAtFiles(*this, CPresetsDlg::Look::View);
}

void tcPDlgFavFilesBox::slot_diff()
{
    lookAtFiles(*this, CPresetsDlg::Look::Diff);
}

void tcPDlgFavFilesBox::slot_print()
{
    lookAtFiles(*this, CPresetsDlg::Look::Print);
}
