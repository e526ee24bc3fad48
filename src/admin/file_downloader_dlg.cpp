#include "admin/file_downloader_dlg.h"

#include "admin/dialog_place.h"
#include "common/message.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

tcFileDownloader::tcFileDownloader(const orba::DownloadSettings &settings, QWidget *parent, int tickMs)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("tcFileDownloader"));
    setWindowTitle(QStringLiteral("Download Progress"));
    // No system menu: the download ends by its own rules or by Cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    orba::prepareDialog(this);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setMinimumWidth(300);
    m_labelMsg = new QLabel(QStringLiteral("Down Loading..."), this);
    m_labelMsg->setObjectName(QStringLiteral("labelMsg"));
    m_labelMsg->setMinimumHeight(2 * m_labelMsg->fontMetrics().height());
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_labelMsg);
    layout->addWidget(m_progressBar);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_cancelButton);
    layout->addLayout(row);

    m_download = new orba::FileDownload(settings, this);
    connect(m_download, &orba::FileDownload::labelChanged, m_labelMsg, &QLabel::setText);
    connect(m_download, &orba::FileDownload::progressChanged, m_progressBar, &QProgressBar::setValue);
    connect(m_download, &orba::FileDownload::cancelAllowed, m_cancelButton, &QPushButton::setEnabled);
    connect(m_download, &orba::FileDownload::ended, this, &tcFileDownloader::downloadEnded);

    m_timer = new QTimer(this);
    m_timer->setInterval(tickMs);
    connect(m_timer, &QTimer::timeout, m_download, &orba::FileDownload::slot_timer);
    if (tickMs > 0)
        m_timer->start();
    m_download->start();
}

tcFileDownloader::~tcFileDownloader() = default;

void tcFileDownloader::downloadEnded(int status, const QString &text)
{
    m_cancelButton->setEnabled(false);
    m_timer->stop();
    const orba::DownloadSettings &s = m_download->settings();
    if (status == orba::DOWNLOAD_SUCCESS) {
        if (!s.rebootText.isEmpty())
            orba::showMessage(orba::MessageKind::Information, this, QStringLiteral("Download Success"),
                              s.rebootText);
        accept();
        return;
    }
    orba::showMessage(orba::MessageKind::Critical, this, QStringLiteral("Download Error"),
                      QStringLiteral("Error:") + text);
    reject();
}

void tcFileDownloader::done(int result)
{
    m_timer->stop();
    m_download->abandon();
    QDialog::done(result);
}
