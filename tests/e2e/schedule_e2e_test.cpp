// The scheduler against the simulator: a schedule edited in the dialog and sent with "Okay" is
// the one the dialog shows when it opens again.
#include "admin/event_dlgs.h"
#include "e2e_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>

using namespace orba;
using orba::test::waitFor;

namespace {

using Schedule = orba::test::EndToEnd;

std::vector<ScheduleEvent> sorted(std::vector<ScheduleEvent> v)
{
    std::sort(v.begin(), v.end(), [](const ScheduleEvent &a, const ScheduleEvent &b) {
        return std::tie(a.word, a.preset) < std::tie(b.word, b.preset);
    });
    return v;
}

TEST_F(Schedule, AScheduleEditedInTheDialogIsTheOneTheDialogShowsNextTime)
{
    std::vector<ScheduleEvent> sent, shown;
    // The editors: Sunday and Saturday at 21:15:30 on the third preset; 29 February at 05:00.
    auto editor = [](QDialog *d) {
        if (auto *w = qobject_cast<tcEventWeekDlg *>(d)) {
            for (const char *day : {"checkMon", "checkTue", "checkWed", "checkThu", "checkFri"})
                w->findChild<QCheckBox *>(QString::fromLatin1(day))->setChecked(false);
            w->findChild<QCheckBox *>(QStringLiteral("checkSun"))->setChecked(true);
            w->findChild<QCheckBox *>(QStringLiteral("checkSat"))->setChecked(true);
            w->findChild<QTimeEdit *>()->setTime(QTime(21, 15, 30));
            w->findChild<QComboBox *>()->setCurrentIndex(2);
        } else if (auto *l = qobject_cast<tcEventLongDlg *>(d)) {
            l->findChild<QDateEdit *>(QStringLiteral("dateEdit"))->setDate(QDate(2000, 2, 29));
            l->findChild<QTimeEdit *>(QStringLiteral("timeEdit"))->setTime(QTime(5, 0, 0));
        }
        d->accept();
        return d->result();
    };
    auto scheduler = [&](const std::function<void(tcEventScheduler &)> &act) {
        answer = [&](QDialog *d) {
            auto *s = qobject_cast<tcEventScheduler *>(d);
            if (!s)
                return editor(d);
            EXPECT_TRUE(waitFor([&] { return s->findChild<QPushButton *>(QStringLiteral("okayButton"))->isEnabled(); }));
            act(*s);
            return s->result();
        };
        window->slot_event_dlg();
    };
    scheduler([&](tcEventScheduler &s) {
        s.findChild<QPushButton *>(QStringLiteral("btnWeekAdd"))->click();
        s.findChild<QPushButton *>(QStringLiteral("btnLongAdd"))->click();
        s.findChild<QPushButton *>(QStringLiteral("btnWeekAdd"))->click();
        sent = s.events();
        s.accept();
    });
    ASSERT_GE(sent.size(), 3u);
    EXPECT_NE(std::find(sent.begin(), sent.end(), ScheduleEvent{packWeekly(0x41, EventTime{21, 15, 30}), 2}),
              sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), ScheduleEvent{packLongTerm(2, 29, EventTime{5, 0, 0}), 0}),
              sent.end());
    quiet();
    scheduler([&](tcEventScheduler &s) {
        shown = s.events();
        s.reject();
    });
    EXPECT_EQ(sorted(shown), sorted(sent));
}

} // namespace
