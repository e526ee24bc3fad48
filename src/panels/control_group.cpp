#include "panels/control_group.h"

#include "gui/gui_apgraph.h"
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
#include "panels/kel_bench.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <QPainter>

tcControlGroup::tcControlGroup(tcKelBench *bench, const ControlObjectDef *list, uint32_t argument)
    : m_bench(bench), m_argument(argument)
{
    for (const ControlObjectDef *d = list; d && d->number != 0; ++d) {
        Entry entry{d->number, NameString(d->name), nullptr};
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

void tcControlGroup::setPosition(int number, uint32_t raw)
{
    if (tcGuiKnob *knob = findKnob(number))
        knob->setValue(int(raw));
    else if (tcGuiSlider *slider = findSlider(number))
        slider->setValue(int(raw));
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
    graph->setExtraTitle(QString(), true);
}

void tcControlGroup::paint(QPainter &painter, const QRect &dirty) const
{
    for (const Entry &e : m_entries) {
        if (e.object && e.object->intersects(dirty))
            e.object->draw(painter);
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

void tcControlGroup::bindKnob(int knob, int display, uint16_t id, const char *units)
{
    setKnobRange(knob, int(live().getRawMin(id)), int(live().getRawMax(id)));
    setPosition(knob, live().getRaw(id));
    setDisplayValid(display, true);
    setDisplayUnits(display, QString::fromLatin1(units));
}

void tcControlGroup::lockObjects(std::initializer_list<int> numbers, bool locked)
{
    for (int n : numbers) {
        if (tcGuiObject *o = findObject(n))
            o->setDisabledState(locked ? tcGuiObject::kDisabledLook : 0);
    }
}
