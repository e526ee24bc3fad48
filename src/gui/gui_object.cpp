#include "gui/gui_object.h"

#include "gui/gui_image.h"
#include "skin/bench_master.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

tcGuiObject::tcGuiObject(const NameString &id, tcBench *bench, int serial, int typeCode)
    : m_typeCode(typeCode), m_bench(bench), m_id(id), m_serial(serial)
{
}

tcGuiObject::~tcGuiObject() = default;

tcGuiObject *tcGuiObject::find(const tcBench *bench, const NameString &id, int typeCode)
{
    if (!bench)
        return nullptr;
    tcBenchObject *object = typeCode ? bench->findObject(id, typeCode) : bench->findObject(id);
    // Every object a GUI bench holds is a tcGuiObject.
    return static_cast<tcGuiObject *>(object);
}

void tcGuiObject::useDefaultFont(const char *name)
{
    if (!m_fontRecord && m_bench)
        setFont(m_bench->findFont(name));
}

void tcGuiObject::storeCaption(const NameString &name)
{
    m_caption = name;
    m_captionText = name.toQString();
    m_captionLines = m_captionText.split(QLatin1Char('\n'));
}

void tcGuiObject::updateArea()
{
    m_area = QRect(QPoint(m_x, m_y), QPoint(m_x + m_width - 1, m_y + m_height - 1));
}

void tcGuiObject::finishLoad(tcGuiImage *picture)
{
    useDefaultFont();
    if (picture) {
        picture->afterLoad();
        m_width = picture->width() / picture->sectionCount();
        m_height = picture->height();
    }
    updateArea();
    layoutCaption();
    m_loaded = true;
}

void tcGuiObject::afterLoad() {}

void tcGuiObject::setVisible(bool visible)
{
    if (!visible) {
        hide();
        return;
    }
    if (!m_visible) {
        m_visible = true;
        if (m_captionStale) {
            m_captionStale = false;
            layoutCaption();
        }
        invalidate();
    }
}

void tcGuiObject::hide()
{
    if (m_visible) {
        m_visible = false;
        invalidate();
    }
}

void tcGuiObject::setCaption(const QString &text)
{
    const NameString name(text);
    if (name == m_caption)
        return;
    storeCaption(name);
    // Status captions of screens not shown change with every meter frame: measured when shown.
    if (!m_visible && m_loaded) {
        m_captionStale = true;
        return;
    }
    if (m_visible)
        invalidate();
    layoutCaption();
    if (m_visible)
        invalidate();
}

void tcGuiObject::setAlignment(int a)
{
    if (a == m_alignment)
        return;
    m_alignment = a;
    if (!m_loaded)
        return;
    if (m_visible)
        invalidate();
    layoutCaption();
    if (m_visible)
        invalidate();
}

bool tcGuiObject::contains(int px, int py) const
{
    return m_visible && px >= m_x && px <= m_x + m_width && py >= m_y && py <= m_y + m_height;
}

bool tcGuiObject::intersects(const QRect &rect) const
{
    return m_visible && (m_area.intersects(rect) || m_captionRect.intersects(rect));
}

bool tcGuiObject::leftPress(int, int)
{
    return false;
}

void tcGuiObject::release(int x, int y)
{
    if (m_highlighted && acceptsLeftClick() && tracksHover()) {
        m_highlighted = contains(x, y);
        if (!m_highlighted)
            invalidate();
    }
}

bool tcGuiObject::rightPress(int, int)
{
    return false;
}

void tcGuiObject::drag(int, int, int) {}

void tcGuiObject::hover(int x, int y, int)
{
    if (!tracksHover())
        return;
    const bool inside = contains(x, y);
    if (inside && !m_highlighted) {
        m_highlighted = true;
        invalidate();
    } else if (!inside && m_highlighted) {
        m_highlighted = false;
        invalidate();
    }
}

void tcGuiObject::wheel(int, int) {}

void tcGuiObject::doubleClick(int, int) {}

void tcGuiObject::setDisabledState(int bits)
{
    m_disabled = bits;
    if (m_visible)
        invalidate();
}

void tcGuiObject::setLockedLook(bool locked)
{
    if (locked == m_lockedLook)
        return;
    m_lockedLook = locked;
    if (m_visible)
        invalidate();
}

void tcGuiObject::invalidate(int flags)
{
    if (!m_bench)
        return;
    QRect rect = m_area.united(m_captionRect);
    if (m_bench->holdsFocus(this))
        rect = rect.united(tcBench::focusRect(this));
    m_bench->invalidate(rect, flags);
}

void tcGuiObject::setFont(const SkinFont *font)
{
    m_fontRecord = font;
    m_font = font ? font->font : QFont();
}

QFont tcGuiObject::captionFont() const
{
    if (m_fontRecord)
        return m_font;
    if (m_bench && m_bench->headerFont())
        return *m_bench->headerFont();
    return QFont();
}

int tcGuiObject::lineStep() const
{
    // Bounded so that a caption of many lines stays within the coordinate range.
    return m_fontRecord ? std::clamp(m_fontRecord->space, -1000, 1000) : 11;
}

int tcGuiObject::normalisedAngle(int angle)
{
    if (angle == 0 || angle == 90 || angle == -90)
        return angle;
    return angle % 90;
}

void tcGuiObject::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

bool tcGuiObject::refusesInput() const
{
    return m_disabled != 0 || (m_bench && m_bench->accessLevel(m_controlId) != 0);
}

bool tcGuiObject::clickAtCentre()
{
    const QPoint c = m_area.center();
    if (leftPress(c.x(), c.y()))
        release(c.x(), c.y());
    return true;
}

void tcGuiObject::layoutCaption()
{
    if (!m_bench || !m_bench->measuringPixmap())
        return;
    if (m_caption.isEmpty()) {
        m_captionRect = m_area;
        return;
    }
    QPainter painter(m_bench->measuringPixmap());
    painter.setFont(captionFont());
    const int originX = m_x + m_textX, originY = m_y + m_textY;
    const int step = lineStep();
    // Measured as drawCaption draws: each line aligned about its point, unclipped.
    QRect block;
    for (int n = 0; n < m_captionLines.size(); ++n) {
        const QRect line = painter.boundingRect(QRect(originX, originY + n * step, 0, 0), m_alignment | 0x300,
                                                m_captionLines[n]);
        block = block.isNull() ? line : block.united(line);
    }
    const int angle = normalisedAngle(m_fontRecord ? m_fontRecord->angle : 0);
    if (angle != 0) {
        QTransform turn;
        turn.translate(originX, originY);
        turn.rotate((360 - angle) % 360);
        turn.translate(-originX, -originY);
        block = turn.mapRect(block).adjusted(-1, -1, 1, 1);
    }
    m_captionRect = block;
}

void tcGuiObject::drawCaption(QPainter &painter, int offset)
{
    // A pass that only collects pictures lays out no text: the paint after it does.
    if (m_caption.isEmpty() || tcGuiImage::collecting())
        return;
    painter.save();
    painter.translate(m_x + m_textX + offset, m_y + m_textY + offset);
    painter.setPen(QColor::fromRgba(m_captionColour));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(captionFont());
    const int angle = normalisedAngle(m_fontRecord ? m_fontRecord->angle : 0);
    if (angle != 0)
        painter.rotate((360 - angle) % 360);
    const int step = lineStep();
    for (int n = 0; n < m_captionLines.size(); ++n)
        painter.drawText(QRect(0, n * step, 0, 0), m_alignment | 0x300, m_captionLines[n]);
    painter.restore();
}
