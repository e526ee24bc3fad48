// Arbitrary bytes loaded as "skin.xml" with every GUI object element, then painted once: the loader
// and the objects' afterLoad and draw must survive whatever a skin file holds. The skin is a pack
// held in memory, as the application loads packed skins, so nothing touches the disk.
#include "gui/gui_object.h"
#include "gui/skin_elements.h"
#include "skin/plain_bench.h"
#include "skin/skin_source.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>

// Fontconfig keeps its caches until the process ends; that is no leak of ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qSetMessagePattern(QStringLiteral("%{if-critical}%{message}%{endif}"));
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<orba::skin::PackEntry> entries;
    entries.push_back({QStringLiteral("skin.xml"),
                       QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size))});
    tcPlainBench bench(
        std::make_shared<orba::skin::PackSkinSource>(QStringLiteral("fuzz.skin"), std::move(entries)),
        &guiSkinVocabulary());
    bench.setQuiet(true);
    if (bench.loadSkin() == 0) {
        for (tcBenchObject *o : bench.objects())
            static_cast<tcGuiObject *>(o)->setVisible(true);
        QImage surface(200, 200, QImage::Format_RGB32);
        QPainter painter(&surface);
        bench.paint(painter, QRect(0, 0, 200, 200));
    }
    return 0;
}
