#include "panels/control_tips.h"

#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_object.h"
#include "panels/control_group.h"
#include "tables/settings_table.h"

#include <algorithm>
#include <cstring>

using orba::panels::Binding;
using orba::panels::Source;

namespace orba::panels {

namespace {

struct Purpose
{
    const char *name;
    const char *text;
};

constexpr Purpose kPurposes[] = {
    {"SYS_ABOUT", "About ORBA Remote"},
    {"SYS_MINIMIZE", "Minimise the window"},
    {"SYS_EXIT", "Exit ORBA Remote (Ctrl+Q)"},
    {"STAT_ONLINE", "Connection to the processor"},
    {"STAT_DEVICE", "Device in use; double-click to choose another"},
    {"STAT_PRESET", "Current preset of the processor; double-click for the preset library"},
    {"GRAPH", "Main graph: spectrum, gain reduction or the controls of the screen shown"},
    {"FLOW_INPUT", "Show the input screen"},
    {"FLOW_PEQ", "Show the parametric equaliser screen"},
    {"FLOW_COMP", "Show the AGC / compressor screen"},
    {"FLOW_HD_OUT", "Show the HD output screen"},
    {"FLOW_AM_OUT", "Show the AM output screen"},
    {"FLOW_AM_TX", "Show the AM transmitter screen"},
    {"FLOW_SYSTEM", "Show the system screen"},
    {"GRAPH_INPUT", "Graph the processor's input"},
    {"GRAPH_PDOUT", "Graph the processor's output"},
    {"GRAPH_VIEW_AUDIO", "Show the audio spectrum on the main graph"},
    {"GRAPH_VIEW_GR", "Show the gain reduction on the main graph"},
    {"GRAPH_VIEW_CNTRLS", "Show the controls of the screen on the main graph"},
    {"GRAPH_VIEW_LR", "Graph the left and right channels apart"},
    {"GRAPH_VIEW_OSCOPE", "Show the oscilloscope on the main graph"},
    {"SAVE", "Save the live settings as a preset in the processor (Ctrl+S)"},
    {"TAKE", "Take a preset from the processor or from a favourite folder (Ctrl+T)"},
    {"QSAVEA", "Quick-save memory A: switch to it, keeping the settings in use in the other"},
    {"QSAVEB", "Quick-save memory B: switch to it, keeping the settings in use in the other"},
    {"QSAVEAB", "Copy the quick-save memory in use into the other"},
    {"PRESETS", "Open the preset library"},
    {"DEVICES", "Choose, add or edit devices"},
    {"ONLINE", "On-line mode: connect to the device in use"},
    {"METER_IN_RANGE", "Wide range for the input meter"},
    {"METER_IN", "Input level"},
    {"METER_GR", "Gain reduction"},
    {"METER_AM", "AM output level"},
    {"METER_HD", "HD output level"},
    {"GR_CHOICE", "What the gain-reduction meter shows"},
    {"AM_CHOICE", "What the AM meter shows"},
    {"STATUS_TEMP", "Processor temperature"},
    {"STATUS_ANA", "Analog input status"},
    {"STATUS_AES", "AES input status"},
    {"INPUT_ANA_FAIL", "Analog input status"},
    {"INPUT_AES_FAIL", "AES input status"},
    {"TCP_METERS", "Receive the meters over the control connection instead of UDP"},
    {"SKIN", "Choose the skin of the window"},
    {"PASSWORDS", "Set the processor's login password"},
    {"FPPASSWD", "Set the processor's front-panel code"},
    {"GUIACCESS", "Set the access code and what the lock guards"},
    {"GUILOCK", "Lock the controls with the access code"},
    {"EVENTSCHED", "Open the event scheduler"},
    {"TIME_SET", "Set the processor's clock"},
    {"COMP_GRAPH", "AGC and compressor transfer curves"},
    {"COMP_TYPE_A_ATT", "Edit the AGC attack of the five bands on the main graph"},
    {"COMP_TYPE_A_REL", "Edit the AGC release of the five bands on the main graph"},
    {"COMP_TYPE_A_FRZ", "Edit the AGC freeze level of the five bands on the main graph"},
    {"COMP_TYPE_C_THR", "Edit the compressor threshold of the five bands on the main graph"},
    {"COMP_TYPE_C_ATT", "Edit the compressor attack of the five bands on the main graph"},
    {"COMP_TYPE_C_REL", "Edit the compressor release of the five bands on the main graph"},
    {"COMP_TYPE_C_RAT", "Edit the compressor ratio of the five bands on the main graph"},
    {"COMP_TYPE_C_OUT", "Edit the compressor output of the five bands on the main graph"},
    {"COMP_TYPE_C_DOUT", "Edit the compressor delta output of the five bands on the main graph"},
    {"AMHD_GRAPH", "HD equaliser: drag a section's handle to edit it"},
    {"FMO_GRAPH", "AM output graph"},
    {"FMO_DELAY_C_KNOB", "Delay, coarse"},
    {"FMO_DELAY_F_KNOB", "Delay, fine"},
    {"FMO_DELAY_DSPY", "Delay"},
    {"FMO_MBLIM_TYPE_THR", "Edit the multiband limiter thresholds on the main graph"},
    {"FMO_MBLIM_TYPE_CLP", "Edit the multiband limiter clip levels on the main graph"},
    {"FMO_MBLIM_TYPE_ATT", "Edit the multiband limiter attack times on the main graph"},
    {"FMO_MBLIM_TYPE_REL", "Edit the multiband limiter release times on the main graph"},
    {"FMO_MBLIM_TYPE_EQ", "Edit the multiband equaliser on the main graph"},
};

struct GlobalTitle
{
    unsigned id;
    const char *text;
};

constexpr GlobalTitle kGlobalTitles[] = {
    {1003, "System Follow"},
    {1006, "Oscilloscope"},
    {1007, "Graph Source"},
    {1008, "Delay"},
    {1009, "Headphone Source"},
    {1010, "Headphone Level"},
    {1015, "Input Failover"},
    {1027, "Test Oscillator Frequency"},
    {1028, "Test Oscillator Level"},
    {1029, "Test Oscillator"},
    {1030, "Test Tilt"},
};

} // namespace

const char *controlPurpose(const char *name)
{
    for (const Purpose &p : kPurposes) {
        if (std::strcmp(p.name, name) == 0)
            return p.text;
    }
    return nullptr;
}

const char *globalTitle(unsigned id)
{
    for (const GlobalTitle &g : kGlobalTitles) {
        if (g.id == id)
            return g.text;
    }
    return nullptr;
}

} // namespace orba::panels

namespace {

// The value with its units, unless the text carries them already or is no number ("OFF").
QString withUnits(QString value, const char *units)
{
    value = value.trimmed();
    const QString u = QString::fromLatin1(units).trimmed();
    const bool number = std::any_of(value.begin(), value.end(), [](QChar c) { return c.isDigit(); });
    if (!u.isEmpty() && number && !value.endsWith(u, Qt::CaseInsensitive))
        value += QLatin1Char(' ') + u;
    return value;
}

} // namespace

QString tcControlGroup::valueText(const Binding &b) const
{
    // A knob's display shows what the knob means; the tooltip says the same.
    if (b.display)
        if (tcGuiDisplay *d = findDisplay(b.display); d && !d->caption().trimmed().isEmpty())
            return withUnits(d->caption(), b.units);
    // A choice says what it shows.
    if (tcGuiCombo *c = b.kind == kGuiCombo ? findCombo(int(b.number)) : nullptr) {
        const QString shown = c->type() == tcGuiCombo::kUser                      ? c->userText()
                              : c->index() >= 0 && c->index() < c->items().size() ? c->items()[c->index()]
                                                                                  : QString();
        if (!shown.trimmed().isEmpty() || !b.isSetting())
            return shown.trimmed();
    }
    // Globals have no labels of their own: a switch says on or off.
    if (b.isGlobal() && b.kind == kGuiCheckBox)
        if (tcGuiCheckBox *box = findCheckBox(int(b.number)))
            return box->checked() ? QStringLiteral("on") : QStringLiteral("off");
    if (b.source == Source::None)
        return QString();
    return withUnits(label(b), b.units);
}

QString tcControlGroup::toolTip(const Entry &entry) const
{
    if (!entry.object || !entry.binding)
        return QString();
    const Binding &b = *entry.binding;
    // A value display speaks for its knob.
    if (b.kind == kGuiDisplay) {
        for (const Entry &e : m_entries) {
            if (e.binding && e.binding->display == int(b.number) && e.object)
                return toolTip(e);
        }
    }
    // A radio item speaks for its group's parameter, a lamp for the choice whose entry it marks.
    if ((b.kind == kGuiRadioItem || b.kind == kGuiLamp) && b.group != 0 &&
        b.route == orba::panels::Route::Show)
        if (const Binding *group = binding(b.group); group && group->source != Source::None)
            return toolTip(Entry{group->number, NameString(group->name), entry.object, group});
    // Headings, pictures and lone lamps only repeat what they show, unless the table says more.
    const char *purpose = orba::panels::controlPurpose(b.name);
    if (!purpose && (b.kind == kGuiLabel || b.kind == kGuiImage || b.kind == kGuiLamp))
        return QString();

    QString title;
    if (purpose)
        title = QString::fromLatin1(purpose);
    else if (b.isSetting())
        title = QString::fromLatin1(orba::settingName(b.id));
    else if (b.isGlobal())
        if (const char *name = orba::panels::globalTitle(b.id))
            title = QString::fromLatin1(name);
    if (title.isEmpty())
        title = entry.object->caption().simplified();
    if (title.isEmpty())
        return QString();

    QString value;
    switch (b.kind) {
    case kGuiButton:
    case kGuiMeter:
    case kGuiApGraph:
    case kGuiDynGraph:
    case kGuiRadioItem:
        break;
    case kGuiDisplay:
    case kGuiLamp:
        value = entry.object->caption().simplified();
        break;
    default:
        value = valueText(b);
        break;
    }
    return value.isEmpty() ? title : title + QStringLiteral(": ") + value;
}
