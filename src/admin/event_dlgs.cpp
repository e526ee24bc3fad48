#include "admin/event_dlgs.h"

#include "admin/dialog_place.h"
#include "common/ini_store.h"
#include "common/message.h"
#include "gui/dialog_run.h"
#include "link/records.h"
#include "session/session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

using orba::ScheduleEvent;

namespace {

const QString kOptions = QStringLiteral("OPTIONS");
const QString kTime24 = QStringLiteral("TIME24HOUR");
constexpr int kEventRole = Qt::UserRole;

QString timeFormat(bool hours24)
{
    return hours24 ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm:ss ap");
}

// The slots in use, "%03d - name", with the slot index as data; the event's slot chosen.
QComboBox *presetCombo(QWidget *parent, const PresetSlotList &slotList, uint32_t chosen)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("comboPreset"));
    for (int slot = 0; slot < PresetSlotList::size(); ++slot) {
        const PresetHeader h = slotList.get(slot);
        if (h.inUse == 0)
            continue;
        combo->addItem(QString::asprintf("%03d - ", slot + 1) + QString::fromLatin1(QByteArray::fromStdString(h.nameText())),
                       slot);
        if (uint32_t(slot) == chosen)
            combo->setCurrentIndex(combo->count() - 1);
    }
    return combo;
}

uint32_t chosenPreset(const QComboBox *combo, uint32_t otherwise)
{
    return combo->currentIndex() >= 0 ? combo->currentData().toUInt() : otherwise;
}

QTimeEdit *timeEditor(QWidget *parent, const orba::EventTime &t, bool hours24)
{
    auto *edit = new QTimeEdit(QTime(t.hour, t.minute, t.second), parent);
    edit->setObjectName(QStringLiteral("timeEdit"));
    edit->setDisplayFormat(timeFormat(hours24));
    return edit;
}

QFont listFont()
{
    QFont f(QStringLiteral("Lucida Console"));
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

// Sorts dates and times by the calendar and the clock, not by their texts.
class EventItem : public QTreeWidgetItem
{
public:
    bool operator<(const QTreeWidgetItem &other) const override;
};

ScheduleEvent itemEvent(const QTreeWidgetItem *item)
{
    const QList<QVariant> v = item->data(0, kEventRole).toList();
    return v.size() == 2 ? ScheduleEvent{v[0].toUInt(), v[1].toUInt()} : ScheduleEvent{};
}

void setItemEvent(QTreeWidgetItem *item, const ScheduleEvent &e)
{
    item->setData(0, kEventRole, QVariantList{QVariant(e.word), QVariant(e.preset)});
}

int secondOfDay(const ScheduleEvent &e)
{
    const orba::EventTime t = e.type() == orba::kEventWeekly ? orba::weeklyTime(e.word) : orba::longTermTime(e.word);
    return (t.hour * 60 + t.minute) * 60 + t.second;
}

bool EventItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    const ScheduleEvent a = itemEvent(this), b = itemEvent(&other);
    if (column == 1 || (column == 0 && a.type() == orba::kEventLongTerm && b.type() == orba::kEventLongTerm)) {
        auto key = [column](const ScheduleEvent &e) {
            const int day = e.type() == orba::kEventLongTerm && column == 0
                                ? orba::longTermMonth(e.word) * 32 + orba::longTermDay(e.word)
                                : 0;
            return qint64(day) * 86400 + secondOfDay(e);
        };
        return key(a) < key(b);
    }
    return QTreeWidgetItem::operator<(other);
}

} // namespace

// ---- Weekly and long-term event editors

tcEventWeekDlg::tcEventWeekDlg(const ScheduleEvent *event, bool hours24, const PresetSlotList &slotList,
                               QWidget *parent)
    : QDialog(parent), m_event(event ? *event : orba::newWeeklyEvent(0))
{
    setObjectName(QStringLiteral("tcEventWeekDlg"));
    setWindowTitle(QStringLiteral("Weekly Rotation"));
    orba::prepareDialog(this);
    const char *names[] = {"checkSun", "checkMon", "checkTue", "checkWed", "checkThu", "checkFri", "checkSat"};
    const char *texts[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    auto *days = new QHBoxLayout;
    for (int d = 0; d < 7; ++d) {
        m_days[d] = new QCheckBox(QString::fromLatin1(texts[d]), this);
        m_days[d]->setObjectName(QString::fromLatin1(names[d]));
        m_days[d]->setChecked((orba::weeklyDays(m_event.word) & (1 << d)) != 0);
        days->addWidget(m_days[d]);
    }
    m_time = timeEditor(this, orba::weeklyTime(m_event.word), hours24);
    m_preset = presetCombo(this, slotList, m_event.preset);
    auto *form = new QFormLayout;
    form->addRow(days);
    form->addRow(QStringLiteral("Time:"), m_time);
    form->addRow(QStringLiteral("Preset:"), m_preset);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(orba::okCancelRow(this));
}

void tcEventWeekDlg::accept()
{
    uint8_t days = 0;
    for (int d = 0; d < 7; ++d)
        days |= m_days[d]->isChecked() ? uint8_t(1 << d) : 0;
    const QTime t = m_time->time();
    m_event.word = orba::packWeekly(days, orba::EventTime{t.hour(), t.minute(), t.second()});
    m_event.preset = chosenPreset(m_preset, m_event.preset);
    QDialog::accept();
}

tcEventLongDlg::tcEventLongDlg(const ScheduleEvent *event, bool hours24, const PresetSlotList &slotList,
                               QWidget *parent)
    : QDialog(parent), m_event(event ? *event : orba::newLongTermEvent(QDate::currentDate(), 0))
{
    setObjectName(QStringLiteral("tcEventLongDlg"));
    setWindowTitle(QStringLiteral("Long Term Rotation"));
    orba::prepareDialog(this);
    // A leap year, so that 29 February can be chosen: the event comes back every year.
    m_date = new QDateEdit(QDate(2000, std::max(1, orba::longTermMonth(m_event.word)),
                                 std::max(1, orba::longTermDay(m_event.word))),
                           this);
    m_date->setObjectName(QStringLiteral("dateEdit"));
    m_date->setDisplayFormat(QStringLiteral("MMM d"));
    m_date->setDateRange(QDate(2000, 1, 1), QDate(2000, 12, 31));
    m_time = timeEditor(this, orba::longTermTime(m_event.word), hours24);
    m_preset = presetCombo(this, slotList, m_event.preset);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Date:"), m_date);
    form->addRow(QStringLiteral("Time:"), m_time);
    form->addRow(QStringLiteral("Preset:"), m_preset);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(orba::okCancelRow(this));
}

void tcEventLongDlg::accept()
{
    const QDate d = m_date->date();
    const QTime t = m_time->time();
    m_event.word = orba::packLongTerm(d.month(), d.day(), orba::EventTime{t.hour(), t.minute(), t.second()});
    m_event.preset = chosenPreset(m_preset, m_event.preset);
    QDialog::accept();
}

// ---- Time and date

tcTimeDateSetDlg::tcTimeDateSetDlg(bool hours24, const orba::MeterHeader &clock, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("tcTimeDateSetDlg"));
    setWindowTitle(QStringLiteral("Time Date Set"));
    orba::prepareDialog(this);
    m_manual = new QRadioButton(QStringLiteral("Manual"), this);
    m_manual->setObjectName(QStringLiteral("radioManual"));
    m_sntp = new QRadioButton(QStringLiteral("SNTP"), this);
    m_sntp->setObjectName(QStringLiteral("radioSNTP"));

    const uint8_t *c = clock.clock;
    const QDate date(int(c[0]) + 2000, std::clamp<int>(c[1], 1, 12), std::clamp<int>(c[2], 1, 31));
    m_dateTime = new QDateTimeEdit(QDateTime(date.isValid() ? date : QDate::currentDate(),
                                             QTime(c[4] % 24, c[5] % 60, c[6] % 60)),
                                   this);
    m_dateTime->setObjectName(QStringLiteral("dateTimeEdit"));
    m_dateTime->setDisplayFormat(hours24 ? QStringLiteral("MMM d, yyyy hh:mm:ss")
                                         : QStringLiteral("MMM d, yyyy hh:mm:ss ap"));
    m_pcTime = new QCheckBox(QStringLiteral("Use this PC's time."), this);
    m_pcTime->setObjectName(QStringLiteral("pctimeBox"));

    m_server = new QLineEdit(QStringLiteral("%1.%2.%3.%4")
                                 .arg(clock.server[0])
                                 .arg(clock.server[1])
                                 .arg(clock.server[2])
                                 .arg(clock.server[3]),
                             this);
    m_server->setObjectName(QStringLiteral("editSntpServer"));
    m_offset = new QLineEdit(QString::asprintf("%0.2f", double(clock.tzOffset) / 3600.0), this);
    m_offset->setObjectName(QStringLiteral("editTzOffset"));
    m_serverLabel = new QLabel(QStringLiteral("SNTP Server IP Address:"), this);
    m_offsetLabel = new QLabel(QStringLiteral("Time Zone Offset:"), this);

    auto *modes = new QHBoxLayout;
    modes->addWidget(m_manual);
    modes->addWidget(m_sntp);
    modes->addStretch();
    auto *grid = new QGridLayout;
    grid->addWidget(m_dateTime, 0, 0, 1, 2);
    grid->addWidget(m_pcTime, 1, 0, 1, 2);
    grid->addWidget(m_serverLabel, 2, 0);
    grid->addWidget(m_server, 2, 1);
    grid->addWidget(m_offsetLabel, 3, 0);
    grid->addWidget(m_offset, 3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(orba::okCancelRow(this));

    m_server->setMinimumWidth(140);
    m_offset->setMinimumWidth(140);
    setMinimumWidth(360);

    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &tcTimeDateSetDlg::slot_timer);
    QMetaObject::connectSlotsByName(this);
    (clock.sntp ? m_sntp : m_manual)->setChecked(true);
    m_pcTime->setChecked(true); // starts the copy
    showMode();
}

void tcTimeDateSetDlg::showMode()
{
    const bool manual = m_manual->isChecked();
    m_dateTime->setVisible(manual);
    m_pcTime->setVisible(manual);
    for (QWidget *w : {static_cast<QWidget *>(m_server), static_cast<QWidget *>(m_offset),
                       static_cast<QWidget *>(m_serverLabel), static_cast<QWidget *>(m_offsetLabel)})
        w->setVisible(!manual);
    m_dateTime->setEnabled(!m_pcTime->isChecked());
    if (manual && m_pcTime->isChecked()) {
        slot_timer();
        m_timer->start();
    } else {
        m_timer->stop();
    }
}

void tcTimeDateSetDlg::slot_timer()
{
    m_dateTime->setDateTime(QDateTime::currentDateTime());
}

void tcTimeDateSetDlg::on_pctimeBox_stateChanged(int)
{
    showMode();
}

void tcTimeDateSetDlg::on_radioSNTP_clicked()
{
    showMode();
}

void tcTimeDateSetDlg::on_radioManual_clicked()
{
    showMode();
}

void tcTimeDateSetDlg::accept()
{
    QString error;
    if (!orba::makeClockSetting(m_dateTime->dateTime(), m_sntp->isChecked(), m_server->text(), m_offset->text(),
                                m_setting, &error)) {
        orba::showMessage(orba::MessageKind::Warning, this, QStringLiteral("Time Date Set"), error);
        return;
    }
    m_timer->stop();
    QDialog::accept();
}

bool orba::runTimeSetDialog(Session &session, bool hours24, QWidget *parent)
{
    tcTimeDateSetDlg dialog(hours24, session.clock(), parent);
    if (runDialog(&dialog) != QDialog::Accepted)
        return false;
    session.link().send_clock(dialog.setting());
    return true;
}

// ---- The scheduler

tcEventScheduler::tcEventScheduler(orba::Session &session, IniStore &settings, QWidget *parent)
    : QDialog(parent), m_session(session), m_settings(settings)
{
    setObjectName(QStringLiteral("tcEventScheduler"));
    setWindowTitle(QStringLiteral("Event Scheduler"));
    orba::prepareDialog(this);
    m_hours24 = settings.readInt(kOptions, kTime24, 0) != 0;

    auto tree = [this](const char *name, const QStringList &headers) {
        auto *t = new QTreeWidget(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setColumnCount(3);
        t->setHeaderLabels(headers);
        t->setRootIsDecorated(false);
        t->setSelectionMode(QAbstractItemView::ExtendedSelection);
        t->setSortingEnabled(true);
        t->sortByColumn(0, Qt::AscendingOrder);
        t->setFont(listFont());
        t->setMinimumSize(420, 160);
        t->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        return t;
    };
    m_week = tree("treeWeek", {QStringLiteral("Day(s)"), QStringLiteral("Time"), QStringLiteral("Preset")});
    m_week->headerItem()->setToolTip(
        0, QStringLiteral("Sun______\n_Mon_____\n__Tue____\n___Wed___\n____Thu__\n_____Fri_\n______Sat\n"));
    m_long = tree("treeLong", {QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Preset")});

    auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto rowOfButtons = [&](const char *add, const char *edit, const char *del) {
        auto *row = new QVBoxLayout;
        row->addWidget(button(add, QStringLiteral("Add...")));
        row->addWidget(button(edit, QStringLiteral("Edit...")));
        row->addWidget(button(del, QStringLiteral("Delete")));
        row->addStretch();
        return row;
    };

    auto *view = new QHBoxLayout;
    view->addWidget(new QLabel(QStringLiteral("View:"), this));
    const char *radios[] = {"radioButton_ALL", "radioButton_SUN", "radioButton_MON", "radioButton_TUE",
                            "radioButton_WED", "radioButton_THU", "radioButton_FRI", "radioButton_SAT"};
    const char *radioTexts[] = {"All", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int i = 0; i < 8; ++i) {
        auto *r = new QRadioButton(QString::fromLatin1(radioTexts[i]), this);
        r->setObjectName(QString::fromLatin1(radios[i]));
        r->setChecked(i == 0);
        view->addWidget(r);
    }
    view->addStretch();

    auto *week = new QHBoxLayout;
    week->addWidget(m_week, 1);
    week->addLayout(rowOfButtons("btnWeekAdd", "btnWeekEdit", "btnWeekDelete"));
    auto *longTerm = new QHBoxLayout;
    longTerm->addWidget(m_long, 1);
    longTerm->addLayout(rowOfButtons("btnLongAdd", "btnLongEdit", "btnLongDelete"));

    m_clock = new QLabel(this);
    m_clock->setObjectName(QStringLiteral("labelTime"));
    m_check24 = new QCheckBox(QStringLiteral("24 Hour Time"), this);
    m_check24->setObjectName(QStringLiteral("check24Hour"));
    m_check24->setChecked(m_hours24);
    QPushButton *timeSet = button("btnTimeSet", QStringLiteral("Set Time..."));
    timeSet->setToolTip(QStringLiteral("Set the hardware clock."));
    auto *clockRow = new QHBoxLayout;
    clockRow->addWidget(m_clock, 1);
    clockRow->addWidget(m_check24);
    clockRow->addWidget(timeSet);

    m_okay = button("okayButton", QStringLiteral("Okay"));
    m_okay->setToolTip(QStringLiteral("Save changes and close theis window."));
    m_okay->setDefault(true);
    // Until the processor's schedule is here, "Okay" would replace it with an empty one.
    m_okay->setEnabled(false);
    QPushButton *cancel = button("cancelButton", QStringLiteral("Cancel"));
    connect(m_okay, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okay);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Weekly Rotation:"), this));
    layout->addLayout(view);
    layout->addLayout(week);
    layout->addWidget(new QLabel(QStringLiteral("Long Term Rotation:"), this));
    layout->addLayout(longTerm);
    layout->addLayout(clockRow);
    layout->addLayout(buttons);
    QMetaObject::connectSlotsByName(this);

    slot_update_ap_time();
    connect(&session, &orba::Session::sig_ap_clock, this, &tcEventScheduler::slot_update_ap_time);
    connect(&session, &orba::Session::sig_new_events, this, &tcEventScheduler::slot_update_events);
    session.link().request_events();
}

tcEventScheduler::~tcEventScheduler()
{
    qDeleteAll(m_hidden);
}

void tcEventScheduler::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    orba::centreOverParent(this, parentWidget(), true);
}

void tcEventScheduler::clearItems()
{
    m_week->clear();
    m_long->clear();
    qDeleteAll(m_hidden);
    m_hidden.clear();
}

void tcEventScheduler::setItemTexts(QTreeWidgetItem *item) const
{
    const ScheduleEvent e = itemEvent(item);
    const bool weekly = e.type() == orba::kEventWeekly;
    item->setText(0, weekly ? orba::daysText(e.word) : orba::longTermDateText(e.word));
    item->setText(1, orba::timeText(weekly ? orba::weeklyTime(e.word) : orba::longTermTime(e.word), m_hours24));
    item->setText(2, orba::presetText(e.preset, m_session.presetSlots()));
}

void tcEventScheduler::addItem(const ScheduleEvent &e)
{
    auto *item = new EventItem;
    setItemEvent(item, e);
    setItemTexts(item);
    if (e.type() == orba::kEventLongTerm)
        m_long->addTopLevelItem(item);
    else if (orba::matchesDayFilter(e.word, m_filter))
        m_week->addTopLevelItem(item);
    else
        m_hidden.append(item);
}

void tcEventScheduler::slot_update_events()
{
    clearItems();
    const EventList &list = m_session.events();
    for (int i = 0; i < list.count(); ++i) {
        const ScheduleEvent e = ScheduleEvent::fromRecord(list.at(i).data());
        if (e.type() == orba::kEventWeekly || e.type() == orba::kEventLongTerm)
            addItem(e);
    }
    m_okay->setEnabled(true);
}

void tcEventScheduler::refreshTexts()
{
    for (QTreeWidget *t : {m_week, m_long})
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            setItemTexts(t->topLevelItem(i));
    for (QTreeWidgetItem *item : std::as_const(m_hidden))
        setItemTexts(item);
}

void tcEventScheduler::setFilter(int mask)
{
    m_filter = mask;
    QList<QTreeWidgetItem *> all = m_hidden;
    m_hidden.clear();
    while (m_week->topLevelItemCount() > 0)
        all.append(m_week->takeTopLevelItem(0));
    for (QTreeWidgetItem *item : all) {
        if (orba::matchesDayFilter(itemEvent(item).word, mask))
            m_week->addTopLevelItem(item);
        else
            m_hidden.append(item);
    }
    refreshTexts();
}

std::vector<ScheduleEvent> tcEventScheduler::events() const
{
    std::vector<ScheduleEvent> out;
    for (int i = 0; i < m_week->topLevelItemCount(); ++i)
        out.push_back(itemEvent(m_week->topLevelItem(i)));
    for (const QTreeWidgetItem *item : m_hidden)
        out.push_back(itemEvent(item));
    for (int i = 0; i < m_long->topLevelItemCount(); ++i)
        out.push_back(itemEvent(m_long->topLevelItem(i)));
    return out;
}

void tcEventScheduler::on_btnWeekAdd_clicked()
{
    const QList<QTreeWidgetItem *> selected = m_week->selectedItems();
    const ScheduleEvent start = selected.isEmpty() ? orba::newWeeklyEvent(0) : itemEvent(selected.first());
    tcEventWeekDlg dialog(&start, m_hours24, m_session.presetSlots(), this);
    if (orba::runDialog(&dialog) == QDialog::Accepted)
        addItem(dialog.event());
}

void tcEventScheduler::on_btnWeekEdit_clicked()
{
    for (QTreeWidgetItem *item : m_week->selectedItems()) {
        const ScheduleEvent e = itemEvent(item);
        tcEventWeekDlg dialog(&e, m_hours24, m_session.presetSlots(), this);
        if (orba::runDialog(&dialog) != QDialog::Accepted)
            continue;
        setItemEvent(item, dialog.event());
        setItemTexts(item);
    }
    setFilter(m_filter); // an edited event may no longer meet the filter
}

void tcEventScheduler::on_btnWeekDelete_clicked()
{
    qDeleteAll(m_week->selectedItems());
}

void tcEventScheduler::on_btnLongAdd_clicked()
{
    const QList<QTreeWidgetItem *> selected = m_long->selectedItems();
    const ScheduleEvent start =
        selected.isEmpty() ? orba::newLongTermEvent(QDate::currentDate(), 0) : itemEvent(selected.first());
    tcEventLongDlg dialog(&start, m_hours24, m_session.presetSlots(), this);
    if (orba::runDialog(&dialog) == QDialog::Accepted)
        addItem(dialog.event());
}

void tcEventScheduler::on_btnLongEdit_clicked()
{
    for (QTreeWidgetItem *item : m_long->selectedItems()) {
        const ScheduleEvent e = itemEvent(item);
        tcEventLongDlg dialog(&e, m_hours24, m_session.presetSlots(), this);
        if (orba::runDialog(&dialog) != QDialog::Accepted)
            continue;
        setItemEvent(item, dialog.event());
        setItemTexts(item);
    }
}

void tcEventScheduler::on_btnLongDelete_clicked()
{
    qDeleteAll(m_long->selectedItems());
}

void tcEventScheduler::on_check24Hour_stateChanged()
{
    m_hours24 = m_check24->isChecked();
    m_settings.writeInt(kOptions, kTime24, m_hours24 ? 1 : 0);
    refreshTexts();
    slot_update_ap_time();
}

void tcEventScheduler::on_btnTimeSet_clicked()
{
    orba::runTimeSetDialog(m_session, m_hours24, this);
}

void tcEventScheduler::slot_update_ap_time()
{
    m_clock->setText(orba::clockLabel(m_session.clock().clock, m_hours24));
}

void tcEventScheduler::accept()
{
    std::vector<ScheduleEvent> all = events();
    if (all.size() > size_t(orba::EVENTS_MAX)) {
        const int answer = orba::showMessage(
            orba::MessageKind::Critical, this, QStringLiteral("Error"),
            QStringLiteral("You have entered more than the maximum allowed %1 events.").arg(orba::EVENTS_MAX) +
                QStringLiteral("\nWould you like to send what will fit, and discard the remainder?"),
            orba::MsgYes | orba::MsgNo);
        if (answer != orba::MsgYes)
            return;
        all.resize(orba::EVENTS_MAX);
    }
    for (const orba::EventPacket &p : orba::schedulePackets(all))
        m_session.link().send_events(p.block, p.blocks, p.count, p.records.data());
    QDialog::accept();
}
