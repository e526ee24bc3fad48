#include "admin/pswd_entry_dlg.h"

#include "admin/dialog_place.h"
#include "common/crc32.h"
#include "common/message.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

tcPswdEntryDlg::tcPswdEntryDlg(Mode mode, uint32_t currentCrc, QWidget *parent)
    : QDialog(parent), m_mode(mode), m_currentCrc(currentCrc)
{
    setObjectName(QStringLiteral("tcPswdEntryDlg"));
    setWindowTitle(QStringLiteral("Login Password"));
    orba::prepareDialog(this);

    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_password = edit("edit_pswd");
    m_new = edit("edit_new");
    m_verify = edit("edit_verify");
    m_remember = new QCheckBox(QStringLiteral("Remember This Password"), this);
    m_remember->setObjectName(QStringLiteral("check_remember"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Password:"), m_password);
    form->addRow(QStringLiteral("New Password:"), m_new);
    form->addRow(QStringLiteral("Verify:"), m_verify);
    if (mode == Login) {
        form->setRowVisible(m_new, false);
        form->setRowVisible(m_verify, false);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_remember);
    layout->addLayout(orba::okCancelRow(this));
}

void tcPswdEntryDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    orba::centreOverParent(this, parentWidget());
}

uint32_t tcPswdEntryDlg::crcOf(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return orba::crc32(std::string_view(bytes.constData(), size_t(bytes.size())));
}

uint32_t tcPswdEntryDlg::passwordCrc() const
{
    return crcOf(m_password->text());
}

uint32_t tcPswdEntryDlg::newPasswordCrc() const
{
    return crcOf(m_new->text());
}

bool tcPswdEntryDlg::remember() const
{
    return m_remember->isChecked();
}

void tcPswdEntryDlg::accept()
{
    if (m_mode == Change) {
        const QString title = QStringLiteral("Incorrect Password");
        if (passwordCrc() != m_currentCrc) {
            orba::showMessage(orba::MessageKind::Information, this, title,
                              QStringLiteral("Incorrect current password.\n"));
            m_password->clear();
            m_new->clear();
            m_verify->clear();
            return;
        }
        if (m_new->text() != m_verify->text()) {
            orba::showMessage(orba::MessageKind::Information, this, title,
                              QStringLiteral("The new password did not match the verify password.\nPlease "
                                             "re-enter the new password.\n"));
            m_new->clear();
            m_verify->clear();
            return;
        }
    }
    QDialog::accept();
}
