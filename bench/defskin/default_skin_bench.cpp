// Default skin figures: generating and packing it with the built tools (whole processes), loading
// it with the real loader from its folder and from its packed file, unpacking the packed file, and
// painting one screen at 100 %, 150 % and 200 % (the last from the pictures' companions).
#include "orba-skingen/default_skin_objects.h"
#include "skinshot.h"

#include "gui/skin_elements.h"
#include "skin/plain_bench.h"
#include "skin/skin_pack.h"
#include "skin/skin_source.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmapCache>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

const QString kBuild = QStringLiteral(ORBA_BUILD_DIR);

QString skinFolder()
{
    return kBuild + QStringLiteral("/skins/default");
}

QString packedSkin()
{
    return kBuild + QStringLiteral("/skins/default.skin");
}

bool runTool(const QString &name, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(kBuild + QStringLiteral("/bin/") + name, args);
    p.waitForFinished(60000);
    p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void GenerateTheDefaultSkin(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath(QStringLiteral("default"));
    for (auto _ : state) {
        if (!runTool(QStringLiteral("orba-skingen"), {out}))
            state.SkipWithError("orba-skingen failed");
    }
    state.counters["files"] =
        static_cast<double>(QDir(out).entryList(QDir::Files).size() +
                            QDir(out + QStringLiteral("/images")).entryList(QDir::Files).size());
}
BENCHMARK(GenerateTheDefaultSkin)->Unit(benchmark::kMillisecond)->Iterations(5);

void PackTheDefaultSkin(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath(QStringLiteral("default.skin"));
    for (auto _ : state) {
        if (!runTool(QStringLiteral("SkinPacker"),
                     {QStringLiteral("-p"), QStringLiteral("-d"), skinFolder(), QStringLiteral("-f"), out}))
            state.SkipWithError("SkinPacker failed");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(out).size());
}
BENCHMARK(PackTheDefaultSkin)->Unit(benchmark::kMillisecond)->Iterations(5);

void UnpackTheDefaultSkin(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        const auto result = orba::skin::unpackSkinFile(packedSkin(), dir.path());
        if (result.status != orba::skin::UnpackStatus::Ok)
            state.SkipWithError("unpacking failed");
        benchmark::DoNotOptimize(result.written);
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(packedSkin()).size());
}
BENCHMARK(UnpackTheDefaultSkin)->Unit(benchmark::kMillisecond);

void LoadTheDefaultSkin(benchmark::State &state)
{
    QWidget host;
    size_t objects = 0;
    for (auto _ : state) {
        QPixmapCache::clear(); // every picture read and decoded again
        auto bench = orba::skinshot::loadSkin(skinFolder(), &host, nullptr);
        if (!bench)
            state.SkipWithError("the default skin does not load");
        else
            objects = bench->objects().size();
    }
    state.counters["objects"] = static_cast<double>(objects);
}
BENCHMARK(LoadTheDefaultSkin)->Unit(benchmark::kMillisecond);

// As the application loads it at start-up: the packed file read, its entries kept, the skin loaded
// from them (the companions of pictures left in the file).
void LoadThePackedDefaultSkin(benchmark::State &state)
{
    QWidget host;
    size_t objects = 0;
    for (auto _ : state) {
        orba::skin::PackContents pack = orba::skin::readPackedSkin(packedSkin());
        tcPlainBench bench(
            std::make_shared<orba::skin::PackSkinSource>(packedSkin(), std::move(pack.entries)),
            &guiSkinVocabulary());
        bench.setQuiet(true);
        bench.setHost(&host);
        if (bench.loadSkin() < 0)
            state.SkipWithError("the packed default skin does not load");
        objects = bench.objects().size();
    }
    state.counters["objects"] = static_cast<double>(objects);
    state.counters["bytes"] = static_cast<double>(QFileInfo(packedSkin()).size());
}
BENCHMARK(LoadThePackedDefaultSkin)->Unit(benchmark::kMillisecond);

// Arg: scale in percent.
void PaintTheCompressorScreen(benchmark::State &state)
{
    QWidget host;
    auto bench = orba::skinshot::loadSkin(skinFolder(), &host, nullptr);
    if (!bench) {
        state.SkipWithError("the default skin does not load");
        return;
    }
    orba::skinshot::showScreen(*bench, orba::skingen::kCompressor);
    for (auto _ : state) {
        const QImage image = orba::skinshot::render(*bench, state.range(0) / 100.0);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(PaintTheCompressorScreen)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
