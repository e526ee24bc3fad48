// The object base: hit test, visibility, captions and repaint requests.
#include "gui/gui_knob.h"
#include "gui/gui_label.h"
#include "gui/gui_lamp.h"
#include "gui/gui_test_util.h"

#include <gtest/gtest.h>

using namespace orba::test;

namespace {
bool isInk(QRgb p)
{
    return qRed(p) > 128 && qGreen(p) < 100 && qBlue(p) < 100;
}

class ObjectTest : public GuiTest
{
protected:
    // A label at (x, y) on a white background, its caption red in the font F.
    tcGuiLabel *loadLabel(int x, int y, const QByteArray &font, const QByteArray &text)
    {
        png(QStringLiteral("bg.png"), 400, 300, 1, {Qt::white});
        const QByteArray at = QStringLiteral("<position x=\"%1\" y=\"%2\"/>").arg(x).arg(y).toLatin1();
        EXPECT_EQ(load("<image id=\"BKGRND\" file=\"bg.png\"/><font id=\"F\" " + font + "/><label id=\"L\">" +
                       at + "<bitmap w=\"1\" h=\"1\"/><text " + text +
                       " color=\"ff0000\" font=\"F\"/></label>"),
                  0);
        return object<tcGuiLabel>("L");
    }
};

// The first and last rows holding red ink (text blends into its background) in a column band, or -1.
QPair<int, int> rowsOf(const QImage &image, int x0, int x1)
{
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (isInk(image.pixel(x, y))) {
                if (first < 0)
                    first = y;
                last = y;
            }
    return {first, last};
}
} // namespace

TEST_F(ObjectTest, HitTestIncludesTheFarEdgesAndSkipsHiddenObjects)
{
    ASSERT_EQ(load("<label id=\"L\"><position x=\"10\" y=\"10\"/><bitmap w=\"20\" h=\"5\"/></label>"), 0);
    auto *l = object<tcGuiLabel>("L");
    EXPECT_FALSE(l->contains(15, 12)) << "hidden";
    l->setVisible(true);
    EXPECT_TRUE(l->contains(10, 12));
    EXPECT_TRUE(l->contains(30, 12));
    EXPECT_FALSE(l->contains(31, 12));
    EXPECT_TRUE(l->contains(10, 15));
    EXPECT_FALSE(l->contains(10, 16));
}

TEST_F(ObjectTest, RepaintsOnlyWhatChanged)
{
    ASSERT_EQ(load("<lamp id=\"L\"/>"), 0);
    auto *l = object<tcGuiLamp>("L");
    const int start = bench().invalidateCount();
    l->setCaption(QStringLiteral("hidden"));
    EXPECT_EQ(bench().invalidateCount(), start) << "a hidden object only stores its caption";
    EXPECT_EQ(l->caption(), QStringLiteral("hidden"));
    l->setVisible(true);
    l->setVisible(true);
    EXPECT_EQ(bench().invalidateCount(), start + 1);
    l->setCaption(QStringLiteral("hidden"));
    EXPECT_EQ(bench().invalidateCount(), start + 1) << "same text, no repaint";
    l->setCaption(QStringLiteral("shown"));
    EXPECT_EQ(bench().invalidateCount(), start + 3) << "old and new caption rectangles";
    l->setState(1);
    l->setState(1);
    EXPECT_EQ(bench().invalidateCount(), start + 4);
    l->setDisabledState(2);
    EXPECT_TRUE(l->disabledLook());
    EXPECT_EQ(bench().invalidateCount(), start + 5);
    l->hide();
    EXPECT_FALSE(l->isVisible());
}

// A caption changed while its screen is hidden is measured when shown, so the whole new text is
// painted and wiped.
TEST_F(ObjectTest, ACaptionChangedWhileHiddenIsMeasuredWhenShown)
{
    tcGuiLabel *l = loadLabel(100, 50, "size=\"12\"", "value=\"A\" x=\"0\" y=\"0\"");
    const int shortWidth = l->captionRect().width();
    l->setCaption(QStringLiteral("AAAAAAAAAAAA"));
    l->setVisible(true);
    EXPECT_GT(l->captionRect().width(), 5 * shortWidth);
    const QImage image = grab();
    const QRect r = l->captionRect();
    int inkRight = -1;
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 100)
                inkRight = x;
    EXPECT_GT(inkRight, r.left() + r.width() * 3 / 4) << "the text is painted to its end";
}

TEST_F(ObjectTest, CaptionLinesFollowTheLineStep)
{
    tcGuiLabel *l =
        loadLabel(100, 50, "size=\"12\" space=\"11\"", "value=\"AAAA&#10;AAAA\" x=\"10\" y=\"10\"");
    EXPECT_EQ(l->caption(), QStringLiteral("AAAA\nAAAA"));
    EXPECT_EQ(l->captionRect().top(), 60);
    EXPECT_EQ(l->captionRect().left(), 110);
    showAll();
    const QImage image = grab();
    const auto rows = rowsOf(image, 110, 160);
    ASSERT_GE(rows.first, 60);
    EXPECT_LT(rows.first, 71) << "first line from y 60";
    EXPECT_GE(rows.second, 71) << "second line from y 71";
    EXPECT_LE(rows.second, 71 + 11);
}

// The default skin puts bottom-centred captions just above its knobs: a repaint of only the strip
// the caption stands on must still reach the knob and draw the text there.
TEST_F(ObjectTest, AlignedCaptionIsMeasuredWhereItIsDrawn)
{
    png(QStringLiteral("bg.png"), 200, 120, 1, {Qt::white});
    png(QStringLiteral("knob.png"), 20, 20, 4, {Qt::blue});
    ASSERT_EQ(
        load("<image id=\"BKGRND\" file=\"bg.png\"/><font id=\"F\" size=\"12\"/>"
             "<image id=\"KI\" file=\"knob.png\" sections=\"4\"/>"
             "<knob id=\"K\"><position x=\"80\" y=\"60\"/><bitmap image=\"KI\"/>"
             "<text value=\"GAIN\" x=\"10\" y=\"-2\" align=\"bc\" color=\"ff0000\" font=\"F\"/></knob>"),
        0);
    auto *k = object<tcGuiKnob>("K");
    bench().fitHost();
    showAll();
    showHost();

    const QImage whole = grab();
    QRect ink;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            if (isInk(whole.pixel(x, y)))
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.bottom(), 60) << "bottom-aligned above the knob";
    EXPECT_TRUE(k->captionRect().contains(ink))
        << "caption rect " << k->captionRect().y() << " " << k->captionRect().height() << ", text from "
        << ink.y() << " " << ink.height();

    // Only the caption's strip, as when something repaints just that part of the window.
    const QRect strip(0, ink.top(), whole.width(), 58 - ink.top());
    const QImage part = host().grab(strip).toImage();
    int drawn = 0;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            drawn += part.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(drawn, 10) << "the caption is drawn over the background";
}

TEST_F(ObjectTest, RotatedCaptionRunsUpward)
{
    tcGuiLabel *l = loadLabel(100, 150, "size=\"14\" angle=\"90\"", "value=\"WWWWWW\" x=\"0\" y=\"0\"");
    // Drawn rotated by 270 degrees: the text stands above its point, a few pixels wide.
    EXPECT_LT(l->captionRect().width(), l->captionRect().height());
    EXPECT_LE(l->captionRect().bottom(), 151);
    showAll();
    const QImage image = grab();
    const auto rows = rowsOf(image, 95, 120);
    ASSERT_GE(rows.first, 0);
    EXPECT_LT(rows.second, 152);
    EXPECT_LT(rows.first, 130);
}
