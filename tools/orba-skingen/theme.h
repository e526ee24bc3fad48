// The default skin's palette: a dark console with one accent colour per processing block. The
// same accent marks the block's flow button, its screen (knob rings, switches, headings) and its
// curves on the graphs, so the eye finds a block by colour.
#pragma once

#include "default_skin_objects.h"

#include <QColor>
#include <QString>

#include <algorithm>

namespace orba::skingen::theme {

// Surfaces, darkest first.
inline const QColor kWell(11, 13, 16);      // recessed fields: displays, combos, meter wells
inline const QColor kWindow(21, 24, 28);    // window background
inline const QColor kPanel(29, 33, 39);     // section panels
inline const QColor kRaised(41, 46, 53);    // buttons and caps
inline const QColor kLine(52, 58, 66);      // frames
inline const QColor kLineLight(72, 80, 90); // highlighted frames

// Text.
inline const QColor kText(221, 227, 234);
inline const QColor kTextDim(150, 160, 173);
inline const QColor kTextFaint(98, 108, 120);

// Signal colours.
inline const QColor kGreen(73, 209, 125);
inline const QColor kYellow(242, 193, 78);
inline const QColor kRed(240, 82, 79);
inline const QColor kLedOn(222, 232, 242); // main-panel switches: a white lamp

struct Block
{
    int screen;
    QString key; // file-name word and colour-name suffix
    QColor accent;
};

inline Block block(int screen)
{
    switch (screen) {
    case kInput:
        return {screen, QStringLiteral("input"), QColor(79, 168, 255)};
    case kParametric:
        return {screen, QStringLiteral("peq"), QColor(169, 139, 255)};
    case kCompressor:
        return {screen, QStringLiteral("comp"), QColor(255, 162, 58)};
    case kAmHd:
        return {screen, QStringLiteral("hdout"), QColor(47, 211, 192)};
    case kAmOut:
        return {screen, QStringLiteral("amout"), QColor(255, 107, 166)};
    case kAmTx:
        return {screen, QStringLiteral("amtx"), QColor(183, 227, 79)};
    case kSystem:
        return {screen, QStringLiteral("system"), QColor(159, 176, 195)};
    default:
        return {kMain, QStringLiteral("main"), kLedOn};
    }
}

// Mixes a towards b by t (0: a, 1: b).
inline QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t,
                            a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

inline QColor withAlpha(QColor c, double alpha)
{
    c.setAlphaF(alpha);
    return c;
}

// A colour of the accent's family: hue turned by `degrees`, lightness scaled.
inline QColor shade(const QColor &accent, int degrees, double lightness = 1.0)
{
    float h, s, l, a;
    accent.getHslF(&h, &s, &l, &a);
    float hue = h + degrees / 360.0f;
    while (hue < 0)
        hue += 1;
    while (hue >= 1)
        hue -= 1;
    return QColor::fromHslF(hue, s, std::min(1.0f, float(l * lightness)), a);
}

// The equaliser's four sections: neighbours of its accent, low to high.
inline QColor peqSection(int i)
{
    const int turns[4] = {-38, -8, 24, 52};
    const double light[4] = {1.0, 1.12, 1.05, 1.0};
    return shade(block(kParametric).accent, turns[i], light[i]);
}

// "RRGGBB" as the skin file writes colours.
inline QString hex(const QColor &c)
{
    return QStringLiteral("%1").arg(c.rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

} // namespace orba::skingen::theme
