// tcControlGroupCompressor: screen 1: the AGC and the five-band compressor. Its single controls are
// plain bindings; the per-band parameters are shown one row at a time on the main graph, where the
// compressor dragger edits the five bands through this panel's bar interface. The panel owns the
// dragger, the row axes and the band-level overlay; the dynamics graph shows the five transfer
// curves.
#pragma once

#include "panels/control_group.h"

#include <array>
#include <cstdint>
#include <memory>

class tcBandLevelOverlay;
class tcCompDragger;
class tcGuiAxis;

class tcControlGroupCompressor : public tcControlGroup
{
    Q_OBJECT
public:
    static constexpr int kRows = 9;
    static constexpr int kBands = 5;
    enum Row : int { kThreshRow = 3, kRatioRow = 6, kOutTrimRow = 7 };
    struct RowInfo
    {
        const char *title;
        uint16_t firstId;
        int item; // the radio item that selects it
    };
    static const RowInfo kRowInfo[kRows];

    explicit tcControlGroupCompressor(tcKelBench *bench);
    ~tcControlGroupCompressor() override;

    void init() override;
    void refreshAll() override;
    void refreshDerived() override;
    void setVisible(bool visible) override;
    void setPosition(int number, uint32_t raw) override;
    void setCheck(int number, bool state) override;
    void setUpGraph(tcGuiApGraph *graph) override;
    void onRadio(int number, int item) override;

    // The bar interface of the selected row.
    void barSet(int band, uint32_t index) override;
    double valueOfIndex(uint32_t index) override;
    uint32_t indexOfValue(double value) override;

    // A changed band row (0-8): the dragger (when it shows that row) and the transfer curves.
    virtual void refreshRow(int row);
    void selectRow(int row, bool force);
    int selectedRow() const { return m_row; }
    // The difference makeup only matters in stereo.
    void widthRefresh();
    // The band levels of a meter frame into the overlay.
    void meterFrame(const uint8_t *datagram);

    tcCompDragger *dragger() const { return m_dragger.get(); }
    tcBandLevelOverlay *overlay() const { return m_overlay.get(); }
    const tcGuiAxis *rowAxis(int row) const { return m_axes[size_t(row)].get(); }

private:
    void buildAxes();
    void showRowOnGraph(tcGuiApGraph *graph);
    void curvesOfRow(int row);
    void layoutOverlay(tcGuiApGraph *graph);
    tcGuiApGraph *graph() const;

    int m_row = kThreshRow;
    std::array<std::unique_ptr<tcGuiAxis>, kRows> m_axes;
    std::unique_ptr<tcGuiAxis> m_levelAxis;
    std::unique_ptr<tcCompDragger> m_dragger;
    std::unique_ptr<tcBandLevelOverlay> m_overlay;
};
