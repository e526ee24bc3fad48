// tcGuiGraph: base of the graphs: a plot area framed by gutters, an x axis and two y axes with grid
// and labels, and an off-screen picture of the static layers that is redrawn only when marked dirty
// (or drawn at another scale: it is kept at the device pixels it is drawn at).
// Subclasses fill the layers; the live layer is drawn over the picture on every repaint.
#pragma once

#include "gui/gui_axis.h"
#include "gui/gui_object.h"

#include <QPixmap>
#include <QRegion>

#include <memory>
#include <vector>

class tcGuiGraph : public tcGuiObject
{
public:
    enum DirtyFlags : int { kRepaint = 1, kRedraw = 2 };

    tcGuiGraph(const NameString &id, tcBench *bench, int serial, int typeCode);
    ~tcGuiGraph() override;

    void draw(QPainter &painter) override;
    QRegion opaqueArea() const override;

    virtual void drawGutters(QPainter &) {}
    virtual void drawPlotBackground(QPainter &) {}
    virtual void drawCurves(QPainter &) {}
    virtual void drawOverlay(QPainter &) {}
    virtual void drawLive(QPainter &) {}
    // For a repaint of the plot that only the live drawing changed: the rectangles where the
    // picture must be put back (the old and the new drawing); false to put all of it back.
    virtual bool liveOnlyRects(const QPainter &, std::vector<QRect> *) { return false; }

    // The plot area in skin coordinates.
    QRect plotRect() const { return m_plot.translated(m_x, m_y); }
    const tcGuiAxis *xAxis() const { return m_xAxis; }
    const tcGuiAxis *yAxis() const { return m_yAxis; }
    const tcGuiAxis *yAxis2() const { return m_yAxis2; }
    static int toPixel(const tcGuiAxis *axis, float value) { return axis ? axis->toPixel(value) : 0; }
    static float toValue(const tcGuiAxis *axis, int pixel) { return axis ? axis->toValue(pixel) : 0.0f; }
    void markDirty(int flags);
    bool dirty() const { return m_dirty; }

    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QRgb plotBg = 0xFF000000u, gutterFg = 0xFFFFFFFFu, gutterBg = 0xFF000000u;
    QRgb axisMajor = 0xFFC0C0C0u, axisMinor = 0xFF606060u;

protected:
    void layoutPlot();
    void ensurePixmap(int width, int height);
    void drawGrid(QPainter &painter, int kindBit, QRgb colour);
    void drawLabels(QPainter &painter, int kindBit);
    void drawAxisTitles(QPainter &painter);
    void renderPixmap(double sx, double sy);

    QString m_title;
    int m_gutterLeft = 30, m_gutterRight = 30, m_gutterTop = 15, m_gutterBottom = 20;
    QRect m_plot; // relative to the graph's top-left
    const tcGuiAxis *m_xAxis = nullptr, *m_yAxis = nullptr, *m_yAxis2 = nullptr;
    bool m_gridRight = false; // the right y axis draws the horizontal grid
    std::unique_ptr<QPixmap> m_pixmap;
    QSize m_pixmapSize{1, 1};              // in skin pixels
    double m_pixmapSx = 0, m_pixmapSy = 0; // the scale m_pixmap was made for
    bool m_dirty = true;
};
