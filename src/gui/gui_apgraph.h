// tcGuiApGraph: the response graph: frequency responses (drawn by the attached graph handler),
// the audio spectrum and gain reduction (the live layer) over a logarithmic 20 Hz - 20 kHz axis, in
// one of nine layouts. Pointer events go to the attached handler in the controls view (mode bit
// 1), else to the second slot; presses beside the plot always go to the second slot.
#pragma once

#include "gui/gui_graph.h"

#include <QPolygon>
#include <QTransform>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class tcGraphHandler;

class tcGuiApGraph : public tcGuiGraph
{
public:
    enum Mode : int { kResponse = 1, kAudio = 2, kGainReduction = 4 };
    // What the 500 data bytes of the audio view hold, as the owner chose the source.
    enum Trace : int { kSpectrumTrace = 0, kGainTrace = 1, kWaveTrace = 2 };
    // One band of the gain-reduction view: its frequency span and each channel's reduction in
    // quarter dB (0 none).
    struct ReductionBand
    {
        float fromHz, toHz;
        uint8_t left, right;
    };
    static constexpr QRgb kReductionColours[2] = {0xFFFFB040u, 0xFF40D0FFu};
    static constexpr int kLayouts = 9;
    static constexpr int kRanges = 8;
    static constexpr int kSpectrumPoints = 500;

    tcGuiApGraph(const NameString &id, tcBench *bench, int serial);
    ~tcGuiApGraph() override;

    void afterLoad() override;
    void drawPlotBackground(QPainter &painter) override;
    void drawCurves(QPainter &painter) override;
    void drawOverlay(QPainter &painter) override;
    void drawLive(QPainter &painter) override;
    bool liveOnlyRects(const QPainter &painter, std::vector<QRect> *rects) override;

    bool leftPress(int x, int y) override;
    bool rightPress(int x, int y) override;
    void release(int x, int y) override;
    void drag(int x, int y, int modifiers) override;
    void hover(int x, int y, int modifiers) override;
    void wheel(int step, int modifiers) override;
    void doubleClick(int x, int y) override;
    bool acceptsRightClick() const override { return true; }
    bool acceptsWheel() const override { return true; }
    bool acceptsDoubleClick() const override { return true; }
    bool tracksHover() const override { return true; }

    void setLayoutRect(int n, const QRect &rect);
    QRect layoutRect(int n) const { return m_layouts[n]; }
    void setLayout(int n);
    int layout() const { return m_layout; }
    void setMode(int bits);
    int mode() const { return m_mode; }
    void setChannel(int index, bool stereo);
    void setExtraTitle(const QString &text, bool repaint);
    void setSpectrumRange(int range);
    int spectrumRange() const { return m_range; }
    void setCustomAxes(const tcGuiAxis *first, const tcGuiAxis *second, bool repaint);
    void setSpectrum(const uint8_t *data);
    void clearSpectrum();
    int spectrumRow(uint8_t value) const { return m_tables[m_range][value]; }
    int gainRow(int8_t value) const;
    void setDragger(tcGraphHandler *dragger, bool repaint);
    // The audio view's data and source ("Input", "Output"): the caption and scales follow them.
    // Without a source the caption is the channel word and "Audio".
    void setTrace(int trace, const QString &source);
    int trace() const { return m_trace; }
    // The block whose gain reduction the gain-reduction view shows ("Compressor"), its bands drawn
    // by the graph unless a panel supplies its own gain-reduction scale (the second custom axis).
    void setReductionBlock(const QString &block);
    void setReduction(const std::vector<ReductionBand> &bands);
    const std::vector<ReductionBand> &reduction() const { return m_reduction; }
    bool drawsOwnReduction() const { return (m_mode & kGainReduction) && !m_custom[1]; }
    // Said in the plot when the controls view has no curve to edit.
    static QString noCurveText() { return QStringLiteral("No editable curve on this screen"); }
    bool showsNoCurveNote() const { return (m_mode & kResponse) && !m_dragger && !m_disabled; }
    tcGraphHandler *dragger() const { return m_dragger; }
    void setSecondHandler(tcGraphHandler *handler);
    tcGraphHandler *secondHandler() const { return m_second; }
    QRgb audio = 0xFF00FF00u;

    // The graph's own axes, for the handlers and tests.
    const tcGuiAxis *frequencyAxis() const { return m_freqAxis.get(); }
    const tcGuiAxis *responseAxis() const { return m_responseAxis.get(); }
    const tcGuiAxis *spectrumAxis(int range) const { return m_spectrumAxes[range].get(); }
    const tcGuiAxis *plainAxis() const { return m_plainAxis.get(); }
    const tcGuiAxis *gainAxis() const { return m_gainAxis.get(); }
    const tcGuiAxis *waveAxis() const { return m_waveAxis.get(); }
    const tcGuiAxis *timeAxis() const { return m_timeAxis.get(); }

private:
    void applyLayout(int n);
    void buildAxes();
    void selectAxes();
    void composeTitle();
    void buildTables();
    void layoutLiveLine();
    // The trace's points for the spectrum now, and the rectangles they run through.
    void placeLiveLine(const QRect &plot);
    std::vector<QRect> liveLineBands(const QRect &plot) const;

    void drawReduction(QPainter &painter, const QRect &plot);
    tcGraphHandler *activeHandler() const;
    tcGraphHandler *targetFor(int x) const;
    int press(int x, int y, bool right);
    // The release that ends a right press.
    void release2(int x, int y);

    std::array<QRect, kLayouts> m_layouts{};
    int m_layout = -1;
    int m_mode = 0;
    int m_channel = 0;
    bool m_stereo = true;
    QString m_extraTitle;
    int m_range = 0;
    std::array<uint8_t, kSpectrumPoints> m_spectrum{};
    // The spectrum trace: x fixed by the plot, y rewritten on every paint.
    QPolygon m_liveLine;
    QRect m_liveLinePlot;
    // What the last paint drew of the trace, and for which plot, mode and scale.
    std::vector<QRect> m_liveDrawn; // a rectangle for each column of the plot
    QRect m_liveDrawnPlot;
    QTransform m_liveDrawnDevice;
    int m_liveDrawnMode = -1;
    bool m_liveOnly = false;  // the repaint asked for is the trace's alone

    std::array<std::array<int, 256>, kRanges> m_tables{};
    const tcGuiAxis *m_custom[2] = {nullptr, nullptr};
    tcGraphHandler *m_dragger = nullptr;
    tcGraphHandler *m_second = nullptr;
    tcGraphHandler *m_captured = nullptr;
    bool m_rightPressed = false;
    std::unique_ptr<tcGuiAxis> m_responseAxis, m_plainAxis, m_freqAxis;
    std::unique_ptr<tcGuiAxis> m_gainAxis, m_waveAxis, m_timeAxis;
    int m_trace = kSpectrumTrace;
    QString m_source;
    QString m_reductionBlock;
    std::vector<ReductionBand> m_reduction;
    std::array<std::unique_ptr<tcGuiAxis>, kRanges> m_spectrumAxes;
};
