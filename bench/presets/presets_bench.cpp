// Preset file and package costs: one preset written and loaded (the library does this per file
// in every copy, paste and quick save), and a package of 1000 presets built and installed.
#include "presets/preset_file.h"
#include "presets/preset_package.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPackagePresets = 1000;

PresetHeader header(const std::string &name)
{
    PresetHeader h;
    h.clear();
    h.setName(name);
    return h;
}

void WritePresetFile(benchmark::State &state)
{
    QTemporaryDir dir;
    SETTINGS_MAP set;
    const PresetHeader h = header("Bench");
    const QString file = dir.filePath("bench.orba");
    for (auto _ : state)
        benchmark::DoNotOptimize(orba::writePreset(h, set, file));
}
BENCHMARK(WritePresetFile)->Unit(benchmark::kMicrosecond);

void LoadPresetFile(benchmark::State &state)
{
    QTemporaryDir dir;
    SETTINGS_MAP set;
    const QString file = dir.filePath("bench.orba");
    orba::writePreset(header("Bench"), set, file);
    PresetHeader h;
    for (auto _ : state)
        benchmark::DoNotOptimize(orba::loadPreset(h, set, file));
}
BENCHMARK(LoadPresetFile)->Unit(benchmark::kMicrosecond);

void EncodeAndDecodeInMemory(benchmark::State &state)
{
    SETTINGS_MAP set;
    const PresetHeader written = header("Bench");
    PresetHeader h;
    for (auto _ : state) {
        const QByteArray bytes = orba::encodePreset(written, set, 0);
        benchmark::DoNotOptimize(orba::decodePreset(bytes, h, set));
    }
}
BENCHMARK(EncodeAndDecodeInMemory)->Unit(benchmark::kMicrosecond);

// 1000 presets in ten folders of 100, each folder with its index.
void makeTree(const QString &root)
{
    SETTINGS_MAP set;
    for (int f = 0; f < 10; ++f) {
        const QString folder = QDir(root).filePath(QString::asprintf("folder %d", f));
        QDir().mkpath(folder);
        QByteArray index;
        for (int p = 0; p < kPackagePresets / 10; ++p) {
            const QString name = QString::asprintf("preset %03d", p);
            orba::writePreset(header(name.toStdString()), set, folder + "/" + name + ".orba");
            index += name.toUtf8() + ".orba\n";
        }
        QFile idx(folder + "/orba_pset_idx.txt");
        idx.open(QIODevice::WriteOnly);
        idx.write(index);
    }
}

void BuildPackageOf1000Presets(benchmark::State &state)
{
    QTemporaryDir dir;
    makeTree(dir.filePath("tree"));
    const QString pkg = dir.filePath("bench.pkg");
    for (auto _ : state)
        benchmark::DoNotOptimize(orba::buildPackage(dir.filePath("tree"), pkg));
    state.counters["bytes"] = double(QFileInfo(pkg).size());
}
BENCHMARK(BuildPackageOf1000Presets)->Unit(benchmark::kMillisecond);

void InstallPackageOf1000Presets(benchmark::State &state)
{
    QTemporaryDir dir;
    makeTree(dir.filePath("tree"));
    const QString pkg = dir.filePath("bench.pkg");
    orba::buildPackage(dir.filePath("tree"), pkg);
    int n = 0;
    for (auto _ : state) {
        const QString target = dir.filePath(QString::asprintf("installed %d", n++));
        benchmark::DoNotOptimize(orba::installPackage(pkg, target).files);
        state.PauseTiming();
        QDir(target).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(InstallPackageOf1000Presets)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
