#include "gui/gui_label.h"

#include "gui/gui_image.h"

tcGuiLabel::tcGuiLabel(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiLabel)
{
    m_height = 20;
    m_width = 50;
    m_textX = 0;
    m_textY = 0;
}

void tcGuiLabel::afterLoad()
{
    useDefaultFont();
    if (m_picture) {
        m_picture->afterLoad();
        if (m_width == 0)
            m_width = m_picture->width();
        if (m_height == 0)
            m_height = m_picture->height();
    }
    updateArea();
    layoutCaption();
    m_loaded = true;
}

void tcGuiLabel::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    if (m_picture)
        m_picture->drawStretched(painter, m_x, m_y, m_width, m_height);
    drawCaption(painter);
}
