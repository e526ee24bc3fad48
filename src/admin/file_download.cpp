#include "admin/file_download.h"

#include "link/message_link.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <vector>

namespace orba {

namespace {

const char kDevice[] = "ORBA";

QString withDevice(const char *format)
{
    return QString::fromLatin1(format).replace(QLatin1String("%s"), QLatin1String(kDevice));
}

} // namespace

void sendBlockOnLink(void *link, uint16_t block, uint16_t count, uint16_t byteCount, const uint8_t *bytes)
{
    static_cast<MessageLink *>(link)->send_fw_block(block, count, byteCount, bytes);
}

DownloadSettings firmwareDownloadSettings(const QString &path, MessageLink *link)
{
    DownloadSettings s;
    s.sourceKind = 1;
    s.filePath = path;
    s.blockSize = 1024;
    s.context = link;
    s.ackTimeout = 10;
    s.flashTimeout = 30;
    s.noResponseText = withDevice("No response from the %s.");
    s.flashNoResponseText = withDevice(
        "No response from the %s after Flash re-progam began.\n\nThis could be a serious problem.\n");
    s.rebootText = withDevice("Reboot the %s for the changes to take effect.");
    s.writingText = withDevice("Writing %s Image To Flash ROM...\nThis may take several seconds.");
    s.send = &sendBlockOnLink;
    return s;
}

FileDownload::FileDownload(const DownloadSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    m_ackCountdown = m_settings.ackTimeout;
    m_flashCountdown = m_settings.flashTimeout;
    // Raised from any thread; the state machine runs here only.
    connect(this, &FileDownload::sig_downloader_status, this, &FileDownload::slot_downloader_status,
            Qt::QueuedConnection);
    connect(this, &FileDownload::sig_downloader_progress, this, &FileDownload::slot_downloader_progress,
            Qt::QueuedConnection);
    connect(this, &FileDownload::sig_downloader_ack, this, &FileDownload::slot_downloader_ack,
            Qt::QueuedConnection);
}

FileDownload::~FileDownload() = default;

QString FileDownload::statusText() const
{
    std::lock_guard<std::mutex> hold(m_textLock);
    return m_statusText;
}

void FileDownload::setStatusText(const QString &text)
{
    std::lock_guard<std::mutex> hold(m_textLock);
    m_statusText = text;
}

void FileDownload::failWith(const QString &text)
{
    setStatusText(text);
    emit sig_downloader_status(DOWNLOAD_ERROR);
}

void FileDownload::start()
{
    m_ticking = true;
    if (m_settings.sourceKind == 1) {
        QFile file(m_settings.filePath);
        if (!file.exists()) {
            failWith(QStringLiteral("File open failed"));
            return;
        }
        m_size = uint32_t(std::min<qint64>(file.size(), qint64(UINT32_MAX)));
    } else {
        if (!m_settings.buffer || m_settings.bufferSize == 0) {
            failWith(QStringLiteral("Invalid buffer"));
            return;
        }
        m_size = m_settings.bufferSize;
    }
    const uint32_t block = std::max<uint32_t>(1, m_settings.blockSize);
    m_blockCount.store(int((m_size + block - 1) / block));
    sendNextBlock();
}

void FileDownload::abandon()
{
    m_finished = true;
    m_ticking = false;
}

void FileDownload::sendNextBlock()
{
    const uint32_t want = std::max<uint32_t>(1, m_settings.blockSize);
    std::vector<uint8_t> bytes(want);
    uint32_t got = 0;
    if (m_settings.sourceKind == 1) {
        QFile file(m_settings.filePath);
        qint64 n = -1;
        if (file.open(QIODevice::ReadOnly) && file.seek(m_offset))
            n = file.read(reinterpret_cast<char *>(bytes.data()), want);
        if (n < 0) {
            failWith(QStringLiteral("File read failed"));
            return;
        }
        got = uint32_t(n);
    } else {
        got = std::min(want, m_settings.bufferSize - std::min(m_offset, m_settings.bufferSize));
        std::memcpy(bytes.data(), m_settings.buffer + m_offset, got);
    }
    m_offset += got;
    const int block = m_lastBlock.load() + 1;
    m_lastBlock.store(block);
    if (m_settings.send)
        m_settings.send(m_settings.context, uint16_t(block), uint16_t(m_blockCount.load()), uint16_t(got),
                        bytes.data());
}

void FileDownload::on_fw_ack(int block, int count, int code, const QString &text)
{
    const bool current = block == m_lastBlock.load() && count == m_blockCount.load();
    switch (code) {
    case FW_ACK_BLOCK:
        if (current) {
            emit sig_downloader_progress(block, count);
            emit sig_downloader_ack(block, count);
        }
        break;
    case FW_ACK_DONE:
        if (current)
            emit sig_downloader_status(DOWNLOAD_SUCCESS);
        break;
    case FW_ACK_MESSAGE:
        setStatusText(text);
        emit sig_downloader_status(DOWNLOAD_MESSAGE);
        break;
    case FW_ACK_ERROR:
        setStatusText(text);
        emit sig_downloader_status(DOWNLOAD_ERROR);
        break;
    case FW_ACK_PROGRESS:
        setStatusText(text);
        emit sig_downloader_progress(block, count);
        emit sig_downloader_status(DOWNLOAD_MESSAGE);
        break;
    default:
        break;
    }
}

void FileDownload::slot_downloader_progress(int block, int count)
{
    if (!m_finished)
        emit progressChanged(count == 0 ? 0 : int(int64_t(block) * 100 / count));
}

void FileDownload::slot_downloader_ack(int block, int count)
{
    Q_UNUSED(count);
    const int last = m_lastBlock.load();
    // A late copy of an older acknowledgement moves nothing.
    if (m_finished || m_flashStarted || block != last)
        return;
    if (last < m_blockCount.load()) {
        m_ackCountdown = m_settings.ackTimeout;
        sendNextBlock();
        return;
    }
    if (!m_settings.writingText.isEmpty())
        emit labelChanged(m_settings.writingText);
    m_flashCountdown = m_settings.flashTimeout;
    m_flashStarted = true;
    emit cancelAllowed(false);
}

void FileDownload::slot_timer()
{
    if (!m_ticking || m_finished)
        return;
    int &countdown = m_flashStarted ? m_flashCountdown : m_ackCountdown;
    if (countdown == 0)
        return;
    if (--countdown == 0)
        failWith(m_flashStarted ? m_settings.flashNoResponseText : m_settings.noResponseText);
}

void FileDownload::slot_downloader_status(int status)
{
    if (m_finished)
        return;
    switch (status) {
    case DOWNLOAD_MESSAGE:
        emit labelChanged(statusText());
        break;
    case DOWNLOAD_SUCCESS:
    case DOWNLOAD_ERROR:
        m_finished = true;
        m_ticking = false;
        emit cancelAllowed(false);
        emit ended(status, statusText());
        break;
    default:
        break;
    }
}

} // namespace orba
