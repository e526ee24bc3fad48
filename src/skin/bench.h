// tcBench: a flat, ordered collection of bench objects painted into one host widget and fed with
// its pointer events. The list order is the skin's definition order: it is the paint order (later
// objects on top) and the search order (the first hit wins). The bench owns its objects.
#pragma once

#include "skin/bench_object.h"

#include <QFont>
#include <QPixmap>
#include <QRgb>
#include <QString>

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
    // Whether a paint of `rect` (skin coordinates) draws anything besides `self` there: an object
    // that repaints only what changed of itself must not have others drawn again over its pixels.
    virtual bool drawsOver(const tcBenchObject *self, const QRect &rect) const;
    // Scales the painter to skin coordinates (when scaling is on) and returns the widget rectangle
    // in skin coordinates, its far edges rounded outward.
    QRect beginSkinPaint(QPainter &painter, const QRect &widgetRect) const;
    // Skin-coordinate rectangle to repaint.
    virtual void invalidate(const QRect &rect, int flags) = 0;
    // Ticks every object; false when none needs more ticks, so the host's timer can stop.
    virtual bool tick();
    // An object started needing ticks: the host starts its timer if it is not running.
    virtual void wantTicks() {}
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

    // Keyboard focus: one object of the bench at a time, marked by an outline. Tab order is the
    // reading order of the focusable objects shown (rows top to bottom, each left to right).
    tcBenchObject *focusedObject() const;
    // Whether the object holds the focus, shown or not (its repaints must then cover the outline).
    bool holdsFocus(const tcBenchObject *object) const { return object && object == m_focused; }
    // The outline's skin rectangle around an object.
    static QRect focusRect(const tcBenchObject *object);
    void setFocusedObject(tcBenchObject *object);
    // Moves the focus to the next (or previous) focusable object, wrapping; false when none.
    bool focusNext(bool forward);
    std::vector<tcBenchObject *> focusOrder() const;
    // A key step of the focused object; false when nothing has the focus or it takes no steps.
    bool keyStep(int step, int modifiers);
    virtual bool keyActivate();
    void setFocusColour(QRgb colour) { m_focusColour = colour; }
    QRgb focusColour() const { return m_focusColour; }
    // The text of the tooltip at a widget position; empty for none.
    virtual QString toolTipAt(int x, int y);

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

protected:
    // Draws the focus outline when it meets the dirty skin rectangle; painters of a bench call it
    // after the objects.
    void paintFocus(QPainter &painter, const QRect &dirty) const;

private:
    int press(int x, int y, bool right);
    void invalidateFocus();

    tcBenchObject *m_captured = nullptr;
    tcBenchObject *m_focused = nullptr;
    QRgb m_focusColour = 0xFFE8ECF0u;
    std::vector<tcBenchObject *> m_objects;
    bool m_scaling = false;
    float m_sx = 1.0f, m_sy = 1.0f;
    bool m_hasFonts = false;
    QFont m_headerFont, m_fixedFont;
    std::unique_ptr<QPixmap> m_measure;
};
