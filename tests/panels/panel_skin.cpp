#include "panel_skin.h"

#include "skin/skin_test_util.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstring>

namespace orba::test {
namespace {

enum Kind { Button, Lamp, Check, Display, Knob, Combo, Group, Item, Meter, Graph, Label, Image };

struct Def
{
    const char *name;
    Kind kind;
};

// Items follow their group.
const Def kObjects[] = {
    {"SYS_ABOUT", Button},
    {"SYS_MINIMIZE", Button},
    {"SYS_EXIT", Button},
    {"STAT_ONLINE", Display},
    {"STAT_DEVICE", Display},
    {"STAT_PRESET", Display},
    {"FLOW_INPUT", Button},
    {"FLOW_PEQ", Button},
    {"FLOW_COMP", Button},
    {"FLOW_HD_OUT", Button},
    {"FLOW_AM_OUT", Button},
    {"FLOW_AM_TX", Button},
    {"FLOW_SYSTEM", Button},
    {"GRAPH_INPUT", Button},
    {"GRAPH_PDOUT", Button},
    {"GRAPH_VIEW_AUDIO", Check},
    {"GRAPH_VIEW_GR", Check},
    {"GRAPH_VIEW_CNTRLS", Check},
    {"GRAPH_VIEW_LR", Check},
    {"GRAPH_VIEW_OSCOPE", Check},
    {"SAVE", Button},
    {"TAKE", Button},
    {"QSAVEA", Button},
    {"QSAVEB", Button},
    {"QSAVEAB", Button},
    {"PRESETS", Button},
    {"DEVICES", Button},
    {"ONLINE", Check},
    {"METER_IN_RANGE", Check},
    {"METER_IN", Meter},
    {"METER_GR", Meter},
    {"METER_AM", Meter},
    {"METER_HD", Meter},
    {"HDPN_KNOB", Knob},
    {"GR_CHOICE", Combo},
    {"AM_CHOICE", Combo},

    {"SYS_LABEL", Label},
    {"SYSTEM_FOLLOW", Check},
    {"TCP_METERS", Check},
    {"SKIN", Button},
    {"PASSWORDS", Button},
    {"FPPASSWD", Button},
    {"GUIACCESS", Button},
    {"GUILOCK", Button},
    {"EVENTSCHED", Button},
    {"TIME_SET", Button},
    {"HDPN_SRC", Combo},
    {"STATUS_TEMP", Lamp},
    {"STATUS_ANA", Lamp},
    {"STATUS_AES", Lamp},

    {"INPUT_LABEL", Label},
    {"INPUT_SRC", Group},
    {"INPUT_SRC_LINE", Item},
    {"INPUT_SRC_AES", Item},
    {"INPUT_ANA_GAIN_KNOB", Knob},
    {"INPUT_ANA_GAIN_DSPY", Display},
    {"INPUT_AES_GAIN_KNOB", Knob},
    {"INPUT_AES_GAIN_DSPY", Display},
    {"INPUT_OFFSET_KNOB", Knob},
    {"INPUT_OFFSET_DSPY", Display},
    {"INPUT_HPF_STEREO", Check},
    {"INPUT_HPFS_IN", Check},
    {"INPUT_HPFD_IN", Check},
    {"INPUT_HPFS_KNOB", Knob},
    {"INPUT_HPFS_DSPY", Display},
    {"INPUT_HPFD_KNOB", Knob},
    {"INPUT_HPFD_DSPY", Display},
    {"INPUT_SYMMETRY", Check},
    {"INPUT_FAILOVER", Check},
    {"INPUT_ANA_FAIL", Lamp},
    {"INPUT_AES_FAIL", Lamp},

    {"PEQ_LABEL", Label},
    {"PEQ1_F_KNOB", Knob},
    {"PEQ3_L_KNOB", Knob},
    {"PEQ1_ENABLE", Check},
    {"PEQ2_ENABLE", Check},
    {"PEQ3_ENABLE", Check},
    {"PEQ4_ENABLE", Check},
    {"PEQ_ENABLE", Check},
    {"COMP_LABEL", Label},
    {"COMP_AGC_ENABLE", Check},
    {"COMP_COMP_ENABLE", Check},
    {"FMO_LABEL", Label},
    {"FMO_MSTR_KNOB", Knob},
    {"FMO_LIM_ENABLE", Check},
    {"AMHD_LABEL", Label},
    {"AMHD_TRIM_KNOB", Knob},
    {"AMT_LABEL", Label},
    {"AMT_TEST_OSC", Check},
    {"AMT_TEST_OSC_KNOB", Knob},
};

constexpr int kCell = 60, kPerRow = 16, kLeft = 10, kTop = 10;

QPoint gridPosition(int i)
{
    return QPoint(kLeft + (i % kPerRow) * kCell, kTop + (i / kPerRow) * kCell);
}

QByteArray pos(const QPoint &p)
{
    return "<position x=\"" + QByteArray::number(p.x()) + "\" y=\"" + QByteArray::number(p.y()) + "\"/>";
}

QByteArray objectXml(const Def &d, const QPoint &p)
{
    const QByteArray id = QByteArray("id=\"") + d.name + "\"";
    switch (d.kind) {
    case Button:
        return "<button " + id + ">" + pos(p) + "<bitmap image=\"PIC_BUTTON\"/></button>";
    case Lamp:
        return "<lamp " + id + ">" + pos(p) + "<bitmap image=\"PIC_LAMP\"/><text x=\"0\" y=\"22\"/></lamp>";
    case Check:
        return "<checkbox " + id + ">" + pos(p) + "<bitmap image=\"PIC_CHECK\"/></checkbox>";
    case Display:
        return "<display " + id + "><position x=\"" + QByteArray::number(p.x()) + "\" y=\"" +
               QByteArray::number(p.y()) + "\" w=\"56\" h=\"14\"/></display>";
    case Knob:
        return "<knob " + id + " type=\"SIMPLE\">" + pos(p) + "<bitmap image=\"PIC_KNOB\"/></knob>";
    case Combo:
        return "<combo " + id + " type=\"DROP\"><position x=\"" + QByteArray::number(p.x()) + "\" y=\"" +
               QByteArray::number(p.y()) + "\" w=\"56\"/></combo>";
    case Meter:
        return "<meter " + id + "><position x=\"" + QByteArray::number(p.x()) + "\" y=\"" +
               QByteArray::number(p.y()) +
               "\" barlx=\"4\" barrx=\"16\" bary=\"2\" ovrlx=\"4\" ovrrx=\"16\" ovry=\"0\"/>"
               "<bitmap bg=\"PIC_METER_BG\" bar=\"PIC_METER_BAR\" ovr=\"PIC_METER_OVR\"/></meter>";
    case Label:
        return "<label " + id + ">" + pos(p) + "<bitmap w=\"50\" h=\"10\"/></label>";
    default:
        return QByteArray();
    }
}

} // namespace

QPoint panelSkinPosition(const char *name)
{
    int cell = 0;
    for (const Def &d : kObjects) {
        if (d.kind == Item)
            continue;
        if (std::strcmp(d.name, name) == 0)
            return gridPosition(cell);
        ++cell;
    }
    if (std::strcmp(name, "GRAPH") == 0)
        return QPoint(kLeft, 420);
    return QPoint(-1, -1);
}

void writePanelSkin(const QString &folder, bool withBackground)
{
    QDir().mkpath(folder);
    const QDir dir(folder);
    {
        QImage bg(1000, 640, QImage::Format_RGB32);
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
    int cell = 0;
    for (size_t i = 0; i < sizeof kObjects / sizeof kObjects[0]; ++i) {
        const Def &d = kObjects[i];
        if (d.kind == Item)
            continue;
        const QPoint p = gridPosition(cell++);
        if (d.kind == Group) {
            xml += QByteArray("<radiogroup id=\"") + d.name + "\">" + pos(p) + "<bitmap item=\"PIC_ITEM\"/>";
            for (size_t j = i + 1; j < sizeof kObjects / sizeof kObjects[0] && kObjects[j].kind == Item; ++j)
                xml += QByteArray("<radioitem id=\"") + kObjects[j].name + "\"/>";
            xml += "</radiogroup>\n";
            continue;
        }
        xml += objectXml(d, p) + "\n";
    }
    const QPoint g = panelSkinPosition("GRAPH");
    xml += "<ap_graph id=\"GRAPH\"><position1 x=\"" + QByteArray::number(g.x()) + "\" y=\"" +
           QByteArray::number(g.y()) + "\" w=\"340\" h=\"185\"/></ap_graph>\n";
    xml += "</skin>\n";
    writeText(dir.filePath(QStringLiteral("skin.xml")), xml);
}

} // namespace orba::test
