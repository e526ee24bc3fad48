#include "gui/gui_knob.h"

#include "gui/gui_image.h"

#include <algorithm>
#include <cstdlib>

tcGuiKnob::tcGuiKnob(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiKnob)
{
    m_width = 20;
    m_height = 20;
    m_minimum = 0;
    m_maximum = 255;
}

uint32_t tcGuiKnob::ringMask(int style, int value, int minimum, int maximum)
{
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    const int64_t pos = static_cast<int64_t>(value) - minimum;
    if (pos < 0 || pos > range || range == 0)
        return 0;
    const float f = static_cast<float>(pos) / static_cast<float>(range);
    uint32_t mask = 0;
    auto set = [&mask](int64_t bit) { mask |= 1u << bit; };
    switch (style) {
    case kRingDot: {
        const int n = static_cast<int>(f * 20.0f + 0.5f);
        if (n <= 20)
            set(n + 2);
        break;
    }
    case kRingBar: {
        const int m = static_cast<int>(f * 21.0f + 0.5f) + 2;
        for (int i = 2; i < m && i <= 22; ++i)
            set(i);
        break;
    }
    case kRingRebar: {
        const int k = static_cast<int>(f * 21.0f + 0.5f);
        if (k + 2 >= 24)
            return 0;
        for (int i = k + 2; i <= 22; ++i)
            set(i);
        break;
    }
    case kRingSpread: {
        const int64_t h = (pos * 21 / 2) / range;
        for (int i = 2; i <= 11; ++i)
            if (i >= 12 - h)
                set(i);
        for (int i = 13; i <= 22; ++i)
            if (i <= h + 12)
                set(i);
        set(12);
        break;
    }
    case kRingQ: {
        const int64_t a = ((pos - range) * 21 / 2) / range;
        const int64_t b = ((range - pos) * 21 / 2) / range;
        for (int i = 2; i <= 11; ++i)
            if (i >= a + 12)
                set(i);
        for (int i = 13; i <= 22; ++i)
            if (i <= b + 12)
                set(i);
        set(12);
        break;
    }
    case kRingPan: {
        const int64_t c = (pos * 21) / range + 2;
        if (c > 12) {
            for (int i = 13; i <= 22; ++i)
                if (i <= c)
                    set(i);
        } else {
            for (int i = 2; i <= 11; ++i)
                if (i >= c)
                    set(i);
        }
        set(12);
        break;
    }
    default:
        break;
    }
    return mask;
}

int tcGuiKnob::filmSection(int value, int minimum, int maximum, int sections)
{
    if (maximum == minimum)
        return 0;
    const float f = static_cast<float>(value - minimum) / static_cast<float>(maximum - minimum);
    return static_cast<int>(f * static_cast<float>(sections - 1) + 0.5f);
}

int tcGuiKnob::clamp(int v) const
{
    return std::max(m_minimum, std::min(m_maximum, v));
}

void tcGuiKnob::setValue(int value)
{
    value = clamp(value);
    if (value == m_value)
        return;
    m_value = value;
    m_mask = ringMask(m_style, m_value, m_minimum, m_maximum);
    if (m_visible)
        invalidate();
}

void tcGuiKnob::setRingStyle(int style)
{
    m_style = style;
    m_mask = ringMask(m_style, m_value, m_minimum, m_maximum);
}

void tcGuiKnob::step(int delta)
{
    const int value = clamp(
        static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(m_value) + delta, INT32_MIN, INT32_MAX)));
    m_mask = ringMask(m_style, value, m_minimum, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    invalidate();
    if (m_knobChanged)
        m_knobChanged(m_context, m_controlId, m_value);
}

bool tcGuiKnob::leftPress(int x, int y)
{
    if (refusesInput())
        return false;
    if (m_drag.press(x, y))
        invalidate();
    return true;
}

void tcGuiKnob::release(int x, int y)
{
    if (!m_drag.release())
        return;
    m_highlighted = contains(x, y);
    invalidate();
}

void tcGuiKnob::drag(int x, int y, int modifiers)
{
    if (refusesInput())
        return;
    const QPoint d = m_drag.move(x, y);
    const int dx = d.x(), dy = d.y(); // up is positive
    // Diagonals against the turning sense are ignored.
    if ((dx < 0 && dy > 0) || (dx >= 1 && dy < 0))
        return;
    int delta = std::abs(dx) > std::abs(dy) ? dx : dy;
    if (modifiers & kModShift)
        delta *= 5;
    if (modifiers & kModControl)
        delta = std::clamp(delta, -1, 1);
    step(delta);
}

void tcGuiKnob::wheel(int stepCount, int modifiers)
{
    if (refusesInput())
        return;
    int delta = stepCount;
    if (modifiers & kModShift)
        delta *= 10;
    if (modifiers & kModControl)
        delta = std::clamp(delta, -1, 1);
    step(delta);
}

// A key is one wheel notch, so locks, sends and undo see what the wheel gives them.
bool tcGuiKnob::keyStep(int stepCount, int modifiers)
{
    wheel(stepCount, modifiers);
    return true;
}

void tcGuiKnob::afterLoad()
{
    m_mask = ringMask(m_style, m_value, m_minimum, m_maximum);
    finishLoad(m_picture);
}

void tcGuiKnob::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    if (m_picture) {
        if (m_style >= kRingDot && m_style <= kRingPan) {
            const int body = disabledLook() ? 2 : ((m_drag.active() || m_highlighted) ? 1 : 0);
            m_picture->drawSection(painter, m_x, m_y, body);
            for (int bit = 2; bit <= 22; ++bit) {
                if (m_mask & (1u << bit))
                    m_picture->drawSection(painter, m_x, m_y, bit + 3);
            }
        } else {
            const int section =
                disabledLook() ? 0 : filmSection(m_value, m_minimum, m_maximum, m_picture->sectionCount());
            m_picture->drawSection(painter, m_x, m_y, section);
        }
    }
    drawCaption(painter);
}
