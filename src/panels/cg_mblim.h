// tcControlGroupMBLim holds the multiband limiter part of the AM output screen: a selectable row of
// the ten bands (limiter and clip thresholds, attack, release) on the main graph, edited by the
// multiband slide dragger through this panel's bar interface, or the four-section multiband
// equaliser on an equaliser editor. Band centres and edges follow "AM Bandwidth".
// tcControlGroupFMOut, screen 6, adds the AM output trim, limiter, emphasis, delay and bass clipper.
// The panel owns both editors and the row axes; the graph only points to them.
#pragma once

#include "panels/control_group.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class tcGuiAxis;
class tcMBSlideDragger;
class tcPEQDragger;

class tcControlGroupMBLim : public tcControlGroup
{
    Q_OBJECT
public:
    enum Row : int { kThresh = 0, kClip = 1, kAttack = 2, kRelease = 3, kEq = 4 };
    static constexpr int kRows = 5;
    static constexpr int kBands = 10;
    static constexpr int kEqSections = 4;
    struct RowInfo
    {
        const char *title;
        uint16_t firstId; // of the ten bands, or of the equaliser's "In" switches
        int item;         // the radio item that selects it
    };
    static const RowInfo kRowInfo[kRows];

    tcControlGroupMBLim(tcKelBench *bench, int screen);
    ~tcControlGroupMBLim() override;

    void init() override;
    void refreshAll() override;
    void setUpGraph(tcGuiApGraph *graph) override;
    void onRadio(int number, int item) override;

    int shownRow() const { return m_row; }
    void selectRow(int row, bool force);
    // A changed row (0-3) or multiband equaliser section (0-3).
    virtual void refreshMultibandRow(int row);
    virtual void refreshEqSection(int section);
    // Band centres and edges from "AM Bandwidth".
    void bandwidthRefresh();
    // Twenty points from 32 Hz to 0.8 of the audio bandwidth: ten centres and nine edges.
    static void bandFrequencies(float amBandwidth, std::vector<float> &centres, std::vector<float> &edges);

    // The bar interface of the shown row (0-3).
    void barSet(int band, uint32_t index) override;
    double valueOfIndex(uint32_t index) override;
    uint32_t indexOfValue(double value) override;

    tcMBSlideDragger *slideDragger() const { return m_slide.get(); }
    tcPEQDragger *eqDragger() const { return m_eq.get(); }
    // The multiband equaliser on the screen's own graph, always shown there.
    tcPEQDragger *screenEqDragger() const { return m_screenEq.get(); }
    const tcGuiAxis *rowAxis(int row) const { return m_axes[size_t(row)].get(); }

protected:
    tcGuiApGraph *graph() const;
    void showRowOnGraph(tcGuiApGraph *graph);

    int m_row = kThresh;

private:
    void buildAxes();
    void makeEditors(tcGuiApGraph *graph);

    std::array<std::unique_ptr<tcGuiAxis>, kEq> m_axes;
    std::unique_ptr<tcMBSlideDragger> m_slide;
    std::unique_ptr<tcPEQDragger> m_eq, m_screenEq;
};

class tcControlGroupFMOut : public tcControlGroupMBLim
{
    Q_OBJECT
public:
    // "DELAY   " in tenths of a millisecond: coarse steps of 500 and the fine rest.
    static constexpr int kDelayStep = 500;
    static constexpr int kDelayMax = 100000;

    explicit tcControlGroupFMOut(tcKelBench *bench);

    void init() override;
    void refreshDerived() override;
    void setCheck(int number, bool state) override;
    void onKnob(int number, int position) override;
    // The delay controls follow the global "DELAY   ".
    void delayRefresh();
};
