// The main window's preset operations: the current preset's name and whether the live settings
// still match it, saving the live settings into a processor slot and taking a slot or a file,
// through the preset dialogs and the session's preset transfers.
#include "app/ap_widget.h"

#include "common/message.h"
#include "gui/dialog_run.h"
#include "presets/dialogs/preset_save_dlg.h"
#include "presets/dialogs/preset_take_dlg.h"
#include "presets/dialogs/presets_dlg.h"

namespace {

const QString kSaveTitle = QStringLiteral("Save preset");

} // namespace

void tcApWidget::slot_crc_check()
{
    if (m_tornDown || !kelBench())
        return;
    set_preset_text(QString::fromLatin1(m_session->currentPreset().nameText().c_str()),
                    m_session->presetModified() ? StatusLook::Modified : StatusLook::Normal);
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
    tcPresetSaveDlg dialog(tcPresetSaveDlg::ProcessorSlot, &s.presetSlots(), proposed, this);
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return;
    // The dialog's own check ran on OK; the transfer checks the name and the slot's lock again, as
    // the slot may have been locked meanwhile.
    orba::showTransferResult(this, m_transfer->saveToSlot(dialog.slotNumber() - 1, dialog.name()));
}

void tcApWidget::slot_preset_take()
{
    if (m_tornDown)
        return;
    tcPresetTakeDlg dialog(*m_session, *m_transfer, m_settings.get(), m_folders.favorites.path(), this);
    orba::runDialog(&dialog);
}

void tcApWidget::slot_preset_dlg()
{
    if (m_tornDown)
        return;
    // Off line the processor list stays disabled: the favourites still work.
    CPresetsDlg dialog(*m_session, *m_transfer, *m_settings, m_folders.favorites.path(), m_session->isOnline(),
                       this);
    orba::runDialog(&dialog);
}
