#include "app/ProcessObjects.h"
#include "capture/GrayPalette.h"

// The benchmarks time the estimator without a display picture, so there is no
// label.
QVector<QRgb> grayPalette = makeGrayPalette();
QLabel* outputLabel = nullptr;
