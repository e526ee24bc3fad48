// tcGuiAxis: a graph axis mapping values to pixels: linear or logarithmic, with ticks (grid lines
// and labels) placed once when the axis is built. A vertical linear axis has its minimum at the far
// end (the bottom); a horizontal linear axis has it at the start (the left); a logarithmic axis
// starts at its minimum.
#pragma once

#include <QString>

#include <vector>

class tcGuiAxis
{
public:
    enum Scale : int { kLinear = 0, kLog = 1 };
    enum TickKind : int { kMajor = 1, kMinor = 2, kGrid = 4, kLabel = 8 };
    struct Tick
    {
        int pos;
        int kind;
        QString label;
    };

    tcGuiAxis(const QString &title, int scale, int length, float minimum, float maximum,
              bool horizontal = false);

    int toPixel(float value) const;
    float toValue(int pixel) const;
    void addTick(float value, int kind, const QString &label = QString());

    QString title() const { return m_title; }
    int scale() const { return m_scale; }
    int length() const { return m_length; }
    float minimum() const { return m_min; }
    float maximum() const { return m_max; }
    const std::vector<Tick> &ticks() const { return m_ticks; }

private:
    QString m_title;
    int m_scale;
    int m_length;
    float m_min, m_max;
    bool m_horizontal;
    std::vector<Tick> m_ticks;
};
