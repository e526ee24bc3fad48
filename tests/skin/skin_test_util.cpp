#include "skin/skin_test_util.h"

#include <QDir>
#include <QFile>
#include <QPainter>

namespace orba::test {

void writeText(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void writePng(const QString &path, int w, int h, int sections, const QList<QColor> &colours)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(w * sections, h, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int k = 0; k < sections; ++k)
        painter.fillRect(k * w, 0, w, h, colours[k % colours.size()]);
    painter.end();
    ASSERT_TRUE(image.save(path, "PNG"));
}

void writeIndexedPng(const QString &path, int w, int h, int sections)
{
    QList<QColor> colours;
    for (int k = 0; k < sections; ++k)
        colours << QColor(10 * k + 5, 100, 200);
    writePng(path, w, h, sections, colours);
}

int sectionOfPixel(QRgb pixel)
{
    if (qGreen(pixel) != 100 || qBlue(pixel) != 200)
        return -1;
    return (qRed(pixel) - 5) / 10;
}

QString SkinTest::skinPath(const QString &name) const
{
    return QDir(skinDir()).filePath(name);
}

int SkinTest::loadSkin(const QByteArray &body, bool whole, const SkinVocabulary *vocabulary)
{
    const QByteArray xml =
        whole ? body : QByteArray("<?xml version=\"1.0\"?>\n<skin>\n") + body + "\n</skin>\n";
    writeText(skinPath(QStringLiteral("skin.xml")), xml);
    m_host = std::make_unique<tcVORudWidget>();
    m_bench = new tcPlainBench(skinDir(), vocabulary);
    m_bench->setQuiet(true);
    m_bench->setHost(m_host.get());
    m_host->setBench(m_bench);
    m_host->resize(400, 300);
    return m_bench->loadSkin();
}

bool SkinTest::hasMessage(const QString &part) const
{
    return countMessages(part) > 0;
}

int SkinTest::countMessages(const QString &part) const
{
    int n = 0;
    for (const QString &m : m_bench->messages())
        n += m.contains(part) ? 1 : 0;
    return n;
}

QImage SkinTest::grab()
{
    return m_host->grab().toImage();
}

void SkinTest::TearDown()
{
    m_host.reset();
    m_bench = nullptr;
    WorkDirTest::TearDown();
}

} // namespace orba::test
