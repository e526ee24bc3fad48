#include "gui/combo_popup.h"

#include "gui/gui_combo.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

tcComboPopup::tcComboPopup(tcGuiCombo *combo) : QFrame(nullptr, Qt::Popup), m_combo(combo)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void tcComboPopup::open(const QPoint &topLeft, int width, int rowHeight)
{
    m_items = m_combo->items();
    m_rowHeight = std::max(1, rowHeight);
    m_rows = std::max(1, m_combo->rows());
    m_scrollShown = m_items.size() > m_rows;
    m_scrollWidth = std::max(8, m_combo->zoneWidth());
    m_hovered = -1;
    m_offset = 0;
    m_scrollDragging = false;
    // Open with the current item in view.
    const int current = m_combo->index();
    m_first =
        m_scrollShown ? std::clamp(current - m_rows + 1, 0, static_cast<int>(m_items.size()) - m_rows) : 0;
    if (m_scrollShown && m_rows > 1)
        m_offset = ListScroll::clampOffset(m_first * (m_rows - 1) * m_rowHeight /
                                               std::max(1, static_cast<int>(m_items.size()) - m_rows),
                                           m_rows, m_rowHeight);
    setGeometry(topLeft.x(), topLeft.y(), std::max(1, width), m_rows * m_rowHeight);
    show();
    raise();
    update();
}

void tcComboPopup::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_scrollDragging) {
        m_offset = ListScroll::clampOffset(m_offset + pos.y() - m_lastY, m_rows, m_rowHeight);
        m_lastY = pos.y();
        m_first = ListScroll::firstRow(m_offset, static_cast<int>(m_items.size()), m_rows, m_rowHeight);
        update();
        return;
    }
    if (onRail(pos.x()))
        return;
    const int row = pos.y() / m_rowHeight + m_first;
    if (row != m_hovered) {
        m_hovered = row;
        update();
    }
}

void tcComboPopup::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !rect().contains(pos)) {
        QFrame::mousePressEvent(event);
        return;
    }
    if (onRail(pos.x())) {
        m_scrollDragging = true;
        m_lastY = pos.y();
        return;
    }
    const int row = pos.y() / m_rowHeight + m_first;
    m_hovered = row;
    hide();
    if (row >= 0 && row < m_items.size())
        m_combo->setIndex(row, true);
}

void tcComboPopup::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_scrollDragging = false;
    else if (event->button() == Qt::RightButton)
        hide();
}

void tcComboPopup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const GuiListColours &c = m_combo->colours();
    const int listWidth = m_scrollShown ? width() - m_scrollWidth : width();
    painter.fillRect(QRect(0, 0, listWidth, height()), QColor::fromRgba(c.bgList));
    painter.setFont(m_combo->listFont());
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setWrapMode(QTextOption::NoWrap);
    for (int r = 0; r < m_rows && m_first + r < m_items.size(); ++r) {
        const int item = m_first + r;
        QRgb fg = c.fgList, bg = c.bgList;
        if (item == m_hovered) {
            fg = c.fgHilite;
            bg = c.bgHilite;
        } else if (item == m_combo->index()) {
            fg = c.fgSelect;
            bg = c.bgSelect;
        }
        const QRect row(0, r * m_rowHeight, listWidth, m_rowHeight);
        painter.fillRect(row, QColor::fromRgba(bg));
        painter.setPen(QColor::fromRgba(fg));
        painter.drawText(QRectF(row.adjusted(3, 0, 0, 0)), m_items[item], option);
    }
    if (m_scrollShown) {
        const QRect rail(listWidth, 0, m_scrollWidth, height());
        painter.fillRect(rail, QColor::fromRgba(c.bgRail));
        painter.fillRect(QRect(listWidth + 1, m_offset, m_scrollWidth - 2, m_rowHeight),
                         QColor::fromRgba(c.fgList));
    }
}
