// Pictures of controls: knobs, buttons, switches, lamps and combo arrows.
#include "art.h"
#include "art_paint.h"
#include "theme.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace orba::skingen::art {

using namespace theme;
using namespace paint;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Ring and arc angles: 270 degrees from lower left (225) clockwise to lower right (-45).
double lampAngle(int i, int count)
{
    return (225.0 - 270.0 * i / (count - 1)) * kPi / 180.0;
}

QPointF polar(const QPointF &c, double radius, double angle)
{
    return {c.x() + radius * std::cos(angle), c.y() - radius * std::sin(angle)};
}

void paintCap(QPainter &p, const QPointF &c, double r, int look, const QColor &accent)
{
    // look: 0 rest, 1 highlighted, 2 disabled.
    p.setPen(Qt::NoPen);
    QRadialGradient shadow(c + QPointF(0, 1.5), r + 3);
    shadow.setColorAt(0.75, QColor(0, 0, 0, 150));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0, 1.5), r + 3, r + 3);

    const QColor top =
        look == 2 ? QColor(46, 50, 56) : (look == 1 ? QColor(84, 92, 103) : QColor(70, 77, 87));
    const QColor bottom = look == 2 ? QColor(26, 28, 32) : QColor(30, 33, 38);
    QRadialGradient body(c + QPointF(-r * 0.35, -r * 0.45), r * 1.6);
    body.setColorAt(0, top);
    body.setColorAt(1, bottom);
    p.setBrush(body);
    QLinearGradient rim(c.x(), c.y() - r, c.x(), c.y() + r);
    rim.setColorAt(0, look == 1 ? accent : QColor(112, 121, 133));
    rim.setColorAt(1, look == 1 ? darker(accent, 0.5) : QColor(20, 22, 26));
    p.setPen(QPen(QBrush(rim), look == 1 ? 1.6 : 1.2));
    p.drawEllipse(c, r, r);

    // A shallow dimple and a soft highlight give the cap its depth.
    p.setPen(Qt::NoPen);
    QRadialGradient dimple(c, r * 0.45);
    dimple.setColorAt(0, QColor(0, 0, 0, look == 2 ? 30 : 60));
    dimple.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(dimple);
    p.drawEllipse(c, r * 0.45, r * 0.45);
    QRadialGradient shine(c + QPointF(-r * 0.3, -r * 0.55), r * 0.7);
    shine.setColorAt(0, QColor(255, 255, 255, look == 2 ? 10 : 34));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawEllipse(c + QPointF(-r * 0.3, -r * 0.55), r * 0.7, r * 0.5);
}

void paintLampDash(QPainter &p, const QPointF &c, double radius, double angle, const QColor &colour,
                   bool glow)
{
    const QPointF a = polar(c, radius - 2.2, angle), b = polar(c, radius + 2.2, angle);
    if (glow) {
        p.setPen(QPen(withAlpha(colour, 0.28), 5.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
        p.setPen(QPen(lighter(colour, 0.35), 2.4, Qt::SolidLine, Qt::RoundCap));
    } else {
        p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    }
    p.drawLine(a, b);
}

void paintGlyph(QPainter &p, const QRectF &r, Glyph glyph, const QColor &colour)
{
    const QPointF c = r.center();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    switch (glyph) {
    case Glyph::About:
        p.drawEllipse(c, 6.5, 6.5);
        p.drawLine(QPointF(c.x(), c.y() - 0.5), QPointF(c.x(), c.y() + 3.5));
        p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(c.x(), c.y() - 3.2));
        break;
    case Glyph::Minimise:
        p.drawLine(QPointF(c.x() - 5, c.y() + 3.5), QPointF(c.x() + 5, c.y() + 3.5));
        break;
    case Glyph::Exit:
        p.drawLine(QPointF(c.x() - 4.5, c.y() - 4.5), QPointF(c.x() + 4.5, c.y() + 4.5));
        p.drawLine(QPointF(c.x() + 4.5, c.y() - 4.5), QPointF(c.x() - 4.5, c.y() + 4.5));
        break;
    case Glyph::None:
        break;
    }
}

} // namespace

namespace {

QImage paintAt(int w, int h, int scale, const QColor &fill, const std::function<void(QPainter &)> &paint)
{
    QImage img(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (scale != 1)
        p.scale(scale, scale);
    paint(p);
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

Art paintBoth(int w, int h, const std::function<void(QPainter &)> &paint, const QColor &fill)
{
    return {paintAt(w, h, 1, fill, paint), paintAt(w, h, kDenseScale, fill, paint)};
}

Art strip(int w, int h, int n, const std::function<void(QPainter &, int k)> &paint)
{
    return paintBoth(w * n, h, [&](QPainter &p) {
        for (int k = 0; k < n; ++k) {
            p.save();
            p.translate(k * w, 0);
            p.setClipRect(0, 0, w, h);
            paint(p, k);
            p.restore();
        }
    });
}

Art ringKnob(int size, const QColor &accent)
{
    const QPointF c(size / 2.0, size / 2.0);
    const double ring = size / 2.0 - 4.5, cap = size / 2.0 - 10.5;
    return strip(size, size, kRingKnobSections, [&](QPainter &p, int k) {
        if (k <= 2) {
            const QColor dark = k == 2 ? QColor(34, 38, 43) : QColor(50, 56, 64);
            for (int i = 0; i < kRingLamps; ++i)
                paintLampDash(p, c, ring, lampAngle(i, kRingLamps),
                              i == kRingLamps / 2 ? lighter(dark, 0.1) : dark, false);
            paintCap(p, c, cap, k, accent);
        } else if (k >= 5) {
            paintLampDash(p, c, ring, lampAngle(k - 5, kRingLamps), accent, true);
        }
    });
}

Art filmKnob(int size, const QColor &accent, int frames)
{
    const QPointF c(size / 2.0, size / 2.0);
    const double ring = size / 2.0 - 3.5, cap = size / 2.0 - 9;
    const QRectF arcBox(c.x() - ring, c.y() - ring, 2 * ring, 2 * ring);
    return strip(size, size, frames, [&](QPainter &p, int k) {
        const double t = frames > 1 ? double(k) / (frames - 1) : 0;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(44, 49, 56), 3, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(arcBox, 225 * 16, -270 * 16);
        if (t > 0) {
            p.setPen(QPen(withAlpha(accent, 0.3), 5.5, Qt::SolidLine, Qt::FlatCap));
            p.drawArc(arcBox, 225 * 16, int(-270 * 16 * t));
            p.setPen(QPen(lighter(accent, 0.2), 2.6, Qt::SolidLine, Qt::FlatCap));
            p.drawArc(arcBox, 225 * 16, int(-270 * 16 * t));
        }
        paintCap(p, c, cap, 0, accent);
        const double angle = (225.0 - 270.0 * t) * kPi / 180.0;
        p.setPen(QPen(QColor(236, 241, 246), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(polar(c, cap * 0.3, angle), polar(c, cap * 0.85, angle));
    });
}

Art button(int w, int h, ButtonStyle style, const QColor &accent, Glyph glyph)
{
    return strip(w, h, kButtonSections, [&](QPainter &p, int k) {
        const int lampState = k / 3, sub = k % 3;
        const QRectF r(0.5, 0.5, w - 1, h - 2);
        const bool on = lampState == 1 || lampState == 3;
        const bool dim = lampState >= 2;
        switch (style) {
        case ButtonStyle::Window: {
            const bool exit = glyph == Glyph::Exit;
            QColor fill = sub == 0 ? QColor(0, 0, 0, 0) : (exit ? QColor(196, 54, 52) : QColor(60, 67, 77));
            if (sub == 2)
                fill = exit ? QColor(150, 40, 40) : QColor(40, 45, 52);
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawPath(rounded(r, 4));
            paintGlyph(p, r, glyph, sub == 0 ? kTextDim : kText);
            break;
        }
        case ButtonStyle::Plain: {
            raised(p, r, sub, dim, accent, on ? 0.10 : 0);
            frame(p, r, on ? withAlpha(accent, dim ? 0.45 : 0.85) : (sub == 1 ? kLineLight : kLine));
            if (on) {
                p.setPen(Qt::NoPen);
                p.setBrush(withAlpha(accent, dim ? 0.45 : 0.95));
                p.drawRoundedRect(QRectF(r.left() + 5, r.bottom() - 3.5, r.width() - 10, 2), 1, 1);
            }
            break;
        }
        case ButtonStyle::Segment: {
            raised(p, r, sub, dim, accent, on ? 0.30 : 0);
            frame(p, r, on ? accent : (sub == 1 ? kLineLight : kLine));
            break;
        }
        case ButtonStyle::Flow: {
            // Lamp 1: the block's screen is shown; lamp 2: the block is bypassed.
            raised(p, r, sub, dim && !on, accent, on ? (dim ? 0.16 : 0.30) : 0, 5);
            frame(p, r, on ? (dim ? withAlpha(accent, 0.6) : accent) : (sub == 1 ? kLineLight : kLine), 5,
                  on ? 1.4 : 1);
            QPainterPath edge;
            edge.addRoundedRect(QRectF(r.left() + 3, r.top() + 4, 3, r.height() - 8), 1.5, 1.5);
            p.setPen(Qt::NoPen);
            p.setBrush(dim ? mix(accent, QColor(70, 76, 84), 0.7) : accent);
            p.drawPath(edge);
            led(p, QPointF(r.right() - 11, r.center().y()), 3.2, accent, !dim);
            break;
        }
        }
    });
}

Art slideSwitch(const QColor &accent)
{
    const int w = 32, h = 18;
    return strip(w, h, kTwoStateSections, [&](QPainter &p, int k) {
        const bool on = k >= 3;
        const int sub = k % 3;
        const QRectF track(1, 2, w - 2, h - 4);
        p.setPen(QPen(sub == 1 ? kLineLight : (on ? darker(accent, 0.2) : kLine), 1));
        if (on) {
            QLinearGradient g(track.topLeft(), track.bottomLeft());
            g.setColorAt(0, darker(accent, 0.25));
            g.setColorAt(1, accent);
            p.setBrush(g);
        } else {
            p.setBrush(QColor(14, 16, 19));
        }
        p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
        const double r = track.height() / 2 - 1.5;
        const double cx = on ? track.right() - r - 1.5 : track.left() + r + 1.5;
        const QPointF c(cx, track.center().y());
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 120));
        p.drawEllipse(c + QPointF(0, 1), r, r);
        QRadialGradient knob(c + QPointF(-r * 0.3, -r * 0.4), r * 1.5);
        const QColor face =
            on ? QColor(246, 248, 250) : (sub == 1 ? QColor(150, 158, 168) : QColor(118, 126, 136));
        knob.setColorAt(0, lighter(face, 0.3));
        knob.setColorAt(1, sub == 2 ? darker(face, 0.3) : face);
        p.setBrush(knob);
        p.drawEllipse(c, sub == 2 ? r * 1.1 : r, r);
    });
}

Art pushSwitch(int w, int h, const QColor &accent)
{
    return strip(w, h, kTwoStateSections, [&](QPainter &p, int k) {
        const bool on = k >= 3;
        const int sub = k % 3;
        const QRectF r(0.5, 0.5, w - 1, h - 2);
        raised(p, r, sub, false, accent, on ? 0.16 : 0);
        frame(p, r, on ? withAlpha(accent, 0.75) : (sub == 1 ? kLineLight : kLine));
        const QRectF bar(r.left() + 5, r.top() + 5, 3, r.height() - 10);
        p.setPen(Qt::NoPen);
        if (on) {
            p.setBrush(withAlpha(accent, 0.35));
            p.drawRoundedRect(bar.adjusted(-2, -2, 2, 2), 2.5, 2.5);
            p.setBrush(lighter(accent, 0.25));
        } else {
            p.setBrush(QColor(16, 18, 21));
        }
        p.drawRoundedRect(bar, 1.5, 1.5);
    });
}

Art radioLamp(const QColor &accent)
{
    const int s = 16;
    return strip(s, s, kTwoStateSections, [&](QPainter &p, int k) {
        const bool on = k >= 3;
        const int sub = k % 3;
        const QPointF c(s / 2.0, s / 2.0);
        p.setPen(QPen(sub == 1 ? kLineLight : kLine, 1.2));
        p.setBrush(sub == 2 ? QColor(8, 9, 11) : QColor(13, 15, 18));
        p.drawEllipse(c, 6.8, 6.8);
        if (on)
            led(p, c, 3.6, accent, true);
        else if (sub == 1)
            led(p, c, 3.2, accent, false);
    });
}

Art bandSwitch(const QColor &accent)
{
    const int w = 22, h = 12;
    return strip(w, h, kTwoStateSections, [&](QPainter &p, int k) {
        const bool on = k >= 3;
        const int sub = k % 3;
        const QRectF r(0.5, 0.5, w - 1, h - 1);
        p.setPen(QPen(sub == 0 ? kLine : kLineLight, 1));
        p.setBrush(on ? (sub == 2 ? darker(accent, 0.3) : accent)
                      : (sub == 2 ? QColor(8, 9, 11) : QColor(18, 20, 24)));
        p.drawRoundedRect(r, 3, 3);
    });
}

Art lamp(const QColor &state0, const QColor &state1, const QColor &state2)
{
    const int s = 16;
    const QColor colours[3] = {state0, state1, state2};
    return strip(s, s, kLampSections, [&](QPainter &p, int k) {
        const QColor &c = colours[k];
        // A grey state colour stands for "no signal": the lamp stays dark.
        const bool lit = c.saturation() > 40;
        led(p, QPointF(s / 2.0, s / 2.0), 4.6, lit ? c : QColor(90, 98, 108), lit);
    });
}

Art comboArrows(int w, int h, bool drop, const QColor &accent)
{
    return strip(w, h, kComboArrowSections, [&](QPainter &p, int k) {
        // k: 0 rest, 1 upper lit, 2 lower lit, 3 upper pressed, 4 lower pressed.
        const bool upper = k == 1 || k == 3, lower = k == 2 || k == 4, pressed = k >= 3;
        const QRectF zone(0, 0, w, h);
        p.fillRect(zone, QColor(24, 27, 32));
        auto half = [&](bool top) { return drop ? zone : QRectF(0, top ? 0 : h / 2.0, w, h / 2.0); };
        if (upper || lower) {
            const QRectF lit = half(upper);
            p.fillRect(lit, pressed ? withAlpha(accent, 0.45) : QColor(44, 50, 58));
        }
        p.setPen(QPen(kLine, 1));
        p.drawLine(QPointF(0.5, 0), QPointF(0.5, h));
        auto arrow = [&](const QPointF &c, bool up, bool active) {
            QPainterPath path;
            const double s = drop ? 4.0 : 3.4;
            const double dy = up ? -s * 0.55 : s * 0.55;
            path.moveTo(c.x() - s, c.y() - dy);
            path.lineTo(c.x() + s, c.y() - dy);
            path.lineTo(c.x(), c.y() + dy);
            path.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(active ? kText : kTextDim);
            p.drawPath(path);
        };
        const double cx = w / 2.0 + 0.5;
        if (drop) {
            arrow(QPointF(cx, h / 2.0), false, upper || lower);
        } else {
            arrow(QPointF(cx, h * 0.27), true, upper);
            arrow(QPointF(cx, h * 0.73), false, lower);
        }
    });
}

} // namespace orba::skingen::art
