#include "panels/control_group.h"

#include "gui/gui_apgraph.h"
#include "gui/gui_axis.h"
#include "gui/gui_button.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_dyngraph.h"
#include "gui/gui_image.h"
#include "gui/gui_knob.h"
#include "gui/gui_lamp.h"
#include "gui/gui_meter.h"
#include "gui/gui_radiogroup.h"
#include "gui/gui_radioitem.h"
#include "gui/gui_slider.h"
#include "panels/binding_table.h"
#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "panels/kel_bench.h"
#include "tables/globals_map.h"
#include "tables/map_types.h"
#include "tables/settings_map.h"
#include "tables/value_tables.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using orba::panels::Binding;
using orba::panels::Source;

tcControlGroup::tcControlGroup(tcKelBench *bench, int screen, uint32_t argument)
    : m_bench(bench), m_argument(argument)
{
    for (const Binding &b : orba::panels::kBindings) {
        if (b.screen != screen)
            continue;
        Entry entry{b.number, NameString(b.name), nullptr, &b};
        entry.object = tcGuiObject::find(bench, entry.name);
        if (entry.object)
            bind(entry);
        m_entries.push_back(entry);
    }
}

tcControlGroup::~tcControlGroup() = default;

void tcControlGroup::bind(Entry &entry)
{
    tcGuiObject *o = entry.object;
    o->setCallbackContext(this);
    o->setControlId(int(entry.number));
    switch (o->typeCode()) {
    case kGuiButton:
        static_cast<tcGuiButton *>(o)->setCallbacks(&cbButton, nullptr);
        break;
    case kGuiCheckBox:
        static_cast<tcGuiCheckBox *>(o)->setCallback(&cbCheck);
        break;
    case kGuiDisplay:
        static_cast<tcGuiDisplay *>(o)->setCallbacks(&cbDisplayText, &cbDisplayActivate);
        break;
    case kGuiKnob:
        static_cast<tcGuiKnob *>(o)->setCallback(&cbKnob);
        break;
    case kGuiSlider:
        static_cast<tcGuiSlider *>(o)->setCallback(&cbKnob);
        break;
    case kGuiCombo:
        static_cast<tcGuiCombo *>(o)->setCallbacks(&cbCombo, &cbComboText, nullptr);
        break;
    case kGuiRadioGroup:
        static_cast<tcGuiRadioGroup *>(o)->setCallback(&cbRadio);
        break;
    default:
        break;
    }
}

void tcControlGroup::cbButton(void *context, int number)
{
    static_cast<tcControlGroup *>(context)->onButton(number);
}

void tcControlGroup::cbCheck(void *context, int number, bool state)
{
    static_cast<tcControlGroup *>(context)->onCheck(number, state);
}

void tcControlGroup::cbDisplayText(void *context, int number, const char *text)
{
    static_cast<tcControlGroup *>(context)->onDisplayText(number, text);
}

void tcControlGroup::cbDisplayActivate(void *context, int number)
{
    static_cast<tcControlGroup *>(context)->onDisplayActivate(number);
}

void tcControlGroup::cbKnob(void *context, int number, int position)
{
    static_cast<tcControlGroup *>(context)->onKnob(number, position);
}

void tcControlGroup::cbCombo(void *context, int number, int value)
{
    static_cast<tcControlGroup *>(context)->onCombo(number, value);
}

void tcControlGroup::cbComboText(void *context, int number, const char *text)
{
    static_cast<tcControlGroup *>(context)->onComboText(number, text);
}

void tcControlGroup::cbRadio(void *context, int number, int item)
{
    static_cast<tcControlGroup *>(context)->onRadio(number, item);
}

SETTINGS_MAP &tcControlGroup::live() const
{
    return *m_bench->environment().live;
}

GLOBALS_MAP &tcControlGroup::globals() const
{
    return *m_bench->environment().globals;
}

IniStore *tcControlGroup::settings() const
{
    return m_bench->environment().settings;
}

void tcControlGroup::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    for (const Entry &e : m_entries) {
        if (e.object)
            e.object->setVisible(visible);
    }
}

// Only shows: it also runs when a value from the processor is shown, and a write from there could
// put back an older value over a newer one. The user's edits are written in onKnob.
void tcControlGroup::setPosition(int number, uint32_t raw)
{
    if (tcGuiKnob *knob = findKnob(number))
        knob->setValue(int(raw));
    else if (tcGuiSlider *slider = findSlider(number))
        slider->setValue(int(raw));
    if (const Binding *b = binding(number); b && b->display && b->source != Source::None)
        setDisplayText(b->display, label(*b));
}

void tcControlGroup::setCheck(int number, bool state)
{
    if (tcGuiCheckBox *box = findCheckBox(number))
        box->setChecked(state);
}

void tcControlGroup::setUpGraph(tcGuiApGraph *graph)
{
    if (!graph)
        return;
    graph->setDragger(nullptr, false);
    graph->setCustomAxes(nullptr, nullptr, false);
    graph->setExtraTitle(QString(), true);
}

void tcControlGroup::paint(QPainter &painter, const QRect &dirty) const
{
    for (const Entry &e : m_entries) {
        if (e.object && e.object->intersects(dirty))
            e.object->draw(painter);
    }
}

void tcControlGroup::addOpaqueAreas(QRegion &region, const QRect &dirty) const
{
    for (const Entry &e : m_entries) {
        if (e.object) {
            const QRegion opaque = e.object->opaqueArea();
            if (opaque.intersects(dirty))
                region += opaque;
        }
    }
}

tcGuiObject *tcControlGroup::findObject(int number) const
{
    for (const Entry &e : m_entries) {
        if (int(e.number) == number)
            return e.object;
    }
    return nullptr;
}

template <class T> T *tcControlGroup::findTyped(int number, int typeCode) const
{
    tcGuiObject *o = findObject(number);
    return o && o->typeCode() == typeCode ? static_cast<T *>(o) : nullptr;
}

tcGuiButton *tcControlGroup::findButton(int n) const
{
    return findTyped<tcGuiButton>(n, kGuiButton);
}
tcGuiLamp *tcControlGroup::findLamp(int n) const
{
    return findTyped<tcGuiLamp>(n, kGuiLamp);
}
tcGuiCheckBox *tcControlGroup::findCheckBox(int n) const
{
    return findTyped<tcGuiCheckBox>(n, kGuiCheckBox);
}
tcGuiDisplay *tcControlGroup::findDisplay(int n) const
{
    return findTyped<tcGuiDisplay>(n, kGuiDisplay);
}
tcGuiKnob *tcControlGroup::findKnob(int n) const
{
    return findTyped<tcGuiKnob>(n, kGuiKnob);
}
tcGuiSlider *tcControlGroup::findSlider(int n) const
{
    return findTyped<tcGuiSlider>(n, kGuiSlider);
}
tcGuiCombo *tcControlGroup::findCombo(int n) const
{
    return findTyped<tcGuiCombo>(n, kGuiCombo);
}
tcGuiRadioGroup *tcControlGroup::findRadioGroup(int n) const
{
    return findTyped<tcGuiRadioGroup>(n, kGuiRadioGroup);
}
tcGuiRadioItem *tcControlGroup::findRadioItem(int n) const
{
    return findTyped<tcGuiRadioItem>(n, kGuiRadioItem);
}
tcGuiMeter *tcControlGroup::findMeter(int n) const
{
    return findTyped<tcGuiMeter>(n, kGuiMeter);
}
tcGuiApGraph *tcControlGroup::findApGraph(int n) const
{
    return findTyped<tcGuiApGraph>(n, kGuiApGraph);
}
tcGuiDynGraph *tcControlGroup::findDynGraph(int n) const
{
    return findTyped<tcGuiDynGraph>(n, kGuiDynGraph);
}
void tcControlGroup::setDisplayText(int number, const QString &text)
{
    if (tcGuiDisplay *d = findDisplay(number))
        d->setCaption(text);
}

void tcControlGroup::setDisplayUnits(int number, const QString &units)
{
    if (tcGuiDisplay *d = findDisplay(number))
        d->setUnits(units);
}

void tcControlGroup::setDisplayValid(int number, bool valid)
{
    if (tcGuiDisplay *d = findDisplay(number))
        d->setEditable(valid);
}

std::unique_ptr<tcGuiAxis> tcControlGroup::rangeAxis(const char *title, uint16_t id, int height) const
{
    const float lo = live().indexToFloat(id, live().getRawMin(id));
    const float hi = live().indexToFloat(id, live().getRawMax(id));
    auto axis = std::make_unique<tcGuiAxis>(QString::fromLatin1(title), tcGuiAxis::kLinear, height, lo, hi);
    constexpr int kTicks = 5;
    const float span = hi - lo;
    // As many decimals as the span needs, trailing zeros dropped, never an exponent: the gutter
    // is narrow.
    const int decimals = std::abs(span) >= 50.0f ? 0 : std::abs(span) >= 5.0f ? 1 : 2;
    for (int i = 0; i <= kTicks; ++i) {
        const float v = lo + span * float(i) / kTicks;
        QString label = QString::number(double(v), 'f', decimals);
        if (label.contains(QLatin1Char('.'))) {
            while (label.endsWith(QLatin1Char('0')))
                label.chop(1);
            if (label.endsWith(QLatin1Char('.')))
                label.chop(1);
        }
        if (label == QLatin1String("-0"))
            label = QStringLiteral("0");
        axis->addTick(v, tcGuiAxis::kMajor | tcGuiAxis::kGrid | tcGuiAxis::kLabel, label);
    }
    return axis;
}

void tcControlGroup::showGraphControls()
{
    if (tcControlGroupMain *main = bench()->mainPanel()) {
        main->setCheck(Ctl::GRAPH_VIEW_CNTRLS, true);
        if (!(bench()->graphView() & tcGuiApGraph::kResponse))
            main->onCheck(Ctl::GRAPH_VIEW_CNTRLS, true);
    }
}

void tcControlGroup::setDisplayClickable(int number, bool clickable)
{
    if (tcGuiDisplay *d = findDisplay(number))
        d->setDoubleClickable(clickable);
}

void tcControlGroup::setKnobRange(int number, int minimum, int maximum)
{
    if (tcGuiKnob *k = findKnob(number))
        k->setRange(minimum, maximum);
    else if (tcGuiSlider *s = findSlider(number))
        s->setRange(minimum, maximum);
}

void tcControlGroup::setComboIndex(int number, int index)
{
    if (tcGuiCombo *c = findCombo(number))
        c->setIndex(index, false);
}

void tcControlGroup::setComboItems(int number, const QStringList &items)
{
    if (tcGuiCombo *c = findCombo(number))
        c->setItems(items);
}

void tcControlGroup::selectRadioItem(int group, tcGuiRadioItem *item)
{
    if (tcGuiRadioGroup *g = findRadioGroup(group))
        g->select(item);
}

void tcControlGroup::setObjectVisible(int number, bool visible)
{
    if (tcGuiObject *o = findObject(number))
        o->setVisible(visible);
}

void tcControlGroup::setLampText(int number, int state, const QString &text)
{
    if (tcGuiLamp *lamp = findLamp(number)) {
        lamp->setState(state);
        lamp->setCaption(text);
    }
}

void tcControlGroup::setCaption(int number, const QString &text)
{
    if (tcGuiObject *o = findObject(number))
        o->setCaption(text);
}

QString tcControlGroup::label(uint16_t id) const
{
    return QString::fromStdString(live().label(id));
}

QString tcControlGroup::label(const Binding &b) const
{
    if (b.isGlobal())
        return QString::fromStdString(globals().label(b.id));
    return label(b.id);
}

int32_t tcControlGroup::value(const Binding &b) const
{
    if (b.isGlobal())
        return globals().get(b.id);
    return int32_t(live().getRaw(b.id));
}

const Binding *tcControlGroup::binding(int number) const
{
    for (const Entry &e : m_entries) {
        if (int(e.number) == number)
            return e.binding;
    }
    return nullptr;
}

// Bound to a value and edited by the base class.
bool tcControlGroup::plain(const Binding *b) const
{
    return b && b->source != Source::None && !b->has(orba::panels::kBindingOwn);
}

void tcControlGroup::init()
{
    for (const Entry &e : m_entries) {
        if (e.object && e.binding)
            initBinding(*e.binding);
    }
}

void tcControlGroup::initBinding(const Binding &b)
{
    if (b.source == Source::None || b.route == orba::panels::Route::CompRow)
        return;
    const int n = int(b.number);
    switch (b.kind) {
    case kGuiKnob:
    case kGuiSlider:
        if (b.isGlobal())
            setKnobRange(n, b.minimum, b.maximum);
        else
            setKnobRange(n, int(live().getRawMin(b.id)), int(live().getRawMax(b.id)));
        if (b.display) {
            // Typed values need the parameter's value table, which globals do not have.
            setDisplayValid(b.display, b.isSetting());
            setDisplayUnits(b.display, QString::fromLatin1(b.units));
        }
        break;
    case kGuiCombo:
        if (b.isSetting() && !b.has(orba::panels::kBindingStep)) {
            QStringList items;
            if (const MAP_INT *h = live().intHolder(b.id); h && h->labels()) {
                for (uint32_t i = h->minimum(); i <= h->maximum(); ++i)
                    items << QString::fromLatin1(h->labels()[i]).trimmed();
            } else if (const MAP_FLOAT *f = live().floatHolder(b.id); f && f->table()) {
                for (uint32_t i = f->minIndex(); i <= f->maxIndex(); ++i)
                    items << QString::fromLatin1(f->table()[i].label).trimmed();
            }
            setComboItems(n, items);
        }
        break;
    default:
        break;
    }
    if (!b.has(orba::panels::kBindingOwn))
        show(b);
}

void tcControlGroup::show(const Binding &b)
{
    const int n = int(b.number);
    switch (b.kind) {
    case kGuiKnob:
    case kGuiSlider:
        setPosition(n, uint32_t(value(b)));
        break;
    case kGuiCheckBox:
        setCheck(n, value(b) != 0);
        break;
    case kGuiRadioGroup: {
        const int32_t v = value(b);
        tcGuiRadioItem *selected = nullptr;
        for (const Entry &e : m_entries) {
            if (e.binding && e.binding->group == n && e.binding->kind == kGuiRadioItem &&
                e.binding->value == v)
                selected = findRadioItem(int(e.number));
        }
        selectRadioItem(n, selected);
        break;
    }
    case kGuiCombo:
        if (b.has(orba::panels::kBindingStep)) {
            if (tcGuiCombo *c = findCombo(n))
                c->setUserText(label(b).trimmed());
        } else {
            // Entries run from the parameter's first index.
            const int32_t v = b.isGlobal() ? value(b) : int32_t(live().getRaw(b.id) - live().getRawMin(b.id));
            setComboIndex(n, v);
            // The lamps that mark the entry the combo shows.
            for (const Entry &e : m_entries) {
                if (e.binding && e.binding->group == n && e.binding->kind == kGuiLamp)
                    if (tcGuiLamp *lamp = findLamp(int(e.number)))
                        lamp->setState(e.binding->value == v ? 1 : 0);
            }
        }
        break;
    default:
        break;
    }
}

void tcControlGroup::refreshAll()
{
    for (const Entry &e : m_entries) {
        if (e.object && plain(e.binding))
            show(*e.binding);
    }
}

void tcControlGroup::refreshDerived()
{
    for (const Entry &e : m_entries) {
        if (e.object && plain(e.binding) && e.binding->kind == kGuiCombo)
            show(*e.binding);
    }
}

void tcControlGroup::onKnob(int number, int position)
{
    const Binding *b = binding(number);
    if (!plain(b))
        return;
    if (b->isGlobal())
        globals().set(b->id, std::clamp(position, b->minimum, b->maximum), CHANGE_USER);
    else
        live().setIndex(b->id, uint32_t(std::max(position, 0)), CHANGE_USER);
    setPosition(number, uint32_t(value(*b)));
}

void tcControlGroup::onCheck(int number, bool state)
{
    const Binding *b = binding(number);
    if (!plain(b))
        return;
    if (b->isGlobal())
        globals().setBool(b->id, state, CHANGE_USER);
    else
        live().setBool(b->id, state, CHANGE_USER);
    setCheck(number, state);
}

void tcControlGroup::onRadio(int number, int item)
{
    const Binding *group = binding(number);
    const Binding *chosen = binding(item);
    if (!plain(group) || !chosen || chosen->group != number)
        return;
    if (chosen->value != value(*group))
        live().setInt(group->id, uint32_t(chosen->value), CHANGE_USER);
    show(*group);
}

void tcControlGroup::onCombo(int number, int value)
{
    const Binding *b = binding(number);
    if (!plain(b))
        return;
    if (b->has(orba::panels::kBindingStep)) {
        // The arrows step the index, floored at the first entry and held at the last.
        const int64_t next = int64_t(live().getRaw(b->id)) + value;
        const int64_t top = live().getRawMax(b->id);
        live().setIndex(b->id, uint32_t(std::clamp<int64_t>(next, 0, top)), CHANGE_USER);
    } else if (b->isGlobal()) {
        globals().set(b->id, value, CHANGE_USER);
    } else {
        live().setIndex(b->id, live().getRawMin(b->id) + uint32_t(std::max(value, 0)), CHANGE_USER);
    }
    refreshDerived();
}

void tcControlGroup::onComboText(int number, const char *text)
{
    const Binding *b = binding(number);
    if (!plain(b) || !b->has(orba::panels::kBindingStep) || !text)
        return;
    live().setIndex(b->id, live().floatToIndex(b->id, float(std::atof(text))), CHANGE_USER);
    refreshDerived();
}

void tcControlGroup::onDisplayText(int number, const char *text)
{
    const int knob = knobOfDisplay(number);
    const Binding *b = binding(knob);
    if (!plain(b) || !b->isSetting() || !text)
        return;
    onKnob(knob, int(live().floatToIndex(b->id, float(std::atof(text)))));
}

int tcControlGroup::knobOfDisplay(int display)
{
    for (const Entry &e : m_entries) {
        if (e.binding && e.binding->display == display && display != 0)
            return int(e.number);
    }
    return -1;
}

void tcControlGroup::lock(bool locked)
{
    for (const Entry &e : m_entries) {
        if (!e.object || !e.binding || e.binding->access == 0)
            continue;
        switch (e.binding->kind) {
        case kGuiKnob:
        case kGuiSlider:
        case kGuiCheckBox:
        case kGuiCombo:
        case kGuiRadioGroup:
        case kGuiRadioItem:
        case kGuiListbox:
        case kGuiButton:
            e.object->setLockedLook(locked && m_bench->isRestricted(e.binding->access));
            break;
        default:
            break;
        }
    }
}
