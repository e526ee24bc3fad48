// Surface: lays out one panel's objects (the main panel over the whole window, or one processing
// screen in the screen area) and paints the panel's background picture to match: section panels,
// recessed wells behind displays and combos, and a few baked headings. Positions are given
// relative to the surface; objects of a screen are written relative to the offsets SX and SY so
// that the whole screen moves with them.
#pragma once

#include "art.h"
#include "skin_writer.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

namespace orba::skingen {

enum class Ring { Simple, Dot, Bar, ReBar, Spread, Q, Pan };
enum class ComboKind { Drop, Step };
enum class LampKind { Status, Temperature, Choice };

struct RadioChoice
{
    QString id;
    QString caption;
    int x, y; // relative to the group
};

class Surface
{
public:
    static constexpr int kKnobSize = 48;
    static constexpr int kSmallKnobSize = 40;
    static constexpr int kValueWidth = 64;
    static constexpr int kValueHeight = 16;
    static constexpr int kComboHeight = 20;

    // `area` in window coordinates; xName/yName: the offsets the positions are written against
    // (empty: absolute numbers).
    Surface(SkinWriter &writer, int screen, const QRect &area, QString xName = {}, QString yName = {});

    QColor accent() const { return m_accent; }
    const QRect &area() const { return m_area; }

    // Background parts (relative rectangles).
    void section(const QRect &r, const QString &heading = {}, bool headingRow = true,
                 const QColor &tick = {});
    void text(const QRect &r, const QString &s, int align, int pixelSize = 10, bool bold = true);
    // Painted before the sections (under) and after them (over).
    // Objects a panel shows only in some states: no well is baked behind them.
    void setConditional(const QStringList &ids) { m_conditional = ids; }
    void setExtraPainters(std::function<void(QPainter &)> under, std::function<void(QPainter &)> over)
    {
        m_under = std::move(under);
        m_over = std::move(over);
    }

    // Objects (relative positions).
    void title(const QString &id, const QString &caption);
    // A label over the heading row of a section: the section's heading as a caption.
    void heading(const QString &id, const QRect &sectionRect, const QString &caption);
    // A knob centred on cx with its caption above and, when given, its value display below.
    void knob(const QString &id, const QString &caption, int cx, int top, Ring ring, int size = kKnobSize,
              const QString &display = {});
    void valueDisplay(const QString &id, int cx, int y, int w = kValueWidth);
    void slideSwitch(const QString &id, const QString &caption, int x, int y, bool captionLeft = false);
    void pushSwitch(const QString &id, const QString &caption, const QRect &r, const QColor &lampColour);
    void combo(const QString &id, const QString &caption, int x, int y, int w, ComboKind kind, int rows = 8);
    void radio(const QString &group, const QString &caption, int x, int y, const QList<RadioChoice> &items);
    void lamp(const QString &id, const QString &caption, int x, int y, LampKind kind);
    void button(const QString &id, const QString &caption, const QRect &r, art::ButtonStyle style,
                const QString &font = QStringLiteral("F_BUTTON"), const QColor &accent = {},
                art::Glyph glyph = art::Glyph::None);
    void display(const QString &id, const QRect &r, const QString &font, bool transparent, bool marquee,
                 bool doubleClick);
    // A response graph in nine layouts (one rectangle: the same in all nine) drawing the audio in
    // the colour named; a dynamics graph with the compressor's five curve colours.
    void responseGraph(const QString &id, const QList<QRect> &layouts, const QString &audioColour);
    void dynamicsGraph(const QString &id, const QRect &r);

    // Paints the background picture and places it as `id` at the surface's top-left.
    void finish(const QString &id);

    // Positions as the skin writes them.
    QString X(int x) const;
    QString Y(int y) const;

private:
    QString knobPicture(int size);
    QString comboPicture(ComboKind kind);
    Element position(int x, int y) const;

    struct Baked
    {
        QRect rect;
        QString text;
        int align, pixelSize;
        bool bold;
    };

    SkinWriter &m_w;
    int m_screen;
    QRect m_area;
    QString m_xName, m_yName;
    QColor m_accent;
    QString m_key;
    struct Section
    {
        QRect rect;
        QString heading;
        bool headingRow;
        QColor tick;
    };
    QList<Section> m_sections;
    QList<QRect> m_wells;
    QStringList m_conditional;
    QList<Baked> m_texts;
    std::function<void(QPainter &)> m_under, m_over;
};

// The skin's definitions: colours, fonts, offsets and regions.
void writeTheme(SkinWriter &w);
// Pictures no single panel owns: the graph editors' handle and switch, stock slider and list box.
void writeSharedPictures(SkinWriter &w);
void layoutMain(SkinWriter &w);
void layoutInput(SkinWriter &w);
void layoutParametric(SkinWriter &w);
void layoutCompressor(SkinWriter &w);
void layoutAmHd(SkinWriter &w);
void layoutAmOut(SkinWriter &w);
void layoutAmTx(SkinWriter &w);
void layoutSystem(SkinWriter &w);

// The screen area of the window, shared by the seven processing screens.
QRect screenArea();

} // namespace orba::skingen
