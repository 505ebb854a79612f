#pragma once

#include <cstdint>
#include <vector>

// One set pixel of a chain: its column and row in the picture and the same
// position measured from the picture's centre, which is where lines are fitted.
struct StringPoint {
    int32_t x;
    int32_t y;
    double xc;
    double yc;
};

// A chain of 8-connected set pixels, from one end to the other. Only the first
// count points are valid; the array keeps its size when the slot is reused.
struct PixelString {
    std::vector<StringPoint> points;
    uint32_t count = 0;

    void append(const StringPoint& point);
};

// A nearly straight run of count consecutive points of one string. It points
// into the string's array, so it is valid only until the strings change.
struct Cluster {
    const StringPoint* first;
    uint32_t count;
};

// The strings of the latest picture; entries beyond count are kept for reuse.
struct StringList {
    std::vector<PixelString> entries;
    uint32_t count = 0;

    PixelString& nextSlot();
};

// The clusters of the latest picture; entries beyond count are stale.
struct ClusterList {
    std::vector<Cluster> items;
    uint32_t count = 0;

    void append(const Cluster& cluster);
};
