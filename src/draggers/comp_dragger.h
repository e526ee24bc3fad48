// tcCompDragger: the five compressor bands as adjusters on the response graph at 50, 160, 630, 3000
// and 12000 Hz (or bands 0, 2 and 4 alone in three-band mode), optional rows of per-band switches
// below them, and the band-level overlay the panel attaches.
// tcMBSlideDragger: the ten multiband limiter bands at positions its panel hands in.
#pragma once

#include "draggers/band_dragger.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class SETTINGS_MAP;
class GLOBALS_MAP;
class tcBandLevelOverlay;

class tcCompDragger : public tcBandDragger
{
    Q_OBJECT
public:
    static constexpr int kBands = 5;
    static constexpr float kBandHz[kBands] = {50.0f, 160.0f, 630.0f, 3000.0f, 12000.0f};

    struct SwitchRow
    {
        QString label;
        uint16_t settingsBase = 0; // a boolean parameter per band, or 0
        uint16_t globalsBase = 0;  // else a global per band, or 0
        std::array<uint8_t, kBands> on{};
    };

    tcCompDragger(tcGuiApGraph *graph, tcBarInterface *panel, const tcGuiImage *handleImage,
                  const tcGuiImage *switchImage, QObject *parent = nullptr);

    void setFiveBand(bool on);
    bool fiveBand() const { return !bands().threeBand(); }
    // Switch rows below the adjusters, written to the given sets.
    void setSwitchRows(const std::vector<SwitchRow> &rows, SETTINGS_MAP *live, GLOBALS_MAP *globals);
    const std::vector<SwitchRow> &switchRows() const { return m_rows; }
    // The switch row whose strip holds y, or -1.
    int rowAt(int y) const;
    void setOverlay(tcBandLevelOverlay *overlay) { m_overlay = overlay; }
    tcBandLevelOverlay *overlay() const { return m_overlay; }

    int leftPress(int x, int y) override;
    int release(int x, int y) override;
    int hover(int x, int y) override;
    int drag(int dx, int dy) override;
    void paintHandles(QPainter &painter) override;
    void paintMeterOverlay(QPainter &painter) override;

protected:
    void placeBands() override;

private:
    const tcGuiImage *m_switch;
    tcBandLevelOverlay *m_overlay = nullptr;
    std::vector<SwitchRow> m_rows;
    SETTINGS_MAP *m_live = nullptr;
    GLOBALS_MAP *m_globals = nullptr;
    int m_pressedRow = -1; // the switch row of the press, -1 without a switch press
    int m_pressedBand = 0;
    bool m_pressedLook = false;
    int m_row = -1; // the row under the pointer
};

class tcMBSlideDragger : public tcBandDragger
{
    Q_OBJECT
public:
    static constexpr int kBands = 10;

    tcMBSlideDragger(tcGuiApGraph *graph, tcBarInterface *panel, const tcGuiImage *handleImage,
                     QObject *parent = nullptr);

    // The bands' centre frequencies, placed on the frequency axis, and the edges between them,
    // drawn as guides.
    void setBandFrequencies(const std::vector<float> &centres, const std::vector<float> &edges);
    const std::vector<float> &bandCentres() const { return m_centres; }
    const std::vector<float> &bandEdges() const { return m_edges; }
    void paintSectionCurves(QPainter &painter) override;

protected:
    void placeBands() override;

private:
    std::vector<float> m_centres, m_edges;
};
