// tcControlGroupCompressor: screen 1: the AGC and the five-band compressor. Bound to its objects;
// its band rows and graph editing come with the compressor editor.
#pragma once

#include "panels/control_group.h"

class tcControlGroupCompressor : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupCompressor(tcKelBench *bench);

    void init() override {}
    void setCheck(int number, bool state) override;
    // The single control of a changed id, a changed band row (0-8), and "AM Width".
    virtual void updateSingle(uint16_t /*id*/) {}
    virtual void refreshRow(int /*row*/) {}
    virtual void widthRefresh() {}
};
