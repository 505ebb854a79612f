#include "capture/GrayPalette.h"

QVector<QRgb> makeGrayPalette() {
    constexpr int kGreyLevels = 256;
    QVector<QRgb> palette;
    palette.reserve(kGreyLevels);
    for (int level = 0; level < kGreyLevels; ++level) {
        palette.append(qRgb(level, level, level));
    }
    return palette;
}
