// Axes, the response graph (tables, titles, layouts, handler forwarding) and the dynamics curves.
#include "gui/graph_handler.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_dyngraph.h"
#include "gui/gui_test_util.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

class RecordingHandler : public tcGraphHandler
{
public:
    explicit RecordingHandler(const char *name, int result = 0) : m_name(name), m_result(result) {}
    QStringList log;
    QSize plot;
    void setPlotSize(int w, int h) override { plot = QSize(w, h); }
    int leftPress(int x, int y) override { return note("press", x, y); }
    int release(int x, int y) override { return note("release", x, y); }
    int rightPress(int x, int y) override { return note("rpress", x, y); }
    int release2(int x, int y) override { return note("release2", x, y); }
    int drag(int dx, int dy) override { return note("drag", dx, dy); }
    int hover(int x, int y) override { return note("hover", x, y); }
    int wheel(int steps) override { return note("wheel", steps, 0); }
    int doubleClick(int x, int y) override { return note("double", x, y); }
    void drawCurves(QPainter &p) override { p.fillRect(0, 0, 5, 5, Qt::magenta); }

private:
    int note(const char *what, int a, int b)
    {
        log << QStringLiteral("%1 %2 %3 %4").arg(m_name, QLatin1String(what)).arg(a).arg(b);
        return m_result;
    }
    QString m_name;
    int m_result;
};

class GraphTest : public GuiTest
{
protected:
    tcGuiApGraph *loadGraph()
    {
        // Plot of 280 x 150 inside the gutters (30 + 30, 15 + 20).
        EXPECT_EQ(
            load("<ap_graph id=\"G\"><position1 x=\"10\" y=\"20\" w=\"340\" h=\"185\"/>"
                 "<position2 x=\"0\" y=\"0\" w=\"400\" h=\"300\"/><color plot_bg=\"000080\"/></ap_graph>"),
            0);
        auto *g = object<tcGuiApGraph>("G");
        showAll();
        return g;
    }
};

} // namespace

TEST(AxisTest, LinearAndLogarithmicMappings)
{
    tcGuiAxis freq(QString(), tcGuiAxis::kLog, 280, 20.0f, 20000.0f, true);
    EXPECT_EQ(freq.toPixel(20.0f), 0);
    EXPECT_EQ(freq.toPixel(20000.0f), 280);
    EXPECT_EQ(freq.toPixel(1000.0f), 159);
    EXPECT_NEAR(freq.toValue(280), 20000.0f, 0.5f);
    EXPECT_NEAR(freq.toValue(0), 20.0f, 0.01f);
    tcGuiAxis response(QString(), tcGuiAxis::kLinear, 150, -15.0f, 15.0f);
    EXPECT_EQ(response.toPixel(15.0f), 0);
    EXPECT_EQ(response.toPixel(0.0f), 75);
    EXPECT_EQ(response.toPixel(-15.0f), 150);
    EXPECT_FLOAT_EQ(response.toValue(75), 0.0f);
    EXPECT_FLOAT_EQ(response.toValue(0), 15.0f);
    tcGuiAxis input(QString(), tcGuiAxis::kLinear, 100, -80.0f, 0.0f, true);
    EXPECT_EQ(input.toPixel(-80.0f), 0) << "a horizontal linear axis starts at its minimum";
    EXPECT_EQ(input.toPixel(0.0f), 100);
    EXPECT_EQ(input.toPixel(std::numeric_limits<float>::infinity()), 1000000) << "bounded, never undefined";
}

TEST_F(GraphTest, FrequencyAxisTicksAndResponseAxis)
{
    tcGuiApGraph *g = loadGraph();
    EXPECT_EQ(g->plotRect(), QRect(40, 35, 280, 150));
    const tcGuiAxis *f = g->frequencyAxis();
    ASSERT_EQ(f->ticks().size(), 28u);
    QStringList labels;
    int majors = 0;
    for (const auto &t : f->ticks()) {
        if (!t.label.isEmpty())
            labels << t.label;
        majors += (t.kind & tcGuiAxis::kMajor) ? 1 : 0;
    }
    EXPECT_EQ(labels, (QStringList{"20", "50", "100", "200", "500", "1K", "2K", "5K", "10K", "20K"}));
    EXPECT_EQ(majors, 3);
    EXPECT_EQ(g->xAxis(), f);
    EXPECT_EQ(g->yAxis(), g->responseAxis());
    EXPECT_EQ(g->yAxis()->toPixel(0.0f), 75);
    EXPECT_EQ(g->spectrumAxis(7)->ticks().back().label, QStringLiteral("-51"));
    EXPECT_EQ(g->spectrumAxis(0)->ticks().front().label, QStringLiteral("0"));
}

TEST_F(GraphTest, SpectrumTablesGainRowsAndRange)
{
    tcGuiApGraph *g = loadGraph();
    EXPECT_EQ(g->spectrumRow(255), 35) << "0 dBFS at the plot's top";
    EXPECT_EQ(g->spectrumRow(0), 35 + 151) << "just below the plot";
    EXPECT_EQ(g->gainRow(0), 35 + 75);
    EXPECT_EQ(g->gainRow(-128), 35 + 150);
    EXPECT_EQ(g->gainRow(127), 35 + 1);
    g->setSpectrumRange(9);
    EXPECT_EQ(g->spectrumRange(), 7);
    g->setMode(tcGuiApGraph::kAudio);
    EXPECT_EQ(g->yAxis2(), g->spectrumAxis(7));
    g->setMode(tcGuiApGraph::kResponse);
    EXPECT_EQ(g->yAxis2(), g->plainAxis());
}

TEST_F(GraphTest, TitlesNameChannelViewsAndTracesEachWithItsScales)
{
    tcGuiApGraph *g = loadGraph();
    g->setChannel(0, true);
    g->setMode(tcGuiApGraph::kAudio | tcGuiApGraph::kGainReduction);
    EXPECT_EQ(g->title(), QStringLiteral("Left Audio & Left Gain Reduction"));
    g->setChannel(1, false);
    g->setMode(tcGuiApGraph::kAudio);
    EXPECT_EQ(g->title(), QStringLiteral("Channel 2 Audio"));
    g->setExtraTitle(QStringLiteral("Parametric EQ"), false);
    EXPECT_EQ(g->title(), QStringLiteral("Channel 2 Audio"));
    g->setMode(tcGuiApGraph::kAudio | tcGuiApGraph::kResponse);
    EXPECT_EQ(g->title(), QStringLiteral("Channel 2 Audio & Parametric EQ"));
    g->setChannel(-1, true);
    EXPECT_EQ(g->title(), QStringLiteral("Right Audio & Parametric EQ"));

    // Each trace has its caption and scales.
    g->setMode(tcGuiApGraph::kAudio);
    g->setTrace(tcGuiApGraph::kSpectrumTrace, QStringLiteral("Input"));
    EXPECT_EQ(g->title(), QStringLiteral("Input Spectrum"));
    EXPECT_EQ(g->yAxis2(), g->spectrumAxis(0));
    EXPECT_EQ(g->xAxis(), g->frequencyAxis());

    // Gain reduction across frequency: signed bytes, 0 dB in the middle where gainRow puts it.
    g->setTrace(tcGuiApGraph::kGainTrace, QStringLiteral("Input"));
    EXPECT_EQ(g->title(), QStringLiteral("Gain Reduction by Frequency"));
    EXPECT_EQ(g->yAxis2(), g->gainAxis());
    EXPECT_EQ(g->plotRect().top() + g->gainAxis()->toPixel(0.0f), g->gainRow(0));
    EXPECT_EQ(g->plotRect().top() + g->gainAxis()->toPixel(-32.0f), g->gainRow(-128));
    EXPECT_EQ(g->gainAxis()->title(), QStringLiteral("Gain Reduction dB"));

    // A waveform has time across, not frequency.
    g->setTrace(tcGuiApGraph::kWaveTrace, QStringLiteral("Output"));
    EXPECT_EQ(g->title(), QStringLiteral("Output Waveform"));
    EXPECT_EQ(g->xAxis(), g->timeAxis());
    EXPECT_EQ(g->yAxis2(), g->waveAxis());
    EXPECT_EQ(g->timeAxis()->ticks().back().label, QStringLiteral("25 ms"));
    // With the controls view the curves keep the frequency axis; the caption gives the time span.
    g->setExtraTitle(QStringLiteral("Parametric EQ Response"), false);
    g->setMode(tcGuiApGraph::kAudio | tcGuiApGraph::kResponse);
    EXPECT_EQ(g->xAxis(), g->frequencyAxis());
    EXPECT_EQ(g->title(), QStringLiteral("Output Waveform (25 ms across) & Parametric EQ Response"));
}

TEST_F(GraphTest, EventsGoToTheActiveHandlerPressesBesideThePlotToTheSecondAndLayoutsResizeIt)
{
    tcGuiApGraph *g = loadGraph();
    RecordingHandler dragger("D", tcGuiGraph::kRedraw), second("S");
    g->setSecondHandler(&second);
    g->setDragger(&dragger, false);
    EXPECT_EQ(dragger.plot, QSize(280, 150));
    g->setMode(tcGuiApGraph::kResponse);
    ASSERT_EQ(bench().leftPress(50, 45), 0);
    bench().move(53, 41, kModShift);
    bench().release(53, 41);
    EXPECT_EQ(dragger.log, (QStringList{"D press 10 10", "D drag 15 -20", "D release 13 6"}));
    EXPECT_TRUE(g->dirty()) << "the handler's flags reach markDirty";
    // A press on the labels left of the plot goes to the second handler with its drags and release.
    ASSERT_EQ(bench().leftPress(20, 100), 0);
    bench().move(25, 90, 0);
    bench().release(25, 90);
    EXPECT_EQ(second.log, (QStringList{"S press -20 65", "S drag 5 -10", "S release -15 55"}));
    // Right press and release2, wheel and double click.
    bench().rightPress(60, 60);
    bench().release(60, 60);
    bench().wheel(60, 60, 1, 0);
    bench().wheel(60, 60, -1, kModShift);
    bench().doubleClick(60, 60);
    EXPECT_EQ(dragger.log.mid(3), (QStringList{"D rpress 20 25", "D release2 20 25", "D wheel 3 0",
                                               "D wheel -10 0", "D double 20 25"}));
    // Without the controls view everything goes to the second slot.
    g->setMode(tcGuiApGraph::kAudio);
    second.log.clear();
    bench().move(60, 60, 0);
    EXPECT_EQ(second.log, QStringList{"S hover 20 25"});
    bench().move(500, 500, 0);
    EXPECT_EQ(second.log.size(), 1) << "hover only over the graph";
    // Another layout resizes the plot and tells the handler.
    g->setLayout(1);
    EXPECT_EQ(g->area(), QRect(0, 0, 400, 300));
    EXPECT_EQ(dragger.plot, QSize(340, 265));
    EXPECT_EQ(g->frequencyAxis()->length(), 340);
    g->setLayout(9);
    EXPECT_EQ(g->layout(), 1);
}

TEST_F(GraphTest, PaintsPlotAndHandlerLayersAndTheSpectrum)
{
    tcGuiApGraph *g = loadGraph();
    RecordingHandler dragger("D");
    g->setDragger(&dragger, false);
    g->setMode(tcGuiApGraph::kResponse | tcGuiApGraph::kAudio);
    uint8_t data[tcGuiApGraph::kSpectrumPoints];
    std::fill(std::begin(data), std::end(data), uint8_t(254)); // even first byte: spectrum rows
    g->setSpectrum(data);
    const QImage image = grab();
    EXPECT_EQ(image.pixelColor(41, 37), QColor(Qt::magenta))
        << "the handler's curve layer at the plot's corner";
    EXPECT_EQ(image.pixelColor(200, 150), QColor(0, 0, 128)) << "plot background";
    EXPECT_EQ(image.pixelColor(15, 25), QColor(Qt::black)) << "gutter";
    const int row = g->spectrumRow(254);
    EXPECT_EQ(image.pixelColor(200, row), QColor(0, 255, 0)) << "the spectrum line in the audio colour";
}

TEST(DynCurveTest, PointsInEveryMode)
{
    using D = tcGuiDynGraph;
    const std::array<float, 7> p{-20, 2, 1, -10, -30, 6, 2};
    // The points a mode gives for a curve's parameters, as many as it reports.
    auto points = [](int mode, const std::array<float, 7> &params) {
        std::array<QPointF, 5> P;
        const int n = D::computePoints(mode, params, -80, 0, P);
        return QList<QPointF>(P.begin(), P.begin() + std::max(n, 0));
    };
    EXPECT_EQ(points(0, p), (QList<QPointF>{{-83, -85}, {-33, -35}, {-20, -19}, {-10, -9}, {0, 1}}));
    EXPECT_EQ(points(1, p), (QList<QPointF>{{-80, -85}, {-30, -35}, {-20, -19}, {-10, -9}, {0, 1}}));
    EXPECT_EQ(points(2, p), (QList<QPointF>{{-80, -80}, {-10, -10}, {0, -10}}));
    EXPECT_EQ(points(3, p), (QList<QPointF>{{-80, -79}, {-20, -19}, {18, 0}}));
    std::array<float, 7> high = p;
    high[0] = 5;
    EXPECT_EQ(points(3, high).size(), 2);
    EXPECT_EQ(points(4, p), (QList<QPointF>{{-80, -79}, {-20, -19}, {-2, -10}, {0, -10}}));
    std::array<float, 7> low = p;
    low[3] = -25;
    EXPECT_EQ(points(4, low), (QList<QPointF>{{-80, -79}, {-26, -25}, {-26, -25}, {0, -25}}));
    EXPECT_EQ(points(5, p), (QList<QPointF>{{-110, -115}, {-30, -35}, {-30, -29}, {-20, -19}, {20, 1}}));
    EXPECT_EQ(points(6, p), (QList<QPointF>{{-113, -115}, {-33, -35}, {-30, -29}, {-20, -19}, {20, 1}}));
    EXPECT_EQ(points(5, high).size(), 4);
}

TEST_F(GraphTest, DynGraphConfiguresCurvesAndDrawOrder)
{
    ASSERT_EQ(load("<dyngraph id=\"Y\"><position x=\"0\" y=\"0\" w=\"180\" h=\"170\"/><color "
                   "curve_2=\"00ffff\"/></dyngraph>"),
              0);
    auto *y = object<tcGuiDynGraph>("Y");
    showAll();
    EXPECT_EQ(y->curve(1).colour, 0xFF00FFFFu);
    EXPECT_EQ(y->curve(0).colour, 0xFFFF0000u);
    y->configure(2, 1, 3);
    EXPECT_EQ(y->xAxis()->minimum(), -60.0f);
    EXPECT_EQ(y->xAxis()->maximum(), 20.0f);
    y->setCurve(0, -20, 2, 0, -10, -20, 0, 1);
    EXPECT_EQ(y->curve(0).count, 3);
    // Plot 120 x 130 from (30, 15): (-60, -60) at the bottom-left.
    EXPECT_EQ(y->curve(0).pixels[0], QPoint(30, 15 + 130));
    y->setCurve(4, 1, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(y->curve(4).p[0], 0.0f) << "indices past the count are ignored";
    y->configure(1, 1, 3);
    y->setCurveParam(0, 4, -7);
    EXPECT_EQ(y->curve(0).p[0], -7.0f);
    EXPECT_EQ(y->curve(0).p[3], -7.0f);
    EXPECT_EQ(y->curve(0).p[4], -7.0f);
    y->bringToFront(0);
    EXPECT_EQ(y->drawOrder(), (std::array<int, 5>{1, 2, 3, 4, 0}));
    const QImage image = grab();
    EXPECT_EQ(image.pixelColor(100, 100), QColor(Qt::black)) << "plot background";
    // Curve 0 of mode 1 with p = (-7, 3, 0, -7, -7, 0, 1) passes through (-7, -7) and is drawn last.
    const QPoint knee(30 + y->xAxis()->toPixel(-7.0f), 15 + y->yAxis()->toPixel(-7.0f));
    bool red = false;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            red |= image.pixelColor(knee + QPoint(dx, dy)) == QColor(Qt::red);
    EXPECT_TRUE(red);
}

TEST_F(GraphTest, TheGainReductionViewDrawsItsBandsAndAnEmptyControlsViewSaysSo)
{
    tcGuiApGraph *g = loadGraph();
    g->setMode(tcGuiApGraph::kGainReduction);
    g->setReductionBlock(QStringLiteral("Compressor"));
    EXPECT_EQ(g->title(), QStringLiteral("Compressor Gain Reduction"));
    ASSERT_TRUE(g->drawsOwnReduction());
    EXPECT_EQ(g->yAxis2(), g->gainAxis());
    g->setReduction({{20.0f, 1000.0f, 40, 0}, {1000.0f, 20000.0f, 0, 80}});
    QImage image = grab();
    const int left = g->plotRect().left();
    const QColor l = QColor::fromRgba(tcGuiApGraph::kReductionColours[0]);
    const QColor r = QColor::fromRgba(tcGuiApGraph::kReductionColours[1]);
    auto near = [&](int x, int row, const QColor &c) {
        return image.pixelColor(x, row) == c || image.pixelColor(x, row + 1) == c ||
               image.pixelColor(x, row - 1) == c;
    };
    EXPECT_TRUE(near(left + g->frequencyAxis()->toPixel(200.0f), g->gainRow(-40), l)) << "10 dB, left";
    EXPECT_TRUE(near(left + g->frequencyAxis()->toPixel(5000.0f), g->gainRow(-80), r)) << "20 dB, right";

    // A panel with its own gain-reduction scale draws its bands itself.
    const tcGuiAxis own(QStringLiteral("Gain Reduction dB"), tcGuiAxis::kLinear, 150, -30.0f, 0.0f);
    g->setCustomAxes(nullptr, &own, false);
    EXPECT_FALSE(g->drawsOwnReduction());
    EXPECT_EQ(g->yAxis2(), &own);
    g->setCustomAxes(nullptr, nullptr, false);

    // The controls view with no editor attached says there is nothing to edit.
    g->setMode(tcGuiApGraph::kResponse);
    ASSERT_TRUE(g->showsNoCurveNote());
    auto notePixels = [&] {
        image = grab();
        int n = 0;
        const QRect plot = g->plotRect();
        for (int y = plot.top(); y < plot.top() + 25; ++y)
            for (int x = plot.left(); x <= plot.right(); ++x)
                n += image.pixelColor(x, y).red() > 120 ? 1 : 0; // text, or the major grid lines
        return n;
    };
    const int withNote = notePixels();
    RecordingHandler dragger("D");
    g->setDragger(&dragger, true);
    EXPECT_FALSE(g->showsNoCurveNote());
    EXPECT_GT(withNote - notePixels(), 40) << "the note's letters";
    g->setDragger(nullptr, false);
}
