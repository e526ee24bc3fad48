// tcControlGroupParametric: screen 2: the four-section parametric equaliser. Its knobs and switches
// are plain bindings; its graph editing comes with the equaliser editor.
#pragma once

#include "panels/control_group.h"

class tcControlGroupParametric : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupParametric(tcKelBench *bench);

    void setCheck(int number, bool state) override;
};
