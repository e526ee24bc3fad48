// tcGuiSlider: a thumb travelling along a rail, horizontal or vertical (growing upward). The thumb
// position is kept in pixels so slow drags accumulate; the value follows from it.
#pragma once

#include "gui/gui_callbacks.h"
#include "gui/gui_object.h"
#include "gui/pointer_tracker.h"

class tcGuiSlider : public tcGuiObject
{
public:
    tcGuiSlider(const NameString &id, tcBench *bench, int serial);

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
    int thumbPosition() const { return m_thumbPos; }
    void step(int delta, int modifiers);

    // The thumb centre for a value and the value for a thumb centre, along the travel axis.
    int positionForValue(int value) const;
    int valueForPosition(int position) const;

    void setHorizontal(bool on) { m_horizontal = on; }
    bool horizontal() const { return m_horizontal; }
    bool dragging() const { return m_drag.active(); }
    void setRail(tcGuiImage *picture) { m_rail = picture; }
    void setThumb(tcGuiImage *picture) { m_thumb = picture; }
    tcGuiImage *rail() const { return m_rail; }
    tcGuiImage *thumb() const { return m_thumb; }
    int thumbWidth() const { return m_thumbW; }
    int thumbHeight() const { return m_thumbH; }
    void setCallback(GuiNotifyInt callback) { m_sliderChanged = callback; }

private:
    tcGuiImage *m_rail = nullptr;
    tcGuiImage *m_thumb = nullptr;
    int m_thumbW = 0, m_thumbH = 0;
    bool m_activeLook = false;
    tcDragTracker m_drag;
    int m_value = 0;
    int m_thumbPos = 0;
    bool m_horizontal = false;
    GuiNotifyInt m_sliderChanged = nullptr;
};
