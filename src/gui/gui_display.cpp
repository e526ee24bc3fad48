#include "gui/gui_display.h"
#include "gui/gui_image.h"

#include "gui/display_edit_dlg.h"

#include <QPainter>
#include <QTextOption>

#include <algorithm>

tcGuiDisplay::tcGuiDisplay(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiDisplay), m_shown("        ")
{
    m_height = 10;
    m_width = 10;
}

void tcGuiDisplay::show(const QString &text)
{
    QString shown = text.left(m_widthChars);
    shown = shown.leftJustified(m_widthChars, QLatin1Char(' '));
    const NameString name(shown);
    if (name == m_shown)
        return;
    m_shown = name;
    if (m_visible)
        invalidate();
}

void tcGuiDisplay::resetMarquee()
{
    m_marqueeOffset = 0;
    m_marqueeCycle = static_cast<int>(m_captionText.size()) + kSeparatorLength;
}

void tcGuiDisplay::setCaption(const QString &text)
{
    const NameString name(text);
    if (name == m_caption)
        return;
    storeCaption(name);
    resetMarquee();
    show(text);
    startTicking();
}

void tcGuiDisplay::setWidthChars(int n)
{
    n = std::clamp(n, 0, 255);
    if (n == m_widthChars)
        return;
    m_widthChars = n;
    resetMarquee();
    show(caption());
    startTicking();
}

void tcGuiDisplay::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (m_visible)
        invalidate();
}

void tcGuiDisplay::tick()
{
    if (!m_modeFlag || m_captionText.size() <= m_widthChars)
        return;
    m_countdown = std::clamp(m_countdown - 1, 0, 2);
    if (m_countdown != 0)
        return;
    if (++m_marqueeOffset >= m_marqueeCycle)
        m_marqueeOffset = 0;
    m_countdown = 2;
    const QString &text = m_captionText;
    show((text + QLatin1String(kSeparator) + text).mid(m_marqueeOffset));
}

void tcGuiDisplay::layoutCaption()
{
    // The text is drawn inside the area, so the area is all that ever needs repainting.
    m_captionRect = m_area;
}

void tcGuiDisplay::afterLoad()
{
    useDefaultFont("VORUD_MONOFONT");
    updateArea();
    layoutCaption();
    m_loaded = true;
}

void tcGuiDisplay::draw(QPainter &painter)
{
    if (!m_visible || tcGuiImage::collecting()) // no picture to collect
        return;
    painter.save();
    painter.setClipRect(m_area);
    const Colours &set = m_colours[m_state > kNormal && m_state < kStates ? m_state : kNormal];
    if (!set.transparent)
        painter.fillRect(m_area, QColor::fromRgba(set.bg));
    if (!disabledLook()) {
        painter.setPen(QColor::fromRgba(set.fg));
        QFont font = captionFont();
        if (!m_fontRecord && m_bench && m_bench->fixedFont())
            font = *m_bench->fixedFont();
        painter.setFont(font);
        QTextOption option(Qt::AlignCenter);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        option.setWrapMode(QTextOption::NoWrap);
        painter.drawText(QRectF(m_area.x(), m_area.y(), m_width, m_height), m_shown.toQString(), option);
    }
    painter.restore();
}

void tcGuiDisplay::doubleClick(int, int)
{
    if (refusesInput())
        return;
    runDoubleClickActions(*this, m_editable, m_units, m_pattern, m_displayEdited, m_dclick,
                          m_displayDoubleClicked);
}
