// The main panel: top strip, signal-flow chain, analyser graph, meters, presets, connection and
// headphones. It owns the window background "BKGRND".
#include "default_skin_objects.h"
#include "layout.h"
#include "theme.h"

#include <QPainter>
#include <QPainterPath>

namespace orba::skingen {

using namespace theme;
using art::ButtonStyle;

namespace {

constexpr int kFlowH = 28;

struct FlowButton
{
    const char *id;
    const char *caption;
    int screen;
    QRect rect;
};

const FlowButton kFlow[] = {
    {"FLOW_INPUT", "INPUT", kInput, QRect(24, 74, 128, kFlowH)},
    {"FLOW_PEQ", "EQ", kParametric, QRect(184, 74, 128, kFlowH)},
    {"FLOW_COMP", "AGC / COMP", kCompressor, QRect(344, 74, 136, kFlowH)},
    {"FLOW_HD_OUT", "HD OUT", kAmHd, QRect(536, 56, 136, kFlowH)},
    {"FLOW_AM_OUT", "AM OUT", kAmOut, QRect(536, 92, 136, kFlowH)},
    {"FLOW_AM_TX", "AM TX", kAmTx, QRect(712, 92, 136, kFlowH)},
    {"FLOW_SYSTEM", "SYSTEM", kSystem, QRect(950, 74, 128, kFlowH)},
};

void arrow(QPainter &p, const QPointF &from, const QPointF &to)
{
    p.setPen(QPen(kTextFaint, 1.6));
    p.drawLine(from, to - QPointF(5, 0));
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to + QPointF(-7, -4));
    head.lineTo(to + QPointF(-7, 4));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kTextFaint);
    p.drawPath(head);
}

void paintChrome(QPainter &p)
{
    // Window: a faint vertical gradient, the top strip a shade darker.
    QLinearGradient g(0, 0, 0, kWindowHeight);
    g.setColorAt(0, mix(kWindow, QColor(255, 255, 255), 0.02));
    g.setColorAt(1, mix(kWindow, QColor(0, 0, 0), 0.15));
    p.fillRect(QRect(0, 0, kWindowWidth, kWindowHeight), g);
    p.fillRect(QRect(0, 0, kWindowWidth, 44), QColor(15, 17, 20));
    p.fillRect(QRect(0, 44, kWindowWidth, 1), QColor(0, 0, 0));
    p.fillRect(QRect(0, 45, kWindowWidth, 1), QColor(255, 255, 255, 10));
    art::paintBrand(p, QPoint(18, 9));

    // The status capsule holding the three status displays.
    const QRectF capsule(222.5, 8.5, 720, 27);
    p.setPen(QPen(QColor(0, 0, 0, 170), 1));
    p.setBrush(QColor(9, 10, 12));
    p.drawRoundedRect(capsule, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 14), 1));
    p.drawLine(QPointF(capsule.left() + 6, capsule.bottom() + 1),
               QPointF(capsule.right() - 6, capsule.bottom() + 1));
    for (int x : {382, 610}) {
        p.setPen(QPen(kLine, 1));
        p.drawLine(QPointF(x + 0.5, 13), QPointF(x + 0.5, 31));
    }
}

void paintConnectors(QPainter &p)
{
    // Signal-flow connectors: input to compressor, the bus splitting to both outputs.
    const int mid = 74 + kFlowH / 2, rowA = 56 + kFlowH / 2, rowB = 92 + kFlowH / 2;
    arrow(p, QPointF(152, mid), QPointF(184, mid));
    arrow(p, QPointF(312, mid), QPointF(344, mid));
    p.setPen(QPen(kTextFaint, 1.6));
    p.drawLine(QPointF(480, mid), QPointF(504, mid));
    p.drawLine(QPointF(504, rowA), QPointF(504, rowB));
    arrow(p, QPointF(504, rowA), QPointF(536, rowA));
    arrow(p, QPointF(504, rowB), QPointF(536, rowB));
    arrow(p, QPointF(672, rowB), QPointF(712, rowB));
    arrow(p, QPointF(672, rowA), QPointF(712, rowA));
    arrow(p, QPointF(848, rowB), QPointF(880, rowB));
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(926.5, 60), QPointF(926.5, 116));
}

} // namespace

void layoutMain(SkinWriter &w)
{
    Surface s(w, kMain, QRect(0, 0, kWindowWidth, kWindowHeight));
    s.setExtraPainters(paintChrome, paintConnectors);

    // Top strip.
    s.button(QStringLiteral("SYS_ABOUT"), QString(), QRect(1000, 10, 28, 24), ButtonStyle::Window,
             QStringLiteral("F_BUTTON"), kText, art::Glyph::About);
    s.button(QStringLiteral("SYS_MINIMIZE"), QString(), QRect(1032, 10, 28, 24), ButtonStyle::Window,
             QStringLiteral("F_BUTTON"), kText, art::Glyph::Minimise);
    s.button(QStringLiteral("SYS_EXIT"), QString(), QRect(1064, 10, 28, 24), ButtonStyle::Window,
             QStringLiteral("F_BUTTON"), kText, art::Glyph::Exit);
    const int headingAlign = Qt::AlignRight | Qt::AlignVCenter;
    s.text(QRect(226, 9, 44, 26), QStringLiteral("LINK"), headingAlign, 9);
    s.display(QStringLiteral("STAT_ONLINE"), QRect(280, 11, 92, 22), QStringLiteral("F_STATUS"), true, false,
              false);
    s.text(QRect(388, 9, 48, 26), QStringLiteral("DEVICE"), headingAlign, 9);
    s.display(QStringLiteral("STAT_DEVICE"), QRect(444, 11, 156, 22), QStringLiteral("F_STATUS"), true, true,
              true);
    s.text(QRect(612, 9, 48, 26), QStringLiteral("PRESET"), headingAlign, 9);
    s.display(QStringLiteral("STAT_PRESET"), QRect(668, 11, 264, 22), QStringLiteral("F_STATUS"), true, true,
              false);

    // Signal flow: each block's button in the block's colour.
    s.section(QRect(10, 50, 1080, 78), QString(), false);
    for (const FlowButton &f : kFlow)
        s.button(QLatin1String(f.id), QLatin1String(f.caption), f.rect, ButtonStyle::Flow,
                 QStringLiteral("F_FLOW"), block(f.screen).accent);
    s.text(QRect(720, 58, 190, 24), QStringLiteral("TO HD EXCITER"), Qt::AlignLeft | Qt::AlignVCenter, 9,
           false);
    s.text(QRect(888, 94, 40, 24), QStringLiteral("TX"), Qt::AlignLeft | Qt::AlignVCenter, 9, false);

    // Analyser: the response graph in nine layouts (full, halves, quarters of its frame).
    s.section(QRect(10, 134, 530, 300), QStringLiteral("Analyser"));
    const QRect full(18, 160, 514, 236);
    const int hw = full.width() / 2, hh = full.height() / 2;
    s.responseGraph(
        QStringLiteral("GRAPH"),
        {full, QRect(full.x(), full.y(), full.width(), hh), QRect(full.x(), full.y() + hh, full.width(), hh),
         QRect(full.x(), full.y(), hw, full.height()), QRect(full.x() + hw, full.y(), hw, full.height()),
         QRect(full.x(), full.y(), hw, hh), QRect(full.x() + hw, full.y(), hw, hh),
         QRect(full.x(), full.y() + hh, hw, hh), QRect(full.x() + hw, full.y() + hh, hw, hh)},
        QStringLiteral("C_AUDIO"));

    const QColor lampOn = kLedOn;
    s.button(QStringLiteral("GRAPH_INPUT"), QStringLiteral("INPUT"), QRect(18, 404, 70, 22),
             ButtonStyle::Segment, QStringLiteral("F_BUTTON"), block(kInput).accent);
    s.button(QStringLiteral("GRAPH_PDOUT"), QStringLiteral("OUTPUT"), QRect(90, 404, 70, 22),
             ButtonStyle::Segment, QStringLiteral("F_BUTTON"), block(kInput).accent);
    s.pushSwitch(QStringLiteral("GRAPH_VIEW_AUDIO"), QStringLiteral("AUDIO"), QRect(174, 404, 70, 22),
                 lampOn);
    s.pushSwitch(QStringLiteral("GRAPH_VIEW_GR"), QStringLiteral("GR"), QRect(248, 404, 50, 22), lampOn);
    s.pushSwitch(QStringLiteral("GRAPH_VIEW_CNTRLS"), QStringLiteral("EDIT"), QRect(302, 404, 58, 22),
                 lampOn);
    s.pushSwitch(QStringLiteral("GRAPH_VIEW_LR"), QStringLiteral("L/R"), QRect(374, 404, 58, 22), lampOn);
    s.pushSwitch(QStringLiteral("GRAPH_VIEW_OSCOPE"), QStringLiteral("SCOPE"), QRect(436, 404, 96, 22),
                 lampOn);

    // Meters: input, gain reduction, AM and HD, with their choices underneath.
    s.section(QRect(10, 442, 300, 268), QStringLiteral("Meters"));
    const art::Art bar = art::meterBar(11, 156);
    w.picture(QStringLiteral("IMG_METER_BAR"), bar, art::kMeterSections);
    w.picture(QStringLiteral("IMG_METER_OVR"), art::meterOverload(11, 6), art::kMeterSections);
    w.picture(QStringLiteral("IMG_METER_BG"), art::meterBackground(64, 188, 6, 47, 14, 11, 156, 4), 1);
    struct MeterDef
    {
        const char *id, *title, *style;
        int x;
    };
    const MeterDef meters[] = {{"METER_IN", "INPUT", "VUFS30", 22},
                               {"METER_GR", "GAIN RED.", "GR20", 94},
                               {"METER_AM", "AM", "VU40", 166},
                               {"METER_HD", "HD", "VUFS30", 238}};
    for (const MeterDef &m : meters) {
        s.text(QRect(m.x - 4, 468, 72, 14), QLatin1String(m.title), Qt::AlignCenter, 9);
        Element e(QStringLiteral("meter"));
        e.attr(QStringLiteral("id"), QLatin1String(m.id))
            .child(Element(QStringLiteral("position"))
                       .attr(QStringLiteral("x"), m.x)
                       .attr(QStringLiteral("y"), 484)
                       .attr(QStringLiteral("barlx"), 6)
                       .attr(QStringLiteral("barrx"), 47)
                       .attr(QStringLiteral("bary"), 14)
                       .attr(QStringLiteral("ovrlx"), 6)
                       .attr(QStringLiteral("ovrrx"), 47)
                       .attr(QStringLiteral("ovry"), 4))
            .child(Element(QStringLiteral("text"))
                       .attr(QStringLiteral("x"), 32)
                       .attr(QStringLiteral("y"), 14)
                       .attr(QStringLiteral("color"), QStringLiteral("C_TEXT_DIM")))
            .child(Element(QStringLiteral("bitmap"))
                       .attr(QStringLiteral("bg"), QStringLiteral("IMG_METER_BG"))
                       .attr(QStringLiteral("bar"), QStringLiteral("IMG_METER_BAR"))
                       .attr(QStringLiteral("ovr"), QStringLiteral("IMG_METER_OVR")))
            .child(Element(QStringLiteral("type"))
                       .attr(QStringLiteral("style"), QLatin1String(m.style))
                       .attr(QStringLiteral("clip"), 1)
                       .attr(QStringLiteral("channels"), 2)
                       .attr(QStringLiteral("vertical"), 1));
        w.object(QLatin1String(m.id), kMeter, kMain, e);
    }
    s.pushSwitch(QStringLiteral("METER_IN_RANGE"), QStringLiteral("60 dB"), QRect(22, 680, 64, 20), lampOn);
    s.combo(QStringLiteral("GR_CHOICE"), QString(), 94, 680, 64, ComboKind::Drop, 6);
    s.combo(QStringLiteral("AM_CHOICE"), QString(), 166, 680, 64, ComboKind::Drop, 6);

    // Presets.
    s.section(QRect(318, 442, 222, 148), QStringLiteral("Presets"));
    s.button(QStringLiteral("SAVE"), QStringLiteral("SAVE"), QRect(330, 474, 96, 26), ButtonStyle::Plain);
    s.button(QStringLiteral("TAKE"), QStringLiteral("TAKE"), QRect(432, 474, 96, 26), ButtonStyle::Plain);
    s.button(QStringLiteral("PRESETS"), QStringLiteral("LIBRARY…"), QRect(330, 506, 198, 26),
             ButtonStyle::Plain);
    s.text(QRect(330, 538, 198, 14), QStringLiteral("QUICK SAVE"), Qt::AlignLeft | Qt::AlignVCenter, 9,
           false);
    s.button(QStringLiteral("QSAVEA"), QStringLiteral("A"), QRect(330, 556, 62, 24), ButtonStyle::Plain,
             QStringLiteral("F_BUTTON"), QColor(0x60, 0xE0, 0x60));
    s.button(QStringLiteral("QSAVEB"), QStringLiteral("B"), QRect(398, 556, 62, 24), ButtonStyle::Plain,
             QStringLiteral("F_BUTTON"), QColor(0x60, 0xE0, 0x60));
    s.button(QStringLiteral("QSAVEAB"), QStringLiteral("A = B"), QRect(466, 556, 62, 24), ButtonStyle::Plain,
             QStringLiteral("F_BUTTON"), QColor(0x60, 0xE0, 0x60));

    // Connection and headphones.
    s.section(QRect(318, 598, 136, 112), QStringLiteral("Connection"));
    s.button(QStringLiteral("DEVICES"), QStringLiteral("DEVICES…"), QRect(328, 630, 116, 26),
             ButtonStyle::Plain);
    s.pushSwitch(QStringLiteral("ONLINE"), QStringLiteral("ON-LINE"), QRect(328, 664, 116, 26), kGreen);
    s.section(QRect(462, 598, 78, 112), QStringLiteral("Phones"));
    s.knob(QStringLiteral("HDPN_KNOB"), QStringLiteral("L e v e l"), 501, 634, Ring::Simple, 44);

    s.finish(QStringLiteral("BKGRND"));
}

} // namespace orba::skingen
