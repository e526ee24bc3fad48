// tcControlGroupInput: screen 4: input source, the two input gains and their offset, the sum and
// difference high-pass filters, symmetry, fail-over and the two input-status lamps. Its controls
// are plain bindings; it adds the stereo labelling and the status lamps.
#pragma once

#include "panels/cg_status.h"
#include "panels/control_group.h"

class tcControlGroupInput : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupInput(tcKelBench *bench);

    void init() override;
    void setVisible(bool visible) override;
    void setCheck(int number, bool state) override;

    void stereoLabelling();
    void statusUpdate(const uint8_t *datagram);
    void resetStatus();

private:
    orba::EverySixth m_frames;
};
