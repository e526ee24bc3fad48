// A settings flush rewrites the whole file: measure it for a file of 100 keys.
#include "common/ini_store.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void FlushAStoreOf100Keys(benchmark::State &state)
{
    QTemporaryDir dir;
    IniStore store(dir.filePath("bench.cfg"), IniStore::XmlFile);
    for (int i = 0; i < 100; ++i)
        store.writeInt(QStringLiteral("Section%1").arg(i % 10), QStringLiteral("key%1").arg(i), i);
    int n = 0;
    for (auto _ : state) {
        store.writeInt(QStringLiteral("Section0"), QStringLiteral("key0"), ++n); // make it dirty
        benchmark::DoNotOptimize(store.flush());
    }
}
BENCHMARK(FlushAStoreOf100Keys)->Unit(benchmark::kMicrosecond);

void ParseASettingsFileOf100Keys(benchmark::State &state)
{
    orba::IniEntries entries;
    for (int i = 0; i < 100; ++i)
        entries[QStringLiteral("Section%1:key%2").arg(i % 10).arg(i)] = QString::number(i);
    const QByteArray doc = orba::renderIniXml(entries);
    for (auto _ : state) {
        orba::IniEntries out;
        benchmark::DoNotOptimize(orba::parseIniXml(doc.constData(), size_t(doc.size()), out));
    }
}
BENCHMARK(ParseASettingsFileOf100Keys)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
