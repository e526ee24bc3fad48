// tcGuiMeter: one or two level bars with peak marks and overload lamps over a background picture.
// Level bytes are quarter decibels below 0 dB; pixel positions come from five prebuilt tables (one
// per decibel span), and a level change repaints only the bars and lamps, with the window's next
// paint.
#pragma once

#include "gui/gui_object.h"

#include <QFont>
#include <QStaticText>

#include <array>
#include <cstdint>

class tcGuiMeter : public tcGuiObject
{
public:
    enum Style : int { kVU30 = 0, kVU40, kVU60, kVUFS30, kVUFS40, kVUFS60, kGR20, kGR30 };
    static constexpr int kTables = 5;
    static constexpr int kLabels = 11;
    static constexpr int kPeakLength = 5;

    struct Channel
    {
        int barX = 0, barY = 0, ovrX = 0, ovrY = 0;
        bool enabled = true;
        uint8_t level = 0, peak = 0, overload = 0;
    };

    tcGuiMeter(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void draw(QPainter &painter) override;
    QRegion opaqueArea() const override;

    // One byte per channel each; repaints only when a byte changed.
    void setLevels(const uint8_t *levels, const uint8_t *peaks, const uint8_t *overloads);
    void setMode(int style, bool clip, int channels);

    int style() const { return m_style; }
    bool clip() const { return m_clip; }
    int channels() const { return m_channels; }
    bool vertical() const { return m_vertical; }
    void setStyle(int style) { m_style = style; }
    void setClip(bool on) { m_clip = on; }
    void setChannels(int n) { m_channels = n == 1 ? 1 : 2; }
    void setVertical(bool on) { m_vertical = on; }
    void showLabels() { m_labels = true; }
    bool labelsShown() const { return m_labels; }
    Channel &channel(int i) { return m_ch[i == 1 ? 1 : 0]; }
    const Channel &channel(int i) const { return m_ch[i == 1 ? 1 : 0]; }
    void setBackground(tcGuiImage *p) { m_bg = p; }
    void setBar(tcGuiImage *p) { m_bar = p; }
    void setOverloadPicture(tcGuiImage *p) { m_ovr = p; }
    int barLength() const { return m_vertical ? m_barH : m_barW; }
    QRect barRect(int channel) const;
    QRect overloadRect(int channel) const;

    // Table position for a level byte under the current style: unlit pixels from the top
    // (vertical) or lit pixels from the left (horizontal).
    int position(uint8_t level) const;
    static int tableForStyle(int style);
    int labelPosition(int i) const { return m_labelPos[i]; }
    static const char *labelText(int style, int i);
    // The span position of a level in dB for a bar of `length` pixels.
    static int spanPosition(double dB, double span, int length, bool vertical);

private:
    void buildTables();
    int pairBase() const;
    void drawChannel(QPainter &painter, const Channel &c, bool lamp = true) const;
    // Lays the scale labels out for the font, style and position they are drawn with.
    void prepareLabels(const QFont &font);
    void drawLabels(QPainter &painter, const QRect *only);

    int m_style = kVU30;
    bool m_clip = false;
    int m_channels = 2;
    bool m_vertical = true;
    bool m_labels = false;
    tcGuiImage *m_bg = nullptr, *m_bar = nullptr, *m_ovr = nullptr;
    int m_barH = 200, m_barW = 8;
    int m_ovrH = 4, m_ovrW = 8;
    Channel m_ch[2];
    std::array<std::array<int16_t, 256>, kTables> m_tables{};
    std::array<int, kLabels> m_labelPos{};
    struct Label
    {
        QStaticText text;
        QPoint centre;
        QPointF topLeft;
        QRect bounds; // what a partial repaint must touch to redraw the label
    };
    std::array<Label, kLabels> m_labelLayout;
    bool m_labelsPrepared = false;
    QFont m_labelFont;
    int m_labelStyle = -1;
    bool m_labelVertical = true;
    QPoint m_labelOrigin;
};
