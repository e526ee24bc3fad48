// The draggers on a real response graph, driven through the bench's pointer dispatch and grabbed.
#include "draggers/band_overlay.h"
#include "draggers/bar_interface.h"
#include "draggers/comp_dragger.h"
#include "draggers/graph_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_image.h"
#include "gui/gui_test_util.h"
#include "tables/settings_map.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace orba::test;

namespace {

// A row of half-dB steps from -30 dB (index 0) to 0 dB (index 60).
class FakePanel : public tcBarInterface
{
public:
    void barSet(int band, uint32_t index) override { sent << QStringLiteral("%1:%2").arg(band).arg(index); }
    double valueOfIndex(uint32_t index) override { return -30.0 + 0.5 * index; }
    uint32_t indexOfValue(double value) override
    {
        return uint32_t(std::clamp(std::lround((value + 30.0) / 0.5), 0L, 60L));
    }
    QStringList sent;
};

class DraggerTest : public GuiTest
{
protected:
    // Plot of 280 x 150 at (40, 35); the row axis runs from -30 dB (bottom) to 0 dB (top).
    tcGuiApGraph *loadGraph(const QByteArray &extra = QByteArray())
    {
        EXPECT_EQ(
            load("<ap_graph id=\"G\"><position1 x=\"10\" y=\"20\" w=\"340\" h=\"185\"/></ap_graph>" + extra),
            0);
        auto *g = object<tcGuiApGraph>("G");
        showAll();
        m_rowAxis = std::make_unique<tcGuiAxis>(QString(), tcGuiAxis::kLinear, 150, -30.0f, 0.0f);
        m_grAxis = std::make_unique<tcGuiAxis>(QString(), tcGuiAxis::kLinear, 150, -30.0f, 0.0f);
        g->setCustomAxes(m_rowAxis.get(), m_grAxis.get(), false);
        g->setMode(tcGuiApGraph::kResponse);
        return g;
    }
    static QPoint onScreen(const tcGuiApGraph *g, QPoint plotPoint)
    {
        return plotPoint + g->plotRect().topLeft();
    }

    std::unique_ptr<tcGuiAxis> m_rowAxis, m_grAxis;
    FakePanel panel;
};

} // namespace

TEST_F(DraggerTest, SpectrumDraggerStepsTheRangeOnceAnEvent)
{
    tcGuiApGraph *g = loadGraph();
    tcSpectrumDragger spectrum(g);
    g->setSecondHandler(&spectrum);
    g->setMode(tcGuiApGraph::kAudio);
    g->setSpectrumRange(3);
    ASSERT_EQ(bench().leftPress(100, 100), 0);
    bench().move(100, 40, 0);
    EXPECT_EQ(g->spectrumRange(), 4) << "dragging up raises the range by one step however far";
    bench().move(100, 140, 0);
    EXPECT_EQ(g->spectrumRange(), 3);
    bench().release(100, 140);
    bench().wheel(100, 100, -1, kModShift);
    EXPECT_EQ(g->spectrumRange(), 2) << "ten steps of a wheel notch are still one range step";
    g->setMode(tcGuiApGraph::kResponse);
    bench().wheel(100, 100, 1, 0);
    EXPECT_EQ(g->spectrumRange(), 2) << "no range changes without the audio view";
}

TEST_F(DraggerTest, APressOnTheFrequencyLabelsEditsNothing)
{
    tcGuiApGraph *g = loadGraph();
    tcSpectrumDragger spectrum(g);
    tcCompDragger comp(g, &panel, nullptr, nullptr);
    comp.setAllBands({-10, -10, -10, -10, -10});
    g->setSecondHandler(&spectrum);
    g->setDragger(&comp, false);
    g->setMode(tcGuiApGraph::kResponse | tcGuiApGraph::kAudio);
    g->setSpectrumRange(0);
    ASSERT_EQ(bench().leftPress(20, 100), 0); // left of the plot
    bench().move(20, 90, 0);
    bench().release(20, 90);
    EXPECT_TRUE(panel.sent.isEmpty());
    EXPECT_EQ(g->spectrumRange(), 1) << "the press and its drag went to the spectrum dragger";
}

TEST_F(DraggerTest, CompressorAdjustersSitAtTheirFrequenciesAndValues)
{
    tcGuiApGraph *g = loadGraph();
    tcCompDragger comp(g, &panel, nullptr, nullptr);
    g->setDragger(&comp, false);
    comp.setAllBands({-30, -20, -10, -5, 0});
    EXPECT_EQ(comp.handleAt(0), QPoint(g->frequencyAxis()->toPixel(50.0f), 150));
    EXPECT_EQ(comp.handleAt(2), QPoint(g->frequencyAxis()->toPixel(630.0f), 50));
    EXPECT_EQ(comp.handleAt(4), QPoint(g->frequencyAxis()->toPixel(12000.0f), 0));
}

TEST_F(DraggerTest, ShiftDragMovesFiveTimesAndTheWheelMovesUp)
{
    tcGuiApGraph *g = loadGraph();
    tcCompDragger comp(g, &panel, nullptr, nullptr);
    g->setDragger(&comp, false);
    comp.setAllBands({-15, -15, -15, -15, -15});
    comp.bands().setIndependent(1, true);
    const QPoint at = onScreen(g, comp.handleAt(1));
    ASSERT_EQ(bench().leftPress(at.x(), at.y()), 0);
    bench().move(at.x(), at.y() + 2, kModShift);
    bench().release(at.x(), at.y() + 2);
    EXPECT_EQ(comp.handleAt(1).y(), 85);
    EXPECT_EQ(comp.handleAt(0).y(), 75) << "an independent band moves alone";
    bench().wheel(at.x(), at.y(), 1, 0);
    EXPECT_EQ(comp.handleAt(1).y(), 82) << "three pixels up a notch";
}

TEST_F(DraggerTest, TheMenuSwitchesBetweenFlatAndProportionalDrags)
{
    tcGuiApGraph *g = loadGraph();
    tcCompDragger comp(g, &panel, nullptr, nullptr);
    g->setDragger(&comp, false);
    const QList<QAction *> actions = comp.contextMenu()->actions();
    ASSERT_EQ(actions.size(), 8);
    EXPECT_TRUE(actions[7]->isChecked()) << "flat drag to start with";
    actions[6]->trigger();
    EXPECT_TRUE(actions[6]->isChecked());
    EXPECT_FALSE(actions[7]->isChecked());
    EXPECT_EQ(comp.bands().dragMode(), orba::draggers::BandGroup::kProportional);
}

TEST_F(DraggerTest, NothingIsEditedWhileTheGraphIsDisabledOrNotInControlsView)
{
    tcGuiApGraph *g = loadGraph();
    tcCompDragger comp(g, &panel, nullptr, nullptr);
    g->setDragger(&comp, false);
    comp.setAllBands({-15, -15, -15, -15, -15});
    const QPoint at = onScreen(g, comp.handleAt(3));
    g->setDisabledState(1);
    EXPECT_EQ(comp.leftPress(comp.handleAt(3).x(), 75), 0);
    EXPECT_EQ(comp.drag(0, 10), 0);
    g->setDisabledState(0);
    g->setLockedLook(true);
    EXPECT_EQ(comp.leftPress(comp.handleAt(3).x(), 75), 0) << "the locked surface";
    EXPECT_EQ(comp.wheel(3), 0);
    g->setLockedLook(false);
    g->setMode(tcGuiApGraph::kAudio);
    bench().leftPress(at.x(), at.y());
    bench().move(at.x(), at.y() + 10, 0);
    bench().release(at.x(), at.y() + 10);
    EXPECT_TRUE(panel.sent.isEmpty());
    EXPECT_EQ(comp.handleAt(3).y(), 75);
}

TEST_F(DraggerTest, HandlesAreCirclesAndSquaresWithoutAPicture)
{
    tcGuiApGraph *g = loadGraph();
    tcCompDragger comp(g, &panel, nullptr, nullptr);
    g->setDragger(&comp, false);
    comp.setAllBands({-20, -15, -15, -10, -15});
    comp.bands().setIndependent(3, true);
    comp.bands().setCurrent(1);
    g->markDirty(tcGuiGraph::kRedraw);
    const QImage image = grab();
    const QPoint current = onScreen(g, comp.handleAt(1));
    const QPoint grouped = onScreen(g, comp.handleAt(0));
    const QPoint independent = onScreen(g, comp.handleAt(3));
    EXPECT_EQ(image.pixel(current), QColor::fromRgba(tcBandDragger::kCurrentColour).rgb());
    EXPECT_EQ(image.pixel(grouped), QColor::fromRgba(tcBandDragger::kBandColour).rgb());
    EXPECT_EQ(image.pixel(independent), QColor::fromRgba(tcBandDragger::kBandColour).rgb());
    EXPECT_EQ(image.pixel(independent + QPoint(-5, 0)), QColor(Qt::red).rgb()) << "the square's left side";
    EXPECT_NE(image.pixel(grouped + QPoint(-5, 0)), QColor(Qt::red).rgb())
        << "no square round a grouped band";
}

TEST_F(DraggerTest, HandlePictureFramesTellGroupedIndependentAndCurrent)
{
    indexedPng(QStringLiteral("h.png"), 9, 9, 4);
    tcGuiApGraph *g = loadGraph("<image id=\"MBLimDragger\" file=\"h.png\" sections=\"4\"/>");
    tcCompDragger comp(g, &panel, object<tcGuiImage>("MBLimDragger"), nullptr);
    g->setDragger(&comp, false);
    comp.setAllBands({-20, -15, -15, -10, -15});
    comp.bands().setIndependent(3, true);
    comp.bands().setIndependent(4, true);
    comp.bands().setCurrent(4);
    g->markDirty(tcGuiGraph::kRedraw);
    const QImage image = grab();
    EXPECT_EQ(sectionOfPixel(image.pixel(onScreen(g, comp.handleAt(0)))), 0) << "grouped";
    EXPECT_EQ(sectionOfPixel(image.pixel(onScreen(g, comp.handleAt(3)))), 2) << "independent";
    EXPECT_EQ(sectionOfPixel(image.pixel(onScreen(g, comp.handleAt(4)))), 3) << "independent and current";
    comp.bands().setCurrent(1);
    g->markDirty(tcGuiGraph::kRedraw);
    EXPECT_EQ(sectionOfPixel(grab().pixel(onScreen(g, comp.handleAt(1)))), 1) << "grouped and current";
}

TEST_F(DraggerTest, ThreeBandModeShowsAndTakesOnlyTheOuterAndMiddleBands)
{
    tcGuiApGraph *g = loadGraph();
    tcCompDragger comp(g, &panel, nullptr, nullptr);
    g->setDragger(&comp, false);
    comp.setAllBands({-15, -15, -15, -15, -15});
    comp.setFiveBand(false);
    const QPoint at = onScreen(g, QPoint(100, 75)); // the middle third
    bench().leftPress(at.x(), at.y());
    EXPECT_EQ(comp.bands().current(), 2);
    bench().release(at.x(), at.y());
    const QImage image = grab();
    EXPECT_NE(image.pixel(onScreen(g, comp.handleAt(1))), QColor::fromRgba(tcBandDragger::kBandColour).rgb());
    EXPECT_EQ(image.pixel(onScreen(g, comp.handleAt(0))), QColor::fromRgba(tcBandDragger::kBandColour).rgb());
}

TEST_F(DraggerTest, OverlayBlendsBandLevelsThroughTheCrossovers)
{
    tcGuiApGraph *g = loadGraph();
    tcBandLevelOverlay overlay;
    overlay.layout(g->frequencyAxis(), m_grAxis.get(), 280, 150);
    EXPECT_EQ(overlay.levelRow(255), 0) << "0 dB at the top";
    EXPECT_EQ(overlay.levelRow(255 - 60), 75) << "-15 dB in the middle";
    EXPECT_EQ(overlay.blendHalfWidth(), 4);
    const int c1 = overlay.crossoverSamples()[0];
    EXPECT_EQ(c1, g->frequencyAxis()->toPixel(80.0f) * 500 / 280);
    const uint8_t levels[5] = {255, 195, 255, 195, 255};
    overlay.update(levels, nullptr, nullptr);
    const std::vector<int> &t = overlay.trace(0);
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[size_t(c1 - 5)], 0) << "band 1 up to the blend zone";
    EXPECT_EQ(t[size_t(c1 - 4)], 0) << "w(0) is 0";
    EXPECT_EQ(t[size_t(c1)], 37) << "half way: trunc(75 x 0.5)";
    EXPECT_EQ(t[size_t(c1 + 4)], 75) << "w(2h) is 1";
    EXPECT_EQ(t[499], 0) << "band 5 to the end";
    overlay.setCrossovers({100.0f, 300.0f, 1000.0f, 5000.0f});
    EXPECT_GT(overlay.crossoverSamples()[0], c1);
}

TEST(BandLevelOverlayTest, MeterLevelsBeforeTheFirstLayoutAreKept)
{
    tcBandLevelOverlay overlay; // the panel feeds it before its screen was ever shown
    const uint8_t levels[5] = {1, 2, 3, 4, 5};
    overlay.update(levels, levels, levels);
    EXPECT_EQ(overlay.trace(0).size(), size_t(tcBandLevelOverlay::kSamples));
}

TEST_F(DraggerTest, OverlayTracesArePaintedInTheGainReductionView)
{
    tcGuiApGraph *g = loadGraph();
    tcCompDragger comp(g, &panel, nullptr, nullptr);
    tcBandLevelOverlay overlay;
    overlay.layout(g->frequencyAxis(), m_grAxis.get(), 280, 150);
    comp.setOverlay(&overlay);
    g->setDragger(&comp, false);
    g->setMode(tcGuiApGraph::kResponse | tcGuiApGraph::kGainReduction);
    const uint8_t first[5] = {215, 215, 215, 215, 215};  // -10 dB: row 50
    const uint8_t second[5] = {175, 175, 175, 175, 175}; // -20 dB: row 100
    overlay.update(first, second, second);
    const QImage image = grab();
    const QRect plot = g->plotRect();
    const int x = plot.left() + 250 * 280 / 500;
    EXPECT_EQ(image.pixel(x, plot.top() + 50), QColor(Qt::yellow).rgb()) << "trace one";
    EXPECT_EQ(image.pixel(x, plot.top() + 100), QColor(Qt::cyan).rgb()) << "trace two, the third hidden";
    const QPoint handle = onScreen(g, comp.handleAt(1));
    ASSERT_EQ(handle.y(), plot.top()) << "all bands at 0 dB, on the top row";
    comp.setAllBands({-10, -10, -10, -10, -10});
    g->markDirty(tcGuiGraph::kRedraw);
    EXPECT_EQ(grab().pixel(onScreen(g, comp.handleAt(1))), QColor::fromRgba(tcBandDragger::kBandColour).rgb())
        << "a handle stays on top of the trace it sits on";
    overlay.setShown(1, false);
    overlay.setShown(2, true);
    g->markDirty(tcGuiGraph::kRepaint);
    EXPECT_EQ(grab().pixel(x, plot.top() + 100), QColor(Qt::red).rgb()) << "trace three";
    g->setMode(tcGuiApGraph::kGainReduction);
    EXPECT_NE(grab().pixel(onScreen(g, comp.handleAt(1))), QColor::fromRgba(tcBandDragger::kBandColour).rgb())
        << "no handles outside the controls view";
    g->setMode(tcGuiApGraph::kResponse);
    EXPECT_NE(grab().pixel(x, plot.top() + 50), QColor(Qt::yellow).rgb())
        << "only in the gain reduction view";
}

TEST_F(DraggerTest, MultibandSlideDraggerUsesThePanelsFrequencies)
{
    tcGuiApGraph *g = loadGraph();
    tcMBSlideDragger mb(g, &panel, nullptr);
    g->setDragger(&mb, false);
    mb.setBandFrequencies({30, 60, 120, 240, 480, 960, 1920, 3840, 7680, 15360}, {});
    EXPECT_NEAR(mb.handleAt(6).x() - mb.handleAt(5).x(), mb.handleAt(5).x() - mb.handleAt(4).x(), 1)
        << "octaves evenly apart on the frequency axis";
    mb.setAllBands(std::vector<double>(10, -15.0));
    mb.bands().setIndependent(5, true);
    mb.slot_prop_drag();
    const QPoint at = onScreen(g, mb.handleAt(2));
    ASSERT_EQ(bench().leftPress(at.x(), at.y()), 0);
    EXPECT_EQ(mb.bands().current(), 2);
    bench().move(at.x(), at.y() + 12, 0);
    bench().release(at.x(), at.y() + 12);
    std::vector<int> moved;
    for (int b = 0; b < 10; ++b)
        moved.push_back(mb.handleAt(b).y() - 75);
    EXPECT_EQ(moved, (std::vector<int>{12, 12, 12, 8, 4, 0, 0, 0, 0, 0}));
    EXPECT_EQ(mb.contextMenu()->actions().size(), 8);
}

TEST_F(DraggerTest, SwitchRowsBelowTheAdjustersToggleTheirParameterOnARelease)
{
    indexedPng(QStringLiteral("s.png"), 10, 10, 6);
    tcGuiApGraph *g = loadGraph("<image id=\"MBLimCheckbox\" file=\"s.png\" sections=\"6\"/>");
    tcCompDragger comp(g, &panel, nullptr, object<tcGuiImage>("MBLimCheckbox"));
    g->setDragger(&comp, false);
    SETTINGS_MAP live; // five switches in a row: 769 .. 773
    tcCompDragger::SwitchRow row;
    row.label = QStringLiteral("In");
    row.settingsBase = 769;
    comp.setSwitchRows({row}, &live, nullptr);
    EXPECT_EQ(comp.bands().bottom(), 120) << "the adjusters travel above the row";
    EXPECT_EQ(comp.rowAt(100), 0);
    EXPECT_EQ(comp.rowAt(110), 0);
    EXPECT_EQ(comp.rowAt(111), -1);
    comp.setAllBands({-15, -15, -15, -15, -15});

    const QPoint sw = onScreen(g, QPoint(comp.bands().bandX()[2], 100));
    const bool before = live.getBool(771);
    ASSERT_EQ(bench().leftPress(sw.x() + 2, sw.y() + 5), 0);
    EXPECT_EQ(sectionOfPixel(grab().pixel(sw + QPoint(2, 2))), 2) << "pressed, off";
    bench().release(sw.x() + 2, sw.y() + 5);
    EXPECT_EQ(live.getBool(771), !before);
    EXPECT_TRUE(panel.sent.isEmpty()) << "a switch press moves no adjuster";
    EXPECT_EQ(sectionOfPixel(grab().pixel(sw + QPoint(2, 2))), 4) << "on, the current switch";

    // Dragged off the switch before the release: nothing changes.
    ASSERT_EQ(bench().leftPress(sw.x() + 2, sw.y() + 5), 0);
    bench().move(sw.x() + 2, sw.y() + 40, 0);
    bench().release(sw.x() + 2, sw.y() + 40);
    EXPECT_EQ(live.getBool(771), !before);
    EXPECT_EQ(comp.bands().pixel(2), 75);
}
