#include "gui/gui_image.h"

#include <QBitmap>
#include <QPainter>

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
    if (!m_data.isEmpty() && m_pixmap.loadFromData(m_data) && m_hasTransparent)
        m_pixmap.setMask(m_pixmap.createMaskFromColor(QColor::fromRgba(m_transparent), Qt::MaskInColor));
    m_data = QByteArray();
    if (m_pixmap.width() <= 0 || m_pixmap.height() <= 0)
        m_pixmap = QPixmap();
    m_width = m_pixmap.width();
    m_height = m_pixmap.height();
    updateArea();
    m_captionRect = m_area;
    m_loaded = true;
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

void tcGuiImage::drawSection(QPainter &painter, int x, int y, int k) const
{
    const int n = sectionCount();
    if (m_pixmap.isNull() || k < 0 || k >= n) {
        drawMissingMark(painter, x, y);
        return;
    }
    const int w = m_pixmap.width(), h = m_pixmap.height();
    painter.drawPixmap(x, y, m_pixmap, sectionLeft(k), 0, w / n, h);
}

void tcGuiImage::drawSectionPart(QPainter &painter, int x, int y, int k, int sx, int sy, int sw, int sh) const
{
    const int n = sectionCount();
    if (m_pixmap.isNull() || k < 0 || k >= n) {
        drawMissingMark(painter, x, y);
        return;
    }
    if (sw <= 0 || sh <= 0)
        return;
    painter.drawPixmap(x, y, m_pixmap, sectionLeft(k) + sx, sy, sw, sh);
}

void tcGuiImage::drawWhole(QPainter &painter, int x, int y) const
{
    if (m_pixmap.isNull()) {
        drawMissingMark(painter, x, y);
        return;
    }
    painter.drawPixmap(x, y, m_pixmap);
}

void tcGuiImage::drawStretched(QPainter &painter, int x, int y, int w, int h) const
{
    if (m_pixmap.isNull()) {
        drawMissingMark(painter, x, y);
        return;
    }
    painter.drawPixmap(QRect(x, y, w, h), m_pixmap);
}
