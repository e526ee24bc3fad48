// The main window's preset operations: the current preset's name and whether the live settings
// still match it, and saving the live settings into a processor slot.
#include "app/ap_widget.h"

#include "common/message.h"
#include "gui/dialog_run.h"
#include "presets/name_rules.h"
#include "tables/globals_map.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace {

const QString kSaveTitle = QStringLiteral("Save preset");

// A slot's name, or "PSET %03d" with its number for a slot not in use.
QString proposedName(const PresetSlotList &slotList, int slot)
{
    const PresetHeader h = slotList.get(slot);
    if (h.inUse != 0)
        return QString::fromLatin1(h.nameText().c_str());
    return QString::asprintf("PSET %03d", slot + 1);
}

} // namespace

void tcApWidget::slot_crc_check()
{
    if (m_tornDown || !kelBench())
        return;
    set_preset_text(QString::fromLatin1(m_session->currentPreset().nameText().c_str()),
                    m_session->presetModified() ? StatusLook::Alert : StatusLook::Normal);
}

bool tcApWidget::askSaveSlot(int proposedSlot, int *slot, QString *name)
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Save as Preset in ORBA"));
    const PresetSlotList &slotList = m_session->presetSlots();
    auto *nameEdit = new QLineEdit(proposedName(slotList, proposedSlot), &dialog);
    nameEdit->setMaxLength(orba::PRESET_NAME_MAX);
    auto *number = new QSpinBox(&dialog);
    number->setRange(1, PRESET_SLOTS);
    number->setValue(proposedSlot + 1);
    connect(number, &QSpinBox::valueChanged, nameEdit,
            [nameEdit, &slotList](int n) { nameEdit->setText(proposedName(slotList, n - 1)); });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, nameEdit] {
        const orba::NameCheck check = orba::checkSaveName(nameEdit->text());
        if (check.result == orba::NameCheck::Refused)
            orba::showMessage(orba::MessageKind::Information, &dialog, check.title, check.text);
        else if (check.accepted())
            dialog.accept();
        nameEdit->setFocus();
    });
    auto *form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Name:"), nameEdit);
    form->addRow(QStringLiteral("Preset #:"), number);
    form->addRow(buttons);
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return false;
    *slot = number->value() - 1;
    *name = nameEdit->text();
    return true;
}

void tcApWidget::slot_preset_save()
{
    if (m_tornDown || !require_online(QStringLiteral("Preset Save")))
        return;
    orba::Session &s = *m_session;
    const int proposed = orba::Session::proposeSaveSlot(s.presetSlots());
    if (proposed < 0) {
        orba::showMessage(
            orba::MessageKind::Information, this, kSaveTitle,
            QStringLiteral("Unable to save preset. There are no empty unlocked preset entries available."));
        return;
    }
    int slot = proposed;
    QString name;
    if (!askSaveSlot(proposed, &slot, &name) || slot < 0 || slot >= PRESET_SLOTS)
        return;
    if (s.presetSlots().get(slot).isLockedSlot()) {
        // Nothing was saved, so the processor's active preset stays what it was.
        orba::showMessage(orba::MessageKind::Information, this, kSaveTitle,
                          QStringLiteral("Preset is locked. Unable to save."));
        return;
    }
    s.saveToSlot(s.live(), slot, name);
    s.globals().set(G_ACT_PRST, slot, CHANGE_USER);
}
