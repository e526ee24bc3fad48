// Graph editing figures with the default skin on the compressor screen: one drag event through the
// band model and the panel to the value frames that would go out, one update of the band-level
// overlay's three traces, and one repaint of the main graph with its adjusters and overlay. And the
// equaliser: the four section curves and their sum for a 500-column plot, and one handle drag event
// through the knobs to the value frames.
#include "draggers/band_overlay.h"
#include "draggers/comp_dragger.h"
#include "draggers/peq_curve.h"
#include "draggers/peq_dragger.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_axis.h"
#include "link/frames.h"
#include "panels/cg_compressor.h"
#include "panels/cg_parametric.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "skin/vorud_widget.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdint>

using namespace orba;

namespace {

const QString kSkin = QStringLiteral(ORBA_BUILD_DIR "/skins/default");

struct Surface
{
    SETTINGS_MAP live;
    GLOBALS_MAP globals;
    SETTINGS_FLAGS toShow, toSend;
    tcVORudWidget host;
    tcKelBench *bench = nullptr;
    tcControlGroupCompressor *comp = nullptr;

    Surface()
    {
        live.setChangeCallback(&marked, this);
        KelEnvironment env;
        env.live = &live;
        env.globals = &globals;
        env.settingsToShow = &toShow;
        bench = new tcKelBench(&host, kSkin, env);
        host.setBench(bench);
        if (bench->loadSkin() != 0)
            qFatal("The default skin did not load from %s", qPrintable(kSkin));
        bench->setGraphView(tcGuiApGraph::kResponse | tcGuiApGraph::kAudio | tcGuiApGraph::kGainReduction);
        bench->setScreen(tcKelBench::kCompressorScreen);
        live.setBool(769, true, CHANGE_PROCESSOR);
        for (uint16_t id = 770; id <= 773; ++id)
            live.setBool(id, true, CHANGE_PROCESSOR);
        comp = bench->compressorPanel();
        comp->onRadio(Ctl::COMP_TYPE, Ctl::COMP_TYPE_C_RAT);
        if (!comp->dragger())
            qFatal("No compressor dragger on the main graph");
    }
    static void marked(void *context, uint16_t id, ChangeSource source)
    {
        if (source == CHANGE_USER)
            static_cast<Surface *>(context)->toSend.set(id);
    }
};

struct FrameCount
{
    int64_t frames = 0, bytes = 0;
    static void sink(void *context, uint8_t *, size_t length)
    {
        auto *self = static_cast<FrameCount *>(context);
        ++self->frames;
        self->bytes += int64_t(length);
    }
    // The marked values packed into frames, as the session sends them; returns how many.
    int64_t send(SETTINGS_FLAGS &marks, const SETTINGS_MAP &live)
    {
        int64_t entries = 0;
        ValuePacker packer = ValuePacker::forValues(TARGET_LIVE, &FrameCount::sink, this);
        for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
            if (marks.take(id) && putSettingEntry(packer.entry(), live, id)) {
                packer.commit();
                ++entries;
            }
        packer.finish();
        return entries;
    }
};

void OneDragEventToTheFramesSent(benchmark::State &state)
{
    Surface s;
    tcCompDragger *dragger = s.comp->dragger();
    const QPoint at = dragger->handleAt(2);
    dragger->leftPress(at.x(), at.y());
    FrameCount count;
    int64_t entries = 0;
    int dy = 3;
    for (auto _ : state) {
        dy = -dy; // up and down by a few table steps, so every event changes all five ratios
        dragger->drag(0, dy);
        entries += count.send(s.toSend, s.live);
    }
    state.counters["frames/event"] = benchmark::Counter(double(count.frames) / double(state.iterations()));
    state.counters["values/event"] = benchmark::Counter(double(entries) / double(state.iterations()));
}
BENCHMARK(OneDragEventToTheFramesSent)->Unit(benchmark::kMicrosecond);

void OneOverlayUpdateOfThreeTraces(benchmark::State &state)
{
    tcGuiAxis frequency(QString(), tcGuiAxis::kLog, 500, 20.0f, 20000.0f, true);
    tcGuiAxis level(QString(), tcGuiAxis::kLinear, 200, -30.0f, 0.0f);
    tcBandLevelOverlay overlay;
    overlay.layout(&frequency, &level, 500, 200);
    uint8_t bands[3][5] = {{200, 210, 220, 230, 240}, {180, 190, 200, 210, 220}, {150, 170, 190, 210, 230}};
    for (auto _ : state) {
        for (auto &trace : bands)
            for (uint8_t &b : trace)
                b = uint8_t(b + 7);
        overlay.update(bands[0], bands[1], bands[2]);
        benchmark::DoNotOptimize(overlay.trace(2).data());
    }
}
BENCHMARK(OneOverlayUpdateOfThreeTraces)->Unit(benchmark::kMicrosecond);

void OneRepaintOfTheGraphWithHandlesAndOverlay(benchmark::State &state)
{
    Surface s;
    tcGuiApGraph *graph = s.bench->mainGraph();
    uint8_t datagram[604] = {};
    for (int i = 0; i < 15; ++i)
        datagram[64 + i] = uint8_t(8 * i);
    s.bench->meterFrame(datagram);
    QImage canvas(graph->area().right() + 1, graph->area().bottom() + 1, QImage::Format_RGB32);
    for (auto _ : state) {
        graph->markDirty(tcGuiGraph::kRedraw);
        QPainter painter(&canvas);
        graph->draw(painter);
    }
}
BENCHMARK(OneRepaintOfTheGraphWithHandlesAndOverlay)->Unit(benchmark::kMicrosecond);

void RecomputeFourEqCurvesAndTheSumFor500Columns(benchmark::State &state)
{
    using namespace orba::draggers;
    PeqSections sections;
    sections[0] = {true, 60.0, 1.0, 6.0};
    sections[1] = {true, 800.0, 0.5, -4.0};
    sections[2] = {true, 2800.0, 0.67, 3.0};
    sections[3] = {true, 12000.0, 0.4, 8.0};
    const std::vector<double> columns = peqColumnFrequencies(500);
    PeqCurves curves;
    double lift = 3.0;
    for (auto _ : state) {
        lift = -lift; // a new lift each time, as a drag gives
        sections[2].lift = lift;
        peqCompute(sections, true, columns, curves);
        benchmark::DoNotOptimize(curves.sum.data());
    }
    state.counters["columns"] = benchmark::Counter(double(columns.size()));
}
BENCHMARK(RecomputeFourEqCurvesAndTheSumFor500Columns)->Unit(benchmark::kMicrosecond);

void OneEqHandleDragEventToTheFramesSent(benchmark::State &state)
{
    Surface s;
    s.bench->setScreen(tcKelBench::kParametricScreen);
    tcPEQDragger *dragger = s.bench->parametricPanel()->dragger();
    if (!dragger || s.bench->mainGraph()->dragger() != dragger)
        qFatal("No equaliser dragger on the main graph");
    const QPoint at = dragger->handleRect(2).center();
    dragger->leftPress(at.x(), at.y());
    if (dragger->dragMode() != tcPEQDragger::kPointDrag)
        qFatal("The press missed the handle");
    FrameCount count;
    int64_t entries = 0;
    int d = 6;
    for (auto _ : state) {
        d = -d; // right and up, then back: frequency and lift change every event
        dragger->drag(d, d);
        entries += count.send(s.toSend, s.live);
        // The curves follow before the next paint.
        benchmark::DoNotOptimize(dragger->sumPixels().data());
    }
    state.counters["frames/event"] = benchmark::Counter(double(count.frames) / double(state.iterations()));
    state.counters["values/event"] = benchmark::Counter(double(entries) / double(state.iterations()));
}
BENCHMARK(OneEqHandleDragEventToTheFramesSent)->Unit(benchmark::kMicrosecond);

} // namespace
