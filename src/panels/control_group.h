// tcControlGroup: one control panel of the product bench. It binds the skin objects of its screen in
// the binding table (by number and skin name) to processor parameters and globals. The base class
// handles every plain binding both ways: a processor value moves the control and rewrites its
// display; a user edit writes the parameter, which is then sent. Panels override only their special
// behaviour. Panels hold no values of their own; everything shown comes from the live parameter set.
// The bench owns its panels; a panel never owns objects.
#pragma once

#include "draggers/bar_interface.h"
#include "panels/binding.h"
#include "skin/name_string.h"

#include <QObject>
#include <QRegion>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
class tcGuiAxis;
class QRect;
class tcKelBench;
class tcGuiObject;
class tcGuiButton;
class tcGuiLamp;
class tcGuiCheckBox;
class tcGuiDisplay;
class tcGuiKnob;
class tcGuiSlider;
class tcGuiCombo;
class tcGuiRadioGroup;
class tcGuiRadioItem;
class tcGuiMeter;
class tcGuiApGraph;
class tcGuiDynGraph;
class tcGuiImage;
class SETTINGS_MAP;
class GLOBALS_MAP;
class IniStore;

class tcControlGroup : public QObject, public tcBarInterface
{
    Q_OBJECT
public:
    struct Entry
    {
        uint32_t number;
        NameString name;
        tcGuiObject *object; // none when the skin has no object of that name
        const orba::panels::Binding *binding;
    };

    // Binds every object of the screen's bindings found on the bench: back-references and
    // callbacks by type.
    tcControlGroup(tcKelBench *bench, int screen, uint32_t argument = 0);
    ~tcControlGroup() override;

    // Ranges, units, items and first values of every bound object; the bench calls it once after
    // construction. Panels that override it call it first.
    virtual void init();
    // Every bound object from the stored values.
    virtual void refreshAll();
    // The combos (selections and stepped texts) from the stored values.
    virtual void refreshDerived();
    virtual void setVisible(bool visible);
    // The locked look of the editable objects whose restriction class the lock covers.
    virtual void lock(bool locked);
    virtual void setPosition(int number, uint32_t raw);
    virtual void setCheck(int number, bool state);
    virtual void setUpGraph(tcGuiApGraph *graph);
    virtual void onButton(int /*number*/) {}
    // The user's edits of plain bindings: written with change source 0, then shown.
    void onKnob(int number, int position) override;
    virtual void onCombo(int number, int value);
    virtual void onComboText(int number, const char *text);
    void onCheck(int number, bool state) override;
    virtual void onRadio(int number, int item);
    virtual void onDisplayText(int number, const char *text);
    virtual void onDisplayActivate(int /*number*/) {}
    virtual int knobOfDisplay(int display);
    // A changed value of the binding's id, shown by the object's kind.
    virtual void show(const orba::panels::Binding &binding);
    // The tooltip of a bound object: the parameter's name and the value shown (with units), or
    // what the control does; empty for objects that say nothing.
    virtual QString toolTip(const Entry &entry) const;

    tcKelBench *bench() const { return m_bench; }
    bool isVisible() const { return m_visible; }
    uint32_t argument() const { return m_argument; }
    const std::vector<Entry> &entries() const { return m_entries; }
    const orba::panels::Binding *binding(int number) const;
    // Paints the visible objects that meet the skin rectangle, in entry order.
    void paint(QPainter &painter, const QRect &dirty) const;
    // Adds the opaque areas of its objects that meet `dirty` (tcBenchObject::opaqueArea).
    void addOpaqueAreas(QRegion &region, const QRect &dirty) const;

    // Lookups; none when the panel has no object of that number and type.
    tcGuiObject *findObject(int number) const;
    tcGuiButton *findButton(int number) const;
    tcGuiLamp *findLamp(int number) const;
    tcGuiCheckBox *findCheckBox(int number) const;
    tcGuiDisplay *findDisplay(int number) const;
    tcGuiKnob *findKnob(int number) const;
    tcGuiSlider *findSlider(int number) const;
    tcGuiCombo *findCombo(int number) const;
    tcGuiRadioGroup *findRadioGroup(int number) const;
    tcGuiRadioItem *findRadioItem(int number) const;
    tcGuiMeter *findMeter(int number) const;
    tcGuiApGraph *findApGraph(int number) const;
    tcGuiDynGraph *findDynGraph(int number) const;

    // Helpers; each does nothing when the object is missing.
    void setDisplayText(int number, const QString &text);
    void setDisplayUnits(int number, const QString &units);
    void setDisplayValid(int number, bool valid);
    void setDisplayClickable(int number, bool clickable);
    void setKnobRange(int number, int minimum, int maximum);
    void setComboIndex(int number, int index);
    void setComboItems(int number, const QStringList &items);
    void selectRadioItem(int group, tcGuiRadioItem *item);
    void setObjectVisible(int number, bool visible);
    void setLampText(int number, int state, const QString &text);
    void setCaption(int number, const QString &text);
    // The label of the binding's current value, as the displays show it.
    QString label(const orba::panels::Binding &binding) const;
    QString label(uint16_t id) const;
    // The bound value: raw index of a parameter, or the global's value.
    int32_t value(const orba::panels::Binding &binding) const;

signals:
    void sig_exit_app();
    void sig_minimize();
    void sig_about();
    void sig_pset_save();
    void sig_pset_take();
    void sig_pset_dlg();
    void sig_device_dlg();
    void sig_online();
    void sig_password();
    void sig_fppasswd();
    void sig_gui_access();
    void sig_gui_lock();
    void sig_choose_skin();
    void sig_event_dlg();
    void sig_time_set();

protected:
    SETTINGS_MAP &live() const;
    GLOBALS_MAP &globals() const;
    IniStore *settings() const;
    // A graph row's value axis: the parameter's whole range in six labelled steps.
    std::unique_ptr<tcGuiAxis> rangeAxis(const char *title, uint16_t id, int height) const;
    // Rows are edited on the main graph: turn its controls view on.
    void showGraphControls();

private:
    template <class T> T *findTyped(int number, int typeCode) const;
    void bind(Entry &entry);
    void initBinding(const orba::panels::Binding &b);
    bool plain(const orba::panels::Binding *b) const;
    QString valueText(const orba::panels::Binding &b) const;

    static void cbButton(void *context, int number);
    static void cbCheck(void *context, int number, bool state);
    static void cbDisplayText(void *context, int number, const char *text);
    static void cbDisplayActivate(void *context, int number);
    static void cbKnob(void *context, int number, int position);
    static void cbCombo(void *context, int number, int value);
    static void cbComboText(void *context, int number, const char *text);
    static void cbRadio(void *context, int number, int item);

    tcKelBench *m_bench;
    bool m_visible = false;
    std::vector<Entry> m_entries;
    uint32_t m_argument;
};
