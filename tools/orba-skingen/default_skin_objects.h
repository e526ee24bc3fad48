// The objects that the control panels bind by skin name, with the object kind the default skin
// gives each and the screen that shows it (kMain: the always-visible main panel). The generator
// lays out exactly these and refuses to write a skin that misses one; the tests check a loaded
// skin against the same table. Type codes are those of the GUI objects (button 3 ... image 17).
//
// Where a panel's object list leaves the kind open, the default skin chooses:
// - "graph" (FMO_GRAPH, AMHD_GRAPH): ap_graph, a response graph of its own on the screen;
// - a "group" or a heading (FMO_DELAY_GROUP, AMT_TEST_GROUP, AMHD_RADIO, the *_LABEL objects):
//   label, a framed box whose caption is the heading;
// - "items" under a combo (FMO_EMP_POS_*, FMO_EMP_FLAT, FMO_PREEMP_*): lamp, one per entry, lit
//   for the entry the combo shows;
// - "step combo": combo of type USER (its arrows report steps; the panel writes the text);
// - main-panel switches that panels treat as checks (GRAPH_VIEW_*, ONLINE, METER_IN_RANGE):
//   checkbox; those they treat as button presses (flow, source, preset buttons): button.
#pragma once

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

struct BoundObject
{
    const char *name;
    int kind;
    int screen;
};

// In each panel's list order (which is also the order the skin defines them, so that the paint
// order of a plain bench matches the panels').
inline constexpr BoundObject kBoundObjects[] = {
    // Main panel.
    {"SYS_ABOUT", kButton, kMain},
    {"SYS_MINIMIZE", kButton, kMain},
    {"SYS_EXIT", kButton, kMain},
    {"STAT_ONLINE", kDisplay, kMain},
    {"STAT_DEVICE", kDisplay, kMain},
    {"STAT_PRESET", kDisplay, kMain},
    {"GRAPH", kApGraph, kMain},
    {"FLOW_INPUT", kButton, kMain},
    {"FLOW_PEQ", kButton, kMain},
    {"FLOW_COMP", kButton, kMain},
    {"FLOW_HD_OUT", kButton, kMain},
    {"FLOW_AM_OUT", kButton, kMain},
    {"FLOW_AM_TX", kButton, kMain},
    {"FLOW_SYSTEM", kButton, kMain},
    {"GRAPH_INPUT", kButton, kMain},
    {"GRAPH_PDOUT", kButton, kMain},
    {"GRAPH_VIEW_AUDIO", kCheckBox, kMain},
    {"GRAPH_VIEW_GR", kCheckBox, kMain},
    {"GRAPH_VIEW_CNTRLS", kCheckBox, kMain},
    {"GRAPH_VIEW_LR", kCheckBox, kMain},
    {"GRAPH_VIEW_OSCOPE", kCheckBox, kMain},
    {"SAVE", kButton, kMain},
    {"TAKE", kButton, kMain},
    {"QSAVEA", kButton, kMain},
    {"QSAVEB", kButton, kMain},
    {"QSAVEAB", kButton, kMain},
    {"PRESETS", kButton, kMain},
    {"DEVICES", kButton, kMain},
    {"ONLINE", kCheckBox, kMain},
    {"METER_IN_RANGE", kCheckBox, kMain},
    {"METER_IN", kMeter, kMain},
    {"METER_GR", kMeter, kMain},
    {"METER_AM", kMeter, kMain},
    {"METER_HD", kMeter, kMain},
    {"HDPN_KNOB", kKnob, kMain},
    {"GR_CHOICE", kCombo, kMain},
    {"AM_CHOICE", kCombo, kMain},

    // System (screen 0).
    {"SYS_BKGRND", kImage, kSystem},
    {"SYS_LABEL", kLabel, kSystem},
    {"SYSTEM_FOLLOW", kCheckBox, kSystem},
    {"TCP_METERS", kCheckBox, kSystem},
    {"SKIN", kButton, kSystem},
    {"PASSWORDS", kButton, kSystem},
    {"FPPASSWD", kButton, kSystem},
    {"GUIACCESS", kButton, kSystem},
    {"GUILOCK", kButton, kSystem},
    {"EVENTSCHED", kButton, kSystem},
    {"TIME_SET", kButton, kSystem},
    {"HDPN_SRC", kCombo, kSystem},
    {"STATUS_TEMP", kLamp, kSystem},
    {"STATUS_ANA", kLamp, kSystem},
    {"STATUS_AES", kLamp, kSystem},

    // Compressor (screen 1).
    {"COMP_BKGRND", kImage, kCompressor},
    {"COMP_LABEL", kLabel, kCompressor},
    {"AGC_LABEL", kLabel, kCompressor},
    {"XFR_LABEL", kLabel, kCompressor},
    {"COMP_GRAPH", kDynGraph, kCompressor},
    {"COMP_AGC_ENABLE", kCheckBox, kCompressor},
    {"COMP_COMP_ENABLE", kCheckBox, kCompressor},
    {"COMP_DRV_KNOB", kKnob, kCompressor},
    {"COMP_DRV_DSPY", kDisplay, kCompressor},
    {"COMP_DDRV", kCombo, kCompressor},
    {"COMP_MSTR_KNOB", kKnob, kCompressor},
    {"COMP_MSTR_DSPY", kDisplay, kCompressor},
    {"COMP_DMSTR", kCombo, kCompressor},
    {"AGC_COUPLING", kCombo, kCompressor},
    {"AGC_FRZ_THR", kCombo, kCompressor},
    {"AGC_FRZDLY_KNOB", kKnob, kCompressor},
    {"AGC_FRZDLY_DSPY", kDisplay, kCompressor},
    {"AGC_FRZMOD", kRadioGroup, kCompressor},
    {"AGC_FRZMOD_OOZE", kRadioItem, kCompressor},
    {"AGC_FRZMOD_GATE", kRadioItem, kCompressor},
    {"AGC_BKOFF_KNOB", kKnob, kCompressor},
    {"AGC_BKOFF_DSPY", kDisplay, kCompressor},
    {"COMP_XFR1", kCombo, kCompressor},
    {"COMP_XFR2", kCombo, kCompressor},
    {"COMP_XFR3", kCombo, kCompressor},
    {"COMP_XFR4", kCombo, kCompressor},
    {"COMP_TYPE", kRadioGroup, kCompressor},
    {"COMP_TYPE_A_ATT", kRadioItem, kCompressor},
    {"COMP_TYPE_A_REL", kRadioItem, kCompressor},
    {"COMP_TYPE_A_FRZ", kRadioItem, kCompressor},
    {"COMP_TYPE_C_THR", kRadioItem, kCompressor},
    {"COMP_TYPE_C_ATT", kRadioItem, kCompressor},
    {"COMP_TYPE_C_REL", kRadioItem, kCompressor},
    {"COMP_TYPE_C_RAT", kRadioItem, kCompressor},
    {"COMP_TYPE_C_OUT", kRadioItem, kCompressor},
    {"COMP_TYPE_C_DOUT", kRadioItem, kCompressor},

    // Parametric equaliser (screen 2).
    {"PEQ_BKGRND", kImage, kParametric},
    {"PEQ_LABEL", kLabel, kParametric},
    {"PEQ1_F_KNOB", kKnob, kParametric},
    {"PEQ1_Q_KNOB", kKnob, kParametric},
    {"PEQ1_L_KNOB", kKnob, kParametric},
    {"PEQ2_F_KNOB", kKnob, kParametric},
    {"PEQ2_Q_KNOB", kKnob, kParametric},
    {"PEQ2_L_KNOB", kKnob, kParametric},
    {"PEQ3_F_KNOB", kKnob, kParametric},
    {"PEQ3_Q_KNOB", kKnob, kParametric},
    {"PEQ3_L_KNOB", kKnob, kParametric},
    {"PEQ4_F_KNOB", kKnob, kParametric},
    {"PEQ4_Q_KNOB", kKnob, kParametric},
    {"PEQ4_L_KNOB", kKnob, kParametric},
    {"PEQ1_F_DSPY", kDisplay, kParametric},
    {"PEQ1_Q_DSPY", kDisplay, kParametric},
    {"PEQ1_L_DSPY", kDisplay, kParametric},
    {"PEQ2_F_DSPY", kDisplay, kParametric},
    {"PEQ2_Q_DSPY", kDisplay, kParametric},
    {"PEQ2_L_DSPY", kDisplay, kParametric},
    {"PEQ3_F_DSPY", kDisplay, kParametric},
    {"PEQ3_Q_DSPY", kDisplay, kParametric},
    {"PEQ3_L_DSPY", kDisplay, kParametric},
    {"PEQ4_F_DSPY", kDisplay, kParametric},
    {"PEQ4_Q_DSPY", kDisplay, kParametric},
    {"PEQ4_L_DSPY", kDisplay, kParametric},
    {"PEQ1_ENABLE", kCheckBox, kParametric},
    {"PEQ2_ENABLE", kCheckBox, kParametric},
    {"PEQ3_ENABLE", kCheckBox, kParametric},
    {"PEQ4_ENABLE", kCheckBox, kParametric},
    {"PEQ_ENABLE", kCheckBox, kParametric},
    {"PEQ_POS", kRadioGroup, kParametric},
    {"PEQ_POS_PRE", kRadioItem, kParametric},
    {"PEQ_POS_PST", kRadioItem, kParametric},

    // Input (screen 4).
    {"INPUT_BKGRND", kImage, kInput},
    {"INPUT_LABEL", kLabel, kInput},
    {"INPUT_SRC", kRadioGroup, kInput},
    {"INPUT_SRC_LINE", kRadioItem, kInput},
    {"INPUT_SRC_AES", kRadioItem, kInput},
    {"INPUT_ANA_GAIN_KNOB", kKnob, kInput},
    {"INPUT_ANA_GAIN_DSPY", kDisplay, kInput},
    {"INPUT_AES_GAIN_KNOB", kKnob, kInput},
    {"INPUT_AES_GAIN_DSPY", kDisplay, kInput},
    {"INPUT_OFFSET_KNOB", kKnob, kInput},
    {"INPUT_OFFSET_DSPY", kDisplay, kInput},
    {"INPUT_HPF_STEREO", kCheckBox, kInput},
    {"INPUT_HPFS_IN", kCheckBox, kInput},
    {"INPUT_HPFD_IN", kCheckBox, kInput},
    {"INPUT_HPFS_KNOB", kKnob, kInput},
    {"INPUT_HPFS_DSPY", kDisplay, kInput},
    {"INPUT_HPFD_KNOB", kKnob, kInput},
    {"INPUT_HPFD_DSPY", kDisplay, kInput},
    {"INPUT_SYMMETRY", kCheckBox, kInput},
    {"INPUT_FAILOVER", kCheckBox, kInput},
    {"INPUT_ANA_FAIL", kLamp, kInput},
    {"INPUT_AES_FAIL", kLamp, kInput},

    // AM HD output (screen 5).
    {"AMHD_BKGRND", kImage, kAmHd},
    {"AMHD_LABEL", kLabel, kAmHd},
    {"AMHD_RADIO", kLabel, kAmHd},
    {"AMHD_GRAPH", kApGraph, kAmHd},
    {"AMHD_SOURCE", kCombo, kAmHd},
    {"AMHD_TRIM_KNOB", kKnob, kAmHd},
    {"AMHD_TRIM_DSPY", kDisplay, kAmHd},
    {"AMHD_LIM_ENABLE", kCheckBox, kAmHd},
    {"AMHD_LIM_CLIP", kCombo, kAmHd},
    {"AMHD_LIM_LINK", kCheckBox, kAmHd},
    {"AMHD_LIM_THR_KNOB", kKnob, kAmHd},
    {"AMHD_LIM_THR_DSPY", kDisplay, kAmHd},
    {"AMHD_LIM_ATK_KNOB", kKnob, kAmHd},
    {"AMHD_LIM_ATK_DSPY", kDisplay, kAmHd},
    {"AMHD_LIM_RLS_KNOB", kKnob, kAmHd},
    {"AMHD_LIM_RLS_DSPY", kDisplay, kAmHd},
    {"AMHD_LIM_RLL_KNOB", kKnob, kAmHd},
    {"AMHD_LIM_RLL_DSPY", kDisplay, kAmHd},
    {"AMHD_LIM_LONG", kCheckBox, kAmHd},
    {"AMHD_AES_GAIN_KNOB", kKnob, kAmHd},
    {"AMHD_AES_GAIN_DSPY", kDisplay, kAmHd},
    {"AMHD_PHASE", kCheckBox, kAmHd},
    {"AMHD_SWAP", kCheckBox, kAmHd},
    {"AMHD_DEEMPH", kCheckBox, kAmHd},
    {"AMHD_BANDWIDTH", kCombo, kAmHd},
    {"AMHD_HF_PRO_I", kCheckBox, kAmHd},
    {"AMHD_HF_PRO_F", kCombo, kAmHd},
    {"AMHD_CEILING_KNOB", kKnob, kAmHd},
    {"AMHD_CEILING_DSPY", kDisplay, kAmHd},
    {"AMHD_RECOVERY_KNOB", kKnob, kAmHd},
    {"AMHD_RECOVERY_DSPY", kDisplay, kAmHd},
    {"AMHD_HYPER_MONO", kCheckBox, kAmHd},

    // AM output and multiband limiter (screen 6).
    {"FMO_BKGRND", kImage, kAmOut},
    {"FMO_LABEL", kLabel, kAmOut},
    {"FMO_LABEL2", kLabel, kAmOut},
    {"FMO_GRAPH", kApGraph, kAmOut},
    {"FMO_MSTR_KNOB", kKnob, kAmOut},
    {"FMO_MSTR_DSPY", kDisplay, kAmOut},
    {"FMO_LIM_ENABLE", kCheckBox, kAmOut},
    {"FMO_LIM_CLIP", kCombo, kAmOut},
    {"FMO_LIM_LINK", kCheckBox, kAmOut},
    {"FMO_LIM_THR_KNOB", kKnob, kAmOut},
    {"FMO_LIM_THR_DSPY", kDisplay, kAmOut},
    {"FMO_LIM_ATK_KNOB", kKnob, kAmOut},
    {"FMO_LIM_ATK_DSPY", kDisplay, kAmOut},
    {"FMO_LIM_RLS_KNOB", kKnob, kAmOut},
    {"FMO_LIM_RLS_DSPY", kDisplay, kAmOut},
    {"FMO_LIM_RLL_KNOB", kKnob, kAmOut},
    {"FMO_LIM_RLL_DSPY", kDisplay, kAmOut},
    {"FMO_LIM_LONG", kCheckBox, kAmOut},
    {"FMO_EMP_POS", kCombo, kAmOut},
    {"FMO_EMP_POS_PREMB", kLamp, kAmOut},
    {"FMO_EMP_POS_PRELIM", kLamp, kAmOut},
    {"FMO_EMP_POS_POST", kLamp, kAmOut},
    {"FMO_AM_EMP", kCombo, kAmOut},
    {"FMO_EMP_FLAT", kLamp, kAmOut},
    {"FMO_PREEMP_50", kLamp, kAmOut},
    {"FMO_PREEMP_75", kLamp, kAmOut},
    {"FMO_DELAY_GROUP", kLabel, kAmOut},
    {"FMO_DELAY_C_KNOB", kKnob, kAmOut},
    {"FMO_DELAY_F_KNOB", kKnob, kAmOut},
    {"FMO_DELAY_DSPY", kDisplay, kAmOut},
    {"FMO_MBLIM_ENABLE", kCheckBox, kAmOut},
    {"FMO_MBLIM_DRV_KNOB", kKnob, kAmOut},
    {"FMO_MBLIM_DRV_DSPY", kDisplay, kAmOut},
    {"FMO_MBLIM_KNEE", kCombo, kAmOut},
    {"FMO_MBLIM_MODE", kCombo, kAmOut},
    {"FMO_MBLIM_TYPE", kRadioGroup, kAmOut},
    {"FMO_MBLIM_TYPE_THR", kRadioItem, kAmOut},
    {"FMO_MBLIM_TYPE_CLP", kRadioItem, kAmOut},
    {"FMO_MBLIM_TYPE_ATT", kRadioItem, kAmOut},
    {"FMO_MBLIM_TYPE_REL", kRadioItem, kAmOut},
    {"FMO_MBLIM_TYPE_EQ", kRadioItem, kAmOut},
    {"FMO_BCLP_DRV", kCombo, kAmOut},
    {"FMO_BCLP_STROKE", kCombo, kAmOut},
    {"FMO_BCLP_TRIM", kCombo, kAmOut},
    {"FMO_BCLP_FREQ", kCombo, kAmOut},

    // AM transmitter (screen 7).
    {"AMT_BKGRND", kImage, kAmTx},
    {"AMT_LABEL", kLabel, kAmTx},
    {"AMT_LFTILT_LABEL", kLabel, kAmTx},
    {"AMT_HFTILT_LABEL", kLabel, kAmTx},
    {"AMT_FILTER", kCombo, kAmTx},
    {"AMT_MODULATION_KNOB", kKnob, kAmTx},
    {"AMT_MODULATION_DSPY", kDisplay, kAmTx},
    {"AMT_OUT_A_KNOB", kKnob, kAmTx},
    {"AMT_OUT_A_DSPY", kDisplay, kAmTx},
    {"AMT_OUT_B_KNOB", kKnob, kAmTx},
    {"AMT_OUT_B_DSPY", kDisplay, kAmTx},
    {"AMT_WIDTH", kCombo, kAmTx},
    {"AMT_TEST_GROUP", kLabel, kAmTx},
    {"AMT_TEST_OSC", kCheckBox, kAmTx},
    {"AMT_TEST_OSC_KNOB", kKnob, kAmTx},
    {"AMT_TEST_OSC_DSPY", kDisplay, kAmTx},
    {"AMT_TEST_LVL_KNOB", kKnob, kAmTx},
    {"AMT_TEST_LVL_DSPY", kDisplay, kAmTx},
    {"AMT_TEST_TILT", kCheckBox, kAmTx},
    {"AMT_LFTILT_F_A", kCombo, kAmTx},
    {"AMT_LFTILT_Q_A", kCombo, kAmTx},
    {"AMT_LFTILT_L_A", kCombo, kAmTx},
    {"AMT_LFTILT_F_B", kCombo, kAmTx},
    {"AMT_LFTILT_Q_B", kCombo, kAmTx},
    {"AMT_LFTILT_L_B", kCombo, kAmTx},
    {"AMT_HFTILT_F_A", kCombo, kAmTx},
    {"AMT_HFTILT_Q_A", kCombo, kAmTx},
    {"AMT_HFTILT_L_A", kCombo, kAmTx},
    {"AMT_HFTILT_F_B", kCombo, kAmTx},
    {"AMT_HFTILT_Q_B", kCombo, kAmTx},
    {"AMT_HFTILT_L_B", kCombo, kAmTx},
    {"AMT_PHASE_A", kCheckBox, kAmTx},
    {"AMT_PHASE_B", kCheckBox, kAmTx},
    {"AMT_AES_DEEMPH", kCheckBox, kAmTx},
    {"AMT_AES_PDLY", kCheckBox, kAmTx},
    {"AMT_AES_GAIN_KNOB", kKnob, kAmTx},
    {"AMT_AES_GAIN_DSPY", kDisplay, kAmTx},
};

// Objects no panel binds but the bench and the graph editors look up by name.
inline constexpr BoundObject kFixedObjects[] = {
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
