// FileDownload: the download of a file (or a memory buffer) to the processor in numbered blocks,
// each sent when the processor has acknowledged the one before, then the wait while the processor
// writes its flash memory. No widgets: a view (the "Download Progress" dialog, orba-ctl) shows
// what it reports and drives its one-second tick (slot_timer), so tests step the countdowns.
//
// Threads: on_fw_ack may be called on any thread; it only stores the status text and raises the
// sig_downloader_* signals, which reach the state machine queued on the object's own thread.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>

class MessageLink;

namespace orba {

// Sends one block: (context, block number from 1, block count, byte count, bytes).
using SendBlockFn = void (*)(void *context, uint16_t block, uint16_t count, uint16_t byteCount,
                             const uint8_t *bytes);

struct DownloadSettings
{
    int sourceKind = 1; // 1: the file at filePath, 0: the buffer
    const uint8_t *buffer = nullptr;
    uint32_t bufferSize = 0;
    QString filePath;
    uint16_t blockSize = 1024;
    void *context = nullptr;
    int ackTimeout = 10;   // seconds (ticks)
    int flashTimeout = 30; // seconds (ticks)
    QString noResponseText;
    QString flashNoResponseText;
    QString rebootText;
    QString writingText;
    SendBlockFn send = nullptr;
};

// The settings of a firmware upgrade from the file; blocks go out on the link.
DownloadSettings firmwareDownloadSettings(const QString &path, MessageLink *link);
// A SendBlockFn whose context is a MessageLink.
void sendBlockOnLink(void *link, uint16_t block, uint16_t count, uint16_t byteCount, const uint8_t *bytes);

enum DownloaderStatus : int { DOWNLOAD_SUCCESS = 1, DOWNLOAD_MESSAGE = 2, DOWNLOAD_ERROR = 3 };
enum FwAckCode : int {
    FW_ACK_BLOCK = 0,
    FW_ACK_DONE = 1,
    FW_ACK_MESSAGE = 2,
    FW_ACK_ERROR = 3,
    FW_ACK_PROGRESS = 4
};

class FileDownload : public QObject
{
    Q_OBJECT
public:
    explicit FileDownload(const DownloadSettings &settings, QObject *parent = nullptr);
    ~FileDownload() override;

    // Sizes the source and sends the first block; a source that cannot be read ends the download
    // with an error (reported queued, like every status).
    void start();

    // The view went away (Cancel): nothing more is sent and nothing more is reported. The
    // processor is not told; it gives up on its own.
    void abandon();

    // An acknowledgement from the processor; any thread.
    void on_fw_ack(int block, int count, int code, const QString &text);
    // One second has passed.
    void slot_timer();

    const DownloadSettings &settings() const { return m_settings; }
    uint32_t size() const { return m_size; }
    int blockCount() const { return m_blockCount.load(); }
    int lastBlock() const { return m_lastBlock.load(); }
    bool flashStarted() const { return m_flashStarted; }
    bool ticking() const { return m_ticking; }
    bool finished() const { return m_finished; }
    int ackCountdown() const { return m_ackCountdown; }
    int flashCountdown() const { return m_flashCountdown; }
    QString statusText() const;

signals:
    void sig_downloader_status(int status);
    void sig_downloader_progress(int block, int count);
    void sig_downloader_ack(int block, int count);

    // For the view, on the object's thread.
    void labelChanged(const QString &text);
    void progressChanged(int percent);
    void cancelAllowed(bool allowed);
    // The end: DOWNLOAD_SUCCESS or DOWNLOAD_ERROR with the status text.
    void ended(int status, const QString &text);

private:
    void slot_downloader_status(int status);
    void slot_downloader_progress(int block, int count);
    void slot_downloader_ack(int block, int count);
    void sendNextBlock();
    void setStatusText(const QString &text);
    void failWith(const QString &text); // status 3, queued

    DownloadSettings m_settings;
    uint32_t m_offset = 0;
    uint32_t m_size = 0;
    std::atomic<int> m_blockCount{0};
    std::atomic<int> m_lastBlock{0};
    bool m_flashStarted = false;
    bool m_ticking = false;
    bool m_finished = false;
    int m_ackCountdown = 0;
    int m_flashCountdown = 0;
    mutable std::mutex m_textLock;
    QString m_statusText; // under m_textLock
};

} // namespace orba
