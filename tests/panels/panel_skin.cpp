#include "panel_skin.h"

#include "gui/gui_object.h"
#include "panels/binding_table.h"
#include "skin/skin_test_util.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstring>

namespace orba::test {
namespace {

using orba::panels::Binding;

// Only what a panel test can see or press; pictures and graphs of the screens are left out.
bool laidOut(const Binding &b)
{
    switch (b.kind) {
    case kGuiButton:
    case kGuiLamp:
    case kGuiCheckBox:
    case kGuiDisplay:
    case kGuiKnob:
    case kGuiCombo:
    case kGuiRadioGroup:
    case kGuiMeter:
    case kGuiLabel:
        return true;
    default:
        return false;
    }
}

// Each panel's objects take rows of their own, so that no two objects share a place.
constexpr int kCell = 60, kPerRow = 16, kLeft = 10, kTop = 10, kWidth = 1000, kHeight = 1300;
constexpr int kGraphTop = 1100;

// Position of each laid-out object, in table order.
template <class F> void forEachLaidOut(F &&f)
{
    int row = 0, cell = 0, screen = orba::panels::kBindings[0].screen;
    for (const Binding &b : orba::panels::kBindings) {
        if (!laidOut(b))
            continue;
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
    QDir().mkpath(folder);
    const QDir dir(folder);
    {
        QImage bg(kWidth, kHeight, QImage::Format_RGB32);
        bg.fill(QColor::fromRgb(kPanelSkinBackground));
        bg.save(dir.filePath(QStringLiteral("bg.png")), "PNG");
    }
    writeIndexedPng(dir.filePath(QStringLiteral("button.png")), 40, 20, 12);
    writeIndexedPng(dir.filePath(QStringLiteral("lamp.png")), 20, 20, 3);
    writeIndexedPng(dir.filePath(QStringLiteral("check.png")), 20, 20, 6);
    writeIndexedPng(dir.filePath(QStringLiteral("knob.png")), 30, 30, 11);
    writeIndexedPng(dir.filePath(QStringLiteral("item.png")), 14, 14, 6);
    writeIndexedPng(dir.filePath(QStringLiteral("meter_bar.png")), 8, 40, 6);
    writeIndexedPng(dir.filePath(QStringLiteral("meter_ovr.png")), 8, 2, 6);
    writePng(dir.filePath(QStringLiteral("meter_bg.png")), 28, 44, 1, {QColor(0, 0, 0)});

    QByteArray xml = "<?xml version=\"1.0\"?>\n<skin>\n";
    if (withBackground)
        xml += "<image id=\"BKGRND\" file=\"bg.png\"/>\n";
    xml += "<image id=\"PIC_BUTTON\" file=\"button.png\" sections=\"12\"/>\n"
           "<image id=\"PIC_LAMP\" file=\"lamp.png\" sections=\"3\"/>\n"
           "<image id=\"PIC_CHECK\" file=\"check.png\" sections=\"6\"/>\n"
           "<image id=\"PIC_KNOB\" file=\"knob.png\" sections=\"11\"/>\n"
           "<image id=\"PIC_ITEM\" file=\"item.png\" sections=\"6\"/>\n"
           "<image id=\"PIC_METER_BG\" file=\"meter_bg.png\"/>\n"
           "<image id=\"PIC_METER_BAR\" file=\"meter_bar.png\" sections=\"6\"/>\n"
           "<image id=\"PIC_METER_OVR\" file=\"meter_ovr.png\" sections=\"6\"/>\n";
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
