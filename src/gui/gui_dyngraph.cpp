#include "gui/gui_dyngraph.h"

#include "common/check.h"

#include <QPainter>

#include <algorithm>

namespace {
constexpr QRgb kDefaultColours[tcGuiDynGraph::kMaxCurves] = {0xFFFF0000u, 0xFFFF8020u, 0xFFFFFF00u,
                                                             0xFF40FF40u, 0xFF4080FFu};
constexpr float kLo[3] = {-80.0f, -60.0f, -80.0f};
constexpr float kHi[3] = {0.0f, 20.0f, 20.0f};
} // namespace

tcGuiDynGraph::tcGuiDynGraph(const NameString &id, tcBench *bench, int serial)
    : tcGuiGraph(id, bench, serial, kGuiDynGraph)
{
    m_width = 180;
    m_height = 170;
    m_gutterLeft = 30;
    m_gutterBottom = 25;
    for (int i = 0; i < kMaxCurves; ++i)
        m_curves[i].colour = kDefaultColours[i];
}

void tcGuiDynGraph::afterLoad()
{
    useDefaultFont();
    updateArea();
    m_captionRect = m_area;
    layoutPlot();
    ensurePixmap(m_width, m_height);
    buildAxes();
    for (int i = 0; i < kMaxCurves; ++i)
        recompute(i);
    m_loaded = true;
}

void tcGuiDynGraph::buildAxes()
{
    const float lo = kLo[m_scale], hi = kHi[m_scale];
    m_in = std::make_unique<tcGuiAxis>(QStringLiteral("Input dB"), tcGuiAxis::kLinear, m_plot.width(), lo, hi,
                                       true);
    m_out =
        std::make_unique<tcGuiAxis>(QStringLiteral("Output dB"), tcGuiAxis::kLinear, m_plot.height(), lo, hi);
    for (int v = static_cast<int>(lo); v <= static_cast<int>(hi); v += 10) {
        const int kind = (v % 20 == 0) ? 13 : 6;
        const QString label = (v % 20 == 0) ? QString::number(v) : QString();
        m_in->addTick(static_cast<float>(v), kind, label);
        m_out->addTick(static_cast<float>(v), kind, label);
    }
    m_xAxis = m_in.get();
    m_yAxis = m_out.get();
    m_yAxis2 = nullptr;
}

int tcGuiDynGraph::computePoints(int mode, const std::array<float, kParams> &p, float lo, float hi,
                                 std::array<QPointF, 5> &P)
{
    const float p1 = p[0], p2 = p[1], p3 = p[2], p4 = p[3], p5 = p[4], p6 = p[5], p7 = p[6];
    const float m = std::min(p1, p5);
    P = {QPointF(lo, lo), QPointF(m, m), QPointF(p1, p1), QPointF(p4, p4), QPointF(hi, hi)};
    int count = 5;
    bool offset = false;
    switch (mode) {
    case 0:
        P[0] = QPointF(lo - p6 / p7, lo - p6);
        P[1] = QPointF(m - p6 / p7, m - p6);
        offset = true;
        break;
    case 1:
        P[0] = QPointF(lo, lo - p6);
        P[1] = QPointF(m, m - p6);
        offset = true;
        break;
    case 2:
        P[0] = QPointF(lo, lo);
        P[1] = QPointF(p4, p4);
        P[2] = QPointF(hi, p4);
        count = 3;
        break;
    case 3:
        P[0] = QPointF(lo, lo + p3);
        P[1] = QPointF(p1, p1 + p3);
        if (hi >= p1 && hi >= p1 + p3) {
            P[2] = QPointF(p1 + (hi - P[1].y()) * p2, hi);
            count = 3;
        } else {
            count = 2;
        }
        break;
    case 4:
        P[0] = QPointF(lo, lo + p3);
        P[1] = QPointF(p1, p1 + p3);
        if (P[1].y() <= p4) {
            P[2] = QPointF(p1 + (p4 - P[1].y()) * p2, p4);
        } else {
            P[1] = QPointF(p1 - (P[1].y() - p4), p4);
            P[2] = P[1];
        }
        if (hi >= P[2].x() && hi >= P[2].y()) {
            P[3] = QPointF(hi, p4);
            count = 4;
        } else {
            count = 3;
        }
        break;
    case 5:
    case 6: {
        const float D = hi - lo;
        P[1] = mode == 5 ? QPointF(m, m - p6) : QPointF(m - p6 / p7, m - p6);
        P[0] = QPointF(P[1].x() - D, P[1].y() - D);
        P[2] = QPointF(m, m);
        P[3] = QPointF(p1, p1);
        if (hi >= p1) {
            P[4] = QPointF(p1 + (hi - p1) * p2, hi);
            count = 5;
        } else {
            count = 4;
        }
        offset = true;
        break;
    }
    default:
        break;
    }
    if (offset) {
        for (int i = 0; i < count; ++i)
            P[i].setY(P[i].y() + p3);
    }
    return count;
}

void tcGuiDynGraph::recompute(int i)
{
    Curve &c = m_curves[i];
    c.count = computePoints(m_mode, c.p, kLo[m_scale], kHi[m_scale], c.points);
    for (int k = 0; k < c.count; ++k)
        c.pixels[k] = QPoint(m_plot.left() + toPixel(m_xAxis, static_cast<float>(c.points[k].x())),
                             m_plot.top() + toPixel(m_yAxis, static_cast<float>(c.points[k].y())));
}

void tcGuiDynGraph::changed()
{
    markDirty(kRedraw | (m_visible ? kRepaint : 0));
}

void tcGuiDynGraph::configure(int mode, int scale, int count)
{
    ORBA_CHECK(count > 0 && count <= kMaxCurves, "max_curves > 0 && max_curves <= MAX_DYNGRAPH_CURVES");
    scale = std::clamp(scale, 0, 2);
    if (mode == m_mode && scale == m_scale && count == m_count)
        return;
    m_mode = mode;
    m_scale = scale;
    m_count = count;
    buildAxes();
    for (int i = 0; i < kMaxCurves; ++i) {
        m_curves[i].p = {0, 3, 0, 0, 0, 0, 1};
        recompute(i);
    }
    changed();
}

void tcGuiDynGraph::setCurve(int i, float p1, float p2, float p3, float p4, float p5, float p6, float p7)
{
    if (i < 0 || i >= m_count)
        return;
    m_curves[i].p = {p1, p2, p3, p4, p5, p6, p7};
    recompute(i);
    changed();
}

void tcGuiDynGraph::setCurveParam(int i, int k, float value)
{
    if (i < 0 || i >= m_count || k < 0 || k >= kParams)
        return;
    auto &p = m_curves[i].p;
    if ((m_mode == 0 || m_mode == 1) && (k == 0 || k == 4))
        p[0] = p[3] = p[4] = value;
    else
        p[k] = value;
    recompute(i);
    changed();
}

void tcGuiDynGraph::bringToFront(int i)
{
    if (i < 0 || i >= kMaxCurves)
        return;
    auto it = std::find(m_order.begin(), m_order.end(), i);
    std::rotate(it, it + 1, m_order.end());
    changed();
}

void tcGuiDynGraph::setCurveVisible(int i, bool visible)
{
    if (i < 0 || i >= kMaxCurves || m_curves[i].visible == visible)
        return;
    m_curves[i].visible = visible;
    changed();
}

void tcGuiDynGraph::setCurveColour(int i, QRgb colour)
{
    if (i >= 0 && i < kMaxCurves)
        m_curves[i].colour = colour;
}

void tcGuiDynGraph::drawCurves(QPainter &painter)
{
    if (disabledLook())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    auto shown = [this](int i) { return i < m_count && m_curves[i].visible && m_curves[i].count >= 2; };
    int front = -1;
    for (int i : m_order) {
        if (shown(i))
            front = i;
    }
    for (int i : m_order) {
        const Curve &c = m_curves[i];
        if (!shown(i))
            continue;
        QPen pen(QColor::fromRgba(c.colour));
        pen.setWidth(i == front ? 2 : 1);
        painter.setPen(pen);
        painter.drawPolyline(c.pixels.data(), c.count);
    }
    painter.restore();
}
