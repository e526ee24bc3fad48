// Pictures on a scaling painter: sections resampled alone, decoding when first drawn, "@2x" companions.
#include "gui/gui_image.h"
#include "gui/gui_test_util.h"
#include "skin/skin_pack.h"
#include "skin/skin_source.h"

#include <QDir>
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
    // The companion of loadPicture's picture at twice its size: red, then `second` with white lines one
    // device pixel wide (by default at each edge and in its middle), which no upsampled picture can hold.
    static void writeDense(const QString &path, QColor second = Qt::blue,
                           std::initializer_list<int> lines = {40, 59, 79})
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage image(80, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        QPainter painter(&image);
        painter.fillRect(40, 0, 40, 20, second);
        for (int x : lines)
            painter.fillRect(x, 0, 1, 20, Qt::white);
        painter.end();
        ASSERT_TRUE(image.save(path, "PNG"));
    }
    // Section 1 drawn at skin (5, 0) and section 0 at (25, 0) on a painter of device scale `scale`
    // (a screen's pixel ratio when `ratio`, else a skin scale).
    static QImage drawBoth(tcGuiImage *p, double scale, bool ratio)
    {
        QImage image(int(100 * scale), int(20 * scale), QImage::Format_RGB32);
        image.fill(Qt::black);
        if (ratio)
            image.setDevicePixelRatio(scale);
        QPainter painter(&image);
        if (!ratio) {
            painter.scale(scale, scale);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        }
        p->drawSection(painter, 5, 0, 1);
        p->drawSection(painter, 25, 0, 0);
        painter.end();
        image.setDevicePixelRatio(1.0);
        return image;
    }
    // Cuts off the end of a picture: its size still reads, its pixels do not.
    static void cutTail(const QString &name, int bytes)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(file.size() - bytes));
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

    // Damaged pixels: the missing-picture mark where the picture would be.
    cutTail(skinPath(QStringLiteral("p.png")), 20);
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

TEST_F(PictureScaleTest, DenseScreensDrawSectionsFromTheCompanion)
{
    writeDense(skinPath(QStringLiteral("p@2x.png")));
    png(QStringLiteral("p.png"), 20, 10, 2, {Qt::red, Qt::blue});
    png(QStringLiteral("q.png"), 20, 10, 2, {Qt::red, Qt::blue});
    ASSERT_EQ(load("<image id=\"P\" file=\"p.png\" sections=\"2\"/><image id=\"Q\" file=\"q.png\" "
                   "sections=\"2\"/>"),
              0);
    tcGuiImage *p = object<tcGuiImage>("P");
    EXPECT_TRUE(p->hasDense());
    EXPECT_FALSE(object<tcGuiImage>("Q")->hasDense());
    EXPECT_EQ(countMessages(QStringLiteral("WARNING")), 0) << "a picture without a companion is no fault";
    EXPECT_EQ(p->width(), 40) << "the skin's geometry is the picture's";

    // At 2 the companion is drawn 1:1: each white line exactly one device pixel wide.
    for (bool ratio : {true, false}) {
        const QImage two = drawBoth(p, 2.0, ratio);
        for (int x = 10; x < 50; ++x) {
            const QColor want = (x == 10 || x == 29 || x == 49) ? QColor(Qt::white) : QColor(Qt::blue);
            EXPECT_EQ(two.pixelColor(x, 7), want) << "ratio " << ratio << " x " << x;
        }
        EXPECT_EQ(countOf(two, QRect(50, 0, 40, 20), Qt::red), 40 * 20) << "no white bleeds into section 0";
        EXPECT_EQ(countOf(two, QRect(90, 0, 110, 40), Qt::black), 110 * 40);
    }

    // At 1.5 the companion is downsampled (its lines show, softened), each section on its own.
    const QImage oneHalf = drawBoth(p, 1.5, false);
    EXPECT_LT(countOf(oneHalf, QRect(8, 0, 30, 15), Qt::blue), 30 * 15) << "the lines come through";
    EXPECT_EQ(countOf(oneHalf, QRect(38, 0, 30, 15), Qt::red), 30 * 15) << "no white bleeds into section 0";

    // Below 1.5, and at 100 %, the picture itself: no line, nothing of the companion.
    for (double scale : {1.25, 1.0}) {
        const QImage plain = drawBoth(p, scale, false);
        const int w = int(20 * scale + 0.5), h = int(10 * scale + 0.5), x0 = int(5 * scale + 0.5);
        EXPECT_EQ(countOf(plain, QRect(x0, 0, w, h), Qt::blue), w * h) << scale;
        EXPECT_EQ(countOf(plain, QRect(x0 + w, 0, w, h), Qt::red), w * h) << scale;
    }
}

TEST_F(PictureScaleTest, AColourKeyedPictureKeysItsCompanionToo)
{
    png(QStringLiteral("k.png"), 20, 10, 2, {Qt::red, Qt::magenta});
    writeDense(skinPath(QStringLiteral("k@2x.png")), Qt::magenta, {59});
    ASSERT_EQ(load("<image id=\"K\" file=\"k.png\" sections=\"2\" trans=\"FF00FF\"/>"), 0);
    tcGuiImage *k = object<tcGuiImage>("K");
    ASSERT_TRUE(k->hasDense());
    const QImage two = drawBoth(k, 2.0, true);
    EXPECT_EQ(countOf(two, QRect(10, 0, 40, 20), Qt::magenta), 0) << "the key colour is see-through";
    EXPECT_EQ(countOf(two, QRect(29, 0, 1, 20), Qt::white), 20) << "the companion's own line";
    EXPECT_EQ(countOf(two, QRect(10, 0, 19, 20), Qt::black), 19 * 20);
    EXPECT_EQ(countOf(two, QRect(50, 0, 40, 20), Qt::red), 40 * 20);
}

// What a first paint's collecting pass finds of section 1 at a pixel ratio of 2.
std::vector<tcGuiImage::Use> collectAtRatio2(tcGuiImage *p)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    scratch.setDevicePixelRatio(2.0);
    std::vector<tcGuiImage::Use> uses;
    QPainter painter(&scratch);
    tcGuiImage::setCollecting(&uses);
    p->drawSection(painter, 5, 0, 1);
    tcGuiImage::setCollecting(nullptr);
    return uses;
}

TEST_F(PictureScaleTest, FirstPaintPreparesFromTheCompanionOnEveryCore)
{
    writeDense(skinPath(QStringLiteral("p@2x.png")));
    tcGuiImage *p = loadPicture();
    const std::vector<tcGuiImage::Use> uses = collectAtRatio2(p);
    ASSERT_EQ(uses.size(), 1u);
    tcGuiImage::decodeTogether(uses);
    EXPECT_TRUE(p->decoded());
    const QImage two = drawBoth(p, 2.0, true);
    EXPECT_EQ(two.pixelColor(29, 7), QColor(Qt::white));
    EXPECT_EQ(two.pixelColor(28, 7), QColor(Qt::blue));
    EXPECT_EQ(two.pixelColor(30, 7), QColor(Qt::blue));
}

// The window's first paint does not wait for companions: it draws from the picture, and the
// pictures are collected again until a later pass prepares them from their companions.
TEST_F(PictureScaleTest, AFirstPaintCanLeaveTheCompanionForAPassAfterIt)
{
    writeDense(skinPath(QStringLiteral("p@2x.png")));
    tcGuiImage *p = loadPicture();
    EXPECT_TRUE(tcGuiImage::decodeTogether(collectAtRatio2(p), false));
    tcGuiImage::deferCompanions(true); // as the window does until that pass
    const QImage first = drawBoth(p, 2.0, true);
    EXPECT_NE(first.pixelColor(29, 7), QColor(Qt::white)) << "the picture, upsampled";
    EXPECT_EQ(countOf(first, QRect(10, 0, 40, 20), Qt::blue), 40 * 20) << "nothing of the next section";
    tcGuiImage::deferCompanions(false);
    const std::vector<tcGuiImage::Use> again = collectAtRatio2(p);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_FALSE(tcGuiImage::decodeTogether(again));
    EXPECT_EQ(drawBoth(p, 2.0, true).pixelColor(29, 7), QColor(Qt::white)) << "the companion's line";
    EXPECT_TRUE(collectAtRatio2(p).empty());

    // A picture the collecting pass missed, drawn while companions wait, waits too.
    tcGuiImage *q = loadPicture();
    tcGuiImage::deferCompanions(true);
    EXPECT_NE(drawBoth(q, 2.0, true).pixelColor(29, 7), QColor(Qt::white));
    EXPECT_TRUE(tcGuiImage::companionsDeferred());
    tcGuiImage::deferCompanions(false);
    const std::vector<tcGuiImage::Use> missed = collectAtRatio2(q);
    ASSERT_EQ(missed.size(), 1u);
    EXPECT_FALSE(tcGuiImage::decodeTogether(missed));
    EXPECT_EQ(drawBoth(q, 2.0, true).pixelColor(29, 7), QColor(Qt::white));
}

TEST_F(PictureScaleTest, CompanionsOfAWrongSizeOrDamagedAreLeftOutWithAWarning)
{
    // Not twice the size: dropped at load, the picture upsampled instead.
    png(QStringLiteral("p@2x.png"), 30, 20, 2, {Qt::green, Qt::green});
    tcGuiImage *p = loadPicture();
    EXPECT_FALSE(p->hasDense());
    EXPECT_TRUE(hasMessage(QStringLiteral("WARNING: Picture \"p@2x.png\" is 60x20, not twice the 40x10")));
    QImage two = drawBoth(p, 2.0, true);
    EXPECT_EQ(countOf(two, QRect(10, 0, 40, 20), Qt::blue), 40 * 20);

#ifdef Q_OS_UNIX
    // A link leading out of the skin is refused as a picture would be, whatever it points at.
    QFile::remove(skinPath(QStringLiteral("p@2x.png")));
    writeDense(path(QStringLiteral("outside@2x.png")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside@2x.png")), skinPath(QStringLiteral("p@2x.png"))));
    p = loadPicture();
    EXPECT_FALSE(p->hasDense());
    EXPECT_TRUE(hasMessage(QStringLiteral("ERROR: Picture \"p@2x.png\" lies outside the skin folder")));
    QFile::remove(skinPath(QStringLiteral("p@2x.png")));
#endif

    // The right size in its header, its pixels cut off: found out when first wanted, on either road.
    for (bool together : {false, true}) {
        writeDense(skinPath(QStringLiteral("p@2x.png")));
        cutTail(skinPath(QStringLiteral("p@2x.png")), 30);
        p = loadPicture();
        EXPECT_TRUE(p->hasDense()) << "its size reads";
        if (together) {
            std::vector<tcGuiImage::Use> uses{{p, 2.0, 2.0, 2.0}};
            tcGuiImage::decodeTogether(uses);
        }
        two = drawBoth(p, 2.0, true);
        EXPECT_EQ(countOf(two, QRect(10, 0, 40, 20), Qt::blue), 40 * 20) << together;
        EXPECT_EQ(countOf(two, QRect(50, 0, 40, 20), Qt::red), 40 * 20) << together;
        EXPECT_FALSE(p->hasDense()) << together;
        EXPECT_TRUE(hasMessage(QStringLiteral("WARNING: Picture \"p@2x.png\" cannot be decoded")))
            << together;
    }
}

TEST_F(PictureScaleTest, PackedSkinsCarryAndPairCompanions)
{
    // The skin's own picture under images/, a shared one from the images folder, both with
    // companions; SkinPacker packs them all.
    writeText(skinPath(QStringLiteral("skin.xml")),
              "<?xml version=\"1.0\"?>\n<skin><image id=\"P\" file=\"images/p.png\" sections=\"2\"/>"
              "<image id=\"S\" file=\"s.png\" sections=\"2\"/></skin>\n");
    png(QStringLiteral("images/p.png"), 20, 10, 2, {Qt::red, Qt::blue});
    writeDense(skinPath(QStringLiteral("images/p@2x.png")));
    const QString shared = path(QStringLiteral("shared"));
    writePng(QDir(shared).filePath(QStringLiteral("s.png")), 20, 10, 2, {Qt::red, Qt::blue});
    writeDense(QDir(shared).filePath(QStringLiteral("s@2x.png")));
    const QString packed = path(QStringLiteral("p.skin"));
    const ProgramRun run = runProgram(QStringLiteral("SkinPacker"),
                                      {QStringLiteral("-p"), QStringLiteral("-d"), skinDir(),
                                       QStringLiteral("-i"), shared, QStringLiteral("-f"), packed});
    ASSERT_EQ(run.status, 0) << run.out.constData();

    orba::skin::PackContents pack = orba::skin::readPackedSkin(packed);
    ASSERT_EQ(pack.status, orba::skin::PackStatus::Ok);
    QStringList names;
    for (const orba::skin::PackEntry &e : pack.entries)
        names << e.name;
    EXPECT_TRUE(names.contains(QStringLiteral("images/p@2x.png"))) << names.join(' ').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("s@2x.png"))) << names.join(' ').toStdString();

    QDir(skinDir()).removeRecursively(); // the pack alone
    auto source = std::make_shared<orba::skin::PackSkinSource>(packed, std::move(pack.entries));
    EXPECT_EQ(source->entriesLeftInFile(), 2) << "companions are read from the file when drawn";
    m_host = std::make_unique<tcVORudWidget>();
    m_bench = new tcPlainBench(source, &guiSkinVocabulary());
    m_bench->setQuiet(true);
    m_bench->setHost(m_host.get());
    m_host->setBench(m_bench);
    ASSERT_EQ(m_bench->loadSkin(), 0);
    for (const char *id : {"P", "S"}) {
        tcGuiImage *p = object<tcGuiImage>(id);
        EXPECT_TRUE(p->hasDense()) << id;
        const QImage two = drawBoth(p, 2.0, true);
        EXPECT_EQ(two.pixelColor(29, 7), QColor(Qt::white)) << id;
        EXPECT_EQ(two.pixelColor(28, 7), QColor(Qt::blue)) << id;
    }
    EXPECT_EQ(countMessages(QStringLiteral("WARNING")), 0);

    // A pack changed on disk since the load: its companions are missing, never wrong.
    const QImage three = drawBoth(object<tcGuiImage>("P"), 3.0, true); // a new scale reads it again
    EXPECT_LT(countOf(three, QRect(18, 0, 54, 30), Qt::blue), 54 * 30) << "the companion's lines";
    QFile file(packed);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    for (qsizetype i = orba::skin::kPackHeaderSize; i < bytes.size(); ++i)
        bytes[i] = char(~bytes[i]);
    file.seek(0);
    file.write(bytes);
    file.close();
    tcGuiImage *p = object<tcGuiImage>("P");
    const QImage plain = drawBoth(p, 4.0, true);
    EXPECT_EQ(countOf(plain, QRect(20, 0, 80, 40), Qt::blue), 80 * 40);
    EXPECT_FALSE(p->hasDense());
}

} // namespace
