// tcGuiDynGraph: up to five static input/output curves of dynamics sections (output level over
// input level in dB). Each curve is a polyline of up to five points computed from seven parameters
// by the graph's mode; the curve drawn last (the front one) is drawn thicker.
#pragma once

#include "gui/gui_graph.h"

#include <QPointF>

#include <array>

class tcGuiDynGraph : public tcGuiGraph
{
public:
    static constexpr int kMaxCurves = 5;
    static constexpr int kParams = 7;
    struct Curve
    {
        QRgb colour;
        bool visible = true;
        std::array<float, kParams> p{0, 3, 0, 0, 0, 0, 1};
        std::array<QPointF, 5> points{}; // in dB
        std::array<QPoint, 5> pixels{};  // relative to the graph
        int count = 0;
    };

    tcGuiDynGraph(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void drawCurves(QPainter &painter) override;

    void configure(int mode, int scale, int count);
    void setCurve(int i, float p1, float p2, float p3, float p4, float p5, float p6, float p7);
    // One parameter (0-based k); in modes 0 and 1, p1 and p5 move together with p4.
    void setCurveParam(int i, int k, float value);
    void bringToFront(int i);
    void setCurveVisible(int i, bool visible);
    void setCurveColour(int i, QRgb colour);

    const Curve &curve(int i) const { return m_curves[i]; }
    int mode() const { return m_mode; }
    int scale() const { return m_scale; }
    int count() const { return m_count; }
    const std::array<int, kMaxCurves> &drawOrder() const { return m_order; }
    // The points of a curve for a mode and a range lo..hi: returns their count.
    static int computePoints(int mode, const std::array<float, kParams> &p, float lo, float hi,
                             std::array<QPointF, 5> &out);

private:
    void buildAxes();
    void recompute(int i);
    void changed();

    std::array<Curve, kMaxCurves> m_curves;
    std::array<int, kMaxCurves> m_order{0, 1, 2, 3, 4};
    int m_mode = 0, m_scale = 0, m_count = 1;
    std::unique_ptr<tcGuiAxis> m_in, m_out;
};
