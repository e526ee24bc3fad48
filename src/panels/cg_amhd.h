// tcControlGroupAmHd: screen 5: the HD output: source, trim, limiter, level, phase and swap,
// bandwidth, HF protection, ceiling, recovery, hyper mono, and the four-section HD multiband
// equaliser, edited on the screen's own graph. Its single controls are plain bindings; it owns the
// equaliser editor, which writes the live set directly.
#pragma once

#include "panels/control_group.h"

#include <memory>

class tcPEQDragger;

class tcControlGroupAmHd : public tcControlGroup
{
    Q_OBJECT
public:
    static constexpr int kEqSections = 4;

    explicit tcControlGroupAmHd(tcKelBench *bench);
    ~tcControlGroupAmHd() override;

    void init() override;
    void refreshAll() override;
    void setCheck(int number, bool state) override;
    void onCombo(int number, int value) override;

    // One section (0-3) of the HD multiband equaliser changed.
    virtual void refreshEqSection(int section);
    tcPEQDragger *eqDragger() const { return m_eq.get(); }

private:
    std::unique_ptr<tcPEQDragger> m_eq;
};
