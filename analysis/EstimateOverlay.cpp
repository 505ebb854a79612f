#include "analysis/EstimateOverlay.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kPenWidth = 2;
// The notice's band takes this share of the picture's height, and its text
// most of the band, so it reads the same at every picture size.
constexpr int kBandsPerHeight = 8;
constexpr double kTextShareOfBand = 0.7;
constexpr int kSmallestTextPixels = 8;
const QColor kBandColour(0, 0, 0, 160);
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

void drawTrackingNotice(QImage& picture, const QString& text) {
    const QSize frameSize = picture.deviceIndependentSize().toSize();
    const QRect band(0, 0, frameSize.width(), std::max(1, frameSize.height() / kBandsPerHeight));
    QPainter painter(&picture);
    painter.fillRect(band, kBandColour);
    QFont font = painter.font();
    font.setPixelSize(std::max(kSmallestTextPixels, int(band.height() * kTextShareOfBand)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter, text);
}
