// Access classes and the unlock flow, and the bench's painting: background, panels and screens.
#include "gui/gui_apgraph.h"
#include "gui/gui_knob.h"
#include "gui/gui_lamp.h"
#include "message_recorder.h"
#include "panel_fixture.h"
#include "panel_skin.h"
#include "panels/access_classes.h"
#include "panels/cg_main.h"
#include "panels/meter_body.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

using Access = LoadedPanelTest; // a first start shows the input screen

TEST_F(Access, UnlockedOrUnrestrictedActionsGoAheadAndWithACodeThePromptDecides)
{
    EXPECT_EQ(bench().accessLevel(2009), 0);
    bench().setLock(true);
    bench().setAccess(0x1234, 0); // no restriction bits: nothing is restricted
    EXPECT_EQ(bench().accessLevel(2009), 0);
    EXPECT_EQ(bench().accessLevel(9003), 0);
    bench().setAccess(0x1234, orba::kRestrictMeters);
    EXPECT_EQ(bench().accessLevel(2009), 0);
    EXPECT_EQ(bench().accessLevel(1001), 0);
    EXPECT_TRUE(hostSide.codesAsked.empty());

    // With a code the prompt decides.
    MessageRecorder messages;
    bench().setAccess(0xCAFE, orba::kRestrictScreens);
    EXPECT_EQ(bench().accessLevel(1014), 1); // the prompt refused
    EXPECT_TRUE(bench().locked());
    EXPECT_EQ(hostSide.codesAsked, std::vector<uint32_t>{0xCAFE});
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(bench().accessLevel(2009), 0); // settings are not restricted
    EXPECT_EQ(bench().accessLevel(9005), 1); // any bit restricts the access dialog

    hostSide.codeAnswer = true;
    EXPECT_EQ(bench().accessLevel(1014), 2);
    EXPECT_FALSE(bench().locked());
    EXPECT_EQ(hostSide.unlockedReports, 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("This GUI interface is now unlocked."));
    EXPECT_EQ(bench().accessLevel(1014), 0);
}

TEST_F(Access, WithoutACodeTheFirstRestrictedPressUnlocksAndIsDropped)
{
    MessageRecorder messages;
    bench().setLock(true);
    bench().setAccess(0, orba::kRestrictSettings);
    const QPoint p = panelSkinPosition("INPUT_ANA_GAIN_KNOB") + QPoint(5, 5);
    EXPECT_EQ(bench().leftPress(p.x(), p.y()), 1); // refused: the unlock took this press
    EXPECT_FALSE(bench().locked());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("This GUI interface is now unlocked."));
    EXPECT_TRUE(hostSide.codesAsked.empty());
    EXPECT_EQ(bench().leftPress(p.x(), p.y()), 0); // the next one goes ahead
}

class Paint : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        ASSERT_EQ(loadPanels(), 0);
        showHost();
    }
};

TEST_F(Paint, TheWindowTakesTheBackgroundSizeAndSwitchingScreensRepaintsTheOldScreenWithIt)
{
    EXPECT_EQ(host().size(), QSize(1000, 1300));
    EXPECT_EQ(grab().pixel(995, 1295), kPanelSkinBackground);
    EXPECT_GE(frameAt("SYS_ABOUT"), 0); // main panel, always shown
    EXPECT_GE(frameAt("INPUT_ANA_GAIN_KNOB"), 0); // a first start shows the input screen
    const QPoint skin = panelSkinPosition("SKIN") + QPoint(2, 2);
    EXPECT_EQ(grab().pixel(skin), kPanelSkinBackground);
    bench().setScreen(tcKelBench::kSystemScreen);
    EXPECT_GE(frameAt("SKIN"), 0);
    bench().mainPanel()->onButton(1014);
    EXPECT_GE(frameAt("INPUT_ANA_GAIN_KNOB"), 0);
    EXPECT_EQ(grab().pixel(skin), kPanelSkinBackground);
    // The flow button of the screen shown uses its "on screen" frames (3-5 of 12).
    const int frame = frameAt("FLOW_INPUT");
    EXPECT_GE(frame, 3);
    EXPECT_LE(frame, 5);
    const int other = frameAt("FLOW_SYSTEM");
    EXPECT_GE(other, 0);
    EXPECT_LE(other, 2);
}

TEST_F(Paint, ALampTextThatChangesLeavesNothingOfTheOldOneBehind)
{
    // Painted the way the window's backing store is: full once, then only the damaged rectangle,
    // the same rectangle twice in a row.
    bench().setScreen(tcKelBench::kSystemScreen);
    QImage canvas(host().size(), QImage::Format_RGB32);
    auto paint = [&](const QRect &r) {
        QPainter p(&canvas);
        p.setClipRect(r);
        bench().paint(p, r);
    };
    paint(canvas.rect());
    auto *lamp = object<tcGuiLamp>("STATUS_AES"); // nothing to its right
    ASSERT_TRUE(lamp->isVisible());
    lamp->setCaption(QStringLiteral("WWWWWWWWWWWW"));
    const QRect damaged = lamp->area().united(lamp->captionRect()).intersected(canvas.rect());
    ASSERT_GT(damaged.right(), lamp->area().right() + 20);
    paint(damaged);
    lamp->setCaption(QStringLiteral("."));
    paint(damaged);
    int leftOver = 0;
    for (int y = damaged.top(); y <= damaged.bottom(); ++y)
        for (int x = lamp->area().right() + 4; x <= damaged.right(); ++x)
            leftOver += canvas.pixel(x, y) != kPanelSkinBackground ? 1 : 0;
    EXPECT_EQ(leftOver, 0);
}

// A first paint comes in pieces when another window (the splash) is still over this one: the
// first piece decodes the pictures of the whole window at once, not each piece its own as drawn.
TEST_F(Access, TheFirstPieceOfAFirstPaintDecodesThePicturesOfTheWholeWindow)
{
    auto *knob = object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB");
    ASSERT_FALSE(knob->picture()->decoded());
    QImage canvas(host().size(), QImage::Format_RGB32);
    const QRect corner(0, 0, 8, 8);
    ASSERT_FALSE(knob->area().intersects(corner));
    QPainter painter(&canvas);
    painter.setClipRect(corner);
    bench().paint(painter, corner);
    EXPECT_TRUE(knob->picture()->decoded());
}

// Meter frames, painted rectangle by rectangle where the window was told they changed, as its
// paint event does: at every scale the result is what one whole paint draws, so no old trace,
// bar or lamp is left behind where a repaint drew less than everything.
TEST_F(Paint, MeterFramesRepaintedWhereTheyChangeEndAsAWholePaintDraws)
{
    struct Regions : QObject
    {
        QRegion seen;
        bool eventFilter(QObject *, QEvent *e) override
        {
            // Taken from the window: the test paints what it was told to, as the window would.
            if (e->type() != QEvent::Paint)
                return false;
            seen += static_cast<QPaintEvent *>(e)->region();
            return true;
        }
    } regions;
    auto *graph = object<tcGuiApGraph>("GRAPH");
    ASSERT_NE(graph, nullptr);
    graph->setMode(tcGuiApGraph::kAudio);
    for (const double scale : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        bench().setScaling(scale != 1.0, float(scale), float(scale));
        bench().fitHost();
        QCoreApplication::processEvents();
        QImage canvas(host().size(), QImage::Format_RGB32), whole = canvas;
        auto paint = [&](QImage &into, const QRect &r) {
            QPainter p(&into);
            p.setClipRect(r);
            bench().paint(p, r);
        };
        paint(canvas, canvas.rect());
        host().installEventFilter(&regions);
        uint32_t noise = 12345;
        for (int frame = 0; frame < 6; ++frame) {
            MeterFrame f;
            for (size_t i = orba::meterbody::kInputLevels; i < orba::meterbody::kGraphData; ++i)
                f.bytes[i] = uint8_t(frame * 37 + i * 11);
            f.bytes[orba::meterbody::kInputLevels + 4] = uint8_t(frame & 1); // an overload comes and goes
            for (size_t i = 0; i < 500; ++i) {
                noise = noise * 1103515245u + 12345u;
                f.bytes[orba::meterbody::kGraphData + i] = uint8_t(40 + frame * 20 + (noise >> 24) % 60);
            }
            regions.seen = QRegion();
            bench().meterFrame(f.bytes);
            QCoreApplication::processEvents();
            ASSERT_FALSE(regions.seen.isEmpty());
            if (regions.seen.rectCount() > tcVORudWidget::kMaxPaintParts)
                paint(canvas, regions.seen.boundingRect());
            else
                for (const QRect &r : regions.seen)
                    paint(canvas, r);
        }
        host().removeEventFilter(&regions);
        paint(whole, whole.rect());
        int differ = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                if (canvas.pixel(x, y) != whole.pixel(x, y) && differ++ == 0)
                    first = QPoint(x, y);
            }
        }
        EXPECT_EQ(differ, 0) << "first at " << first.x() << "," << first.y();
    }
}

} // namespace
