#include "capture/platform/gst/DemoPersonPainter.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTransform>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
// Slow, unrelated periods, so roll and pitch do not move in step.
constexpr double kTiltPeriodSeconds = 7.0;
constexpr double kRisePeriodSeconds = 11.0;
constexpr double kLargestTiltDegrees = 25.0;
// Of the picture height.
constexpr double kLargestRise = 0.12;

const QColor kWallTop(214, 220, 228);
const QColor kWallBottom(176, 184, 196);
const QColor kShirt(40, 60, 110);
const QColor kSkin(224, 182, 150);
const QColor kHair(60, 40, 30);

double wave(double seconds, double period) {
    return std::sin(2.0 * kPi * seconds / period);
}
} // namespace

// All sizes are fractions of the picture, so the scene looks the same at
// every requested size.
void DemoPersonPainter::paint(QImage& frame, double seconds) {
    const double width = frame.width();
    const double height = frame.height();
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient wall(0, 0, 0, height);
    wall.setColorAt(0, kWallTop);
    wall.setColorAt(1, kWallBottom);
    painter.fillRect(frame.rect(), wall);

    const double tilt = kLargestTiltDegrees * wave(seconds, kTiltPeriodSeconds);
    const double rise = kLargestRise * height * wave(seconds, kRisePeriodSeconds);
    const QPointF shoulders(width / 2, height * 0.45 - rise);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kShirt);
    painter.drawRoundedRect(
        QRectF(width * 0.40, shoulders.y() - height * 0.02, width * 0.20, height * 0.60),
        width * 0.04, width * 0.04);

    painter.save();
    painter.translate(shoulders);
    painter.rotate(tilt);
    const double armThickness = std::max(2.0, height * 0.06);
    painter.drawRoundedRect(QRectF(-width * 0.42, -armThickness / 2, width * 0.84, armThickness),
                            armThickness / 2, armThickness / 2);
    painter.setBrush(kSkin);
    painter.drawEllipse(QPointF(-width * 0.43, 0), armThickness * 0.7, armThickness * 0.7);
    painter.drawEllipse(QPointF(width * 0.43, 0), armThickness * 0.7, armThickness * 0.7);
    painter.restore();

    const double headRadius = height * 0.09;
    painter.setBrush(kSkin);
    painter.drawEllipse(QPointF(width / 2, shoulders.y() - height * 0.13), headRadius * 0.85,
                        headRadius);
    painter.setBrush(kHair);
    painter.drawChord(QRectF(width / 2 - headRadius * 0.85,
                             shoulders.y() - height * 0.13 - headRadius, headRadius * 1.7,
                             headRadius * 1.2),
                      0, 180 * 16);
}
