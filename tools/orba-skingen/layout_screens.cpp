// The seven processing screens. Each shares the screen area (538 x 576 at SX, SY), starts with
// its background picture and title plate, and arranges its controls in section panels. Knob
// captions follow the panels' own spaced style ("F r e q u e n c y").
#include "default_skin_objects.h"
#include "layout.h"
#include "theme.h"

namespace orba::skingen {

using namespace theme;
using art::ButtonStyle;

namespace {

constexpr int kTop = 42; // first row under the title plate

Surface screenSurface(SkinWriter &w, int screen)
{
    return Surface(w, screen, screenArea(), QStringLiteral("SX"), QStringLiteral("SY"));
}

// A limiter row shared by the AM and HD outputs (objects PREFIX_LIM_...): four knobs, long
// release, link and clip type.
void limiterRow(Surface &s, const QRect &r, const QString &prefix)
{
    auto id = [&](const char *part) { return QStringLiteral("%1_LIM_%2").arg(prefix, QLatin1String(part)); };
    s.section(r, QStringLiteral("Limiter"));
    s.slideSwitch(id("ENABLE"), QStringLiteral("In"), r.right() - 40, r.y() + 3, true);
    const int top = r.y() + 28, k = Surface::kSmallKnobSize + 4;
    s.knob(id("THR_KNOB"), QStringLiteral("T h r e s h"), r.x() + 48, top, Ring::ReBar, k, id("THR_DSPY"));
    s.knob(id("ATK_KNOB"), QStringLiteral("A t t a c k"), r.x() + 128, top, Ring::Bar, k, id("ATK_DSPY"));
    s.knob(id("RLS_KNOB"), QStringLiteral("R e l e a s e"), r.x() + 208, top, Ring::Bar, k, id("RLS_DSPY"));
    s.knob(id("RLL_KNOB"), QStringLiteral("L o n g   R e l."), r.x() + 288, top, Ring::Bar, k,
           id("RLL_DSPY"));
    s.slideSwitch(id("LONG"), QStringLiteral("Long release"), r.x() + 352, top + 2);
    s.slideSwitch(id("LINK"), QStringLiteral("Stereo link"), r.x() + 352, top + 30);
    s.combo(id("CLIP"), QStringLiteral("Clipper"), r.x() + 352, top + 70, 170, ComboKind::Drop);
}

} // namespace

void layoutInput(SkinWriter &w)
{
    Surface s = screenSurface(w, kInput);
    s.title(QStringLiteral("INPUT_LABEL"), QStringLiteral("INPUT"));

    s.setConditional({QStringLiteral("INPUT_HPFD_DSPY")});
    const QRect source(0, kTop, 264, 200);
    s.section(source, QStringLiteral("Source"));
    s.radio(QStringLiteral("INPUT_SRC"), QString(), 16, kTop + 56,
            {{QStringLiteral("INPUT_SRC_LINE"), QStringLiteral("Analog line"), 0, 0},
             {QStringLiteral("INPUT_SRC_AES"), QStringLiteral("AES3 digital"), 0, 26}});
    s.text(QRect(16, kTop + 36, 110, 14), QStringLiteral("INPUT"), Qt::AlignLeft | Qt::AlignVCenter, 9,
           false);
    s.text(QRect(148, kTop + 36, 110, 14), QStringLiteral("SIGNAL"), Qt::AlignLeft | Qt::AlignVCenter, 9,
           false);
    s.lamp(QStringLiteral("INPUT_ANA_FAIL"), QStringLiteral("Analog"), 148, kTop + 56, LampKind::Status);
    s.lamp(QStringLiteral("INPUT_AES_FAIL"), QStringLiteral("AES"), 148, kTop + 82, LampKind::Status);

    const QRect gain(274, kTop, 264, 200);
    s.section(gain, QStringLiteral("Gain"));
    const int gt = kTop + 50;
    s.knob(QStringLiteral("INPUT_ANA_GAIN_KNOB"), QStringLiteral("A n a l o g"), 274 + 46, gt, Ring::Pan,
           Surface::kKnobSize, QStringLiteral("INPUT_ANA_GAIN_DSPY"));
    s.knob(QStringLiteral("INPUT_AES_GAIN_KNOB"), QStringLiteral("A E S"), 274 + 132, gt, Ring::Pan,
           Surface::kKnobSize, QStringLiteral("INPUT_AES_GAIN_DSPY"));
    s.knob(QStringLiteral("INPUT_OFFSET_KNOB"), QStringLiteral("O f f s e t"), 274 + 218, gt, Ring::Pan,
           Surface::kKnobSize, QStringLiteral("INPUT_OFFSET_DSPY"));

    const int hy = kTop + 210;
    s.section(QRect(0, hy, 538, 190), QStringLiteral("High-pass filters"));
    s.slideSwitch(QStringLiteral("INPUT_HPF_STEREO"), QStringLiteral("Stereo (one filter)"), 16, hy + 48);
    s.slideSwitch(QStringLiteral("INPUT_HPFS_IN"), QStringLiteral("Sum filter in"), 16, hy + 88);
    s.slideSwitch(QStringLiteral("INPUT_HPFD_IN"), QStringLiteral("Difference filter in"), 16, hy + 128);
    s.knob(QStringLiteral("INPUT_HPFS_KNOB"), QStringLiteral("S u m   F r e q."), 336, hy + 56, Ring::Bar,
           Surface::kKnobSize, QStringLiteral("INPUT_HPFS_DSPY"));
    s.knob(QStringLiteral("INPUT_HPFD_KNOB"), QStringLiteral("D i f f   F r e q."), 452, hy + 56, Ring::Bar,
           Surface::kKnobSize, QStringLiteral("INPUT_HPFD_DSPY"));

    const int sy = hy + 200;
    s.section(QRect(0, sy, 264, 576 - sy), QStringLiteral("Symmetry"));
    s.slideSwitch(QStringLiteral("INPUT_SYMMETRY"), QStringLiteral("Phase rotator"), 16, sy + 48);
    s.text(QRect(56, sy + 72, 200, 40), QStringLiteral("Evens out asymmetric voice peaks"),
           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, 9, false);
    s.section(QRect(274, sy, 264, 576 - sy), QStringLiteral("Fail-over"));
    s.slideSwitch(QStringLiteral("INPUT_FAILOVER"), QStringLiteral("Fall back to analog"), 290, sy + 48);
    s.text(QRect(330, sy + 72, 200, 40), QStringLiteral("when the AES input loses its signal"),
           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, 9, false);

    s.finish(QStringLiteral("INPUT_BKGRND"));
}

void layoutParametric(SkinWriter &w)
{
    Surface s = screenSurface(w, kParametric);
    s.title(QStringLiteral("PEQ_LABEL"), QStringLiteral("PARAMETRIC EQUALISER"));

    s.section(QRect(0, kTop, 538, 66), QStringLiteral("Equaliser"));
    s.pushSwitch(QStringLiteral("PEQ_ENABLE"), QStringLiteral("EQ IN"), QRect(14, kTop + 32, 92, 24),
                 s.accent());
    s.text(QRect(130, kTop + 36, 70, 16), QStringLiteral("POSITION"), Qt::AlignLeft | Qt::AlignVCenter, 9,
           false);
    s.radio(QStringLiteral("PEQ_POS"), QString(), 196, kTop + 36,
            {{QStringLiteral("PEQ_POS_PRE"), QStringLiteral("Before processing"), 0, 0},
             {QStringLiteral("PEQ_POS_PST"), QStringLiteral("After compressor"), 160, 0}});

    const char *bands[4] = {"Low", "Mid 1", "Mid 2", "High"};
    const int columnTop = kTop + 76;
    for (int b = 0; b < 4; ++b) {
        const int x = b * 136;
        const QRect column(x, columnTop, 130, 458);
        s.section(column, QLatin1String(bands[b]), true, peqSection(b));
        const QString n = QString::number(b + 1);
        s.slideSwitch(QStringLiteral("PEQ%1_ENABLE").arg(n), QStringLiteral("In"), x + 90, columnTop + 3,
                      true);
        const int cx = x + 65;
        s.knob(QStringLiteral("PEQ%1_F_KNOB").arg(n), QStringLiteral("F r e q u e n c y"), cx, columnTop + 44,
               Ring::Bar, Surface::kKnobSize, QStringLiteral("PEQ%1_F_DSPY").arg(n));
        s.knob(QStringLiteral("PEQ%1_Q_KNOB").arg(n), QStringLiteral("B a n d w i d t h"), cx,
               columnTop + 180, Ring::Spread, Surface::kKnobSize, QStringLiteral("PEQ%1_Q_DSPY").arg(n));
        s.knob(QStringLiteral("PEQ%1_L_KNOB").arg(n), QStringLiteral("L i f t"), cx, columnTop + 316,
               Ring::Pan, Surface::kKnobSize, QStringLiteral("PEQ%1_L_DSPY").arg(n));
    }
    s.finish(QStringLiteral("PEQ_BKGRND"));
}

void layoutCompressor(SkinWriter &w)
{
    Surface s = screenSurface(w, kCompressor);
    s.title(QStringLiteral("COMP_LABEL"), QStringLiteral("AGC  ·  COMPRESSOR"));

    // Static curves and the band row the main graph edits.
    s.section(QRect(0, kTop, 338, 252), QStringLiteral("Transfer curves"));
    s.dynamicsGraph(QStringLiteral("COMP_GRAPH"), QRect(8, kTop + 30, 322, 214));

    s.setConditional({QStringLiteral("COMP_DMSTR")});
    s.section(QRect(348, kTop, 190, 252), QStringLiteral("Band edit"));
    const int ry = kTop + 34;
    s.text(QRect(364, ry - 4, 150, 14), QStringLiteral("AGC"), Qt::AlignLeft | Qt::AlignVCenter, 9, false);
    s.text(QRect(364, ry + 78, 150, 14), QStringLiteral("COMPRESSOR"), Qt::AlignLeft | Qt::AlignVCenter, 9,
           false);
    s.radio(QStringLiteral("COMP_TYPE"), QString(), 364, ry + 14,
            {{QStringLiteral("COMP_TYPE_A_ATT"), QStringLiteral("Attack"), 0, 0},
             {QStringLiteral("COMP_TYPE_A_REL"), QStringLiteral("Release"), 0, 20},
             {QStringLiteral("COMP_TYPE_A_FRZ"), QStringLiteral("Freeze offset"), 0, 40},
             {QStringLiteral("COMP_TYPE_C_THR"), QStringLiteral("Threshold"), 0, 82},
             {QStringLiteral("COMP_TYPE_C_ATT"), QStringLiteral("Attack"), 0, 101},
             {QStringLiteral("COMP_TYPE_C_REL"), QStringLiteral("Release"), 0, 120},
             {QStringLiteral("COMP_TYPE_C_RAT"), QStringLiteral("Ratio"), 0, 139},
             {QStringLiteral("COMP_TYPE_C_OUT"), QStringLiteral("Output trim"), 0, 158},
             {QStringLiteral("COMP_TYPE_C_DOUT"), QStringLiteral("Difference trim"), 0, 177}});

    // AGC and compressor sections side by side, knobs left, combos right.
    const int row = kTop + 262;
    const QRect agc(0, row, 264, 184), comp(274, row, 264, 184);
    s.heading(QStringLiteral("AGC_LABEL"), agc, QStringLiteral("AGC"));
    s.slideSwitch(QStringLiteral("COMP_AGC_ENABLE"), QStringLiteral("In"), agc.right() - 40, row + 3, true);
    s.knob(QStringLiteral("AGC_FRZDLY_KNOB"), QStringLiteral("F r e e z e"), 46, row + 32, Ring::Bar,
           Surface::kKnobSize, QStringLiteral("AGC_FRZDLY_DSPY"));
    s.knob(QStringLiteral("AGC_BKOFF_KNOB"), QStringLiteral("B a c k o f f"), 130, row + 32, Ring::Bar,
           Surface::kKnobSize, QStringLiteral("AGC_BKOFF_DSPY"));
    s.combo(QStringLiteral("AGC_FRZ_THR"), QStringLiteral("Freeze level"), 176, row + 52, 78,
            ComboKind::Step);
    s.combo(QStringLiteral("AGC_COUPLING"), QStringLiteral("Coupling"), 176, row + 98, 78, ComboKind::Step);
    s.text(QRect(14, row + 140, 90, 16), QStringLiteral("FREEZE MODE"), Qt::AlignLeft | Qt::AlignVCenter, 9,
           false);
    s.radio(QStringLiteral("AGC_FRZMOD"), QString(), 14, row + 158,
            {{QStringLiteral("AGC_FRZMOD_OOZE"), QStringLiteral("Ooze"), 0, 0},
             {QStringLiteral("AGC_FRZMOD_GATE"), QStringLiteral("Gate"), 80, 0}});

    s.section(comp, QStringLiteral("Compressor"));
    s.slideSwitch(QStringLiteral("COMP_COMP_ENABLE"), QStringLiteral("In"), comp.right() - 40, row + 3, true);
    s.knob(QStringLiteral("COMP_DRV_KNOB"), QStringLiteral("D r i v e"), 274 + 46, row + 32, Ring::Bar,
           Surface::kKnobSize, QStringLiteral("COMP_DRV_DSPY"));
    s.knob(QStringLiteral("COMP_MSTR_KNOB"), QStringLiteral("M a k e u p"), 274 + 130, row + 32, Ring::Pan,
           Surface::kKnobSize, QStringLiteral("COMP_MSTR_DSPY"));
    s.combo(QStringLiteral("COMP_DDRV"), QStringLiteral("Diff. drive"), 274 + 176, row + 52, 78,
            ComboKind::Step);
    s.combo(QStringLiteral("COMP_DMSTR"), QStringLiteral("Diff. makeup"), 274 + 176, row + 98, 78,
            ComboKind::Step);

    const int xr = row + 194;
    s.heading(QStringLiteral("XFR_LABEL"), QRect(0, xr, 538, 80), QStringLiteral("Crossovers"));
    const char *edges[4] = {"Band 1 / 2", "Band 2 / 3", "Band 3 / 4", "Band 4 / 5"};
    for (int i = 0; i < 4; ++i)
        s.combo(QStringLiteral("COMP_XFR%1").arg(i + 1), QLatin1String(edges[i]), 16 + i * 130, xr + 48, 116,
                ComboKind::Step);

    s.finish(QStringLiteral("COMP_BKGRND"));
}

void layoutAmHd(SkinWriter &w)
{
    Surface s = screenSurface(w, kAmHd);
    s.title(QStringLiteral("AMHD_LABEL"), QStringLiteral("HD OUTPUT"));
    const int small = Surface::kSmallKnobSize;

    s.section(QRect(0, kTop, 264, 96), QStringLiteral("Source and level"));
    s.combo(QStringLiteral("AMHD_SOURCE"), QStringLiteral("Source"), 14, kTop + 50, 100, ComboKind::Drop);
    s.knob(QStringLiteral("AMHD_TRIM_KNOB"), QStringLiteral("T r i m"), 156, kTop + 22, Ring::Pan, small,
           QStringLiteral("AMHD_TRIM_DSPY"));
    s.knob(QStringLiteral("AMHD_AES_GAIN_KNOB"), QStringLiteral("O u t p u t"), 226, kTop + 22, Ring::Bar,
           small, QStringLiteral("AMHD_AES_GAIN_DSPY"));

    s.section(QRect(274, kTop, 264, 96), QStringLiteral("Channels"));
    s.slideSwitch(QStringLiteral("AMHD_PHASE"), QStringLiteral("Invert phase"), 288, kTop + 36);
    s.slideSwitch(QStringLiteral("AMHD_SWAP"), QStringLiteral("Swap L / R"), 288, kTop + 66);
    s.slideSwitch(QStringLiteral("AMHD_DEEMPH"), QStringLiteral("De-emphasis"), 410, kTop + 36);
    s.slideSwitch(QStringLiteral("AMHD_HYPER_MONO"), QStringLiteral("Hyper mono"), 410, kTop + 66);

    limiterRow(s, QRect(0, kTop + 106, 538, 120), QStringLiteral("AMHD"));

    const int py = kTop + 236;
    s.section(QRect(0, py, 538, 94), QStringLiteral("Bandwidth and protection"));
    s.combo(QStringLiteral("AMHD_BANDWIDTH"), QStringLiteral("Bandwidth"), 14, py + 50, 100, ComboKind::Step);
    s.slideSwitch(QStringLiteral("AMHD_HF_PRO_I"), QStringLiteral("HF protect"), 136, py + 31);
    s.combo(QStringLiteral("AMHD_HF_PRO_F"), QString(), 136, py + 62, 100, ComboKind::Step);
    s.knob(QStringLiteral("AMHD_CEILING_KNOB"), QStringLiteral("C e i l i n g"), 330, py + 20, Ring::ReBar,
           small, QStringLiteral("AMHD_CEILING_DSPY"));
    s.knob(QStringLiteral("AMHD_RECOVERY_KNOB"), QStringLiteral("R e c o v e r y"), 440, py + 20, Ring::Bar,
           small, QStringLiteral("AMHD_RECOVERY_DSPY"));

    const int gy = py + 104;
    s.heading(QStringLiteral("AMHD_RADIO"), QRect(0, gy, 538, 576 - gy),
              QStringLiteral("HD Radio  ·  multiband EQ"));
    const QRect graph(8, gy + 28, 522, 576 - gy - 34);
    s.responseGraph(QStringLiteral("AMHD_GRAPH"), {graph}, QStringLiteral("C_HDOUT"));

    s.finish(QStringLiteral("AMHD_BKGRND"));
}

void layoutAmOut(SkinWriter &w)
{
    Surface s = screenSurface(w, kAmOut);
    s.title(QStringLiteral("FMO_LABEL"), QStringLiteral("AM OUTPUT"));
    const int k = Surface::kSmallKnobSize + 4;

    limiterRow(s, QRect(0, kTop, 538, 120), QStringLiteral("FMO"));

    // Output trim, emphasis with its position; the lamps mark the entry each combo shows.
    const int oy = kTop + 130;
    s.section(QRect(0, oy, 358, 112), QStringLiteral("Output"));
    s.knob(QStringLiteral("FMO_MSTR_KNOB"), QStringLiteral("T r i m"), 48, oy + 28, Ring::Pan, k,
           QStringLiteral("FMO_MSTR_DSPY"));
    s.combo(QStringLiteral("FMO_AM_EMP"), QStringLiteral("Emphasis"), 100, oy + 48, 120, ComboKind::Drop, 3);
    s.lamp(QStringLiteral("FMO_EMP_FLAT"), QStringLiteral("Flat"), 100, oy + 78, LampKind::Choice);
    s.lamp(QStringLiteral("FMO_PREEMP_50"), QStringLiteral("50"), 148, oy + 78, LampKind::Choice);
    s.lamp(QStringLiteral("FMO_PREEMP_75"), QStringLiteral("75"), 188, oy + 78, LampKind::Choice);
    s.combo(QStringLiteral("FMO_EMP_POS"), QStringLiteral("Emphasis position"), 232, oy + 48, 116,
            ComboKind::Drop, 3);
    s.lamp(QStringLiteral("FMO_EMP_POS_PREMB"), QStringLiteral("MB"), 230, oy + 78, LampKind::Choice);
    s.lamp(QStringLiteral("FMO_EMP_POS_PRELIM"), QStringLiteral("Lim"), 268, oy + 78, LampKind::Choice);
    s.lamp(QStringLiteral("FMO_EMP_POS_POST"), QStringLiteral("Post"), 308, oy + 78, LampKind::Choice);

    const QRect delay(368, oy, 170, 112);
    s.heading(QStringLiteral("FMO_DELAY_GROUP"), delay, QStringLiteral("Delay"));
    s.knob(QStringLiteral("FMO_DELAY_C_KNOB"), QStringLiteral("C o a r s e"), 368 + 46, oy + 28, Ring::Dot,
           36);
    s.knob(QStringLiteral("FMO_DELAY_F_KNOB"), QStringLiteral("F i n e"), 368 + 124, oy + 28, Ring::Dot, 36);
    s.valueDisplay(QStringLiteral("FMO_DELAY_DSPY"), 368 + 85, oy + 86, 88);

    // Multiband limiter: drive, knee and mode, the row that the main graph edits, its own graph.
    const int my = oy + 122;
    s.heading(QStringLiteral("FMO_LABEL2"), QRect(0, my, 538, 190), QStringLiteral("Multiband limiter"));
    s.slideSwitch(QStringLiteral("FMO_MBLIM_ENABLE"), QStringLiteral("In"), 538 - 40, my + 3, true);
    s.knob(QStringLiteral("FMO_MBLIM_DRV_KNOB"), QStringLiteral("D r i v e"), 48, my + 30, Ring::Bar, k,
           QStringLiteral("FMO_MBLIM_DRV_DSPY"));
    s.combo(QStringLiteral("FMO_MBLIM_KNEE"), QStringLiteral("Knee"), 14, my + 132, 84, ComboKind::Drop, 4);
    s.combo(QStringLiteral("FMO_MBLIM_MODE"), QStringLiteral("Mode"), 110, my + 50, 84, ComboKind::Drop, 4);
    s.text(QRect(110, my + 80, 90, 14), QStringLiteral("EDIT ON GRAPH"), Qt::AlignLeft | Qt::AlignVCenter, 9,
           false);
    s.radio(QStringLiteral("FMO_MBLIM_TYPE"), QString(), 110, my + 96,
            {{QStringLiteral("FMO_MBLIM_TYPE_THR"), QStringLiteral("Limit"), 0, 0},
             {QStringLiteral("FMO_MBLIM_TYPE_CLP"), QStringLiteral("Clip"), 0, 20},
             {QStringLiteral("FMO_MBLIM_TYPE_ATT"), QStringLiteral("Attack"), 0, 40},
             {QStringLiteral("FMO_MBLIM_TYPE_REL"), QStringLiteral("Release"), 0, 60},
             {QStringLiteral("FMO_MBLIM_TYPE_EQ"), QStringLiteral("EQ"), 70, 0}});
    const QRect graph(222, my + 30, 308, 152);
    s.responseGraph(QStringLiteral("FMO_GRAPH"), {graph}, QStringLiteral("C_AMOUT"));

    const int by = my + 200;
    s.section(QRect(0, by, 538, 576 - by), QStringLiteral("Bass clipper"));
    s.combo(QStringLiteral("FMO_BCLP_DRV"), QStringLiteral("Drive"), 16, by + 50, 116, ComboKind::Step);
    s.combo(QStringLiteral("FMO_BCLP_STROKE"), QStringLiteral("Stroke"), 146, by + 50, 116, ComboKind::Drop,
            4);
    s.combo(QStringLiteral("FMO_BCLP_TRIM"), QStringLiteral("Trim"), 276, by + 50, 116, ComboKind::Step);
    s.combo(QStringLiteral("FMO_BCLP_FREQ"), QStringLiteral("Frequency"), 406, by + 50, 116, ComboKind::Step);

    s.finish(QStringLiteral("FMO_BKGRND"));
}

void layoutAmTx(SkinWriter &w)
{
    Surface s = screenSurface(w, kAmTx);
    s.title(QStringLiteral("AMT_LABEL"), QStringLiteral("AM TRANSMITTER"));
    const int k = Surface::kSmallKnobSize + 4;

    s.setConditional({QStringLiteral("AMT_OUT_B_DSPY"), QStringLiteral("AMT_LFTILT_F_B"),
                      QStringLiteral("AMT_LFTILT_Q_B"), QStringLiteral("AMT_LFTILT_L_B"),
                      QStringLiteral("AMT_HFTILT_F_B"), QStringLiteral("AMT_HFTILT_Q_B"),
                      QStringLiteral("AMT_HFTILT_L_B")});
    s.section(QRect(0, kTop, 264, 140), QStringLiteral("Audio"));
    s.combo(QStringLiteral("AMT_FILTER"), QStringLiteral("Bandwidth"), 14, kTop + 54, 150, ComboKind::Drop);
    s.combo(QStringLiteral("AMT_WIDTH"), QStringLiteral("Stereo"), 14, kTop + 106, 150, ComboKind::Drop, 4);
    s.knob(QStringLiteral("AMT_MODULATION_KNOB"), QStringLiteral("P o s.   m o d."), 216, kTop + 34,
           Ring::Bar, k, QStringLiteral("AMT_MODULATION_DSPY"));

    // Outputs A and B with their phase switches.
    s.section(QRect(274, kTop, 264, 140), QStringLiteral("Outputs"));
    s.knob(QStringLiteral("AMT_OUT_A_KNOB"), QStringLiteral("O u t   A"), 274 + 50, kTop + 34, Ring::Bar, k,
           QStringLiteral("AMT_OUT_A_DSPY"));
    s.knob(QStringLiteral("AMT_OUT_B_KNOB"), QStringLiteral("O u t   B"), 274 + 130, kTop + 34, Ring::Bar, k,
           QStringLiteral("AMT_OUT_B_DSPY"));
    s.slideSwitch(QStringLiteral("AMT_PHASE_A"), QStringLiteral("Ø A"), 274 + 188, kTop + 54);
    s.slideSwitch(QStringLiteral("AMT_PHASE_B"), QStringLiteral("Ø B"), 274 + 188, kTop + 90);

    // Tilt filters: a row of three step combos per output.
    const int ty = kTop + 150;
    auto tilt = [&](const QString &label, const QString &kind, int x) {
        const QRect r(x, ty, 264, 150);
        s.heading(label, r,
                  kind == QLatin1String("LF") ? QStringLiteral("LF tilt") : QStringLiteral("HF tilt"));
        const char *parts[3] = {"F", "Q", "L"};
        const char *captions[3] = {"Frequency", "Q", "Level"};
        for (int side = 0; side < 2; ++side) {
            const int y = ty + 58 + side * 50;
            s.text(QRect(x + 12, y, 16, 20), side == 0 ? QStringLiteral("A") : QStringLiteral("B"),
                   Qt::AlignCenter, 10);
            for (int i = 0; i < 3; ++i)
                s.combo(QStringLiteral("AMT_%1TILT_%2_%3")
                            .arg(kind, QLatin1String(parts[i]), side == 0 ? "A" : "B"),
                        side == 0 ? QLatin1String(captions[i]) : QString(), x + 32 + i * 76, y, 70,
                        ComboKind::Step);
        }
    };
    tilt(QStringLiteral("AMT_LFTILT_LABEL"), QStringLiteral("LF"), 0);
    tilt(QStringLiteral("AMT_HFTILT_LABEL"), QStringLiteral("HF"), 274);

    // Test oscillator and the AES input.
    const int oy = ty + 160;
    s.heading(QStringLiteral("AMT_TEST_GROUP"), QRect(0, oy, 264, 576 - oy),
              QStringLiteral("Test oscillator"));
    s.slideSwitch(QStringLiteral("AMT_TEST_OSC"), QStringLiteral("On"), 264 - 40, oy + 3, true);
    s.knob(QStringLiteral("AMT_TEST_OSC_KNOB"), QStringLiteral("F r e q u e n c y"), 56, oy + 50, Ring::Dot,
           k, QStringLiteral("AMT_TEST_OSC_DSPY"));
    s.knob(QStringLiteral("AMT_TEST_LVL_KNOB"), QStringLiteral("L e v e l"), 148, oy + 50, Ring::Bar, k,
           QStringLiteral("AMT_TEST_LVL_DSPY"));
    s.slideSwitch(QStringLiteral("AMT_TEST_TILT"), QStringLiteral("Tilt"), 196, oy + 76);

    s.section(QRect(274, oy, 264, 576 - oy), QStringLiteral("AES input"));
    s.knob(QStringLiteral("AMT_AES_GAIN_KNOB"), QStringLiteral("G a i n"), 274 + 56, oy + 50, Ring::Pan, k,
           QStringLiteral("AMT_AES_GAIN_DSPY"));
    s.slideSwitch(QStringLiteral("AMT_AES_DEEMPH"), QStringLiteral("De-emphasis"), 274 + 116, oy + 62);
    s.slideSwitch(QStringLiteral("AMT_AES_PDLY"), QStringLiteral("Pre-delay"), 274 + 116, oy + 96);

    s.finish(QStringLiteral("AMT_BKGRND"));
}

void layoutSystem(SkinWriter &w)
{
    Surface s = screenSurface(w, kSystem);
    s.title(QStringLiteral("SYS_LABEL"), QStringLiteral("SYSTEM"));

    s.section(QRect(0, kTop, 264, 150), QStringLiteral("General"));
    s.slideSwitch(QStringLiteral("SYSTEM_FOLLOW"), QStringLiteral("Follow the processor"), 16, kTop + 38);
    s.slideSwitch(QStringLiteral("TCP_METERS"), QStringLiteral("Meters over TCP"), 16, kTop + 68);
    s.combo(QStringLiteral("HDPN_SRC"), QStringLiteral("Headphone source"), 16, kTop + 116, 232,
            ComboKind::Drop);

    s.section(QRect(274, kTop, 264, 150), QStringLiteral("Processor status"));
    s.lamp(QStringLiteral("STATUS_TEMP"), QStringLiteral("Temp. ????"), 290, kTop + 40,
           LampKind::Temperature);
    s.lamp(QStringLiteral("STATUS_ANA"), QStringLiteral("Analog"), 290, kTop + 70, LampKind::Status);
    s.lamp(QStringLiteral("STATUS_AES"), QStringLiteral("AES"), 290, kTop + 100, LampKind::Status);

    const int ay = kTop + 160;
    const int ah = 576 - ay;
    s.section(QRect(0, ay, 264, ah), QStringLiteral("Access"));
    const char *access[4][2] = {{"PASSWORDS", "Passwords…"},
                                {"FPPASSWD", "Front-panel code…"},
                                {"GUIACCESS", "Control access…"},
                                {"GUILOCK", "Lock controls"}};
    for (int i = 0; i < 4; ++i)
        s.button(QLatin1String(access[i][0]), QString::fromUtf8(access[i][1]),
                 QRect(16, ay + 44 + i * 48, 232, 30), ButtonStyle::Plain);
    s.section(QRect(274, ay, 264, ah), QStringLiteral("Tools"));
    const char *tools[3][2] = {
        {"SKIN", "Choose skin…"}, {"EVENTSCHED", "Event scheduler…"}, {"TIME_SET", "Set processor clock…"}};
    for (int i = 0; i < 3; ++i)
        s.button(QLatin1String(tools[i][0]), QString::fromUtf8(tools[i][1]),
                 QRect(290, ay + 44 + i * 48, 232, 30), ButtonStyle::Plain);

    s.finish(QStringLiteral("SYS_BKGRND"));
}

} // namespace orba::skingen
