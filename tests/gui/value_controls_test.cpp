// Knob and slider: ring masks, film strips, drag and wheel rules, slider geometry, painted pixels.
#include "gui/gui_knob.h"
#include "gui/gui_slider.h"
#include "gui/gui_test_util.h"

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

uint32_t bits(int from, int to)
{
    uint32_t m = 0;
    for (int i = from; i <= to; ++i)
        m |= 1u << i;
    return m;
}

class ValueControlsTest : public GuiTest
{
protected:
    QByteArray knobXml(const char *type)
    {
        indexedPng(QStringLiteral("knob.png"), 20, 20, 26);
        return "<image id=\"KI\" file=\"knob.png\" sections=\"26\"/><knob id=\"K\" type=\"" +
               QByteArray(type) + "\"><position x=\"10\" y=\"40\"/><bitmap image=\"KI\"/></knob>";
    }
    // A vertical slider at (50, 10): a rail 100 high, a thumb 10 high.
    QByteArray sliderXml()
    {
        indexedPng(QStringLiteral("rail.png"), 20, 100, 2);
        indexedPng(QStringLiteral("thumb.png"), 20, 10, 2);
        return "<slider id=\"S\"><position x=\"50\" y=\"10\"/><bitmap rail=\"R\" thumb=\"T\"/></slider>"
               "<image id=\"R\" file=\"rail.png\" sections=\"2\"/><image id=\"T\" file=\"thumb.png\" "
               "sections=\"2\"/>";
    }
    template <class T> T *wired(const char *id, int control)
    {
        auto *o = object<T>(id);
        o->setControlId(control);
        o->setCallback(&onInt);
        return o;
    }
    tcGuiKnob *loadKnob(const char *type = "SIMPLE")
    {
        EXPECT_EQ(load(knobXml(type)), 0);
        auto *k = wired<tcGuiKnob>("K", 7);
        showAll();
        return k;
    }
};

} // namespace

TEST(RingMaskTest, EdgeValuesOfEveryStyle)
{
    using K = tcGuiKnob;
    EXPECT_EQ(K::ringMask(K::kRingDot, 0, 0, 255), 1u << 2);
    EXPECT_EQ(K::ringMask(K::kRingDot, 255, 0, 255), 1u << 22);
    EXPECT_EQ(K::ringMask(K::kRingPan, 127, 0, 254), 1u << 12);
    EXPECT_EQ(K::ringMask(K::kRingPan, 254, 0, 254), bits(12, 22));
    EXPECT_EQ(K::ringMask(K::kRingPan, 0, 0, 254), bits(2, 12));
    EXPECT_EQ(K::ringMask(K::kRingQ, 255, 0, 255), 1u << 12);
    EXPECT_EQ(K::ringMask(K::kRingQ, 0, 0, 255), bits(2, 22));
    EXPECT_EQ(K::ringMask(K::kRingBar, 0, 0, 255), 0u);
    EXPECT_EQ(K::ringMask(K::kRingBar, 255, 0, 255), bits(2, 22));
    EXPECT_EQ(K::ringMask(K::kRingRebar, 0, 0, 255), bits(2, 22));
    EXPECT_EQ(K::ringMask(K::kRingRebar, 255, 0, 255), 0u) << "k + 2 = 23: past the last lamp";
    EXPECT_EQ(K::ringMask(K::kRingRebar, 240, 0, 255), 1u << 22);
    EXPECT_EQ(K::ringMask(K::kRingSpread, 0, 0, 255), 1u << 12);
    EXPECT_EQ(K::ringMask(K::kRingSpread, 255, 0, 255), bits(2, 22));
    EXPECT_EQ(K::ringMask(K::kSimple, 100, 0, 255), 0u);
    EXPECT_EQ(K::ringMask(K::kRingDot, 5, 5, 5), 0u) << "empty range";
    EXPECT_EQ(K::ringMask(K::kRingDot, -1, 0, 255), 0u);
    EXPECT_EQ(K::ringMask(K::kRingDot, 128, 0, 255), 1u << 12);
}

TEST_F(ValueControlsTest, KnobDragRules)
{
    tcGuiKnob *k = loadKnob();
    k->setValue(100);
    ASSERT_TRUE(k->leftPress(15, 45));
    k->drag(18, 46, 0); // right and down
    EXPECT_EQ(k->value(), 100);
    k->drag(21, 45, 0); // (+3, +1)
    EXPECT_EQ(k->value(), 103);
    k->drag(24, 44, kModShift);
    EXPECT_EQ(k->value(), 118);
    k->drag(27, 43, kModControl);
    EXPECT_EQ(k->value(), 119);
    k->drag(26, 40, 0); // left and up
    EXPECT_EQ(k->value(), 119);
    k->drag(26, 45, 0); // straight down: -5
    EXPECT_EQ(k->value(), 114);
    EXPECT_EQ(calls, (QStringList{"int 7 103", "int 7 118", "int 7 119", "int 7 114"}));
    k->release(100, 100);
    EXPECT_FALSE(k->dragging());
    EXPECT_FALSE(k->isHighlighted());
}

TEST_F(ValueControlsTest, KnobWheelProgramValuesAndLocks)
{
    tcGuiKnob *k = loadKnob("RING_BAR");
    k->wheel(1, kModShift);
    EXPECT_EQ(k->value(), 10);
    k->wheel(-3, kModControl);
    EXPECT_EQ(k->value(), 9);
    k->wheel(-100, 0);
    EXPECT_EQ(k->value(), 0);
    EXPECT_EQ(calls.size(), 3);
    calls.clear();
    const int before = bench().invalidateCount();
    k->setValue(0);
    EXPECT_EQ(bench().invalidateCount(), before) << "the same value: no repaint";
    k->setValue(300);
    EXPECT_EQ(k->value(), 255);
    EXPECT_EQ(k->mask(), bits(2, 22));
    EXPECT_TRUE(calls.isEmpty()) << "program values call no callback";
    bench().setAccessLevel(7, 1);
    EXPECT_FALSE(k->leftPress(15, 45));
    k->wheel(-1, 0);
    EXPECT_EQ(k->value(), 255);
    bench().setAccessLevel(7, 0);
    k->setDisabledState(1);
    k->wheel(-1, 0);
    EXPECT_EQ(k->value(), 255);
}

TEST_F(ValueControlsTest, KnobPaintsRingSectionsAndFilmFrames)
{
    tcGuiKnob *k = loadKnob("RING_DOT");
    k->setValue(255);
    QImage image = grab();
    // Body section 0 everywhere, then lamp section 22 + 3 drawn over it at the same place.
    EXPECT_EQ(sectionOfPixel(image.pixel(15, 45)), 25);
    k->setValue(0);
    image = grab();
    EXPECT_EQ(sectionOfPixel(image.pixel(15, 45)), 5);
    k->setRingStyle(tcGuiKnob::kSimple);
    k->setValue(255);
    image = grab();
    EXPECT_EQ(sectionOfPixel(image.pixel(15, 45)), 25) << "film strip: last frame";
    k->setValue(128);
    EXPECT_EQ(sectionOfPixel(grab().pixel(29, 59)), 13);
    k->setDisabledState(2);
    EXPECT_EQ(sectionOfPixel(grab().pixel(15, 45)), 0) << "disabled look: first frame";
}

TEST_F(ValueControlsTest, VerticalSliderGeometry)
{
    ASSERT_EQ(load(sliderXml()), 0);
    auto *s = wired<tcGuiSlider>("S", 3);
    showAll();
    EXPECT_EQ(s->height(), 100);
    EXPECT_EQ(s->thumbHeight(), 10);
    EXPECT_EQ(s->positionForValue(0), 95);
    EXPECT_EQ(s->positionForValue(255), 5);
    EXPECT_EQ(s->valueForPosition(95), 0);
    EXPECT_EQ(s->valueForPosition(5), 255);
    EXPECT_EQ(s->thumbPosition(), 95);
    // Thumb at the bottom: rail frame 0 above it, thumb frame 0 at rows 100..109.
    QImage image = grab();
    EXPECT_EQ(sectionOfPixel(image.pixel(55, 20)), 0);
    EXPECT_EQ(sectionOfPixel(image.pixel(55, 104)), 0);
    s->wheel(1, 0); // 3 pixels up
    EXPECT_EQ(s->thumbPosition(), 92);
    EXPECT_EQ(s->value(), s->valueForPosition(92));
    s->wheel(1, kModShift); // 10 pixels
    EXPECT_EQ(s->thumbPosition(), 82);
    s->wheel(5, kModControl); // one value
    EXPECT_EQ(calls.size(), 3);
    EXPECT_EQ(calls.last(), QStringLiteral("int 3 %1").arg(s->value()));
    s->setValue(255);
    EXPECT_EQ(s->thumbPosition(), 5);
    s->wheel(1, 0);
    EXPECT_EQ(s->value(), 255) << "clamped at the top";
    EXPECT_EQ(s->thumbPosition(), 5);
    ASSERT_TRUE(s->leftPress(55, 20));
    s->drag(55, 30, 0); // down 10 pixels
    EXPECT_EQ(s->thumbPosition(), 15);
    image = grab();
    EXPECT_EQ(sectionOfPixel(image.pixel(55, 10 + 15)), 1) << "active thumb while dragging";
    s->release(55, 30);
    EXPECT_FALSE(s->dragging());
}

TEST_F(ValueControlsTest, HorizontalSliderAndEmptyRange)
{
    ASSERT_EQ(load("<slider id=\"S\"><position direction=\"horz\"/></slider>"), 0);
    auto *s = object<tcGuiSlider>("S");
    EXPECT_TRUE(s->horizontal());
    s->setRange(0, 100);
    EXPECT_EQ(s->positionForValue(0), 0);
    EXPECT_EQ(s->positionForValue(100), 40);
    EXPECT_EQ(s->valueForPosition(20), 50);
    s->setRange(5, 5);
    EXPECT_EQ(s->positionForValue(5), 0);
    EXPECT_EQ(s->valueForPosition(33), 5);
}

TEST_F(ValueControlsTest, TheFocusedKnobOrSliderStepsFromTheKeysAsFromTheWheel)
{
    ASSERT_EQ(load(knobXml("SIMPLE") + sliderXml()), 0);
    auto *k = wired<tcGuiKnob>("K", 7);
    auto *s = wired<tcGuiSlider>("S", 3);
    showAll();
    k->setValue(100);

    EXPECT_FALSE(bench().keyStep(1, 0)) << "nothing has the focus";
    bench().setFocusedObject(k);
    ASSERT_EQ(bench().focusedObject(), k);
    EXPECT_TRUE(bench().keyStep(1, 0));
    EXPECT_EQ(k->value(), 101);
    EXPECT_TRUE(bench().keyStep(-1, kModShift));
    EXPECT_EQ(k->value(), 91);
    EXPECT_TRUE(bench().keyStep(1, kModControl));
    EXPECT_EQ(k->value(), 92);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("int 7 101"), QStringLiteral("int 7 91"),
                                  QStringLiteral("int 7 92")}));

    // Centres 10 pixels apart make one row, read from the left.
    EXPECT_EQ(bench().focusOrder(), (std::vector<tcBenchObject *>{k, s}));
    EXPECT_TRUE(bench().focusNext(true));
    EXPECT_EQ(bench().focusedObject(), s);
    EXPECT_TRUE(bench().keyStep(1, 0));
    EXPECT_EQ(s->thumbPosition(), 92) << "3 pixels up, as one wheel notch";
    EXPECT_TRUE(bench().focusNext(true));
    EXPECT_EQ(bench().focusedObject(), k) << "wraps";

    // A hidden or disabled control cannot hold the focus.
    k->hide();
    EXPECT_EQ(bench().focusedObject(), nullptr);
    EXPECT_FALSE(bench().keyStep(1, 0));
    EXPECT_EQ(bench().focusOrder(), std::vector<tcBenchObject *>{s});
    s->setDisabledState(1);
    bench().setFocusedObject(s);
    EXPECT_EQ(bench().focusedObject(), nullptr);
    EXPECT_FALSE(bench().focusNext(true));
}
