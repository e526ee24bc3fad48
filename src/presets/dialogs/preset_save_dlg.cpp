#include "presets/dialogs/preset_save_dlg.h"

#include "common/message.h"
#include "presets/name_rules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

tcPresetSaveDlg::tcPresetSaveDlg(int mode, const PresetSlotList *slotList, int selectedSlot, QWidget *parent)
    : QDialog(parent), m_mode(mode), m_slotList(slotList)
{
    setWindowTitle(QStringLiteral("Save Preset"));
    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setMaxLength(orba::PRESET_NAME_MAX);
    m_nameEdit->setMinimumWidth(260);
    grid->addWidget(m_nameEdit, 0, 1);
    m_slotLabel = new QLabel(QStringLiteral("Preset #:"), this);
    grid->addWidget(m_slotLabel, 1, 0);
    m_slotSpin = new QSpinBox(this);
    m_slotSpin->setObjectName(QStringLiteral("slotSpin"));
    m_slotSpin->setRange(1, PRESET_SLOTS);
    grid->addWidget(m_slotSpin, 1, 1, Qt::AlignLeft);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, &tcPresetSaveDlg::OkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (mode == ProcessorSlot) {
        setWindowTitle(QStringLiteral("Save as Preset in ORBA"));
        connect(m_slotSpin, &QSpinBox::valueChanged, this, &tcPresetSaveDlg::slot_IndexChanged);
        m_slotSpin->setValue(std::clamp(selectedSlot + 1, 1, int(PRESET_SLOTS)));
        slot_IndexChanged(m_slotSpin->value());
    } else {
        setWindowTitle(QStringLiteral("Save as Preset in Favorites"));
        m_slotLabel->hide();
        m_slotSpin->hide();
    }
    m_nameEdit->setFocus();
}

int tcPresetSaveDlg::slotNumber() const
{
    return m_slotSpin->value();
}

QString tcPresetSaveDlg::name() const
{
    return m_nameEdit->text();
}

void tcPresetSaveDlg::setName(const QString &name)
{
    m_nameEdit->setText(name);
}

QString tcPresetSaveDlg::proposedName(const PresetSlotList &slotList, int slot)
{
    const PresetHeader h = slotList.get(slot);
    if (h.inUse != 0)
        return QString::fromLatin1(h.nameText().c_str());
    return QString::asprintf("PSET %03d", slot + 1);
}

void tcPresetSaveDlg::slot_IndexChanged(int number)
{
    const int clamped = std::clamp(number, 1, int(PRESET_SLOTS));
    if (clamped != m_slotSpin->value())
        m_slotSpin->setValue(clamped);
    if (m_slotList)
        m_nameEdit->setText(proposedName(*m_slotList, clamped - 1));
}

void tcPresetSaveDlg::OkClicked()
{
    const QString text = m_nameEdit->text();
    const orba::NameCheck check = orba::checkSaveName(text);
    if (check.result == orba::NameCheck::Refused) {
        orba::showMessage(orba::MessageKind::Information, this, check.title, check.text);
        m_nameEdit->setFocus();
        return;
    }
    if (!check.accepted())
        return; // an empty name does nothing
    accept();
}
