#include "gui/gui_image.h"

#include "gui/device_pixels.h"

#include <QBitmap>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

tcGuiImage::tcGuiImage(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiImage)
{
    m_width = 20;
    m_height = 20;
    updateArea();
    m_captionRect = m_area;
}

void tcGuiImage::afterLoad()
{
    // Pictures are shared by many objects and load once.
    if (m_tried) {
        return;
    }
    m_tried = true;
    if (!m_data.isEmpty()) {
        QBuffer buffer(&m_data);
        QImageReader reader(&buffer);
        m_size = reader.size();
    }
    // A format that does not tell its size without decoding is decoded now.
    if (!m_data.isEmpty() && m_size.isEmpty())
        decode();
    if (m_size.isEmpty()) {
        m_size = QSize();
        m_data = QByteArray();
    }
    m_width = std::max(0, m_size.width());
    m_height = std::max(0, m_size.height());
    updateArea();
    m_captionRect = m_area;
    m_loaded = true;
}

namespace {

std::vector<const tcGuiImage *> *g_collecting = nullptr;

QImage decodeBytes(const QByteArray &data)
{
    QImage image;
    if (!data.isEmpty())
        image.loadFromData(data);
    return image;
}

} // namespace

void tcGuiImage::setCollecting(std::vector<const tcGuiImage *> *pictures)
{
    g_collecting = pictures;
}

bool tcGuiImage::collecting()
{
    return g_collecting != nullptr;
}

bool tcGuiImage::collected() const
{
    if (!g_collecting)
        return false;
    if (!m_decoded)
        g_collecting->push_back(this);
    return true;
}

void tcGuiImage::decodeTogether(std::vector<const tcGuiImage *> pictures)
{
    std::sort(pictures.begin(), pictures.end());
    pictures.erase(std::unique(pictures.begin(), pictures.end()), pictures.end());
    std::vector<QImage> images(pictures.size());
    std::atomic<size_t> next{0};
    // Workers and this thread take pictures in turn; QImage decoding needs no GUI thread.
    auto work = [&] {
        for (size_t i = next++; i < pictures.size(); i = next++)
            images[i] = decodeBytes(pictures[i]->m_data);
    };
    QThreadPool pool;
    const int helpers = std::min<int>(QThread::idealThreadCount(), int(pictures.size())) - 1;
    for (int i = 0; i < helpers; ++i)
        pool.start(work);
    work();
    pool.waitForDone();
    for (size_t i = 0; i < pictures.size(); ++i)
        pictures[i]->adopt(std::move(images[i]));
}

void tcGuiImage::decode() const
{
    if (!m_decoded)
        adopt(decodeBytes(m_data));
}

void tcGuiImage::adopt(QImage image) const
{
    if (m_decoded)
        return;
    m_decoded = true;
    if (!image.isNull()) {
        m_pixmap = QPixmap::fromImage(std::move(image));
        if (m_hasTransparent)
            m_pixmap.setMask(m_pixmap.createMaskFromColor(QColor::fromRgba(m_transparent), Qt::MaskInColor));
    }
    m_data = QByteArray();
    if (m_pixmap.width() <= 0 || m_pixmap.height() <= 0 || (!m_size.isEmpty() && m_pixmap.size() != m_size)) {
        // Damaged past its header: it shows as missing, at the size the load gave it.
        m_pixmap = QPixmap();
        return;
    }
    m_size = m_pixmap.size();
}

const QPixmap &tcGuiImage::pixmap() const
{
    decode();
    return m_pixmap;
}

void tcGuiImage::draw(QPainter &painter)
{
    if (m_visible)
        drawWhole(painter, m_x, m_y);
}

void tcGuiImage::drawMissingMark(QPainter &painter, int x, int y)
{
    painter.save();
    painter.setPen(QColor(Qt::red));
    painter.setBrush(QColor(Qt::white));
    painter.drawRect(x, y, 15, 15);
    painter.drawLine(x, y, x + 15, y + 15);
    painter.drawLine(x + 15, y, x, y + 15);
    painter.restore();
}

int tcGuiImage::sectionLeft(int k) const
{
    // In 64 bits: a skin may cut a wide picture into very many sections.
    return static_cast<int>(static_cast<int64_t>(k) * m_pixmap.width() / sectionCount());
}

const tcGuiImage::Prepared &tcGuiImage::prepared(const QTransform &device, double ratio) const
{
    Prepared &p = m_prepared;
    if (p.sx == device.m11() && p.sy == device.m22() && p.strip.devicePixelRatio() == ratio && !p.strip.isNull())
        return p;
    const int n = sectionCount();
    const int w = m_pixmap.width() / n, h = m_pixmap.height();
    p.sx = device.m11();
    p.sy = device.m22();
    p.sectionW = std::max(1, static_cast<int>(std::lround(w * p.sx)));
    p.h = std::max(1, static_cast<int>(std::lround(h * p.sy)));
    const QImage source = m_pixmap.toImage(); // shares the pixels of a raster pixmap
    if (n == 1) {
        // A whole picture (the backgrounds): one resampling, no strip to assemble.
        p.strip = QPixmap::fromImage(source.scaled(p.sectionW, p.h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    } else {
        QImage strip(p.sectionW * n, p.h, QImage::Format_ARGB32_Premultiplied);
        strip.fill(Qt::transparent);
        QPainter painter(&strip);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (int k = 0; k < n; ++k) {
            // Each section alone: its edges are resampled from its own pixels only.
            painter.drawImage(k * p.sectionW, 0,
                              source.copy(sectionLeft(k), 0, w, h)
                                  .scaled(p.sectionW, p.h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
        painter.end();
        p.strip = QPixmap::fromImage(std::move(strip));
    }
    p.strip.setDevicePixelRatio(ratio);
    return p;
}

void tcGuiImage::drawPreparedPart(QPainter &painter, const QTransform &device, int x0, int y0, int k, int x,
                                  int y, int w, int h) const
{
    orba::gui::DevicePixels pixels(painter);
    const Prepared &p = prepared(device, pixels.ratio());
    const int ox = orba::gui::deviceX(device, x0), oy = orba::gui::deviceY(device, y0);
    // The part's edges are where the skin's edges fall, so parts drawn side by side meet exactly.
    const int left = std::clamp(orba::gui::deviceX(device, x0 + x) - ox, 0, p.sectionW);
    const int right = std::clamp(orba::gui::deviceX(device, x0 + x + w) - ox, 0, p.sectionW);
    const int top = std::clamp(orba::gui::deviceY(device, y0 + y) - oy, 0, p.h);
    const int bottom = std::clamp(orba::gui::deviceY(device, y0 + y + h) - oy, 0, p.h);
    if (right <= left || bottom <= top)
        return;
    pixels.draw(QPoint(ox + left, oy + top), p.strip, QRect(k * p.sectionW + left, top, right - left, bottom - top));
}

void tcGuiImage::drawSection(QPainter &painter, int x, int y, int k) const
{
    if (collected())
        return;
    const int n = sectionCount();
    decode();
    if (m_pixmap.isNull() || k < 0 || k >= n) {
        drawMissingMark(painter, x, y);
        return;
    }
    const int w = m_pixmap.width(), h = m_pixmap.height();
    QTransform device;
    if (orba::gui::scalingDevice(painter, &device))
        drawPreparedPart(painter, device, x, y, k, 0, 0, w / n, h);
    else
        painter.drawPixmap(x, y, m_pixmap, sectionLeft(k), 0, w / n, h);
}

void tcGuiImage::drawSectionPart(QPainter &painter, int x, int y, int k, int sx, int sy, int sw, int sh) const
{
    if (collected())
        return;
    const int n = sectionCount();
    decode();
    if (m_pixmap.isNull() || k < 0 || k >= n) {
        drawMissingMark(painter, x, y);
        return;
    }
    if (sw <= 0 || sh <= 0)
        return;
    QTransform device;
    if (orba::gui::scalingDevice(painter, &device))
        drawPreparedPart(painter, device, x - sx, y - sy, k, sx, sy, sw, sh);
    else
        painter.drawPixmap(x, y, m_pixmap, sectionLeft(k) + sx, sy, sw, sh);
}

void tcGuiImage::drawWhole(QPainter &painter, int x, int y) const
{
    if (collected())
        return;
    decode();
    if (m_pixmap.isNull()) {
        drawMissingMark(painter, x, y);
        return;
    }
    QTransform device;
    if (!orba::gui::scalingDevice(painter, &device)) {
        painter.drawPixmap(x, y, m_pixmap);
        return;
    }
    const int n = sectionCount(), w = m_pixmap.width() / n;
    for (int k = 0; k < n; ++k)
        drawPreparedPart(painter, device, x + k * w, y, k, 0, 0, w, m_pixmap.height());
}

void tcGuiImage::drawStretched(QPainter &painter, int x, int y, int w, int h) const
{
    if (collected())
        return;
    decode();
    if (m_pixmap.isNull()) {
        drawMissingMark(painter, x, y);
        return;
    }
    QTransform device;
    if (!orba::gui::scalingDevice(painter, &device)) {
        painter.drawPixmap(QRect(x, y, w, h), m_pixmap);
        return;
    }
    const int left = orba::gui::deviceX(device, x), top = orba::gui::deviceY(device, y);
    const QSize size(orba::gui::deviceX(device, x + w) - left, orba::gui::deviceY(device, y + h) - top);
    if (size.isEmpty())
        return;
    orba::gui::DevicePixels pixels(painter);
    if (m_stretched.size() != size || m_stretched.devicePixelRatio() != pixels.ratio()) {
        m_stretched = QPixmap::fromImage(
            m_pixmap.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_stretched.setDevicePixelRatio(pixels.ratio());
    }
    pixels.draw(QPoint(left, top), m_stretched, m_stretched.rect());
}
