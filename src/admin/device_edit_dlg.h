// "Edit Device": the name and IPv4 address of one device. A new device gets a name from a limited
// set of characters; an existing device keeps its name (it is its file name), so the field is
// shown frameless and disabled.
#pragma once

#include <QDialog>

class QLineEdit;

class tcDeviceEditDlg : public QDialog
{
    Q_OBJECT
public:
    tcDeviceEditDlg(const QString &name, const QString &address, bool edit, QWidget *parent = nullptr);

    QString name() const { return m_name; }
    QString address() const { return m_address; } // blanks and tabs removed

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_nameEdit;
    QLineEdit *m_ipaddrEdit;
    QString m_name;
    QString m_address;
};
