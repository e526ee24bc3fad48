#include "gui/gui_image.h"

#include "gui/device_pixels.h"
#include "gui/early_pictures.h"

#include <QBitmap>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

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
    checkDense();
    m_width = std::max(0, m_size.width());
    m_height = std::max(0, m_size.height());
    updateArea();
    m_captionRect = m_area;
    m_loaded = true;
}

namespace {

// A PNG tells its size in its first chunk; other formats are read whole to know it.
QSize headSize(const QByteArray &head)
{
    if (head.size() >= 24 && head.startsWith("\x89PNG\r\n\x1a\n") && head.mid(12, 4) == "IHDR") {
        auto be = [&](int at) {
            const auto *u = reinterpret_cast<const unsigned char *>(head.constData() + at);
            return (qint64(u[0]) << 24) | (u[1] << 16) | (u[2] << 8) | u[3];
        };
        const qint64 w = be(16), h = be(20);
        return w > 0 && h > 0 && w <= INT_MAX && h <= INT_MAX ? QSize(int(w), int(h)) : QSize();
    }
    return QSize();
}

} // namespace

void tcGuiImage::checkDense()
{
    const QByteArray head = std::exchange(m_denseHead, QByteArray());
    if (!m_denseReader)
        return;
    if (m_size.isEmpty()) { // nothing to pair it with: the picture shows as missing
        m_denseReader = nullptr;
        return;
    }
    QSize dense = headSize(head);
    if (dense.isEmpty()) {
        QByteArray whole = m_denseReader();
        QBuffer buffer(&whole);
        QImageReader reader(&buffer);
        dense = reader.size();
    }
    if (dense == m_size * 2)
        return;
    if (m_bench) {
        const QByteArray name = m_denseFile.toUtf8(), picture = m_file.toUtf8();
        if (dense.isEmpty())
            m_bench->report("WARNING: Picture \"%s\" cannot be read; \"%s\" is drawn without it.",
                            name.constData(), picture.constData());
        else
            m_bench->report(
                "WARNING: Picture \"%s\" is %dx%d, not twice the %dx%d of \"%s\"; it is not used.",
                name.constData(), dense.width(), dense.height(), m_size.width(), m_size.height(),
                picture.constData());
    }
    m_denseReader = nullptr;
}

namespace {

std::vector<tcGuiImage::Use> *g_collecting = nullptr;
bool g_deferCompanions = false, g_companionsDeferred = false;

QImage decodeBytes(const QByteArray &data)
{
    QImage image = orba::gui::EarlyPictures::take(data);
    if (image.isNull() && !data.isEmpty())
        image.loadFromData(data);
    return image;
}

} // namespace

void tcGuiImage::setCollecting(std::vector<Use> *pictures)
{
    g_collecting = pictures;
}

bool tcGuiImage::collecting()
{
    return g_collecting != nullptr;
}

void tcGuiImage::deferCompanions(bool on)
{
    g_deferCompanions = on;
    g_companionsDeferred = false;
}

bool tcGuiImage::companionsDeferred()
{
    return g_companionsDeferred;
}

bool tcGuiImage::collected(const QPainter &painter, bool sections) const
{
    if (!g_collecting)
        return false;
    Use use;
    use.picture = this;
    QTransform device;
    if (sections && orba::gui::scalingDevice(painter, &device) && !m_hasTransparent) {
        use.sx = device.m11();
        use.sy = device.m22();
        use.ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    }
    if (!m_decoded || (use.sx > 0 && (m_prepared.sx != use.sx || m_prepared.sy != use.sy)))
        g_collecting->push_back(use);
    return true;
}

bool tcGuiImage::decodeTogether(std::vector<Use> uses, bool dense)
{
    // One use per picture, the one that wants its sections prepared when there is one.
    std::sort(uses.begin(), uses.end(), [](const Use &a, const Use &b) {
        return a.picture != b.picture ? a.picture < b.picture : a.sx > b.sx;
    });
    uses.erase(std::unique(uses.begin(), uses.end(),
                           [](const Use &a, const Use &b) { return a.picture == b.picture; }),
               uses.end());
    std::vector<QImage> images(uses.size()), strips(uses.size());
    std::vector<char> denseFailed(uses.size(), 0), later(uses.size(), 0);
    for (size_t i = 0; i < uses.size(); ++i) {
        if (uses[i].picture->m_decoded)
            images[i] = uses[i].picture->m_pixmap.toImage(); // pixmaps only on this thread
    }
    // Those decoded ahead are taken here: a thread to help with nothing costs more than it saves.
    size_t busy = 0;
    for (size_t i = 0; i < uses.size(); ++i) {
        if (images[i].isNull())
            images[i] = orba::gui::EarlyPictures::take(uses[i].picture->m_data);
        if (images[i].isNull() || uses[i].sx > 0)
            ++busy;
    }
    std::atomic<size_t> next{0};
    // Workers and this thread take pictures in turn; QImage decoding and scaling need no GUI
    // thread, pixmaps are made afterwards on this one.
    auto work = [&] {
        for (size_t i = next++; i < uses.size(); i = next++) {
            const tcGuiImage *p = uses[i].picture;
            if (images[i].isNull())
                images[i] = decodeBytes(p->m_data);
            const QImage &source = images[i];
            if (uses[i].sx > 0 && !source.isNull() && source.size() == p->m_size) {
                QImage companion;
                if (p->wantsDense(uses[i].sx, uses[i].sy)) {
                    later[i] = !dense;
                    if (!dense) // stands in until then, only where shown
                        continue;
                    companion = p->decodeDense();
                    denseFailed[i] = companion.isNull();
                }
                strips[i] =
                    scaleSections(companion.isNull() ? source : companion, p->sectionCount(),
                                  preparedSection(source.size(), p->sectionCount(), uses[i].sx, uses[i].sy));
            }
        }
    };
    QThreadPool pool;
    const int helpers = std::min<int>(QThread::idealThreadCount(), int(busy)) - 1;
    for (int i = 0; i < helpers; ++i)
        pool.start(work);
    work();
    pool.waitForDone();
    for (size_t i = 0; i < uses.size(); ++i) {
        const tcGuiImage *p = uses[i].picture;
        if (denseFailed[i])
            p->dropDense();
        p->adopt(std::move(images[i]));
        if (!strips[i].isNull() && !p->m_pixmap.isNull())
            p->adoptPrepared(std::move(strips[i]), uses[i].sx, uses[i].sy, uses[i].ratio);
    }
    return std::find(later.begin(), later.end(), 1) != later.end();
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

bool tcGuiImage::isOpaque() const
{
    // A picture file without alpha (orba-skingen writes opaque pictures so); one with an alpha
    // channel counts as transparent even when every pixel is opaque.
    return m_decoded && !m_pixmap.isNull() && !m_hasTransparent && !m_pixmap.hasAlphaChannel();
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

QSize tcGuiImage::preparedSection(QSize size, int n, double sx, double sy)
{
    return QSize(std::max(1, static_cast<int>(std::lround(size.width() / n * sx))),
                 std::max(1, static_cast<int>(std::lround(size.height() * sy))));
}

QImage tcGuiImage::scaleSections(const QImage &source, int n, QSize section)
{
    if (n == 1) // a whole picture (the backgrounds): one resampling, no strip to assemble
        return source.scaled(section, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int w = source.width() / n, h = source.height();
    QImage strip(section.width() * n, section.height(), QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int k = 0; k < n; ++k) {
        // Each section alone: its edges are resampled from its own pixels only.
        const int left = static_cast<int>(static_cast<int64_t>(k) * source.width() / n);
        painter.drawImage(
            k * section.width(), 0,
            source.copy(left, 0, w, h).scaled(section, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    painter.end();
    return strip;
}

void tcGuiImage::adoptPrepared(QImage strip, double sx, double sy, double ratio) const
{
    Prepared &p = m_prepared;
    const QSize section = preparedSection(m_pixmap.size(), sectionCount(), sx, sy);
    p.sx = sx;
    p.sy = sy;
    p.sectionW = section.width();
    p.h = section.height();
    p.strip = QPixmap::fromImage(std::move(strip));
    p.strip.setDevicePixelRatio(ratio);
}

QImage tcGuiImage::decodeDense() const
{
    QImage image = decodeBytes(m_denseReader ? m_denseReader() : QByteArray());
    if (image.size() != m_size * 2)
        return QImage();
    if (m_hasTransparent) {
        // The picture's own colour key, as its mask does it.
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (line[x] == m_transparent)
                    line[x] = 0;
            }
        }
    }
    return image;
}

void tcGuiImage::dropDense() const
{
    if (!m_denseReader)
        return;
    m_denseReader = nullptr;
    if (m_bench) {
        const QByteArray name = m_denseFile.toUtf8();
        m_bench->report("WARNING: Picture \"%s\" cannot be decoded; its picture is scaled instead.",
                        name.constData());
    }
}

QImage tcGuiImage::preparedSource(double sx, double sy) const
{
    if (wantsDense(sx, sy)) {
        QImage dense = decodeDense();
        if (!dense.isNull())
            return dense;
        dropDense();
    }
    return m_pixmap.toImage(); // shares the pixels of a raster pixmap
}

const tcGuiImage::Prepared &tcGuiImage::prepared(const QTransform &device, double ratio) const
{
    Prepared &p = m_prepared;
    if (p.sx == device.m11() && p.sy == device.m22() && p.strip.devicePixelRatio() == ratio &&
        !p.strip.isNull())
        return p;
    const int n = sectionCount();
    adoptPrepared(scaleSections(preparedSource(device.m11(), device.m22()), n,
                                preparedSection(m_pixmap.size(), n, device.m11(), device.m22())),
                  device.m11(), device.m22(), ratio);
    return p;
}

bool tcGuiImage::standsIn(double sx, double sy, bool ready) const
{
    if (!g_deferCompanions || !wantsDense(sx, sy) || ready)
        return false;
    g_companionsDeferred = true;
    return true;
}

void tcGuiImage::drawPreparedPart(QPainter &painter, const QTransform &device, int x0, int y0, int k, int x,
                                  int y, int w, int h) const
{
    const Prepared &ready = m_prepared;
    if (standsIn(device.m11(), device.m22(),
                 !ready.strip.isNull() && ready.sx == device.m11() && ready.sy == device.m22())) {
        // Only the sections this paint shows, each copied out first so its edges take nothing from
        // its neighbours: preparing every section of a strip for one paint costs more than the paint.
        const int n = sectionCount(), sw = m_pixmap.width() / n;
        const QRect to(x0, y0, sw, m_pixmap.height());
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setClipRect(QRect(x0 + x, y0 + y, w, h), Qt::IntersectClip);
        if (n == 1) // a whole picture, often drawn in many parts: nothing to copy out
            painter.drawPixmap(to, m_pixmap);
        else
            painter.drawPixmap(to, m_pixmap.copy(sectionLeft(k), 0, sw, m_pixmap.height()));
        painter.restore();
        return;
    }
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
    pixels.draw(QPoint(ox + left, oy + top), p.strip,
                QRect(k * p.sectionW + left, top, right - left, bottom - top));
}

void tcGuiImage::drawSection(QPainter &painter, int x, int y, int k) const
{
    if (collected(painter))
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
    if (collected(painter))
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
    if (collected(painter))
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
    if (collected(painter, false))
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
    const double sx = double(size.width()) / m_pixmap.width(), sy = double(size.height()) / m_pixmap.height();
    if (standsIn(sx, sy, m_stretched.size() == size)) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRect(x, y, w, h), m_pixmap);
        painter.restore();
        return;
    }
    orba::gui::DevicePixels pixels(painter);
    if (m_stretched.size() != size || m_stretched.devicePixelRatio() != pixels.ratio()) {
        m_stretched = QPixmap::fromImage(
            preparedSource(sx, sy).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_stretched.setDevicePixelRatio(pixels.ratio());
    }
    pixels.draw(QPoint(left, top), m_stretched, m_stretched.rect());
}
