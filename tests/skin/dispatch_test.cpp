// The host widget's event handling and the bench's dispatch, with recording objects.
#include "skin/skin_test_util.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <limits>

using namespace orba::test;

namespace {

// A rectangle that records what the bench asks of it and paints itself in one colour.
class Probe : public tcBenchObject
{
public:
    Probe(const char *id, QRect rect, QColor colour, QStringList *log, bool capture = true)
        : m_id(id), m_rect(rect), m_colour(colour), m_log(log), m_capture(capture)
    {
    }
    const NameString &id() const override { return m_id; }
    int typeCode() const override { return 99; }
    int serial() const override { return 0; }
    QRect area() const override { return m_rect; }
    void afterLoad() override {}
    bool contains(int x, int y) const override
    {
        return x >= m_rect.left() && x <= m_rect.right() + 1 && y >= m_rect.top() && y <= m_rect.bottom() + 1;
    }
    bool intersects(const QRect &r) const override { return m_rect.intersects(r); }
    bool leftPress(int x, int y) override { return note("left", x, y), m_capture; }
    void release(int x, int y) override { note("release", x, y); }
    bool rightPress(int x, int y) override { return note("right", x, y), m_capture; }
    void drag(int x, int y, int m) override { note("drag", x, y, m); }
    void hover(int x, int y, int m) override { note("hover", x, y, m); }
    void wheel(int step, int m) override { note("wheel", step, 0, m); }
    void doubleClick(int x, int y) override { note("double", x, y); }
    bool acceptsLeftClick() const override { return true; }
    bool acceptsRightClick() const override { return true; }
    bool acceptsWheel() const override { return true; }
    bool acceptsDoubleClick() const override { return true; }
    bool tracksHover() const override { return true; }
    void tick() override { note("tick", 0, 0); }
    void draw(QPainter &painter) override { painter.fillRect(m_rect, m_colour); }

private:
    void note(const char *what, int a, int b, int m = 0)
    {
        *m_log << QStringLiteral("%1 %2 %3,%4 %5")
                      .arg(m_id.toQString(), QLatin1String(what))
                      .arg(a)
                      .arg(b)
                      .arg(m);
    }
    NameString m_id;
    QRect m_rect;
    QColor m_colour;
    QStringList *m_log;
    bool m_capture;
};

class Host : public tcVORudWidget
{
public:
    QList<QPoint> menus;

protected:
    void contextMenuAt(int x, int y) override { menus << QPoint(x, y); }
};

class DispatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = std::make_unique<Host>();
        bench = new tcPlainBench(QStringLiteral("."));
        bench->setQuiet(true);
        bench->setHost(host.get());
        host->setBench(bench);
        host->resize(200, 200);
        host->move(100, 100);
    }
    void add(Probe *p) { bench->appendObject(p); }
    void mouse(QEvent::Type type, Qt::MouseButton button, QPoint pos, Qt::KeyboardModifiers mods = {})
    {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(pos), QPointF(host->mapToGlobal(pos)), button, buttons, mods);
        QCoreApplication::sendEvent(host.get(), &event);
    }
    void moveTo(QPoint pos, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(pos), QPointF(host->mapToGlobal(pos)), Qt::NoButton,
                          host->leftDown() ? Qt::LeftButton : Qt::NoButton, mods);
        QCoreApplication::sendEvent(host.get(), &event);
    }
    void wheelAt(QPoint pos, int delta, Qt::KeyboardModifiers mods = {})
    {
        QWheelEvent event(QPointF(pos), QPointF(host->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(host.get(), &event);
    }

    QStringList log;
    std::unique_ptr<Host> host;
    tcPlainBench *bench = nullptr;
};

} // namespace

TEST_F(DispatchTest, OverlapGoesToTheFirstDefinedWhileTheLaterPaintsOnTop)
{
    add(new Probe("A", QRect(10, 40, 50, 50), Qt::red, &log));
    add(new Probe("B", QRect(30, 60, 50, 50), Qt::blue, &log));
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(40, 70));
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.last(), QStringLiteral("A left 40,70 0"));
    EXPECT_EQ(bench->capturedObject()->id().toQString(), QStringLiteral("A"));
    const QImage image = host->grab().toImage();
    EXPECT_EQ(image.pixelColor(40, 70), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(15, 45), QColor(Qt::red));
}

TEST_F(DispatchTest, TopStripDragStartsAbove30PixelsAndMovesTheWindowByThePointer)
{
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(50, 29));
    EXPECT_TRUE(host->windowDragging());
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(50, 29));
    EXPECT_FALSE(host->windowDragging());
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(50, 30));
    EXPECT_FALSE(host->windowDragging());
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(50, 30));

    add(new Probe("TOP", QRect(0, 0, 100, 20), Qt::red, &log));
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(50, 10));
    EXPECT_FALSE(host->windowDragging()) << "objects under the pointer take precedence";
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(50, 10));

    // The drag moves the window by the pointer.
    const QPoint start = host->pos();
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(150, 10));
    moveTo(QPoint(160, 20)); // exactly 10 right and below the press: ignored
    EXPECT_EQ(host->pos(), start);
    host->expireThrottle();
    moveTo(QPoint(157, 13));
    EXPECT_EQ(host->pos(), start + QPoint(7, 3));
}

TEST_F(DispatchTest, RightPressOnNothingOpensTheMenuAndACapturedOneGetsTheRelease)
{
    mouse(QEvent::MouseButtonPress, Qt::RightButton, QPoint(70, 80));
    ASSERT_EQ(host->menus.size(), 1);
    EXPECT_EQ(host->menus[0], host->mapToGlobal(QPoint(70, 80)));
    EXPECT_FALSE(host->rightDown());
    add(new Probe("R", QRect(10, 40, 50, 50), Qt::red, &log));
    mouse(QEvent::MouseButtonPress, Qt::RightButton, QPoint(20, 50));
    EXPECT_EQ(host->menus.size(), 1) << "no menu over an object";
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, QPoint(90, 90));
    EXPECT_EQ(log, (QStringList{QStringLiteral("R right 20,50 0"), QStringLiteral("R release 90,90 0")}));
    EXPECT_EQ(bench->capturedObject(), nullptr);
}

TEST_F(DispatchTest, PressNotCapturedIsHandledWithoutDrag)
{
    add(new Probe("N", QRect(10, 0, 50, 20), Qt::red, &log, false));
    EXPECT_EQ(bench->leftPress(20, 10), 1);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(20, 10));
    EXPECT_FALSE(host->leftDown());
    EXPECT_FALSE(host->windowDragging());
    EXPECT_EQ(bench->leftPress(150, 150), 2);
}

TEST_F(DispatchTest, WheelStepsAreTheSignOfTheDelta)
{
    add(new Probe("W", QRect(0, 0, 100, 100), Qt::red, &log));
    wheelAt(QPoint(5, 5), 120, Qt::ShiftModifier);
    wheelAt(QPoint(5, 5), -240, Qt::ControlModifier);
    EXPECT_EQ(log, (QStringList{QStringLiteral("W wheel 1,0 1"), QStringLiteral("W wheel -1,0 2")}));
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    log.clear();
    wheelAt(QPoint(5, 5), 120);
    EXPECT_TRUE(log.isEmpty()) << "no wheel while the left button is held";
}

TEST_F(DispatchTest, ScalingConvertsEventsAndRepaints)
{
    add(new Probe("S", QRect(11, 11, 5, 5), Qt::red, &log));
    bench->setScaling(true, 2.0f, 2.0f);
    EXPECT_EQ(bench->leftPress(21, 21), 0);
    EXPECT_EQ(log.last(), QStringLiteral("S left 11,11 0"));
    EXPECT_EQ(bench->toWidgetX(11), 22);
    const QImage image = host->grab().toImage();
    EXPECT_EQ(image.pixelColor(22, 22), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(31, 31), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(33, 33), QColor(Qt::red));
}

TEST_F(DispatchTest, AtOneAndAHalfTheRepaintRectangleCoversEveryPixelTheObjectPaints)
{
    const QRect area(10, 10, 5, 5); // its far edge falls in the middle of a widget pixel
    add(new Probe("BACK", QRect(0, 0, 40, 40), Qt::blue, &log)); // below it, painted first
    add(new Probe("S", area, Qt::red, &log));
    bench->setScaling(true, 1.5f, 1.5f);
    const QImage image = host->grab().toImage();
    QRect painted;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (image.pixelColor(x, y) == QColor(Qt::red))
                painted |= QRect(x, y, 1, 1);
    ASSERT_FALSE(painted.isEmpty());
    const QRect repaint = bench->toWidgetRect(area);
    EXPECT_TRUE(repaint.contains(painted))
        << "painted right " << painted.right() << ", repainted to " << repaint.right();
    EXPECT_EQ(repaint, QRect(QPoint(15, 15), QPoint(22, 22)));
}

TEST_F(DispatchTest, ScaleFactorsOutsideTheUsableRangeLeaveScalingOff)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const float unusable[] = {40.0f, 1e9f, inf, nan, 1e-6f, 0.49f, 0.0f, -1.0f};
    for (float f : unusable) {
        bench->setScaling(true, f, 1.0f);
        EXPECT_FALSE(bench->scaling()) << f;
        bench->setScaling(true, 1.0f, f);
        EXPECT_FALSE(bench->scaling()) << f;
        EXPECT_EQ(bench->toWidgetRect(QRect(0, 0, 1000, 640)), QRect(0, 0, 1000, 640)) << f;
    }
    bench->setScaling(true, 4.0f, 0.5f);
    EXPECT_TRUE(bench->scaling());
    EXPECT_EQ(bench->toWidgetRect(QRect(0, 0, 1000, 640)), QRect(0, 0, 4000, 320));
}

TEST_F(DispatchTest, MovesAreThrottledToOnePerPeriod)
{
    add(new Probe("H", QRect(0, 0, 100, 100), Qt::red, &log));
    moveTo(QPoint(5, 5));
    moveTo(QPoint(6, 6)); // within the period: dropped
    EXPECT_EQ(log, QStringList{QStringLiteral("H hover 5,5 0")});
    EXPECT_TRUE(host->throttleRunning());
    host->expireThrottle();
    moveTo(QPoint(7, 7), Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(log.last(), QStringLiteral("H hover 7,7 3"));
    // With a capture the move is a drag.
    host->expireThrottle();
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(8, 8));
    moveTo(QPoint(9, 9));
    EXPECT_EQ(log.last(), QStringLiteral("H drag 9,9 0"));
}

TEST_F(DispatchTest, DoubleClickAndTickReachObjectsAndAfterCloseEventsFindNoBench)
{
    add(new Probe("D", QRect(0, 0, 100, 100), Qt::red, &log));
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(3, 4));
    bench->tick();
    EXPECT_EQ(log, (QStringList{QStringLiteral("D double 3,4 0"), QStringLiteral("D tick 0,0 0")}));
    log.clear();
    host->close();
    EXPECT_EQ(host->bench(), nullptr);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(50, 50));
    wheelAt(QPoint(5, 5), 120);
    EXPECT_TRUE(log.isEmpty());
}
