#include "draggers/band_dragger.h"

#include "draggers/bar_interface.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_image.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QWidget>

using orba::draggers::BandGroup;

tcBandDragger::tcBandDragger(tcGuiApGraph *graph, tcBarInterface *panel, int bands, QObject *parent)
    : tcGuiGraphDragger(graph, parent), m_panel(panel), m_group(bands, *this)
{
    m_group.setPlotWidth(plotWidth());
    m_group.setBottom(plotHeight());
    buildMenu();
}

tcBandDragger::~tcBandDragger() = default;

void tcBandDragger::buildMenu()
{
    m_menu = std::make_unique<QMenu>();
    connect(m_menu->addAction(QStringLiteral("Group Adjusters")), &QAction::triggered, this,
            &tcBandDragger::slot_group);
    connect(m_menu->addAction(QStringLiteral("UnGroup Adjusters")), &QAction::triggered, this,
            &tcBandDragger::slot_ungroup);
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("Group All Adjusters")), &QAction::triggered, this,
            &tcBandDragger::slot_group_all);
    connect(m_menu->addAction(QStringLiteral("UnGroup All Adjusters")), &QAction::triggered, this,
            &tcBandDragger::slot_ungroup_all);
    connect(m_menu->addAction(QStringLiteral("Flatten")), &QAction::triggered, this,
            &tcBandDragger::slot_flatten);
    m_propAction = m_menu->addAction(QStringLiteral("Proportional Drag"));
    m_flatAction = m_menu->addAction(QStringLiteral("Flat Drag"));
    m_propAction->setCheckable(true);
    m_flatAction->setCheckable(true);
    connect(m_propAction, &QAction::triggered, this, &tcBandDragger::slot_prop_drag);
    connect(m_flatAction, &QAction::triggered, this, &tcBandDragger::slot_flat_drag);
    checkDragMode();
}

void tcBandDragger::checkDragMode()
{
    m_propAction->setChecked(m_group.dragMode() == BandGroup::kProportional);
    m_flatAction->setChecked(m_group.dragMode() == BandGroup::kFlat);
}

double tcBandDragger::valueAtPixel(int pixel) const
{
    return graph() ? double(tcGuiGraph::toValue(graph()->yAxis(), pixel)) : 0.0;
}

int tcBandDragger::pixelOfValue(double value) const
{
    return graph() ? tcGuiGraph::toPixel(graph()->yAxis(), float(value)) : 0;
}

uint32_t tcBandDragger::indexOfValue(double value) const
{
    return m_panel ? m_panel->indexOfValue(value) : 0;
}

double tcBandDragger::valueOfIndex(uint32_t index) const
{
    return m_panel ? m_panel->valueOfIndex(index) : 0.0;
}

void tcBandDragger::barSet(int band, uint32_t index)
{
    if (m_panel)
        m_panel->barSet(band, index);
}

void tcBandDragger::placeBands()
{
    m_group.setPlotWidth(plotWidth());
    m_group.setBottom(plotHeight());
}

void tcBandDragger::setPlotSize(int width, int height)
{
    tcGuiGraphDragger::setPlotSize(width, height);
    placeBands();
    m_group.relayout();
}

void tcBandDragger::setBand(int band, double value)
{
    m_group.setValue(band, value);
}

void tcBandDragger::setAllBands(const std::vector<double> &values)
{
    for (int b = 0; b < m_group.count() && b < int(values.size()); ++b)
        m_group.setValue(b, values[size_t(b)]);
    m_group.takePressCopies();
}

QPoint tcBandDragger::handleAt(int band) const
{
    return QPoint(m_group.bandX()[size_t(band)], m_group.pixel(band));
}

int tcBandDragger::leftPress(int x, int y)
{
    tcGuiGraphDragger::leftPress(x, y);
    if (!editable())
        return 0;
    m_group.setCurrent(m_group.bandAt(x));
    m_group.takePressCopies();
    m_pointer = QPoint(x, y);
    return kRedrawAll;
}

int tcBandDragger::rightPress(int x, int y)
{
    tcGuiGraphDragger::rightPress(x, y);
    if (!editable())
        return 0;
    checkDragMode();
    popupMenu(m_menu.get(), x, y);
    return 0;
}

int tcBandDragger::doubleClick(int x, int)
{
    if (!editable())
        return 0;
    m_group.toggleIndependent(m_group.bandAt(x));
    return kRedrawAll;
}

int tcBandDragger::hover(int x, int)
{
    if (!editable())
        return 0;
    const int band = m_group.bandAt(x);
    if (band == m_group.current())
        return 0;
    m_group.setCurrent(band);
    return kRedrawAll;
}

int tcBandDragger::drag(int dx, int dy)
{
    if (!editable())
        return 0;
    m_pointer += QPoint(dx, dy);
    return m_group.moveCurrent(dy) ? kRedrawAll : 0;
}

int tcBandDragger::wheel(int steps)
{
    if (!editable())
        return 0;
    return m_group.moveCurrent(-steps) ? kRedrawAll : 0;
}

void tcBandDragger::slot_flatten()
{
    if (m_group.flatten())
        redraw();
}

void tcBandDragger::slot_group()
{
    if (m_group.group())
        redraw();
}

void tcBandDragger::slot_ungroup()
{
    if (m_group.ungroup())
        redraw();
}

void tcBandDragger::slot_group_all()
{
    m_group.groupAll();
    redraw();
}

void tcBandDragger::slot_ungroup_all()
{
    m_group.ungroupAll();
    redraw();
}

void tcBandDragger::slot_prop_drag()
{
    m_group.setDragMode(BandGroup::kProportional);
    checkDragMode();
}

void tcBandDragger::slot_flat_drag()
{
    m_group.setDragMode(BandGroup::kFlat);
    checkDragMode();
}

void tcBandDragger::paintHandle(QPainter &painter, int band) const
{
    const QPoint at = handleAt(band);
    const bool current = band == m_group.current();
    const bool independent = m_group.independent(band);
    if (m_handle && m_handle->hasPixmap()) {
        const int frame = (independent ? 2 : 0) + (current ? 1 : 0);
        m_handle->drawSection(painter, at.x() - m_handle->sectionWidth() / 2, at.y() - m_handle->height() / 2,
                              frame);
        return;
    }
    painter.setPen(QPen(QColor(0, 0, 0), 1));
    painter.setBrush(QColor::fromRgba(current ? kCurrentColour : kBandColour));
    painter.drawEllipse(QRect(at.x() - 3, at.y() - 3, 7, 7));
    if (independent) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor::fromRgba(kIndependentColour), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(at.x() - 5, at.y() - 5, 10, 10));
        painter.setRenderHint(QPainter::Antialiasing, true);
    }
}

void tcBandDragger::paintHandles(QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int b = 0; b < m_group.count(); ++b) {
        if (m_group.exists(b))
            paintHandle(painter, b);
    }
    painter.restore();
}
