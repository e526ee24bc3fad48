// Arbitrary bytes loaded as "skin.xml" with every GUI object element, then painted once: the loader
// and the objects' afterLoad and draw must survive whatever a skin file holds.
#include "gui/gui_object.h"
#include "gui/skin_elements.h"
#include "skin/plain_bench.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace {
QTemporaryDir *g_dir = nullptr;
}

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
    g_dir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString folder = g_dir->path();
    {
        QFile file(folder + QStringLiteral("/skin.xml"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    tcPlainBench bench(folder, &guiSkinVocabulary());
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
