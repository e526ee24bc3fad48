// tcGuiButton: a push button with four lamp states; reports its press states (0 pressed, 1
// released, 2 left while held, 3 re-entered) and a click on release inside, or repeated clicks on
// the bench's tick while held when auto-repeat (the mode flag) is on.
#pragma once

#include "gui/gui_callbacks.h"
#include "gui/gui_object.h"

class tcGuiButton : public tcGuiObject
{
public:
    enum PressState : int { kPressed = 0, kReleased = 1, kLeft = 2, kReentered = 3 };
    static constexpr int kRepeatDelay = 10; // ticks before auto-repeat starts

    tcGuiButton(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void draw(QPainter &painter) override;
    bool leftPress(int x, int y) override;
    void drag(int x, int y, int modifiers) override;
    void release(int x, int y) override;
    void tick() override;
    bool ticking() const override { return m_pressed && m_modeFlag; }
    bool tracksHover() const override { return true; }
    bool acceptsFocus() const override { return focusable(); }
    bool keyActivate() override { return clickAtCentre(); }
    void setTextX(int v) override;
    void setTextY(int v) override;

    void setLampState(int state);
    int lampState() const { return m_lamp; }
    bool pressed() const { return m_pressed; }
    int section() const;
    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    tcGuiImage *picture() const { return m_picture; }
    void setCallbacks(GuiNotify clicked, GuiNotifyInt pressState)
    {
        m_clicked = clicked;
        m_pressState = pressState;
    }

private:
    void reportPress(int state);

    tcGuiImage *m_picture = nullptr;
    int m_lamp = 0;
    bool m_pressed = false;
    bool m_captured = false;
    bool m_textXSet = false, m_textYSet = false;
    int m_repeat = 0;
    int m_pressedShift = 2;
    GuiNotify m_clicked = nullptr;
    GuiNotifyInt m_pressState = nullptr;
};
