#include "SyntheticPictures.h"

#include "app/ProcessObjects.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr QRgb kBackground = 0xFF202020u;
constexpr QRgb kFigure = 0xFFE0E0E0u;
constexpr double kArmHalfThickness = 4.0;
constexpr double kTorsoHalfWidthPerPixel = 0.04;
} // namespace

std::unique_ptr<I::Image> grayPicture(int width, int height, const std::vector<QRect>& areas,
                                      uchar value) {
    QByteArray pixels(width * height, 0);
    for (const QRect& area : areas) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            std::fill_n(pixels.data() + y * width + area.left(), area.width(), char(value));
        }
    }
    int32_t w = width, h = height, format = I::Image::Gray8;
    auto picture = std::make_unique<I::Image>(reinterpret_cast<const uchar*>(pixels.constData()), w,
                                              h, format);
    picture->colorTable = &grayPalette;
    return picture;
}

uchar pixelAt(const I::Image& picture, int x, int y) {
    return picture.data[y * picture.width + x];
}

int countSet(const I::Image& picture) {
    return int(std::count_if(picture.data, picture.data + picture.width * picture.height,
                             [](uchar pixel) { return pixel != 0; }));
}

// Qt keeps an RGB32 pixel as the word 0xFFRRGGBB, which on this little-endian
// platform lies in memory as blue, green, red and the ignored byte.
std::unique_ptr<I::Image> frameFrom(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    int32_t width = rgb.width(), height = rgb.height(), format = I::Image::Rgb32;
    return std::make_unique<I::Image>(rgb.constBits(), width, height, format);
}

QImage armsFigure(int width, int height, ArmsPose pose) {
    const double theta = pose.angleDegrees * kPi / 180;
    const double rho = pose.offset * std::sin(theta);
    QImage mirrored(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(mirrored.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double xc = x - width * 0.5;
            const double yc = y - height * 0.5;
            const double across = xc * std::cos(theta) + yc * std::sin(theta) - rho;
            const bool onArms = std::fabs(across) <= kArmHalfThickness;
            const bool onTorso = std::fabs(xc) <= kTorsoHalfWidthPerPixel * width && across > 0;
            row[x] = onArms || onTorso ? kFigure : kBackground;
        }
    }
    return mirrored.mirrored(true, false);
}
