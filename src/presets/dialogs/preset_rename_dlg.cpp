#include "presets/dialogs/preset_rename_dlg.h"

#include "common/message.h"
#include "presets/name_rules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

tcPresetRenameDlg::tcPresetRenameDlg(const QString &title, const QString &current, int maxLength,
                                     QWidget *parent)
    : QDialog(parent), m_maxLength(maxLength)
{
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Name:"), this));
    m_nameEdit = new QLineEdit(current, this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setMaxLength(maxLength);
    m_nameEdit->setMinimumWidth(260);
    row->addWidget(m_nameEdit);
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &tcPresetRenameDlg::OkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
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
