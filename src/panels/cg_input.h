// tcControlGroupInput: screen 4: input source, the two input gains and their offset, the sum and
// difference high-pass filters, symmetry, fail-over and the two input-status lamps.
#pragma once

#include "panels/cg_status.h"
#include "panels/control_group.h"

class tcControlGroupInput : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupInput(tcKelBench *bench);

    void init() override;
    void refreshAll() override;
    void setVisible(bool visible) override;
    void lock(bool locked) override;
    void setPosition(int number, uint32_t raw) override;
    void setCheck(int number, bool state) override;
    void onKnob(int number, int position) override;
    void onCheck(int number, bool state) override;
    void onRadio(int number, int item) override;
    void onDisplayText(int number, const char *text) override;
    int knobOfDisplay(int display) override;

    // The source item from "Input Source".
    void selectSource();
    void stereoLabelling();
    void statusUpdate(const uint8_t *datagram);
    void resetStatus();

private:
    orba::EverySixth m_frames;
};
