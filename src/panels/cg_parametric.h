// tcControlGroupParametric: screen 2: the four-section parametric equaliser, its master switch and
// its position in the chain. Its knobs and switches are plain bindings; it owns the equaliser
// editor of the main graph and keeps it in step with them, both ways.
#pragma once

#include "panels/control_group.h"

#include <cstdint>
#include <memory>

class tcPEQDragger;

class tcControlGroupParametric : public tcControlGroup
{
    Q_OBJECT
public:
    static constexpr int kSections = 4;

    explicit tcControlGroupParametric(tcKelBench *bench);
    ~tcControlGroupParametric() override;

    void init() override;
    void refreshAll() override;
    void setPosition(int number, uint32_t raw) override;
    void setCheck(int number, bool state) override;
    void setUpGraph(tcGuiApGraph *graph) override;

    tcPEQDragger *dragger() const { return m_dragger.get(); }

private:
    void loadSections();

    std::unique_ptr<tcPEQDragger> m_dragger;
};

// The skin's equaliser colours into an editor, where the skin has them.
void applyPeqColours(tcKelBench *bench, tcPEQDragger *dragger);
// An editor of four sections without knobs, whose parameters run in blocks of four from `firstIn`:
// the "In" switches, then the frequencies, bandwidths and lifts; in the skin's colours.
std::unique_ptr<tcPEQDragger> makeBlockEditor(tcKelBench *bench, tcGuiApGraph *graph, tcBarInterface *panel,
                                              uint16_t firstIn);
// Reads section s of such a block from the live set into the editor.
void loadBlockSection(const SETTINGS_MAP &live, uint16_t firstIn, int s, tcPEQDragger *dragger);
// Detaches an editor from the graph that shows it, which outlives the panels.
void detachPeqDragger(tcPEQDragger *dragger);
