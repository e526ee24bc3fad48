// tcGuiRadioItem: one choice of a radio group, placed relative to the group or by the group's
// layout, drawn with its own picture or the group's item picture.
#pragma once

#include "gui/gui_object.h"
#include "gui/pointer_tracker.h"

class tcGuiRadioGroup;

class tcGuiRadioItem : public tcGuiObject
{
public:
    tcGuiRadioItem(const NameString &id, tcBench *bench, int serial);

    tcGuiObject *parentGroup() const override;
    int parentType() const override { return kGuiRadioGroup; }
    void afterLoad() override;
    void draw(QPainter &painter) override;
    bool leftPress(int x, int y) override;
    void drag(int x, int y, int modifiers) override;
    void release(int x, int y) override;
    bool tracksHover() const override { return true; }
    bool acceptsFocus() const override { return focusable(); }
    bool keyActivate() override { return clickAtCentre(); }

    void setGroup(tcGuiRadioGroup *group);
    tcGuiRadioGroup *group() const { return m_group; }
    bool selected() const { return m_selected; }
    void setSelected(bool on);
    bool pressed() const { return m_press.pressed(); }

    // Skin placement relative to the group, and the caption position; each marked as given.
    void setRelX(int v) { m_relX = v, m_relXSet = true; }
    void setRelY(int v) { m_relY = v, m_relYSet = true; }
    void setCaptionX(int v) { m_capX = v, m_capXSet = true; }
    void setCaptionY(int v) { m_capY = v, m_capYSet = true; }
    bool relXSet() const { return m_relXSet; }
    bool relYSet() const { return m_relYSet; }
    int relX() const { return m_relX; }
    int relY() const { return m_relY; }
    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    tcGuiImage *picture() const { return m_picture; }

private:
    tcGuiRadioGroup *m_group = nullptr;
    bool m_selected = false;
    tcPressTracker m_press;
    int m_relX = 0, m_relY = 0, m_capX = 0, m_capY = 0;
    bool m_relXSet = false, m_relYSet = false, m_capXSet = false, m_capYSet = false;
    tcGuiImage *m_picture = nullptr;
};
