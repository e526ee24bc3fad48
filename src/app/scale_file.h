// The window scale factors of "ap_scale.ini" (section "scale", keys "X" and "Y").
#pragma once

#include <QString>

namespace orba {

struct ScaleFactors
{
    float x = 1.0f;
    float y = 1.0f;
};

// A factor that is no number from 0.5 to 4 is ignored (1.0 is used) and named in `problem`, the
// text of a message for the user (empty when both factors are usable). Text after the number is
// ignored, as a decimal reading does.
ScaleFactors readScaleFile(const QString &path, QString &problem);

} // namespace orba
