// The main window's administration entries: the firmware upgrade and the IP assignment dialog.
#include "admin/file_downloader_dlg.h"
#include "admin/firmware_header.h"
#include "admin/net_server_dlg.h"
#include "app/ap_widget.h"
#include "common/message.h"
#include "gui/dialog_run.h"
#include "gui/file_choice.h"

#include <memory>

void tcApWidget::slot_swup_dlg()
{
    if (m_tornDown || !require_online(QStringLiteral("Update")))
        return;
    const QString path =
        orba::chooseOpenFile(this, QStringLiteral("Choose a file to download"), QStringLiteral("."),
                             QStringLiteral("Talmen Binary Images (*.tbn)"));
    if (path.isEmpty())
        return;
    const orba::FirmwareFileInfo info = orba::readFirmwareFile(path);
    if (info.check != orba::FirmwareCheck::Ok) {
        orba::showMessage(orba::MessageKind::Critical, this, QStringLiteral("Error"),
                          orba::firmwareRefusal(info));
        return;
    }
    if (orba::showMessage(orba::MessageKind::Question, this, QStringLiteral("Verify Download"),
                          orba::firmwareQuestion(info.header), orba::MsgYes | orba::MsgNo) != orba::MsgYes)
        return;
    // The link may have gone while the question was open; the download then ends by its countdown.
    auto dialog =
        std::make_unique<tcFileDownloader>(orba::firmwareDownloadSettings(path, &m_session->link()), this);
    connect(m_session.get(), &orba::Session::sig_fw_ack, &dialog->download(), &orba::FileDownload::on_fw_ack);
    m_fileDownloader = dialog.get();
    orba::runDialog(dialog.get());
    m_fileDownloader = nullptr;
}

void tcApWidget::slot_netsrvr_dlg()
{
    if (m_tornDown)
        return;
    tcNetServerDlg dialog(m_bootOptions, this);
    orba::runDialog(&dialog);
}
