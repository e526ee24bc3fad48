#include "admin/device_edit_dlg.h"

#include "admin/dialog_place.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

tcDeviceEditDlg::tcDeviceEditDlg(const QString &name, const QString &address, bool edit, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("tcDeviceEditDlg"));
    setWindowTitle(QStringLiteral("Edit Device"));
    orba::prepareDialog(this);

    auto *group = new QGroupBox(QStringLiteral("Device Info:"), this);
    m_nameEdit = new QLineEdit(name, group);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_ipaddrEdit = new QLineEdit(group);
    m_ipaddrEdit->setObjectName(QStringLiteral("ipaddrEdit"));
    m_ipaddrEdit->setInputMask(QStringLiteral("009.009.009.009; "));
    m_ipaddrEdit->setText(address);
    if (edit) {
        m_nameEdit->setFrame(false);
        m_nameEdit->setEnabled(false);
    } else {
        // The range A-z is kept as it always was: it also lets [ \ ] ^ _ and ` through.
        m_nameEdit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[a-zA-z0-9 _]{1,40}")), m_nameEdit));
    }
    auto *form = new QFormLayout(group);
    form->addRow(QStringLiteral("Name:"), m_nameEdit);
    form->addRow(QStringLiteral("IP Address:"), m_ipaddrEdit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(orba::okCancelRow(this));
}

void tcDeviceEditDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    orba::centreOverParent(this, parentWidget());
}

void tcDeviceEditDlg::accept()
{
    m_name = m_nameEdit->text();
    if (m_name.isEmpty())
        return;
    m_address = m_ipaddrEdit->text();
    m_address.remove(QLatin1Char(' '));
    m_address.remove(QLatin1Char('\t'));
    QDialog::accept();
}
