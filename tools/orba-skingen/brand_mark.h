// The brand mark: five bars of a short spectrum, one per processing block in its accent colour. The
// skin's top strip and the application's own pictures (icon, splash) draw the same one.
#pragma once

#include "theme.h"

#include <QPainter>

namespace orba::skingen::theme {

// The bars fill a box 24 units high and 23.5 wide from the painter's origin, standing on its base.
inline void paintBrandBars(QPainter &p)
{
    const QColor bars[5] = {block(kInput).accent, block(kParametric).accent, block(kCompressor).accent,
                            block(kAmOut).accent, block(kAmHd).accent};
    const int heights[5] = {9, 15, 20, 13, 7};
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRectF(i * 5.0, 24 - heights[i], 3.5, heights[i]), bars[i]);
    p.restore();
}

} // namespace orba::skingen::theme
