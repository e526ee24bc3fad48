// BandGroup: the adjusters of a band row (five compressor bands or ten multiband limiter bands) as
// plain state: each band's value and pixel, which bands move together, the band under the pointer,
// and the flat or proportional moves of a band with its group. No widgets: the graph's mapping and
// the panel's quantisation come in through a Sink, and every changed value leaves through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orba::draggers {

using std::size_t;

class BandGroup
{
public:
    enum DragMode : int { kProportional = 0, kFlat = 1 };

    // What the band row is drawn on and written to.
    class Sink
    {
    public:
        virtual ~Sink() = default;
        // The graph's vertical axis, value at a pixel row of the plot and back.
        virtual double valueAtPixel(int pixel) const = 0;
        virtual int pixelOfValue(double value) const = 0;
        // The panel's quantisation through the row's first parameter.
        virtual uint32_t indexOfValue(double value) const = 0;
        virtual double valueOfIndex(uint32_t index) const = 0;
        // A band's new index, to be written and sent.
        virtual void barSet(int band, uint32_t index) = 0;
    };

    BandGroup(int count, Sink &sink);

    int count() const { return int(m_values.size()); }

    // Geometry: band centres across the plot, the plot width and the lowest adjuster row.
    void setBandX(const std::vector<int> &x) { m_bandX = x; }
    const std::vector<int> &bandX() const { return m_bandX; }
    void setPlotWidth(int w) { m_plotWidth = w; }
    void setBottom(int bottom);
    int bottom() const { return m_bottom; }
    // Three-band mode: only bands 0, 2 and 4 take the pointer (in thirds of the plot).
    void setThreeBand(bool on) { m_threeBand = on; }
    bool threeBand() const { return m_threeBand; }
    bool exists(int band) const { return !m_threeBand || band % 2 == 0; }

    // The band whose part of the plot holds x; past every part, the last band.
    int bandAt(int x) const;

    int current() const { return m_current; }
    void setCurrent(int band);
    bool independent(int band) const { return m_independent[size_t(band)] != 0; }
    void setIndependent(int band, bool on) { m_independent[size_t(band)] = on ? 1 : 0; }
    void toggleIndependent(int band) { m_independent[size_t(band)] ^= 1; }
    int dragMode() const { return m_mode; }
    void setDragMode(int mode) { m_mode = mode; }

    double value(int band) const { return m_values[size_t(band)]; }
    int pixel(int band) const { return m_pixels[size_t(band)]; }

    // The panel's value of a band: stored quantised, with its pixel; the press copies follow.
    void setValue(int band, double value);
    // Every pixel again from the values (the plot or the axis changed).
    void relayout();
    // A drag starts: the values and pixels it is measured from.
    void takePressCopies();

    // Moves the current band by d pixels and its group after it. True when a pixel or a value
    // changed.
    bool moveCurrent(int d);
    // The current band's group takes the current band's value.
    bool flatten();
    // A run of independent bands around the current one becomes one group.
    bool group();
    // The current band's group falls apart into independent bands.
    bool ungroup();
    void groupAll();
    void ungroupAll();

private:
    // Puts band j at pixel p (clamped) and writes its quantised value when that changed.
    bool place(int band, int pixel);
    // The group's bands on one side of b follow the move D (dir -1 down, +1 up).
    bool follow(int b, int dir, int D);

    Sink &m_sink;
    std::vector<double> m_values, m_pressValues;
    std::vector<int> m_pixels, m_pressPixels;
    std::vector<uint8_t> m_independent;
    std::vector<int> m_bandX;
    int m_plotWidth = 0;
    int m_bottom = 0;
    bool m_threeBand = false;
    int m_current = 0;
    int m_mode = kFlat;
};

} // namespace orba::draggers
