// tcControlGroupAmTx: screen 7: the AM transmitter outputs, tilt filters, stereo width, AES input
// options and the test oscillator. Its controls are plain bindings; it adds the controls that
// "AM Width" allows.
#pragma once

#include "panels/control_group.h"

class tcControlGroupAmTx : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupAmTx(tcKelBench *bench);

    void init() override;
    void setVisible(bool visible) override;
    void onCombo(int number, int value) override;
    // Output B, its tilt filters and its phase only exist in mono.
    void widthRefresh();
};
