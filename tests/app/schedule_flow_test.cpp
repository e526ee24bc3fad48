// The scheduler and the time dialog against a loopback processor.
#include "admin/event_dlgs.h"
#include "app_window_test.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace orba;
using orba::test::Frame;
using orba::test::waitProcessingEvents;

namespace {

class Scheduler : public test::AppWindowTest
{
protected:
    void SetUp() override
    {
        AppWindowTest::SetUp();
        useStudioWithPanelSkin();
        open();
        goOnline();
        peer.clear();
    }
    // Opens the scheduler; `act` runs in it once the processor's schedule is in. Event editors
    // are accepted as they open.
    void runScheduler(const std::vector<ScheduleEvent> &held, const std::function<void(tcEventScheduler &)> &act)
    {
        answer = [&](QDialog *d) {
            if (auto *s = qobject_cast<tcEventScheduler *>(d)) {
                auto *okay = s->findChild<QPushButton *>(QStringLiteral("okayButton"));
                EXPECT_FALSE(okay->isEnabled()) << "nothing to send before the processor's schedule is in";
                // The processor's answer to the request the scheduler sends when it opens.
                EXPECT_TRUE(
                    waitProcessingEvents([&] { return !peer.framesOfType(MSG_EVENTS_REQUEST).empty(); }));
                for (const EventPacket &p : schedulePackets(held)) {
                    uint8_t f[EVENTS_OUT_LENGTH];
                    EXPECT_TRUE(
                        peer.send(f, buildEvents(f, p.block, p.blocks, p.count, p.records.data(), false)));
                }
                EXPECT_TRUE(waitProcessingEvents([&] { return okay->isEnabled(); }));
                act(*s);
                return s->result();
            }
            d->accept();
            return d->result();
        };
        window->slot_event_dlg();
    }
    // The events of every MSG_EVENTS frame the processor got, and the frames' headers.
    std::vector<ScheduleEvent> sentEvents(std::vector<EventsMsg> *headers = nullptr)
    {
        sentArrived();
        std::vector<ScheduleEvent> out;
        for (const Frame &f : peer.framesOfType(MSG_EVENTS)) {
            EventsMsg m;
            EXPECT_TRUE(parseEvents(f.data(), f.size(), m));
            EXPECT_EQ(f.size(), EVENTS_OUT_LENGTH);
            if (headers)
                headers->push_back(m);
            for (size_t i = 0; i < m.count; ++i)
                out.push_back(ScheduleEvent::fromRecord(m.records + 8 * i));
        }
        return out;
    }
    static std::vector<ScheduleEvent> weekly(size_t n)
    {
        std::vector<ScheduleEvent> v;
        for (size_t i = 0; i < n; ++i)
            v.push_back(ScheduleEvent{packWeekly(2, EventTime{int(i % 24), int(i % 60), 0}), uint32_t(i % 80)});
        return v;
    }
};

TEST_F(Scheduler, MoreThanAThousandAsksAndSendsTheFirstThousandOnYesOnly)
{
    runScheduler(weekly(1000), [&](tcEventScheduler &s) {
        for (int i = 0; i < 100; ++i)
            s.findChild<QPushButton *>(QStringLiteral("btnLongAdd"))->click();
        ASSERT_EQ(s.events().size(), 1100u);
        messages.answer(MsgNo);
        s.accept();
        EXPECT_NE(s.result(), QDialog::Accepted) << "No keeps the dialog open";
        EXPECT_EQ(messages.last().title, QStringLiteral("Error"));
        EXPECT_EQ(messages.last().text,
                  QStringLiteral("You have entered more than the maximum allowed 1000 events.\nWould you like "
                                 "to send what will fit, and discard the remainder?"));
        EXPECT_TRUE(sentEvents().empty());
        messages.answer(MsgYes);
        s.accept();
    });
    std::vector<EventsMsg> headers;
    const std::vector<ScheduleEvent> sent = sentEvents(&headers);
    EXPECT_EQ(sent.size(), 1000u);
    ASSERT_EQ(headers.size(), 8u);
    for (const EventsMsg &m : headers)
        EXPECT_EQ(m.blocks, 8);
    EXPECT_EQ(headers.back().count, 104u);
}

TEST_F(Scheduler, TheDayFilterHidesButNeverDropsAndEventsWithoutDaysStayHidden)
{
    const ScheduleEvent none{packWeekly(0, EventTime{1, 2, 3}), 0};
    const ScheduleEvent sunday{packWeekly(1, EventTime{9, 0, 0}), 1};
    const ScheduleEvent monday{packWeekly(2, EventTime{10, 0, 0}), 2};
    const ScheduleEvent yearly{packLongTerm(12, 25, EventTime{7, 30, 0}), 3};
    runScheduler({none, sunday, monday, yearly}, [&](tcEventScheduler &s) {
        EXPECT_EQ(s.weekTree()->topLevelItemCount(), 2);
        EXPECT_EQ(s.hiddenCount(), 1) << "no day meets even All";
        EXPECT_EQ(s.longTree()->topLevelItem(0)->text(0), QStringLiteral("Dec 25"));
        s.findChild<QRadioButton *>(QStringLiteral("radioButton_SUN"))->click();
        ASSERT_EQ(s.weekTree()->topLevelItemCount(), 1);
        EXPECT_EQ(s.weekTree()->topLevelItem(0)->text(0), QStringLiteral("S______"));
        EXPECT_EQ(s.hiddenCount(), 2);
        s.accept();
    });
    const std::vector<ScheduleEvent> sent = sentEvents();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], sunday);
    EXPECT_EQ(sent[3], yearly);
    EXPECT_NE(std::find(sent.begin(), sent.end(), none), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), monday), sent.end());
}

TEST_F(Scheduler, CancelSendsNothingAndTheTimeDialogSendsItsOffsetInSeconds)
{
    runScheduler(weekly(3), [](tcEventScheduler &s) {
        s.findChild<QPushButton *>(QStringLiteral("btnWeekAdd"))->click();
        s.reject();
    });
    EXPECT_TRUE(sentEvents().empty());

    answer = [](QDialog *d) {
        auto *dlg = qobject_cast<tcTimeDateSetDlg *>(d);
        EXPECT_NE(dlg, nullptr);
        dlg->findChild<QRadioButton *>(QStringLiteral("radioSNTP"))->click();
        dlg->findChild<QLineEdit *>(QStringLiteral("editSntpServer"))->setText(QStringLiteral("10.0.0.9"));
        dlg->findChild<QLineEdit *>(QStringLiteral("editTzOffset"))->setText(QStringLiteral("5.5"));
        dlg->accept();
        return dlg->result();
    };
    window->slot_time_set();
    sentArrived();
    const std::vector<Frame> clock = peer.framesOfType(MSG_SET_CLOCK);
    ASSERT_EQ(clock.size(), 1u);
    ClockSetting c;
    ASSERT_TRUE(parseSetClock(clock[0].data(), clock[0].size(), c));
    EXPECT_TRUE(c.sntp);
    EXPECT_EQ(c.server[3], 9);
    EXPECT_EQ(c.tzOffset, 19800);
}

} // namespace
