// tcControlGroupCompressor: screen 1: the AGC and the five-band compressor. Its single controls
// are plain bindings; the band rows and graph editing come with the compressor editor.
#pragma once

#include "panels/control_group.h"

class tcControlGroupCompressor : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupCompressor(tcKelBench *bench);

    void setVisible(bool visible) override;
    void setCheck(int number, bool state) override;
    // A changed band row (0-8).
    virtual void refreshRow(int /*row*/) {}
    // The difference makeup only matters in stereo.
    void widthRefresh();
};
