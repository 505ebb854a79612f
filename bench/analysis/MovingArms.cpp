#include "MovingArms.h"

#include "analysis/FramePreparation.h"

#include <QImage>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr QRgb kBackground = 0xFF283038u;
constexpr QRgb kFigure = 0xFFD8D0C8u;

// Frame k: arms tilted a few degrees either way and 3 pixels up or down.
QImage pose(int width, int height, int frame) {
    const double theta = (90.0 + 8.0 * std::sin(frame * 0.7)) * kPi / 180;
    const double rho = (frame % 2 ? 3.0 : -3.0) * std::sin(theta);
    const double armHalfThickness = height / 60.0;
    const double torsoHalfWidth = width * 0.04;
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double xc = x - width * 0.5;
            const double across = xc * std::cos(theta) + (y - height * 0.5) * std::sin(theta) - rho;
            const bool figure = std::fabs(across) <= armHalfThickness ||
                                (std::fabs(xc) <= torsoHalfWidth && across > 0);
            row[x] = figure ? kFigure : kBackground;
        }
    }
    return picture;
}

std::unique_ptr<I::Image> capturedFrame(const QImage& picture) {
    std::vector<uchar> pixels(std::size_t(picture.width()) * picture.height() * 4);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            uchar* pixel = &pixels[(std::size_t(y) * picture.width() + x) * 4];
            pixel[0] = uchar(qBlue(row[x]));
            pixel[1] = uchar(qGreen(row[x]));
            pixel[2] = uchar(qRed(row[x]));
        }
    }
    int32_t width = picture.width(), height = picture.height(), format = I::Image::Rgb32;
    return std::make_unique<I::Image>(pixels.data(), width, height, format);
}

} // namespace

MovingArms::MovingArms(int width, int height, int frameCount) {
    for (int frame = 0; frame < frameCount; ++frame) {
        frames.push_back(capturedFrame(pose(width, height, frame)));
        edges.push_back(sobelEdges(*grayMirrored(*frames.back()), 100));
    }
    for (int frame = 0; frame < frameCount; ++frame) {
        int count = 0;
        const I::Image& previous = *edges[(frame + frameCount - 1) % frameCount];
        changes.push_back(newEdges(*edges[frame], previous, count, 820));
    }
}
