// Skin figures: loading a generated skin of about 300 objects with pictures, a full repaint of its
// 1100 x 720 surface, and a meter level change with its partial repaint.
#include "../../tests/support/show_exposed.h"
#include "gui/gui_meter.h"
#include "gui/gui_object.h"
#include "gui/skin_elements.h"
#include "sample_skin.h"
#include "skin/plain_bench.h"
#include "skin/vorud_widget.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kGroups = 57; // 57 x 5 + 17 = 302 objects

QString sampleFolder()
{
    static QTemporaryDir dir;
    static const int objects = orba::sample::writeSampleSkin(dir.path(), kGroups);
    (void)objects;
    return dir.path();
}

std::unique_ptr<tcPlainBench> loaded()
{
    auto bench = std::make_unique<tcPlainBench>(sampleFolder(), &guiSkinVocabulary());
    bench->setQuiet(true);
    bench->loadSkin();
    return bench;
}

void showAll(tcBench &bench, QWidget *host)
{
    for (tcBenchObject *o : bench.objects()) {
        auto *g = static_cast<tcGuiObject *>(o);
        g->setHostWidget(host);
        if (g->typeCode() != kGuiImage || g->id() == NameString("BKGRND"))
            g->setVisible(true);
    }
}

void LoadASkinOf300Objects(benchmark::State &state)
{
    sampleFolder();
    size_t objects = 0;
    for (auto _ : state) {
        auto bench = loaded();
        objects = bench->objects().size();
        benchmark::DoNotOptimize(objects);
    }
    state.counters["objects"] = static_cast<double>(objects);
}
BENCHMARK(LoadASkinOf300Objects)->Unit(benchmark::kMillisecond);

// The same with Qt's pixmap cache emptied first, so every picture is read and decoded again.
void LoadASkinOf300ObjectsReadingEveryPicture(benchmark::State &state)
{
    sampleFolder();
    for (auto _ : state) {
        QPixmapCache::clear();
        auto bench = loaded();
        benchmark::DoNotOptimize(bench->objects().size());
    }
}
BENCHMARK(LoadASkinOf300ObjectsReadingEveryPicture)->Unit(benchmark::kMillisecond);

void RepaintTheWholeSurface(benchmark::State &state)
{
    auto bench = loaded();
    showAll(*bench, nullptr);
    QImage surface(1100, 720, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&surface);
        bench->paint(painter, QRect(0, 0, 1100, 720));
    }
}
BENCHMARK(RepaintTheWholeSurface)->Unit(benchmark::kMillisecond);

void ChangeAMeterLevel(benchmark::State &state)
{
    tcVORudWidget host;
    auto *bench = loaded().release();
    bench->setHost(&host);
    host.setBench(bench);
    host.resize(1100, 720);
    showAll(*bench, &host);
    if (!orba::test::showExposed(host))
        qFatal("The window was never exposed");
    auto *meter = static_cast<tcGuiMeter *>(tcGuiObject::find(bench, NameString("METER0"), kGuiMeter));
    uint8_t level = 0;
    for (auto _ : state) {
        level = static_cast<uint8_t>(level + 7);
        const uint8_t levels[2] = {level, static_cast<uint8_t>(level / 2)}, peaks[2] = {10, 20},
                      ovl[2] = {0, 1};
        meter->setLevels(levels, peaks, ovl); // repaints the bars synchronously
    }
}
BENCHMARK(ChangeAMeterLevel)->Unit(benchmark::kMicrosecond);

} // namespace
