// Pictures of indicators and panels: meters, stock slider and list pictures, the band editors'
// handle, section panels, title plates, wells and the brand mark.
#include "art.h"
#include "art_paint.h"
#include "brand_mark.h"
#include "theme.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace orba::skingen::art {

using namespace theme;
using namespace paint;

Art meterBar(int w, int length)
{
    // Zones by position along the bar: the top tenth red, the next two tenths yellow.
    const double redEnd = length * 0.1, yellowEnd = length * 0.3;
    return strip(w, length, kMeterSections, [&](QPainter &p, int k) {
        const bool lit = k % 2 == 0;
        const bool gr = k >= 4;
        for (int y = 0; y < length; ++y) {
            QColor c;
            if (gr)
                c = mix(QColor(255, 196, 84), QColor(255, 140, 40), double(y) / length);
            else if (y < redEnd)
                c = kRed;
            else if (y < yellowEnd)
                c = kYellow;
            else
                c = kGreen;
            if (!lit)
                c = mix(QColor(15, 17, 20), c, 0.16);
            // Each third row is a gap: the bar reads as a column of segments.
            if (y % 3 == 2)
                c = lit ? darker(c, 0.55) : QColor(12, 13, 16);
            QLinearGradient g(0, 0, w, 0);
            g.setColorAt(0, darker(c, 0.18));
            g.setColorAt(0.45, lit ? lighter(c, 0.12) : c);
            g.setColorAt(1, darker(c, 0.25));
            p.fillRect(QRectF(0, y, w, 1), g);
        }
    });
}

Art meterOverload(int w, int h)
{
    return strip(w, h, kMeterSections, [&](QPainter &p, int k) {
        const bool lit = k % 2 == 0;
        const QRectF r(0.5, 0.5, w - 1, h - 1);
        p.setPen(QPen(QColor(0, 0, 0, 140), 1));
        if (lit) {
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, lighter(kRed, 0.3));
            g.setColorAt(1, kRed);
            p.setBrush(g);
        } else {
            p.setBrush(QColor(52, 24, 26));
        }
        p.drawRoundedRect(r, 1.5, 1.5);
    });
}

Art meterBackground(int w, int h, int barLeft, int barRight, int barTop, int barWidth, int length,
                    int overloadTop)
{
    return strip(w, h, 1, [&](QPainter &p, int) {
        // One well holding both bars and the overload lamps, the scale between them.
        const QRectF well(barLeft - 4.5, overloadTop - 4.5, barRight + barWidth - barLeft + 9,
                          barTop + length - overloadTop + 9);
        p.setPen(QPen(QColor(0, 0, 0, 160), 1));
        p.setBrush(kWell);
        p.drawRoundedRect(well, 4, 4);
        p.setPen(QPen(QColor(255, 255, 255, 14), 1));
        p.drawLine(QPointF(well.left() + 4, well.bottom() + 0.5),
                   QPointF(well.right() - 4, well.bottom() + 0.5));
        // Ticks at the eleven scale positions, beside each bar.
        p.setPen(QPen(QColor(92, 101, 112), 1));
        for (int i = 0; i <= 10; ++i) {
            const int y = barTop + int(3.0 * i / 30.0 * (length - 1) + 0.5);
            const double ly = y + 0.5;
            p.drawLine(QPointF(barLeft + barWidth + 1, ly),
                       QPointF(barLeft + barWidth + (i % 5 == 0 ? 5 : 3), ly));
            p.drawLine(QPointF(barRight - 1, ly), QPointF(barRight - (i % 5 == 0 ? 5 : 3), ly));
        }
        // Channel letters under the bars.
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kTextFaint);
        const int ty = barTop + length + 4;
        p.drawText(QRect(barLeft - 2, ty, barWidth + 4, 11), Qt::AlignCenter, QStringLiteral("L"));
        p.drawText(QRect(barRight - 2, ty, barWidth + 4, 11), Qt::AlignCenter, QStringLiteral("R"));
    });
}

Art sliderRail(int w, int h, bool horizontal, const QColor &accent)
{
    return strip(w, h, 2, [&](QPainter &p, int k) {
        const QRectF groove =
            horizontal ? QRectF(4, h / 2.0 - 2, w - 8, 4) : QRectF(w / 2.0 - 2, 4, 4, h - 8);
        p.setPen(QPen(QColor(0, 0, 0, 150), 1));
        p.setBrush(kWell);
        p.drawRoundedRect(groove, 2, 2);
        if (k == 1) {
            p.setPen(QPen(withAlpha(accent, 0.5), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(groove.adjusted(-1, -1, 1, 1), 3, 3);
        }
    });
}

Art sliderThumb(int w, int h, bool horizontal, const QColor &accent)
{
    return strip(w, h, 2, [&](QPainter &p, int k) {
        const QRectF r(1, 1, w - 2, h - 3);
        raised(p, r, k == 1 ? 1 : 0, false, accent, 0, 3);
        frame(p, r, k == 1 ? accent : kLineLight, 3);
        p.setPen(QPen(k == 1 ? accent : kText, 1.5));
        if (horizontal)
            p.drawLine(QPointF(w / 2.0, 4), QPointF(w / 2.0, h - 5));
        else
            p.drawLine(QPointF(4, h / 2.0 - 0.5), QPointF(w - 4, h / 2.0 - 0.5));
    });
}

Art scrollBar(int w, int h, const QColor &accent)
{
    return strip(w, h, 2, [&](QPainter &p, int k) {
        const QRectF r(2, 1, w - 4, h - 2);
        p.setPen(Qt::NoPen);
        p.setBrush(k == 1 ? withAlpha(accent, 0.9) : QColor(78, 86, 97));
        p.drawRoundedRect(r, (w - 4) / 2.0, (w - 4) / 2.0);
    });
}

Art adjusterHandle(int size, const QColor &accent)
{
    return strip(size, size, kHandleSections, [&](QPainter &p, int k) {
        const bool current = k % 2 == 1, independent = k >= 2;
        const QPointF c(size / 2.0, size / 2.0);
        const double r = size / 2.0 - 3;
        if (current) {
            QRadialGradient glow(c, r + 3);
            glow.setColorAt(0.6, withAlpha(accent, 0.5));
            glow.setColorAt(1, withAlpha(accent, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(c, r + 3, r + 3);
        }
        p.setPen(QPen(current ? QColor(255, 255, 255) : darker(accent, 0.5), 1.4));
        p.setBrush(current ? accent : mix(accent, QColor(30, 34, 40), 0.45));
        if (independent)
            p.drawRoundedRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 2, 2);
        else
            p.drawEllipse(c, r, r);
    });
}

void paintSection(QPainter &p, const QRect &rect, const QColor &accent, const QString &heading,
                  bool headingRow)
{
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, lighter(kPanel, 0.025));
    g.setColorAt(1, darker(kPanel, 0.06));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(r.translated(0, 1), 6, 6);
    p.setBrush(g);
    p.drawRoundedRect(r, 6, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kLine, 1));
    p.drawRoundedRect(r, 6, 6);
    if (!headingRow)
        return;
    // Heading row: an accent tick, the text (when baked), a hairline under it.
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRoundedRect(QRectF(r.left() + 9, r.top() + 7, 3, 11), 1.5, 1.5);
    QLinearGradient hair(r.left(), 0, r.right(), 0);
    hair.setColorAt(0, withAlpha(accent, 0.45));
    hair.setColorAt(0.5, withAlpha(kLine, 0.9));
    hair.setColorAt(1, withAlpha(kLine, 0.2));
    p.fillRect(QRectF(r.left() + 8, r.top() + 24, r.width() - 16, 1), hair);
    if (!heading.isEmpty()) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(10);
        f.setBold(true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
        p.setFont(f);
        p.setPen(kTextDim);
        p.drawText(QRectF(r.left() + 18, r.top() + 4, r.width() - 24, 17), Qt::AlignLeft | Qt::AlignVCenter,
                   heading.toUpper());
    }
}

Art titlePlate(int w, int h, const QColor &accent)
{
    return strip(w, h, 1, [&](QPainter &p, int) {
        const QRectF r(0.5, 0.5, w - 1, h - 1);
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, mix(kPanel, accent, 0.22));
        g.setColorAt(0.55, kPanel);
        g.setColorAt(1, kPanel);
        p.setPen(QPen(kLine, 1));
        p.setBrush(g);
        p.drawRoundedRect(r, 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(r.left() + 8, r.top() + 8, 4, r.height() - 16), 2, 2);
        QLinearGradient hair(r.left(), 0, r.right(), 0);
        hair.setColorAt(0, accent);
        hair.setColorAt(0.6, withAlpha(accent, 0));
        p.fillRect(QRectF(r.left() + 6, r.bottom() - 1, r.width() - 12, 1), hair);
    });
}

void paintWell(QPainter &p, const QRect &objectRect)
{
    const QRectF r = QRectF(objectRect).adjusted(-1.5, -1.5, 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 150), 1));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    p.drawLine(QPointF(r.left() + 3, r.bottom() + 1), QPointF(r.right() - 3, r.bottom() + 1));
}

void paintBrand(QPainter &p, const QPoint &at)
{
    // The mark: a chevron over a short spectrum, then the name.
    p.save();
    p.translate(at);
    paintBrandBars(p);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(19);
    f.setBold(true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
    p.setFont(f);
    p.setPen(kText);
    p.drawText(QRectF(32, 2, 90, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ORBA"));
    QFont g(QStringLiteral("DejaVu Sans"));
    g.setPixelSize(10);
    g.setLetterSpacing(QFont::AbsoluteSpacing, 2.2);
    p.setFont(g);
    p.setPen(kTextDim);
    p.drawText(QRectF(104, 7, 80, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("REMOTE"));
    p.restore();
}

} // namespace orba::skingen::art