// tcComboPopup: the drop list of a "DROP" combo, a top-level pop-up frame below the combo with one
// row per item (the combo's height each), the combo's rows at most, and a scroll rail when there are
// more items than rows. Choosing a row sets the combo's index with notification.
#pragma once

#include <QFrame>
#include <QStringList>

class tcGuiCombo;

class tcComboPopup : public QFrame
{
    Q_OBJECT
public:
    explicit tcComboPopup(tcGuiCombo *combo);

    // Takes the combo's items, rows, index, font and colours and shows the list at `topLeft`
    // (global), `width` wide with rows of `rowHeight` (widget coordinates).
    void open(const QPoint &topLeft, int width, int rowHeight);

    int hoveredRow() const { return m_hovered; }
    int firstRow() const { return m_first; }
    int rowHeight() const { return m_rowHeight; }
    int rows() const { return m_rows; }
    bool scrollShown() const { return m_scrollShown; }
    int scrollWidth() const { return m_scrollWidth; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool onRail(int x) const { return m_scrollShown && x >= width() - m_scrollWidth; }

    tcGuiCombo *m_combo;
    QStringList m_items;
    int m_rowHeight = 20;
    int m_rows = 4;
    int m_hovered = -1;
    int m_first = 0;
    bool m_scrollShown = false;
    int m_scrollWidth = 12;
    bool m_scrollDragging = false;
    int m_lastY = 0;
    int m_offset = 0;
};
