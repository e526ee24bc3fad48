#include "gui/gui_checkbox.h"

#include "gui/gui_image.h"

tcGuiCheckBox::tcGuiCheckBox(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiCheckBox)
{
    m_height = 20;
    m_width = 20;
}

void tcGuiCheckBox::setChecked(bool on)
{
    if (on == m_checked)
        return;
    m_checked = on;
    if (m_visible)
        invalidate();
}

bool tcGuiCheckBox::leftPress(int, int)
{
    if (refusesInput())
        return false;
    m_press.press();
    invalidate();
    return true;
}

void tcGuiCheckBox::drag(int x, int y, int)
{
    if (m_press.drag(contains(x, y)))
        invalidate();
}

void tcGuiCheckBox::release(int x, int y)
{
    if (m_highlighted)
        m_highlighted = contains(x, y);
    const tcPressTracker::Release r = m_press.release(contains(x, y));
    if (r == tcPressTracker::kNone)
        return;
    if (r == tcPressTracker::kTakenBack) {
        invalidate();
        return;
    }
    m_checked = !m_checked;
    invalidate();
    if (m_toggled)
        m_toggled(m_context, m_controlId, m_checked);
}

void tcGuiCheckBox::afterLoad()
{
    finishLoad(m_picture);
}

void tcGuiCheckBox::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    if (m_picture)
        m_picture->drawSection(painter, m_x, m_y,
                               twoStateSection(m_checked, m_press.pressed(), m_highlighted, disabledLook()));
    drawCaption(painter);
}
