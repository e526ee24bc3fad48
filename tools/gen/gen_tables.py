#!/usr/bin/env python3
"""Writes the constant parameter tables of src/tables, and the control bindings of src/panels from
tools/gen/bindings.txt, as C++ source.

Run from the repository root after changing a table here or the bindings file:
    python3 tools/gen/gen_tables.py
The output is committed; the build does not run this script.
"""
import math
import struct
import sys

def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]

def cfloat(x):
    """Shortest decimal text that reads back as the same single-precision value."""
    x = f32(x)
    if x == int(x) and abs(x) < 1e7:
        return '%.1ff' % x
    for p in range(1, 10):
        s = '%.*g' % (p, x)
        if f32(float(s)) == x:
            break
    if 'e' not in s and '.' not in s:
        s += '.0'
    return s + 'f'

def cstr(s):
    return '"' + s.replace('\\', '\\\\').replace('"', '\\"') + '"'

# ---- value tables -------------------------------------------------------------------------

def gain_values():
    return [f32(-80.0 + i) if i <= 20 else f32(-60.0 + 0.5 * (i - 20)) for i in range(256)]

def gain_label(v, unit):
    sign = '+' if v > 0 else ('-' if v < 0 else ' ')
    return '%s%4.1f %s' % (sign, abs(v), unit)

def gain_table():
    return [(v, gain_label(v, 'dB')) for v in gain_values()]

def thresh_table():
    out = []
    for i, v in enumerate(gain_values()):
        if i <= 140:
            out.append((v, gain_label(v, 'FS')))
        else:
            out.append((f32(100.0), '????????'))
    return out

RATIOS = [float(x) for x in (
    '1.00 1.02 1.04 1.06 1.08 1.10 1.13 1.15 1.17 1.20 1.22 1.25 1.27 1.30 1.32 1.35 1.37 1.40 1.43 1.46 '
    '1.49 1.52 1.55 1.58 1.61 1.64 1.67 1.71 1.74 1.78 1.81 1.85 1.88 1.92 1.96 2.00 2.04 2.08 2.12 2.16 '
    '2.21 2.25 2.30 2.34 2.39 2.44 2.49 2.54 2.59 2.64 2.69 2.75 2.80 2.85 2.90 2.95 3.00 3.07 3.15 3.22 '
    '3.28 3.35 3.41 3.48 3.55 3.62 3.69 3.77 3.84 3.92 4.00 4.08 4.16 4.24 4.33 4.42 4.50 4.60 4.70 4.80 '
    '4.90 5.00 5.10 5.20 5.30 5.40 5.50 5.60 5.70 5.85 6.00 6.10 6.18 6.30 6.43 6.55 6.70 6.85 7.00 7.10 '
    '7.25 7.40 7.55 7.70 7.85 8.00 8.16 8.33 8.50 8.65 8.80 9.00 9.20 9.40 9.60 9.80 10.0 10.1 10.3 10.5 '
    '10.7 11.0 11.2 11.4 11.6 11.8 12.0 12.3 12.6 12.8 13.0 13.3 13.6 14.0 14.2 14.4 14.7 15.0 15.3 15.6 '
    '16.0 16.3 16.6 17.0 17.3 17.6 18.0 18.3 18.7 19.0 19.5 20.0').split()]
assert len(RATIOS) == 152

def ratio_table():
    out = []
    for i in range(256):
        if i < 152:
            v = f32(RATIOS[i])
            out.append((v, ('%4.2f : 1' if v < 10 else '%4.1f : 1') % v))
        else:
            out.append((f32(100.0), '????????'))
    return out

def time_table():
    segs = [(0, 0.0, 0.1), (50, 5.0, 0.2), (75, 10.0, 1.0), (115, 50.0, 2.0), (140, 100.0, 10.0),
            (180, 500.0, 20.0), (205, 1000.0, 100.0), (245, 5000.0, 200.0)]
    out = []
    for i in range(256):
        start, base, step = [s for s in segs if s[0] <= i][-1]
        v = f32(base + step * (i - start))
        out.append((v, ('%5.1f mS' % v) if v < 1000 else ('%5.3f S ' % (v / 1000.0))))
    return out

FREQ_REPLACED = {8: 20, 24: 31.25, 40: 50, 47: 60, 48: 62.5, 57: 80, 71: 120, 72: 125, 85: 180, 102: 290,
                 103: 300, 136: 780, 137: 800, 181: 2800, 182: 2900, 183: 3000, 249: 20000}
FREQ_LOW = [16.0, 16.08, 16.55, 17.04, 17.54, 18.05, 18.58, 19.13]

def freq_label(v):
    if v < 100:
        return '%5.1f Hz' % v
    if v < 1000:
        return '%4.0f  Hz' % v
    if v < 10000:
        return '%4.2f kHz' % (v / 1000.0)
    return '%4.1f kHz' % (v / 1000.0)

def freq_table():
    out = []
    for i in range(256):
        if i in FREQ_REPLACED:
            v = FREQ_REPLACED[i]
        elif i < 8:
            v = FREQ_LOW[i]
        elif i <= 84:
            v = 15.625 * 2 ** (i / 24.0)
        else:
            v = 15.1802 * 2 ** (i / 24.0)
        v = f32(v)
        out.append((v, freq_label(v)))
    vals = [e[0] for e in out]
    assert vals == sorted(vals) and len(set(vals)) == 256
    return out

def bw_table():
    out = []
    for i in range(128):
        if i <= 40:
            v = 0.10 + 0.01 * i
        elif i <= 50:
            v = 0.50 + 0.02 * (i - 40)
        elif i <= 53:
            v = [0.73, 0.76, 0.80][i - 51]
        else:
            v = 0.80 + 0.05 * (i - 53)
        v = f32(round(v, 4))
        out.append((v, '%4.2f oct' % v))
    return out

def hf_cut_table():
    out = [(f32(2000.0 + 1000 * i), '%2d kHz' % (2 + i)) for i in range(15)]
    out.append((f32(20000.0), 'OFF   '))
    return out

def am_bw_table():
    vals = [0, 4500, 5000, 5500, 6000, 6500, 7500, 9100]
    labels = ['Full    ', '4.5K    ', '5K      ', '5.5K    ', '6K CCIR ', '6.5K    ', '7.5K    ', '10K NRSC']
    return [(f32(v), l) for v, l in zip(vals, labels)]

def tilt_lf_table():
    vals = [5.0, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1, 10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30, 33, 36, 39, 43,
            47, 51, 56, 62, 68, 75, 82, 91, 100]
    return [(f32(v), '%5.1f Hz' % f32(v)) for v in vals]

def tilt_hf_table():
    out = [(f32(10000.0 + 500 * i), '%4.1f kHz' % ((10000.0 + 500 * i) / 1000.0)) for i in range(21)]
    out += [(f32(50000.0), '????????')] * 11
    return out

TILT_Q = [0.25, 0.27, 0.29, 0.31, 0.34, 0.37, 0.40, 0.44, 0.47, 0.51, 0.55, 0.60, 0.65, 0.70, 0.77, 0.83,
          0.90, 0.97, 1.06, 1.15, 1.24, 1.35, 1.46, 1.58, 1.71, 1.85, 2.00, 2.18, 2.36, 2.55, 2.78, 3.00]

def tilt_q_table():
    return [(f32(v), '%4.2f' % f32(v)) for v in TILT_Q]

VALUE_TABLES = [
    ('GAIN_TABLE', gain_table()),
    ('THRESH_TABLE', thresh_table()),
    ('RATIO_TABLE', ratio_table()),
    ('TIME_TABLE', time_table()),
    ('FREQ_TABLE', freq_table()),
    ('BW_TABLE', bw_table()),
    ('HF_CUT_TABLE', hf_cut_table()),
    ('AM_BW_TABLE', am_bw_table()),
    ('TILT_LF_FREQ_TABLE', tilt_lf_table()),
    ('TILT_HF_FREQ_TABLE', tilt_hf_table()),
    ('TILT_LF_Q_TABLE', tilt_q_table()),
    ('TILT_HF_Q_TABLE', tilt_q_table()),
]

# ---- settings table ------------------------------------------------------------------------
# Each row: (id, name, kind, default, min, max, scale) with kind 'f', 'i', 'b'.
# scale: ('table', NAME) | ('step', step, fmt) | ('labels', NAME) | None

rows = []

def F(id, name, d, lo, hi, scale):
    rows.append((id, name, 'f', d, lo, hi, scale))

def I(id, name, d, lo, hi, labels):
    rows.append((id, name, 'i', d, lo, hi, ('labels', labels)))

def B(id, name, d=0):
    rows.append((id, name, 'b', d, 0, 1, None))

T = lambda n: ('table', n)
S = lambda step, fmt: ('step', step, fmt)
GAIN, FREQ, TIME, BW = T('GAIN_TABLE'), T('FREQ_TABLE'), T('TIME_TABLE'), T('BW_TABLE')

I(256, 'Input Source', 0, 0, 1, 'INPUT_SOURCE_LABELS')
F(257, 'Input Line Gain', 0, -36, 12, GAIN)
F(266, 'Input AES Gain', 0, -36, 12, GAIN)
F(258, 'Input Gain Offset', 0, -12, 12, GAIN)
B(262, 'Input Symmetry'); B(270, 'Input HPF Stereo'); B(268, 'Input HPF In Sum'); B(269, 'Input HPF In Diff')
F(261, 'Input HPF Freq Sum', 80, 20, 300, FREQ)
F(267, 'Input HPF Freq Diff', 80, 20, 300, FREQ)

I(768, 'PEQ Position', 0, 0, 1, 'PEQ_POSITION_LABELS')
B(769, 'PEQ Mstr In')
for s in range(4):
    B(770 + s, 'PEQ %d In' % (s + 1))
PEQ_F, PEQ_BW, PEQ_L = [50, 800, 2800, 16000], [1, 0.5, 0.67, 0.4], [6, -4, 3, 8]
for s in range(4):
    F(774 + s, 'PEQ %d Freq' % (s + 1), PEQ_F[s], 20, 20000, FREQ)
for s in range(4):
    F(778 + s, 'PEQ %d BW' % (s + 1), PEQ_BW[s], 0.2, 3, BW)
for s in range(4):
    F(782 + s, 'PEQ %d Lift' % (s + 1), PEQ_L[s], -14, 14, GAIN)

B(1024, 'Comp AGC In'); B(1025, 'Comp In')
for k, (d, lo, hi) in enumerate([(80, 40, 120), (200, 150, 334), (800, 820, 1590), (3000, 2500, 6000)]):
    F(1052 + k, 'Comp XFR%d' % (k + 1), d, lo, hi, FREQ)
F(1126, 'AGC Freeze Level', -40, -80, -20, GAIN)
for b in range(5):
    F(1096 + b, 'AGC %d Freeze Offset' % (b + 1), 0, -6, 6, GAIN)
F(1133, 'AGC Freeze Delay', 100, 50, 500, TIME)
I(1134, 'AGC Freeze Mode', 0, 0, 1, 'AGC_FREEZE_MODE_LABELS')
F(1136, 'AGC Coupling', -6, -30, 0, GAIN)
F(1029, 'AGC Backoff', -3, -12, 0, S(0.1, '% +6.1fdB'))
F(1032, 'Comp Drive', -10, -80, 6, GAIN)
F(1040, 'Comp Diff Drive', 0, -6, 6, GAIN)
F(1033, 'Comp Makeup', 30, -20, 48, GAIN)
F(1041, 'Comp Diff Makeup', 0, -6, 6, GAIN)
for b in range(5):
    F(1086 + b, 'AGC %d Attack' % (b + 1), 200, 50, 1500, TIME)
for b in range(5):
    F(1091 + b, 'AGC %d Release' % (b + 1), 1500, 100, 7000, TIME)
for b in range(5):
    F(1056 + b, 'Comp %d Thresh' % (b + 1), -40, -65, -35, T('THRESH_TABLE'))
for b in range(5):
    F(1061 + b, 'Comp %d Ratio' % (b + 1), 2, 1, 20, T('RATIO_TABLE'))
for b in range(5):
    F(1066 + b, 'Comp %d Attack' % (b + 1), 10, 3, 1000, TIME)
for b in range(5):
    F(1071 + b, 'Comp %d Release' % (b + 1), 150, 33, 1000, TIME)
for b in range(5):
    F(1076 + b, 'Comp Out %d Trim' % (b + 1), 0, -6, 6, GAIN)
for b in range(5):
    F(1081 + b, 'Comp Diff %d Trim' % (b + 1), 0, -6, 6, GAIN)

F(1287, 'Bass Clip Drive', 0, -10, 10, GAIN)
I(1288, 'Bass Clip Stroke', 0, 0, 2, 'BASS_CLIP_STROKE_LABELS')
F(1289, 'Bass Clip Trim', 0, -10, 10, GAIN)
F(1290, 'Bass Clip Freq', 200, 60, 300, FREQ)
B(1280, 'MB Lim In')
F(1281, 'MB Lim Drive', 60, 0, 100, S(0.1, '%3.1f %%'))
I(1282, 'MB Lim Knee', 0, 0, 1, 'MB_LIM_KNEE_LABELS')
I(1286, 'MB Lim Mode', 0, 0, 2, 'MB_LIM_MODE_LABELS')
for b in range(10):
    F(1296 + b, 'MB %02d Lim Thresh' % (b + 1), 0, -10, 10, GAIN)
for b in range(10):
    F(1312 + b, 'MB %02d Clip Thresh' % (b + 1), 0, -10, 10, GAIN)
for b in range(10):
    F(1360 + b, 'MB %02d Attack' % (b + 1), 0.5, 0.2, 1000, TIME)
for b in range(10):
    F(1392 + b, 'MB %02d Release' % (b + 1), 50, 3.3, 300, TIME)

MB_L = [1.2, -0.7, 0.2, 1.7]
def mb_peq(base, prefix):
    for s in range(4):
        B(base + s, '%sMB PEQ %d In' % (prefix, s + 1))
    for s in range(4):
        F(base + 4 + s, '%sMB PEQ %d Freq' % (prefix, s + 1), PEQ_F[s], 20, 20000, FREQ)
    for s in range(4):
        F(base + 8 + s, '%sMB PEQ %d BW' % (prefix, s + 1), PEQ_BW[s], 0.2, 3, BW)
    for s in range(4):
        F(base + 12 + s, '%sMB PEQ %d Lift' % (prefix, s + 1), MB_L[s], -12, 3, S(0.1, '% +6.1fdB'))
mb_peq(1504, '')

F(1536, 'AM Trim', 0, -18, 12, S(0.01, '% +6.2fdB'))
B(1537, 'AM Lim In')
F(1538, 'AM Lim Thresh', 0, -6, 6, S(0.05, '% +6.2fdB'))
F(1539, 'AM Lim Attack', 0.5, 0.2, 100, TIME)
F(1540, 'AM Lim Release', 50, 33, 330, TIME)
F(1541, 'AM Lim Long Release', 330, 100, 1000, TIME)
B(1542, 'AM Lim Long Release Enable'); B(1543, 'AM Lim Link')
I(1544, 'AM Lim Clip Type', 0, 0, 4, 'CLIP_TYPE_LABELS')
I(1550, 'AM Emphasis', 0, 0, 1, 'AM_EMPHASIS_LABELS')
I(1546, 'AM Emphasis Position', 0, 0, 2, 'AM_EMPHASIS_POSITION_LABELS')
B(1547, 'AM AES PreDelay', 1)
F(1548, 'AM AES Gain', 0, -36, 0, S(0.05, '% +6.2fdB'))
B(1549, 'AM AES DeEmphasis', 1)

mb_peq(5600, 'HD ')
F(5632, 'HD Trim', 0, -18, 12, S(0.01, '% +6.2fdB'))
B(5633, 'HD Lim In')
F(5634, 'HD Lim Thresh', 0, -6, 6, S(0.05, '% +6.2fdB'))
F(5635, 'HD Lim Attack', 0.5, 0.2, 100, TIME)
F(5636, 'HD Lim Release', 50, 33, 330, TIME)
F(5637, 'HD Lim Long Release', 330, 100, 1000, TIME)
B(5638, 'HD Lim Long Release Enable'); B(5639, 'HD Lim Link')
I(5640, 'HD Lim Clip Type', 0, 0, 4, 'CLIP_TYPE_LABELS')
F(5641, 'HD Out Level', 0, -36, 0, S(0.05, '% +6.2fdB'))
B(5642, 'HD DeEmphasis', 1)
I(5643, 'HD Source', 0, 0, 3, 'HD_SOURCE_LABELS')
B(5644, 'AM HD Phase'); B(5645, 'AM HD L/R Swap')
F(5646, 'AM HD Bandwidth', 10000, 4000, 20000, T('HF_CUT_TABLE'))
B(5651, 'AM HD HF Protect Enable')
F(5647, 'AM HD HF Protect Freq', 6000, 3000, 16000, T('HF_CUT_TABLE'))
F(5648, 'AM HD Ceiling', -6, -48, 0, GAIN)
F(5649, 'AM HD Recovery', 100, 33, 330, TIME)
B(5650, 'AM HD Hyper Mono')

F(2048, 'AM Bandwidth', 0, 0, 15000, T('AM_BW_TABLE'))
I(2049, 'AM Width', 0, 0, 2, 'AM_WIDTH_LABELS')
F(2050, 'AM Positive Modulation', 100, 100, 200, S(1, '%3.0f%%'))
B(2051, 'AM Phase 1'); B(2052, 'AM Phase 2')
for n, base in ((1, 2055), (2, 2058)):
    F(base, 'AM LF Tilt %d Freq' % n, 20, 5, 100, T('TILT_LF_FREQ_TABLE'))
    F(base + 1, 'AM LF Tilt %d Q' % n, 1.06, 0.25, 3, T('TILT_LF_Q_TABLE'))
    F(base + 2, 'AM LF Tilt %d Level' % n, 0, 0, 6, S(0.5, '%0.1f dB'))
for n, base in ((1, 2061), (2, 2064)):
    F(base, 'AM HF Tilt %d Freq' % n, 18000, 10000, 20000, T('TILT_HF_FREQ_TABLE'))
    F(base + 1, 'AM HF Tilt %d Q' % n, 1.06, 0.25, 3, T('TILT_HF_Q_TABLE'))
    F(base + 2, 'AM HF Tilt %d Level' % n, 0, 0, 6, S(0.5, '%0.1f dB'))
F(2053, 'AM Analog 1', 0, -80, 0, S(0.05, '% +6.2fdB'))
F(2054, 'AM Analog 2', 0, -80, 0, S(0.05, '% +6.2fdB'))

assert len(rows) == 221, len(rows)
assert len(set(r[0] for r in rows)) == 221
assert all(len(r[1]) <= 30 for r in rows)

LABEL_LISTS = [
    ('INPUT_SOURCE_LABELS', ['LINE    ', 'AES     ']),
    ('PEQ_POSITION_LABELS', ['PreProc ', 'PostComp']),
    ('AGC_FREEZE_MODE_LABELS', ['Ooze', 'Gate']),
    ('BASS_CLIP_STROKE_LABELS', ['Off     ', 'Soft    ', 'Hard    ']),
    ('MB_LIM_KNEE_LABELS', ['Soft    ', 'Hard    ']),
    ('MB_LIM_MODE_LABELS', ['Limit & Clip', 'Limit Only', 'Clip  Only']),
    ('CLIP_TYPE_LABELS', ['Off', 'Hard', 'Firm', 'Round', 'Off']),
    ('AM_EMPHASIS_LABELS', ['FLAT', 'NRSC']),
    ('AM_EMPHASIS_POSITION_LABELS', ['Pre-MBLim', 'Pre-Limiter', 'Post-Limiter']),
    ('HD_SOURCE_LABELS', ['Compressor', 'MB Limiter', 'KORU      ', ' Off']),
    ('AM_WIDTH_LABELS', ['Mono', 'Stereo', 'Stereo MS']),
]
ll = dict(LABEL_LISTS)
for r in rows:
    if r[2] == 'i':
        assert len(ll[r[6][1]]) == r[5] + 1, r

HEADER = '// Generated by tools/gen/gen_tables.py; edit the generator, not this file.\n'

def write_value_tables(path):
    with open(path, 'w') as f:
        f.write(HEADER)
        f.write('#include "tables/value_tables.h"\n\n')
        for name, entries in VALUE_TABLES:
            n = len(entries)
            assert n & (n - 1) == 0 and 4 <= n <= 4096, name
            assert all(len(l) <= 8 for _, l in entries), name
            vals = [v for v, _ in entries]
            assert vals == sorted(vals), name
            f.write('const VALUE_ENTRY %s[%d] = {\n' % (name, n))
            for i, (v, l) in enumerate(entries):
                f.write('    {%s, %s}, // %d\n' % (cfloat(v), cstr(l), i))
            f.write('};\n\n')
        for name, labels in LABEL_LISTS:
            f.write('const char *const %s[%d] = {%s};\n' % (name, len(labels), ', '.join(cstr(l) for l in labels)))

def write_settings_table(path):
    with open(path, 'w') as f:
        f.write(HEADER)
        f.write('#include "tables/settings_table.h"\n#include "tables/value_tables.h"\n\n')
        f.write('// id, type, name, bool default, int default, int min, int max, float default, float min, float max\n')
        f.write('const SETTING_DEF SETTINGS_TABLE[%d] = {\n' % (len(rows) + 1))
        for id_, name, kind, d, lo, hi, scale in rows:
            if kind == 'f':
                f.write('    {%d, 1, %s, 0, 0, 0, 0, %s, %s, %s},\n' % (id_, cstr(name), cfloat(d), cfloat(lo), cfloat(hi)))
            elif kind == 'i':
                f.write('    {%d, 2, %s, 0, %d, %d, %d, 0.0f, 0.0f, 0.0f},\n' % (id_, cstr(name), d, lo, hi))
            else:
                f.write('    {%d, 3, %s, %d, 0, 0, 0, 0.0f, 0.0f, 0.0f},\n' % (id_, cstr(name), d))
        f.write('    {0xFFFF, 0, "", 0, 0, 0, 0, 0.0f, 0.0f, 0.0f},\n};\n\n')
        f.write('// How each holder is built: a value table, a step with its label format, a label list, or a boolean.\n')
        f.write('const SETTING_BUILD SETTINGS_BUILD_LIST[%d] = {\n' % len(rows))
        for id_, name, kind, d, lo, hi, scale in rows:
            if kind == 'f' and scale[0] == 'table':
                t = scale[1]
                f.write('    {%d, SETTING_BUILD::Table, %s, %d, 0.0, nullptr, nullptr},\n' % (id_, t, len(dict(VALUE_TABLES)[t])))
            elif kind == 'f':
                f.write('    {%d, SETTING_BUILD::Step, nullptr, 0, %r, %s, nullptr},\n' % (id_, scale[1], cstr(scale[2])))
            elif kind == 'i':
                f.write('    {%d, SETTING_BUILD::Labels, nullptr, 0, 0.0, nullptr, %s},\n' % (id_, scale[1]))
            else:
                f.write('    {%d, SETTING_BUILD::Boolean, nullptr, 0, 0.0, nullptr, nullptr},\n' % id_)
        f.write('};\n')

# ---- named ids ---------------------------------------------------------------------------

def camel(name):
    words = [w for w in ''.join(c if c.isalnum() else ' ' for c in name).split()]
    return ''.join(w.capitalize() if w.isupper() or w.isdigit() else w[0].upper() + w[1:] for w in words)

def write_setting_ids(path):
    names = [(camel(name), id_) for id_, name, *_ in rows]
    assert len(set(n for n, _ in names)) == len(names)
    with open(path, 'w') as f:
        f.write(HEADER)
        f.write('// Processor parameter ids by name: SettingId::InputLineGain is "Input Line Gain".\n')
        f.write('#pragma once\n\n#include <cstdint>\n\nnamespace SettingId {\nenum : uint16_t {\n')
        for n, id_ in sorted(names, key=lambda x: x[1]):
            f.write('    %s = %d,\n' % (n, id_))
        f.write('};\n} // namespace SettingId\n')

# ---- control bindings ----------------------------------------------------------------------

KINDS = dict(Button=3, Lamp=4, CheckBox=5, Display=6, Knob=7, Slider=8, Combo=9, Listbox=10,
             RadioGroup=11, RadioItem=12, Meter=13, ApGraph=14, DynGraph=15, Label=16, Image=17)
CLASSES = {'none': '0u', 'settings': '1u', 'takes': '2u', 'saves': '4u', 'takes+saves': '6u',
           'screens': '16u', 'meters': '32u', 'any': '0xFFFFFFFFu'}
ROUTES = {'show': 'Show', 'refresh-derived': 'RefreshDerived', 'comp-row': 'CompRow', 'mb-row': 'MbRow',
          'mb-eq': 'MbEq', 'hd-eq': 'HdEq', 'bandwidth': 'Bandwidth', 'width': 'Width',
          'graph-source': 'GraphSource', 'delay': 'Delay'}
PANEL_WORDS = {'main': 'Main', 'system': 'System', 'compressor': 'Compressor', 'parametric': 'Parametric',
               'input': 'Input', 'amhd': 'AmHd', 'amout': 'AmOut', 'amtx': 'AmTx'}

def units_of(id_):
    scale = {r[0]: r[6] for r in rows}[id_]
    if scale is None or scale[0] == 'labels':
        return ''
    if scale[0] == 'table':
        return {'GAIN_TABLE': 'dB', 'THRESH_TABLE': 'dB', 'TIME_TABLE': 'mS', 'FREQ_TABLE': 'Hz'}.get(scale[1], '')
    return 'dB' if 'dB' in scale[2] else ''

def read_bindings(path):
    out, screen, panel = [], None, None
    setting_ids = {r[0] for r in rows}
    for lineno, line in enumerate(open(path), 1):
        line = line.split('#', 1)[0].strip()
        if not line:
            continue
        words = line.split()
        where = '%s:%d' % (path, lineno)
        if words[0] == '@panel':
            panel, screen = words[1], int(words[2])
            assert panel in PANEL_WORDS, where
            continue
        number, name, kind = int(words[0]), words[1], words[2]
        assert kind in KINDS, where
        b = dict(panel=panel, screen=screen, number=number, name=name, kind=kind, source='None', id=0,
                 last=0, dsp=0, value=0, lo=0, hi=0, units=None, access='settings', flags=[], route='show',
                 row=-1, group=0)
        for a in words[3:]:
            key, _, val = a.partition('=')
            if key in ('s', 'g'):
                b['source'], b['id'] = ('Setting' if key == 's' else 'Global'), int(val)
                assert key == 'g' or b['id'] in setting_ids, where
                assert key == 's' or 1000 <= b['id'] <= 1030, where
            elif key == 'ids':
                first, last = (int(x) for x in val.split('-'))
                b['source'], b['id'], b['last'] = 'Setting', first, last
            elif key == 'dsp':
                b['dsp'] = int(val)
            elif key == 'units':
                b['units'] = val
            elif key == 'v':
                b['value'] = int(val)
            elif key == 'range':
                b['lo'], b['hi'] = (int(x) for x in val.split('..'))
            elif key == 'class':
                assert val in CLASSES, where
                b['access'] = val
            elif key == 'route':
                assert val in ROUTES, where
                b['route'] = val
            elif key == 'row':
                b['row'] = int(val)
            elif key in ('step', 'own'):
                b['flags'].append(key)
            else:
                raise SystemExit('%s: unknown attribute %s' % (where, a))
        if b['last'] == 0:
            b['last'] = b['id']
        if b['kind'] == 'Knob' and b['source'] == 'Setting':
            if b['units'] is None:
                b['units'] = units_of(b['id'])
        # Items and entry lamps belong to the group or combo before them.
        if kind in ('RadioItem', 'Lamp') and ('v=' in line or b['row'] >= 0):
            for prev in reversed(out):
                if prev['panel'] == panel and prev['kind'] in ('RadioGroup', 'Combo'):
                    b['group'] = prev['number']
                    break
        out.append(b)
    names = [b['name'] for b in out]
    assert len(set(names)) == len(names), 'skin names must be unique'
    for p in PANEL_WORDS:
        nums = [b['number'] for b in out if b['panel'] == p]
        assert len(set(nums)) == len(nums), p
        for b in out:
            if b['panel'] == p and b['dsp']:
                assert b['dsp'] in nums, b['name']
    return out

def write_bindings(src, header, ids_header):
    bs = read_bindings(src)
    with open(header, 'w') as f:
        f.write('// Generated by tools/gen/gen_tables.py from tools/gen/bindings.txt; edit that file, not this one.\n')
        f.write('#pragma once\n\n#include "panels/binding.h"\n\nnamespace orba::panels {\n\n')
        f.write('// screen, number, name, kind, source, id, last id, display, value, range, units, class, flags,\n')
        f.write('// route, row, group\n')
        f.write('inline constexpr Binding kBindings[] = {\n')
        for b in bs:
            flags = ' | '.join('kBinding' + x.capitalize() for x in b['flags']) or '0'
            f.write('    {%d, %d, %s, %d, Source::%s, %d, %d, %d, %d, %d, %d, %s, %s, %s, Route::%s, %d, %d},\n' % (
                b['screen'], b['number'], cstr(b['name']), KINDS[b['kind']], b['source'], b['id'], b['last'],
                b['dsp'], b['value'], b['lo'], b['hi'], cstr(b['units'] or ''), CLASSES[b['access']], flags,
                ROUTES[b['route']], b['row'], b['group']))
        f.write('};\n\n} // namespace orba::panels\n')
    with open(ids_header, 'w') as f:
        f.write('// Generated by tools/gen/gen_tables.py from tools/gen/bindings.txt; edit that file, not this one.\n')
        f.write('// Skin object numbers by skin name. Numbers are unique within one panel only.\n')
        f.write('#pragma once\n\nnamespace Ctl {\n')
        for b in bs:
            f.write('inline constexpr int %s = %d;\n' % (b['name'], b['number']))
        f.write('} // namespace Ctl\n')
    return len(bs)

if __name__ == '__main__':
    write_value_tables('src/tables/value_tables_data.cpp')
    write_settings_table('src/tables/settings_table_data.cpp')
    write_setting_ids('src/tables/setting_ids.h')
    n = write_bindings('tools/gen/bindings.txt', 'src/panels/binding_table.h', 'src/panels/control_ids.h')
    print('wrote src/tables/value_tables_data.cpp, src/tables/settings_table_data.cpp, src/tables/setting_ids.h,')
    print('      src/panels/binding_table.h and src/panels/control_ids.h (%d bindings)' % n)
