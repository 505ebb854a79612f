#include "app/ProcessObjects.h"
#include "capture/GrayPalette.h"

// The process-wide objects the analysis refers to. Tests that want to see the
// display picture point outputLabel at a label of their own for a while.
QVector<QRgb> grayPalette = makeGrayPalette();
QLabel* outputLabel = nullptr;
