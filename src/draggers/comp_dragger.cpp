#include "draggers/comp_dragger.h"

#include "draggers/band_overlay.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_axis.h"
#include "gui/gui_image.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <QPainter>

constexpr float tcCompDragger::kBandHz[];

tcCompDragger::tcCompDragger(tcGuiApGraph *graph, tcBarInterface *panel, const tcGuiImage *handleImage,
                             const tcGuiImage *switchImage, QObject *parent)
    : tcBandDragger(graph, panel, kBands, parent), m_switch(switchImage)
{
    setHandleImage(handleImage);
    placeBands();
}

void tcCompDragger::placeBands()
{
    tcBandDragger::placeBands();
    // Switch rows sit below the adjusters' travel.
    bands().setBottom(plotHeight() - 30 * int(m_rows.size()));
    std::vector<int> x(kBands, 0);
    if (graph()) {
        for (int b = 0; b < kBands; ++b)
            x[size_t(b)] = graph()->frequencyAxis() ? graph()->frequencyAxis()->toPixel(kBandHz[b]) : 0;
    }
    bands().setBandX(x);
}

void tcCompDragger::setFiveBand(bool on)
{
    bands().setThreeBand(!on);
    if (!bands().exists(bands().current()))
        bands().setCurrent(bands().current() - 1);
    redraw();
}

void tcCompDragger::setSwitchRows(const std::vector<SwitchRow> &rows, SETTINGS_MAP *live,
                                  GLOBALS_MAP *globals)
{
    m_rows = rows;
    m_live = live;
    m_globals = globals;
    placeBands();
    bands().relayout();
    redraw();
}

int tcCompDragger::rowAt(int y) const
{
    const int bottom = bands().bottom();
    for (int r = 0; r < int(m_rows.size()); ++r) {
        if (y >= bottom - 20 + 30 * r && y <= bottom - 10 + 30 * r)
            return r;
    }
    return -1;
}

int tcCompDragger::leftPress(int x, int y)
{
    const int flags = tcBandDragger::leftPress(x, y);
    if (!flags)
        return 0;
    const int row = rowAt(y);
    if (row >= 0) {
        m_row = row;
        m_pressedRow = row;
        m_pressedBand = bands().current();
        m_pressedLook = true;
    }
    return flags;
}

int tcCompDragger::release(int x, int y)
{
    if (m_pressedRow < 0)
        return editable() ? kRedrawAll : 0;
    const int row = m_pressedRow, band = m_pressedBand;
    m_pressedRow = -1;
    m_pressedLook = false;
    if (bands().bandAt(x) == band && rowAt(y) == row) {
        SwitchRow &r = m_rows[size_t(row)];
        r.on[size_t(band)] ^= 1;
        if (r.settingsBase && m_live)
            m_live->setBool(uint16_t(r.settingsBase + band), r.on[size_t(band)] != 0, CHANGE_USER);
        else if (r.globalsBase && m_globals)
            m_globals->setBool(uint16_t(r.globalsBase + band), r.on[size_t(band)] != 0, CHANGE_USER);
    }
    return kRedrawAll;
}

int tcCompDragger::hover(int x, int y)
{
    if (!editable() || m_pressedRow >= 0)
        return 0;
    const int band = bands().bandAt(x), row = rowAt(y);
    if (band == bands().current() && row == m_row)
        return 0;
    bands().setCurrent(band);
    m_row = row;
    return kRedrawAll;
}

int tcCompDragger::drag(int dx, int dy)
{
    if (m_pressedRow < 0)
        return tcBandDragger::drag(dx, dy);
    m_pointer += QPoint(dx, dy);
    const bool look = bands().bandAt(m_pointer.x()) == m_pressedBand && rowAt(m_pointer.y()) == m_pressedRow;
    if (look == m_pressedLook)
        return 0;
    m_pressedLook = look;
    return kRedrawAll;
}

void tcCompDragger::paintHandles(QPainter &painter)
{
    tcBandDragger::paintHandles(painter);
    if (!m_switch || m_rows.empty())
        return;
    const int bottom = bands().bottom();
    painter.save();
    for (int r = 0; r < int(m_rows.size()); ++r) {
        painter.setPen(r == m_row ? QColor(255, 255, 160) : QColor(200, 200, 200));
        painter.drawText(10, bottom - 15 + 30 * r, m_rows[size_t(r)].label);
        for (int b = 0; b < kBands; ++b) {
            if (!bands().exists(b))
                continue;
            int frame = m_rows[size_t(r)].on[size_t(b)] ? 3 : 0;
            if (r == m_row && b == bands().current())
                frame += (m_pressedRow == r && m_pressedLook) ? 2 : 1;
            m_switch->drawSection(painter, bands().bandX()[size_t(b)], bottom - 20 + 30 * r, frame);
        }
    }
    painter.restore();
}

void tcCompDragger::paintMeterOverlay(QPainter &painter)
{
    if (m_overlay)
        m_overlay->paint(painter);
}

tcMBSlideDragger::tcMBSlideDragger(tcGuiApGraph *graph, tcBarInterface *panel, const tcGuiImage *handleImage,
                                   QObject *parent)
    : tcBandDragger(graph, panel, kBands, parent)
{
    setHandleImage(handleImage);
}

void tcMBSlideDragger::setBandFrequencies(const std::vector<float> &centres, const std::vector<float> &edges)
{
    m_centres = centres;
    m_edges = edges;
    placeBands();
    redraw();
}

void tcMBSlideDragger::placeBands()
{
    tcBandDragger::placeBands();
    if (m_centres.empty() || !graph() || !graph()->frequencyAxis())
        return;
    std::vector<int> x(kBands, 0);
    for (int b = 0; b < kBands && b < int(m_centres.size()); ++b)
        x[size_t(b)] = graph()->frequencyAxis()->toPixel(m_centres[size_t(b)]);
    bands().setBandX(x);
}

void tcMBSlideDragger::paintSectionCurves(QPainter &painter)
{
    if (!graph() || !graph()->frequencyAxis())
        return;
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 48), 1));
    for (float hz : m_edges) {
        const int x = graph()->frequencyAxis()->toPixel(hz);
        painter.drawLine(x, 0, x, plotHeight() - 1);
    }
    painter.restore();
}
