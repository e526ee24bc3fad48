#include "gui/gui_apgraph.h"

#include "gui/device_pixels.h"
#include "gui/graph_handler.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <climits>
#include <vector>

constexpr QRgb tcGuiApGraph::kReductionColours[];

namespace {
// The scope's 500 samples span 25 ms (20 kHz).
constexpr float kWaveMs = 25.0f;
} // namespace

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
    // Signed bytes, 0 in the middle: reduction in quarter dB, or a waveform's amplitude.
    m_gainAxis = std::make_unique<tcGuiAxis>(QStringLiteral("Gain Reduction dB"), tcGuiAxis::kLinear, h,
                                             -32.0f, 32.0f);
    for (int db = 0; db >= -32; db -= 8)
        m_gainAxis->addTick(float(db), db == 0 ? 13 : 14, QString::number(db));
    for (int db = 8; db <= 32; db += 8)
        m_gainAxis->addTick(float(db), 6);
    m_waveAxis = std::make_unique<tcGuiAxis>(QStringLiteral("Waveform"), tcGuiAxis::kLinear, h, -1.0f, 1.0f);
    for (int i = -4; i <= 4; ++i)
        m_waveAxis->addTick(i / 4.0f, i == 0 ? 13 : (i % 2 == 0 ? 14 : 6),
                            i % 4 == 0 ? (i > 0 ? QStringLiteral("+1") : QString::number(i / 4)) : QString());
    m_timeAxis = std::make_unique<tcGuiAxis>(QString(), tcGuiAxis::kLinear, w, 0.0f, kWaveMs, true);
    for (int ms = 0; ms <= int(kWaveMs); ms += 5)
        m_timeAxis->addTick(float(ms), 14,
                            ms == int(kWaveMs) ? QStringLiteral("%1 ms").arg(ms) : QString::number(ms));
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
    // A waveform has time across; with the controls view the curves keep their frequencies.
    const bool wave = (m_mode & kAudio) && m_trace == kWaveTrace && !(m_mode & kResponse);
    m_xAxis = wave ? m_timeAxis.get() : m_freqAxis.get();
    if ((m_mode & kResponse) && m_custom[0])
        m_yAxis = m_custom[0];
    else if ((m_mode & kGainReduction) && m_custom[1])
        m_yAxis = m_custom[1];
    else if (drawsOwnReduction() && !(m_mode & kResponse))
        m_yAxis = m_gainAxis.get();
    else
        m_yAxis = m_responseAxis.get();
    if (m_mode & kAudio) {
        switch (m_trace) {
        case kGainTrace:
            m_yAxis2 = m_gainAxis.get();
            break;
        case kWaveTrace:
            m_yAxis2 = m_waveAxis.get();
            break;
        default:
            m_yAxis2 = m_spectrumAxes[m_range].get();
            break;
        }
    } else if ((m_mode & kGainReduction) && m_custom[1]) {
        m_yAxis2 = m_custom[1];
    } else if (drawsOwnReduction()) {
        m_yAxis2 = m_gainAxis.get();
    } else {
        m_yAxis2 = m_plainAxis.get();
    }
    // The same scale on both sides needs its labels once.
    if (m_yAxis == m_yAxis2 && m_yAxis == m_gainAxis.get())
        m_yAxis = m_responseAxis.get();
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
    if (m_mode & kAudio) {
        if (m_source.isEmpty())
            title += word + QStringLiteral("Audio");
        else if (m_trace == kGainTrace)
            title += QStringLiteral("Gain Reduction by Frequency");
        else if (m_trace == kWaveTrace)
            title +=
                m_source + ((m_mode & kResponse) ? QStringLiteral(" Waveform (%1 ms across)").arg(kWaveMs)
                                                 : QStringLiteral(" Waveform"));
        else
            title += m_source + QStringLiteral(" Spectrum");
    }
    if (m_mode & kGainReduction) {
        if (!title.isEmpty())
            title += QStringLiteral(" & ");
        title += m_reductionBlock.isEmpty() ? word + QStringLiteral("Gain Reduction")
                                            : m_reductionBlock + QStringLiteral(" Gain Reduction");
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

void tcGuiApGraph::setTrace(int trace, const QString &source)
{
    trace = std::clamp(trace, int(kSpectrumTrace), int(kWaveTrace));
    if (trace == m_trace && source == m_source)
        return;
    m_trace = trace;
    m_source = source;
    selectAxes();
    composeTitle();
    markDirty(kRedraw | kRepaint);
}

void tcGuiApGraph::setReductionBlock(const QString &block)
{
    if (block == m_reductionBlock)
        return;
    m_reductionBlock = block;
    composeTitle();
    markDirty(kRedraw | kRepaint);
}

void tcGuiApGraph::setReduction(const std::vector<ReductionBand> &bands)
{
    m_reduction = bands;
    if (drawsOwnReduction() && m_bench && m_visible)
        m_bench->invalidate(plotRect(), 0);
}

void tcGuiApGraph::setSpectrum(const uint8_t *data)
{
    std::copy(data, data + kSpectrumPoints, m_spectrum.begin());
    if ((m_mode & (kAudio | kGainReduction)) && m_bench && m_visible) {
        m_liveOnly = true;
        m_bench->invalidate(plotRect(), 0);
    }
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
    if (showsNoCurveNote()) {
        painter.save();
        painter.setPen(QColor::fromRgba(gutterFg));
        painter.setFont(m_font);
        painter.drawText(m_plot.adjusted(4, 4, -4, -4), Qt::AlignHCenter | Qt::AlignTop, noCurveText());
        painter.restore();
    }
}

void tcGuiApGraph::drawReduction(QPainter &painter, const QRect &plot)
{
    if (m_reduction.empty() || !m_freqAxis)
        return;
    const int middle = gainRow(0);
    for (int channel = 1; channel >= 0; --channel) {
        QPolygon line;
        for (const ReductionBand &b : m_reduction) {
            const int x0 = plot.left() + m_freqAxis->toPixel(b.fromHz);
            const int x1 = plot.left() + m_freqAxis->toPixel(b.toHz);
            // Quarter dB of reduction, drawn below the middle; the scale ends at 32 dB.
            const int q = std::min<int>(channel ? b.right : b.left, 128);
            const int row = gainRow(int8_t(-q));
            line << QPoint(x0, row) << QPoint(x1, row);
        }
        QColor colour = QColor::fromRgba(kReductionColours[channel]);
        QPolygon area = line;
        area << QPoint(line.last().x(), middle) << QPoint(line.first().x(), middle);
        QColor fill = colour;
        fill.setAlpha(60);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPolygon(area);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, 2));
        painter.drawPolyline(line);
    }
    painter.setPen(QPen(QColor::fromRgba(axisMajor), 1));
    painter.drawLine(plot.left(), middle, plot.right(), middle);
    // Which colour is which channel.
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);
    int x = plot.right() - 4;
    for (int channel = 1; channel >= 0; --channel) {
        const QString name = channel ? QStringLiteral("R") : QStringLiteral("L");
        x -= metrics.horizontalAdvance(name) + 4;
        painter.setPen(QColor::fromRgba(kReductionColours[channel]));
        painter.drawText(x, plot.top() + 2 + metrics.ascent(), name);
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

void tcGuiApGraph::placeLiveLine(const QRect &plot)
{
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
}

std::vector<QRect> tcGuiApGraph::liveLineBands(const QRect &plot) const
{
    // Columns of a few pixels, each as high as the segments that cross it, with pixels to spare
    // all round for the pen.
    constexpr int kBand = 16;
    const int bands = plot.width() / kBand + 1;
    std::vector<std::pair<int, int>> rows(size_t(bands), {INT_MAX, INT_MIN});
    auto add = [&](const QPoint &p, int y) {
        auto &r = rows[size_t(std::clamp((p.x() - plot.left()) / kBand, 0, bands - 1))];
        r.first = std::min(r.first, y);
        r.second = std::max(r.second, y);
    };
    for (int i = 0; i < m_liveLine.size(); ++i) {
        const QPoint &p = m_liveLine[i];
        add(p, p.y());
        if (i > 0) {
            const QPoint &q = m_liveLine[i - 1];
            add(p, q.y());
            add(q, p.y());
        }
    }
    std::vector<QRect> out(static_cast<size_t>(bands));
    for (int b = 0; b < bands; ++b) {
        if (rows[size_t(b)].first > rows[size_t(b)].second)
            continue;
        const int left = plot.left() + b * kBand;
        out[size_t(b)] = QRect(QPoint(left - 2, rows[size_t(b)].first - 2),
                               QPoint(left + kBand + 1, rows[size_t(b)].second + 2))
                             .intersected(plot);
    }
    return out;
}

bool tcGuiApGraph::liveOnlyRects(const QPainter &painter, std::vector<QRect> *rects)
{
    // Only a repaint of the plot alone, asked for a new trace over a trace this graph drew itself
    // at this scale, leaves the rest of the plot as it was. Anything else puts it all back.
    const bool only = std::exchange(m_liveOnly, false);
    const QRect plot = plotRect();
    if (!only || m_liveDrawn.empty() || m_mode != m_liveDrawnMode || plot != m_liveDrawnPlot ||
        painter.deviceTransform() != m_liveDrawnDevice || !painter.hasClipping() ||
        (m_bench && m_bench->drawsOver(this, plot)))
        return false;
    const QRectF clip = painter.clipBoundingRect();
    if (!clip.contains(QRectF(plot)) || !QRectF(plot.adjusted(-1, -1, 1, 1)).contains(clip))
        return false;
    placeLiveLine(plot);
    const std::vector<QRect> now = liveLineBands(plot);
    rects->clear();
    for (size_t b = 0; b < now.size() && b < m_liveDrawn.size(); ++b) {
        const QRect r = now[b].united(m_liveDrawn[b]);
        if (!r.isEmpty())
            rects->push_back(r);
    }
    return true;
}

void tcGuiApGraph::drawLive(QPainter &painter)
{
    const QRect plot = plotRect();
    painter.save();
    painter.setClipRect(plot, Qt::IntersectClip);
    m_liveDrawn.clear();
    if (m_mode & kAudio) {
        placeLiveLine(plot);
        orba::gui::drawSkinPolyline(painter, m_liveLine, QColor::fromRgba(audio));
        // Only a trace over the picture alone can be taken back by putting the picture back there.
        if (!(m_mode & kGainReduction)) {
            m_liveDrawn = liveLineBands(plot);
            m_liveDrawnPlot = plot;
            m_liveDrawnMode = m_mode;
            m_liveDrawnDevice = painter.deviceTransform();
        }
    }
    if (drawsOwnReduction())
        drawReduction(painter, plot);
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
