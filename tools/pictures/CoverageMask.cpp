#include "tools/pictures/CoverageMask.h"

#include <algorithm>
#include <bitset>
#include <cmath>

namespace {

constexpr int kSamplesPerSide = 8;
constexpr double kSamplesPerPixel = kSamplesPerSide * kSamplesPerSide;

} // namespace

CoverageMask::CoverageMask(int width, int height)
    : columns(width)
    , rows(height)
    , samples(static_cast<std::size_t>(width) * height, 0) {}

void CoverageMask::add(const QPainterPath& path) {
    std::vector<Edge> edges;
    for (const QPolygonF& polygon : path.toSubpathPolygons()) {
        for (int i = 0; i < polygon.size(); ++i) {
            const QPointF from = polygon[i];
            const QPointF to = polygon[(i + 1) % polygon.size()];
            if (from.y() != to.y()) {
                edges.push_back({from.x(), from.y(), to.x(), to.y(), to.y() > from.y() ? 1 : -1});
            }
        }
    }
    const bool windingRule = path.fillRule() == Qt::WindingFill;
    std::vector<Crossing> crossings;
    for (int sampleRow = 0; sampleRow < rows * kSamplesPerSide; ++sampleRow) {
        const double y = (sampleRow + 0.5) / kSamplesPerSide;
        crossings.clear();
        for (const Edge& edge : edges) {
            if (y >= std::min(edge.y0, edge.y1) && y < std::max(edge.y0, edge.y1)) {
                const double x =
                    edge.x0 + (y - edge.y0) * (edge.x1 - edge.x0) / (edge.y1 - edge.y0);
                crossings.push_back({x, edge.direction});
            }
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].direction;
            const bool inside = windingRule ? winding != 0 : (winding & 1) != 0;
            if (inside) {
                fillSpan(sampleRow, crossings[i].x, crossings[i + 1].x);
            }
        }
    }
}

// Sets the samples whose centres lie in [fromX, toX) on one sample row.
void CoverageMask::fillSpan(int sampleRow, double fromX, double toX) {
    const int lastColumn = columns * kSamplesPerSide;
    const int first = std::max(0, static_cast<int>(std::ceil(fromX * kSamplesPerSide - 0.5)));
    const int end = std::min(lastColumn, static_cast<int>(std::ceil(toX * kSamplesPerSide - 0.5)));
    const int pixelRow = sampleRow / kSamplesPerSide;
    const int bitRow = (sampleRow % kSamplesPerSide) * kSamplesPerSide;
    for (int sampleColumn = first; sampleColumn < end; ++sampleColumn) {
        const std::size_t pixel =
            static_cast<std::size_t>(pixelRow) * columns + sampleColumn / kSamplesPerSide;
        samples[pixel] |= std::uint64_t{1} << (bitRow + sampleColumn % kSamplesPerSide);
    }
}

void CoverageMask::intersect(const CoverageMask& other) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] &= other.samples[i];
    }
}

void CoverageMask::subtract(const CoverageMask& other) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] &= ~other.samples[i];
    }
}

std::vector<double> CoverageMask::coverage() const {
    std::vector<double> shares(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        shares[i] = static_cast<double>(std::bitset<64>(samples[i]).count()) / kSamplesPerPixel;
    }
    return shares;
}
