// tcControlGroupAmTx: screen 7: the AM transmitter outputs, tilt filters, stereo width, AES input
// options and the test oscillator. Bound to its objects; its behaviour comes later.
#pragma once

#include "panels/control_group.h"

class tcControlGroupAmTx : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupAmTx(tcKelBench *bench);

    void init() override {}
    // The controls that "AM Width" allows.
    virtual void widthRefresh() {}
};
