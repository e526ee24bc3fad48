// The press, drag and release bookkeeping the pointer controls share: a drag tracker for the value
// controls (knob, slider) and a press tracker for the two-state controls (checkbox, radio item).
#pragma once

#include <QPoint>

class tcDragTracker
{
public:
    // Starts a drag at the point; true when none was running (the look changes).
    bool press(int x, int y)
    {
        m_last = QPoint(x, y);
        const bool started = !m_active;
        m_active = true;
        return started;
    }
    // The movement since the last point, with up positive, and the point kept for the next one.
    QPoint move(int x, int y)
    {
        const QPoint d(x - m_last.x(), m_last.y() - y);
        m_last = QPoint(x, y);
        return d;
    }
    // Ends the drag; true when one was running.
    bool release()
    {
        const bool was = m_active;
        m_active = false;
        return was;
    }
    bool active() const { return m_active; }

private:
    QPoint m_last;
    bool m_active = false;
};

class tcPressTracker
{
public:
    enum Release { kNone, kTakenBack, kClicked };

    void press() { m_pressed = true; }
    // Follows the pointer in and out of the control; true when the pressed look changes.
    bool drag(bool inside)
    {
        if (inside == m_pressed)
            return false;
        m_pressed = inside;
        return true;
    }
    // Moves are throttled, so a release outside counts as the press taken back.
    Release release(bool inside)
    {
        if (!m_pressed)
            return kNone;
        m_pressed = false;
        return inside ? kClicked : kTakenBack;
    }
    bool pressed() const { return m_pressed; }

private:
    bool m_pressed = false;
};
