// The main window's preset operations: the current preset's name and whether the live settings
// still match it, and saving the live settings into a processor slot.
#include "app/ap_widget.h"

#include "app/app_objects.h"
#include "common/message.h"
#include "presets/name_rules.h"
#include "tables/globals_map.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

using orba::app;

namespace {

const QString kSaveTitle = QStringLiteral("Save preset");

// A slot's name, or "PSET %03d" with its number for a slot not in use.
QString proposedName(int slot)
{
    const PresetHeader h = app().presetSlots ? app().presetSlots->get(slot) : PresetHeader{};
    if (app().presetSlots && h.inUse != 0)
        return QString::fromLatin1(h.nameText().c_str());
    return QString::asprintf("PSET %03d", slot + 1);
}

} // namespace

void tcApWidget::slot_crc_check()
{
    auto &g = app();
    if (m_tornDown || !kelBench() || !g.live || !g.globals)
        return;
    const SetChecksums sums = g.live->checksums();
    const PresetHeader current = current_preset();
    const bool modified = sums.presetChecksum != current.presetChecksum ||
                          (g.globals->getBool(G_S_FOLLOW) && sums.systemChecksum != current.systemChecksum);
    setPresetText(QString::fromLatin1(current.nameText().c_str()),
                  modified ? StatusLook::Alert : StatusLook::Normal);
}

int tcApWidget::proposeSaveSlot(const PresetSlotList &list)
{
    for (int i = 0; i < PRESET_SLOTS; ++i) {
        if (list.get(i).inUse == 0)
            return i;
    }
    for (int i = 0; i < PRESET_SLOTS; ++i) {
        if (list.get(i).lock == PRESET_UNLOCKED)
            return i;
    }
    return -1;
}

bool tcApWidget::askSaveSlot(int proposedSlot, int *slot, QString *name)
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Save as Preset in ORBA"));
    auto *nameEdit = new QLineEdit(proposedName(proposedSlot), &dialog);
    nameEdit->setMaxLength(orba::PRESET_NAME_MAX);
    auto *number = new QSpinBox(&dialog);
    number->setRange(1, PRESET_SLOTS);
    number->setValue(proposedSlot + 1);
    connect(number, &QSpinBox::valueChanged, nameEdit,
            [nameEdit](int n) { nameEdit->setText(proposedName(n - 1)); });
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
    if (execDialog(&dialog) != QDialog::Accepted)
        return false;
    *slot = number->value() - 1;
    *name = nameEdit->text();
    return true;
}

void tcApWidget::slot_preset_save()
{
    if (m_tornDown || !require_online(QStringLiteral("Preset Save")))
        return;
    auto &g = app();
    const int proposed = proposeSaveSlot(*g.presetSlots);
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
    if (g.presetSlots->get(slot).isLockedSlot()) {
        // Nothing was saved, so the processor's active preset stays what it was.
        orba::showMessage(orba::MessageKind::Information, this, kSaveTitle,
                          QStringLiteral("Preset is locked. Unable to save."));
        return;
    }
    saveToSlot(*g.live, slot, name);
    g.globals->set(G_ACT_PRST, slot, CHANGE_USER);
}

void tcApWidget::saveToSlot(const SETTINGS_MAP &set, int slot, const QString &name)
{
    auto &g = app();
    if (m_linkState.load() != LinkState::Online || !g.presetSlots || slot < 0 || slot >= PRESET_SLOTS)
        return;
    const std::string text = name.left(PRESET_NAME_LEN).toLatin1().toStdString();
    PresetHeader header;
    header.clear();
    header.setName(text);
    header.inUse = 255;
    header.setChecksums(set.checksums());
    g.presetSlots->set(slot, header);
    m_link->send_all_values(uint8_t(slot), set);
    m_link->rename_preset(uint8_t(slot), text);
    m_link->send_current_preset(header);
}
