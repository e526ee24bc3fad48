// tcGuiLabel: a caption with an optional picture stretched to the label's size.
#pragma once

#include "gui/gui_object.h"

class tcGuiLabel : public tcGuiObject
{
public:
    tcGuiLabel(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void draw(QPainter &painter) override;

    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    tcGuiImage *picture() const { return m_picture; }

private:
    tcGuiImage *m_picture = nullptr;
};
