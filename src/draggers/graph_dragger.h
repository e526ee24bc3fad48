// tcGuiGraphDragger: base of the graph editors. A response graph hands it pointer events in plot
// coordinates and its drawing layers; every pointer operation returns the graph's markDirty flags
// (0 nothing to redraw). The panel that attaches a dragger owns it; the graph only points to it.
// tcSpectrumDragger: the graph's own handler, which only steps the spectrum's display range.
#pragma once

#include "gui/graph_handler.h"

#include <QObject>
#include <QPoint>
#include <QRgb>

class QMenu;
class tcGuiApGraph;

class tcGuiGraphDragger : public QObject, public tcGraphHandler
{
    Q_OBJECT
public:
    // What the draggers return to have the graph redraw its picture and repaint.
    static constexpr int kRedrawAll = 3;

    explicit tcGuiGraphDragger(tcGuiApGraph *graph, QObject *parent = nullptr);

    tcGuiApGraph *graph() const { return m_graph; }
    int plotWidth() const { return m_plotWidth; }
    int plotHeight() const { return m_plotHeight; }
    QPoint lastLeftPress() const { return m_leftPress; }
    QPoint lastRightPress() const { return m_rightPress; }

    // Has the graph redraw its picture and repaint, when it is showing this editor.
    void requestRedraw();

    void setPlotSize(int width, int height) override;
    int leftPress(int x, int y) override;
    int rightPress(int x, int y) override;

    // A frequency marked across the plot (a dashed line), 0 for none.
    void setMarker(float hz) { m_marker = hz; }
    float marker() const { return m_marker; }
    static constexpr QRgb kMarkerColour = 0xFFFF8040u;

    virtual void paintSumCurve(QPainter &) {}
    virtual void paintSectionCurves(QPainter &) {}
    virtual void paintHandles(QPainter &) {}
    virtual void paintMeterOverlay(QPainter &) {}

    // The graph's layers: curves, then the handles over them in its picture; the meter overlay in
    // the live layer, as it changes with every meter frame, and the handles there too while it is
    // shown, so that they stay on top of it.
    void drawCurves(QPainter &painter) override;
    void drawOverlay(QPainter &painter) override;
    void drawSelf(QPainter &painter) override;

protected:
    // False while the graph is disabled or locked, or not showing its controls view: the editors
    // then act on nothing.
    bool editable() const;
    // The handles go on the live layer: the controls and gain-reduction views together.
    bool handlesLive() const;
    // Has the graph redraw and repaint, shown or not.
    void redraw();
    // Opens the editor's context menu at a plot point, without blocking.
    void popupMenu(QMenu *menu, int x, int y) const;

private:
    tcGuiApGraph *m_graph;
    int m_plotWidth = 0, m_plotHeight = 0;
    QPoint m_leftPress, m_rightPress;
    float m_marker = 0.0f;
};

class tcSpectrumDragger : public tcGuiGraphDragger
{
    Q_OBJECT
public:
    using tcGuiGraphDragger::tcGuiGraphDragger;

    // One range step per event, however far the pointer moved; dragging up raises the range.
    int drag(int dx, int dy) override;
    int wheel(int steps) override;

private:
    void step(int n);
};
