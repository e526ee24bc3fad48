#include "sample_skin.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

namespace orba::sample {

namespace {

void save(const QImage &image, const QString &folder, const char *name)
{
    image.save(QDir(folder).filePath(QLatin1String(name)), "PNG");
}

QImage strip(int w, int h, int n)
{
    QImage image(w * n, h, QImage::Format_ARGB32);
    image.fill(QColor(40, 44, 52));
    return image;
}

void drawPictures(const QString &folder)
{
    QImage bg(1100, 720, QImage::Format_RGB32);
    {
        QPainter p(&bg);
        QLinearGradient g(0, 0, 0, 720);
        g.setColorAt(0, QColor(52, 58, 70));
        g.setColorAt(1, QColor(24, 26, 32));
        p.fillRect(bg.rect(), g);
        p.setPen(QColor(90, 100, 120));
        p.drawRect(bg.rect().adjusted(0, 0, -1, -1));
        p.fillRect(0, 0, 1100, 28, QColor(30, 34, 44));
    }
    save(bg, folder, "background.png");

    const int frames = 64;
    QImage knob = strip(40, 40, frames);
    {
        QPainter p(&knob);
        p.setRenderHint(QPainter::Antialiasing);
        for (int k = 0; k < frames; ++k) {
            const QPointF c(k * 40 + 20, 20);
            p.setBrush(QColor(70, 76, 90));
            p.setPen(QPen(QColor(20, 20, 24), 2));
            p.drawEllipse(c, 15, 15);
            const double a = qDegreesToRadians(225.0 - 270.0 * k / (frames - 1));
            p.setPen(QPen(QColor(255, 170, 40), 3));
            p.drawLine(c, c + QPointF(12 * qCos(a), -12 * qSin(a)));
        }
    }
    save(knob, folder, "knob.png");

    QImage button = strip(64, 22, 12);
    {
        QPainter p(&button);
        const QColor lamps[4] = {QColor(80, 86, 100), QColor(40, 160, 70), QColor(200, 150, 30),
                                 QColor(190, 50, 40)};
        for (int k = 0; k < 12; ++k) {
            QColor c = lamps[k / 3];
            if (k % 3 == 1)
                c = c.lighter(125);
            if (k % 3 == 2)
                c = c.darker(130);
            p.fillRect(k * 64 + 1, 1, 62, 20, c);
            p.setPen(QColor(15, 15, 18));
            p.drawRect(k * 64, 0, 63, 21);
        }
    }
    save(button, folder, "button.png");

    QImage check = strip(16, 16, 6);
    {
        QPainter p(&check);
        for (int k = 0; k < 6; ++k) {
            p.fillRect(k * 16 + 2, 2, 12, 12, k >= 3 ? QColor(60, 200, 90) : QColor(90, 96, 110));
            if (k % 3)
                p.setPen(QColor(230, 230, 230)), p.drawRect(k * 16 + 1, 1, 13, 13);
        }
    }
    save(check, folder, "check.png");

    QImage bar = strip(10, 200, 6);
    {
        QPainter p(&bar);
        for (int k = 0; k < 6; ++k) {
            QLinearGradient g(0, 0, 0, 200);
            const bool lit = k % 2 == 0;
            g.setColorAt(0, lit ? QColor(240, 60, 40) : QColor(60, 20, 20));
            g.setColorAt(0.3, lit ? QColor(240, 200, 40) : QColor(60, 55, 20));
            g.setColorAt(1, lit ? QColor(50, 220, 80) : QColor(20, 55, 25));
            p.fillRect(k * 10, 0, 10, 200, g);
        }
    }
    save(bar, folder, "bar.png");
    QImage ovr = strip(10, 5, 6);
    {
        QPainter p(&ovr);
        for (int k = 0; k < 6; ++k)
            p.fillRect(k * 10, 0, 10, 5, k % 2 == 0 ? QColor(255, 40, 40) : QColor(70, 20, 20));
    }
    save(ovr, folder, "ovr.png");
    QImage meterBg(36, 230, QImage::Format_RGB32);
    meterBg.fill(QColor(16, 17, 20));
    save(meterBg, folder, "meterbg.png");

    QImage rail = strip(20, 120, 2);
    {
        QPainter p(&rail);
        for (int k = 0; k < 2; ++k)
            p.fillRect(k * 20 + 8, 4, 4, 112, k ? QColor(120, 160, 220) : QColor(90, 96, 110));
    }
    save(rail, folder, "rail.png");
    QImage thumb = strip(20, 10, 2);
    {
        QPainter p(&thumb);
        for (int k = 0; k < 2; ++k)
            p.fillRect(k * 20 + 1, 1, 18, 8, k ? QColor(250, 200, 80) : QColor(200, 200, 210));
    }
    save(thumb, folder, "thumb.png");
    QImage arrow = strip(14, 18, 5);
    {
        QPainter p(&arrow);
        p.setRenderHint(QPainter::Antialiasing);
        for (int k = 0; k < 5; ++k) {
            p.setBrush(k ? QColor(250, 200, 80) : QColor(180, 180, 190));
            p.setPen(Qt::NoPen);
            p.drawPolygon(
                QPolygonF({QPointF(k * 14 + 3, 7), QPointF(k * 14 + 11, 7), QPointF(k * 14 + 7, 2)}));
            p.drawPolygon(
                QPolygonF({QPointF(k * 14 + 3, 11), QPointF(k * 14 + 11, 11), QPointF(k * 14 + 7, 16)}));
        }
    }
    save(arrow, folder, "arrow.png");
}

} // namespace

int writeSampleSkin(const QString &folder, int groups)
{
    QDir().mkpath(folder);
    drawPictures(folder);
    QByteArray xml = "<?xml version=\"1.0\"?>\n<skin>\n"
                     "<color id=\"text\" rgb=\"d8dce6\"/>\n<color id=\"amber\" rgb=\"ffb030\"/>\n"
                     "<font id=\"small\" face=\"DejaVu Sans\" size=\"13\"/>\n"
                     "<offset id=\"left\" value=\"20\"/>\n"
                     "<image id=\"BKGRND\" file=\"background.png\"/>\n"
                     "<image id=\"KNOB\" file=\"knob.png\" sections=\"64\"/>\n"
                     "<image id=\"BUTTON\" file=\"button.png\" sections=\"12\"/>\n"
                     "<image id=\"CHECK\" file=\"check.png\" sections=\"6\"/>\n"
                     "<image id=\"BAR\" file=\"bar.png\" sections=\"6\"/>\n"
                     "<image id=\"OVR\" file=\"ovr.png\" sections=\"6\"/>\n"
                     "<image id=\"METERBG\" file=\"meterbg.png\"/>\n"
                     "<image id=\"RAIL\" file=\"rail.png\" sections=\"2\"/>\n"
                     "<image id=\"THUMB\" file=\"thumb.png\" sections=\"2\"/>\n"
                     "<image id=\"ARROW\" file=\"arrow.png\" sections=\"5\"/>\n";
    int count = 10; // the images above
    // Fixed objects: meters, graphs, a combo and a list box on the right.
    for (int m = 0; m < 2; ++m)
        xml +=
            "<meter id=\"METER" + QByteArray::number(m) + "\"><position x=\"" +
            QByteArray::number(1000 + m * 46) +
            "\" y=\"60\" barlx=\"4\" barrx=\"20\" bary=\"22\" ovrlx=\"4\" ovrrx=\"20\" ovry=\"10\"/>"
            "<bitmap bg=\"METERBG\" bar=\"BAR\" ovr=\"OVR\"/><type style=\"VUFS30\" clip=\"1\"/></meter>\n";
    xml +=
        "<ap_graph id=\"GRAPH\"><position1 x=\"660\" y=\"320\" w=\"420\" h=\"220\"/>"
        "<color plot_bg=\"101820\" axis_major=\"607080\" axis_minor=\"303840\" gutter_bg=\"181c24\" "
        "audio=\"50e070\"/></ap_graph>\n"
        "<dyngraph id=\"DYN\"><position x=\"660\" y=\"550\" w=\"220\" h=\"160\"/>"
        "<color plot_bg=\"101820\" gutter_bg=\"181c24\"/></dyngraph>\n"
        "<combo id=\"COMBO\" type=\"ROLL\"><position x=\"900\" y=\"580\" w=\"170\"/><bitmap image=\"ARROW\"/>"
        "<text value=\"Preset\" color=\"text\"/><color bg=\"202430\" fg=\"amber\"/></combo>\n"
        "<listbox id=\"LIST\" type=\"SINGLE\"><position x=\"900\" y=\"620\" w=\"170\" h=\"80\"/>"
        "<color bg_list=\"202430\" fg_list=\"d8dce6\"/></listbox>\n";
    count += 6;
    for (int g = 0; g < groups; ++g) {
        const int col = g % 8, row = g / 8;
        const int x = 20 + col * 78, y = 40 + row * 150;
        const QByteArray n = QByteArray::number(g);
        auto at = [](int v) { return QByteArray::number(v); };
        xml += "<knob id=\"K" + n + "\"><position x=\"" + at(x) + "\" y=\"" + at(y) +
               "\"/><bitmap image=\"KNOB\"/>"
               "<text value=\"Gain " +
               n + "\" x=\"20\" y=\"44\" align=\"tc\" color=\"text\" font=\"small\"/></knob>\n";
        xml += "<display id=\"D" + n + "\"><position x=\"" + at(x) + "\" y=\"" + at(y + 62) +
               "\" w=\"64\" h=\"14\"/><color fg=\"amber\" bg=\"101216\"/></display>\n";
        xml += "<button id=\"B" + n + "\"><position x=\"" + at(x) + "\" y=\"" + at(y + 82) +
               "\"/><bitmap image=\"BUTTON\"/><text value=\"Band " + n +
               "\" color=\"text\" align=\"cc\"/></button>\n";
        xml +=
            "<checkbox id=\"C" + n + "\"><position x=\"" + at(x) + "\" y=\"" + at(y + 110) +
            "\"/><bitmap image=\"CHECK\"/><text value=\"On\" x=\"20\" y=\"1\" color=\"text\"/></checkbox>\n";
        xml += "<label id=\"L" + n + "\"><position x=\"" + at(x + 40) + "\" y=\"" + at(y + 110) +
               "\"/><bitmap w=\"30\" h=\"14\"/><text value=\"#" + n + "\" color=\"amber\"/></label>\n";
        count += 5;
    }
    xml += "<slider id=\"SLIDER\"><position x=\"950\" y=\"60\"/><bitmap rail=\"RAIL\" "
           "thumb=\"THUMB\"/></slider>\n";
    xml += "</skin>\n";
    QFile file(QDir(folder).filePath(QStringLiteral("skin.xml")));
    if (file.open(QIODevice::WriteOnly))
        file.write(xml);
    return count + 1;
}

} // namespace orba::sample
