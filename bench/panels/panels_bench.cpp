// Control surface figures with the default skin: loading it with its eight panels, dispatching a
// change of every parameter, one meter frame handed to the panels and the repaint it causes at
// 100 %, 150 % and 200 % scale, and repainting the whole window.
#include "../../tests/support/show_exposed.h"
#include "panels/kel_bench.h"
#include "skin/vorud_widget.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

const QString kSkin = QStringLiteral(ORBA_BUILD_DIR "/skins/default");

// Counts the paint events, so a benchmark can tell that its repaint happened.
class CountingHost : public tcVORudWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        tcVORudWidget::paintEvent(event);
    }
};

struct Surface
{
    SETTINGS_MAP live;
    GLOBALS_MAP globals;
    SETTINGS_FLAGS toShow;
    CountingHost host;
    tcKelBench *bench = nullptr;

    explicit Surface(double scale = 1.0)
    {
        KelEnvironment env;
        env.live = &live;
        env.globals = &globals;
        env.settingsToShow = &toShow;
        bench = new tcKelBench(&host, kSkin, env);
        host.setBench(bench);
        bench->setScaling(scale != 1.0, float(scale), float(scale));
        if (bench->loadSkin() != 0)
            qFatal("The default skin did not load from %s", qPrintable(kSkin));
        bench->setScreen(tcKelBench::kInputScreen);
    }
    void show()
    {
        if (!orba::test::showExposed(host))
            qFatal("The window was never exposed");
    }
};

void LoadTheDefaultSkinWithItsPanels(benchmark::State &state)
{
    for (auto _ : state) {
        Surface s;
        benchmark::DoNotOptimize(s.bench->panels());
    }
}
BENCHMARK(LoadTheDefaultSkinWithItsPanels)->Unit(benchmark::kMillisecond);

void DispatchAChangeOfEveryParameter(benchmark::State &state)
{
    Surface s;
    for (auto _ : state) {
        for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
            s.bench->onSettingsId(id);
    }
    state.SetItemsProcessed(state.iterations() * orba::settingCount());
}
BENCHMARK(DispatchAChangeOfEveryParameter)->Unit(benchmark::kMicrosecond);

// One meter frame as the window gets it on line: every meter level and the spectrum change, the
// panels take the frame, and the window repaints what changed. Arg: scale in percent.
void OneMeterFrameAndItsRepaint(benchmark::State &state)
{
    Surface s(state.range(0) / 100.0);
    s.show();
    uint8_t frame[604] = {};
    uint8_t step = 0;
    uint32_t noise = 12345;
    // The first frame prepares what is drawn at this scale, as the first seconds on line do.
    s.bench->meterFrame(frame);
    QCoreApplication::processEvents();
    const int paintsBefore = s.host.paints;
    for (auto _ : state) {
        step = uint8_t(step + 5);
        std::memset(frame + 46, step, 58); // every level changes: every meter repaints
        // and the graph's trace: a falling shape whose points flicker, as an analyser's do
        for (size_t i = 0; i < 500; ++i) {
            noise = noise * 1103515245u + 12345u;
            frame[104 + i] = uint8_t(150 - i / 6 + step / 16 + (noise >> 24) % 16);
        }
        s.bench->meterFrame(frame); // paints what changed before it returns
        QCoreApplication::processEvents();
    }
    state.counters["paints_per_frame"] =
        benchmark::Counter(double(s.host.paints - paintsBefore) / double(state.iterations()));
}
BENCHMARK(OneMeterFrameAndItsRepaint)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMicrosecond);

void RepaintTheWholeWindow(benchmark::State &state)
{
    Surface s;
    QImage canvas(s.host.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&canvas);
        s.bench->paint(painter, canvas.rect());
    }
}
BENCHMARK(RepaintTheWholeWindow)->Unit(benchmark::kMillisecond);

} // namespace
