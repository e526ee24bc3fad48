// tcBench: a flat, ordered collection of bench objects painted into one host widget and fed with
// its pointer events. The list order is the skin's definition order: it is the paint order (later
// objects on top) and the search order (the first hit wins). The bench owns its objects.
#pragma once

#include "skin/bench_object.h"

#include <QFont>
#include <QPixmap>

#include <memory>
#include <vector>

class QPainter;
struct SkinFont;

class tcBench
{
public:
    tcBench();
    virtual ~tcBench();
    tcBench(const tcBench &) = delete;
    tcBench &operator=(const tcBench &) = delete;

    // 0: the control may be operated; anything else: locked, the object ignores the input.
    virtual int accessLevel(int controlId);
    virtual void fitHost() = 0;
    virtual void paint(QPainter &painter, const QRect &rect);
    // Scales the painter to skin coordinates (when scaling is on) and returns the widget rectangle
    // in skin coordinates, its far edges rounded outward.
    QRect beginSkinPaint(QPainter &painter, const QRect &widgetRect) const;
    // Skin-coordinate rectangle to repaint.
    virtual void invalidate(const QRect &rect, int flags) = 0;
    virtual void tick();
    virtual void clear();
    // The loader's message sink: a printf-style format with its arguments.
    virtual void report(const char *format, ...) = 0;
    virtual const SkinFont *findFont(const char *name) const;

    // Dispatch, positions in widget coordinates. leftPress/rightPress: 0 captured, 1 handled
    // without capture, 2 no object hit.
    int leftPress(int x, int y);
    int rightPress(int x, int y);
    bool release(int x, int y);
    bool move(int x, int y, int modifiers);
    bool wheel(int x, int y, int step, int modifiers);
    bool doubleClick(int x, int y);

    tcBenchObject *findObject(const NameString &id) const;
    tcBenchObject *findObject(const NameString &id, int typeCode) const;
    tcBenchObject *capturedObject() const { return m_captured; }
    const std::vector<tcBenchObject *> &objects() const { return m_objects; }
    // Takes ownership; appends at the tail.
    void appendObject(tcBenchObject *object);

    // Scale factors a bench accepts; any other factor turns scaling off.
    static constexpr double kMinScale = 0.5;
    static constexpr double kMaxScale = 4.0;
    static bool usableScale(double factor);
    void setScaling(bool on, float sx, float sy);
    bool scaling() const { return m_scaling; }
    float scaleX() const { return m_sx; }
    float scaleY() const { return m_sy; }
    int toWidgetX(int v) const;
    int toWidgetY(int v) const;
    int toSkinX(int v) const;
    int toSkinY(int v) const;
    // Skin rectangle to the widget rectangle that covers it: near edges rounded down, far edges up.
    QRect toWidgetRect(const QRect &skinRect) const;

    const QFont *headerFont() const { return m_hasFonts ? &m_headerFont : nullptr; }
    const QFont *fixedFont() const { return m_hasFonts ? &m_fixedFont : nullptr; }
    void setFonts(const QFont &header, const QFont &fixed);
    QPixmap *measuringPixmap() { return m_measure.get(); }

private:
    int press(int x, int y, bool right);

    tcBenchObject *m_captured = nullptr;
    std::vector<tcBenchObject *> m_objects;
    bool m_scaling = false;
    float m_sx = 1.0f, m_sy = 1.0f;
    bool m_hasFonts = false;
    QFont m_headerFont, m_fixedFont;
    std::unique_ptr<QPixmap> m_measure;
};
