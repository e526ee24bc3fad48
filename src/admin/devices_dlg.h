// The "Devices" dialog: the list of processors with Add, Edit, Delete and Select. The device the
// application is connected to (the current one) can be neither edited nor deleted nor selected
// again. The caller reads the chosen row after an accept.
#pragma once

#include <QDialog>

class DeviceList;
class QLabel;
class QListWidget;
class QPushButton;
class tcDeviceEditDlg;

class tcDevicesDlg : public QDialog
{
    Q_OBJECT
public:
    tcDevicesDlg(DeviceList *devices, QWidget *parent = nullptr);

    int selectedRow() const { return m_selection; }
    // Why Edit and Delete are disabled for the device in use (also their tooltips).
    static QString inUseNote();

public slots:
    void on_listWidget_itemSelectionChanged();
    void on_pushBtn_ADD_clicked();
    void on_pushBtn_EDIT_clicked();
    void on_pushBtn_DEL_clicked();
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill();
    void updateButtons();
    void warnNotSaved(const QString &text);

    DeviceList *m_devices;
    int m_selection = -1;
    QListWidget *m_list;
    QLabel *m_note;
    QPushButton *m_add, *m_edit, *m_delete, *m_select, *m_close;
};
