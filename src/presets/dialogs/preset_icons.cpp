#include "presets/dialogs/preset_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <map>

namespace orba {

namespace {

// A padlock in a 16-unit box: shackle open or closed, body in the lock's colour.
void drawPadlock(QPainter &p, const QColor &body, bool open, bool factory)
{
    p.setPen(QPen(QColor(70, 70, 70), 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    if (open) {
        shackle.moveTo(10.5, 7);
        shackle.lineTo(10.5, 4.5);
        shackle.arcTo(QRectF(10.5, 1.5, 4.5, 6), 180, -180);
        shackle.lineTo(15, 5.5);
    } else {
        shackle.moveTo(4.5, 7);
        shackle.lineTo(4.5, 4.5);
        shackle.arcTo(QRectF(4.5, 1.5, 7, 6), 180, -180);
        shackle.lineTo(11.5, 7);
    }
    p.drawPath(shackle);
    p.setPen(QPen(body.darker(150), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 7, 11, 8), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    if (factory) {
        // An "F" on the body tells the factory lock from the user's.
        p.drawRect(QRectF(6, 8.5, 1.5, 5));
        p.drawRect(QRectF(6, 8.5, 4, 1.3));
        p.drawRect(QRectF(6, 10.6, 3, 1.2));
    } else {
        p.drawEllipse(QPointF(8, 10.3), 1.3, 1.3);
        p.drawRect(QRectF(7.4, 10.5, 1.2, 2.6));
    }
}

void drawFolder(QPainter &p, bool isProtected)
{
    const QColor paper(0xE8, 0xB8, 0x40);
    p.setPen(QPen(paper.darker(160), 1));
    p.setBrush(paper.darker(115));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(paper);
    p.drawRect(QRectF(1.5, 6.5, 13, 7));
    if (isProtected) {
        p.setPen(QPen(QColor(0xC0, 0, 0), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9.5, 6.5, 4, 4), 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xC0, 0, 0));
        p.drawRect(QRectF(9, 8.5, 5, 4.5));
    }
}

void drawFile(QPainter &p, bool isProtected)
{
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(3.5, 1.5);
    sheet.lineTo(10, 1.5);
    sheet.lineTo(12.5, 4);
    sheet.lineTo(12.5, 14.5);
    sheet.lineTo(3.5, 14.5);
    sheet.closeSubpath();
    p.drawPath(sheet);
    // Three slider rows: a preset is a set of settings.
    const QColor rail(120, 120, 150);
    const QColor knob = isProtected ? QColor(0xC0, 0, 0) : QColor(0, 0x60, 0xC0);
    const qreal at[3] = {6.5, 9.8, 5.5};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 5.5 + i * 3;
        p.setPen(QPen(rail, 1));
        p.drawLine(QPointF(5, y), QPointF(11, y));
        p.setPen(Qt::NoPen);
        p.setBrush(knob);
        p.drawRect(QRectF(at[i] - 1, y - 1.2, 2, 2.4));
    }
}

QPixmap render(PresetIcon kind, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (kind) {
    case PresetIcon::Unlocked:
        drawPadlock(p, QColor(0x60, 0xA0, 0x60), true, false);
        break;
    case PresetIcon::Locked:
        drawPadlock(p, QColor::fromRgba(0xFF0000C0), false, false);
        break;
    case PresetIcon::FactoryLocked:
        drawPadlock(p, QColor::fromRgba(0xFFC00000), false, true);
        break;
    case PresetIcon::Folder:
    case PresetIcon::ProtectedFolder:
        drawFolder(p, kind == PresetIcon::ProtectedFolder);
        break;
    case PresetIcon::File:
    case PresetIcon::ProtectedFile:
        drawFile(p, kind == PresetIcon::ProtectedFile);
        break;
    }
    return pixmap;
}

} // namespace

QIcon presetIcon(PresetIcon kind)
{
    static std::map<PresetIcon, QIcon> made;
    auto it = made.find(kind);
    if (it == made.end()) {
        QIcon icon;
        icon.addPixmap(render(kind, 16));
        icon.addPixmap(render(kind, 32));
        it = made.emplace(kind, icon).first;
    }
    return it->second;
}

} // namespace orba
