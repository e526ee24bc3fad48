// The default skin's pictures, drawn with QPainter. Every picture is a strip of equal sections side
// by side, in the section order its object class reads (see each function). Text that must stay
// sharp when the skin is scaled is not drawn here but given to the objects as captions; only
// headings of the background panels are part of the pictures.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

class QPainter;

namespace orba::skingen::art {

constexpr int kRingLamps = 21;         // mask bits 2 .. 22
constexpr int kRingKnobSections = 26;  // 0 rest, 1 highlighted, 2 disabled, bit b lit in b + 3
constexpr int kButtonSections = 12;    // lamp state 0..3 x rest, highlighted, pressed
constexpr int kTwoStateSections = 6;   // off x rest, highlighted, pressed; then on
constexpr int kComboArrowSections = 5; // rest, upper lit, lower lit, upper pressed, lower pressed
constexpr int kMeterSections = 6;      // (lit, dark) for 30/40 dB, 60 dB and gain reduction
constexpr int kLampSections = 3;       // state 0, 1, 2
constexpr int kHandleSections = 4;     // grouped, grouped current, independent, independent current

// A picture at the skin's size and the same vectors painted at twice that size, for screens and
// skin scales of more than one device pixel per skin pixel.
constexpr int kDenseScale = 2;
struct Art
{
    QImage image;
    QImage image2x;
};
// Paints `paint` onto a transparent w x h picture at both sizes.
Art paintBoth(int w, int h, const std::function<void(QPainter &)> &paint,
              const QColor &fill = Qt::transparent);

// A transparent strip of `n` sections of w x h; `paint` draws section k in its own coordinates.
Art strip(int w, int h, int n, const std::function<void(QPainter &, int k)> &paint);

// Knobs. Ring knobs: 26 sections (body rest, highlighted, disabled, two unused, then one lit lamp
// per section). Film-strip knobs: `frames` turns of a pointer with a lit arc.
Art ringKnob(int size, const QColor &accent);
Art filmKnob(int size, const QColor &accent, int frames);

// Buttons, 12 sections. Plain: command buttons (lamp 1 lights a bar in the accent). Flow: the
// signal-flow buttons (accent edge; lamp 1 shown on screen, lamp 2 block bypassed). Segment: one of
// a choice (lamp 1 selected). Window: glyph buttons of the top strip.
enum class ButtonStyle { Plain, Flow, Segment, Window };
enum class Glyph { None, About, Minimise, Exit };
Art button(int w, int h, ButtonStyle style, const QColor &accent, Glyph glyph = Glyph::None);

// Two-state pictures, 6 sections: a sliding switch, a lit-lamp push switch of w x h, a round
// radio lamp, and the per-band switch of the compressor editor.
Art slideSwitch(const QColor &accent);
Art pushSwitch(int w, int h, const QColor &accent);
Art radioLamp(const QColor &accent);
Art bandSwitch(const QColor &accent);

// A status lamp of 3 sections with the colour of each state.
Art lamp(const QColor &state0, const QColor &state1, const QColor &state2);

// Combo arrow zone, 5 sections: two step arrows, or one drop-down chevron.
Art comboArrows(int w, int h, bool drop, const QColor &accent);

// Meter pictures: bars of 6 sections (green, yellow and red zones at the tenths of the scale),
// overload lamps of 6 sections, and the background with its wells and scale ticks.
Art meterBar(int w, int length);
Art meterOverload(int w, int h);
Art meterBackground(int w, int h, int barLeft, int barRight, int barTop, int barWidth, int length,
                    int overloadTop);

// Slider and list-box pictures of 2 sections (rest, active).
Art sliderRail(int w, int h, bool horizontal, const QColor &accent);
Art sliderThumb(int w, int h, bool horizontal, const QColor &accent);
Art scrollBar(int w, int h, const QColor &accent);

// The adjuster handle of the band editors, 4 sections.
Art adjusterHandle(int size, const QColor &accent);

// Panels. A section panel with an optional baked heading; a heading plate for a screen title.
void paintSection(QPainter &p, const QRect &r, const QColor &accent, const QString &heading,
                  bool headingRow = true);
Art titlePlate(int w, int h, const QColor &accent);
// A recessed field frame drawn around an object's rectangle (displays and combos).
void paintWell(QPainter &p, const QRect &objectRect);
// The brand mark of the top strip.
void paintBrand(QPainter &p, const QPoint &at);

} // namespace orba::skingen::art
