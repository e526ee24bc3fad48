#include "gui/gui_meter.h"

#include "gui/gui_image.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {
constexpr double kSpans[tcGuiMeter::kTables] = {30.0, 40.0, 60.0, 30.0, 20.0};

const char *const kLabelTexts[8][tcGuiMeter::kLabels] = {
    {"+20", "+17", "+14", "+11", "+8", "+5", "+2", "-1", "-4", "-7", "-10"},
    {"+20", "+16", "+12", "+8", "+4", "0", "-4", "-8", "-12", "-16", "-40"},
    {"+20", "+14", "+8", "+2", "-4", "-10", "-16", "-22", "-28", "-34", "-40"},
    {"0", "-3", "-6", "-9", "-12", "-15", "-18", "-21", "-24", "-27", "-30"},
    {"0", "-4", "-8", "-12", "-16", "-20", "-24", "-28", "-32", "-36", "-60"},
    {"0", "-6", "-12", "-18", "-24", "-30", "-36", "-42", "-48", "-54", "-60"},
    {"0", "-2", "-4", "-6", "-8", "-10", "-12", "-14", "-16", "-18", "-20"},
    {"0", "-3", "-6", "-9", "-12", "-15", "-18", "-21", "-24", "-27", "-30"},
};
} // namespace

tcGuiMeter::tcGuiMeter(const NameString &id, tcBench *bench, int serial)
    : tcGuiObject(id, bench, serial, kGuiMeter)
{
    m_width = 15;
    m_height = 250;
    m_textX = 0;
    m_textY = 0;
    m_ch[1].barX = 10;
    m_ch[1].ovrX = 10;
    buildTables();
}

int tcGuiMeter::spanPosition(double dB, double span, int length, bool vertical)
{
    const int p = static_cast<int>(-dB / span * (length - 1) + 0.5);
    if (vertical)
        return std::min(p, length); // below the span: the bar stays dark
    return std::max(0, length - p);
}

void tcGuiMeter::buildTables()
{
    const int length = barLength();
    for (int t = 0; t < kTables; ++t) {
        for (int b = 255; b >= 0; --b)
            m_tables[t][b] = static_cast<int16_t>(spanPosition(b * -0.25, kSpans[t], length, m_vertical));
    }
    for (int i = 0; i < kLabels; ++i)
        m_labelPos[i] = spanPosition(-3.0 * i, 30.0, length, m_vertical);
    m_labelsPrepared = false;
}

int tcGuiMeter::tableForStyle(int style)
{
    switch (style) {
    case kVU40:
    case kVUFS40:
        return 1;
    case kVU60:
    case kVUFS60:
        return 2;
    case kGR30:
        return 3;
    case kGR20:
        return 4;
    default:
        return 0;
    }
}

const char *tcGuiMeter::labelText(int style, int i)
{
    if (style < 0 || style > 7 || i < 0 || i >= kLabels)
        return "";
    return kLabelTexts[style][i];
}

int tcGuiMeter::position(uint8_t level) const
{
    return m_tables[tableForStyle(m_style)][level];
}

int tcGuiMeter::pairBase() const
{
    if (m_style == kVU60 || m_style == kVUFS60)
        return 2;
    if (m_style == kGR20 || m_style == kGR30)
        return 4;
    return 0;
}

QRect tcGuiMeter::barRect(int channel) const
{
    const Channel &c = this->channel(channel);
    return QRect(m_x + c.barX, m_y + c.barY, m_barW, m_barH);
}

QRect tcGuiMeter::overloadRect(int channel) const
{
    const Channel &c = this->channel(channel);
    return QRect(m_x + c.ovrX, m_y + c.ovrY, m_ovrW, m_ovrH);
}

void tcGuiMeter::setLevels(const uint8_t *levels, const uint8_t *peaks, const uint8_t *overloads)
{
    if (!m_visible || !hostWidget())
        return;
    bool changed = false;
    for (int i = 0; i < m_channels; ++i) {
        const uint8_t ovl = overloads[i] ? 1 : 0;
        changed |= m_ch[i].level != levels[i] || m_ch[i].peak != peaks[i] || m_ch[i].overload != ovl;
    }
    if (!changed)
        return;
    auto repaint = [this](const QRect &dirty) {
        // Queued: the meters of one frame, the graph and whatever else changed are painted
        // together.
        if (m_bench)
            m_bench->invalidate(dirty, 0);
        else
            hostWidget()->update(dirty);
    };
    for (int i = 0; i < m_channels; ++i) {
        const uint8_t ovl = overloads[i] ? 1 : 0;
        // Each channel's bar alone, and its lamp when it changes: the scale between the bars stays
        // as it is.
        if (m_ch[i].level != levels[i] || m_ch[i].peak != peaks[i])
            repaint(barRect(i));
        if (m_clip && m_ch[i].overload != ovl)
            repaint(overloadRect(i));
        m_ch[i].level = levels[i];
        m_ch[i].peak = peaks[i];
        m_ch[i].overload = ovl;
    }
}

void tcGuiMeter::setMode(int style, bool clip, int channels)
{
    channels = channels > 2 ? 2 : (channels < 1 ? 1 : channels);
    if (style == m_style && clip == m_clip && channels == m_channels)
        return;
    m_style = style;
    m_clip = clip;
    m_channels = channels;
    if (m_visible)
        invalidate();
}

void tcGuiMeter::afterLoad()
{
    useDefaultFont();
    if (m_bar) {
        if (m_bar->sectionCount() != 6 && m_bench)
            m_bench->report("WARNING: Meter bar image does not have 6 sections.");
        m_bar->afterLoad();
        if (m_bar->hasPixmap()) {
            m_barW = m_bar->sectionWidth();
            m_barH = m_bar->height();
        }
    }
    if (m_ovr) {
        if (m_ovr->sectionCount() != 6 && m_bench)
            m_bench->report("WARNING: Meter ovr image does not have 6 sections.");
        m_ovr->afterLoad();
        if (m_ovr->hasPixmap()) {
            m_ovrW = m_ovr->sectionWidth();
            m_ovrH = m_ovr->height();
        }
    }
    if (m_bg) {
        m_bg->afterLoad();
        if (m_bg->hasPixmap()) {
            m_width = m_bg->width();
            m_height = m_bg->height();
        }
    }
    buildTables();
    updateArea();
    layoutCaption();
    m_loaded = true;
}

void tcGuiMeter::drawChannel(QPainter &painter, const Channel &c, bool lamp) const
{
    const int bx = m_x + c.barX, by = m_y + c.barY;
    const int pair = pairBase();
    const bool gr = m_style == kGR20 || m_style == kGR30;
    if (!m_bar || !m_bar->hasPixmap()) {
        tcGuiImage::drawMissingMark(painter, bx, by);
    } else {
        const int L = barLength();
        const int p = std::clamp(position(c.level), 0, L);
        const int first = c.enabled ? pair : pair + 1, second = pair + 1;
        // VU bars: dark part from the second section, lit from the first. GR bars hang from the top:
        // the measured part is the lit one.
        const int before = gr ? first : second; // rows 0..p-1 (vertical)
        const int after = gr ? second : first;  // rows p..L-1
        if (m_vertical) {
            m_bar->drawSectionPart(painter, bx, by, before, 0, 0, m_barW, p);
            m_bar->drawSectionPart(painter, bx, by + p, after, 0, p, m_barW, L - p);
        } else {
            m_bar->drawSectionPart(painter, bx + p, by, second, p, 0, L - p, m_barH);
            m_bar->drawSectionPart(painter, bx, by, first, 0, 0, p, m_barH);
        }
        if (c.peak < 255 && m_style <= kVUFS60) {
            const int pp = std::clamp(position(c.peak), 0, L);
            const int len = std::min(kPeakLength, L - pp);
            if (m_vertical)
                m_bar->drawSectionPart(painter, bx, by + pp, first, 0, pp, m_barW, len);
            else
                m_bar->drawSectionPart(painter, bx + pp, by, first, pp, 0, len, m_barH);
        }
    }
    if (m_clip && lamp) {
        const int ox = m_x + c.ovrX, oy = m_y + c.ovrY;
        if (m_ovr)
            m_ovr->drawSection(painter, ox, oy, c.overload && c.enabled ? pair : pair + 1);
        else
            tcGuiImage::drawMissingMark(painter, ox, oy);
    }
}

void tcGuiMeter::draw(QPainter &painter)
{
    if (!m_visible)
        return;
    const QRect clip = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : QRect();
    // A level change repaints one bar. An opaque bar covers its rectangle whatever was there, so
    // nothing under it is drawn; the clip may reach a skin pixel past the bar where the scale
    // rounds, pixels no level change alters.
    if (clip.isValid() && m_bar && m_bar->isOpaque()) {
        for (int i = 0; i < m_channels; ++i) {
            if (barRect(i).adjusted(-1, -1, 1, 1).contains(clip)) {
                drawChannel(painter, m_ch[i], false);
                return;
            }
        }
    }
    // Anything larger: the bench has painted over it with its own background, so the meter's
    // background is redrawn there, and the labels the painter's clip reaches.
    if (m_bg)
        m_bg->drawWhole(painter, m_x, m_y);
    for (int i = 0; i < m_channels; ++i)
        drawChannel(painter, m_ch[i]);
    if (m_labels && !tcGuiImage::collecting())
        drawLabels(painter, clip.isValid() ? &clip : nullptr);
}

QRegion tcGuiMeter::opaqueArea() const
{
    QRegion bars;
    if (m_visible && m_bar && m_bar->isOpaque()) {
        for (int i = 0; i < m_channels; ++i)
            bars += barRect(i);
    }
    return bars;
}

void tcGuiMeter::prepareLabels(const QFont &font)
{
    const QFontMetrics metrics(font);
    const QPoint origin(m_x + m_textX, m_y + m_textY);
    for (int i = 0; i < kLabels; ++i) {
        const QPoint centre = origin + (m_vertical ? QPoint(0, m_labelPos[i]) : QPoint(m_labelPos[i], 0));
        const QString text = QLatin1String(labelText(m_style, i));
        Label &label = m_labelLayout[i];
        label.centre = centre;
        label.text.setText(text);
        label.text.setTextFormat(Qt::PlainText);
        label.text.prepare(QTransform(), font);
        // Centred on its point as drawText centres a line in an empty rectangle.
        const QSizeF size = label.text.size();
        label.topLeft = QPointF(centre.x() - size.width() / 2, centre.y() - size.height() / 2);
        label.bounds = metrics.boundingRect(text);
        label.bounds.moveCenter(centre);
        label.bounds.adjust(-1, -1, 1, 1);
    }
    m_labelsPrepared = true;
    m_labelFont = font;
    m_labelStyle = m_style;
    m_labelVertical = m_vertical;
    m_labelOrigin = origin;
}

void tcGuiMeter::drawLabels(QPainter &painter, const QRect *only)
{
    painter.save();
    painter.setPen(QColor::fromRgba(m_captionColour));
    if (m_bench && m_bench->headerFont())
        painter.setFont(*m_bench->headerFont());
    if (!m_labelsPrepared || m_labelStyle != m_style || m_labelVertical != m_vertical ||
        m_labelOrigin != QPoint(m_x + m_textX, m_y + m_textY) || m_labelFont != painter.font())
        prepareLabels(painter.font());
    // Static text is laid out once per scale (it keeps the layout of the painter's transform it
    // was last drawn with): a meter frame at any scale draws the labels without laying them out.
    for (const Label &label : m_labelLayout) {
        if (!only || label.bounds.intersects(*only))
            painter.drawStaticText(label.topLeft, label.text);
    }
    painter.restore();
}
