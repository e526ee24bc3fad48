// The window scale factors of "ap_scale.ini" (section "scale", keys "X" and "Y").
#pragma once

#include <QString>

class QObject;

namespace orba {

struct ScaleFactors
{
    float x = 1.0f;
    float y = 1.0f;
};

// A factor that is no number from 0.5 to 4 is ignored (1.0 is used), with one message for the file.
// Text after the number is ignored, as a decimal reading does.
ScaleFactors readScaleFile(const QString &path, QObject *parent);

} // namespace orba
