#include "skin/bench.h"

#include "common/check.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

tcBench::tcBench() : m_measure(std::make_unique<QPixmap>(10, 10)) {}

tcBench::~tcBench()
{
    tcBench::clear();
}

int tcBench::accessLevel(int)
{
    return 0;
}

QRect tcBench::beginSkinPaint(QPainter &painter, const QRect &rect) const
{
    if (!m_scaling)
        return rect;
    painter.scale(m_sx, m_sy);
    // Pictures drawn larger or smaller than their pixels are filtered, not picked pixel by pixel.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // The far edges round outward so that a factor below 1 leaves no skin pixel unpainted.
    return QRect(QPoint(static_cast<int>(rect.left() / m_sx), static_cast<int>(rect.top() / m_sy)),
                 QPoint(static_cast<int>(std::ceil((rect.right() + 1) / m_sx)) - 1,
                        static_cast<int>(std::ceil((rect.bottom() + 1) / m_sy)) - 1));
}

void tcBench::paint(QPainter &painter, const QRect &rect)
{
    painter.save();
    const QRect dirty = beginSkinPaint(painter, rect);
    for (tcBenchObject *object : m_objects) {
        if (object->intersects(dirty))
            object->draw(painter);
    }
    paintFocus(painter, dirty);
    painter.restore();
}

bool tcBench::drawsOver(const tcBenchObject *self, const QRect &rect) const
{
    if (m_focused && m_focused != self && focusRect(m_focused).intersects(rect))
        return true;
    return std::any_of(m_objects.begin(), m_objects.end(),
                       [&](const tcBenchObject *o) { return o != self && o->intersects(rect); });
}

bool tcBench::tick()
{
    bool more = false;
    for (tcBenchObject *object : m_objects) {
        object->tick();
        more = more || object->ticking();
    }
    return more;
}

void tcBench::clear()
{
    m_captured = nullptr;
    m_focused = nullptr;
    // Objects may look each other up while they go, so the list empties one at a time.
    while (!m_objects.empty()) {
        tcBenchObject *object = m_objects.back();
        m_objects.pop_back();
        delete object;
    }
    m_hasFonts = false;
}

const SkinFont *tcBench::findFont(const char *) const
{
    return nullptr;
}

void tcBench::appendObject(tcBenchObject *object)
{
    ORBA_CHECK(object != nullptr, "item != NULL");
    m_objects.push_back(object);
}

int tcBench::press(int x, int y, bool right)
{
    m_captured = nullptr;
    const int sx = toSkinX(x), sy = toSkinY(y);
    for (tcBenchObject *object : m_objects) {
        if ((right ? object->acceptsRightClick() : object->acceptsLeftClick()) && object->contains(sx, sy)) {
            if (right ? object->rightPress(sx, sy) : object->leftPress(sx, sy)) {
                m_captured = object;
                // Once the keys are in use, the focus follows the pointer's control.
                if (!right && focusedObject() && object->acceptsFocus())
                    setFocusedObject(object);
                return 0;
            }
            return 1;
        }
    }
    return 2;
}

int tcBench::leftPress(int x, int y)
{
    return press(x, y, false);
}

int tcBench::rightPress(int x, int y)
{
    return press(x, y, true);
}

bool tcBench::release(int x, int y)
{
    if (!m_captured)
        return false;
    tcBenchObject *object = m_captured;
    m_captured = nullptr;
    object->release(toSkinX(x), toSkinY(y));
    return true;
}

bool tcBench::move(int x, int y, int modifiers)
{
    const int sx = toSkinX(x), sy = toSkinY(y);
    if (m_captured) {
        m_captured->drag(sx, sy, modifiers);
        return true;
    }
    for (tcBenchObject *object : m_objects) {
        if (object->tracksHover())
            object->hover(sx, sy, modifiers);
    }
    return false;
}

bool tcBench::wheel(int x, int y, int step, int modifiers)
{
    const int sx = toSkinX(x), sy = toSkinY(y);
    for (tcBenchObject *object : m_objects) {
        if (object->acceptsWheel() && object->contains(sx, sy)) {
            object->wheel(step, modifiers);
            return true;
        }
    }
    return false;
}

bool tcBench::doubleClick(int x, int y)
{
    const int sx = toSkinX(x), sy = toSkinY(y);
    for (tcBenchObject *object : m_objects) {
        if (object->acceptsDoubleClick() && object->contains(sx, sy)) {
            object->doubleClick(sx, sy);
            return true;
        }
    }
    return false;
}

tcBenchObject *tcBench::focusedObject() const
{
    // A screen change hides the focused control; the focus is then simply gone.
    return m_focused && m_focused->acceptsFocus() ? m_focused : nullptr;
}

QRect tcBench::focusRect(const tcBenchObject *object)
{
    return object->area().adjusted(-3, -3, 3, 3);
}

void tcBench::invalidateFocus()
{
    if (m_focused)
        invalidate(focusRect(m_focused), 0);
}

void tcBench::setFocusedObject(tcBenchObject *object)
{
    if (object && !object->acceptsFocus())
        object = nullptr;
    if (object == m_focused)
        return;
    invalidateFocus();
    m_focused = object;
    invalidateFocus();
}

std::vector<tcBenchObject *> tcBench::focusOrder() const
{
    std::vector<tcBenchObject *> order;
    for (tcBenchObject *object : m_objects) {
        if (object->acceptsFocus())
            order.push_back(object);
    }
    // Reading order: top to bottom, objects whose centres lie within kRowSlack of the first centre
    // of a row join that row, and each row runs from left to right.
    constexpr int kRowSlack = 12;
    auto centreY = [](const tcBenchObject *o) { return o->area().center().y(); };
    std::stable_sort(order.begin(), order.end(),
                     [&](const tcBenchObject *a, const tcBenchObject *b) { return centreY(a) < centreY(b); });
    for (auto row = order.begin(); row != order.end();) {
        const int top = centreY(*row);
        auto end = std::find_if(row, order.end(),
                                [&](const tcBenchObject *o) { return centreY(o) > top + kRowSlack; });
        std::stable_sort(row, end, [](const tcBenchObject *a, const tcBenchObject *b) {
            return a->area().left() < b->area().left();
        });
        row = end;
    }
    return order;
}

bool tcBench::focusNext(bool forward)
{
    const std::vector<tcBenchObject *> order = focusOrder();
    if (order.empty()) {
        setFocusedObject(nullptr);
        return false;
    }
    const auto at = std::find(order.begin(), order.end(), focusedObject());
    const int n = static_cast<int>(order.size());
    int index;
    if (at == order.end())
        index = forward ? 0 : n - 1;
    else
        index = (static_cast<int>(at - order.begin()) + (forward ? 1 : n - 1)) % n;
    setFocusedObject(order[static_cast<size_t>(index)]);
    return true;
}

bool tcBench::keyStep(int step, int modifiers)
{
    tcBenchObject *object = focusedObject();
    return object && object->keyStep(step, modifiers);
}

bool tcBench::keyActivate()
{
    tcBenchObject *object = focusedObject();
    return object && object->keyActivate();
}

QString tcBench::toolTipAt(int, int)
{
    return QString();
}

void tcBench::paintFocus(QPainter &painter, const QRect &dirty) const
{
    const tcBenchObject *object = focusedObject();
    if (!object)
        return;
    const QRect mark = focusRect(object);
    if (!mark.intersects(dirty))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(QColor::fromRgba(m_focusColour), 1.5);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(mark).adjusted(1, 1, -1, -1), 4, 4);
    painter.restore();
}

tcBenchObject *tcBench::findObject(const NameString &id) const
{
    for (tcBenchObject *object : m_objects) {
        if (object->id() == id)
            return object;
    }
    return nullptr;
}

tcBenchObject *tcBench::findObject(const NameString &id, int typeCode) const
{
    tcBenchObject *object = findObject(id);
    return object && object->typeCode() == typeCode ? object : nullptr;
}

bool tcBench::usableScale(double factor)
{
    // Outside this range a window is too small to see or too large to allocate, and the
    // coordinates of a skin no longer fit an int.
    return std::isfinite(factor) && factor >= kMinScale && factor <= kMaxScale;
}

void tcBench::setScaling(bool on, float sx, float sy)
{
    m_scaling = on && usableScale(sx) && usableScale(sy);
    m_sx = m_scaling ? sx : 1.0f;
    m_sy = m_scaling ? sy : 1.0f;
}

int tcBench::toWidgetX(int v) const
{
    return m_scaling ? static_cast<int>(m_sx * v + 0.5f) : v;
}

int tcBench::toWidgetY(int v) const
{
    return m_scaling ? static_cast<int>(m_sy * v + 0.5f) : v;
}

int tcBench::toSkinX(int v) const
{
    return m_scaling ? static_cast<int>(v / m_sx + 0.5f) : v;
}

int tcBench::toSkinY(int v) const
{
    return m_scaling ? static_cast<int>(v / m_sy + 0.5f) : v;
}

QRect tcBench::toWidgetRect(const QRect &r) const
{
    if (!m_scaling)
        return r;
    // Every widget pixel the skin rectangle touches, even in part: a pixel left out would keep its
    // old picture.
    const int left = static_cast<int>(std::floor(r.left() * double(m_sx)));
    const int top = static_cast<int>(std::floor(r.top() * double(m_sy)));
    const int right = static_cast<int>(std::ceil((r.right() + 1) * double(m_sx))) - 1;
    const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) * double(m_sy))) - 1;

    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void tcBench::setFonts(const QFont &header, const QFont &fixed)
{
    m_headerFont = header;
    m_fixedFont = fixed;
    m_hasFonts = true;
}
