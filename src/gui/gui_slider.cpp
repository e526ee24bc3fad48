#include "gui/gui_slider.h"

#include "gui/gui_image.h"

#include <algorithm>

tcGuiSlider::tcGuiSlider(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiSlider)
{
    m_height = 100;
    m_width = 40;
    m_minimum = 0;
    m_maximum = 255;
}

int tcGuiSlider::positionForValue(int v) const
{
    const float f = m_maximum == m_minimum
                        ? 0.0f
                        : static_cast<float>(v - m_minimum) / static_cast<float>(m_maximum - m_minimum);
    const float r = v >= 0 ? 0.5f : -0.5f;
    if (m_horizontal)
        return static_cast<int>(static_cast<float>(m_width - m_thumbW) * f + r) + m_thumbW / 2;
    return m_height - m_thumbH / 2 - static_cast<int>(static_cast<float>(m_height - m_thumbH) * f + r);
}

int tcGuiSlider::valueForPosition(int position) const
{
    const int travel = m_horizontal ? m_width - m_thumbW : m_height - m_thumbH;
    if (travel == 0)
        return m_minimum;
    const int along = m_horizontal ? position - m_thumbW / 2 : m_height - m_thumbH / 2 - position;
    const float v =
        static_cast<float>(static_cast<int64_t>(along) * (m_maximum - m_minimum)) / travel + m_minimum;
    return static_cast<int>(v >= 0 ? v + 0.5f : v - 0.5f);
}

void tcGuiSlider::setValue(int value)
{
    value = std::max(m_minimum, std::min(m_maximum, value));
    if (value == m_value)
        return;
    m_value = value;
    m_thumbPos = positionForValue(value);
    if (m_visible)
        invalidate();
}

void tcGuiSlider::step(int delta, int modifiers)
{
    const int before = m_value;
    int value;
    if (modifiers & kModControl) {
        value = m_value + std::clamp(delta, -1, 1);
        m_thumbPos = positionForValue(value);
    } else {
        m_thumbPos += m_horizontal ? delta : -delta;
        value = valueForPosition(m_thumbPos);
    }
    if (value < m_minimum || value > m_maximum) {
        value = value < m_minimum ? m_minimum : m_maximum;
        m_thumbPos = positionForValue(value);
    }
    m_value = value;
    if (m_value == before)
        return;
    invalidate();
    if (m_loaded && m_sliderChanged)
        m_sliderChanged(m_context, m_controlId, m_value);
}

bool tcGuiSlider::leftPress(int x, int y)
{
    if (refusesInput())
        return false;
    if (m_drag.press(x, y) && m_activeLook)
        invalidate();
    return true;
}

void tcGuiSlider::release(int x, int y)
{
    m_drag.release();
    m_highlighted = contains(x, y);
    if (m_activeLook)
        invalidate();
}

void tcGuiSlider::drag(int x, int y, int modifiers)
{
    if (refusesInput())
        return;
    const QPoint d = m_drag.move(x, y);
    int delta = m_horizontal ? d.x() : d.y();
    if (modifiers & kModShift)
        delta *= 5;
    step(delta, modifiers);
}

void tcGuiSlider::wheel(int stepCount, int modifiers)
{
    if (refusesInput())
        return;
    step(stepCount * ((modifiers & kModShift) ? 10 : 3), modifiers);
}

// A key is one wheel notch, so locks, sends and undo see what the wheel gives them.
bool tcGuiSlider::keyStep(int stepCount, int modifiers)
{
    wheel(stepCount, modifiers);
    return true;
}

void tcGuiSlider::afterLoad()
{
    m_value = std::max(m_minimum, std::min(m_maximum, m_value));
    useDefaultFont();
    if (m_rail) {
        m_rail->afterLoad();
        m_width = m_rail->width() / m_rail->sectionCount();
        m_height = m_rail->height();
    }
    if (m_thumb) {
        m_thumb->afterLoad();
        m_thumbW = m_thumb->width() / m_thumb->sectionCount();
        m_thumbH = m_thumb->height();
        m_activeLook = m_thumb->sectionCount() > 1;
    }
    m_thumbPos = positionForValue(m_value);
    updateArea();
    layoutCaption();
    m_loaded = true;
}

void tcGuiSlider::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    const bool active = m_drag.active() || m_highlighted;
    if (m_rail)
        // A one-section rail has no active look to show.
        m_rail->drawSection(painter, m_x, m_y, active && m_rail->sectionCount() > 1 ? 1 : 0);
    if (m_thumb) {
        const int pos = positionForValue(disabledLook() ? m_minimum : m_value);
        const int section = m_activeLook && active ? 1 : 0;
        if (m_horizontal)
            m_thumb->drawSection(painter, m_x + pos - m_thumbW / 2, m_y, section);
        else
            m_thumb->drawSection(painter, m_x, m_y + pos - m_thumbH / 2, section);
    }
    drawCaption(painter);
}
