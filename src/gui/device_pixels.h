// Drawing prepared pixmaps at device pixels on a painter that scales: the painter's transform is
// set aside for one draw, so Qt copies the pixels instead of resampling them at every paint.
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace orba::gui {

// The painter's whole transform to device pixels when it scales (a skin scale, a high-density
// screen) without turning or mirroring; false when pictures draw 1:1 as they are, or when only
// Qt's own resampling can draw them.
inline bool scalingDevice(const QPainter &painter, QTransform *device)
{
    const QTransform t = painter.deviceTransform();
    if (t.type() != QTransform::TxScale || t.m11() <= 0 || t.m22() <= 0)
        return false;
    *device = t;
    return true;
}

inline int deviceX(const QTransform &t, double x)
{
    return static_cast<int>(std::lround(x * t.m11() + t.dx()));
}

inline int deviceY(const QTransform &t, double y)
{
    return static_cast<int>(std::lround(y * t.m22() + t.dy()));
}

// A polyline as wide as one skin pixel at the painter's scale. Past one device pixel Qt strokes a
// pen as a path, many times slower for a long trace redrawn at every meter frame; passes of its
// one-pixel line, each a device pixel apart, draw the same square pen.
inline void drawSkinPolyline(QPainter &painter, const QPolygon &line, const QColor &colour)
{
    QTransform device;
    if (!scalingDevice(painter, &device)) {
        painter.setPen(colour);
        painter.drawPolyline(line);
        return;
    }
    QPen pen(colour, 0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    const QTransform world = painter.worldTransform();
    const int wide = std::max(1, int(std::lround(device.m11())));
    const int high = std::max(1, int(std::lround(device.m22())));
    for (int dy = 0; dy < high; ++dy) {
        for (int dx = 0; dx < wide; ++dx) {
            if (dx > 0 && dy > 0)
                continue; // a cross of passes is as wide as the square one for any slope
            painter.setWorldTransform(QTransform::fromTranslate(dx / device.m11(), dy / device.m22()) * world);
            painter.drawPolyline(line);
        }
    }
    painter.setWorldTransform(world);
}

// For the life of one: the painter draws at device pixels, unscaled and unfiltered, but for the
// screen's own pixel ratio, which pixmaps prepared with that ratio meet exactly.
class DevicePixels
{
public:
    explicit DevicePixels(QPainter &painter)
        : m_painter(painter), m_world(painter.worldTransform()),
          m_smooth(painter.testRenderHint(QPainter::SmoothPixmapTransform))
    {
        painter.resetTransform();
        m_base = painter.deviceTransform();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    ~DevicePixels()
    {
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform, m_smooth);
        m_painter.setWorldTransform(m_world);
    }
    DevicePixels(const DevicePixels &) = delete;
    DevicePixels &operator=(const DevicePixels &) = delete;

    double ratio() const { return m_base.m11() > 0 ? m_base.m11() : 1.0; }
    // `from` of a pixmap prepared at this ratio, its top left at device pixel `at`.
    void draw(QPoint at, const QPixmap &pixmap, const QRect &from)
    {
        const double r = ratio();
        m_painter.drawPixmap(QPointF((at.x() - m_base.dx()) / r, (at.y() - m_base.dy()) / r), pixmap,
                             QRectF(from));
    }

private:
    QPainter &m_painter;
    QTransform m_world, m_base;
    bool m_smooth;
};

} // namespace orba::gui
