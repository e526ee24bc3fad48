// tcControlGroupMBLim holds the multiband limiter part of the AM output screen (a selectable row
// of the ten bands on the main graph); tcControlGroupFMOut, screen 6, adds the AM output trim,
// limiter, emphasis, delay and bass clipper. Bound to their objects; the row editing comes with
// the multiband editor.
#pragma once

#include "panels/control_group.h"

class tcControlGroupMBLim : public tcControlGroup
{
    Q_OBJECT
public:
    enum Row : int { kThresh = 0, kClip = 1, kAttack = 2, kRelease = 3, kEq = 4 };

    tcControlGroupMBLim(tcKelBench *bench, const ControlObjectDef *list);

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
    explicit tcControlGroupFMOut(tcKelBench *bench);

    void init() override {}
    void refreshDerived() override;
    void setCheck(int number, bool state) override;
    // The delay controls follow the global "DELAY   ".
    virtual void delayRefresh() {}
    virtual void widthRefresh() {}
};
