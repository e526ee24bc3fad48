// tcPEQDragger: the four-section parametric equaliser on a response graph: the section curves, their
// sum as a filled area, a point handle per section (frequency sideways, lift up and down) and a
// bandwidth handle under the current one, double click to switch the current section, and a
// context menu to pick it. Edits go through the panel's knobs and switches when the section names
// them, else straight into the live set. The panel that attaches it owns it.
#pragma once

#include "draggers/graph_dragger.h"
#include "draggers/peq_curve.h"

#include <QPoint>
#include <QRect>
#include <QRgb>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class SETTINGS_MAP;
class tcBarInterface;
class tcGuiAxis;

class tcPEQDragger : public tcGuiGraphDragger
{
    Q_OBJECT
public:
    static constexpr int kSections = orba::draggers::kPeqSections;
    enum DragMode : int { kNoDrag = 0, kPointDrag = 1, kBandwidthDrag = 2 };
    // Half the point handle's side; the bandwidth handle's side.
    static constexpr int kHandleHalf = 4;
    static constexpr int kBandwidthHandle = 8;

    // Where a section's edits go: object numbers in the panel and parameter ids, each 0 for none.
    struct SectionBinding
    {
        int enableObject = 0, frequencyKnob = 0, bandwidthKnob = 0, liftKnob = 0;
        uint16_t enableId = 0, frequencyId = 0, bandwidthId = 0, liftId = 0;
    };

    tcPEQDragger(tcGuiApGraph *graph, tcBarInterface *panel, SETTINGS_MAP *live, QObject *parent = nullptr);
    ~tcPEQDragger() override;

    void bindSection(int section, const SectionBinding &binding);
    const SectionBinding &sectionBinding(int section) const { return m_bindings[size_t(section)]; }
    void setColours(const std::array<QRgb, kSections> &sections, QRgb sum);
    QRgb colour(int section) const { return m_colours[size_t(section)]; }
    QRgb sumColour() const { return m_sumColour; }

    // The panel's values; nothing happens when they equal the stored ones.
    void setSection(int section, bool enabled, double frequency, double bandwidth, double lift);
    void setEnabled(int section, bool enabled);
    void setMaster(bool on);
    bool master() const { return m_master; }
    const orba::draggers::PeqSection &section(int s) const { return m_sections[size_t(s)]; }

    void selectSection(int section);
    int current() const { return m_current; }
    const std::array<int, kSections> &drawOrder() const { return m_order; }
    int dragMode() const { return m_mode; }
    QMenu *contextMenu() const { return m_menu.get(); }

    // In plot coordinates, from the graph's axes.
    QPoint pointOf(int section) const;
    QRect handleRect(int section) const;
    QRect bandwidthRect() const;

    // The curves for the current plot, recomputed first when something changed.
    const orba::draggers::PeqCurves &curves();
    const std::vector<int> &sectionPixels(int section);
    const std::vector<int> &sumPixels();
    bool curvesDirty() const { return m_dirty; }

    void setPlotSize(int width, int height) override;
    int leftPress(int x, int y) override;
    int release(int x, int y) override;
    int rightPress(int x, int y) override;
    int drag(int dx, int dy) override;
    int doubleClick(int x, int y) override;
    void paintSumCurve(QPainter &painter) override;
    void paintSectionCurves(QPainter &painter) override;
    void paintHandles(QPainter &painter) override;

signals:
    // A section's parameter was written straight into the live set (no knob shows it).
    void sig_section_written(int section);

public slots:
    void slot_select_eq1() { selectSection(0); }
    void slot_select_eq2() { selectSection(1); }
    void slot_select_eq3() { selectSection(2); }
    void slot_select_eq4() { selectSection(3); }

private:
    const tcGuiAxis *xAxis() const;
    const tcGuiAxis *yAxis() const;
    void recompute();
    // Section s with one value changed, as the panel's setters would show it.
    void showValue(int s, double orba::draggers::PeqSection::*field, double value);
    // A value of section s written through its knob or into the live set (only shown without one).
    void writeValue(int s, double orba::draggers::PeqSection::*field, int SectionBinding::*knob,
                    uint16_t SectionBinding::*id, double value);
    void afterWrite(int s, double orba::draggers::PeqSection::*field, int knob, uint16_t id);
    void writeBandwidthStep(int s, int step);
    // Writes a raw index through the knob, or into the live set; returns the stored value.
    void writeIndex(int knob, uint16_t id, uint32_t raw);
    void checkMenu();

    tcBarInterface *m_panel;
    SETTINGS_MAP *m_live;
    orba::draggers::PeqSections m_sections{};
    std::array<SectionBinding, kSections> m_bindings{};
    std::array<QRgb, kSections> m_colours{{0xFFFF6040u, 0xFFFFC040u, 0xFF40D080u, 0xFF40A0FFu}};
    QRgb m_sumColour = 0xFF404860u;
    bool m_master = true;
    int m_current = 0;
    std::array<int, kSections> m_order{{1, 2, 3, 0}}; // the current section last
    int m_mode = kNoDrag;
    QPoint m_pointer; // accumulated during a drag
    bool m_dirty = true;
    // What the pixel rows were computed for.
    const tcGuiAxis *m_pixelAxis = nullptr;
    int m_pixelLength = -1;
    std::vector<double> m_columns;
    orba::draggers::PeqCurves m_curves;
    std::array<std::vector<int>, kSections> m_sectionPixels;
    std::vector<int> m_sumPixels;
    std::unique_ptr<QMenu> m_menu;
    std::array<QAction *, kSections> m_actions{};
};
