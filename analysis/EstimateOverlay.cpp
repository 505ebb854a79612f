#include "analysis/EstimateOverlay.h"

#include <QImage>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kPenWidth = 2;
} // namespace

int estimatedLineRow(int x, double angleDegrees, double offset, int width, int height) {
    const double angle = angleDegrees * kPi / 180;
    // offset is measured straight down from the centre; the line's distance
    // from the centre, its ρ, is offset · sin A.
    const double rho = offset * std::sin(angle);
    return int(height / 2 + (rho - (x - width / 2) * std::cos(angle)) / std::sin(angle));
}

// The painter counts in the frame's pixels also in a picture enlarged for a
// dense screen, and draws the line at the picture's own resolution.
void drawEstimatedLine(QImage& picture, double angleDegrees, double offset) {
    const QSize frameSize = picture.deviceIndependentSize().toSize();
    const int width = frameSize.width();
    const int height = frameSize.height();
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::red, kPenWidth));
    painter.drawLine(0, estimatedLineRow(0, angleDegrees, offset, width, height), width,
                     estimatedLineRow(width, angleDegrees, offset, width, height));
}
