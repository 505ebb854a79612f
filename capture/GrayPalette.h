#pragma once

#include <QRgb>
#include <QVector>

// The 256 opaque greys through which every one-byte analysis picture is
// shown: entry i has red = green = blue = i.
QVector<QRgb> makeGrayPalette();
