// A generated skin for the benchmarks and the rendering check: a 1100 x 720 background and a grid
// of knobs, buttons, check boxes, displays, sliders, meters, combos, a list box and two graphs with
// pictures drawn by QPainter.
#pragma once

#include <QString>

namespace orba::sample {

// Writes skin.xml and its pictures into `folder`; `groups` sets the size (one group is a dozen
// objects). Returns the number of object elements written.
int writeSampleSkin(const QString &folder, int groups);

} // namespace orba::sample
