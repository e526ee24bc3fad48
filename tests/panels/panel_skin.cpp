#include "panel_skin.h"

#include "gui/gui_object.h"
#include "panels/binding_table.h"
#include "skin/skin_test_util.h"

#include <QDir>

#include <cstring>

namespace orba::test {
namespace {

using orba::panels::Binding;

// Each panel's objects take rows of their own, so that no two objects share a place.
constexpr int kCell = 60, kPerRow = 16, kLeft = 10, kTop = 10, kWidth = 1000, kHeight = 1300;
constexpr int kGraphTop = 1100;

// A position element at a point, with more attributes when given.
QByteArray pos(const QPoint &p, const QByteArray &more = {}, const char *element = "position")
{
    return QByteArray("<") + element + " x=\"" + QByteArray::number(p.x()) + "\" y=\"" +
           QByteArray::number(p.y()) + "\"" + more + "/>";
}

QByteArray objectXml(const Binding &d, const QPoint &p)
{
    const QByteArray id = QByteArray("id=\"") + d.name + "\"";
    switch (d.kind) {
    case kGuiButton:
        return "<button " + id + ">" + pos(p) + "<bitmap image=\"PIC_BUTTON\"/></button>";
    case kGuiLamp:
        return "<lamp " + id + ">" + pos(p) + "<bitmap image=\"PIC_LAMP\"/><text x=\"0\" y=\"22\"/></lamp>";
    case kGuiCheckBox:
        return "<checkbox " + id + ">" + pos(p) + "<bitmap image=\"PIC_CHECK\"/></checkbox>";
    case kGuiDisplay:
        return "<display " + id + ">" + pos(p, " w=\"56\" h=\"14\"") + "</display>";
    case kGuiKnob:
        return "<knob " + id + " type=\"SIMPLE\">" + pos(p) + "<bitmap image=\"PIC_KNOB\"/></knob>";
    case kGuiCombo:
        return "<combo " + id + (d.has(orba::panels::kBindingStep) ? " type=\"USER\"" : " type=\"DROP\"") +
               ">" + pos(p, " w=\"56\"") + "</combo>";
    case kGuiMeter:
        return "<meter " + id + ">" +
               pos(p, " barlx=\"4\" barrx=\"16\" bary=\"2\" ovrlx=\"4\" ovrrx=\"16\" ovry=\"0\"") +
               "<bitmap bg=\"PIC_METER_BG\" bar=\"PIC_METER_BAR\" ovr=\"PIC_METER_OVR\"/></meter>";
    case kGuiLabel:
        return "<label " + id + ">" + pos(p) + "<bitmap w=\"50\" h=\"10\"/></label>";
    default:
        return QByteArray();
    }
}

// Position of each laid-out object, in table order.
template <class F> void forEachLaidOut(F &&f)
{
    int row = 0, cell = 0, screen = orba::panels::kBindings[0].screen;
    for (const Binding &b : orba::panels::kBindings) {
        if (b.kind != kGuiRadioGroup && objectXml(b, QPoint()).isEmpty())
            continue; // only what a panel test can see or press
        if (b.screen != screen) {
            screen = b.screen;
            row += (cell + kPerRow - 1) / kPerRow;
            cell = 0;
        }
        const int at = row + cell / kPerRow;
        f(b, QPoint(kLeft + (cell % kPerRow) * kCell, kTop + at * kCell));
        ++cell;
    }
}

} // namespace

QPoint panelSkinPosition(const char *name)
{
    if (std::strcmp(name, "GRAPH") == 0)
        return QPoint(kLeft, kGraphTop);
    QPoint found(-1, -1);
    forEachLaidOut([&](const Binding &b, const QPoint &p) {
        if (std::strcmp(b.name, name) == 0)
            found = p;
    });
    return found;
}

void writePanelSkin(const QString &folder, bool withBackground, const QStringList &leaveOut)
{
    const QDir dir(folder); // made by the first picture written
    writePng(dir.filePath(QStringLiteral("bg.png")), kWidth, kHeight, 1,
             {QColor::fromRgb(kPanelSkinBackground)});
    writePng(dir.filePath(QStringLiteral("meter_bg.png")), 28, 44, 1, {QColor(0, 0, 0)});
    QByteArray xml = "<?xml version=\"1.0\"?>\n<skin>\n";
    if (withBackground)
        xml += "<image id=\"BKGRND\" file=\"bg.png\"/>\n";
    xml += "<image id=\"PIC_METER_BG\" file=\"meter_bg.png\"/>\n";
    const struct
    {
        const char *id, *file;
        int w, h, sections;
    } pictures[] = {{"PIC_BUTTON", "button", 40, 20, 12},   {"PIC_LAMP", "lamp", 20, 20, 3},
                    {"PIC_CHECK", "check", 20, 20, 6},      {"PIC_KNOB", "knob", 30, 30, 11},
                    {"PIC_ITEM", "item", 14, 14, 6},        {"PIC_METER_BAR", "meter_bar", 8, 40, 6},
                    {"PIC_METER_OVR", "meter_ovr", 8, 2, 6}};
    for (const auto &p : pictures) {
        writeIndexedPng(dir.filePath(QStringLiteral("%1.png").arg(QLatin1String(p.file))), p.w, p.h,
                        p.sections);
        xml += QByteArray("<image id=\"") + p.id + "\" file=\"" + p.file + ".png\" sections=\"" +
               QByteArray::number(p.sections) + "\"/>\n";
    }
    forEachLaidOut([&](const Binding &d, const QPoint &p) {
        if (leaveOut.contains(QLatin1String(d.name)))
            return;
        if (d.kind == kGuiRadioGroup) {
            xml += QByteArray("<radiogroup id=\"") + d.name + "\">" + pos(p) + "<bitmap item=\"PIC_ITEM\"/>";
            for (const Binding &item : orba::panels::kBindings) {
                if (item.screen == d.screen && item.group == int(d.number) && item.kind == kGuiRadioItem)
                    xml += QByteArray("<radioitem id=\"") + item.name + "\"/>";
            }
            xml += "</radiogroup>\n";
            return;
        }
        xml += objectXml(d, p) + "\n";
    });
    const QPoint g = panelSkinPosition("GRAPH");
    xml += "<ap_graph id=\"GRAPH\">" + pos(g, " w=\"340\" h=\"185\"", "position1") + "</ap_graph>\n";
    // The compressor's transfer curves, beside the main graph.
    xml += "<dyngraph id=\"COMP_GRAPH\">" + pos(g + QPoint(400, 0), " w=\"180\" h=\"170\"") + "</dyngraph>\n";
    // The AM output's and the HD output's own graphs, beside them.
    for (const auto &[id, dx] : {std::pair{"FMO_GRAPH", 590}, std::pair{"AMHD_GRAPH", 790}})
        xml += QByteArray("<ap_graph id=\"") + id + "\">" +
               pos(g + QPoint(dx, 0), " w=\"190\" h=\"185\"", "position1") + "</ap_graph>\n";
    xml += "</skin>\n";
    writeText(dir.filePath(QStringLiteral("skin.xml")), xml);
}

} // namespace orba::test
