#include "gui/gui_radioitem.h"

#include "gui/gui_image.h"
#include "gui/gui_radiogroup.h"

tcGuiRadioItem::tcGuiRadioItem(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiRadioItem)
{
}

tcGuiObject *tcGuiRadioItem::parentGroup() const
{
    return m_group;
}

void tcGuiRadioItem::setGroup(tcGuiRadioGroup *group)
{
    m_group = group;
}

void tcGuiRadioItem::setSelected(bool on)
{
    if (on == m_selected)
        return;
    m_selected = on;
    if (m_visible)
        invalidate();
}

bool tcGuiRadioItem::leftPress(int, int)
{
    if (refusesInput() || (m_group && m_group->disabledState() != 0))
        return false;
    m_press.press();
    invalidate();
    return true;
}

void tcGuiRadioItem::drag(int x, int y, int)
{
    if (m_press.drag(contains(x, y)))
        invalidate();
}

void tcGuiRadioItem::release(int x, int y)
{
    const tcPressTracker::Release r = m_press.release(contains(x, y));
    if (r != tcPressTracker::kNone) {
        invalidate();
        if (r == tcPressTracker::kClicked && m_group)
            m_group->choose(this);
    }
    tcGuiObject::release(x, y);
}

void tcGuiRadioItem::afterLoad()
{
    useDefaultFont();
    if (m_picture) {
        m_picture->afterLoad();
        m_width = m_picture->sectionWidth();
        m_height = m_picture->height();
    }
    m_textX = m_capXSet ? m_capX : m_width + m_width / 2;
    m_textY = m_capYSet ? m_capY : 0;
    updateArea();
    layoutCaption();
    m_loaded = true;
}

void tcGuiRadioItem::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    if (m_picture)
        m_picture->drawSection(painter, m_x, m_y,
                               twoStateSection(m_selected, m_press.pressed(), m_highlighted, disabledLook()));
    drawCaption(painter);
}
