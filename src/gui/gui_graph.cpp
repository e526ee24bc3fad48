#include "gui/gui_graph.h"

#include "gui/device_pixels.h"
#include "gui/gui_image.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

tcGuiGraph::tcGuiGraph(const NameString &id, tcBench *bench, int serial, int typeCode)
    : tcGuiObject(id, bench, serial, typeCode)
{
}

tcGuiGraph::~tcGuiGraph() = default;

void tcGuiGraph::layoutPlot()
{
    m_plot = QRect(m_gutterLeft, m_gutterTop, std::max(0, m_width - m_gutterLeft - m_gutterRight),
                   std::max(0, m_height - m_gutterTop - m_gutterBottom));
}

void tcGuiGraph::ensurePixmap(int width, int height)
{
    // A broken skin may give any size; the picture stays within what a screen can show.
    width = std::clamp(width, 1, 8192);
    height = std::clamp(height, 1, 8192);
    m_pixmapSize = m_pixmapSize.expandedTo(QSize(width, height));
    // Made when first drawn, at the pixels of the painter that draws it.
    m_pixmap.reset();
    m_dirty = true;
}

void tcGuiGraph::markDirty(int flags)
{
    if (flags & kRedraw)
        m_dirty = true;
    if (flags & kRepaint)
        invalidate();
}

void tcGuiGraph::drawGrid(QPainter &painter, int kindBit, QRgb colour)
{
    painter.setPen(QColor::fromRgba(colour));
    if (m_xAxis) {
        for (const tcGuiAxis::Tick &t : m_xAxis->ticks()) {
            if ((t.kind & tcGuiAxis::kGrid) && (t.kind & kindBit))
                painter.drawLine(m_plot.left() + t.pos, m_plot.top(), m_plot.left() + t.pos, m_plot.bottom());
        }
    }
    const tcGuiAxis *y = m_gridRight ? m_yAxis2 : m_yAxis;
    if (y) {
        for (const tcGuiAxis::Tick &t : y->ticks()) {
            if ((t.kind & tcGuiAxis::kGrid) && (t.kind & kindBit))
                painter.drawLine(m_plot.left(), m_plot.top() + t.pos, m_plot.right(), m_plot.top() + t.pos);
        }
    }
}

void tcGuiGraph::drawLabels(QPainter &painter, int kindBit)
{
    painter.setPen(QColor::fromRgba(gutterFg));
    auto labelled = [kindBit](const tcGuiAxis::Tick &t) {
        return (t.kind & tcGuiAxis::kLabel) && (t.kind & kindBit) && !t.label.isEmpty();
    };
    if (m_xAxis) {
        for (const tcGuiAxis::Tick &t : m_xAxis->ticks()) {
            if (labelled(t))
                painter.drawText(QRect(m_plot.left() + t.pos, m_plot.bottom() + 1 + 3, 0, 0),
                                 Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, t.label);
        }
    }
    if (m_yAxis) {
        for (const tcGuiAxis::Tick &t : m_yAxis->ticks()) {
            if (labelled(t))
                painter.drawText(QRect(m_plot.left() - 3, m_plot.top() + t.pos, 0, 0),
                                 Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, t.label);
        }
    }
    if (m_yAxis2) {
        for (const tcGuiAxis::Tick &t : m_yAxis2->ticks()) {
            if (labelled(t))
                painter.drawText(QRect(m_plot.right() + 1 + 3, m_plot.top() + t.pos, 0, 0),
                                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, t.label);
        }
    }
}

void tcGuiGraph::drawAxisTitles(QPainter &painter)
{
    painter.setPen(QColor::fromRgba(gutterFg));
    const int middle = m_gutterTop + m_plot.height() / 2;
    if (m_yAxis && !m_yAxis->title().isEmpty()) {
        painter.save();
        painter.translate(0, middle);
        painter.rotate(270);
        painter.drawText(QRect(0, 0, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                         m_yAxis->title());
        painter.restore();
    }
    if (m_yAxis2 && !m_yAxis2->title().isEmpty()) {
        painter.save();
        painter.translate(m_width, middle);
        painter.rotate(270);
        painter.drawText(QRect(0, 0, 0, 0), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextDontClip,
                         m_yAxis2->title());
        painter.restore();
    }
    if (m_xAxis && !m_xAxis->title().isEmpty())
        painter.drawText(QRect(m_plot.center().x(), m_plot.bottom() + 1 + 12, 0, 0),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, m_xAxis->title());
}

void tcGuiGraph::renderPixmap(double sx, double sy)
{
    QPainter painter(m_pixmap.get());
    painter.scale(sx, sy);
    const QRect whole(0, 0, m_width, m_height);
    painter.setPen(QColor::fromRgba(gutterBg));
    painter.setBrush(QColor::fromRgba(gutterBg));
    painter.drawRect(whole.adjusted(0, 0, -1, -1));
    painter.fillRect(m_plot, QColor::fromRgba(plotBg));
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    if (m_bench && m_bench->headerFont())
        painter.setFont(*m_bench->headerFont());
    painter.setPen(QColor::fromRgba(gutterFg));
    painter.drawText(QRect(m_plot.left() + 10, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     m_title);
    drawGutters(painter);
    painter.save();
    painter.setClipRect(m_plot);
    drawPlotBackground(painter);
    painter.restore();
    drawGrid(painter, tcGuiAxis::kMinor, axisMinor);
    drawLabels(painter, tcGuiAxis::kMinor);
    drawGrid(painter, tcGuiAxis::kMajor, axisMajor);
    drawLabels(painter, tcGuiAxis::kMajor);
    drawAxisTitles(painter);
    painter.save();
    painter.setClipRect(m_plot);
    drawCurves(painter);
    painter.restore();
    drawOverlay(painter);
}

QRegion tcGuiGraph::opaqueArea() const
{
    // The picture fills the whole area with the gutter and plot colours.
    if (!m_visible || qAlpha(gutterBg) != 255 || qAlpha(plotBg) != 255)
        return QRegion();
    return QRegion(m_area);
}

void tcGuiGraph::draw(QPainter &painter)
{
    if (!m_visible || tcGuiImage::collecting())
        return;
    QTransform device;
    // Asked first, before the picture may be made again below, which then goes back whole.
    std::vector<QRect> only;
    const bool live = liveOnlyRects(painter, &only);
    if (!orba::gui::scalingDevice(painter, &device)) {
        const bool partly = live && !m_dirty && m_pixmap && m_pixmapSx == 1.0 && m_pixmapSy == 1.0;
        if (!m_pixmap || m_pixmapSx != 1.0 || m_pixmapSy != 1.0) {
            m_pixmap = std::make_unique<QPixmap>(m_pixmapSize);
            m_pixmapSx = m_pixmapSy = 1.0;
            m_dirty = true;
        }
        if (m_dirty) {
            m_dirty = false;
            renderPixmap(1.0, 1.0);
        }
        if (!partly) {
            painter.drawPixmap(m_x, m_y, *m_pixmap, 0, 0, m_width, m_height);
        } else {
            const QRect area(m_x, m_y, m_width, m_height);
            for (const QRect &r : only) {
                const QRect to = r & area;
                painter.drawPixmap(to.topLeft(), *m_pixmap, to.translated(-m_x, -m_y));
            }
        }
    } else {
        // Drawn at device pixels, so the grid and texts are as sharp as the screen and a repaint
        // copies the picture instead of resampling it.
        const int ox = orba::gui::deviceX(device, m_x), oy = orba::gui::deviceY(device, m_y);
        const QRect from(0, 0, orba::gui::deviceX(device, m_x + m_width) - ox,
                         orba::gui::deviceY(device, m_y + m_height) - oy);
        const bool partly =
            live && !m_dirty && m_pixmap && m_pixmapSx == device.m11() && m_pixmapSy == device.m22();
        {
            orba::gui::DevicePixels pixels(painter);
            if (!m_pixmap || m_pixmapSx != device.m11() || m_pixmapSy != device.m22() ||
                m_pixmap->devicePixelRatio() != pixels.ratio()) {
                m_pixmap =
                    std::make_unique<QPixmap>(std::max(1, int(std::ceil(m_pixmapSize.width() * device.m11()))),
                                              std::max(1, int(std::ceil(m_pixmapSize.height() * device.m22()))));
                m_pixmapSx = device.m11();
                m_pixmapSy = device.m22();
                m_dirty = true;
            }
            if (m_dirty) {
                m_dirty = false;
                m_pixmap->setDevicePixelRatio(1.0);
                renderPixmap(device.m11(), device.m22());
                m_pixmap->setDevicePixelRatio(pixels.ratio());
            }
            if (!partly) {
                pixels.draw(QPoint(ox, oy), *m_pixmap, from.intersected(m_pixmap->rect()));
            } else {
                // Every device pixel a rectangle touches, as the window's repaints take them.
                for (const QRect &r : only) {
                    const QRect src = device.mapRect(QRectF(r)).toAlignedRect().translated(-ox, -oy) & from;
                    pixels.draw(src.topLeft() + QPoint(ox, oy), *m_pixmap, src);
                }
            }
        }
    }
    drawLive(painter);
}
