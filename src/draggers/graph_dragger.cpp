#include "draggers/graph_dragger.h"

#include "gui/gui_apgraph.h"
#include "gui/gui_axis.h"
#include "skin/bench.h"

#include <QMenu>
#include <QPainter>

#include <algorithm>

tcGuiGraphDragger::tcGuiGraphDragger(tcGuiApGraph *graph, QObject *parent) : QObject(parent), m_graph(graph)
{
    if (m_graph) {
        const QRect plot = m_graph->plotRect();
        m_plotWidth = plot.width();
        m_plotHeight = plot.height();
    }
}

void tcGuiGraphDragger::setPlotSize(int width, int height)
{
    m_plotWidth = width;
    m_plotHeight = height;
}

int tcGuiGraphDragger::leftPress(int x, int y)
{
    m_leftPress = QPoint(x, y);
    return 0;
}

int tcGuiGraphDragger::rightPress(int x, int y)
{
    m_rightPress = QPoint(x, y);
    return 0;
}

bool tcGuiGraphDragger::editable() const
{
    return m_graph && m_graph->disabledState() == 0 && !m_graph->lockedLook() &&
           (m_graph->mode() & tcGuiApGraph::kResponse);
}

void tcGuiGraphDragger::drawCurves(QPainter &painter)
{
    paintSumCurve(painter);
    paintSectionCurves(painter);
    if (m_marker > 0.0f && m_graph && m_graph->frequencyAxis()) {
        const int x = m_graph->frequencyAxis()->toPixel(m_marker);
        painter.save();
        painter.setPen(QPen(QColor::fromRgba(kMarkerColour), 1, Qt::DashLine));
        painter.drawLine(x, 0, x, m_plotHeight - 1);
        painter.restore();
    }
}

void tcGuiGraphDragger::drawOverlay(QPainter &painter)
{
    if (!handlesLive())
        paintHandles(painter);
}

void tcGuiGraphDragger::drawSelf(QPainter &painter)
{
    paintMeterOverlay(painter);
    if (handlesLive())
        paintHandles(painter);
}

bool tcGuiGraphDragger::handlesLive() const
{
    const int both = tcGuiApGraph::kResponse | tcGuiApGraph::kGainReduction;
    return m_graph && (m_graph->mode() & both) == both;
}

void tcSpectrumDragger::step(int n)
{
    n = std::clamp(n, -1, 1);
    if (n != 0 && graph() && (graph()->mode() & tcGuiApGraph::kAudio))
        graph()->setSpectrumRange(graph()->spectrumRange() + n);
}

int tcSpectrumDragger::drag(int, int dy)
{
    step(-dy);
    return 0;
}

int tcSpectrumDragger::wheel(int steps)
{
    step(steps);
    return 0;
}

void tcGuiGraphDragger::popupMenu(QMenu *menu, int x, int y) const
{
    QWidget *host = m_graph->hostWidget();
    const tcBench *b = m_graph->bench();
    if (!host || !b)
        return;
    const QRect plot = m_graph->plotRect();
    const QPoint at(b->toWidgetX(plot.left() + x), b->toWidgetY(plot.top() + y));
    menu->popup(host->mapToGlobal(at));
}

void tcGuiGraphDragger::redraw()
{
    if (m_graph)
        m_graph->markDirty(kRedrawAll);
}

void tcGuiGraphDragger::requestRedraw()
{
    if (m_graph && m_graph->dragger() == this)
        m_graph->markDirty(kRedrawAll);
}
