#include "admin/devices_dlg.h"

#include "admin/device_edit_dlg.h"
#include "admin/device_list.h"
#include "admin/dialog_place.h"
#include "common/message.h"
#include "gui/dialog_run.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

tcDevicesDlg::tcDevicesDlg(DeviceList *devices, QWidget *parent) : QDialog(parent), m_devices(devices)
{
    setObjectName(QStringLiteral("tcDevicesDlg"));
    setWindowTitle(QStringLiteral("Devices"));
    orba::prepareDialog(this);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("listWidget"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto button = [this](const char *name, const char *text) {
        auto *b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    m_add = button("pushBtn_ADD", "Add...");
    m_edit = button("pushBtn_EDIT", "Edit...");
    m_delete = button("pushBtn_DEL", "Delete");
    m_select = button("pushBtn_SELECT", "Select");
    m_close = button("pushBtn_CLOSE", "Close");

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_add, m_edit, m_delete})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_select);
    buttons->addWidget(m_close);
    m_add->setToolTip(QStringLiteral("Add a processor to the list"));
    m_select->setToolTip(QStringLiteral("Use the selected device (also a double click)"));
    m_close->setToolTip(QStringLiteral("Close without changing the device in use"));

    m_note = new QLabel(inUseNote(), this);
    m_note->setObjectName(QStringLiteral("labelInUse"));
    m_note->setWordWrap(true);
    m_note->setVisible(false);
    auto *left = new QVBoxLayout;
    left->addWidget(m_list, 1);
    left->addWidget(m_note);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_list, &QListWidget::itemSelectionChanged, this,
            &tcDevicesDlg::on_listWidget_itemSelectionChanged);
    connect(m_list, &QListWidget::itemDoubleClicked, m_select, [this] { m_select->animateClick(); });
    connect(m_add, &QPushButton::clicked, this, &tcDevicesDlg::on_pushBtn_ADD_clicked);
    connect(m_edit, &QPushButton::clicked, this, &tcDevicesDlg::on_pushBtn_EDIT_clicked);
    connect(m_delete, &QPushButton::clicked, this, &tcDevicesDlg::on_pushBtn_DEL_clicked);
    connect(m_select, &QPushButton::clicked, this, &tcDevicesDlg::accept);
    connect(m_close, &QPushButton::clicked, this, &tcDevicesDlg::reject);

    fill();
    updateButtons();
}

void tcDevicesDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    orba::centreOverParent(this, parentWidget());
}

void tcDevicesDlg::fill()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (int i = 0; i < m_devices->count(); ++i)
        m_list->addItem(m_devices->nameAt(i));
    if (m_selection >= 0 && m_selection < m_list->count())
        m_list->setCurrentRow(m_selection);
    else
        m_selection = -1;
}

QString tcDevicesDlg::inUseNote()
{
    // Going off line does not free it: it stays the device in use until another is selected.
    return QStringLiteral("The device in use cannot be edited or deleted; select another device and "
                          "use it first.");
}

void tcDevicesDlg::updateButtons()
{
    // The connected device can be neither edited nor deleted; nothing selected, nothing to do.
    const bool inUse = m_selection >= 0 && m_selection == m_devices->currentIndex();
    const bool other = m_selection >= 0 && !inUse;
    m_edit->setEnabled(other);
    m_delete->setEnabled(other);
    m_note->setVisible(inUse);
    const QString why =
        inUse ? inUseNote() : (other ? QString() : QStringLiteral("Select a device in the list first."));
    m_edit->setToolTip(other ? QStringLiteral("Change the address of the selected device") : why);
    m_delete->setToolTip(other ? QStringLiteral("Remove the selected device from the list") : why);
}

void tcDevicesDlg::on_listWidget_itemSelectionChanged()
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    m_selection = selected.isEmpty() ? -1 : m_list->row(selected.first());
    updateButtons();
}

void tcDevicesDlg::on_pushBtn_ADD_clicked()
{
    tcDeviceEditDlg dialog(QString(), QStringLiteral("192.168.1"), false, this);
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return;
    const QString name = dialog.name();
    // The name is the device's file name: a second device of the same name would share it.
    if (m_devices->findByName(name)) {
        orba::showMessage(orba::MessageKind::Warning, this, QStringLiteral("Devices"),
                          QStringLiteral("A device named \"%1\" already exists.").arg(name));
        return;
    }
    auto record = std::make_unique<DeviceRecord>(name, m_devices->mapsDir());
    record->setIpAddress(dialog.address());
    const QString file = record->filePath();
    if (!m_devices->add(std::move(record))) {
        warnNotSaved(QStringLiteral("The device \"%1\" could not be saved to \"%2\" and was not added.")
                         .arg(name, file));
        return;
    }
    fill();
    updateButtons();
}

void tcDevicesDlg::on_pushBtn_EDIT_clicked()
{
    DeviceRecord *record = m_devices->recordAt(m_selection);
    if (!record || m_selection == m_devices->currentIndex())
        return;
    tcDeviceEditDlg dialog(record->name(), record->ipAddress(), true, this);
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return;
    record->setIpAddress(dialog.address());
    if (!record->saveAddress())
        warnNotSaved(QStringLiteral("The address of \"%1\" could not be saved to \"%2\".")
                         .arg(record->name(), record->filePath()));
}

void tcDevicesDlg::warnNotSaved(const QString &text)
{
    orba::showMessage(orba::MessageKind::Warning, this, QStringLiteral("Devices"), text);
}

void tcDevicesDlg::on_pushBtn_DEL_clicked()
{
    DeviceRecord *record = m_devices->recordAt(m_selection);
    if (!record || m_selection == m_devices->currentIndex())
        return;
    const int answer = orba::showMessage(orba::MessageKind::Question, this, QStringLiteral("Delete Device"),
                                         QStringLiteral("Are you sure you want to delete the \"") +
                                             record->name() + QStringLiteral("\" ?"),
                                         orba::MsgYes | orba::MsgNo, orba::MsgNo);
    if (answer != orba::MsgYes)
        return;
    m_devices->remove(record);
    m_selection = -1; // the next device moved up into the deleted row; it stays unselected
    fill();
    updateButtons();
}

void tcDevicesDlg::accept()
{
    if (m_selection < 0 || m_selection >= m_devices->count() || m_selection == m_devices->currentIndex())
        return;
    QDialog::accept();
}
