// Value tables: ascending {value, 8-character label} arrays that float parameters are quantised to,
// and the label lists of the integer (choice) parameters. Constant data.
#pragma once

struct VALUE_ENTRY
{
    float value;
    const char *label;
};

extern const VALUE_ENTRY GAIN_TABLE[256];
extern const VALUE_ENTRY THRESH_TABLE[256];
extern const VALUE_ENTRY RATIO_TABLE[256];
extern const VALUE_ENTRY TIME_TABLE[256];
extern const VALUE_ENTRY FREQ_TABLE[256];
extern const VALUE_ENTRY BW_TABLE[128];
extern const VALUE_ENTRY HF_CUT_TABLE[16];
extern const VALUE_ENTRY AM_BW_TABLE[8];
extern const VALUE_ENTRY TILT_LF_FREQ_TABLE[32];
extern const VALUE_ENTRY TILT_HF_FREQ_TABLE[32];
// The LF and HF tilt Q parameters use two separate copies with equal contents.
extern const VALUE_ENTRY TILT_LF_Q_TABLE[32];
extern const VALUE_ENTRY TILT_HF_Q_TABLE[32];

extern const char *const INPUT_SOURCE_LABELS[2];
extern const char *const PEQ_POSITION_LABELS[2];
extern const char *const AGC_FREEZE_MODE_LABELS[2];
extern const char *const BASS_CLIP_STROKE_LABELS[3];
extern const char *const MB_LIM_KNEE_LABELS[2];
extern const char *const MB_LIM_MODE_LABELS[3];
extern const char *const CLIP_TYPE_LABELS[5];
extern const char *const AM_EMPHASIS_LABELS[2];
extern const char *const AM_EMPHASIS_POSITION_LABELS[3];
extern const char *const HD_SOURCE_LABELS[4];
extern const char *const AM_WIDTH_LABELS[3];
