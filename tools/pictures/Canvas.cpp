#include "tools/pictures/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

int toByte(double channel) {
    return static_cast<int>(std::lround(std::clamp(channel, 0.0, 1.0) * 255.0));
}

} // namespace

Canvas::Canvas(int width, int height, const Rgba& background)
    : columns(width)
    , rows(height)
    , pixels(static_cast<std::size_t>(width) * height, Rgba{0, 0, 0, 0}) {
    paintEverywhere([&background](double, double) { return background; });
}

void Canvas::paint(const std::vector<double>& coverage, const Shader& shader) {
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const std::size_t index = static_cast<std::size_t>(y) * columns + x;
            if (coverage[index] <= 0.0) {
                continue;
            }
            const Rgba source = shader(x + 0.5, y + 0.5);
            const double opacity = std::clamp(coverage[index] * source.alpha, 0.0, 1.0);
            Rgba& target = pixels[index];
            target.red = source.red * opacity + target.red * (1.0 - opacity);
            target.green = source.green * opacity + target.green * (1.0 - opacity);
            target.blue = source.blue * opacity + target.blue * (1.0 - opacity);
            target.alpha = opacity + target.alpha * (1.0 - opacity);
        }
    }
}

void Canvas::paint(const CoverageMask& mask, const Shader& shader) {
    paint(mask.coverage(), shader);
}

void Canvas::paint(const CoverageMask& mask, const Rgba& colour) {
    paint(mask.coverage(), [&colour](double, double) { return colour; });
}

void Canvas::paintEverywhere(const Shader& shader) {
    paint(std::vector<double>(pixels.size(), 1.0), shader);
}

std::vector<double> Canvas::blurred(const std::vector<double>& coverage, int radius) const {
    std::vector<double> layer = coverage;
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurRows(layer, radius);
        boxBlurColumns(layer, radius);
    }
    return layer;
}

void Canvas::boxBlurRows(std::vector<double>& layer, int radius) const {
    std::vector<double> row(static_cast<std::size_t>(columns));
    const double width = 2.0 * radius + 1.0;
    for (int y = 0; y < rows; ++y) {
        double* line = layer.data() + static_cast<std::size_t>(y) * columns;
        for (int x = 0; x < columns; ++x) {
            double sum = 0.0;
            for (int k = std::max(0, x - radius); k <= std::min(columns - 1, x + radius); ++k) {
                sum += line[k];
            }
            row[static_cast<std::size_t>(x)] = sum / width;
        }
        std::copy(row.begin(), row.end(), line);
    }
}

void Canvas::boxBlurColumns(std::vector<double>& layer, int radius) const {
    std::vector<double> column(static_cast<std::size_t>(rows));
    const double height = 2.0 * radius + 1.0;
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            double sum = 0.0;
            for (int k = std::max(0, y - radius); k <= std::min(rows - 1, y + radius); ++k) {
                sum += layer[static_cast<std::size_t>(k) * columns + x];
            }
            column[static_cast<std::size_t>(y)] = sum / height;
        }
        for (int y = 0; y < rows; ++y) {
            layer[static_cast<std::size_t>(y) * columns + x] = column[static_cast<std::size_t>(y)];
        }
    }
}

QImage Canvas::toImage() const {
    QImage image(columns, rows, QImage::Format_ARGB32);
    for (int y = 0; y < rows; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < columns; ++x) {
            const Rgba& pixel = pixels[static_cast<std::size_t>(y) * columns + x];
            const double alpha = pixel.alpha;
            const double unpremultiply = alpha > 0.0 ? 1.0 / alpha : 0.0;
            line[x] = qRgba(toByte(pixel.red * unpremultiply), toByte(pixel.green * unpremultiply),
                            toByte(pixel.blue * unpremultiply), toByte(alpha));
        }
    }
    return image;
}
