#include "app/tracker/TrackerProcessObjects.h"
#include "app/ProcessObjects.h"
#include "app/tracker/StandardOutputDiversion.h"
#include "capture/GrayPalette.h"
#include "capture/VideoInputThr.h"

// The offline tracker's share of the process-wide objects: the palette of the
// analysis pictures, the capture thread for video files and cameras, and no
// label, so no display picture is ever made. The diversion comes first,
// since the capture layer prints as soon as it is built.
StandardOutputDiversion standardOutputDiversion;
QVector<QRgb> grayPalette = makeGrayPalette();
VideoInputThr videoInputThr;
QLabel* outputLabel = nullptr;
