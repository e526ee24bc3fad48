#include "gui/gui_radiogroup.h"

#include "gui/gui_image.h"
#include "gui/gui_radioitem.h"

tcGuiRadioGroup::tcGuiRadioGroup(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiRadioGroup)
{
    m_height = 0;
    m_width = 0;
}

void tcGuiRadioGroup::addItem(tcGuiRadioItem *item)
{
    for (tcGuiRadioItem *known : m_items) {
        if (known == item)
            return;
    }
    item->setGroup(this);
    m_items.push_back(item);
}

tcGuiRadioItem *tcGuiRadioGroup::item(const NameString &id) const
{
    for (tcGuiRadioItem *i : m_items) {
        if (i->id() == id && i->typeCode() == kGuiRadioItem)
            return i;
    }
    return nullptr;
}

void tcGuiRadioGroup::select(tcGuiRadioItem *chosen)
{
    for (tcGuiRadioItem *i : m_items) {
        if (i != chosen)
            i->setSelected(false);
    }
    if (!chosen)
        return;
    m_selectedId = chosen->id();
    chosen->setSelected(true);
}

void tcGuiRadioGroup::choose(tcGuiRadioItem *chosen)
{
    if (!m_loaded || !chosen || chosen->selected())
        return;
    for (tcGuiRadioItem *i : m_items) {
        if (i->selected())
            i->setSelected(false);
    }
    chosen->setSelected(true);
    m_selectedId = chosen->id();
    if (m_radioSelected)
        m_radioSelected(m_context, m_controlId, chosen->controlId());
}

void tcGuiRadioGroup::afterLoad()
{
    useDefaultFont();
    if (m_picture)
        m_picture->afterLoad();
    if (m_itemPicture)
        m_itemPicture->afterLoad();
    const int pitch = m_itemPicture ? m_itemPicture->height() : kDefaultPitch;
    const int defaultX = m_x + (m_itemPicture ? m_itemPicture->sectionWidth() : kDefaultPitch);
    if (m_width == 0 && m_picture)
        m_width = m_picture->width();
    if (m_height == 0 && m_picture)
        m_height = m_picture->height();
    int runningY = m_y + pitch;
    for (tcGuiRadioItem *i : m_items) {
        i->setX(i->relXSet() ? m_x + i->relX() : defaultX);
        i->setY(i->relYSet() ? m_y + i->relY() : runningY);
        if (!i->picture())
            i->setPicture(m_itemPicture);
        i->afterLoad();
        runningY += pitch * 3 / 2;
    }
    tcGuiRadioItem *chosen = item(m_selectedId);
    if (!chosen && !m_items.empty())
        chosen = m_items.front();
    select(chosen);
    updateArea();
    layoutCaption();
    m_loaded = true;
}

void tcGuiRadioGroup::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    if (m_picture)
        m_picture->drawStretched(painter, m_x, m_y, m_width, m_height);
    drawCaption(painter);
}
