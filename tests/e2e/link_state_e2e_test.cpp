// What the surface says about the link, against orba-sim: the offline banner and the on-line
// switch while the processor is away, "Trying.." while it is tried, edits made off line sent or
// given up on reconnecting as the user answers, undo and redo of the user's edits with the keys
// and the menu, and the preset's name after a save into a slot.
#include "e2e_fixture.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_display.h"
#include "gui/gui_knob.h"
#include "link/link_watch.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

using namespace orba;
using orba::test::EndToEnd;
using orba::test::RecordedMessage;
using orba::test::waitFor;

namespace {

constexpr uint16_t kGain = 257; // "Input Line Gain", shown by INPUT_ANA_GAIN_KNOB

class LinkStateOnSurface : public EndToEnd
{
protected:
    LinkStateOnSurface() { limits.connectWaitMs = 1000; } // a stopped simulator is tried again soon
    void SetUp() override
    {
        EndToEnd::SetUp();
        // The simulator's whole state is in before the user's first edit.
        if (window && window->linkState() == LinkState::Online)
            quiet();
    }

    tcGuiKnob *gainKnob() { return object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB"); }
    uint32_t liveGain() { return window->session().live().getRaw(kGain); }
    bool bannerShown() { return window->offlineBanner() && window->offlineBanner()->isVisible(); }
    QString onlineCaption() { return object<tcGuiCheckBox>("ONLINE")->caption(); }
    void stopSimulator()
    {
        sim->stop();
        ASSERT_TRUE(waitFor([&] { return window->linkState() != LinkState::Online; }));
    }
    void startSimulator()
    {
        ASSERT_TRUE(sim->start(sim->port()));
        ASSERT_TRUE(waitFor([&] { return window->statusText() == QStringLiteral("Online"); }, 20000));
    }
    bool simStoredGain(uint32_t raw) { return simLogs(QStringLiteral("live %1 = %2").arg(kGain).arg(raw)); }
    void keys(Qt::KeyboardModifiers modifiers)
    {
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_Z, modifiers);
    }
    QMenu *editMenu()
    {
        for (QAction *a : window->popupMenu()->actions())
            if (a->menu() && a->text() == QStringLiteral("Edit"))
                return a->menu();
        return nullptr;
    }
    // An edit of the gain knob as the user makes it: one step, sent when on line.
    uint32_t turnGain(int delta)
    {
        gainKnob()->step(delta);
        return liveGain();
    }
};

TEST_F(LinkStateOnSurface, TheSurfaceSaysSoWhileTheProcessorIsAwayAndTriesItVisibly)
{
    EXPECT_FALSE(bannerShown());
    EXPECT_EQ(onlineCaption(), QStringLiteral("ON-LINE"));

    stopSimulator();
    ASSERT_TRUE(waitFor([&] { return bannerShown(); }));
    EXPECT_EQ(window->offlineBanner()->text(), QStringLiteral("Offline: changes are not sent"));
    EXPECT_EQ(onlineCaption(), QStringLiteral("CONNECTING")); // wanted, not reached
    EXPECT_TRUE(object<tcGuiCheckBox>("ONLINE")->checked());
    // The link is tried for a whole attempt, not for an instant.
    ASSERT_TRUE(waitFor([&] { return window->statusText() == QStringLiteral("Trying.."); }));
    EXPECT_EQ(window->statusLook(), StatusLook::Busy);
    EXPECT_EQ(object<tcGuiDisplay>("STAT_ONLINE")->state(), tcGuiDisplay::kWarning);
    EXPECT_TRUE(bannerShown());

    startSimulator();
    EXPECT_FALSE(bannerShown());
    EXPECT_EQ(onlineCaption(), QStringLiteral("ON-LINE"));

    // Off line by choice: the banner again, and the switch is simply off.
    window->set_online(false);
    ASSERT_TRUE(waitFor([&] { return bannerShown(); }));
    EXPECT_EQ(onlineCaption(), QStringLiteral("ON-LINE"));
    EXPECT_FALSE(object<tcGuiCheckBox>("ONLINE")->checked());
}

TEST_F(LinkStateOnSurface, EditsMadeOffLineAreSentOnReconnectWhenTheUserSaysSo)
{
    const uint32_t start = liveGain();
    stopSimulator();
    turnGain(1);
    const uint32_t mine = turnGain(1); // one parameter, the last value counts
    ASSERT_NE(mine, start);
    messages.answer(MsgYes);
    startSimulator();
    ASSERT_TRUE(waitFor([&] { return !messages.empty(); }));
    const RecordedMessage &asked = messages.last();
    EXPECT_EQ(asked.title, QStringLiteral("Offline changes"));
    EXPECT_TRUE(asked.text.startsWith(QStringLiteral("1 setting was changed while offline")))
        << asked.text.toStdString();
    EXPECT_EQ(asked.yesText, QStringLiteral("Send my changes"));
    EXPECT_EQ(asked.noText, QStringLiteral("Keep the processor's"));
    EXPECT_TRUE(simStoredGain(mine));
    ASSERT_TRUE(waitFor([&] { return gainKnob()->value() == int(mine); }));
    quiet();
    EXPECT_EQ(liveGain(), mine);
    EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(LinkStateOnSurface, EditsMadeOffLineAreGivenUpForTheProcessorsValuesWhenTheUserSaysSo)
{
    const uint32_t start = liveGain();
    stopSimulator();
    const uint32_t mine = turnGain(1);
    ASSERT_NE(mine, start);
    messages.answer(MsgNo);
    startSimulator();
    ASSERT_TRUE(waitFor([&] { return !messages.empty(); }));
    EXPECT_EQ(messages.last().title, QStringLiteral("Offline changes"));
    ASSERT_TRUE(waitFor([&] { return gainKnob()->value() == int(start); }));
    quiet();
    EXPECT_EQ(liveGain(), start);
    EXPECT_EQ(sim->framesIn("MSG_VALUES"), 0);
    EXPECT_FALSE(sim->output().contains(QStringLiteral("live %1 = %2").arg(kGain).arg(mine)));
}

TEST_F(LinkStateOnSurface, CtrlZUndoesTheUsersEditAndCtrlShiftZDoesItAgain)
{
    const uint32_t start = liveGain();
    turnGain(1);
    const uint32_t mine = turnGain(1); // one gesture: one step
    ASSERT_TRUE(simStoredGain(mine));
    QMenu *edit = editMenu();
    ASSERT_NE(edit, nullptr);
    emit edit->aboutToShow();
    EXPECT_EQ(edit->actions().at(0)->text(), QStringLiteral("Undo Input Line Gain"));
    EXPECT_TRUE(edit->actions().at(0)->isEnabled());

    keys(Qt::ControlModifier);
    ASSERT_TRUE(waitFor([&] { return gainKnob()->value() == int(start); }));
    EXPECT_TRUE(simStoredGain(start));
    EXPECT_EQ(liveGain(), start);
    emit edit->aboutToShow();
    EXPECT_FALSE(edit->actions().at(0)->isEnabled());
    EXPECT_EQ(edit->actions().at(1)->text(), QStringLiteral("Redo Input Line Gain"));

    keys(Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(waitFor([&] { return gainKnob()->value() == int(mine); }));
    EXPECT_EQ(liveGain(), mine);
    quiet();
    ASSERT_TRUE(simStoredGain(mine));

    // Locked controls refuse it with a word, and nothing changes.
    window->kelBench()->setLock(true);
    keys(Qt::ControlModifier);
    EXPECT_EQ(window->notice()->text(), QStringLiteral("Undo: the controls are locked"));
    quiet();
    EXPECT_EQ(liveGain(), mine);
    window->kelBench()->setLock(false);

    // Off line the undo is refused with a word, and nothing changes.
    stopSimulator();
    keys(Qt::ControlModifier);
    EXPECT_TRUE(window->notice()->isVisible());
    EXPECT_EQ(window->notice()->text(), QStringLiteral("Undo: the processor is not on line"));
    EXPECT_EQ(liveGain(), mine);
}

TEST_F(LinkStateOnSurface, SavingIntoASlotShowsTheNewPresetNameAtOnce)
{
    // Not an installation parameter: it counts against the preset.
    SETTINGS_MAP &live = window->session().live();
    live.setIndex(1032, live.getRaw(1032) == live.getRawMax(1032) ? 0 : live.getRaw(1032) + 1, CHANGE_USER);
    ASSERT_TRUE(waitFor([&] { return window->presetLook() == StatusLook::Modified; }));
    EXPECT_EQ(object<tcGuiDisplay>("STAT_PRESET")->state(), tcGuiDisplay::kNote);
    ASSERT_TRUE(window->presetTransfer().saveToSlot(20, QStringLiteral("Drive Time")).ok());
    ASSERT_TRUE(waitFor([&] { return window->presetText() == QStringLiteral("Drive Time"); }));
    EXPECT_EQ(window->presetLook(), StatusLook::Normal);
    EXPECT_EQ(object<tcGuiDisplay>("STAT_PRESET")->state(), tcGuiDisplay::kNormal);
}

} // namespace
