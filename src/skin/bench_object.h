// tcBenchObject: what a bench needs of the objects it holds: identity, hit test, the pointer
// operations with their predicates, tick and draw. The GUI objects (src/gui, tcGuiObject) implement
// it; the skin engine stays below them and never needs their classes.
#pragma once

#include "skin/name_string.h"

#include <QRect>
#include <QRegion>

class QPainter;

// Modifier bits handed to drag, hover and wheel.
enum BenchModifier : int {
    kModShift = 1,
    kModControl = 2,
};

class tcBenchObject
{
public:
    virtual ~tcBenchObject() = default;

    virtual const NameString &id() const = 0;
    virtual int typeCode() const = 0;
    virtual int serial() const = 0;
    // The object's own rectangle in skin coordinates.
    virtual QRect area() const = 0;

    virtual void afterLoad() = 0;
    virtual bool contains(int x, int y) const = 0;
    virtual bool intersects(const QRect &rect) const = 0;

    virtual bool leftPress(int x, int y) = 0;
    virtual void release(int x, int y) = 0;
    virtual bool rightPress(int x, int y) = 0;
    virtual void drag(int x, int y, int modifiers) = 0;
    virtual void hover(int x, int y, int modifiers) = 0;
    virtual void wheel(int step, int modifiers) = 0;
    virtual void doubleClick(int x, int y) = 0;

    virtual bool acceptsLeftClick() const = 0;
    virtual bool acceptsRightClick() const = 0;
    virtual bool acceptsWheel() const = 0;
    virtual bool acceptsDoubleClick() const = 0;
    virtual bool tracksHover() const = 0;

    // Keyboard: whether the object can hold the bench's focus now (shown and enabled), and one
    // step of its value from the keys (positive up, negative down), through the same road as the
    // mouse. keyStep returns false when the object takes no key steps.
    virtual bool acceptsFocus() const { return false; }
    virtual bool keyStep(int /*step*/, int /*modifiers*/) { return false; }
    // Space or Enter: a click of the object, through the same road as the mouse's.
    virtual bool keyActivate() { return false; }

    virtual void tick() = 0;
    // True while the object needs the bench's ticks (a held auto-repeat button, a marquee); it
    // asks its bench for them when it starts needing them (tcBench::wantTicks).
    virtual bool ticking() const { return false; }
    virtual void draw(QPainter &painter) = 0;
    // What a draw covers with opaque pixels whatever was there (skin coordinates): the bench need
    // not paint its background there first. Empty for most objects.
    virtual QRegion opaqueArea() const { return QRegion(); }
};
