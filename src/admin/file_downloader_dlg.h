// tcFileDownloader: the "Download Progress" dialog over a FileDownload. It shows the progress and
// the processor's messages, lets the user cancel until the processor writes its flash memory, and
// ends with the success or error box. The one-second tick comes from its timer, or from the caller
// (tickMs 0), which steps the download's slot_timer.
#pragma once

#include "admin/file_download.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class tcFileDownloader : public QDialog
{
    Q_OBJECT
public:
    explicit tcFileDownloader(const orba::DownloadSettings &settings, QWidget *parent = nullptr,
                              int tickMs = 1000);
    ~tcFileDownloader() override;

    orba::FileDownload &download() { return *m_download; }
    QProgressBar *progressBar() const { return m_progressBar; }
    QLabel *labelMsg() const { return m_labelMsg; }
    QPushButton *cancelButton() const { return m_cancelButton; }

    void done(int result) override;

private:
    void downloadEnded(int status, const QString &text);

    orba::FileDownload *m_download = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QLabel *m_labelMsg = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QTimer *m_timer = nullptr;
};
