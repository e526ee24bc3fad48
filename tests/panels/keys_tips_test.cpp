// The surface from the keyboard (the focus, keys on the wheel's and arrows' road) and its tooltips.
#include "gui/dialog_run.h"
#include "gui/display_edit_dlg.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_knob.h"
#include "panel_fixture.h"
#include "panels/access_classes.h"
#include "panels/binding_table.h"
#include "tables/setting_ids.h"
#include "tables/settings_table.h"

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <set>

using namespace orba::test;
using orba::panels::Binding;

namespace {

class KeysAndTips : public LoadedPanelTest
{
protected:
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&host(), Qt::Key(k), modifiers);
    }
    // The tooltip at an object's centre, through the host's coordinates.
    QString tipAt(const tcGuiObject *o)
    {
        const QPoint c = o->area().center();
        return bench().toolTipAt(bench().toWidgetX(c.x()), bench().toWidgetY(c.y()));
    }
    tcGuiKnob *gainKnob() { return object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB"); }
    void showInput()
    {
        bench().setScreen(tcKelBench::kInputScreen);
        live.setIndex(SettingId::InputLineGain, rawAt(SettingId::InputLineGain, 20), CHANGE_PROCESSOR);
        refreshMarked();
        takeSent();
    }
};

TEST_F(KeysAndTips, EveryBoundControlOfEveryScreenHasATooltipWhereItIsShown)
{
    const std::set<int> controls{kGuiButton, kGuiCheckBox,  kGuiDisplay, kGuiKnob,    kGuiSlider,
                                 kGuiCombo,  kGuiRadioItem, kGuiMeter,   kGuiApGraph, kGuiDynGraph};
    int checked = 0;
    for (const int screen : {tcKelBench::kSystemScreen, tcKelBench::kCompressorScreen,
                             tcKelBench::kParametricScreen, tcKelBench::kInputScreen, tcKelBench::kAmHdScreen,
                             tcKelBench::kAmOutScreen, tcKelBench::kAmTxScreen}) {
        bench().setScreen(screen);
        for (const Binding &b : orba::panels::kBindings) {
            if ((b.screen != screen && b.screen != -1) || !controls.count(b.kind))
                continue;
            auto *o = object<tcGuiObject>(b.name);
            if (!o || !o->isVisible())
                continue; // controls the screen hides (the width refresh) say nothing
            SCOPED_TRACE(b.name);
            const QString tip = tipAt(o);
            EXPECT_FALSE(tip.isEmpty());
            if (b.isSetting() && b.route == orba::panels::Route::Show &&
                (b.kind == kGuiKnob || b.kind == kGuiCombo || b.kind == kGuiCheckBox)) {
                // The parameter's name and the value the control shows.
                EXPECT_TRUE(tip.startsWith(QString::fromLatin1(orba::settingName(b.id))))
                    << tip.toStdString();
                EXPECT_TRUE(tip.contains(QString::fromStdString(live.label(b.id)).trimmed()))
                    << tip.toStdString();
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 150);
}

TEST_F(KeysAndTips, TooltipsSpeakForTheValueTheyShowFromTheProcessorAndTheKeysAndHeadingsSayNothing)
{
    showInput();
    tcGuiKnob *knob = gainKnob();
    ASSERT_NE(knob, nullptr);
    const QString before = tipAt(knob);
    EXPECT_EQ(before, QStringLiteral("Input Line Gain: ") +
                          QString::fromStdString(live.label(SettingId::InputLineGain)).trimmed());
    // Its value display says the same.
    EXPECT_EQ(tipAt(object<tcGuiObject>("INPUT_ANA_GAIN_DSPY")), before);

    fromProcessor(SettingId::InputLineGain, rawAt(SettingId::InputLineGain, 30));
    const QString after = tipAt(knob);
    EXPECT_NE(after, before);
    EXPECT_TRUE(after.endsWith(QString::fromStdString(live.label(SettingId::InputLineGain)).trimmed()));

    bench().setFocusedObject(knob);
    key(Qt::Key_Up);
    EXPECT_TRUE(tipAt(knob).endsWith(QString::fromStdString(live.label(SettingId::InputLineGain)).trimmed()));
    EXPECT_NE(tipAt(knob), after);

    // Buttons say what they do.
    EXPECT_TRUE(tipAt(object<tcGuiObject>("SAVE")).contains(QStringLiteral("Ctrl+S")));
    EXPECT_TRUE(tipAt(object<tcGuiObject>("FLOW_PEQ")).startsWith(QStringLiteral("Show the parametric")));

    // A global switch has no label of its own: on or off, as it shows.
    globalFromProcessor(G_INFAILOV, 1);
    EXPECT_EQ(tipAt(object<tcGuiObject>("INPUT_FAILOVER")), QStringLiteral("Input Failover: on"));
    globalFromProcessor(G_INFAILOV, 0);
    EXPECT_EQ(tipAt(object<tcGuiObject>("INPUT_FAILOVER")), QStringLiteral("Input Failover: off"));
    // A radio item speaks for its group.
    EXPECT_EQ(tipAt(object<tcGuiObject>("INPUT_SRC_AES")), tipAt(object<tcGuiObject>("INPUT_SRC_LINE")));
    EXPECT_TRUE(tipAt(object<tcGuiObject>("INPUT_SRC_AES")).startsWith(QStringLiteral("Input Source: ")));
    // Headings only repeat themselves.
    EXPECT_TRUE(tipAt(object<tcGuiObject>("INPUT_LABEL")).isEmpty());

    // The lamps that mark a choice's entry speak for the choice.
    bench().setScreen(tcKelBench::kAmOutScreen);
    const QString choice = tipAt(object<tcGuiObject>("FMO_AM_EMP"));
    EXPECT_TRUE(choice.startsWith(QString::fromLatin1(orba::settingName(SettingId::AmEmphasis)) +
                                  QStringLiteral(": ")));
    EXPECT_EQ(tipAt(object<tcGuiObject>("FMO_PREEMP_75")), choice);
}

TEST_F(KeysAndTips, TheWindowShowsTheTooltipOfTheControlUnderThePointer)
{
    showInput();
    showHost();
    const QPoint c = gainKnob()->area().center();
    const QPoint at(bench().toWidgetX(c.x()), bench().toWidgetY(c.y()));
    QHelpEvent over(QEvent::ToolTip, at, host().mapToGlobal(at));
    QApplication::sendEvent(&host(), &over);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), tipAt(gainKnob()));

    // Over the background there is nothing to say, and the last tip goes.
    const QPoint empty(1, bench().toWidgetY(c.y()));
    ASSERT_TRUE(bench().toolTipAt(empty.x(), empty.y()).isEmpty());
    QHelpEvent nowhere(QEvent::ToolTip, empty, host().mapToGlobal(empty));
    QApplication::sendEvent(&host(), &nowhere);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000)); // hidden after a pause
}

TEST_F(KeysAndTips, TabWalksTheShownControlsInReadingOrderBothWaysAndWraps)
{
    showInput();
    const std::vector<tcBenchObject *> order = bench().focusOrder();
    ASSERT_GE(order.size(), 5u);
    // Every shown knob, choice, button and switch takes part, and nothing hidden does.
    std::set<tcBenchObject *> expected;
    const std::set<int> kinds{kGuiKnob, kGuiSlider, kGuiCombo, kGuiButton, kGuiCheckBox, kGuiRadioItem};
    for (tcBenchObject *o : bench().objects()) {
        auto *g = static_cast<tcGuiObject *>(o);
        if (g->isVisible() && kinds.count(g->typeCode()))
            expected.insert(o);
    }
    EXPECT_EQ(std::set<tcBenchObject *>(order.begin(), order.end()), expected);
    EXPECT_TRUE(expected.count(gainKnob()));
    // Rows run down the window, each from left to right: going left means a new row further down.
    for (size_t i = 1; i < order.size(); ++i) {
        const QRect a = order[i - 1]->area(), b = order[i]->area();
        if (b.left() < a.left())
            EXPECT_GT(b.center().y(), a.center().y()) << i;
        else
            EXPECT_GE(b.center().y(), a.center().y() - 12) << i;
    }

    EXPECT_EQ(bench().focusedObject(), nullptr);
    for (tcBenchObject *o : order) {
        key(Qt::Key_Tab);
        EXPECT_EQ(bench().focusedObject(), o);
    }
    key(Qt::Key_Tab);
    EXPECT_EQ(bench().focusedObject(), order.front());
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(bench().focusedObject(), order.back());
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(bench().focusedObject(), order[order.size() - 2]);

    // Another screen hides the focused control: the focus goes, and Tab starts on the new screen.
    bench().setFocusedObject(gainKnob());
    bench().setScreen(tcKelBench::kParametricScreen);
    EXPECT_EQ(bench().focusedObject(), nullptr);
    key(Qt::Key_Tab);
    ASSERT_NE(bench().focusedObject(), nullptr);
    EXPECT_TRUE(static_cast<tcGuiObject *>(bench().focusedObject())->isVisible());
    key(Qt::Key_Escape);
    EXPECT_EQ(bench().focusedObject(), nullptr);
}

TEST_F(KeysAndTips, KeysStepTheFocusedKnobExactlyAsTheWheelDoesAndSendEachStep)
{
    showInput();
    tcGuiKnob *knob = gainKnob();
    const uint16_t id = SettingId::InputLineGain;
    const QPoint c = knob->area().center();
    struct Case
    {
        int key;
        Qt::KeyboardModifiers keyModifiers;
        int wheelStep;
        int wheelModifiers;
    };
    const Case cases[] = {
        {Qt::Key_Up, Qt::NoModifier, 1, 0},
        {Qt::Key_Right, Qt::NoModifier, 1, 0},
        {Qt::Key_Down, Qt::NoModifier, -1, 0},
        {Qt::Key_Left, Qt::NoModifier, -1, 0},
        {Qt::Key_Up, Qt::ShiftModifier, 1, kModShift},
        {Qt::Key_Down, Qt::ShiftModifier, -1, kModShift},
        {Qt::Key_Up, Qt::ControlModifier, 1, kModControl},
        {Qt::Key_PageUp, Qt::NoModifier, 1, kModShift},
        {Qt::Key_PageDown, Qt::NoModifier, -1, kModShift},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(QTest::toString(QKeySequence(k.key | int(k.keyModifiers))));
        const uint32_t start = rawAt(id, 20);
        fromProcessor(id, start);
        bench().wheel(bench().toWidgetX(c.x()), bench().toWidgetY(c.y()), k.wheelStep, k.wheelModifiers);
        const uint32_t byWheel = live.getRaw(id);
        ASSERT_NE(byWheel, start);
        takeSent();

        fromProcessor(id, start);
        bench().setFocusedObject(knob);
        key(k.key, k.keyModifiers);
        EXPECT_EQ(live.getRaw(id), byWheel);
        EXPECT_EQ(knob->value(), int(byWheel));
        EXPECT_EQ(takeSent(), std::vector<uint16_t>{id});
    }
    // No focus, no step.
    bench().setFocusedObject(nullptr);
    const uint32_t now = live.getRaw(id);
    key(Qt::Key_Up);
    EXPECT_EQ(live.getRaw(id), now);
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(KeysAndTips, SpaceAndEnterClickTheFocusedSwitchOrButtonAsTheMouseDoes)
{
    showInput();
    // A switch: toggled and sent.
    auto *stereo = object<tcGuiObject>("INPUT_HPF_STEREO");
    const bool was = live.getBool(SettingId::InputHpfStereo);
    bench().setFocusedObject(stereo);
    ASSERT_EQ(bench().focusedObject(), stereo);
    key(Qt::Key_Space);
    EXPECT_EQ(live.getBool(SettingId::InputHpfStereo), !was);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::InputHpfStereo});
    key(Qt::Key_Return);
    EXPECT_EQ(live.getBool(SettingId::InputHpfStereo), was);

    // A radio item chooses its value.
    auto *aes = object<tcGuiObject>("INPUT_SRC_AES");
    live.setInt(SettingId::InputSource, 0, CHANGE_PROCESSOR);
    refreshMarked();
    bench().setFocusedObject(aes);
    key(Qt::Key_Enter);
    EXPECT_EQ(live.getRaw(SettingId::InputSource), 1u);

    // A flow button shows its screen; the focus stays on it.
    auto *peq = object<tcGuiObject>("FLOW_PEQ");
    bench().setFocusedObject(peq);
    key(Qt::Key_Space);
    EXPECT_EQ(bench().screen(), int(tcKelBench::kParametricScreen));
    EXPECT_EQ(bench().focusedObject(), peq);
    EXPECT_FALSE(stereo->isVisible());
}

TEST_F(KeysAndTips, EnterOnAKnobTypesItsValueAsADoubleClickOnItsDisplayDoes)
{
    showInput();
    const uint16_t id = SettingId::InputLineGain;
    int asked = 0;
    const orba::DialogHandler previous = orba::setDialogHandler([&](QDialog *d) {
        auto *editor = qobject_cast<tcDisplayEditDlg *>(d);
        if (!editor)
            return int(QDialog::Rejected);
        ++asked;
        editor->lineEdit()->setText(QStringLiteral("5.0"));
        return int(QDialog::Accepted);
    });
    bench().setFocusedObject(gainKnob());
    key(Qt::Key_Return);
    orba::setDialogHandler(previous);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(live.getRaw(id), live.floatToIndex(id, 5.0f));
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{id});
    EXPECT_EQ(bench().focusedObject(), gainKnob());
}

TEST_F(KeysAndTips, ALockedSurfaceAsksForTheCodeBeforeAKeyStepAsBeforeADrag)
{
    showInput();
    bench().setAccess(0x4711, orba::kRestrictSettings);
    bench().setLock(true);
    bench().setFocusedObject(gainKnob());
    ASSERT_EQ(bench().focusedObject(), gainKnob()); // a locked control keeps the focus
    EXPECT_TRUE(tipAt(gainKnob()).endsWith(QStringLiteral("\nLocked: the access code is asked first.")));
    const uint32_t before = live.getRaw(SettingId::InputLineGain);
    hostSide.codeAnswer = false;
    key(Qt::Key_Up);
    EXPECT_EQ(hostSide.codesAsked, std::vector<uint32_t>{0x4711});
    EXPECT_EQ(live.getRaw(SettingId::InputLineGain), before);
    EXPECT_TRUE(takeSent().empty());

    // The key that unlocks is spent on the unlocking, as a press is; the next one steps.
    hostSide.codeAnswer = true;
    key(Qt::Key_Up);
    EXPECT_FALSE(bench().locked());
    EXPECT_FALSE(tipAt(gainKnob()).contains(QStringLiteral("Locked")));
    EXPECT_EQ(live.getRaw(SettingId::InputLineGain), before);
    key(Qt::Key_Up);
    EXPECT_EQ(live.getRaw(SettingId::InputLineGain), before + 1);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::InputLineGain});
}

TEST_F(KeysAndTips, UpStepsAChoiceToItsNextEntryAsAnArrowDoes)
{
    bench().setScreen(tcKelBench::kCompressorScreen);
    // A stepping choice: up is the next value, as the lower arrow steps it (the arrows are not
    // reversed in the test skin), down the one before.
    auto *combo = object<tcGuiCombo>("COMP_DDRV");
    ASSERT_NE(combo, nullptr);
    const uint16_t id = SettingId::CompDiffDrive;
    const QRect r = combo->area();
    auto arrow = [&](bool upper) {
        // The arrow zone's width is the arrow picture's; the test skin has none, leaving the edge.
        const int x = bench().toWidgetX(r.left() + combo->width() - std::max(combo->zoneWidth() / 2, 0));
        const int y = bench().toWidgetY(upper ? r.top() + 1 : r.bottom() - 1);
        bench().leftPress(x, y);
        bench().release(x, y);
    };
    for (const bool up : {true, false}) {
        SCOPED_TRACE(up ? "up" : "down");
        fromProcessor(id, rawAt(id, 10));
        arrow(!up);
        const uint32_t byArrow = live.getRaw(id);
        ASSERT_NE(byArrow, rawAt(id, 10));
        takeSent();
        fromProcessor(id, rawAt(id, 10));
        bench().setFocusedObject(combo);
        key(up ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(live.getRaw(id), byArrow);
        EXPECT_EQ(live.getRaw(id), up ? rawAt(id, 11) : rawAt(id, 9));
        EXPECT_EQ(takeSent(), std::vector<uint16_t>{id});
        EXPECT_EQ(combo->userText(), QString::fromStdString(live.label(id)).trimmed());
    }
    // Shift and PgUp/PgDn step five entries at once.
    fromProcessor(id, rawAt(id, 10));
    key(Qt::Key_PageDown);
    EXPECT_EQ(live.getRaw(id), rawAt(id, 5));
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(live.getRaw(id), rawAt(id, 10));

    // A drop list: up is the next entry.
    bench().setScreen(tcKelBench::kAmHdScreen);
    auto *source = object<tcGuiCombo>("AMHD_SOURCE");
    ASSERT_NE(source, nullptr);
    fromProcessor(SettingId::HdSource, live.getRawMin(SettingId::HdSource));
    takeSent();
    bench().setFocusedObject(source);
    key(Qt::Key_Up);
    EXPECT_EQ(source->index(), 1);
    EXPECT_EQ(live.getRaw(SettingId::HdSource), live.getRawMin(SettingId::HdSource) + 1);
    EXPECT_EQ(takeSent(), std::vector<uint16_t>{SettingId::HdSource});
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(source->index(), 0) << "held at the first entry";
}

TEST_F(KeysAndTips, TheFocusedControlIsOutlinedAndTheOutlineGoesWithTheFocus)
{
    showInput();
    showHost();
    tcGuiKnob *knob = gainKnob();
    const QRect mark = tcBench::focusRect(knob);
    const QPoint left(bench().toWidgetX(mark.left() + 1), bench().toWidgetY(mark.center().y()));
    const QImage plain = grab();

    bench().setFocusedObject(knob);
    const QImage focused = grab();
    EXPECT_NE(focused.pixel(left), plain.pixel(left));
    const QColor outline = QColor::fromRgb(focused.pixel(left));
    EXPECT_GT(outline.lightness(), QColor::fromRgb(plain.pixel(left)).lightness());

    // Another screen: the knob and its outline are gone from the picture; back on its screen the
    // knob has the focus again.
    bench().setScreen(tcKelBench::kParametricScreen);
    EXPECT_NE(grab().pixel(left), focused.pixel(left));
    bench().setScreen(tcKelBench::kInputScreen);
    EXPECT_EQ(bench().focusedObject(), knob);
    EXPECT_EQ(grab().pixel(left), focused.pixel(left));

    key(Qt::Key_Escape);
    EXPECT_EQ(grab().pixel(left), plain.pixel(left));
}

} // namespace
