#include "art_paint.h"
#include "theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace orba::skingen::art::paint {

using namespace theme;

QColor lighter(const QColor &c, double t)
{
    return mix(c, QColor(255, 255, 255), t);
}

QColor darker(const QColor &c, double t)
{
    return mix(c, QColor(0, 0, 0), t);
}

QPainterPath rounded(const QRectF &r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void raised(QPainter &p, const QRectF &r, int sub, bool dim, const QColor &tint, double tintAmount,
            double radius)
{
    QColor top = sub == 2 ? QColor(33, 37, 43) : (sub == 1 ? QColor(63, 70, 80) : QColor(52, 58, 66));
    QColor bottom = sub == 2 ? QColor(39, 44, 51) : (sub == 1 ? QColor(47, 53, 61) : QColor(38, 43, 50));
    if (dim) {
        top = darker(top, 0.3);
        bottom = darker(bottom, 0.3);
    }
    if (tintAmount > 0) {
        top = mix(top, tint, tintAmount);
        bottom = mix(bottom, tint, tintAmount * 0.8);
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(rounded(r.translated(0, 1), radius));
    p.setBrush(g);
    p.drawPath(rounded(r, radius));
    // Top light edge (or a shadow edge while pressed).
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(sub == 2 ? QColor(0, 0, 0, 90) : QColor(255, 255, 255, dim ? 10 : 22), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
}

void frame(QPainter &p, const QRectF &r, const QColor &colour, double radius, double width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, width));
    p.drawPath(rounded(r, radius));
}

void led(QPainter &p, const QPointF &c, double r, const QColor &colour, bool lit)
{
    p.setPen(Qt::NoPen);
    if (lit) {
        QRadialGradient glow(c, r * 2.6);
        glow.setColorAt(0, withAlpha(colour, 0.55));
        glow.setColorAt(1, withAlpha(colour, 0));
        p.setBrush(glow);
        p.drawEllipse(c, r * 2.6, r * 2.6);
        QRadialGradient core(c + QPointF(-r * 0.3, -r * 0.3), r * 1.3);
        core.setColorAt(0, lighter(colour, 0.6));
        core.setColorAt(1, colour);
        p.setBrush(core);
    } else {
        QRadialGradient core(c + QPointF(-r * 0.3, -r * 0.3), r * 1.3);
        core.setColorAt(0, mix(QColor(40, 44, 50), colour, 0.12));
        core.setColorAt(1, QColor(16, 18, 21));
        p.setBrush(core);
    }
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 120), 0.8));
    p.drawEllipse(c, r, r);
}

} // namespace orba::skingen::art::paint
