// orba-adminshot FOLDER: renders the "Download Progress" dialog part way through a download (as
// the processor reports progress) and the "IP Assignment" dialog while it answers, into
// FOLDER/download-progress.png and FOLDER/ip-assignment.png. Nothing is sent anywhere: blocks go
// to a sink, and the boot server listens on a port the system picks and is never started.
#include "admin/file_downloader_dlg.h"
#include "admin/net_server_dlg.h"
#include "common/message.h"

#include <QApplication>
#include <QDir>
#include <QLCDNumber>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void dropBlock(void *, uint16_t, uint16_t, uint16_t, const uint8_t *) {}

int answerOk(const orba::MessageRequest &)
{
    return orba::MsgOk;
}

bool save(QWidget &w, const QString &path)
{
    w.adjustSize();
    w.show();
    QApplication::processEvents();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !w.grab().save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "orba-adminshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (argc != 2) {
        std::fprintf(stderr, "usage: orba-adminshot FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    orba::setMessageHandler(&answerOk);

    static const uint8_t image[3000] = {};
    orba::DownloadSettings settings = orba::firmwareDownloadSettings(QString(), nullptr);
    settings.sourceKind = 0;
    settings.buffer = image;
    settings.bufferSize = sizeof image;
    settings.send = &dropBlock;
    tcFileDownloader download(settings, nullptr, 0);
    download.download().on_fw_ack(1, 3, orba::FW_ACK_BLOCK, {});
    QApplication::processEvents();
    download.download().on_fw_ack(2, 3, orba::FW_ACK_PROGRESS, QStringLiteral("Block 2 of 3 received."));
    QApplication::processEvents();
    bool ok = save(download, out.filePath(QStringLiteral("download-progress.png")));

    orba::BootServerOptions boot;
    boot.port = 0; // any free port; no reply is ever sent
    boot.replyAddress = QHostAddress(QHostAddress::LocalHost);
    tcNetServerDlg ip(boot);
    ip.findChild<QLineEdit *>(QStringLiteral("edit_MAC"))->setText(QStringLiteral("00:50:C2:1F:A0:07"));
    ip.findChild<QLineEdit *>(QStringLiteral("edit_IP"))->setText(QStringLiteral("192.168.100.40"));
    ip.findChild<QLineEdit *>(QStringLiteral("edit_NAME"))->setText(QStringLiteral("Studio1"));
    ip.findChild<QPushButton *>(QStringLiteral("btn_START"))->click();
    ip.server().stop();
    ip.findChild<QLCDNumber *>(QStringLiteral("lcd_REQ"))->display(3);
    ok = save(ip, out.filePath(QStringLiteral("ip-assignment.png"))) && ok;
    return ok ? 0 : 1;
}
