#include "gui/gui_button.h"

#include "gui/gui_image.h"

tcGuiButton::tcGuiButton(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiButton)
{
    m_height = 20;
    m_width = 50;
    m_alignment = 132; // centred both ways
    m_textX = 0;
    m_textY = 0;
}

void tcGuiButton::setTextX(int v)
{
    m_textX = v;
    m_textXSet = true;
}

void tcGuiButton::setTextY(int v)
{
    m_textY = v;
    m_textYSet = true;
}

void tcGuiButton::setLampState(int state)
{
    if (state == m_lamp)
        return;
    m_lamp = state;
    if (m_visible)
        invalidate();
}

void tcGuiButton::reportPress(int state)
{
    if (m_pressState)
        m_pressState(m_context, m_controlId, state);
}

bool tcGuiButton::leftPress(int, int)
{
    if (refusesInput())
        return false;
    if (m_captured)
        return true;
    m_captured = true;
    m_pressed = true;
    m_repeat = 0;
    reportPress(kPressed);
    invalidate();
    startTicking();
    return true;
}

void tcGuiButton::drag(int x, int y, int)
{
    if (!m_captured || m_disabled)
        return;
    const bool inside = contains(x, y);
    if (m_pressed && !inside) {
        m_pressed = false;
        reportPress(kLeft);
        invalidate();
    } else if (!m_pressed && inside) {
        m_pressed = true;
        m_repeat = 0;
        reportPress(kReentered);
        invalidate();
        startTicking();
    }
}

void tcGuiButton::release(int x, int y)
{
    const bool wasCaptured = m_captured;
    m_captured = false;
    if (m_highlighted)
        m_highlighted = contains(x, y);
    // Moves are throttled, so the release itself decides whether the pointer is still on the button.
    const bool click = m_pressed && contains(x, y);
    if (m_pressed || wasCaptured) {
        m_pressed = false;
        reportPress(kReleased);
        if (click && !(m_modeFlag && m_repeat > kRepeatDelay) && m_clicked)
            m_clicked(m_context, m_controlId);
    }
    invalidate();
}

void tcGuiButton::tick()
{
    if (!m_pressed || !m_modeFlag)
        return;
    ++m_repeat;
    if (m_repeat > kRepeatDelay && (m_repeat & 1) && m_clicked)
        m_clicked(m_context, m_controlId);
}

int tcGuiButton::section() const
{
    int base = 0;
    switch (m_lamp) {
    case 1:
        base = 3;
        break;
    case 2:
        base = 6;
        break;
    case 3:
        base = 9;
        break;
    default:
        break;
    }
    return base + (m_pressed ? 2 : (m_highlighted ? 1 : 0));
}

void tcGuiButton::afterLoad()
{
    useDefaultFont();
    if (m_picture) {
        m_picture->afterLoad();
        m_width = m_picture->width() / m_picture->sectionCount();
        m_height = m_picture->height();
    }
    updateArea();
    if (!m_textXSet)
        m_textX = (m_width - 2) / 2;
    if (!m_textYSet)
        m_textY = (m_height - 2) / 2;
    layoutCaption();
    m_loaded = true;
}

void tcGuiButton::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    if (m_picture)
        m_picture->drawSection(painter, m_x, m_y, section());
    drawCaption(painter, m_pressed ? m_pressedShift : 0);
}
