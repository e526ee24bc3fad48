// tcControlGroupMBLim holds the multiband limiter part of the AM output screen (a selectable row
// of the ten bands on the main graph); tcControlGroupFMOut, screen 6, adds the AM output trim,
// limiter, emphasis, delay and bass clipper. Their single controls are plain bindings; the row
// editing comes with the multiband editor.
#pragma once

#include "panels/control_group.h"

class tcControlGroupMBLim : public tcControlGroup
{
    Q_OBJECT
public:
    enum Row : int { kThresh = 0, kClip = 1, kAttack = 2, kRelease = 3, kEq = 4 };

    tcControlGroupMBLim(tcKelBench *bench, int screen);

    int shownRow() const { return m_row; }
    // A changed row (0-3) or multiband equaliser section (0-3).
    virtual void refreshMultibandRow(int /*row*/) {}
    virtual void refreshEqSection(int /*section*/) {}

protected:
    int m_row = kThresh;
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
