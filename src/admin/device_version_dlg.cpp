#include "admin/device_version_dlg.h"

#include "admin/dialog_place.h"
#include "link/records.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

tcDeviceVersionDlg::tcDeviceVersionDlg(const VersionRecord *version, QWidget *parent)
    : QDialog(parent), m_version(version)
{
    setObjectName(QStringLiteral("tcDeviceVersionDlg"));
    setWindowTitle(QStringLiteral("Processor Version"));
    orba::prepareDialog(this);

    auto label = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(260);
        return l;
    };
    m_labelVersion = label("labelVersion");
    m_labelVersion->setText(QStringLiteral("Querying version info..."));
    m_labelDSP = label("labelDSP");
    m_labelFPGA = label("labelFPGA");
    m_labelBuild = label("labelBuild");
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &tcDeviceVersionDlg::accept);

    auto *layout = new QVBoxLayout(this);
    for (QLabel *l : {m_labelVersion, m_labelDSP, m_labelFPGA, m_labelBuild})
        layout->addWidget(l);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void tcDeviceVersionDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    orba::centreOverParent(this, parentWidget(), true);
}

void tcDeviceVersionDlg::slot_recv_version()
{
    if (!m_version)
        return;
    const orba::ProcessorVersion v = m_version->load();
    m_labelVersion->setText(QStringLiteral("Version: %1.%2.%3").arg(v.major).arg(v.minor).arg(v.build));
    // The reply carries the build date first and the DSP version last.
    m_labelBuild->setText(QString::fromLatin1(v.text[0]));
    m_labelFPGA->setText(QString::fromLatin1(v.text[1]));
    m_labelDSP->setText(QString::fromLatin1(v.text[2]));
}
