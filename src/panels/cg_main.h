// tcControlGroupMain: the always-visible panel: window buttons, connection and preset status, the
// signal-flow buttons that choose the processing screen, the main graph's source and view
// switches, the preset and quick-save buttons, the meters and the headphone level.
#pragma once

#include "common/status_look.h"
#include "gui/gui_apgraph.h"
#include "panels/control_group.h"

#include <memory>
#include <vector>

class tcSpectrumDragger;

class tcControlGroupMain : public tcControlGroup
{
    Q_OBJECT
public:
    // Gain-reduction meter blocks; 0 follows the screen shown.
    enum GrChoice : int { kGrAuto = 0, kGrCompressor = 1, kGrAmOut = 2, kGrAmHd = 3 };
    static constexpr uint32_t kQuickOnColour = 0xFF60E060u;
    static constexpr uint32_t kQuickOffColour = 0xFFFFFFFFu;

    explicit tcControlGroupMain(tcKelBench *bench);
    ~tcControlGroupMain() override;

    void init() override;
    void refreshDerived() override;
    void onButton(int number) override;
    void onCombo(int number, int value) override;
    void onCheck(int number, bool state) override;
    void onDisplayActivate(int number) override;
    void setCheck(int number, bool state) override;

    // Status displays 1004-1006: text and look (0 normal, 1 error, 2 warning).
    void showStatus(int display, const QString &text, StatusLook look);
    void setOnlineCheck(bool on);
    // On line wanted but the processor not (yet) on line: the switch says so in its caption.
    void showOnlineWaiting(bool waiting);
    void refreshQuickButtons();
    void refreshFlow();
    void refreshGraphSource();
    // The main graph's caption and scales from the graph source, the scope switch and the
    // gain-reduction block.
    void refreshGraphTrace();
    void meterFrame(const uint8_t *datagram);
    void resetMeters();

    int grChoice() const { return m_grChoice; }
    int amChoice() const { return m_amChoice; }
    // The block the gain-reduction meter shows now.
    int grBlock() const;
    // The block the main graph's gain-reduction view shows: the compressor on its own screen (its
    // panel draws the bands), else the meter's block.
    int graphReductionBlock() const;
    static QString blockName(int grBlock);
    static QStringList grChoiceItems();
    static QStringList amChoiceItems();

private:
    QString m_onlineCaption; // the skin's own caption of the on-line switch
    void warnQuickSave(const QString &files);
    void setInputRange(bool wide);
    void setViewBit(int bit, bool on);
    void setGraphSource(int source);
    std::vector<tcGuiApGraph::ReductionBand> reductionBands(const uint8_t *datagram) const;

    // The main graph's own handler: the spectrum range.
    std::unique_ptr<tcSpectrumDragger> m_spectrum;
    int m_grChoice = kGrAuto;
    int m_amChoice = 0;
};
