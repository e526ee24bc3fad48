// tcBandDragger: the adjusters of one band row on a response graph, shared by the five-band
// compressor dragger and the ten-band multiband slide dragger: grouping, flat and proportional
// drags, flatten, the context menu with its slots, and the handles. The band model holds the rules;
// this class ties it to the graph's axes, the panel's bar interface and the pointer.
#pragma once

#include "draggers/band_group.h"
#include "draggers/graph_dragger.h"

#include <QPoint>
#include <QRgb>

#include <memory>
#include <vector>

class QAction;
class QMenu;
class tcBarInterface;
class tcGuiImage;

class tcBandDragger : public tcGuiGraphDragger, protected orba::draggers::BandGroup::Sink
{
    Q_OBJECT
public:
    // Handle colours without a handle picture.
    static constexpr QRgb kCurrentColour = 0xFFFFFF00u;
    static constexpr QRgb kBandColour = 0xFF3C78FFu;
    static constexpr QRgb kIndependentColour = 0xFFFF0000u;

    tcBandDragger(tcGuiApGraph *graph, tcBarInterface *panel, int bands, QObject *parent = nullptr);
    ~tcBandDragger() override;

    orba::draggers::BandGroup &bands() { return m_group; }
    const orba::draggers::BandGroup &bands() const { return m_group; }
    void setHandleImage(const tcGuiImage *image) { m_handle = image; }
    QMenu *contextMenu() const { return m_menu.get(); }

    // The panel's value of one band, or of every band (a new row).
    void setBand(int band, double value);
    void setAllBands(const std::vector<double> &values);
    // The handle's centre of a band, in plot coordinates.
    QPoint handleAt(int band) const;

    void setPlotSize(int width, int height) override;
    int leftPress(int x, int y) override;
    int rightPress(int x, int y) override;
    int doubleClick(int x, int y) override;
    int hover(int x, int y) override;
    int drag(int dx, int dy) override;
    int wheel(int steps) override;
    void paintHandles(QPainter &painter) override;

public slots:
    void slot_flatten();
    void slot_group();
    void slot_ungroup();
    void slot_group_all();
    void slot_ungroup_all();
    void slot_prop_drag();
    void slot_flat_drag();

protected:
    // The band centres and lowest adjuster row for the current plot.
    virtual void placeBands();
    void paintHandle(QPainter &painter, int band) const;

    double valueAtPixel(int pixel) const override;
    int pixelOfValue(double value) const override;
    uint32_t indexOfValue(double value) const override;
    double valueOfIndex(uint32_t index) const override;
    void barSet(int band, uint32_t index) override;

    tcBarInterface *m_panel;
    orba::draggers::BandGroup m_group;
    const tcGuiImage *m_handle = nullptr;
    QPoint m_pointer; // accumulated during a drag

private:
    void buildMenu();
    void checkDragMode();

    std::unique_ptr<QMenu> m_menu;
    QAction *m_propAction = nullptr;
    QAction *m_flatAction = nullptr;
};
