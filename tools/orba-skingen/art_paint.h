// Drawing helpers shared by the picture painters.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace orba::skingen::art::paint {

QColor lighter(const QColor &c, double t);
QColor darker(const QColor &c, double t);
QPainterPath rounded(const QRectF &r, double radius);
// A raised surface: sub 0 rest, 1 highlighted, 2 pressed; dim for a bypassed or disabled look.
void raised(QPainter &p, const QRectF &r, int sub, bool dim, const QColor &tint, double tintAmount,
            double radius = 4);
void frame(QPainter &p, const QRectF &r, const QColor &colour, double radius = 4, double width = 1);
void led(QPainter &p, const QPointF &c, double r, const QColor &colour, bool lit);

} // namespace orba::skingen::art::paint
