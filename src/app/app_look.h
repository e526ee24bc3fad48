// One look for everything the skin does not paint: menus, dialogs, message boxes and tooltips
// take a dark palette from the skin's colours (dark defaults where a skin names none), and a font
// scaled with the skin. Dialogs grow to their contents and their title when shown, so a larger
// scale cuts nothing.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QApplication;
class tcBenchMaster;

namespace orba {

struct LookColours
{
    QColor window{21, 24, 28};
    QColor panel{29, 33, 39};
    QColor base{11, 13, 16};
    QColor alternate{20, 23, 27};
    QColor button{44, 50, 58};
    QColor text{221, 227, 234};
    QColor dim{150, 160, 173};
    QColor faint{98, 108, 120};
    QColor highlight{47, 88, 130};
    QColor accent{79, 168, 255};
};

// The skin's colours where it defines them (C_WINDOW, C_PANEL, C_WELL, C_LIST_BG, C_HILITE_BG,
// C_TEXT, C_TEXT_DIM, C_TEXT_FAINT, C_SELECT_INPUT, C_INPUT); no skin gives the defaults.
LookColours lookColours(const tcBenchMaster *skin);
QPalette lookPalette(const LookColours &colours);
QString lookStyleSheet(const LookColours &colours);

// Applies palette, style sheet and a font of the platform's size times `scale` to the application,
// and (once) the filter that sizes dialogs as they are shown.
void applyLook(const tcBenchMaster *skin, double scale);
// The scale applied last (1 before any).
double lookScale();

} // namespace orba
