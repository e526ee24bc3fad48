#include "presets/dialogs/preset_rename_dlg.h"

#include "common/message.h"
#include "presets/name_rules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QPushButton *orba::addNameForm(QDialog &dialog, const QString &label, QLineEdit *edit)
{
    auto *layout = new QVBoxLayout(&dialog);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(label, &dialog));
    edit->setObjectName(QStringLiteral("nameEdit"));
    edit->setMinimumWidth(260);
    row->addWidget(edit);
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return ok;
}

tcPresetRenameDlg::tcPresetRenameDlg(const QString &title, const QString &current, int maxLength,
                                     QWidget *parent)
    : QDialog(parent), m_maxLength(maxLength)
{
    setWindowTitle(title);
    m_nameEdit = new QLineEdit(current, this);
    m_nameEdit->setMaxLength(maxLength);
    QPushButton *ok = orba::addNameForm(*this, QStringLiteral("Name:"), m_nameEdit);
    connect(ok, &QPushButton::clicked, this, &tcPresetRenameDlg::OkClicked);
    m_nameEdit->selectAll();
    m_nameEdit->setFocus();
}

void tcPresetRenameDlg::OkClicked()
{
    const QString text = m_nameEdit->text();
    const orba::NameCheck check = orba::checkRenameName(text, m_maxLength);
    if (check.result == orba::NameCheck::Refused) {
        orba::showMessage(orba::MessageKind::Information, this, check.title, check.text);
        m_nameEdit->setFocus();
        return;
    }
    if (!check.accepted())
        return;
    m_name = text;
    accept();
}
