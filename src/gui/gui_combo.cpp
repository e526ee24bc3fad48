#include "gui/gui_combo.h"

#include "common/check.h"
#include "gui/combo_popup.h"
#include "gui/display_edit_dlg.h"
#include "gui/gui_image.h"
#include "skin/bench_master.h"

#include <QPainter>
#include <QTextOption>

#include <algorithm>

tcGuiCombo::tcGuiCombo(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiCombo)
{
    m_height = 20;
    m_width = 50;
    m_textX = 0;
    m_textY = 0;
}

tcGuiCombo::~tcGuiCombo() = default;

void tcGuiCombo::setTextX(int v)
{
    m_textX = v;
    m_textXSet = true;
}

void tcGuiCombo::setTextY(int v)
{
    m_textY = v;
    m_textYSet = true;
}

QFont tcGuiCombo::listFont() const
{
    return m_listFont ? m_listFont->font : captionFont();
}

void tcGuiCombo::setItems(const QStringList &items)
{
    m_items = items;
    if (m_visible)
        invalidate();
}

void tcGuiCombo::setIndex(int index, bool notify)
{
    if (m_items.isEmpty())
        return;
    index = std::clamp(index, 0, static_cast<int>(m_items.size()) - 1);
    if (index == m_index)
        return;
    m_index = index;
    if (notify)
        report(m_index);
    if (m_visible)
        invalidate();
}

void tcGuiCombo::setUserText(const QString &text)
{
    if (m_type != kUser || text == m_userText)
        return;
    m_userText = text;
    if (m_visible)
        invalidate();
}

void tcGuiCombo::report(int value)
{
    if (m_comboChanged)
        m_comboChanged(m_context, m_controlId, value);
}

int tcGuiCombo::zoneAt(int px, int py) const
{
    if (px < m_x + m_width - m_zoneWidth || px > m_x + m_width || py < m_y || py > m_y + m_height)
        return 0;
    return py < m_y + m_height / 2 ? 1 : 2;
}

int tcGuiCombo::stepSign() const
{
    const int sign = m_lower ? 1 : -1;
    return m_reverse ? -sign : sign;
}

bool tcGuiCombo::leftPress(int x, int y)
{
    const int zone = zoneAt(x, y);
    if (zone == 0 || refusesInput())
        return false;
    m_pressed = true;
    m_highlighted = true;
    m_upper = zone == 1;
    m_lower = zone == 2;
    m_rollCount = 0;
    invalidate();
    startTicking();
    return true;
}

void tcGuiCombo::release(int x, int y)
{
    if (m_pressed && zoneAt(x, y) != 0) {
        if (m_type == kDrop) {
            openPopup();
        } else if (!m_modeFlag || m_rollCount < 6) {
            roll(stepSign());
        }
    }
    m_pressed = false;
    m_upper = m_lower = false;
    m_highlighted = false;
    invalidate();
}

void tcGuiCombo::roll(int step)
{
    if (m_type == kUser) {
        report(step);
        return;
    }
    if (m_items.isEmpty())
        return;
    const int index = std::clamp(m_index + step, 0, static_cast<int>(m_items.size()) - 1);
    if (index != m_index) {
        m_index = index;
        report(m_index);
        invalidate();
    }
}

bool tcGuiCombo::keyStep(int stepCount, int modifiers)
{
    if (refusesInput())
        return true;
    int count = std::clamp(stepCount, -1, 1);
    if ((modifiers & kModShift) && !(modifiers & kModControl))
        count *= 5;
    roll(count);
    return true;
}

void tcGuiCombo::tick()
{
    if (!m_pressed || !m_modeFlag || (m_type != kRoll && m_type != kUser))
        return;
    ++m_rollCount;
    int step = m_rollCount < 5 ? 0 : (m_rollCount < 15 ? 1 : (m_rollCount < 25 ? 5 : 10));
    step *= stepSign();
    if (m_type == kRoll) {
        const int before = m_index;
        setIndex(m_index + step, false);
        if (m_index != before)
            report(m_index);
    } else if (step != 0) {
        report(step);
    }
}

void tcGuiCombo::hover(int x, int y, int)
{
    const int zone = zoneAt(x, y);
    const bool upper = m_visible && zone == 1, lower = m_visible && zone == 2;
    if (upper == m_upper && lower == m_lower)
        return;
    m_upper = upper;
    m_lower = lower;
    m_highlighted = upper || lower;
    invalidate();
}

void tcGuiCombo::doubleClick(int, int)
{
    if (refusesInput())
        return;
    runDoubleClickActions(*this, m_editable, m_units, m_pattern, m_comboEdited, m_dclick,
                          m_comboDoubleClicked);
}

void tcGuiCombo::openPopup()
{
    QWidget *host = hostWidget();
    ORBA_CHECK(host != nullptr, "m_parent != NULL");
    if (!m_popup)
        m_popup = std::make_unique<tcComboPopup>(this);
    const QPoint corner =
        host->mapToGlobal(QPoint(m_bench->toWidgetX(m_x), m_bench->toWidgetY(m_y + m_height)));
    m_popup->open(corner, m_bench->toWidgetX(m_width), m_bench->toWidgetY(m_height));
}

int tcGuiCombo::arrowSection() const
{
    const int zone = m_upper ? 1 : (m_lower ? 2 : 0);
    return zone + (m_pressed ? 2 : 0);
}

void tcGuiCombo::afterLoad()
{
    useDefaultFont();
    if (!m_listFont && m_bench)
        m_listFont = m_bench->findFont("VORUD_HFONT");
    if (m_picture) {
        m_picture->afterLoad();
        m_zoneWidth = m_picture->sectionWidth();
        m_height = m_picture->height();
    }
    updateArea();
    if (!m_textXSet)
        m_textX = 0;
    if (!m_textYSet)
        m_textY = -12; // the caption stands above the box
    layoutCaption();
    m_loaded = true;
}

void tcGuiCombo::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    painter.save();
    painter.setClipRect(m_area);
    painter.fillRect(m_area, QColor::fromRgba(m_colours.bg));
    if (!disabledLook()) {
        QString text;
        if (m_type == kUser)
            text = m_userText;
        else if (m_index >= 0 && m_index < m_items.size())
            text = m_items[m_index];
        painter.setPen(QColor::fromRgba(m_colours.fg));
        painter.setFont(listFont());
        QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        option.setWrapMode(QTextOption::NoWrap);
        painter.drawText(QRectF(m_x + 3, m_y, m_width - 3, m_height), text, option);
    }
    if (m_picture)
        m_picture->drawSection(painter, m_x + m_width - m_zoneWidth, m_y, arrowSection());
    painter.restore();
    drawCaption(painter);
}
