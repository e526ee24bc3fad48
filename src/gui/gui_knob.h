// tcGuiKnob: a rotary control over an integer range, drawn either as a film strip (SIMPLE) or as a
// body with a ring of 21 lamps whose lit set follows the value by the ring style. Drags, wheel
// turns and program values move it; only the user's changes are reported.
#pragma once

#include "gui/gui_callbacks.h"
#include "gui/gui_object.h"
#include "gui/pointer_tracker.h"

#include <cstdint>

class tcGuiKnob : public tcGuiObject
{
public:
    enum RingStyle : int { kSimple = 0, kRingDot, kRingBar, kRingRebar, kRingSpread, kRingQ, kRingPan };

    tcGuiKnob(const NameString &id, tcBench *bench, int serial);

    // Lamps are bits 2 to 22; bit 12 is the centre lamp.
    static uint32_t ringMask(int style, int value, int minimum, int maximum);
    // The film-strip section for a value.
    static int filmSection(int value, int minimum, int maximum, int sections);

    void afterLoad() override;
    void draw(QPainter &painter) override;
    bool leftPress(int x, int y) override;
    void release(int x, int y) override;
    void drag(int x, int y, int modifiers) override;
    void wheel(int step, int modifiers) override;
    bool acceptsWheel() const override { return true; }
    bool tracksHover() const override { return true; }
    bool acceptsFocus() const override { return focusable(); }
    bool keyStep(int step, int modifiers) override;

    void setValue(int value);
    int value() const { return m_value; }
    void setRingStyle(int style);
    int ringStyle() const { return m_style; }
    uint32_t mask() const { return m_mask; }
    bool dragging() const { return m_drag.active(); }
    // A user change: the value moves by delta within the range and is reported when it changed.
    void step(int delta);

    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    tcGuiImage *picture() const { return m_picture; }
    void setCallback(GuiNotifyInt callback) { m_knobChanged = callback; }

private:
    int clamp(int v) const;

    tcGuiImage *m_picture = nullptr;
    tcDragTracker m_drag;
    int m_value = 0;
    int m_style = kSimple;
    uint32_t m_mask = 0;
    GuiNotifyInt m_knobChanged = nullptr;
};
