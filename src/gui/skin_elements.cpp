#include "gui/skin_elements.h"

#include "gui/gui_apgraph.h"
#include "gui/gui_button.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_dyngraph.h"
#include "gui/gui_image.h"
#include "gui/gui_knob.h"
#include "gui/gui_label.h"
#include "gui/gui_lamp.h"
#include "gui/gui_listbox.h"
#include "gui/gui_meter.h"
#include "gui/gui_radiogroup.h"
#include "gui/gui_radioitem.h"
#include "gui/gui_slider.h"
#include "skin/bench_master.h"
#include "skin/skin_source.h"
#include "skin/skin_values.h"

#include <cstring>

namespace {

using orba::skin::numberFlag;
using orba::skin::textFlag;
using B = tcBenchMaster;
using F = SkinParseFrame;

template <class T> T &as(F &f)
{
    return *static_cast<T *>(static_cast<tcGuiObject *>(f.target));
}

bool is(const char *a, const char *b)
{
    return std::strcmp(a, b) == 0;
}

// Finds the object of that id or creates one; an object of another class keeps its attributes.
template <class T, int Code> bool objectStart(B &b, const F &, F &f, const char *element, const char *id)
{
    if (tcBenchObject *found = b.findObject(id)) {
        if (found->typeCode() != Code) {
            b.report("ERROR: Object \"%s\" on line %d of the skin file uses the id \"%s\" of another kind of "
                     "object.",
                     element, b.currentLine(), id);
            return false;
        }
        f.target = static_cast<tcGuiObject *>(found);
        return true;
    }
    tcGuiObject *object = new T(NameString(id), &b, b.takeSerial());
    b.appendObject(object);
    f.target = object;
    return true;
}

bool radioItemStart(B &b, const F &parent, F &f, const char *element, const char *id)
{
    if (!objectStart<tcGuiRadioItem, kGuiRadioItem>(b, parent, f, element, id))
        return false;
    if (parent.target)
        static_cast<tcGuiRadioGroup *>(static_cast<tcGuiObject *>(parent.target))
            ->addItem(&as<tcGuiRadioItem>(f));
    return true;
}

// An image reference: the image of that id, created empty when it is not defined yet.
tcGuiImage *imageRef(B &b, const char *id)
{
    if (!id || !*id)
        return nullptr;
    if (tcBenchObject *found = b.findObject(id)) {
        if (found->typeCode() == kGuiImage)
            return static_cast<tcGuiImage *>(static_cast<tcGuiObject *>(found));
        b.report("ERROR: Image \"%s\" on line %d of the skin file names an object that is no image.", id,
                 b.currentLine());
        return nullptr;
    }
    auto *image = new tcGuiImage(NameString(id), &b, b.takeSerial());
    b.appendObject(image);
    return image;
}

// Common attributes of every object.
void posX(B &b, F &f, const char *v)
{
    as<tcGuiObject>(f).setX(b.number(v));
}
void posY(B &b, F &f, const char *v)
{
    as<tcGuiObject>(f).setY(b.number(v));
}
void posW(B &b, F &f, const char *v)
{
    as<tcGuiObject>(f).setWidth(b.number(v));
}
void posH(B &b, F &f, const char *v)
{
    as<tcGuiObject>(f).setHeight(b.number(v));
}
void textValue(B &, F &f, const char *v)
{
    as<tcGuiObject>(f).setCaptionText(v);
}
void textX(B &b, F &f, const char *v)
{
    as<tcGuiObject>(f).setTextX(b.number(v));
}
void textY(B &b, F &f, const char *v)
{
    as<tcGuiObject>(f).setTextY(b.number(v));
}
void textColor(B &b, F &f, const char *v)
{
    as<tcGuiObject>(f).setCaptionColour(b.colourValue(v));
}
void textFont(B &b, F &f, const char *v)
{
    as<tcGuiObject>(f).setFont(b.findFont(v));
}
void textAlign(B &, F &f, const char *v)
{
    as<tcGuiObject>(f).setAlignment(orba::skin::parseAlignment(v));
}
template <class T> void picture(B &b, F &f, const char *v)
{
    as<T>(f).setPicture(imageRef(b, v));
}
template <class T> void listFont(B &b, F &f, const char *v)
{
    as<T>(f).setListFont(b.findFont(v));
}

const SkinAttr kPosXY[] = {{"x", &posX}, {"y", &posY}};
const SkinAttr kPosXYWH[] = {{"x", &posX}, {"y", &posY}, {"w", &posW}, {"h", &posH}};
const SkinAttr kText[] = {{"value", &textValue}, {"x", &textX},       {"y", &textY},
                          {"color", &textColor}, {"font", &textFont}, {"align", &textAlign}};

// Button, lamp, check box, knob, label.
const SkinAttr kButtonMode[] = {
    {"autorepeat", [](B &, F &f, const char *v) { as<tcGuiButton>(f).setModeFlag(textFlag(v)); }}};
const SkinAttr kButtonBitmap[] = {{"image", &picture<tcGuiButton>}};
const SkinAttr kLampBitmap[] = {{"image", &picture<tcGuiLamp>}};
const SkinAttr kCheckBitmap[] = {{"image", &picture<tcGuiCheckBox>}};
const SkinAttr kKnobBitmap[] = {{"image", &picture<tcGuiKnob>}};
const SkinAttr kKnobElement[] = {{"type", [](B &, F &f, const char *v) {
                                      static const char *const names[] = {
                                          "SIMPLE",      "RING_DOT", "RING_BAR", "RING_REBAR",
                                          "RING_SPREAD", "RING_Q",   "RING_PAN"};
                                      for (int i = 0; i < 7; ++i)
                                          if (is(v, names[i]))
                                              as<tcGuiKnob>(f).setRingStyle(i);
                                  }}};
const SkinAttr kLabelBitmap[] = {{"image", &picture<tcGuiLabel>}, {"w", &posW}, {"h", &posH}};

// Slider.
const SkinAttr kSliderPosition[] = {
    {"x", &posX}, {"y", &posY}, {"direction", [](B &, F &f, const char *v) {
                                     if (is(v, "vert"))
                                         as<tcGuiSlider>(f).setHorizontal(false);
                                     else if (is(v, "horz"))
                                         as<tcGuiSlider>(f).setHorizontal(true);
                                 }}};
const SkinAttr kSliderBitmap[] = {
    {"rail", [](B &b, F &f, const char *v) { as<tcGuiSlider>(f).setRail(imageRef(b, v)); }},
    {"thumb", [](B &b, F &f, const char *v) { as<tcGuiSlider>(f).setThumb(imageRef(b, v)); }}};

// Display.
template <int State, bool Bg> void displayColour(B &b, F &f, const char *v)
{
    tcGuiDisplay::Colours &set = as<tcGuiDisplay>(f).colours(State);
    if (Bg) {
        set.transparent = is(v, "TRANSPARENT");
        if (!set.transparent)
            set.bg = b.colourValue(v);
    } else {
        set.fg = b.colourValue(v);
    }
}
const SkinAttr kDisplayText[] = {{"font", &textFont}};
const SkinAttr kDisplayColor[] = {
    {"fg", &displayColour<0, false>},       {"bg", &displayColour<0, true>},
    {"fg_error", &displayColour<1, false>}, {"bg_error", &displayColour<1, true>},
    {"fg_warn", &displayColour<2, false>},  {"bg_warn", &displayColour<2, true>},
    {"fg_note", &displayColour<3, false>},  {"bg_note", &displayColour<3, true>}};
const SkinAttr kDisplayMode[] = {
    {"marquee", [](B &, F &f, const char *v) { as<tcGuiDisplay>(f).setModeFlag(textFlag(v)); }},
    {"editable", [](B &, F &f, const char *) { as<tcGuiDisplay>(f).setEditable(true); }},
    {"units", [](B &, F &f, const char *v) { as<tcGuiDisplay>(f).setUnits(QString::fromUtf8(v)); }},
    {"dlgregexp", [](B &, F &f, const char *v) { as<tcGuiDisplay>(f).setPattern(QString::fromUtf8(v)); }},
    {"dclickable", [](B &, F &f, const char *v) { as<tcGuiDisplay>(f).setDoubleClickable(textFlag(v)); }}};

// Combo and list box.
template <class T, QRgb GuiListColours::*Field> void listColour(B &b, F &f, const char *v)
{
    as<T>(f).colours().*Field = b.colourValue(v);
}
#define ORBA_LIST_COLOURS(T)                                                                                 \
    {"fg", &listColour<T, &GuiListColours::fg>}, {"bg", &listColour<T, &GuiListColours::bg>},                \
        {"fg_list", &listColour<T, &GuiListColours::fgList>},                                                \
        {"bg_list", &listColour<T, &GuiListColours::bgList>},                                                \
        {"fg_select", &listColour<T, &GuiListColours::fgSelect>},                                            \
        {"bg_select", &listColour<T, &GuiListColours::bgSelect>},                                            \
        {"fg_hilite", &listColour<T, &GuiListColours::fgHilite>},                                            \
        {"bg_hilite", &listColour<T, &GuiListColours::bgHilite>},                                            \
    {                                                                                                        \
        "bg_rail", &listColour<T, &GuiListColours::bgRail>                                                   \
    }
void comboType(B &, F &f, const char *v)
{
    if (is(v, "DROP"))
        as<tcGuiCombo>(f).setType(tcGuiCombo::kDrop);
    else if (is(v, "ROLL"))
        as<tcGuiCombo>(f).setType(tcGuiCombo::kRoll);
    else if (is(v, "USER"))
        as<tcGuiCombo>(f).setType(tcGuiCombo::kUser);
}
void listType(B &, F &f, const char *v)
{
    if (is(v, "SINGLE"))
        as<tcGuiListbox>(f).setType(tcGuiListbox::kSingle);
    else if (is(v, "MULTI"))
        as<tcGuiListbox>(f).setType(tcGuiListbox::kMulti);
}
const SkinAttr kComboElement[] = {{"type", &comboType}};
const SkinAttr kComboPosition[] = {{"x", &posX}, {"y", &posY}, {"w", &posW}};
const SkinAttr kComboText[] = {{"value", &textValue},           {"x", &textX},       {"y", &textY},
                               {"color", &textColor},           {"font", &textFont}, {"align", &textAlign},
                               {"dfont", &listFont<tcGuiCombo>}};
const SkinAttr kComboColor[] = {ORBA_LIST_COLOURS(tcGuiCombo)};
const SkinAttr kComboDrop[] = {
    {"rows", [](B &b, F &f, const char *v) { as<tcGuiCombo>(f).setRows(b.number(v)); }}};
const SkinAttr kComboMode[] = {
    {"type", &comboType},
    {"reverse", [](B &, F &f, const char *v) { as<tcGuiCombo>(f).setReverse(textFlag(v)); }},
    {"autoroll", [](B &, F &f, const char *v) { as<tcGuiCombo>(f).setModeFlag(textFlag(v)); }},
    {"editable", [](B &, F &f, const char *) { as<tcGuiCombo>(f).setEditable(true); }},
    {"units", [](B &, F &f, const char *v) { as<tcGuiCombo>(f).setUnits(QString::fromUtf8(v)); }},
    {"dlgregexp", [](B &, F &f, const char *v) { as<tcGuiCombo>(f).setPattern(QString::fromUtf8(v)); }},
    {"dclickable", [](B &, F &f, const char *v) { as<tcGuiCombo>(f).setDoubleClickable(textFlag(v)); }}};
const SkinAttr kComboBitmap[] = {{"image", &picture<tcGuiCombo>}};
const SkinAttr kListElement[] = {{"type", &listType}};
const SkinAttr kListText[] = {{"value", &textValue},
                              {"x", &textX},
                              {"y", &textY},
                              {"color", &textColor},
                              {"font", &textFont},
                              {"align", &textAlign},
                              {"dfont", &listFont<tcGuiListbox>}};
const SkinAttr kListColor[] = {ORBA_LIST_COLOURS(tcGuiListbox)};
const SkinAttr kListMode[] = {{"type", &listType}, {"sclickable", [](B &, F &f, const char *v) {
                                                        as<tcGuiListbox>(f).setSingleClick(textFlag(v));
                                                    }}};
const SkinAttr kListBitmap[] = {{"image", &picture<tcGuiListbox>}};
#undef ORBA_LIST_COLOURS

// Radio group and items.
const SkinAttr kRadioText[] = {
    {"value", &textValue}, {"x", &textX}, {"y", &textY}, {"color", &textColor}, {"font", &textFont}};
const SkinAttr kRadioBitmap[] = {
    {"image", &picture<tcGuiRadioGroup>},
    {"item", [](B &b, F &f, const char *v) { as<tcGuiRadioGroup>(f).setItemPicture(imageRef(b, v)); }},
    {"w", &posW},
    {"h", &posH}};
const SkinAttr kRadioItem[] = {
    {"x", [](B &b, F &f, const char *v) { as<tcGuiRadioItem>(f).setRelX(b.number(v)); }},
    {"y", [](B &b, F &f, const char *v) { as<tcGuiRadioItem>(f).setRelY(b.number(v)); }},
    {"value", &textValue},
    {"color", &textColor},
    {"font", &textFont},
    {"tx", [](B &b, F &f, const char *v) { as<tcGuiRadioItem>(f).setCaptionX(b.number(v)); }},
    {"ty", [](B &b, F &f, const char *v) { as<tcGuiRadioItem>(f).setCaptionY(b.number(v)); }},
    {"image", &picture<tcGuiRadioItem>}};

// Meter.
template <int Ch, int tcGuiMeter::Channel::*Field> void meterPos(B &b, F &f, const char *v)
{
    as<tcGuiMeter>(f).channel(Ch).*Field = b.number(v);
}
template <int tcGuiMeter::Channel::*Field> void meterBoth(B &b, F &f, const char *v)
{
    const int n = b.number(v);
    as<tcGuiMeter>(f).channel(0).*Field = n;
    as<tcGuiMeter>(f).channel(1).*Field = n;
}
using C = tcGuiMeter::Channel;
const SkinAttr kMeterPosition[] = {{"x", &posX},
                                   {"y", &posY},
                                   {"barlx", &meterPos<0, &C::barX>},
                                   {"barrx", &meterPos<1, &C::barX>},
                                   {"barly", &meterPos<0, &C::barY>},
                                   {"barry", &meterPos<1, &C::barY>},
                                   {"bary", &meterBoth<&C::barY>},
                                   {"ovrlx", &meterPos<0, &C::ovrX>},
                                   {"ovrrx", &meterPos<1, &C::ovrX>},
                                   {"ovrly", &meterPos<0, &C::ovrY>},
                                   {"ovrry", &meterPos<1, &C::ovrY>},
                                   {"ovry", &meterBoth<&C::ovrY>}};
const SkinAttr kMeterText[] = {{"x",
                                [](B &b, F &f, const char *v) {
                                    as<tcGuiMeter>(f).setTextX(b.number(v));
                                    as<tcGuiMeter>(f).showLabels();
                                }},
                               {"y",
                                [](B &b, F &f, const char *v) {
                                    as<tcGuiMeter>(f).setTextY(b.number(v));
                                    as<tcGuiMeter>(f).showLabels();
                                }},
                               {"color", &textColor}};
const SkinAttr kMeterBitmap[] = {
    {"bg", [](B &b, F &f, const char *v) { as<tcGuiMeter>(f).setBackground(imageRef(b, v)); }},
    {"bar", [](B &b, F &f, const char *v) { as<tcGuiMeter>(f).setBar(imageRef(b, v)); }},
    {"ovr", [](B &b, F &f, const char *v) { as<tcGuiMeter>(f).setOverloadPicture(imageRef(b, v)); }}};
const SkinAttr kMeterType[] = {
    {"style",
     [](B &, F &f, const char *v) {
         static const char *const names[] = {"VU30",   "VU40",   "VU60", "VUFS30",
                                             "VUFS40", "VUFS60", "GR20", "GR30"};
         for (int i = 0; i < 8; ++i)
             if (is(v, names[i]))
                 as<tcGuiMeter>(f).setStyle(i);
     }},
    {"clip", [](B &, F &f, const char *v) { as<tcGuiMeter>(f).setClip(numberFlag(v)); }},
    {"channels", [](B &b, F &f, const char *v) { as<tcGuiMeter>(f).setChannels(b.number(v)); }},
    {"vertical", [](B &, F &f, const char *v) { as<tcGuiMeter>(f).setVertical(numberFlag(v)); }}};

// Graphs.
template <int Part> void layoutPart(B &b, F &f, const char *v)
{
    auto &g = as<tcGuiApGraph>(f);
    const int n = f.aux - 1;
    QRect r = g.layoutRect(n);
    const int value = b.number(v);
    switch (Part) {
    case 0:
        r.moveLeft(value);
        if (n == 0)
            g.setX(value);
        break;
    case 1:
        r.moveTop(value);
        if (n == 0)
            g.setY(value);
        break;
    case 2:
        r.setWidth(value);
        if (n == 0)
            g.setWidth(value);
        break;
    default:
        r.setHeight(value);
        if (n == 0)
            g.setHeight(value);
        break;
    }
    g.setLayoutRect(n, r);
}
const SkinAttr kLayoutPosition[] = {
    {"x", &layoutPart<0>}, {"y", &layoutPart<1>}, {"w", &layoutPart<2>}, {"h", &layoutPart<3>}};
template <QRgb tcGuiGraph::*Field> void graphColour(B &b, F &f, const char *v)
{
    as<tcGuiGraph>(f).*Field = b.colourValue(v);
}
template <int Curve> void curveColour(B &b, F &f, const char *v)
{
    as<tcGuiDynGraph>(f).setCurveColour(Curve, b.colourValue(v));
}
#define ORBA_GRAPH_COLOURS                                                                                   \
    {"plot_bg", &graphColour<&tcGuiGraph::plotBg>}, {"gutter_fg", &graphColour<&tcGuiGraph::gutterFg>},      \
        {"gutter_bg", &graphColour<&tcGuiGraph::gutterBg>},                                                  \
        {"axis_major", &graphColour<&tcGuiGraph::axisMajor>},                                                \
    {                                                                                                        \
        "axis_minor", &graphColour<&tcGuiGraph::axisMinor>                                                   \
    }
const SkinAttr kApGraphColor[] = {ORBA_GRAPH_COLOURS, {"audio", [](B &b, F &f, const char *v) {
                                                           as<tcGuiApGraph>(f).audio = b.colourValue(v);
                                                       }}};
const SkinAttr kDynGraphColor[] = {ORBA_GRAPH_COLOURS,           {"curve_1", &curveColour<0>},
                                   {"curve_2", &curveColour<1>}, {"curve_3", &curveColour<2>},
                                   {"curve_4", &curveColour<3>}, {"curve_5", &curveColour<4>}};
#undef ORBA_GRAPH_COLOURS

// Image definitions.
const SkinAttr kImageElement[] = {
    {"file",
     [](B &b, F &f, const char *v) {
         const QString file = QString::fromUtf8(v);
         as<tcGuiImage>(f).setPicture(file, b.pictureData(v));
         // Its companion for dense screens, when the skin has one (a missing one is no fault).
         const QString dense = orba::skin::densePictureName(file);
         const QByteArray head = b.pictureHead(dense);
         if (!head.isEmpty())
             as<tcGuiImage>(f).setDensePicture(dense, head, b.pictureReader(dense));
     }},
    {"sections", [](B &b, F &f, const char *v) { as<tcGuiImage>(f).setSections(b.number(v)); }},
    {"trans", [](B &b, F &f, const char *v) { as<tcGuiImage>(f).setTransparentColour(b.colourValue(v)); }}};

constexpr int S = kSkinKindSkin;
constexpr int K = kGuiKindChild;
#define ORBA_ATTRS(a) a, skinCount(a)
#define ORBA_CHILD(parent, name, attrs)                                                                      \
    {                                                                                                        \
        parent, name, K, false, nullptr, ORBA_ATTRS(attrs)                                                   \
    }
#define ORBA_LAYOUT(n)                                                                                       \
    {                                                                                                        \
        kGuiKindApGraph, "position" #n, K, false, nullptr, ORBA_ATTRS(kLayoutPosition), n                    \
    }

const SkinElement kElements[] = {
    {S, "button", kGuiKindButton, true, &objectStart<tcGuiButton, kGuiButton>, nullptr, 0},
    ORBA_CHILD(kGuiKindButton, "position", kPosXY),
    ORBA_CHILD(kGuiKindButton, "text", kText),
    ORBA_CHILD(kGuiKindButton, "mode", kButtonMode),
    ORBA_CHILD(kGuiKindButton, "bitmap", kButtonBitmap),

    {S, "lamp", kGuiKindLamp, true, &objectStart<tcGuiLamp, kGuiLamp>, nullptr, 0},
    ORBA_CHILD(kGuiKindLamp, "position", kPosXY),
    ORBA_CHILD(kGuiKindLamp, "text", kText),
    ORBA_CHILD(kGuiKindLamp, "bitmap", kLampBitmap),

    {S, "checkbox", kGuiKindCheckBox, true, &objectStart<tcGuiCheckBox, kGuiCheckBox>, nullptr, 0},
    ORBA_CHILD(kGuiKindCheckBox, "position", kPosXY),
    ORBA_CHILD(kGuiKindCheckBox, "text", kText),
    ORBA_CHILD(kGuiKindCheckBox, "bitmap", kCheckBitmap),

    {S, "display", kGuiKindDisplay, true, &objectStart<tcGuiDisplay, kGuiDisplay>, nullptr, 0},
    ORBA_CHILD(kGuiKindDisplay, "position", kPosXYWH),
    ORBA_CHILD(kGuiKindDisplay, "text", kDisplayText),
    ORBA_CHILD(kGuiKindDisplay, "color", kDisplayColor),
    ORBA_CHILD(kGuiKindDisplay, "mode", kDisplayMode),

    {S, "knob", kGuiKindKnob, true, &objectStart<tcGuiKnob, kGuiKnob>, ORBA_ATTRS(kKnobElement)},
    ORBA_CHILD(kGuiKindKnob, "position", kPosXY),
    ORBA_CHILD(kGuiKindKnob, "text", kText),
    ORBA_CHILD(kGuiKindKnob, "bitmap", kKnobBitmap),

    {S, "slider", kGuiKindSlider, true, &objectStart<tcGuiSlider, kGuiSlider>, nullptr, 0},
    ORBA_CHILD(kGuiKindSlider, "position", kSliderPosition),
    ORBA_CHILD(kGuiKindSlider, "text", kText),
    ORBA_CHILD(kGuiKindSlider, "bitmap", kSliderBitmap),

    {S, "combo", kGuiKindCombo, true, &objectStart<tcGuiCombo, kGuiCombo>, ORBA_ATTRS(kComboElement)},
    ORBA_CHILD(kGuiKindCombo, "position", kComboPosition),
    ORBA_CHILD(kGuiKindCombo, "text", kComboText),
    ORBA_CHILD(kGuiKindCombo, "color", kComboColor),
    ORBA_CHILD(kGuiKindCombo, "drop", kComboDrop),
    ORBA_CHILD(kGuiKindCombo, "mode", kComboMode),
    ORBA_CHILD(kGuiKindCombo, "bitmap", kComboBitmap),

    {S, "listbox", kGuiKindListbox, true, &objectStart<tcGuiListbox, kGuiListbox>, ORBA_ATTRS(kListElement)},
    ORBA_CHILD(kGuiKindListbox, "position", kPosXYWH),
    ORBA_CHILD(kGuiKindListbox, "text", kListText),
    ORBA_CHILD(kGuiKindListbox, "color", kListColor),
    ORBA_CHILD(kGuiKindListbox, "mode", kListMode),
    ORBA_CHILD(kGuiKindListbox, "bitmap", kListBitmap),

    {S, "radiogroup", kGuiKindRadioGroup, true, &objectStart<tcGuiRadioGroup, kGuiRadioGroup>, nullptr, 0},
    ORBA_CHILD(kGuiKindRadioGroup, "position", kPosXY),
    ORBA_CHILD(kGuiKindRadioGroup, "text", kRadioText),
    ORBA_CHILD(kGuiKindRadioGroup, "bitmap", kRadioBitmap),
    {kGuiKindRadioGroup, "radioitem", kGuiKindRadioItem, true, &radioItemStart, ORBA_ATTRS(kRadioItem)},

    {S, "meter", kGuiKindMeter, true, &objectStart<tcGuiMeter, kGuiMeter>, nullptr, 0},
    ORBA_CHILD(kGuiKindMeter, "position", kMeterPosition),
    ORBA_CHILD(kGuiKindMeter, "text", kMeterText),
    ORBA_CHILD(kGuiKindMeter, "bitmap", kMeterBitmap),
    ORBA_CHILD(kGuiKindMeter, "type", kMeterType),

    {S, "ap_graph", kGuiKindApGraph, true, &objectStart<tcGuiApGraph, kGuiApGraph>, nullptr, 0},
    ORBA_LAYOUT(1),
    ORBA_LAYOUT(2),
    ORBA_LAYOUT(3),
    ORBA_LAYOUT(4),
    ORBA_LAYOUT(5),
    ORBA_LAYOUT(6),
    ORBA_LAYOUT(7),
    ORBA_LAYOUT(8),
    ORBA_LAYOUT(9),
    ORBA_CHILD(kGuiKindApGraph, "color", kApGraphColor),

    {S, "dyngraph", kGuiKindDynGraph, true, &objectStart<tcGuiDynGraph, kGuiDynGraph>, nullptr, 0},
    ORBA_CHILD(kGuiKindDynGraph, "position", kPosXYWH),
    ORBA_CHILD(kGuiKindDynGraph, "color", kDynGraphColor),

    {S, "label", kGuiKindLabel, true, &objectStart<tcGuiLabel, kGuiLabel>, nullptr, 0},
    ORBA_CHILD(kGuiKindLabel, "position", kPosXY),
    ORBA_CHILD(kGuiKindLabel, "text", kText),
    ORBA_CHILD(kGuiKindLabel, "bitmap", kLabelBitmap),

    {S, "image", kGuiKindImage, true, &objectStart<tcGuiImage, kGuiImage>, ORBA_ATTRS(kImageElement)},
    ORBA_CHILD(kGuiKindImage, "position", kPosXY),
};
#undef ORBA_CHILD
#undef ORBA_LAYOUT
#undef ORBA_ATTRS

const SkinVocabulary kVocabulary{kElements, sizeof kElements / sizeof kElements[0]};

} // namespace

const SkinVocabulary &guiSkinVocabulary()
{
    return kVocabulary;
}
