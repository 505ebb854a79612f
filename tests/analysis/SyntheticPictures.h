#pragma once

#include "capture/Image.h"

#include <QImage>
#include <QRect>
#include <QRgb>

#include <memory>
#include <vector>

// Inputs for the analysis tests: pictures built pixel by pixel, and camera
// frames of a figure whose outstretched arms form one straight line.

// A black grey picture with the given areas set to value.
std::unique_ptr<I::Image> grayPicture(int width, int height, const std::vector<QRect>& areas = {},
                                      uchar value = 255);
uchar pixelAt(const I::Image& picture, int x, int y);
int countSet(const I::Image& picture);

// A frame exactly as the capture thread delivers it: bytes blue, green, red,
// ignored, rows top first.
std::unique_ptr<I::Image> frameFrom(const QImage& picture);

// A bright figure on a dark background, as the camera sees it (the analysis
// mirrors it back): arms along the line at angleDegrees (90 = level) through
// the point offset pixels below the centre of the mirrored picture, and a
// torso from there down to the bottom edge.
struct ArmsPose {
    double angleDegrees;
    double offset;
};
QImage armsFigure(int width, int height, ArmsPose pose);
