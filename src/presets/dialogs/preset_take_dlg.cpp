#include "presets/dialogs/preset_take_dlg.h"

#include "presets/dialogs/grab_push_progress.h"
#include "presets/package_store.h"
#include "presets/preset_index.h"
#include "presets/preset_transfer.h"
#include "presets/slot_rules.h"
#include "session/session.h"

#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

} // namespace

tcPresetTakeDlg::tcPresetTakeDlg(orba::Session &session, orba::PresetTransfer &transfer,
                                 const IniStore *settings, const QString &favoritesFolder, QWidget *parent)
    : QDialog(parent), m_session(session), m_transfer(transfer), m_settings(settings),
      m_favorites(favoritesFolder)
{
    setWindowTitle(QStringLiteral("Take Preset"));
    auto *layout = new QVBoxLayout(this);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("m_tree"));
    m_tree->setHeaderLabel(QStringLiteral("Presets"));
    layout->addWidget(m_tree);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    layout->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(340, 460);

    m_slotsRoot = new QTreeWidgetItem(m_tree, {QStringLiteral("ORBA")});
    m_slotsRoot->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
    m_slotsRoot->setData(0, Qt::UserRole, 0);
    refillSlots();
    m_slotsRoot->setExpanded(true);

    if (!m_favorites.isEmpty() && QDir(m_favorites).exists()) {
        auto *root = new QTreeWidgetItem(m_tree, {QStringLiteral("Favorites")});
        root->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
        root->setData(0, Qt::UserRole, 0);
        root->setData(0, kPathRole, m_favorites);
        fillFolder(root, m_favorites);
        root->setExpanded(true);
    }
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &tcPresetTakeDlg::slot_tree_double_clicked);
    connect(&m_session, &orba::Session::sig_summary_changed, this, &tcPresetTakeDlg::refillSlots);
}

void tcPresetTakeDlg::refillSlots()
{
    qDeleteAll(m_slotsRoot->takeChildren());
    const PresetSlotList &list = m_session.presetSlots();
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (int slot = 0; slot < PRESET_SLOTS; ++slot) {
        if (!orba::slotInUse(list, slot))
            continue;
        auto *item = new QTreeWidgetItem(
            m_slotsRoot, {orba::slotNumberText(slot) + QLatin1Char(' ') + orba::slotName(list.get(slot))});
        item->setIcon(0, icon);
        item->setData(0, Qt::UserRole, SlotItem | slot);
    }
}

void tcPresetTakeDlg::fillFolder(QTreeWidgetItem *parent, const QString &folder)
{
    const QDir dir(folder);
    for (const QString &sub :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        const QString path = dir.filePath(sub);
        auto *item = new QTreeWidgetItem(parent, {sub});
        item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
        item->setData(0, Qt::UserRole, 0);
        item->setData(0, kPathRole, path);
        fillFolder(item, path);
    }
    const bool isProtected = m_settings && orba::isProtectedFolder(*m_settings, m_favorites, folder);
    for (const orba::ListedPreset &preset : orba::listFolder(folder, isProtected)) {
        auto *item = new QTreeWidgetItem(parent, {preset.name});
        item->setIcon(0, style()->standardIcon(preset.isProtected ? QStyle::SP_FileDialogInfoView
                                                                  : QStyle::SP_FileIcon));
        item->setData(0, Qt::UserRole, FileItem | (preset.isProtected ? ProtectedFile : PlainFile));
        item->setData(0, kPathRole, preset.path);
    }
}

QTreeWidgetItem *tcPresetTakeDlg::slotItem(int slot) const
{
    for (int i = 0; i < m_slotsRoot->childCount(); ++i)
        if (m_slotsRoot->child(i)->data(0, Qt::UserRole).toInt() == (SlotItem | slot))
            return m_slotsRoot->child(i);
    return nullptr;
}

QTreeWidgetItem *tcPresetTakeDlg::fileItem(const QString &path) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if (((*it)->data(0, Qt::UserRole).toInt() & FileItem) && (*it)->data(0, kPathRole).toString() == path)
            return *it;
    return nullptr;
}

void tcPresetTakeDlg::slot_tree_double_clicked(QTreeWidgetItem *item, int)
{
    if (!item)
        return;
    const int bits = item->data(0, Qt::UserRole).toInt();
    orba::TransferResult result;
    if (bits & SlotItem)
        result = m_transfer.takeSlot(bits & 0xFF);
    else if ((bits & FileItem) && (bits & (PlainFile | ProtectedFile)))
        result = m_transfer.takeFile(item->data(0, kPathRole).toString());
    else
        return;
    orba::showTransferResult(this, result);
}
