// The nine colours of the list-like controls (combo, its drop list and the list box).
#pragma once

#include <QRgb>

struct GuiListColours
{
    QRgb fg = 0xFFC0C0C0u, bg = 0xFF000000u;             // the closed box
    QRgb fgList = 0xFF808080u, bgList = 0xFF000000u;     // list rows
    QRgb fgSelect = 0xFFC0C0C0u, bgSelect = 0xFF000080u; // the selected row
    QRgb fgHilite = 0xFFC08080u, bgHilite = 0xFF000000u; // the row under the pointer
    QRgb bgRail = 0xFF202020u;                           // the scroll rail
};

// The scroll rule shared by the drop list and the list box: the offset moves with the pointer
// within the rail, and the first visible row follows in proportion. A one-row list scrolls over
// one row's height, so it can still reach every item.
struct ListScroll
{
    static int span(int rows, int rowHeight) { return (rows > 1 ? rows - 1 : 1) * rowHeight; }
    static int clampOffset(int offset, int rows, int rowHeight)
    {
        const int limit = span(rows, rowHeight);
        return offset < 0 ? 0 : (offset > limit ? limit : offset);
    }
    static int firstRow(int offset, int count, int rows, int rowHeight)
    {
        const int span = ListScroll::span(rows, rowHeight);
        if (span <= 0 || count <= rows)
            return 0;
        const int first = (count - rows) * offset / span;
        return first < 0 ? 0 : (first > count ? count : first);
    }
};
