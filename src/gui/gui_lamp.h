// tcGuiLamp: shows one section of its picture, chosen by its state.
#pragma once

#include "gui/gui_object.h"

class tcGuiLamp : public tcGuiObject
{
public:
    tcGuiLamp(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void draw(QPainter &painter) override;

    void setState(int state);
    int state() const { return m_state; }
    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    tcGuiImage *picture() const { return m_picture; }

private:
    int m_state = 0;
    tcGuiImage *m_picture = nullptr;
};
