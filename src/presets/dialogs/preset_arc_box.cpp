// The processor list of the preset library: 80 rows, one per slot, with the slot's lock shown by
// icon and colour, and the slot operations of the store and transfer core.
#include "presets/dialogs/grab_push_progress.h"
#include "presets/dialogs/preset_icons.h"
#include "presets/dialogs/preset_list_boxes.h"
#include "presets/dialogs/preset_rename_dlg.h"
#include "presets/dialogs/preset_save_dlg.h"
#include "presets/dialogs/presets_dlg.h"

#include "common/message.h"
#include "gui/dialog_run.h"
#include "presets/name_rules.h"
#include "presets/preset_report.h"
#include "presets/slot_rules.h"
#include "session/session.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>

#include <set>

namespace {

constexpr int kSlotRole = Qt::UserRole;

void showRefusals(QWidget *parent, const orba::LockPlan &plan)
{
    for (const orba::SlotRefusal &r : plan.refusals)
        orba::showMessage(orba::MessageKind::Warning, parent, r.title, r.text);
}

} // namespace

tcPDlgArcBox::tcPDlgArcBox(CPresetsDlg *dialog, bool enabled, bool technician, QWidget *parent)
    : tcPDlgListBox(dialog, enabled, parent), m_technician(technician)
{
    setObjectName(QStringLiteral("arcBox"));
    setToolTip(QStringLiteral("Presets in the processor."));
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("#"), QStringLiteral("On ORBA")});
    headerItem()->setToolTip(0, QStringLiteral("Processor preset number"));
    headerItem()->setToolTip(1, QStringLiteral("Presets in the processor"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setRootIsDecorated(false);
    setUniformRowHeights(true);

    QAction *save = makeAction(QStringLiteral("save"), QStringLiteral("Save\tCtrl+S"),
                               QKeySequence(QStringLiteral("Ctrl+S")), &tcPDlgArcBox::slot_save);
    QAction *take = makeAction(QStringLiteral("take"), QStringLiteral("Take\tCtrl+T"),
                               QKeySequence(QStringLiteral("Ctrl+T")), &tcPDlgArcBox::slot_take);
    QAction *copy = makeAction(QStringLiteral("copy"), QStringLiteral("Copy\tCtrl+C"),
                               QKeySequence(QStringLiteral("Ctrl+C")), &tcPDlgListBox::slot_copy);
    QAction *paste = makeAction(QStringLiteral("paste"), QStringLiteral("Paste\tCtrl+V"),
                                QKeySequence(QStringLiteral("Ctrl+V")), &tcPDlgListBox::slot_paste);
    QAction *del = makeAction(QStringLiteral("delete"), QStringLiteral("Delete\tDel"),
                              QKeySequence(Qt::Key_Delete), &tcPDlgArcBox::slot_delete);
    QAction *rename =
        makeAction(QStringLiteral("rename"), QStringLiteral("Rename..."), {}, &tcPDlgArcBox::slot_rename);
    QAction *lock =
        makeAction(QStringLiteral("lock"), QStringLiteral("Lock Preset"), {}, &tcPDlgArcBox::slot_lock);
    QAction *unlock = makeAction(QStringLiteral("unlock"), QStringLiteral("Un-Lock Preset"), {},
                                 &tcPDlgArcBox::slot_unlock);
    QAction *factory = m_technician
                           ? makeAction(QStringLiteral("factoryLock"), QStringLiteral("Factory Lock Preset"),
                                        {}, &tcPDlgArcBox::slot_factory_lock)
                           : nullptr;
    QAction *view =
        makeAction(QStringLiteral("view"), QStringLiteral("Settings..."), {}, &tcPDlgArcBox::slot_view);
    QAction *diff =
        makeAction(QStringLiteral("diff"), QStringLiteral("Diff..."), {}, &tcPDlgArcBox::slot_diff);
    QAction *print =
        makeAction(QStringLiteral("print"), QStringLiteral("Print..."), {}, &tcPDlgArcBox::slot_print);

    m_menu->addActions({save, take});
    m_menu->addSeparator();
    m_menu->addActions({copy, paste, del, rename});
    m_menu->addSeparator();
    m_menu->addActions({lock, unlock});
    if (factory)
        m_menu->addAction(factory);
    m_menu->addSeparator();
    QMenu *viewMenu = m_menu->addMenu(QStringLiteral("View"));
    viewMenu->addActions({view, diff});
    m_menu->addSeparator();
    m_menu->addAction(print);
}

void tcPDlgArcBox::addMenus(QMenuBar *bar)
{
    addBarMenu(bar, QStringLiteral("&File"), {{QStringLiteral("save"), QStringLiteral("take")}});
    addBarMenu(bar, QStringLiteral("&Edit"),
               {{QStringLiteral("copy"), QStringLiteral("paste")},
                {QStringLiteral("delete"), QStringLiteral("rename")},
                {QStringLiteral("lock"), QStringLiteral("unlock"), QStringLiteral("factoryLock")}});
    addBarMenu(bar, QStringLiteral("&View"),
               {{QStringLiteral("view"), QStringLiteral("diff")}, {QStringLiteral("print")}});
    updateEnabling();
}

void tcPDlgArcBox::populate(const PresetSlotList &slotList)
{
    std::set<int> selected;
    for (const int slot : selectedSlots())
        selected.insert(slot);
    const int current = currentItem() ? currentItem()->data(0, kSlotRole).toInt() : -1;
    const QSignalBlocker quiet(this);
    clear();
    QList<QTreeWidgetItem *> rows;
    for (int slot = 0; slot < PRESET_SLOTS; ++slot) {
        const PresetHeader h = slotList.get(slot);
        auto *item = new QTreeWidgetItem(
            QStringList{orba::slotNumberText(slot), h.inUse ? orba::slotName(h) : QString()});
        item->setData(0, kSlotRole, slot);
        QColor colour(Qt::black);
        orba::PresetIcon icon = orba::PresetIcon::Unlocked;
        if (h.inUse && h.lock == PRESET_LOCKED) {
            colour = QColor::fromRgba(0xFF0000C0);
            icon = orba::PresetIcon::Locked;
        } else if (h.inUse && h.lock == PRESET_FACTORY_LOCKED) {
            colour = QColor::fromRgba(0xFFC00000);
            icon = orba::PresetIcon::FactoryLocked;
        }
        colour = readableColour(colour);
        item->setIcon(0, orba::presetIcon(icon));
        item->setForeground(0, colour);
        item->setForeground(1, colour);
        rows << item;
    }
    addTopLevelItems(rows);
    for (const int slot : selected)
        topLevelItem(slot)->setSelected(true);
    if (current >= 0)
        setCurrentItem(topLevelItem(current), 0, QItemSelectionModel::NoUpdate);
    updateEnabling();
}

QColor tcPDlgArcBox::readableColour(const QColor &colour) const
{
    if (palette().color(QPalette::Base).lightness() >= 128)
        return colour;
    if (colour.lightness() < 20)
        return palette().color(QPalette::Text);
    return QColor::fromHsl(colour.hslHue(), colour.hslSaturation(), 175);
}

std::vector<int> tcPDlgArcBox::selectedSlots() const
{
    std::vector<int> chosen;
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->isSelected())
            chosen.push_back(topLevelItem(row)->data(0, kSlotRole).toInt());
    return chosen;
}

void tcPDlgArcBox::updateEnabling()
{
    const std::vector<int> chosen = selectedSlots();
    const int n = int(chosen.size());
    bool allInUse = n > 0;
    for (const int slot : chosen)
        allInUse = allInUse && orba::slotInUse(dialog()->session().presetSlots(), slot);
    const bool on = listEnabled();
    auto set = [this](const char *name, bool enabled) {
        if (QAction *a = action(QLatin1String(name)))
            a->setEnabled(enabled);
    };
    set("save", on && n == 1);
    set("take", on && n == 1);
    set("paste", on && n == 1 && !dialog()->clipboard().empty());
    set("copy", on && allInUse);
    for (const char *name : {"delete", "rename", "lock", "unlock", "factoryLock"})
        set(name, on && n > 0);
    for (const char *name : {"print", "view", "diff"})
        set(name, on && allInUse);
}

bool tcPDlgArcBox::copySelection(orba::PresetClipboard &presets)
{
    const std::vector<int> chosen = selectedSlots();
    if (!listEnabled() || chosen.empty())
        return false;
    CPresetsDlg::TransferGuard busy(*dialog());
    return orba::copyWithProgress(dialog(), dialog()->transfer(), chosen, presets).ok();
}

void tcPDlgArcBox::pasteAt(const orba::PresetClipboard &presets, QTreeWidgetItem *item)
{
    if (!listEnabled() || !item || presets.empty())
        return;
    const int slot = item->data(0, kSlotRole).toInt();
    CPresetsDlg::TransferGuard busy(*dialog());
    orba::pasteWithProgress(dialog(), dialog()->transfer(), slot, presets);
}

void tcPDlgArcBox::slot_save()
{
    const std::vector<int> chosen = selectedSlots();
    if (!listEnabled() || chosen.size() != 1)
        return;
    tcPresetSaveDlg save(tcPresetSaveDlg::ProcessorSlot, &dialog()->session().presetSlots(), chosen[0],
                         dialog());
    if (orba::runDialog(&save) != QDialog::Accepted)
        return;
    CPresetsDlg::TransferGuard busy(*dialog());
    orba::showTransferResult(dialog(), dialog()->transfer().saveToSlot(save.slotNumber() - 1, save.name()));
}

void tcPDlgArcBox::slot_take()
{
    const std::vector<int> chosen = selectedSlots();
    if (!listEnabled() || chosen.size() != 1)
        return;
    orba::showTransferResult(dialog(), dialog()->transfer().takeSlot(chosen[0]));
}

void tcPDlgArcBox::slot_delete()
{
    const std::vector<int> chosen = selectedSlots();
    if (!listEnabled() || chosen.empty())
        return;
    orba::showTransferResult(dialog(), dialog()->transfer().deleteSlots(chosen));
}

void tcPDlgArcBox::slot_rename()
{
    if (!listEnabled())
        return;
    for (const int slot : selectedSlots()) {
        tcPresetRenameDlg rename(QStringLiteral("Rename Preset"),
                                 orba::slotName(dialog()->session().presetSlots().get(slot)),
                                 orba::PRESET_NAME_MAX, dialog());
        if (orba::runDialog(&rename) != QDialog::Accepted)
            continue;
        orba::showTransferResult(dialog(), dialog()->transfer().renameSlot(slot, rename.name()));
    }
}

void tcPDlgArcBox::slot_lock()
{
    if (listEnabled())
        showRefusals(dialog(), dialog()->transfer().lockSlots(selectedSlots()));
}

void tcPDlgArcBox::slot_unlock()
{
    if (listEnabled())
        showRefusals(dialog(), dialog()->transfer().unlockSlots(selectedSlots(), m_technician));
}

void tcPDlgArcBox::slot_factory_lock()
{
    if (listEnabled())
        showRefusals(dialog(), dialog()->transfer().factoryLockSlots(selectedSlots(), m_technician));
}

namespace {

void lookAtSlots(tcPDlgArcBox &box, CPresetsDlg::Look look)
{
    CPresetsDlg &d = *box.dialog();
    for (const int slot : box.selectedSlots()) {
        if (!orba::slotInUse(d.session().presetSlots(), slot))
            continue;
        SETTINGS_MAP scratch;
        orba::TransferResult r;
        {
            CPresetsDlg::TransferGuard busy(d);
            r = d.transfer().grabPreset(slot, &scratch);
        }
        if (!r.ok()) {
            orba::showTransferResult(&d, r);
            return;
        }
        const PresetHeader header = d.session().presetSlots().get(slot);
        d.lookAt(look, scratch, header, QStringLiteral("On ORBA"), orba::slotReportTitle(header));
    }
}

} // namespace

void tcPDlgArcBox::slot_view()
{
    if (listEnabled())
        lookAtSlots(*this, CPresetsDlg::Look::View);
}

void tcPDlgArcBox::slot_diff()
{
    if (listEnabled())
        lookAtSlots(*this, CPresetsDlg::Look::Diff);
}

void tcPDlgArcBox::slot_print()
{
    if (listEnabled())
        lookAtSlots(*this, CPresetsDlg::Look::Print);
}
