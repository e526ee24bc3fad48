// The scheduler of the processor's preset takes, its two event editors, and the dialog that sets
// the processor's clock. Views over the session: what they send goes out through its link.
#pragma once

#include "session/schedule.h"
#include "link/meter_datagram.h"

#include <QDialog>
#include <QList>

class IniStore;
class PresetSlotList;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace orba {
class Session;
}

// "Weekly Rotation": the days, the time and the preset of a weekly event.
class tcEventWeekDlg : public QDialog
{
    Q_OBJECT
public:
    // event: the one to edit, or none for a new one.
    tcEventWeekDlg(const orba::ScheduleEvent *event, bool hours24, const PresetSlotList &slotList,
                   QWidget *parent = nullptr);
    orba::ScheduleEvent event() const { return m_event; } // once accepted

public slots:
    void accept() override;

private:
    orba::ScheduleEvent m_event;
    QCheckBox *m_days[7];
    QTimeEdit *m_time;
    QComboBox *m_preset;
};

// "Long Term Rotation": the date (every year), the time and the preset of a long-term event.
class tcEventLongDlg : public QDialog
{
    Q_OBJECT
public:
    tcEventLongDlg(const orba::ScheduleEvent *event, bool hours24, const PresetSlotList &slotList,
                   QWidget *parent = nullptr);
    orba::ScheduleEvent event() const { return m_event; }

public slots:
    void accept() override;

private:
    orba::ScheduleEvent m_event;
    QDateEdit *m_date;
    QTimeEdit *m_time;
    QComboBox *m_preset;
};

// "Time Date Set": the processor's clock by hand (or from this computer's clock) or from an SNTP
// server with a time-zone offset.
class tcTimeDateSetDlg : public QDialog
{
    Q_OBJECT
public:
    tcTimeDateSetDlg(bool hours24, const orba::MeterHeader &clock, QWidget *parent = nullptr);
    const orba::ClockSetting &setting() const { return m_setting; } // once accepted
    QDateTimeEdit *dateTimeEdit() const { return m_dateTime; }

public slots:
    void accept() override;
    void slot_timer();
    void on_pctimeBox_stateChanged(int state);
    void on_radioSNTP_clicked();
    void on_radioManual_clicked();

private:
    void showMode();

    QRadioButton *m_manual, *m_sntp;
    QDateTimeEdit *m_dateTime;
    QCheckBox *m_pcTime;
    QLineEdit *m_server, *m_offset;
    QLabel *m_serverLabel, *m_offsetLabel;
    QTimer *m_timer;
    orba::ClockSetting m_setting;
};

// "Event Scheduler": the weekly and long-term rotations as the processor holds them, edited here
// and sent back whole on "Okay".
class tcEventScheduler : public QDialog
{
    Q_OBJECT
public:
    tcEventScheduler(orba::Session &session, IniStore &settings, QWidget *parent = nullptr);
    ~tcEventScheduler() override;

    // Every event in the order "Okay" sends them: weekly shown, weekly filtered out, long-term.
    std::vector<orba::ScheduleEvent> events() const;
    QTreeWidget *weekTree() const { return m_week; }
    QTreeWidget *longTree() const { return m_long; }
    int hiddenCount() const { return m_hidden.size(); }

public slots:
    void on_btnWeekAdd_clicked();
    void on_btnWeekEdit_clicked();
    void on_btnWeekDelete_clicked();
    void on_btnLongAdd_clicked();
    void on_btnLongEdit_clicked();
    void on_btnLongDelete_clicked();
    void on_check24Hour_stateChanged();
    void on_btnTimeSet_clicked();
    void slot_update_ap_time();
    void slot_update_events();
    void on_radioButton_ALL_clicked() { setFilter(orba::kAllDays); }
    void on_radioButton_SUN_clicked() { setFilter(1); }
    void on_radioButton_MON_clicked() { setFilter(2); }
    void on_radioButton_TUE_clicked() { setFilter(4); }
    void on_radioButton_WED_clicked() { setFilter(8); }
    void on_radioButton_THU_clicked() { setFilter(16); }
    void on_radioButton_FRI_clicked() { setFilter(32); }
    void on_radioButton_SAT_clicked() { setFilter(64); }
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setFilter(int mask);
    void addItem(const orba::ScheduleEvent &event);
    void setItemTexts(QTreeWidgetItem *item) const;
    void refreshTexts();
    void clearItems();

    orba::Session &m_session;
    IniStore &m_settings;
    bool m_hours24 = false;
    int m_filter = orba::kAllDays;
    QTreeWidget *m_week, *m_long;
    QList<QTreeWidgetItem *> m_hidden; // weekly events the day filter hides; owned
    QLabel *m_clock;
    QCheckBox *m_check24;
    QPushButton *m_okay;
};

namespace orba {
// Opens the time dialog on the processor's clock and sends the setting on OK; true when sent.
bool runTimeSetDialog(Session &session, bool hours24, QWidget *parent);
} // namespace orba
