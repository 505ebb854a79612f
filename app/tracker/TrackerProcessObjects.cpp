#include "app/ProcessObjects.h"
#include "capture/GrayPalette.h"

// The offline tracker's share of the process-wide objects: the palette of the
// analysis pictures, and no label, so no display picture is ever made.
QVector<QRgb> grayPalette = makeGrayPalette();
QLabel* outputLabel = nullptr;
