// The level meter: position tables, labels, painted bars and the partial repaint of a level change.
#include "gui/gui_meter.h"
#include "gui/gui_test_util.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

// Bars 28 apart with the scale labels between them.
const QByteArray kLabelled = "barlx=\"2\" barrx=\"30\" bary=\"10\"/><text x=\"20\" y=\"10\"/>";

class MeterTest : public GuiTest
{
protected:
    // A meter at (10, 10) on white; `place` ends its position element (and may add a text one).
    tcGuiMeter *loadMeter(const QByteArray &type, bool bar = true,
                          const QByteArray &place = "barlx=\"5\" barrx=\"20\" bary=\"10\" ovrlx=\"5\" "
                                                    "ovrrx=\"20\" ovry=\"2\"/>")
    {
        png(QStringLiteral("mbg.png"), 40, 220, 1, {Qt::white});
        if (bar)
            indexedPng(QStringLiteral("bar.png"), 8, 200, 6);
        indexedPng(QStringLiteral("ovr.png"), 8, 4, 6);
        EXPECT_EQ(load("<meter id=\"M\"><position x=\"10\" y=\"10\" " + place +
                       "<bitmap bg=\"MBG\" bar=\"MBAR\" ovr=\"MOVR\"/><type " + type +
                       "/></meter><image id=\"MBG\" file=\"mbg.png\"/><image id=\"MBAR\" file=\"bar.png\" "
                       "sections=\"6\"/><image id=\"MOVR\" file=\"ovr.png\" sections=\"6\"/>"),
                  0);
        auto *m = object<tcGuiMeter>("M");
        showAll();
        return m;
    }
    void levels(tcGuiMeter *m, uint8_t l0, uint8_t l1, uint8_t p0 = 255, uint8_t p1 = 255, uint8_t o0 = 0,
                uint8_t o1 = 0)
    {
        const uint8_t l[2] = {l0, l1}, p[2] = {p0, p1}, o[2] = {o0, o1};
        m->setLevels(l, p, o);
        QCoreApplication::processEvents(); // the repaint comes with the window's next paint
    }
};

} // namespace

TEST_F(MeterTest, VerticalBarsSplitAtTheTablePosition)
{
    tcGuiMeter *m = loadMeter("style=\"VUFS30\" clip=\"1\"");
    EXPECT_EQ(m->area(), QRect(10, 10, 40, 220));
    EXPECT_EQ(m->position(0), 0);
    EXPECT_EQ(m->position(60), 100);
    EXPECT_EQ(m->position(120), 199);
    showHost();
    levels(m, 60, 0, 20, 255, 1, 0);
    const QImage image = grab();
    // Left bar at (15, 20): dark frame 1 above row 100, lit frame 0 below; a peak at -5 dB (row 33).
    EXPECT_EQ(sectionOfPixel(image.pixel(16, 20 + 99)), 1);
    EXPECT_EQ(sectionOfPixel(image.pixel(16, 20 + 100)), 0);
    EXPECT_EQ(sectionOfPixel(image.pixel(16, 20 + 32)), 1);
    EXPECT_EQ(sectionOfPixel(image.pixel(16, 20 + 33)), 0);
    EXPECT_EQ(sectionOfPixel(image.pixel(16, 20 + 37)), 0);
    EXPECT_EQ(sectionOfPixel(image.pixel(16, 20 + 38)), 1);
    // Right bar fully lit, no peak.
    EXPECT_EQ(sectionOfPixel(image.pixel(31, 20)), 0);
    // Overload lamps at y 12: left lit (frame 0), right dark (frame 1).
    EXPECT_EQ(sectionOfPixel(image.pixel(16, 13)), 0);
    EXPECT_EQ(sectionOfPixel(image.pixel(31, 13)), 1);
    // The background shows between the bars.
    EXPECT_EQ(image.pixelColor(26, 100), QColor(Qt::white));
}

TEST_F(MeterTest, ALevelChangeRepaintsOnlyTheBarsAndAnOverloadOnlyItsLamp)
{
    tcGuiMeter *m = nullptr;
    for (bool clip : {false, true}) {
        SCOPED_TRACE(clip);
        m = loadMeter(clip ? "style=\"VU30\" clip=\"1\"" : "style=\"VU30\" clip=\"0\"");
        showHost();
        struct : QObject
        {
            int paints = 0;
            QRect last;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint) {
                    ++paints;
                    last = static_cast<QPaintEvent *>(event)->rect();
                }
                return false;
            }
        } counter;
        host().installEventFilter(&counter);
        levels(m, 10, 10);
        EXPECT_EQ(counter.paints, 1);
        EXPECT_EQ(counter.last, QRect(15, 20, 23, 200)) << "the union of the two bars, not the lamps";
        levels(m, 10, 10);
        EXPECT_EQ(counter.paints, 1) << "unchanged levels: no repaint";
        levels(m, 10, 10, 255, 255, 7, 0);
        EXPECT_EQ(counter.paints, clip ? 2 : 1) << "without lamps an overload shows nowhere";
        if (clip) {
            EXPECT_EQ(counter.last, m->overloadRect(0));
        }
        levels(m, 10, 10, 255, 255, 1, 0);
        EXPECT_EQ(counter.paints, clip ? 2 : 1) << "overloads count as 0 or 1";
        host().removeEventFilter(&counter);
    }
    m->hide();
    levels(m, 50, 50);
    m->setVisible(true);
    EXPECT_EQ(m->channel(0).level, 10) << "a hidden meter does not store levels";
}

TEST_F(MeterTest, OneChannelHorizontalGainReduction)
{
    tcGuiMeter *m = loadMeter("style=\"GR20\" channels=\"1\" vertical=\"0\"");
    EXPECT_EQ(m->barLength(), 8);
    showHost();
    levels(m, 0, 0, 0, 0);
    const QImage image = grab();
    // Horizontal GR: the measured (lit) part from the left; no peak marks on GR meters.
    EXPECT_EQ(sectionOfPixel(image.pixel(15, 25)), 4);
    EXPECT_EQ(image.pixelColor(31, 25), QColor(Qt::white)) << "the second channel is not drawn";
}

TEST_F(MeterTest, MissingBarPictureShowsTheMark)
{
    tcGuiMeter *m = loadMeter("style=\"VU30\"", false);
    EXPECT_EQ(m->barLength(), 200);
    const QImage image = grab();
    EXPECT_EQ(image.pixelColor(15, 20), QColor(Qt::red)) << "outline of the mark";
    EXPECT_EQ(image.pixelColor(17, 21), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 20), QColor(Qt::red));
}

TEST_F(MeterTest, WrongSectionCountsAreReported)
{
    indexedPng(QStringLiteral("bar3.png"), 8, 100, 3);
    ASSERT_EQ(load("<image id=\"B\" file=\"bar3.png\" sections=\"3\"/>"
                   "<meter id=\"M\"><bitmap bar=\"B\" ovr=\"B\"/><text x=\"3\"/></meter>"),
              0);
    EXPECT_TRUE(hasMessage(QStringLiteral("WARNING: Meter bar image does not have 6 sections.")));
    EXPECT_TRUE(hasMessage(QStringLiteral("WARNING: Meter ovr image does not have 6 sections.")));
    auto *m = object<tcGuiMeter>("M");
    EXPECT_TRUE(m->labelsShown());
    EXPECT_EQ(m->labelPosition(0), 0);
    EXPECT_EQ(m->labelPosition(5), 50);
    EXPECT_EQ(m->labelPosition(10), 99);
    m->setMode(tcGuiMeter::kGR30, true, 5);
    EXPECT_EQ(m->channels(), 2);
    EXPECT_EQ(m->style(), tcGuiMeter::kGR30);
}

// The bench paints its own background under every repaint; a level change must give back the
// meter's background and the scale labels that stand between the bars.
TEST_F(MeterTest, PartialRepaintRestoresTheBackgroundAndLabelsBetweenTheBars)
{
    tcGuiMeter *m = loadMeter("style=\"VUFS30\"", true, kLabelled);
    showHost();

    // Catch the partial paint as it happens, over a background of the bench's own colour.
    struct Catcher : QObject
    {
        tcBench *bench = nullptr;
        QImage image{80, 260, QImage::Format_ARGB32};
        QRect rect;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && rect.isNull()) {
                rect = static_cast<QPaintEvent *>(event)->rect();
                image.fill(Qt::magenta);
                QPainter p(&image);
                p.setClipRect(rect);
                bench->paint(p, rect);
            }
            return false;
        }
    } catcher;
    catcher.bench = &bench();
    host().installEventFilter(&catcher);
    levels(m, 40, 80);
    host().removeEventFilter(&catcher);
    ASSERT_FALSE(catcher.rect.isNull());

    int magenta = 0, dark = 0;
    for (int y = catcher.rect.top(); y <= catcher.rect.bottom(); ++y)
        for (int x = 10 + 2 + 8; x < 10 + 30; ++x) { // between the two bars
            const QColor c = catcher.image.pixelColor(x, y);
            magenta += c == QColor(Qt::magenta);
            dark += c.lightness() < 100;
        }
    EXPECT_EQ(magenta, 0) << "the meter's background is back between the bars";
    EXPECT_GT(dark, 20) << "the scale labels are drawn again";
}

// The labels are laid out once and kept; a change of style or position lays them out again.
TEST_F(MeterTest, ScaleLabelsFollowStyleAndPosition)
{
    tcGuiMeter *m = loadMeter("style=\"VUFS30\"", true, kLabelled);
    // The top label ("0" or "+20") stands centred on (30, 20).
    const QRect top(22, 14, 17, 13);
    const QImage vufs = grab().copy(top);
    m->setMode(tcGuiMeter::kVU40, false, 2);
    const QImage vu = grab().copy(top);
    EXPECT_TRUE(vu != vufs) << "\"+20\" in place of \"0\"";
    m->setMode(tcGuiMeter::kVUFS30, false, 2);
    EXPECT_TRUE(grab().copy(top) == vufs);
    m->setTextY(30);
    EXPECT_TRUE(grab().copy(top) != vufs) << "the labels moved down";
}
