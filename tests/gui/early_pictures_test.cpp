#include "gui/early_pictures.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

using orba::gui::EarlyPictures;

namespace {

QByteArray png(QRgb colour, int width, int height = 3)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(EarlyPictures, EachListedPictureIsHandedOutOnceAndTheRestIsLeftToTheCaller)
{
    const QByteArray red = png(qRgb(255, 0, 0), 5), green = png(qRgb(0, 255, 0), 7);
    EarlyPictures::start([&] { return std::vector<QByteArray>{red, QByteArray("not a picture"), green}; });
    EarlyPictures::start([] { return std::vector<QByteArray>{}; }); // ignored while one runs
    ASSERT_TRUE(EarlyPictures::running());
    EarlyPictures::waitUntilListDone();
    const QImage first = EarlyPictures::take(green);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), QSize(7, 3));
    EXPECT_EQ(first.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_TRUE(EarlyPictures::take(green).isNull()) << "a second use decodes its own";
    EarlyPictures::stop(); // decodes no more; what it decoded is still handed out
    EXPECT_TRUE(EarlyPictures::running());
    EXPECT_EQ(EarlyPictures::take(red).pixel(4, 2), qRgb(255, 0, 0));
    EXPECT_TRUE(EarlyPictures::take(QByteArray("not a picture")).isNull());
    EXPECT_TRUE(EarlyPictures::take(png(qRgb(0, 0, 255), 5)).isNull()) << "never listed";

    EarlyPictures::finish();
    EXPECT_FALSE(EarlyPictures::running());
    EXPECT_TRUE(EarlyPictures::take(red).isNull());
    EarlyPictures::finish();
}

TEST(EarlyPictures, FinishStopsAThreadStillDecodingAndDropsWhatNobodyTook)
{
    std::vector<QByteArray> many;
    for (int i = 0; i < 60; ++i)
        many.push_back(png(qRgb(i, 0, 0), 300 + i, 600)); // a while to decode them all
    EarlyPictures::start([many] { return many; });
    // Asked for before the thread comes to it: the caller decodes it, and the thread leaves it.
    EXPECT_TRUE(EarlyPictures::take(many[59]).isNull());
    EarlyPictures::finish();
    EXPECT_TRUE(EarlyPictures::take(many[1]).isNull());
    // A new start after a finish runs again.
    EarlyPictures::start([many] { return std::vector<QByteArray>{many[5]}; });
    EarlyPictures::waitUntilListDone();
    EXPECT_EQ(EarlyPictures::take(many[5]).width(), 305);
    EarlyPictures::finish();
}
