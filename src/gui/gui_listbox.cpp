#include "gui/gui_listbox.h"

#include "gui/gui_image.h"
#include "skin/bench_master.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

tcGuiListbox::tcGuiListbox(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiListbox)
{
    m_height = 20;
    m_width = 50;
}

QFont tcGuiListbox::listFont() const
{
    return m_listFont ? m_listFont->font : captionFont();
}

void tcGuiListbox::setItems(const std::vector<Item> &items)
{
    m_items = items;
    m_current = -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].selected) {
            m_current = static_cast<int>(i);
            break;
        }
    }
    m_scrollShown = static_cast<int>(m_items.size()) > m_rows;
    m_first = 0;
    m_scrollOffset = 0;
    m_hovered = -1;
    if (m_visible)
        invalidate();
}

std::vector<int> tcGuiListbox::selectedItems() const
{
    std::vector<int> out;
    if (m_type == kSingle) {
        if (m_current >= 0)
            out.push_back(m_current);
        return out;
    }
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].selected)
            out.push_back(static_cast<int>(i));
    }
    return out;
}

void tcGuiListbox::select(int index, bool selected, bool notify)
{
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return;
    if (m_type == kMulti) {
        if (m_items[index].selected == selected)
            return;
        m_items[index].selected = selected;
        if (notify && m_listToggled)
            m_listToggled(m_context, m_controlId, index, selected);
    } else {
        if (selected && index != m_current)
            m_current = index;
        else if (!selected && index == m_current)
            m_current = -1;
        else
            return;
        if (notify && m_listSelected)
            m_listSelected(m_context, m_controlId, m_current);
    }
    if (m_visible)
        invalidate();
}

bool tcGuiListbox::onRail(int px, int py) const
{
    return m_scrollShown && px >= m_x + m_width - m_scrollWidth && px <= m_x + m_width && py >= m_y &&
           py <= m_y + m_height;
}

int tcGuiListbox::rowAt(int px, int py) const
{
    if (!m_visible || px < m_x || px >= m_x + listWidth() || py < m_y || py > m_y + m_height)
        return -1;
    const int row = (py - m_y) / m_rowHeight + m_first;
    return row < static_cast<int>(m_items.size()) ? row : -1;
}

bool tcGuiListbox::leftPress(int x, int y)
{
    if (refusesInput())
        return false;
    if (onRail(x, y)) {
        m_scrollDragging = true;
        m_lastY = y;
        invalidate();
        return true;
    }
    if (!singleClickActs())
        return false;
    m_flag2 = true; // a list press, acted on at the release
    return true;
}

void tcGuiListbox::drag(int, int y, int)
{
    if (!m_scrollDragging)
        return;
    m_scrollOffset = ListScroll::clampOffset(m_scrollOffset + y - m_lastY, m_rows, m_rowHeight);
    m_lastY = y;
    m_first = ListScroll::firstRow(m_scrollOffset, static_cast<int>(m_items.size()), m_rows, m_rowHeight);
    invalidate();
}

void tcGuiListbox::release(int x, int y)
{
    if (m_scrollDragging) {
        m_scrollDragging = false;
        invalidate();
    }
    if (m_flag2) {
        m_flag2 = false;
        if (contains(x, y))
            doubleClick(x, y);
    }
}

void tcGuiListbox::hover(int x, int y, int)
{
    const int row = rowAt(x, y);
    if (row != m_hovered) {
        m_hovered = row;
        invalidate();
    }
}

void tcGuiListbox::doubleClick(int x, int y)
{
    if (refusesInput())
        return;
    // Moves are throttled, so the row under the click is taken afresh.
    m_hovered = rowAt(x, y);
    if (m_hovered < 0)
        return;
    if (m_type == kSingle)
        select(m_hovered, true, true);
    else
        select(m_hovered, !m_items[m_hovered].selected, true);
}

void tcGuiListbox::afterLoad()
{
    useDefaultFont();
    if (!m_listFont && m_bench)
        m_listFont = m_bench->findFont("VORUD_HFONT");
    if (m_picture) {
        m_picture->afterLoad();
        m_scrollWidth = m_picture->sectionWidth();
    }
    m_rowHeight = std::max(10, QFontMetrics(listFont()).height());
    m_rows = std::max(1, m_height / m_rowHeight);
    m_scrollShown = static_cast<int>(m_items.size()) > m_rows;
    updateArea();
    layoutCaption();
    m_loaded = true;
}

void tcGuiListbox::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    painter.save();
    painter.setClipRect(m_area);
    const int listW = listWidth();
    painter.fillRect(QRect(m_x, m_y, listW, m_height), QColor::fromRgba(m_colours.bgList));
    if (!disabledLook()) {
        painter.setFont(listFont());
        QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        option.setWrapMode(QTextOption::NoWrap);
        for (int r = 0; r < m_rows && m_first + r < static_cast<int>(m_items.size()); ++r) {
            const int item = m_first + r;
            const bool selected = m_type == kSingle ? item == m_current : m_items[item].selected;
            QRgb fg = m_colours.fgList, bg = m_colours.bgList;
            if (selected) {
                fg = m_colours.fgSelect;
                bg = m_colours.bgSelect;
            } else if (item == m_hovered) {
                fg = m_colours.fgHilite;
                bg = m_colours.bgHilite;
            }
            const QRect row(m_x, m_y + r * m_rowHeight, listW, m_rowHeight);
            painter.fillRect(row, QColor::fromRgba(bg));
            painter.setPen(QColor::fromRgba(fg));
            painter.drawText(QRectF(row.adjusted(3, 0, 0, 0)), m_items[item].text, option);
        }
    }
    if (m_scrollShown) {
        const int railX = m_x + m_width - m_scrollWidth;
        painter.fillRect(QRect(railX, m_y, m_scrollWidth, m_height), QColor::fromRgba(m_colours.bgRail));
        if (m_picture)
            m_picture->drawSection(painter, railX, m_y + m_scrollOffset,
                                   m_scrollDragging && m_picture->sectionCount() > 1 ? 1 : 0);
    }
    painter.restore();
    drawCaption(painter);
}
