// tcGuiListbox: a list of rows, one current row ("SINGLE") or any number of selected rows
// ("MULTI"), with a scroll rail when there are more items than rows. Rows act on a double click, or
// on a single click when the skin makes them single-clickable.
#pragma once

#include "gui/gui_callbacks.h"
#include "gui/gui_object.h"
#include "gui/list_colours.h"

#include <QString>

#include <vector>

class tcGuiListbox : public tcGuiObject
{
public:
    enum Type : int { kSingle = 0, kMulti = 1 };
    struct Item
    {
        QString text;
        bool selected = false;
    };

    tcGuiListbox(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void draw(QPainter &painter) override;
    bool leftPress(int x, int y) override;
    void drag(int x, int y, int modifiers) override;
    void release(int x, int y) override;
    void hover(int x, int y, int modifiers) override;
    void doubleClick(int x, int y) override;
    bool acceptsDoubleClick() const override { return true; }
    bool tracksHover() const override { return true; }

    void setItems(const std::vector<Item> &items);
    const std::vector<Item> &items() const { return m_items; }
    void select(int index, bool selected, bool notify);
    std::vector<int> selectedItems() const;
    int currentIndex() const { return m_current; }
    int hoveredRow() const { return m_hovered; }
    int firstRow() const { return m_first; }
    int rowHeight() const { return m_rowHeight; }
    int rowsVisible() const { return m_rows; }
    bool scrollShown() const { return m_scrollShown; }
    bool scrollDragging() const { return m_scrollDragging; }

    void setType(int type) { m_type = type; }
    int type() const { return m_type; }
    void setListFont(const SkinFont *font) { m_listFont = font; }
    QFont listFont() const;
    GuiListColours &colours() { return m_colours; }
    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    void setCallbacks(GuiNotifyInt selected, GuiNotifyToggle toggled)
    {
        m_listSelected = selected;
        m_listToggled = toggled;
    }

private:
    bool onRail(int x, int y) const;
    int listWidth() const { return m_scrollShown ? m_width - m_scrollWidth : m_width; }
    int rowAt(int x, int y) const;

    std::vector<Item> m_items;
    int m_type = kSingle;
    int m_current = -1;
    int m_hovered = -1;
    int m_first = 0;
    int m_rows = 4;
    int m_rowHeight = 10;
    int m_scrollWidth = 16;
    tcGuiImage *m_picture = nullptr;
    bool m_scrollShown = false;
    bool m_scrollDragging = false;
    int m_scrollOffset = 0;
    const SkinFont *m_listFont = nullptr;
    GuiListColours m_colours;
    GuiNotifyInt m_listSelected = nullptr;
    GuiNotifyToggle m_listToggled = nullptr;
};
