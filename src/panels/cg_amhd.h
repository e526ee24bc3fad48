// tcControlGroupAmHd: screen 5: the HD output. Its controls are plain bindings; the HD multiband
// equaliser comes with the equaliser editor.
#pragma once

#include "panels/control_group.h"

class tcControlGroupAmHd : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupAmHd(tcKelBench *bench);

    // One section (0-3) of the HD multiband equaliser changed.
    virtual void refreshEqSection(int /*section*/) {}
};
