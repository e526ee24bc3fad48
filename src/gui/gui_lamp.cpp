#include "gui/gui_lamp.h"

#include "gui/gui_image.h"

tcGuiLamp::tcGuiLamp(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiLamp)
{
    m_width = 20;
    m_height = 20;
}

void tcGuiLamp::afterLoad()
{
    finishLoad(m_picture);
}

void tcGuiLamp::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (m_visible)
        invalidate();
}

void tcGuiLamp::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    if (m_picture) {
        const int section = m_state >= 0 && m_state < m_picture->sectionCount() ? m_state : 0;
        m_picture->drawSection(painter, m_x, m_y, section);
    }
    drawCaption(painter);
}
