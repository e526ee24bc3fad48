// The objects that the control panels bind by skin name (from the binding table), with the object
// kind the default skin gives each and the screen that shows it (kMain: the always-visible main
// panel). The generator lays out exactly these and refuses to write a skin that misses one; the
// tests check a loaded skin against the same table. Type codes are those of the GUI objects
// (button 3 ... image 17).
//
// Where the binding table leaves the kind to the skin, the default skin chooses:
// - "graph" (FMO_GRAPH, AMHD_GRAPH): ap_graph, a response graph of its own on the screen;
// - a "group" or a heading (FMO_DELAY_GROUP, AMT_TEST_GROUP, AMHD_RADIO, the *_LABEL objects):
//   label, a framed box whose caption is the heading;
// - "items" under a combo (FMO_EMP_POS_*, FMO_EMP_FLAT, FMO_PREEMP_*): lamp, one per entry, lit
//   for the entry the combo shows;
// - "step combo": combo of type USER (its arrows report steps; the panel writes the text);
// - main-panel switches that panels treat as checks (GRAPH_VIEW_*, ONLINE, METER_IN_RANGE):
//   checkbox; those they treat as button presses (flow, source, preset buttons): button.
#pragma once

#include "panels/binding_table.h"

namespace orba::skingen {

enum Kind : int {
    kButton = 3,
    kLamp = 4,
    kCheckBox = 5,
    kDisplay = 6,
    kKnob = 7,
    kSlider = 8,
    kCombo = 9,
    kListbox = 10,
    kRadioGroup = 11,
    kRadioItem = 12,
    kMeter = 13,
    kApGraph = 14,
    kDynGraph = 15,
    kLabel = 16,
    kImage = 17,
};

enum Screen : int {
    kMain = -1,
    kSystem = 0,
    kCompressor = 1,
    kParametric = 2,
    kInput = 4,
    kAmHd = 5,
    kAmOut = 6,
    kAmTx = 7,
};

// The objects the panels bind, in each panel's list order (which is also the order the skin defines
// them, so that the paint order of a plain bench matches the panels'): name, kind and screen of
// each come from the binding table.
using BoundObject = orba::panels::Binding;
inline constexpr const auto &kBoundObjects = orba::panels::kBindings;

// Objects no panel binds but the bench and the graph editors look up by name.
struct FixedObject
{
    const char *name;
    int kind;
    int screen;
};
inline constexpr FixedObject kFixedObjects[] = {
    {"BKGRND", kImage, kMain},        // its size is the window size
    {"MBLimDragger", kImage, kMain},  // adjuster handle: grouped, current, independent, current
    {"MBLimCheckbox", kImage, kMain}, // per-band switch: two-state sections
};

// Colours the equaliser editor takes from the skin.
inline constexpr const char *kEditorColours[] = {"PEQ1color", "PEQ2color", "PEQ3color", "PEQ4color",
                                                 "PEQSUMcolor"};

// The processing screens, in the order of the flow buttons, with the file-name word of each.
struct ScreenInfo
{
    int screen;
    const char *word;
    const char *title;
};

inline constexpr ScreenInfo kScreens[] = {
    {kInput, "input", "Input"},
    {kParametric, "peq", "Parametric EQ"},
    {kCompressor, "comp", "AGC / Compressor"},
    {kAmHd, "hdout", "HD Output"},
    {kAmOut, "amout", "AM Output"},
    {kAmTx, "amtx", "AM Transmitter"},
    {kSystem, "system", "System"},
};

constexpr int kWindowWidth = 1100;
constexpr int kWindowHeight = 720;

} // namespace orba::skingen
