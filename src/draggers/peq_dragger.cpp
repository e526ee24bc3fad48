#include "draggers/peq_dragger.h"

#include "draggers/bar_interface.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_axis.h"
#include "tables/settings_map.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

using orba::draggers::PeqSection;

tcPEQDragger::tcPEQDragger(tcGuiApGraph *graph, tcBarInterface *panel, SETTINGS_MAP *live, QObject *parent)
    : tcGuiGraphDragger(graph, parent), m_panel(panel), m_live(live), m_menu(std::make_unique<QMenu>())
{
    auto *group = new QActionGroup(m_menu.get());
    const char *names[kSections] = {"LOW", "MID 1", "MID 2", "HIGH"};
    void (tcPEQDragger::*picks[kSections])() = {
        &tcPEQDragger::slot_select_eq1, &tcPEQDragger::slot_select_eq2, &tcPEQDragger::slot_select_eq3,
        &tcPEQDragger::slot_select_eq4};
    for (int s = 0; s < kSections; ++s) {
        QAction *a = m_menu->addAction(QString::fromLatin1(names[s]));
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, picks[s]);
        m_actions[size_t(s)] = a;
    }
    checkMenu();
}

tcPEQDragger::~tcPEQDragger() = default;

void tcPEQDragger::bindSection(int section, const SectionBinding &binding)
{
    if (section >= 0 && section < kSections)
        m_bindings[size_t(section)] = binding;
}

void tcPEQDragger::setColours(const std::array<QRgb, kSections> &sections, QRgb sum)
{
    m_colours = sections;
    m_sumColour = sum;
}

const tcGuiAxis *tcPEQDragger::xAxis() const
{
    return graph() ? graph()->frequencyAxis() : nullptr;
}

const tcGuiAxis *tcPEQDragger::yAxis() const
{
    return graph() ? graph()->yAxis() : nullptr;
}

void tcPEQDragger::setSection(int s, bool enabled, double frequency, double bandwidth, double lift)
{
    if (s < 0 || s >= kSections)
        return;
    PeqSection &p = m_sections[size_t(s)];
    if (p.enabled == enabled && p.frequency == frequency && p.bandwidth == bandwidth && p.lift == lift)
        return;
    p = PeqSection{enabled, frequency, bandwidth, lift};
    m_dirty = true;
}

void tcPEQDragger::setEnabled(int s, bool enabled)
{
    if (s >= 0 && s < kSections) {
        const PeqSection &p = m_sections[size_t(s)];
        setSection(s, enabled, p.frequency, p.bandwidth, p.lift);
    }
}

void tcPEQDragger::setMaster(bool on)
{
    if (m_master == on)
        return;
    m_master = on;
    m_dirty = true;
}

void tcPEQDragger::selectSection(int s)
{
    if (s < 0 || s >= kSections || s == m_current)
        return;
    // The chosen section is drawn last, so that its curve and handles are on top.
    auto it = std::find(m_order.begin(), m_order.end(), s);
    std::rotate(it, it + 1, m_order.end());
    m_current = s;
    checkMenu();
    redraw();
}

void tcPEQDragger::checkMenu()
{
    for (int s = 0; s < kSections; ++s)
        m_actions[size_t(s)]->setChecked(s == m_current);
}

QPoint tcPEQDragger::pointOf(int s) const
{
    const PeqSection &p = m_sections[size_t(s)];
    return QPoint(tcGuiGraph::toPixel(xAxis(), float(p.frequency)),
                  tcGuiGraph::toPixel(yAxis(), float(p.lift)));
}

QRect tcPEQDragger::handleRect(int s) const
{
    const QPoint at = pointOf(s);
    return QRect(at.x() - kHandleHalf, at.y() - kHandleHalf, 2 * kHandleHalf, 2 * kHandleHalf);
}

QRect tcPEQDragger::bandwidthRect() const
{
    const PeqSection &p = m_sections[size_t(m_current)];
    const int x = pointOf(m_current).x() - kBandwidthHandle / 2;
    // Below the point for a boost, above it for a cut: on the side away from 0 dB it would leave
    // the plot.
    if (p.lift >= 0.0) {
        const int top = tcGuiGraph::toPixel(yAxis(), float(p.lift - 2.0));
        return QRect(x, top, kBandwidthHandle, kBandwidthHandle);
    }
    const int bottom = tcGuiGraph::toPixel(yAxis(), float(p.lift + 2.0));
    return QRect(x, bottom - kBandwidthHandle - 1, kBandwidthHandle, kBandwidthHandle + 1);
}

void tcPEQDragger::setPlotSize(int width, int height)
{
    tcGuiGraphDragger::setPlotSize(width, height);
    m_dirty = true;
}

void tcPEQDragger::recompute()
{
    const int w = std::max(plotWidth(), 0);
    if (int(m_columns.size()) != w) {
        m_columns = orba::draggers::peqColumnFrequencies(w);
        m_dirty = true;
    }
    const tcGuiAxis *axis = yAxis();
    const int length = axis ? axis->length() : 0;
    const bool pixelsStale = axis != m_pixelAxis || length != m_pixelLength;
    if (!m_dirty && !pixelsStale)
        return;
    if (m_dirty)
        orba::draggers::peqCompute(m_sections, m_master, m_columns, m_curves);
    m_dirty = false;
    m_pixelAxis = axis;
    m_pixelLength = length;
    for (int s = 0; s < kSections; ++s) {
        std::vector<int> &row = m_sectionPixels[size_t(s)];
        const std::vector<double> &db = m_curves.section[size_t(s)];
        row.resize(db.size());
        for (size_t j = 0; j < db.size(); ++j)
            row[j] = tcGuiGraph::toPixel(axis, float(db[j]));
    }
    m_sumPixels.resize(m_curves.sum.size());
    for (size_t j = 0; j < m_curves.sum.size(); ++j)
        m_sumPixels[j] = tcGuiGraph::toPixel(axis, float(m_curves.sum[j]));
}

const orba::draggers::PeqCurves &tcPEQDragger::curves()
{
    recompute();
    return m_curves;
}

const std::vector<int> &tcPEQDragger::sectionPixels(int section)
{
    recompute();
    return m_sectionPixels[size_t(section)];
}

const std::vector<int> &tcPEQDragger::sumPixels()
{
    recompute();
    return m_sumPixels;
}

int tcPEQDragger::leftPress(int x, int y)
{
    tcGuiGraphDragger::leftPress(x, y);
    m_mode = kNoDrag;
    if (!editable())
        return 0;
    const QPoint at(x, y);
    if (handleRect(m_current).contains(at)) {
        m_mode = kPointDrag;
    } else if (bandwidthRect().contains(at)) {
        m_mode = kBandwidthDrag;
    } else {
        for (int s = 0; s < kSections; ++s) {
            if (handleRect(s).contains(at)) {
                selectSection(s);
                m_mode = kPointDrag;
                break;
            }
        }
    }
    if (m_mode == kNoDrag)
        return 0;
    m_pointer = at;
    return kRedrawAll;
}

int tcPEQDragger::release(int, int)
{
    m_mode = kNoDrag;
    return 0;
}

int tcPEQDragger::rightPress(int x, int y)
{
    tcGuiGraphDragger::rightPress(x, y);
    if (!editable())
        return 0;
    checkMenu();
    popupMenu(m_menu.get(), x, y);
    return 0;
}

int tcPEQDragger::drag(int dx, int dy)
{
    if (m_mode == kNoDrag || !editable())
        return 0;
    if (m_mode == kPointDrag) {
        m_pointer += QPoint(dx, dy);
        writeValue(m_current, &PeqSection::frequency, &SectionBinding::frequencyKnob,
                   &SectionBinding::frequencyId, double(tcGuiGraph::toValue(xAxis(), m_pointer.x())));
        writeValue(m_current, &PeqSection::lift, &SectionBinding::liftKnob, &SectionBinding::liftId,
                   double(tcGuiGraph::toValue(yAxis(), m_pointer.y())));
    } else {
        const int step = std::abs(dx) > std::abs(dy) ? dx : -dy;
        if (step == 0)
            return 0;
        writeBandwidthStep(m_current, step);
    }
    return kRedrawAll;
}

void tcPEQDragger::writeIndex(int knob, uint16_t id, uint32_t raw)
{
    if (knob != 0 && m_panel)
        m_panel->onKnob(knob, int(raw));
    else if (m_live)
        m_live->setIndex(id, raw, CHANGE_USER);
}

void tcPEQDragger::showValue(int s, double PeqSection::*field, double value)
{
    PeqSection p = m_sections[size_t(s)];
    p.*field = value;
    setSection(s, p.enabled, p.frequency, p.bandwidth, p.lift);
}

void tcPEQDragger::writeValue(int s, double PeqSection::*field, int SectionBinding::*knob,
                              uint16_t SectionBinding::*id, double value)
{
    const SectionBinding &b = m_bindings[size_t(s)];
    if (!m_live || b.*id == 0) {
        showValue(s, field, value);
        return;
    }
    writeIndex(b.*knob, b.*id, m_live->floatToIndex(b.*id, float(value)));
    afterWrite(s, field, b.*knob, b.*id);
}

void tcPEQDragger::afterWrite(int s, double PeqSection::*field, int knob, uint16_t id)
{
    // A knob's panel shows the stored value itself; without one the editor does, and tells.
    if (knob == 0 || !m_panel) {
        showValue(s, field, double(m_live->getFloat(id)));
        emit sig_section_written(s);
    }
}

void tcPEQDragger::writeBandwidthStep(int s, int step)
{
    const SectionBinding &b = m_bindings[size_t(s)];
    if (!m_live || b.bandwidthId == 0)
        return;
    const int64_t lo = m_live->getRawMin(b.bandwidthId), hi = m_live->getRawMax(b.bandwidthId);
    const int64_t raw = std::clamp<int64_t>(int64_t(m_live->getRaw(b.bandwidthId)) + step, lo, hi);
    writeIndex(b.bandwidthKnob, b.bandwidthId, uint32_t(raw));
    afterWrite(s, &PeqSection::bandwidth, b.bandwidthKnob, b.bandwidthId);
}

int tcPEQDragger::doubleClick(int, int)
{
    if (!editable())
        return 0;
    const SectionBinding &b = m_bindings[size_t(m_current)];
    const bool next = !m_sections[size_t(m_current)].enabled;
    if (b.enableObject != 0 && b.enableId != 0 && m_panel) {
        m_panel->onCheck(b.enableObject, next);
    } else if (m_live && b.enableId != 0) {
        m_live->setBool(b.enableId, next, CHANGE_USER);
        setEnabled(m_current, m_live->getBool(b.enableId));
        emit sig_section_written(m_current);
    } else {
        setEnabled(m_current, next);
    }
    return kRedrawAll;
}

void tcPEQDragger::paintSumCurve(QPainter &painter)
{
    recompute();
    const int zero = tcGuiGraph::toPixel(yAxis(), 0.0f);
    painter.save();
    // Four full lifts add up to far beyond the axis.
    painter.setClipRect(QRect(0, 0, plotWidth(), plotHeight()), Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgba(m_sumColour), 1));
    for (size_t j = 0; j < m_sumPixels.size(); ++j)
        painter.drawLine(int(j), zero, int(j), m_sumPixels[j]);
    painter.restore();
}

void tcPEQDragger::paintSectionCurves(QPainter &painter)
{
    recompute();
    painter.save();
    painter.setClipRect(QRect(0, 0, plotWidth(), plotHeight()), Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPolygon line;
    for (int s : m_order) {
        const std::vector<int> &row = m_sectionPixels[size_t(s)];
        line.resize(int(row.size()));
        for (size_t j = 0; j < row.size(); ++j)
            line.setPoint(int(j), int(j), row[j]);
        // An off section keeps its curve, dimmed, so the user sees what switching it on would do.
        QColor c = QColor::fromRgba(m_colours[size_t(s)]);
        if (!m_sections[size_t(s)].enabled || !m_master)
            c.setAlpha(110);
        painter.setPen(QPen(c, s == m_current ? 2.0 : 1.2));
        painter.drawPolyline(line);
    }
    painter.restore();
}

void tcPEQDragger::paintHandles(QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int s : m_order) {
        const QRect r = handleRect(s);
        const bool current = s == m_current;
        painter.setPen(QPen(current ? QColor(255, 255, 255) : QColor(0, 0, 0), 1));
        painter.setBrush(QColor::fromRgba(m_colours[size_t(s)]));
        painter.drawEllipse(r.adjusted(0, 0, current ? 1 : 0, current ? 1 : 0));
        if (current) {
            // The bandwidth box: light rim, the section's colour, a bar across for "wider".
            const QRect bw = bandwidthRect().adjusted(0, 0, -1, -1);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(QPen(QColor(235, 235, 235), 1));
            painter.setBrush(QColor::fromRgba(m_colours[size_t(s)]).darker(160));
            painter.drawRect(bw);
            const int cy = bw.center().y();
            painter.drawLine(bw.left() + 2, cy, bw.right() - 2, cy);
            painter.setRenderHint(QPainter::Antialiasing, true);
        }
    }
    painter.restore();
}
