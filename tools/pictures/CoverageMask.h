#pragma once

#include <QPainterPath>

#include <cstdint>
#include <vector>

// Which parts of each pixel a set of shapes covers, as 8 x 8 sample points
// per pixel held in one 64-bit word. Shapes combine exactly by bit logic, so
// overlapping strokes of a letter or a shape clipped to a screen have clean
// edges, and the result never depends on the order of drawing.
class CoverageMask {
public:
    CoverageMask(int width, int height);

    // Adds the inside of the path (by its own fill rule) to the mask.
    void add(const QPainterPath& path);
    // Keeps only what both masks cover.
    void intersect(const CoverageMask& other);
    // Removes what the other mask covers.
    void subtract(const CoverageMask& other);

    // Covered share of every pixel, row-major, each in [0, 1].
    std::vector<double> coverage() const;
    int width() const { return columns; }
    int height() const { return rows; }

private:
    struct Edge {
        double x0;
        double y0;
        double x1;
        double y1;
        int direction;
    };
    struct Crossing {
        double x;
        int direction;
    };

    void fillSpan(int sampleRow, double fromX, double toX);

    int columns;
    int rows;
    std::vector<std::uint64_t> samples;
};
