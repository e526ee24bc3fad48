#include "layout.h"
#include "default_skin_objects.h"
#include "theme.h"

#include <QPainter>

namespace orba::skingen {

using namespace theme;
using art::ButtonStyle;

namespace {

QString upperKey(const QString &key)
{
    return key.toUpper();
}

QString ringName(Ring ring)
{
    switch (ring) {
    case Ring::Simple:
        return QStringLiteral("SIMPLE");
    case Ring::Dot:
        return QStringLiteral("RING_DOT");
    case Ring::Bar:
        return QStringLiteral("RING_BAR");
    case Ring::ReBar:
        return QStringLiteral("RING_REBAR");
    case Ring::Spread:
        return QStringLiteral("RING_SPREAD");
    case Ring::Q:
        return QStringLiteral("RING_Q");
    case Ring::Pan:
        return QStringLiteral("RING_PAN");
    }
    return QString();
}

Element captionElement(const QString &value, int x, int y, const QString &colour, const QString &font,
                       const QString &align)
{
    Element e(QStringLiteral("text"));
    if (!value.isEmpty())
        e.attr(QStringLiteral("value"), value);
    e.attr(QStringLiteral("x"), x).attr(QStringLiteral("y"), y).attr(QStringLiteral("color"), colour);
    e.attr(QStringLiteral("font"), font);
    if (!align.isEmpty())
        e.attr(QStringLiteral("align"), align);
    return e;
}

Element bitmap(const QString &image)
{
    return Element(QStringLiteral("bitmap")).attr(QStringLiteral("image"), image);
}

// The clear picture: objects that draw only their caption.
QString clearPicture(SkinWriter &w)
{
    return w.picture(QStringLiteral("IMG_CLEAR"), art::paintBoth(2, 2, [](QPainter &) {}), 1);
}

} // namespace

QRect screenArea()
{
    return QRect(552, 134, 538, 576);
}

Surface::Surface(SkinWriter &writer, int screen, const QRect &area, QString xName, QString yName)
    : m_w(writer), m_screen(screen), m_area(area), m_xName(std::move(xName)), m_yName(std::move(yName))
{
    const Block b = block(screen);
    m_accent = b.accent;
    m_key = b.key;
}

QString Surface::X(int x) const
{
    if (m_xName.isEmpty())
        return QString::number(m_area.x() + x);
    return x == 0 ? m_xName : QStringLiteral("%1+%2").arg(m_xName).arg(x);
}

QString Surface::Y(int y) const
{
    if (m_yName.isEmpty())
        return QString::number(m_area.y() + y);
    return y == 0 ? m_yName : QStringLiteral("%1+%2").arg(m_yName).arg(y);
}

Element Surface::position(int x, int y) const
{
    return Element(QStringLiteral("position"))
        .attr(QStringLiteral("x"), X(x))
        .attr(QStringLiteral("y"), Y(y));
}

void Surface::section(const QRect &r, const QString &heading, bool headingRow, const QColor &tick)
{
    m_sections.append({r, heading, headingRow, tick.isValid() ? tick : m_accent});
}

void Surface::text(const QRect &r, const QString &s, int align, int pixelSize, bool bold)
{
    m_texts.append({r, s, align, pixelSize, bold});
}

QString Surface::knobPicture(int size)
{
    const QString id = QStringLiteral("IMG_KNOB%1_%2").arg(size).arg(upperKey(m_key));
    if (!m_w.hasPicture(id))
        m_w.picture(id, art::ringKnob(size, m_accent), art::kRingKnobSections);
    return id;
}

QString Surface::comboPicture(ComboKind kind)
{
    const bool drop = kind == ComboKind::Drop;
    const QString id = QStringLiteral("IMG_%1_%2").arg(drop ? "DROP" : "STEP", upperKey(m_key));
    if (!m_w.hasPicture(id))
        m_w.picture(id, art::comboArrows(16, kComboHeight, drop, m_accent), art::kComboArrowSections);
    return id;
}

void Surface::title(const QString &id, const QString &caption)
{
    const QString plate = QStringLiteral("IMG_TITLE_%1").arg(upperKey(m_key));
    const int w = m_area.width(), h = 34;
    m_w.picture(plate, art::titlePlate(w, h, m_accent), 1);
    Element e(QStringLiteral("label"));
    e.attr(QStringLiteral("id"), id)
        .child(position(0, 0))
        .child(captionElement(caption, 22, h / 2, QStringLiteral("C_TEXT"), QStringLiteral("F_TITLE"),
                              QStringLiteral("cl")))
        .child(bitmap(plate).attr(QStringLiteral("w"), w).attr(QStringLiteral("h"), h));
    m_w.object(id, kLabel, m_screen, e);
}

void Surface::heading(const QString &id, const QRect &s, const QString &caption)
{
    // Only the heading row, short of its right end where a section's "In" switch sits: the label
    // takes no clicks meant for controls.
    section(s);
    const int w = s.width() - 64;
    Element e(QStringLiteral("label"));
    e.attr(QStringLiteral("id"), id)
        .child(position(s.x(), s.y()))
        .child(captionElement(caption.toUpper(), 18, 13, QStringLiteral("C_TEXT_DIM"),
                              QStringLiteral("F_HEAD"), QStringLiteral("cl")))
        .child(bitmap(clearPicture(m_w)).attr(QStringLiteral("w"), w).attr(QStringLiteral("h"), 24));
    m_w.object(id, kLabel, m_screen, e);
}

void Surface::knob(const QString &id, const QString &caption, int cx, int top, Ring ring, int size,
                   const QString &display)
{
    const int x = cx - size / 2, y = top + 14;
    QString picture;
    if (ring == Ring::Simple) {
        picture = QStringLiteral("IMG_FILM%1_%2").arg(size).arg(upperKey(m_key));
        if (!m_w.hasPicture(picture))
            m_w.picture(picture, art::filmKnob(size, m_accent, 61), 61);
    } else {
        picture = knobPicture(size);
    }
    Element e(QStringLiteral("knob"));
    e.attr(QStringLiteral("id"), id)
        .attr(QStringLiteral("type"), ringName(ring))
        .child(position(x, y))
        .child(captionElement(caption, size / 2, -2, QStringLiteral("C_TEXT_DIM"),
                              QStringLiteral("F_CAPTION"), QStringLiteral("bc")))
        .child(bitmap(picture));
    m_w.object(id, kKnob, m_screen, e);
    if (!display.isEmpty())
        valueDisplay(display, cx, y + size + 3);
}

void Surface::valueDisplay(const QString &id, int cx, int y, int w)
{
    const QRect r(cx - w / 2, y, w, kValueHeight);
    if (!m_conditional.contains(id))
        m_wells << r;
    const QString value = QStringLiteral("C_VALUE_%1").arg(upperKey(m_key));
    Element e(QStringLiteral("display"));
    e.attr(QStringLiteral("id"), id)
        .child(
            position(r.x(), r.y()).attr(QStringLiteral("w"), r.width()).attr(QStringLiteral("h"), r.height()))
        .child(Element(QStringLiteral("text")).attr(QStringLiteral("font"), QStringLiteral("F_VALUE")))
        .child(Element(QStringLiteral("color"))
                   .attr(QStringLiteral("fg"), value)
                   .attr(QStringLiteral("bg"), QStringLiteral("C_WELL"))
                   .attr(QStringLiteral("fg_error"), QStringLiteral("C_ERR_FG"))
                   .attr(QStringLiteral("bg_error"), QStringLiteral("C_ERR_BG"))
                   .attr(QStringLiteral("fg_warn"), QStringLiteral("C_WARN_FG"))
                   .attr(QStringLiteral("bg_warn"), QStringLiteral("C_WARN_BG")))
        .child(Element(QStringLiteral("mode"))
                   .attr(QStringLiteral("editable"), 1)
                   .attr(QStringLiteral("dlgregexp"), QStringLiteral("-?\\d*\\.?\\d+")));
    m_w.object(id, kDisplay, m_screen, e);
}

void Surface::display(const QString &id, const QRect &r, const QString &font, bool transparent, bool marquee,
                      bool doubleClick)
{
    Element mode(QStringLiteral("mode"));
    mode.attr(QStringLiteral("marquee"), marquee ? 1 : 0)
        .attr(QStringLiteral("dclickable"), doubleClick ? 1 : 0);
    Element e(QStringLiteral("display"));
    e.attr(QStringLiteral("id"), id)
        .child(
            position(r.x(), r.y()).attr(QStringLiteral("w"), r.width()).attr(QStringLiteral("h"), r.height()))
        .child(Element(QStringLiteral("text")).attr(QStringLiteral("font"), font))
        .child(Element(QStringLiteral("color"))
                   .attr(QStringLiteral("fg"), QStringLiteral("C_TEXT"))
                   .attr(QStringLiteral("bg"),
                         transparent ? QStringLiteral("TRANSPARENT") : QStringLiteral("C_WELL"))
                   .attr(QStringLiteral("fg_error"), QStringLiteral("C_ERR_FG"))
                   .attr(QStringLiteral("bg_error"), QStringLiteral("C_ERR_BG"))
                   .attr(QStringLiteral("fg_warn"), QStringLiteral("C_WARN_FG"))
                   .attr(QStringLiteral("bg_warn"), QStringLiteral("C_WARN_BG"))
                   .attr(QStringLiteral("fg_note"), QStringLiteral("C_NOTE_FG"))
                   .attr(QStringLiteral("bg_note"), QStringLiteral("C_NOTE_BG")))
        .child(mode);
    m_w.object(id, kDisplay, m_screen, e);
}

namespace {

Element graphColours()
{
    return Element(QStringLiteral("color"))
        .attr(QStringLiteral("plot_bg"), QStringLiteral("C_PLOT"))
        .attr(QStringLiteral("gutter_fg"), QStringLiteral("C_GUTTER_TEXT"))
        .attr(QStringLiteral("gutter_bg"), QStringLiteral("C_GUTTER"))
        .attr(QStringLiteral("axis_major"), QStringLiteral("C_GRID_MAJOR"))
        .attr(QStringLiteral("axis_minor"), QStringLiteral("C_GRID_MINOR"));
}

} // namespace

void Surface::responseGraph(const QString &id, const QList<QRect> &layouts, const QString &audioColour)
{
    Element e(QStringLiteral("ap_graph"));
    e.attr(QStringLiteral("id"), id);
    for (int i = 0; i < 9; ++i) {
        const QRect &r = layouts[layouts.size() == 9 ? i : 0];
        e.child(Element(QStringLiteral("position%1").arg(i + 1))
                    .attr(QStringLiteral("x"), X(r.x()))
                    .attr(QStringLiteral("y"), Y(r.y()))
                    .attr(QStringLiteral("w"), r.width())
                    .attr(QStringLiteral("h"), r.height()));
    }
    e.child(graphColours().attr(QStringLiteral("audio"), audioColour));
    m_w.object(id, kApGraph, m_screen, e);
}

void Surface::dynamicsGraph(const QString &id, const QRect &r)
{
    Element colours = graphColours();
    for (int i = 1; i <= 5; ++i)
        colours.attr(QStringLiteral("curve_%1").arg(i), QStringLiteral("C_CURVE%1").arg(i));
    Element e(QStringLiteral("dyngraph"));
    e.attr(QStringLiteral("id"), id)
        .child(
            position(r.x(), r.y()).attr(QStringLiteral("w"), r.width()).attr(QStringLiteral("h"), r.height()))
        .child(colours);
    m_w.object(id, kDynGraph, m_screen, e);
}

void Surface::slideSwitch(const QString &id, const QString &caption, int x, int y, bool captionLeft)
{
    const QString picture = QStringLiteral("IMG_SWITCH_%1").arg(upperKey(m_key));
    if (!m_w.hasPicture(picture))
        m_w.picture(picture, art::slideSwitch(m_accent), art::kTwoStateSections);
    Element e(QStringLiteral("checkbox"));
    e.attr(QStringLiteral("id"), id)
        .child(position(x, y))
        .child(captionElement(caption, captionLeft ? -7 : 40, 9, QStringLiteral("C_TEXT"),
                              QStringLiteral("F_CAPTION"),
                              captionLeft ? QStringLiteral("cr") : QStringLiteral("cl")))
        .child(bitmap(picture));
    m_w.object(id, kCheckBox, m_screen, e);
}

void Surface::pushSwitch(const QString &id, const QString &caption, const QRect &r, const QColor &lampColour)
{
    const QString picture =
        QStringLiteral("IMG_PUSH%1X%2_%3").arg(r.width()).arg(r.height()).arg(hex(lampColour));
    if (!m_w.hasPicture(picture))
        m_w.picture(picture, art::pushSwitch(r.width(), r.height(), lampColour), art::kTwoStateSections);
    Element e(QStringLiteral("checkbox"));
    e.attr(QStringLiteral("id"), id)
        .child(position(r.x(), r.y()))
        .child(captionElement(caption, r.width() / 2 + 4, (r.height() - 1) / 2, QStringLiteral("C_TEXT"),
                              QStringLiteral("F_BUTTON"), QStringLiteral("cc")))
        .child(bitmap(picture));
    m_w.object(id, kCheckBox, m_screen, e);
}

void Surface::combo(const QString &id, const QString &caption, int x, int y, int w, ComboKind kind, int rows)
{
    const QRect r(x, y, w, kComboHeight);
    if (!m_conditional.contains(id))
        m_wells << r;
    const QString key = upperKey(m_key);
    Element e(QStringLiteral("combo"));
    e.attr(QStringLiteral("id"), id)
        .attr(QStringLiteral("type"),
              kind == ComboKind::Drop ? QStringLiteral("DROP") : QStringLiteral("USER"))
        .child(position(x, y).attr(QStringLiteral("w"), w))
        .child(captionElement(caption, 1, -15, QStringLiteral("C_TEXT_DIM"), QStringLiteral("F_CAPTION"),
                              QStringLiteral("tl"))
                   .attr(QStringLiteral("dfont"), QStringLiteral("F_LIST")))
        .child(Element(QStringLiteral("color"))
                   .attr(QStringLiteral("fg"), QStringLiteral("C_VALUE_%1").arg(key))
                   .attr(QStringLiteral("bg"), QStringLiteral("C_WELL"))
                   .attr(QStringLiteral("fg_list"), QStringLiteral("C_TEXT_DIM"))
                   .attr(QStringLiteral("bg_list"), QStringLiteral("C_LIST_BG"))
                   .attr(QStringLiteral("fg_select"), QStringLiteral("C_TEXT"))
                   .attr(QStringLiteral("bg_select"), QStringLiteral("C_SELECT_%1").arg(key))
                   .attr(QStringLiteral("fg_hilite"), QStringLiteral("C_TEXT"))
                   .attr(QStringLiteral("bg_hilite"), QStringLiteral("C_HILITE_BG"))
                   .attr(QStringLiteral("bg_rail"), QStringLiteral("C_RAIL")))
        .child(Element(QStringLiteral("drop")).attr(QStringLiteral("rows"), rows))
        .child(bitmap(comboPicture(kind)));
    if (kind == ComboKind::Step)
        e.child(Element(QStringLiteral("mode")).attr(QStringLiteral("autoroll"), 1));
    m_w.object(id, kCombo, m_screen, e);
}

void Surface::radio(const QString &group, const QString &caption, int x, int y,
                    const QList<RadioChoice> &items)
{
    const QString picture = QStringLiteral("IMG_RADIO_%1").arg(upperKey(m_key));
    if (!m_w.hasPicture(picture))
        m_w.picture(picture, art::radioLamp(m_accent), art::kTwoStateSections);
    // The group itself is one pixel: its items take the clicks.
    Element e(QStringLiteral("radiogroup"));
    e.attr(QStringLiteral("id"), group)
        .child(position(x, y))
        .child(captionElement(caption, 0, -15, QStringLiteral("C_TEXT_DIM"), QStringLiteral("F_CAPTION"),
                              QString()))
        .child(Element(QStringLiteral("bitmap"))
                   .attr(QStringLiteral("image"), clearPicture(m_w))
                   .attr(QStringLiteral("item"), picture)
                   .attr(QStringLiteral("w"), 1)
                   .attr(QStringLiteral("h"), 1));
    for (const RadioChoice &c : items) {
        e.child(Element(QStringLiteral("radioitem"))
                    .attr(QStringLiteral("id"), c.id)
                    .attr(QStringLiteral("x"), c.x)
                    .attr(QStringLiteral("y"), c.y)
                    .attr(QStringLiteral("value"), c.caption)
                    .attr(QStringLiteral("color"), QStringLiteral("C_TEXT"))
                    .attr(QStringLiteral("font"), QStringLiteral("F_CAPTION"))
                    .attr(QStringLiteral("tx"), 21)
                    .attr(QStringLiteral("ty"), 2));
        m_w.object(c.id, kRadioItem, m_screen, Element(QStringLiteral("radioitem")));
    }
    m_w.object(group, kRadioGroup, m_screen, e);
}

void Surface::lamp(const QString &id, const QString &caption, int x, int y, LampKind kind)
{
    QString picture;
    switch (kind) {
    case LampKind::Status:
        picture = m_w.picture(QStringLiteral("IMG_LAMP_STATUS"),
                              art::lamp(kRed, kGreen, QColor(128, 128, 128)), art::kLampSections);
        break;
    case LampKind::Temperature:
        picture = m_w.picture(QStringLiteral("IMG_LAMP_TEMP"), art::lamp(kGreen, kRed, QColor(128, 128, 128)),
                              art::kLampSections);
        break;
    case LampKind::Choice:
        picture = QStringLiteral("IMG_LAMP_%1").arg(upperKey(m_key));
        if (!m_w.hasPicture(picture))
            m_w.picture(picture, art::lamp(QColor(128, 128, 128), m_accent, QColor(128, 128, 128)),
                        art::kLampSections);
        break;
    }
    Element e(QStringLiteral("lamp"));
    e.attr(QStringLiteral("id"), id)
        .child(position(x, y))
        .child(captionElement(caption, 20, 8, QStringLiteral("C_TEXT"), QStringLiteral("F_CAPTION"),
                              QStringLiteral("cl")))
        .child(bitmap(picture));
    m_w.object(id, kLamp, m_screen, e);
}

void Surface::button(const QString &id, const QString &caption, const QRect &r, ButtonStyle style,
                     const QString &font, const QColor &accent, art::Glyph glyph)
{
    const QColor colour = accent.isValid() ? accent : m_accent;
    const char *styleWord = style == ButtonStyle::Flow      ? "FLOW"
                            : style == ButtonStyle::Segment ? "SEG"
                            : style == ButtonStyle::Window  ? "WIN"
                                                            : "BTN";
    QString picture = QStringLiteral("IMG_%1%2X%3_%4")
                          .arg(QLatin1String(styleWord))
                          .arg(r.width())
                          .arg(r.height())
                          .arg(hex(colour));
    if (glyph != art::Glyph::None)
        picture += QStringLiteral("_G%1").arg(int(glyph));
    if (!m_w.hasPicture(picture))
        m_w.picture(picture, art::button(r.width(), r.height(), style, colour, glyph), art::kButtonSections);
    Element e(QStringLiteral("button"));
    e.attr(QStringLiteral("id"), id).child(position(r.x(), r.y()));
    Element t(QStringLiteral("text"));
    if (!caption.isEmpty())
        t.attr(QStringLiteral("value"), caption);
    t.attr(QStringLiteral("color"), QStringLiteral("C_TEXT"))
        .attr(QStringLiteral("font"), font)
        .attr(QStringLiteral("align"), QStringLiteral("cc"));
    e.child(t).child(bitmap(picture));
    m_w.object(id, kButton, m_screen, e);
}

void Surface::finish(const QString &id)
{
    const art::Art img = art::paintBoth(
        m_area.width(), m_area.height(),
        [this](QPainter &p) {
            if (m_under)
                m_under(p);
            for (const Section &s : std::as_const(m_sections))
                art::paintSection(p, s.rect, s.tick, s.heading, s.headingRow);
            if (m_over)
                m_over(p);
            for (const QRect &r : std::as_const(m_wells))
                art::paintWell(p, r);
            for (const Baked &t : std::as_const(m_texts)) {
                QFont f(QStringLiteral("DejaVu Sans"));
                f.setPixelSize(t.pixelSize);
                f.setBold(t.bold);
                p.setFont(f);
                p.setPen(t.bold ? kTextDim : kTextFaint);
                p.drawText(t.rect, t.align, t.text);
            }
        },
        m_screen == kMain ? kWindow : QColor(Qt::transparent));
    m_w.placedPicture(id, m_screen, img, X(0), Y(0));
}

void writeTheme(SkinWriter &w)
{
    w.themeComment(
        QStringLiteral("Where the processing screens stand; every screen object is placed against them."));
    const QRect area = screenArea();
    w.offset(QStringLiteral("SX"), QString::number(area.x()));
    w.offset(QStringLiteral("SY"), QString::number(area.y()));
    w.offset(QStringLiteral("SW"), QString::number(area.width()));
    w.offset(QStringLiteral("SH"), QString::number(area.height()));
    w.offset(QStringLiteral("SRIGHT"), QStringLiteral("SX + SW"));
    w.region(QStringLiteral("SCREEN_AREA"), area);
    w.region(QStringLiteral("WINDOW"), QRect(0, 0, kWindowWidth, kWindowHeight));

    w.themeComment(
        QStringLiteral("Fonts: DejaVu, as shipped by every Debian desktop. Size n draws n - 3 pixels."));
    const QString sans = QStringLiteral("DejaVu Sans"), mono = QStringLiteral("DejaVu Sans Mono");
    w.font(QStringLiteral("VORUD_HFONT"), sans, 13, false, 12);
    w.font(QStringLiteral("VORUD_MONOFONT"), mono, 14, true, 12);
    w.font(QStringLiteral("F_TITLE"), sans, 17, true, 16);
    w.font(QStringLiteral("F_HEAD"), sans, 13, true, 12);
    w.font(QStringLiteral("F_CAPTION"), sans, 13, false, 12);
    w.font(QStringLiteral("F_BUTTON"), sans, 14, true, 13);
    w.font(QStringLiteral("F_FLOW"), sans, 15, true, 14);
    w.font(QStringLiteral("F_VALUE"), mono, 14, true, 12);
    w.font(QStringLiteral("F_STATUS"), mono, 17, true, 14);
    w.font(QStringLiteral("F_LIST"), sans, 14, false, 13);

    w.themeComment(QStringLiteral("Surfaces and text."));
    w.colour(QStringLiteral("C_TEXT"), kText);
    w.colour(QStringLiteral("C_TEXT_DIM"), kTextDim);
    w.colour(QStringLiteral("C_TEXT_FAINT"), kTextFaint);
    w.colour(QStringLiteral("C_WELL"), kWell);
    w.colour(QStringLiteral("C_WINDOW"), kWindow);
    w.colour(QStringLiteral("C_PANEL"), kPanel);
    w.colour(QStringLiteral("C_LIST_BG"), QColor(20, 23, 27));
    w.colour(QStringLiteral("C_HILITE_BG"), QColor(44, 50, 58));
    w.colour(QStringLiteral("C_RAIL"), QColor(14, 16, 19));
    w.colour(QStringLiteral("C_ERR_FG"), QColor(255, 214, 212));
    w.colour(QStringLiteral("C_ERR_BG"), QColor(112, 30, 34));
    w.colour(QStringLiteral("C_WARN_FG"), QColor(255, 233, 180));
    w.colour(QStringLiteral("C_WARN_BG"), QColor(102, 74, 18));
    // Neither an alarm nor a wait: what differs from the saved state (a modified preset).
    w.colour(QStringLiteral("C_NOTE_FG"), QColor(200, 228, 255));
    w.colour(QStringLiteral("C_NOTE_BG"), QColor(28, 62, 102));
    w.colour(QStringLiteral("C_GREEN"), kGreen);
    w.colour(QStringLiteral("C_QUICK"), QColor(0x60, 0xE0, 0x60));

    w.themeComment(QStringLiteral("One accent per processing block: flow button, screen, graph curves."));
    for (int screen : {kMain, kInput, kParametric, kCompressor, kAmHd, kAmOut, kAmTx, kSystem}) {
        const Block b = block(screen);
        const QString key = b.key.toUpper();
        w.colour(QStringLiteral("C_%1").arg(key), b.accent);
        w.colour(QStringLiteral("C_VALUE_%1").arg(key), mix(b.accent, QColor(255, 255, 255), 0.45));
        w.colour(QStringLiteral("C_SELECT_%1").arg(key), mix(QColor(20, 23, 27), b.accent, 0.45));
    }

    w.themeComment(QStringLiteral("Graphs."));
    w.colour(QStringLiteral("C_PLOT"), QColor(12, 14, 17));
    w.colour(QStringLiteral("C_GUTTER"), QColor(24, 27, 32));
    w.colour(QStringLiteral("C_GUTTER_TEXT"), QColor(140, 150, 163));
    w.colour(QStringLiteral("C_GRID_MAJOR"), QColor(58, 66, 76));
    w.colour(QStringLiteral("C_GRID_MINOR"), QColor(32, 37, 43));
    w.colour(QStringLiteral("C_AUDIO"), QColor(120, 200, 255));

    w.themeComment(
        QStringLiteral("The equaliser editor's sections and their sum, in the equaliser's colours."));
    for (int i = 0; i < 4; ++i)
        w.colour(QStringLiteral("PEQ%1color").arg(i + 1), peqSection(i));
    w.colour(QStringLiteral("PEQSUMcolor"), mix(QColor(12, 14, 17), block(kParametric).accent, 0.42));

    w.themeComment(QStringLiteral("The compressor's five band curves, low to high."));
    const QColor comp = block(kCompressor).accent;
    const int turns[5] = {-22, -10, 0, 10, 20};
    const double light[5] = {0.82, 0.92, 1.0, 1.1, 1.22};
    for (int i = 0; i < 5; ++i)
        w.colour(QStringLiteral("C_CURVE%1").arg(i + 1), shade(comp, turns[i], light[i]));
}

void writeSharedPictures(SkinWriter &w)
{
    const QColor comp = block(kCompressor).accent;
    w.picture(QStringLiteral("MBLimDragger"), art::adjusterHandle(15, comp), art::kHandleSections);
    w.picture(QStringLiteral("MBLimCheckbox"), art::bandSwitch(comp), art::kTwoStateSections);

    // Stock controls for skins built on this one; no panel binds them.
    const QColor steel = block(kSystem).accent;
    const QString pos = QStringLiteral("position");
    for (const bool horizontal : {true, false}) {
        const QString side = horizontal ? QStringLiteral("H") : QStringLiteral("V");
        const QString rail = w.picture(
            QStringLiteral("IMG_RAIL_") + side,
            horizontal ? art::sliderRail(160, 20, true, steel) : art::sliderRail(20, 160, false, steel), 2);
        const QString thumb = w.picture(
            QStringLiteral("IMG_THUMB_") + side,
            horizontal ? art::sliderThumb(12, 20, true, steel) : art::sliderThumb(20, 12, false, steel), 2);
        const QString id = QStringLiteral("STOCK_SLIDER_") + side;
        w.stockObject(id, kSlider,
                      Element(QStringLiteral("slider"))
                          .attr(QStringLiteral("id"), id)
                          .child(Element(pos)
                                     .attr(QStringLiteral("x"), 0)
                                     .attr(QStringLiteral("y"), 0)
                                     .attr(QStringLiteral("direction"),
                                           horizontal ? QStringLiteral("horz") : QStringLiteral("vert")))
                          .child(Element(QStringLiteral("bitmap"))
                                     .attr(QStringLiteral("rail"), rail)
                                     .attr(QStringLiteral("thumb"), thumb)));
    }
    w.picture(QStringLiteral("IMG_SCROLL"), art::scrollBar(10, 28, steel), 2);
    w.stockObject(
        QStringLiteral("STOCK_LIST"), kListbox,
        Element(QStringLiteral("listbox"))
            .attr(QStringLiteral("id"), QStringLiteral("STOCK_LIST"))
            .attr(QStringLiteral("type"), QStringLiteral("SINGLE"))
            .child(Element(pos)
                       .attr(QStringLiteral("x"), 0)
                       .attr(QStringLiteral("y"), 0)
                       .attr(QStringLiteral("w"), 180)
                       .attr(QStringLiteral("h"), 96))
            .child(Element(QStringLiteral("text")).attr(QStringLiteral("dfont"), QStringLiteral("F_LIST")))
            .child(Element(QStringLiteral("color"))
                       .attr(QStringLiteral("fg_list"), QStringLiteral("C_TEXT_DIM"))
                       .attr(QStringLiteral("bg_list"), QStringLiteral("C_LIST_BG"))
                       .attr(QStringLiteral("fg_select"), QStringLiteral("C_TEXT"))
                       .attr(QStringLiteral("bg_select"), QStringLiteral("C_SELECT_SYSTEM"))
                       .attr(QStringLiteral("fg_hilite"), QStringLiteral("C_TEXT"))
                       .attr(QStringLiteral("bg_hilite"), QStringLiteral("C_HILITE_BG"))
                       .attr(QStringLiteral("bg_rail"), QStringLiteral("C_RAIL")))
            .child(Element(QStringLiteral("mode")).attr(QStringLiteral("sclickable"), 1))
            .child(bitmap(QStringLiteral("IMG_SCROLL"))));
}

} // namespace orba::skingen
