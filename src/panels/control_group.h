// tcControlGroup: one control panel of the product bench. It binds a constant list of skin objects
// (by number and skin name) to processor parameters: the user's actions on those objects arrive as
// the virtual "on ..." operations, and values from the processor reach the objects through set
// position, set check and the refresh operations. Panels hold no values of their own; everything
// shown comes from the live parameter set. The bench owns its panels; a panel never owns objects.
#pragma once

#include "panels/object_lists.h"
#include "skin/name_string.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <vector>

class QPainter;
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

class tcControlGroup : public QObject
{
    Q_OBJECT
public:
    struct Entry
    {
        uint32_t number;
        NameString name;
        tcGuiObject *object; // none when the skin has no object of that name
    };

    // Binds every listed name found on the bench: back-references and callbacks by type.
    tcControlGroup(tcKelBench *bench, const ControlObjectDef *list, uint32_t argument = 0);
    ~tcControlGroup() override;

    // Ranges, units and first values of every object; the bench calls it once after construction.
    virtual void init() = 0;
    virtual void refreshAll() {}
    virtual void refreshDerived() {}
    virtual void setVisible(bool visible);
    virtual void lock(bool /*locked*/) {}
    virtual void setPosition(int number, uint32_t raw);
    virtual void setCheck(int number, bool state);
    virtual void setUpGraph(tcGuiApGraph *graph);
    virtual void onButton(int /*number*/) {}
    virtual void onKnob(int /*number*/, int /*position*/) {}
    virtual void onCombo(int /*number*/, int /*value*/) {}
    virtual void onComboText(int /*number*/, const char * /*text*/) {}
    virtual void onCheck(int /*number*/, bool /*state*/) {}
    virtual void onRadio(int /*number*/, int /*item*/) {}
    virtual void onDisplayText(int /*number*/, const char * /*text*/) {}
    virtual void onDisplayActivate(int /*number*/) {}
    virtual int knobOfDisplay(int /*display*/) { return -1; }

    tcKelBench *bench() const { return m_bench; }
    bool isVisible() const { return m_visible; }
    uint32_t argument() const { return m_argument; }
    const std::vector<Entry> &entries() const { return m_entries; }
    // Paints the visible objects that meet the skin rectangle, in entry order.
    void paint(QPainter &painter, const QRect &dirty) const;

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
    // Range from the parameter's raw minimum and maximum, position (and label) through set
    // position, the display marked valid with its units.
    void bindKnob(int knob, int display, uint16_t id, const char *units);
    // The parameter's label, as the displays show it.
    QString label(uint16_t id) const;
    // The locked look of the listed objects (state word 2 when locked, 0 when not).
    void lockObjects(std::initializer_list<int> numbers, bool locked);

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

private:
    template <class T> T *findTyped(int number, int typeCode) const;
    void bind(Entry &entry);

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
