// Draws the application's built-in pictures (icon, splash, preset dialog icons) with QPainter.
// Run once after changing a picture: orba-resgen src/app/Resources (the .qrc maps them to their
// resource paths).
#include "common/atomic_file.h"
#include "orba-skingen/brand_mark.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

namespace {

QImage icon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, QColor(40, 46, 56));
    g.setColorAt(1, QColor(14, 16, 20));
    p.setBrush(g);
    p.setPen(QPen(QColor(90, 100, 115), size / 32.0));
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
    // The skin's brand mark, centred: the icon, the splash and the window's top strip match.
    p.translate(size * 0.5 - size * 0.6 * 23.5 / 48.0, size * 0.2);
    p.scale(size * 0.6 / 24.0, size * 0.6 / 24.0);
    orba::skingen::theme::paintBrandBars(p);
    return img;
}

QImage splash()
{
    const int w = 420, h = 240;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(34, 38, 46));
    g.setColorAt(1, QColor(12, 13, 16));
    p.fillRect(img.rect(), g);
    // A spectrum-like skyline across the bottom.
    for (int i = 0; i < 52; ++i) {
        const double t = i / 51.0;
        const double level = 0.25 + 0.6 * std::exp(-std::pow((t - 0.25) * 3.2, 2)) + 0.15 * std::sin(i * 1.7);
        const int bh = int(level * 70);
        QColor c = QColor::fromHsvF(0.58 - 0.25 * t, 0.7, 0.85);
        p.fillRect(QRect(14 + i * 7 + 1, h - 24 - bh, 5, bh), c);
    }
    p.setPen(QPen(QColor(70, 78, 92), 1));
    p.drawLine(14, h - 23, w - 14, h - 23);
    p.drawImage(QRect(w / 2 - 24, 8, 48, 48), icon(96));
    p.setPen(QColor(150, 158, 170));
    QFont f("DejaVu Sans", 8);
    p.setFont(f);
    p.drawText(QRect(0, h - 20, w, 16), Qt::AlignCenter, "AM / HD-Radio Audio Processor Remote");
    p.setPen(QColor(70, 78, 92));
    p.drawRect(0, 0, w - 1, h - 1);
    return img;
}

enum class Doc { Plain, Protected, Up, Modified, Locked, ProtectedLocked };

QImage folderIcon(bool open, bool isProtected)
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = isProtected ? QColor(120, 170, 235) : QColor(232, 190, 90);
    p.setPen(body.darker(160));
    p.setBrush(body.darker(115));
    p.drawRect(QRectF(1.5, 3.5, 6, 2));
    p.setBrush(body);
    if (open) {
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.setBrush(body.lighter(125));
        QPolygonF lid;
        lid << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
        p.drawPolygon(lid);
    } else {
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
    }
    if (isProtected) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 60, 120));
        p.drawEllipse(QRectF(9, 8, 5, 5));
    }
    return img;
}

QImage docIcon(Doc kind)
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF page;
    page << QPointF(3.5, 1.5) << QPointF(10.5, 1.5) << QPointF(13.5, 4.5) << QPointF(13.5, 14.5)
         << QPointF(3.5, 14.5);
    const bool prot = kind == Doc::Protected || kind == Doc::ProtectedLocked;
    p.setPen(QColor(90, 90, 90));
    p.setBrush(prot ? QColor(215, 230, 250) : QColor(250, 250, 250));
    p.drawPolygon(page);
    p.setPen(QColor(150, 150, 150));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(5, y, 11, y);
    p.setPen(Qt::NoPen);
    switch (kind) {
    case Doc::Up:
        p.setBrush(QColor(40, 160, 60));
        p.drawPolygon(QPolygonF() << QPointF(8, 3) << QPointF(12, 8) << QPointF(4, 8));
        break;
    case Doc::Modified:
        p.setBrush(QColor(230, 120, 20));
        p.drawEllipse(QRectF(8, 8, 6, 6));
        break;
    case Doc::Locked:
    case Doc::ProtectedLocked:
        p.setBrush(QColor(200, 40, 40));
        p.drawRect(QRectF(8, 9, 6, 5));
        p.setPen(QPen(QColor(200, 40, 40), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 6, 4, 6), 0, 180 * 16);
        break;
    default:
        break;
    }
    return img;
}

// Encoded first and written in one step: a committed picture is never left half written.
bool save(const QImage &img, const QString &path)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (img.save(&buffer, "PNG") && orba::writeFileAtomically(path, png))
        return true;
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: orba-resgen OUTDIR\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(".");
    bool ok = save(icon(64), out.filePath("talmen_vee.png"));
    ok &= save(splash(), out.filePath("splash.png"));
    ok &= save(folderIcon(false, false), out.filePath("folder.png"));
    ok &= save(folderIcon(true, false), out.filePath("ofolder.png"));
    ok &= save(folderIcon(false, true), out.filePath("pfolder.png"));
    ok &= save(folderIcon(true, true), out.filePath("opfolder.png"));
    ok &= save(docIcon(Doc::Plain), out.filePath("doc.png"));
    ok &= save(docIcon(Doc::Protected), out.filePath("pdoc.png"));
    ok &= save(docIcon(Doc::Up), out.filePath("updoc.png"));
    ok &= save(docIcon(Doc::Modified), out.filePath("mpdoc.png"));
    ok &= save(docIcon(Doc::Locked), out.filePath("ldoc.png"));
    ok &= save(docIcon(Doc::ProtectedLocked), out.filePath("pldoc.png"));
    return ok ? 0 : 1;
}
