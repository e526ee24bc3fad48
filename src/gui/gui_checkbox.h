// tcGuiCheckBox: a two-state box that inverts on a click released inside it.
#pragma once

#include "gui/gui_callbacks.h"
#include "gui/gui_object.h"
#include "gui/pointer_tracker.h"

class tcGuiCheckBox : public tcGuiObject
{
public:
    tcGuiCheckBox(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void draw(QPainter &painter) override;
    bool leftPress(int x, int y) override;
    void drag(int x, int y, int modifiers) override;
    void release(int x, int y) override;
    bool tracksHover() const override { return true; }
    bool acceptsFocus() const override { return focusable(); }
    bool keyActivate() override { return clickAtCentre(); }

    void setChecked(bool on);
    bool checked() const { return m_checked; }
    bool pressed() const { return m_press.pressed(); }
    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    tcGuiImage *picture() const { return m_picture; }
    void setCallback(GuiNotifyBool toggled) { m_toggled = toggled; }

private:
    bool m_checked = false;
    tcPressTracker m_press;
    tcGuiImage *m_picture = nullptr;
    GuiNotifyBool m_toggled = nullptr;
};
