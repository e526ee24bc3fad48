// tcControlGroupAmHd: screen 5: the HD output. Bound to its objects; its behaviour and the HD
// multiband equaliser come with the equaliser editor.
#pragma once

#include "panels/control_group.h"

class tcControlGroupAmHd : public tcControlGroup
{
    Q_OBJECT
public:
    explicit tcControlGroupAmHd(tcKelBench *bench);

    void init() override {}
    // One section (0-3) of the HD multiband equaliser changed.
    virtual void refreshEqSection(int /*section*/) {}
};
