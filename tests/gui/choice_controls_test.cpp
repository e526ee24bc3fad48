// Buttons, check boxes, radio groups, combos with their drop list, and list boxes.
#include "gui/combo_popup.h"
#include "gui/gui_button.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_listbox.h"
#include "gui/gui_radiogroup.h"
#include "gui/gui_radioitem.h"
#include "gui/gui_test_util.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

class ChoiceTest : public GuiTest
{
protected:
    tcGuiButton *loadButton(bool autorepeat)
    {
        indexedPng(QStringLiteral("b.png"), 40, 20, 12);
        EXPECT_EQ(
            load("<image id=\"BI\" file=\"b.png\" sections=\"12\"/>"
                 "<button id=\"B\"><position x=\"10\" y=\"10\"/><bitmap image=\"BI\"/><mode autorepeat=\"" +
                 QByteArray(autorepeat ? "1" : "0") + "\"/></button>"),
            0);
        auto *b = object<tcGuiButton>("B");
        b->setControlId(4);
        b->setCallbacks(&onNotify, &onPress);
        showAll();
        return b;
    }
    // A multiple-choice list of ten rows, not all shown, row `selected` chosen.
    tcGuiListbox *loadTenRows(int selected)
    {
        EXPECT_EQ(
            load("<listbox id=\"L\" type=\"MULTI\"><position x=\"0\" y=\"0\" w=\"100\" h=\"30\"/></listbox>"),
            0);
        auto *l = object<tcGuiListbox>("L");
        l->setCallbacks(&onInt, &onToggle);
        std::vector<tcGuiListbox::Item> items;
        for (int i = 0; i < 10; ++i)
            items.push_back({QStringLiteral("row %1").arg(i), i == selected});
        l->setItems(items);
        showAll();
        return l;
    }
};

} // namespace

TEST_F(ChoiceTest, ButtonDraggedOutReportsPressStatesAndNoClickAndLampStatesPickTheirFrames)
{
    tcGuiButton *b = loadButton(false);
    ASSERT_EQ(bench().leftPress(15, 15), 0);
    EXPECT_EQ(sectionOfPixel(grab().pixel(15, 15)), 2) << "pressed frame";
    bench().move(100, 100, 0);
    bench().move(16, 16, 0);
    bench().move(100, 100, 0);
    bench().release(100, 100);
    EXPECT_EQ(calls, (QStringList{"press 4 0", "press 4 2", "press 4 3", "press 4 2", "press 4 1"}));
    calls.clear();
    bench().leftPress(15, 15);
    bench().release(16, 16);
    EXPECT_EQ(calls, (QStringList{"press 4 0", "press 4 1", "notify 4"}));
    calls.clear();
    bench().leftPress(15, 15);
    bench().release(200, 200); // no move arrived in between
    EXPECT_EQ(calls, (QStringList{"press 4 0", "press 4 1"}));
    EXPECT_FALSE(b->pressed());
    // Lamp states pick their frames.
    b->setLampState(2);
    EXPECT_EQ(sectionOfPixel(grab().pixel(15, 15)), 6);
    b->hover(15, 15, 0);
    EXPECT_EQ(sectionOfPixel(grab().pixel(15, 15)), 7);
    b->setLampState(3);
    bench().leftPress(15, 15);
    EXPECT_EQ(b->section(), 11);
}

TEST_F(ChoiceTest, AutoRepeatClicksAfterTenTicksThenEverySecond)
{
    tcGuiButton *b = loadButton(true);
    ASSERT_TRUE(b->leftPress(15, 15));
    for (int tick = 1; tick <= 15; ++tick)
        b->tick();
    b->release(15, 15);
    EXPECT_EQ(calls.count(QStringLiteral("notify 4")), 3) << "ticks 11, 13, 15 and not on release";
    calls.clear();
    ASSERT_TRUE(b->leftPress(15, 15));
    for (int tick = 1; tick <= 5; ++tick)
        EXPECT_TRUE(bench().tick()) << "held: the host keeps ticking";
    EXPECT_TRUE(calls.filter(QStringLiteral("notify")).isEmpty());
    b->release(15, 15);
    EXPECT_EQ(calls.count(QStringLiteral("notify 4")), 1) << "one click, on release";
    EXPECT_FALSE(bench().tick()) << "nothing held: the host's timer may stop";
}

TEST_F(ChoiceTest, CheckBoxTogglesOnlyOnAReleaseInside)
{
    indexedPng(QStringLiteral("c.png"), 20, 20, 6);
    ASSERT_EQ(load("<checkbox id=\"C\"><position x=\"10\" y=\"10\"/><bitmap image=\"CI\"/></checkbox>"
                   "<image id=\"CI\" file=\"c.png\" sections=\"6\"/>"),
              0);
    auto *c = object<tcGuiCheckBox>("C");
    c->setCallback(&onBool);
    c->setControlId(5);
    showAll();
    bench().leftPress(15, 15);
    bench().move(100, 100, 0);
    bench().release(100, 100);
    EXPECT_FALSE(c->checked());
    bench().leftPress(15, 15);
    bench().release(100, 100);
    EXPECT_FALSE(c->checked());
    EXPECT_TRUE(calls.isEmpty());
    bench().leftPress(15, 15);
    bench().release(15, 15);
    EXPECT_TRUE(c->checked());
    EXPECT_EQ(calls, QStringList{"bool 5 1"});
    EXPECT_EQ(sectionOfPixel(grab().pixel(15, 15)), 3);
    c->hover(15, 15, 0);
    EXPECT_EQ(sectionOfPixel(grab().pixel(15, 15)), 4);
    c->setChecked(false);
    EXPECT_EQ(calls.size(), 1);
}

TEST_F(ChoiceTest, RadioGroupSelectsFirstAndReportsNewChoicesOnly)
{
    indexedPng(QStringLiteral("r.png"), 10, 10, 6);
    ASSERT_EQ(load("<image id=\"RI\" file=\"r.png\" sections=\"6\"/>"
                   "<radiogroup id=\"G\"><position x=\"0\" y=\"0\"/><bitmap item=\"RI\"/>"
                   "<radioitem id=\"A\"/><radioitem id=\"B\"/><radioitem id=\"C\"/></radiogroup>"),
              0);
    auto *g = object<tcGuiRadioGroup>("G");
    g->setCallback(&onInt);
    g->setControlId(11);
    auto *a = object<tcGuiRadioItem>("A");
    auto *b = object<tcGuiRadioItem>("B");
    b->setControlId(22);
    showAll();
    EXPECT_TRUE(a->selected());
    EXPECT_TRUE(calls.isEmpty()) << "no callback for the loader's choice";
    // Pitch 10: items at y 10, 25, 40; indent 10.
    EXPECT_EQ(a->area(), QRect(10, 10, 10, 10));
    EXPECT_EQ(b->area(), QRect(10, 25, 10, 10));
    bench().leftPress(12, 12);
    bench().release(12, 12);
    EXPECT_TRUE(calls.isEmpty()) << "the selected item again";
    bench().leftPress(12, 27);
    bench().release(12, 27);
    EXPECT_EQ(calls, QStringList{"int 11 22"});
    EXPECT_TRUE(b->selected());
    EXPECT_FALSE(a->selected());
    EXPECT_EQ(sectionOfPixel(grab().pixel(12, 27)), 3);
    g->select(a);
    EXPECT_TRUE(a->selected());
    EXPECT_EQ(calls.size(), 1);
    EXPECT_EQ(g->item(NameString("C")), object<tcGuiRadioItem>("C"));
}

TEST_F(ChoiceTest, RollComboStepsWithinItsItems)
{
    indexedPng(QStringLiteral("arrow.png"), 12, 20, 5);
    ASSERT_EQ(load("<image id=\"AI\" file=\"arrow.png\" sections=\"5\"/>"
                   "<combo id=\"C\" type=\"ROLL\"><position x=\"0\" y=\"50\" w=\"80\"/><bitmap "
                   "image=\"AI\"/></combo>"),
              0);
    auto *c = object<tcGuiCombo>("C");
    c->setCallbacks(&onInt, &onText, &onNotify);
    c->setControlId(9);
    c->setItems({"a", "b", "c"});
    showAll();
    EXPECT_EQ(c->zoneWidth(), 12);
    c->setIndex(2, false);
    EXPECT_EQ(bench().leftPress(10, 55), 1) << "outside the arrow zones: not captured";
    ASSERT_EQ(bench().leftPress(75, 65), 0); // lower zone
    EXPECT_EQ(c->arrowSection(), 4);
    bench().release(75, 65);
    EXPECT_EQ(c->index(), 2);
    EXPECT_TRUE(calls.isEmpty()) << "at the last item nothing is reported";
    bench().leftPress(75, 52);
    bench().release(75, 52);
    EXPECT_EQ(calls, QStringList{"int 9 1"});
    c->setReverse(true);
    bench().leftPress(75, 65);
    bench().release(75, 65);
    EXPECT_EQ(c->index(), 0) << "reversed: the lower zone steps back";
    c->setIndex(99, true);
    EXPECT_EQ(c->index(), 2);
    EXPECT_EQ(calls.last(), QStringLiteral("int 9 2"));
}

TEST_F(ChoiceTest, UserComboReportsStepsAndAutoRollAccelerates)
{
    ASSERT_EQ(load("<combo id=\"C\"><position x=\"0\" y=\"0\" w=\"80\"/><mode autoroll=\"1\"/></combo>"), 0);
    auto *c = object<tcGuiCombo>("C");
    c->setCallbacks(&onInt, &onText, &onNotify);
    showAll();
    EXPECT_EQ(c->type(), tcGuiCombo::kUser);
    EXPECT_EQ(c->zoneWidth(), 0);
    c->hover(0, 0, 0);
    // Without a picture the zone is the right edge itself.
    ASSERT_TRUE(c->leftPress(80, 2));
    c->release(80, 2);
    ASSERT_TRUE(c->leftPress(80, 15));
    c->release(80, 15);
    EXPECT_EQ(calls, (QStringList{"int -1 -1", "int -1 1"}));
    calls.clear();
    ASSERT_TRUE(c->leftPress(80, 15));
    for (int i = 1; i <= 26; ++i)
        c->tick();
    c->release(80, 15);
    QStringList expected;
    for (int i = 5; i <= 26; ++i)
        expected << QStringLiteral("int -1 %1").arg(i < 15 ? 1 : (i < 25 ? 5 : 10));
    EXPECT_EQ(calls, expected) << "no extra step on release once auto-roll took over";
}

TEST_F(ChoiceTest, DropComboOpensAListThatSetsTheIndex)
{
    ASSERT_EQ(
        load(
            "<combo id=\"C\" type=\"DROP\"><position x=\"10\" y=\"20\" w=\"80\"/><drop rows=\"3\"/></combo>"),
        0);
    auto *c = object<tcGuiCombo>("C");
    c->setCallbacks(&onInt, &onText, &onNotify);
    c->setItems({"zero", "one", "two", "three", "four"});
    showAll();
    showHost();
    ASSERT_TRUE(c->leftPress(90, 25));
    c->release(90, 25);
    tcComboPopup *popup = c->popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->rows(), 3);
    EXPECT_EQ(popup->rowHeight(), 20);
    EXPECT_TRUE(popup->scrollShown());
    EXPECT_EQ(popup->pos(), host().mapToGlobal(QPoint(10, 40)));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 45), QPointF(popup->mapToGlobal(QPoint(5, 45))),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &move);
    EXPECT_EQ(popup->hoveredRow(), 2);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 45), QPointF(popup->mapToGlobal(QPoint(5, 45))),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &press);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(c->index(), 2);
    EXPECT_EQ(calls, QStringList{"int -1 2"});
}

TEST_F(ChoiceTest, SingleListBoxSelectsOnDoubleClick)
{
    ASSERT_EQ(load("<listbox id=\"L\" type=\"SINGLE\"><position x=\"0\" y=\"0\" w=\"100\" h=\"60\"/>"
                   "<mode sclickable=\"0\"/></listbox>"),
              0);
    auto *l = object<tcGuiListbox>("L");
    l->setCallbacks(&onInt, &onToggle);
    l->setControlId(10);
    l->setItems({{"a"}, {"b"}, {"c"}});
    showAll();
    const int row = l->rowHeight();
    EXPECT_EQ(bench().leftPress(5, 2 * row + 2), 1) << "single clicks do nothing";
    EXPECT_TRUE(bench().doubleClick(5, 2 * row + 2));
    EXPECT_EQ(l->currentIndex(), 2);
    EXPECT_EQ(calls, QStringList{"int 10 2"});
    bench().doubleClick(5, 2 * row + 2);
    EXPECT_EQ(calls.size(), 1) << "the current row again: no report";
    l->select(2, false, true);
    EXPECT_EQ(l->currentIndex(), -1);
    l->select(7, true, true);
    EXPECT_EQ(l->currentIndex(), -1);
}

TEST_F(ChoiceTest, MultiListBoxTogglesAndScrolls)
{
    tcGuiListbox *l = loadTenRows(3);
    EXPECT_EQ(l->currentIndex(), 3);
    const int row = l->rowHeight();
    const int rows = l->rowsVisible();
    ASSERT_LT(rows, 10);
    EXPECT_TRUE(l->scrollShown());
    // A single click acts (sclickable defaults on) and toggles.
    ASSERT_EQ(bench().leftPress(5, 2), 0);
    bench().release(5, 2);
    EXPECT_EQ(calls, QStringList{"toggle -1 0 1"});
    EXPECT_EQ(l->selectedItems(), (std::vector<int>{0, 3}));
    l->hover(5, 2, 0);
    l->doubleClick(5, 2);
    EXPECT_EQ(calls.last(), QStringLiteral("toggle -1 0 0"));
    l->select(3, true, true);
    EXPECT_EQ(calls.size(), 2) << "already selected: nothing";
    // Drag the scroll rail to its end.
    ASSERT_EQ(bench().leftPress(99, 1), 0);
    EXPECT_TRUE(l->scrollDragging());
    bench().move(99, 1 + 1000, 0);
    EXPECT_EQ(l->firstRow(), 10 - rows);
    bench().release(99, 500);
    EXPECT_FALSE(l->scrollDragging());
    l->hover(5, row / 2, 0);
    EXPECT_EQ(l->hoveredRow(), 10 - rows);
}

TEST_F(ChoiceTest, ADisabledOrLockedListBoxIgnoresPresses)
{
    tcGuiListbox *l = loadTenRows(-1);
    l->setControlId(10);
    ASSERT_TRUE(l->scrollShown());
    auto pressEverywhere = [&] {
        EXPECT_NE(bench().leftPress(5, 2), 0);
        bench().release(5, 2);
        EXPECT_NE(bench().leftPress(99, 1), 0) << "the scroll rail";
        EXPECT_FALSE(l->scrollDragging());
        bench().move(99, 1000, 0);
        bench().release(99, 1000);
        EXPECT_EQ(l->firstRow(), 0);
        EXPECT_TRUE(l->selectedItems().empty());
        EXPECT_TRUE(calls.isEmpty());
    };
    l->setDisabledState(tcGuiObject::kDisabledLook);
    pressEverywhere();
    l->setDisabledState(0);
    bench().setAccessLevel(10, 1);
    pressEverywhere();
    bench().setAccessLevel(10, 0);
    ASSERT_EQ(bench().leftPress(5, 2), 0);
    bench().release(5, 2);
    EXPECT_EQ(calls, QStringList{"toggle 10 0 1"});
}
