// The loader with the GUI vocabulary: object elements, their children and attributes.
#include "gui/gui_apgraph.h"
#include "gui/gui_button.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_image.h"
#include "gui/gui_knob.h"
#include "gui/gui_radiogroup.h"
#include "gui/gui_radioitem.h"
#include "gui/gui_slider.h"
#include "gui/gui_test_util.h"

#include <gtest/gtest.h>

using namespace orba::test;

namespace {
using SkinObjectsTest = GuiTest;

// Where an object stands and its size, as the loader set them.
QRect placed(const tcGuiObject *o)
{
    return QRect(o->x(), o->y(), o->width(), o->height());
}
} // namespace

TEST_F(SkinObjectsTest, SecondElementWithTheSameIdChangesTheFirstObject)
{
    png("b.png", 30, 20, 12, {Qt::red});
    ASSERT_EQ(load("<image id=\"BIMG\" file=\"b.png\" sections=\"12\"/>\n"
                   "<button id=\"B\"><position x=\"5\" y=\"6\"/><bitmap image=\"BIMG\"/></button>\n"
                   "<button id=\"B\"><position x=\"50\"/><mode autorepeat=\"1\"/></button>\n"),
              0);
    int buttons = 0;
    for (tcBenchObject *o : bench().objects())
        buttons += o->typeCode() == kGuiButton ? 1 : 0;
    EXPECT_EQ(buttons, 1);
    auto *b = object<tcGuiButton>("B");
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->modeFlag()) << "mode switches auto-repeat on";
    EXPECT_EQ(b->picture(), object<tcGuiImage>("BIMG")) << "and leaves the picture alone";
    EXPECT_EQ(placed(b), QRect(50, 6, 30, 20));
    EXPECT_EQ(b->area(), QRect(50, 6, 30, 20));
}

TEST_F(SkinObjectsTest, ImagesMayBeUsedBeforeTheyAreDefined)
{
    png("k.png", 16, 16, 26, {Qt::green});
    ASSERT_EQ(load("<knob id=\"K\" type=\"RING_DOT\"><bitmap image=\"LATER\"/></knob>\n"
                   "<image id=\"LATER\" file=\"k.png\" sections=\"26\"/>\n"),
              0);
    auto *k = object<tcGuiKnob>("K");
    auto *img = object<tcGuiImage>("LATER");
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(k->picture(), img);
    EXPECT_TRUE(img->hasPixmap());
    EXPECT_EQ(img->sectionCount(), 26);
    EXPECT_EQ(k->width(), 16);
    EXPECT_EQ(k->ringStyle(), tcGuiKnob::kRingDot);
    EXPECT_EQ(img->serial(), 10002) << "the reference created the image";
    EXPECT_EQ(k->serial(), 10001);
}

TEST_F(SkinObjectsTest, IdOfAnotherClassIsReportedAndLeftAlone)
{
    ASSERT_EQ(load("<button id=\"X\"><position x=\"5\"/></button>\n"
                   "<knob id=\"X\"><position x=\"99\"/></knob>\n"
                   "<slider id=\"S\"><bitmap rail=\"X\"/></slider>\n"),
              0);
    EXPECT_EQ(object<tcGuiObject>("X")->typeCode(), kGuiButton);
    EXPECT_EQ(object<tcGuiObject>("X")->x(), 5);
    EXPECT_TRUE(
        hasMessage(QStringLiteral("ERROR: Object \"knob\" on line 4 of the skin file uses the id \"X\"")));
    EXPECT_TRUE(hasMessage(QStringLiteral("ERROR: Image \"X\" on line 5")));
    EXPECT_EQ(object<tcGuiSlider>("S")->rail(), nullptr);
    // A lookup by class finds only that class.
    EXPECT_NE(tcGuiObject::find(&bench(), NameString("X"), kGuiButton), nullptr);
    EXPECT_EQ(tcGuiObject::find(&bench(), NameString("X"), kGuiKnob), nullptr);
    EXPECT_EQ(tcGuiObject::find(&bench(), NameString("nothing")), nullptr);
}

TEST_F(SkinObjectsTest, ComboModeAttributes)
{
    ASSERT_EQ(load("<combo id=\"C\" type=\"ROLL\"><mode units=\"dB\" dlgregexp=\"[0-9]+\" dclickable=\"1\" "
                   "reverse=\"1\" autoroll=\"1\" editable=\"0\"/>"
                   "<color bg_select=\"123456\" bg_rail=\"abcdef\"/><text dfont=\"VORUD_MONOFONT\"/></combo>"
                   "<combo id=\"D\"><mode type=\"NONSENSE\"/></combo>"),
              0);
    auto *c = object<tcGuiCombo>("C");
    EXPECT_EQ(c->type(), tcGuiCombo::kRoll);
    EXPECT_EQ(c->units(), QStringLiteral("dB"));
    EXPECT_EQ(c->pattern(), QStringLiteral("[0-9]+"));
    EXPECT_TRUE(c->acceptsDoubleClick());
    EXPECT_TRUE(c->modeFlag());
    EXPECT_EQ(c->colours().bgSelect, 0xFF123456u);
    EXPECT_EQ(c->colours().bgRail, 0xFFABCDEFu);
    EXPECT_EQ(c->colours().fg, 0xFFC0C0C0u);
    EXPECT_EQ(c->textY(), -12) << "the caption stands above the box";
    EXPECT_EQ(object<tcGuiCombo>("D")->type(), tcGuiCombo::kUser) << "unknown keywords leave the type";
}

// Colours and the marquee show in the display tests' pixels; these attributes show nowhere else.
TEST_F(SkinObjectsTest, DisplayModesAndFont)
{
    ASSERT_EQ(load("<display id=\"D\"><mode editable=\"0\" units=\"Hz\"/></display><display id=\"E\"/>"), 0);
    auto *d = object<tcGuiDisplay>("D");
    EXPECT_TRUE(d->editable()) << "present means editable";
    EXPECT_EQ(d->units(), QStringLiteral("Hz"));
    EXPECT_EQ(d->fontRecord(), bench().findFont("VORUD_MONOFONT"));
    EXPECT_FALSE(object<tcGuiDisplay>("E")->acceptsDoubleClick());
}

TEST_F(SkinObjectsTest, RadioItemsBelongToTheirGroup)
{
    ASSERT_EQ(load("<radiogroup id=\"G\"><position x=\"10\" y=\"20\"/>"
                   "<radioitem id=\"A\" value=\"One\"/><radioitem id=\"B\" x=\"40\" y=\"2\" tx=\"3\"/>"
                   "<radioitem value=\"no id\"/></radiogroup>"),
              0);
    auto *g = object<tcGuiRadioGroup>("G");
    ASSERT_EQ(g->items().size(), 2u);
    auto *a = object<tcGuiRadioItem>("A");
    auto *b = object<tcGuiRadioItem>("B");
    EXPECT_EQ(a->parentGroup(), g);
    EXPECT_EQ(a->parentType(), kGuiRadioGroup);
    // Without pictures the pitch and indent are 14.
    EXPECT_EQ(placed(a).topLeft(), QPoint(24, 34));
    EXPECT_EQ(placed(b).topLeft(), QPoint(50, 22));
    EXPECT_EQ(b->textX(), 3);
    EXPECT_TRUE(a->selected()) << "the first item is chosen after loading";
    EXPECT_EQ(g->selectedId(), NameString("A"));
    EXPECT_TRUE(hasMessage(QStringLiteral("ERROR: Object \"radioitem\" with no id attribute")));
}

// The meter's attributes, and the graph's first layout and colours, show in their own tests' pixels.
TEST_F(SkinObjectsTest, GraphLayoutsComeFromTheirPositionElements)
{
    ASSERT_EQ(load("<ap_graph id=\"G\"><position1 x=\"10\" y=\"20\" w=\"300\" h=\"200\"/>"
                   "<position3 x=\"0\" y=\"0\" w=\"600\" h=\"400\"/></ap_graph>"),
              0);
    auto *g = object<tcGuiApGraph>("G");
    EXPECT_EQ(g->layoutRect(0), QRect(10, 20, 300, 200));
    EXPECT_EQ(g->layoutRect(2), QRect(0, 0, 600, 400));
    EXPECT_EQ(g->area(), QRect(10, 20, 300, 200));
    EXPECT_EQ(g->layout(), 0);
}

TEST_F(SkinObjectsTest, IncludedFileContinuesAnObjectElement)
{
    writeText(skinPath(QStringLiteral("pos.xml")), "<position x=\"77\" y=\"88\"/>");
    const QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE skin [<!ENTITY pos SYSTEM \"pos.xml\">]>\n"
                           "<skin><lamp id=\"L\">&pos;</lamp></skin>\n";
    ASSERT_EQ(loadSkin(xml, true, &guiSkinVocabulary()), 0);
    EXPECT_EQ(placed(object<tcGuiObject>("L")).topLeft(), QPoint(77, 88));
}
