// "Processor Version": shows the version reply of the connected processor when it arrives.
#pragma once

#include <QDialog>

class QLabel;
class VersionRecord;

class tcDeviceVersionDlg : public QDialog
{
    Q_OBJECT
public:
    tcDeviceVersionDlg(const VersionRecord *version, QWidget *parent = nullptr);

public slots:
    void slot_recv_version();

protected:
    void showEvent(QShowEvent *event) override;

private:
    const VersionRecord *m_version;
    QLabel *m_labelVersion, *m_labelDSP, *m_labelFPGA, *m_labelBuild;
};
