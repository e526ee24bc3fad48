#include "ctl_firmware.h"
#include "ctl_options.h"

#include "admin/file_download.h"
#include "admin/firmware_header.h"
#include "session/session.h"

#include <QTimer>

#include <cstdio>
#include <memory>

namespace orba::ctl {

const char kFirmwareHelp[] =
    "Usage: orba-ctl [OPTIONS] firmware [--yes] FILE.tbn\n"
    "\n"
    "Updates the processor's firmware from an image file. The image's header is checked first\n"
    "(the \"TALMEN ORBA UPGRADE\" signature and the \"ENDHEADER\" line) and shown on standard\n"
    "output: signature, AP, DSP and FPGA versions and build date. Unless --yes is given, the\n"
    "download starts only after \"y\" on standard input. The file goes out in 1024-byte blocks,\n"
    "each after the processor acknowledged the one before, with a progress bar on standard error;\n"
    "then the processor writes its flash memory. No acknowledgement within 10 s, or no final\n"
    "answer within 30 s of writing, ends the download with an error.\n"
    "Exit status 0 only once the processor reports the image written.\n";

QString parseFirmwareArguments(const QStringList &arguments, FirmwareCommand &command)
{
    bool optionsEnd = false;
    for (const QString &arg : arguments) {
        if (!optionsEnd && arg == QLatin1String("--yes")) {
            command.yes = true;
        } else if (!optionsEnd && arg == QLatin1String("--")) {
            optionsEnd = true;
        } else if (!optionsEnd && arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            return QStringLiteral("firmware: unknown option \"%1\" (try firmware --help)").arg(arg);
        } else if (command.path.isEmpty()) {
            command.path = arg;
        } else {
            return QStringLiteral("firmware: one FILE only (try firmware --help)");
        }
    }
    if (command.path.isEmpty())
        return QStringLiteral("firmware: expects FILE.tbn (try firmware --help)");
    return QString();
}

bool prepareFirmware(const FirmwareCommand &command)
{
    const FirmwareFileInfo info = readFirmwareFile(command.path);
    if (info.check != FirmwareCheck::Ok) {
        // The box's text, on one line.
        QString text = firmwareRefusal(info).trimmed();
        text.replace(QStringLiteral("\n\n"), QStringLiteral(" "))
            .replace(QLatin1Char('\n'), QStringLiteral("; "));
        fail(QStringLiteral("%1: %2").arg(command.path, text));
        return false;
    }
    const QByteArray shown = firmwareQuestion(info.header).toUtf8() + '\n';
    std::fwrite(shown.constData(), 1, size_t(shown.size()), stdout);
    std::fflush(stdout);
    if (command.yes)
        return true;
    std::fputs("Download this image to the processor? [y/N] ", stderr);
    std::fflush(stderr);
    char answer[16] = {};
    if (!std::fgets(answer, sizeof answer, stdin) || (answer[0] != 'y' && answer[0] != 'Y')) {
        fail(QStringLiteral("not confirmed; nothing was sent"));
        return false;
    }
    return true;
}

QString progressBar(int percent, int width)
{
    percent = std::max(0, std::min(100, percent));
    const int filled = percent * width / 100;
    return QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(width - filled, QLatin1Char(' ')) +
           QStringLiteral("] %1%").arg(percent, 3);
}

namespace {

// The download and its one-second tick, alive until the download ends.
class FirmwareRun : public QObject
{
public:
    FirmwareRun(Session &session, const QString &path, std::function<void(int)> finish)
        : QObject(&session), m_finish(std::move(finish))
    {
        m_download = new FileDownload(firmwareDownloadSettings(path, &session.link()), this);
        connect(&session, &Session::sig_fw_ack, m_download, &FileDownload::on_fw_ack);
        connect(m_download, &FileDownload::progressChanged, this, [this](int percent) { showBar(percent); });
        connect(m_download, &FileDownload::labelChanged, this,
                [this](const QString &text) { showText(text); });
        connect(m_download, &FileDownload::ended, this, &FirmwareRun::ended);
        m_tick.setInterval(1000);
        connect(&m_tick, &QTimer::timeout, m_download, &FileDownload::slot_timer);
        m_tick.start();
        showBar(0);
        m_download->start();
    }

private:
    void showBar(int percent)
    {
        m_percent = percent;
        std::fprintf(stderr, "\r%s", progressBar(percent).toLocal8Bit().constData());
        std::fflush(stderr);
    }
    void showText(const QString &text)
    {
        std::fprintf(stderr, "\n%s\n", text.toLocal8Bit().constData());
        showBar(m_percent);
    }
    void ended(int status, const QString &text)
    {
        m_tick.stop();
        std::fputc('\n', stderr);
        if (status == DOWNLOAD_SUCCESS) {
            const QByteArray done = m_download->settings().rebootText.toUtf8() + '\n';
            std::fwrite(done.constData(), 1, size_t(done.size()), stdout);
            std::fflush(stdout);
            m_finish(0);
        } else {
            QString line = text.trimmed();
            line.replace(QStringLiteral("\n\n"), QStringLiteral(" "))
                .replace(QLatin1Char('\n'), QLatin1Char(' '));
            m_finish(fail(QStringLiteral("download error: %1").arg(line)));
        }
        deleteLater();
    }

    FileDownload *m_download = nullptr;
    QTimer m_tick;
    int m_percent = 0;
    std::function<void(int)> m_finish;
};

} // namespace

void runFirmware(Session &session, const QString &path, const std::function<void(int)> &finish)
{
    new FirmwareRun(session, path, finish); // a child of the session; deletes itself at the end
}

} // namespace orba::ctl
