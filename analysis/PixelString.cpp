#include "analysis/PixelString.h"

namespace {
// The lists grow in large steps and never shrink, so after the first few
// pictures linking and splitting allocate nothing.
constexpr std::size_t kPointGrowth = 500;
constexpr std::size_t kStringGrowth = 1000;
constexpr std::size_t kClusterGrowth = 1000;
} // namespace

void PixelString::append(const StringPoint& point) {
    if (count == points.size()) {
        points.resize(points.size() + kPointGrowth);
    }
    points[count++] = point;
}

PixelString& StringList::nextSlot() {
    if (count == entries.size()) {
        entries.resize(entries.size() + kStringGrowth);
    }
    return entries[count];
}

void ClusterList::append(const Cluster& cluster) {
    if (count == items.size()) {
        items.resize(items.size() + kClusterGrowth);
    }
    items[count++] = cluster;
}
