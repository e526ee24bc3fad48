// tcGuiRadioGroup: a set of radio items of which exactly one is selected; lays out the items that
// the skin does not place and reports the user's choice with the chosen item's control id.
#pragma once

#include "gui/gui_callbacks.h"
#include "gui/gui_object.h"

#include <vector>

class tcGuiRadioItem;

class tcGuiRadioGroup : public tcGuiObject
{
public:
    static constexpr int kDefaultPitch = 14; // item pitch and indent without an item picture

    tcGuiRadioGroup(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void draw(QPainter &painter) override;

    void addItem(tcGuiRadioItem *item);
    tcGuiRadioItem *item(const NameString &id) const;
    const std::vector<tcGuiRadioItem *> &items() const { return m_items; }
    // The program's choice: no callback.
    void select(tcGuiRadioItem *item);
    const NameString &selectedId() const { return m_selectedId; }
    // The user's choice, from an item's release.
    void choose(tcGuiRadioItem *item);

    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    void setItemPicture(tcGuiImage *picture) { m_itemPicture = picture; }
    tcGuiImage *itemPicture() const { return m_itemPicture; }
    void setCallback(GuiNotifyInt selected) { m_radioSelected = selected; }

private:
    NameString m_selectedId;
    tcGuiImage *m_picture = nullptr;
    tcGuiImage *m_itemPicture = nullptr;
    std::vector<tcGuiRadioItem *> m_items; // objects of the bench, not owned
    GuiNotifyInt m_radioSelected = nullptr;
};
