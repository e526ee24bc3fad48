// Arbitrary bytes loaded as "skin.xml" with every GUI object element, then painted once: the loader
// and the objects' afterLoad and draw must survive whatever a skin file holds. The skin is a pack
// held in memory, as the application loads packed skins, so nothing touches the disk. What follows
// two zero bytes is the companion of a picture, so the dense road is taken on arbitrary bytes too.
// The same bytes give the order its pictures are decoded ahead in.
#include "gui/gui_object.h"
#include "gui/skin_elements.h"
#include "skin/plain_bench.h"
#include "skin/skin_pack.h"
#include "skin/skin_source.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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

namespace {

QByteArray g_picture; // "p.png": 4 x 2, two sections

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (g_picture.isEmpty()) {
        QImage picture(4, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        g_picture = png(picture);
    }
    // The bytes up to the first two zero bytes are the skin file, the rest the companion of twice
    // the size of the picture "p.png" ("p@2x.png"), drawn on a painter of device scale 2.
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf(QByteArray("\0\0", 2));
    std::vector<orba::skin::PackEntry> entries;
    entries.push_back({QStringLiteral("skin.xml"), split < 0 ? input : input.left(split)});
    entries.push_back({QStringLiteral("p.png"), g_picture});
    if (split >= 0)
        entries.push_back({QStringLiteral("p@2x.png"), input.mid(split + 2)});
    {
        // The order pictures are decoded ahead in: every picture once, whatever the skin says.
        orba::skin::PackContents pack;
        pack.entries = entries;
        const std::vector<size_t> order = orba::skin::picturesInReadingOrder(pack);
        std::vector<size_t> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end() ||
            order.size() != (split >= 0 ? 2u : 1u))
            std::abort();
    }
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
        painter.end();
        QImage dense(400, 400, QImage::Format_RGB32);
        dense.setDevicePixelRatio(2.0);
        QPainter densePainter(&dense);
        bench.paint(densePainter, QRect(0, 0, 200, 200));
    }
    return 0;
}
