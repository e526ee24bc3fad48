#include "gui/gui_apgraph.h"

#include "gui/graph_handler.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

tcGuiApGraph::tcGuiApGraph(const NameString &id, tcBench *bench, int serial)
    : tcGuiGraph(id, bench, serial, kGuiApGraph)
{
    m_x = 0;
    m_y = 0;
}

tcGuiApGraph::~tcGuiApGraph() = default;

void tcGuiApGraph::setLayoutRect(int n, const QRect &rect)
{
    if (n >= 0 && n < kLayouts)
        m_layouts[n] = rect;
}

void tcGuiApGraph::afterLoad()
{
    useDefaultFont();
    int w = 1, h = 1;
    for (const QRect &r : m_layouts) {
        w = std::max(w, r.width());
        h = std::max(h, r.height());
    }
    ensurePixmap(w, h);
    applyLayout(0);
    m_loaded = true;
}

void tcGuiApGraph::applyLayout(int n)
{
    const QRect old = m_area.united(m_captionRect);
    m_layout = n;
    const QRect &r = m_layouts[n];
    m_x = r.x();
    m_y = r.y();
    m_width = r.width();
    m_height = r.height();
    updateArea();
    m_captionRect = m_area;
    layoutPlot();
    layoutLiveLine();
    buildAxes();
    composeTitle();
    buildTables();
    for (tcGraphHandler *h : {m_dragger, m_second}) {
        if (h)
            h->setPlotSize(m_plot.width(), m_plot.height());
    }
    m_dirty = true;
    if (m_bench && m_visible) {
        m_bench->invalidate(old, 0);
        invalidate();
    }
}

void tcGuiApGraph::setLayout(int n)
{
    if (n < 0 || n >= kLayouts || n == m_layout)
        return;
    applyLayout(n);
}

void tcGuiApGraph::buildAxes()
{
    const int w = m_plot.width(), h = m_plot.height();
    m_responseAxis = std::make_unique<tcGuiAxis>(QString(), tcGuiAxis::kLinear, h, -15.0f, 15.0f);
    for (int v = -15; v <= 15; v += 3)
        m_responseAxis->addTick(static_cast<float>(v), 6);
    for (int r = 0; r < kRanges; ++r) {
        auto axis = std::make_unique<tcGuiAxis>(QStringLiteral("Audio Spectrum dBFS"), tcGuiAxis::kLinear, h,
                                                -30.0f, 0.0f);
        for (int i = 0; i <= 10; ++i)
            axis->addTick(static_cast<float>(-3 * i), 14, QString::number(-3 * r - 3 * i));
        m_spectrumAxes[r] = std::move(axis);
    }
    m_plainAxis = std::make_unique<tcGuiAxis>(QString(), tcGuiAxis::kLinear, h, -30.0f, 0.0f);
    for (int i = 0; i <= 10; ++i)
        m_plainAxis->addTick(static_cast<float>(-3 * i), 6);
    m_freqAxis = std::make_unique<tcGuiAxis>(QString(), tcGuiAxis::kLog, w, 20.0f, 20000.0f, true);
    for (int decade = 10; decade <= 10000; decade *= 10) {
        for (int k = 1; k <= 9; ++k) {
            const int f = k * decade;
            if (f < 20 || f > 20000)
                continue;
            QString label;
            if (k == 2 || k == 5 || k == 1)
                label = f >= 1000 ? QStringLiteral("%1K").arg(f / 1000) : QString::number(f);
            const int kind = (f == 100 || f == 1000 || f == 10000) ? 13 : 14;
            m_freqAxis->addTick(static_cast<float>(f), kind, label);
        }
    }
    selectAxes();
}

void tcGuiApGraph::selectAxes()
{
    m_xAxis = m_freqAxis.get();
    if ((m_mode & kResponse) && m_custom[0])
        m_yAxis = m_custom[0];
    else if ((m_mode & kGainReduction) && m_custom[1])
        m_yAxis = m_custom[1];
    else
        m_yAxis = m_responseAxis.get();
    if (m_mode & kAudio)
        m_yAxis2 = m_spectrumAxes[m_range].get();
    else if ((m_mode & kGainReduction) && m_custom[1])
        m_yAxis2 = m_custom[1];
    else
        m_yAxis2 = m_plainAxis.get();
    m_gridRight = !(m_mode & kResponse);
}

void tcGuiApGraph::composeTitle()
{
    QString word;
    if (m_stereo)
        word = m_channel == 1 ? QStringLiteral("Right ") : QStringLiteral("Left ");
    else
        word = m_channel == 1 ? QStringLiteral("Channel 2 ") : QStringLiteral("Channel 1 ");
    QString title;
    if (m_mode & kAudio)
        title += word + QStringLiteral("Audio");
    if (m_mode & kGainReduction) {
        if (!title.isEmpty())
            title += QStringLiteral(" & ");
        title += word + QStringLiteral("Gain Reduction");
    }
    if ((m_mode & kResponse) && !m_extraTitle.isEmpty()) {
        if (!title.isEmpty())
            title += QStringLiteral(" & ");
        title += m_extraTitle;
    }
    m_title = title;
}

void tcGuiApGraph::buildTables()
{
    const int top = m_y + m_plot.top();
    for (int r = 0; r < kRanges; ++r) {
        m_tables[r][0] = top + m_plot.height() + 1; // just below the plot: not drawn
        for (int b = 1; b < 256; ++b) {
            const float dB = (static_cast<float>(b) / 255.0f - 1.0f) * 50.0f + 3.0f * r;
            m_tables[r][b] = top + m_spectrumAxes[r]->toPixel(dB);
        }
    }
}

int tcGuiApGraph::gainRow(int8_t s) const
{
    return m_y + m_plot.top() + static_cast<int>((1.0 - s / 128.0) * (m_plot.height() * 0.5) + 0.5);
}

void tcGuiApGraph::setMode(int bits)
{
    if (bits == m_mode)
        return;
    m_mode = bits;
    selectAxes();
    composeTitle();
    markDirty(kRedraw | kRepaint);
}

void tcGuiApGraph::setChannel(int index, bool stereo)
{
    if (index >= 0)
        m_channel = index;
    m_stereo = stereo;
    composeTitle();
    markDirty(kRedraw | kRepaint);
}

void tcGuiApGraph::setExtraTitle(const QString &text, bool repaint)
{
    m_extraTitle = text;
    composeTitle();
    markDirty(repaint ? kRedraw | kRepaint : kRedraw);
}

void tcGuiApGraph::setSpectrumRange(int range)
{
    range = std::clamp(range, 0, kRanges - 1);
    if (range == m_range)
        return;
    m_range = range;
    selectAxes();
    markDirty(kRedraw | kRepaint);
}

void tcGuiApGraph::setCustomAxes(const tcGuiAxis *first, const tcGuiAxis *second, bool repaint)
{
    m_custom[0] = first;
    m_custom[1] = second;
    selectAxes();
    markDirty(repaint ? kRedraw | kRepaint : kRedraw);
}

void tcGuiApGraph::setSpectrum(const uint8_t *data)
{
    std::copy(data, data + kSpectrumPoints, m_spectrum.begin());
    if ((m_mode & (kAudio | kGainReduction)) && m_bench && m_visible)
        m_bench->invalidate(plotRect(), 0);
}

void tcGuiApGraph::clearSpectrum()
{
    m_spectrum.fill(0);
    if (m_bench && m_visible)
        m_bench->invalidate(plotRect(), 0);
}

void tcGuiApGraph::setDragger(tcGraphHandler *dragger, bool repaint)
{
    m_dragger = dragger;
    if (m_captured && m_captured != m_second)
        m_captured = nullptr;
    if (m_dragger)
        m_dragger->setPlotSize(m_plot.width(), m_plot.height());
    markDirty(repaint ? kRedraw | kRepaint : kRedraw);
}

void tcGuiApGraph::setSecondHandler(tcGraphHandler *handler)
{
    m_second = handler;
    if (m_second)
        m_second->setPlotSize(m_plot.width(), m_plot.height());
}

tcGraphHandler *tcGuiApGraph::activeHandler() const
{
    return (m_mode & kResponse) && m_dragger ? m_dragger : m_second;
}

tcGraphHandler *tcGuiApGraph::targetFor(int px) const
{
    if (px < 0 || px > m_plot.width())
        return m_second;
    return activeHandler();
}

void tcGuiApGraph::drawPlotBackground(QPainter &painter)
{
    if (tcGraphHandler *h = activeHandler(); h && !m_disabled) {
        painter.save();
        painter.translate(m_plot.topLeft());
        h->drawBackground(painter);
        painter.restore();
    }
}

void tcGuiApGraph::drawCurves(QPainter &painter)
{
    if (tcGraphHandler *h = activeHandler(); h && !m_disabled) {
        painter.save();
        painter.translate(m_plot.topLeft());
        h->drawCurves(painter);
        painter.restore();
    }
}

void tcGuiApGraph::drawOverlay(QPainter &painter)
{
    if (tcGraphHandler *h = activeHandler(); h && !m_disabled) {
        painter.save();
        painter.translate(m_plot.topLeft());
        h->drawOverlay(painter);
        painter.restore();
    }
}

void tcGuiApGraph::layoutLiveLine()
{
    const QRect plot = plotRect();
    m_liveLinePlot = plot;
    m_liveLine.resize(kSpectrumPoints);
    for (int i = 0; i < kSpectrumPoints; ++i) {
        // Accumulated in floating point so the points spread evenly over the plot width.
        m_liveLine[i].setX(
            plot.left() +
            static_cast<int>((i + 1) * static_cast<double>(plot.width()) / kSpectrumPoints + 0.5));
    }
}

void tcGuiApGraph::drawLive(QPainter &painter)
{
    const QRect plot = plotRect();
    painter.save();
    painter.setClipRect(plot);
    if (m_mode & kAudio) {
        if (plot != m_liveLinePlot)
            layoutLiveLine();
        const bool gain = m_spectrum[0] & 1;
        const int bottom = plot.bottom();
        QPoint *points = m_liveLine.data();
        for (int i = 0; i < kSpectrumPoints; ++i) {
            int row = gain ? gainRow(static_cast<int8_t>(m_spectrum[i])) : spectrumRow(m_spectrum[i]);
            if (row > bottom)
                row = bottom + 2;
            points[i].setY(row);
        }
        painter.setPen(QColor::fromRgba(audio));
        painter.drawPolyline(m_liveLine);
    }
    if ((m_mode & kGainReduction) && m_dragger) {
        painter.translate(plot.topLeft());
        m_dragger->drawSelf(painter);
    }
    painter.restore();
}

int tcGuiApGraph::press(int x, int y, bool right)
{
    const int px = x - plotRect().left(), py = y - plotRect().top();
    m_captured = targetFor(px);
    m_rightPressed = right;
    m_lastX = x;
    m_lastY = y;
    if (!m_captured)
        return -1;
    return right ? m_captured->rightPress(px, py) : m_captured->leftPress(px, py);
}

bool tcGuiApGraph::leftPress(int x, int y)
{
    const int flags = press(x, y, false);
    if (flags < 0)
        return false;
    markDirty(flags);
    return true;
}

bool tcGuiApGraph::rightPress(int x, int y)
{
    const int flags = press(x, y, true);
    if (flags < 0)
        return false;
    markDirty(flags);
    return true;
}

void tcGuiApGraph::release(int x, int y)
{
    if (m_rightPressed) {
        release2(x, y);
        return;
    }
    tcGraphHandler *h = m_captured;
    m_captured = nullptr;
    if (h)
        markDirty(h->release(x - plotRect().left(), y - plotRect().top()));
}

void tcGuiApGraph::release2(int x, int y)
{
    tcGraphHandler *h = m_captured;
    m_captured = nullptr;
    m_rightPressed = false;
    if (h)
        markDirty(h->release2(x - plotRect().left(), y - plotRect().top()));
}

void tcGuiApGraph::drag(int x, int y, int modifiers)
{
    int dx = x - m_lastX, dy = y - m_lastY;
    m_lastX = x;
    m_lastY = y;
    if (modifiers & kModShift) {
        dx *= 5;
        dy *= 5;
    }
    if (m_captured)
        markDirty(m_captured->drag(dx, dy));
}

void tcGuiApGraph::hover(int x, int y, int)
{
    if (!contains(x, y))
        return;
    if (tcGraphHandler *h = activeHandler())
        markDirty(h->hover(x - plotRect().left(), y - plotRect().top()));
}

void tcGuiApGraph::wheel(int step, int modifiers)
{
    if (tcGraphHandler *h = activeHandler())
        markDirty(h->wheel(step * ((modifiers & kModShift) ? 10 : 3)));
}

void tcGuiApGraph::doubleClick(int x, int y)
{
    if (tcGraphHandler *h = activeHandler())
        markDirty(h->doubleClick(x - plotRect().left(), y - plotRect().top()));
}
