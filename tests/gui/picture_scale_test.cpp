// Pictures on a painter that scales (a skin scale, a high-density screen): each section resampled
// on its own, drawn at device pixels; and pictures decoded only when first drawn.
#include "gui/gui_image.h"
#include "gui/gui_test_util.h"

#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

class PictureScaleTest : public GuiTest
{
protected:
    // Two 20 x 10 sections, red then blue.
    tcGuiImage *loadPicture()
    {
        png(QStringLiteral("p.png"), 20, 10, 2, {Qt::red, Qt::blue});
        EXPECT_EQ(load("<image id=\"P\" file=\"p.png\" sections=\"2\"/>"), 0);
        return object<tcGuiImage>("P");
    }
    static int countOf(const QImage &image, const QRect &rect, QColor colour)
    {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
};

TEST_F(PictureScaleTest, ScaledSectionsKeepTheirOwnColoursToTheEdge)
{
    tcGuiImage *p = loadPicture();
    for (double scale : {1.5, 2.0, 0.75}) {
        QImage image(100, 40, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.scale(scale, scale);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true); // as the bench paints scaled
        p->drawSection(painter, 0, 0, 1);                             // blue at skin x 0..19
        p->drawSection(painter, 20, 0, 0);                            // red at skin x 20..39
        p->drawSectionPart(painter, 40, 0, 1, 5, 0, 10, 10);          // blue, skin x 40..49
        painter.end();
        const int w = int(20 * scale + 0.5), h = int(10 * scale + 0.5), part = int(10 * scale + 0.5);
        EXPECT_EQ(countOf(image, QRect(0, 0, w, h), Qt::blue), w * h) << scale << ": no red bleeds in";
        EXPECT_EQ(countOf(image, QRect(w, 0, w, h), Qt::red), w * h) << scale << ": no blue bleeds in";
        EXPECT_EQ(countOf(image, QRect(2 * w, 0, part, h), Qt::blue), part * h) << scale;
        EXPECT_EQ(countOf(image, QRect(0, h, 100, 40 - h), Qt::black), 100 * (40 - h))
            << scale << ": nothing drawn past the bottom edge";
    }
}

TEST_F(PictureScaleTest, HighDensityScreensGetDevicePixels)
{
    tcGuiImage *p = loadPicture();
    QImage image(100, 40, QImage::Format_RGB32); // 50 x 20 at a pixel ratio of 2
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::black);
    QPainter painter(&image);
    p->drawSection(painter, 5, 0, 1);
    p->drawWhole(painter, 5, 10);
    painter.end();
    EXPECT_EQ(countOf(image, QRect(10, 0, 40, 20), Qt::blue), 40 * 20);
    EXPECT_EQ(countOf(image, QRect(10, 20, 40, 20), Qt::red), 40 * 20) << "whole: its first section";
    EXPECT_EQ(countOf(image, QRect(50, 20, 40, 20), Qt::blue), 40 * 20) << "whole: its second section";
    EXPECT_EQ(countOf(image, QRect(0, 0, 10, 40), Qt::black), 10 * 40);
    EXPECT_EQ(countOf(image, QRect(50, 0, 50, 20), Qt::black), 50 * 20);
}

TEST_F(PictureScaleTest, PicturesDecodeWhenFirstDrawnAndDamageShowsAsMissing)
{
    tcGuiImage *p = loadPicture();
    EXPECT_TRUE(p->hasPixmap());
    EXPECT_FALSE(p->decoded()) << "the load reads only the size";
    EXPECT_EQ(p->width(), 40);
    EXPECT_EQ(p->sectionWidth(), 20);
    QImage image(40, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    p->drawSection(painter, 0, 0, 0);
    painter.end();
    EXPECT_TRUE(p->decoded());
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));

    // A picture whose size reads but whose pixels are cut off: the missing-picture mark where
    // the picture would be.
    QFile file(skinPath(QStringLiteral("p.png")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(whole.left(whole.size() - 20));
    file.close();
    ASSERT_EQ(load("<image id=\"Q\" file=\"p.png\" sections=\"2\"/>"), 0);
    tcGuiImage *q = object<tcGuiImage>("Q");
    EXPECT_EQ(q->width(), 40);
    QImage cut(40, 20, QImage::Format_RGB32);
    cut.fill(Qt::black);
    QPainter cutPainter(&cut);
    q->drawSection(cutPainter, 0, 0, 0);
    cutPainter.end();
    EXPECT_EQ(cut.pixelColor(0, 0), QColor(Qt::red)) << "the missing-picture mark";
    EXPECT_EQ(cut.pixelColor(3, 1), QColor(Qt::white));
}

} // namespace
