#pragma once

#include "tools/pictures/CoverageMask.h"
#include "tools/pictures/Rgba.h"

#include <QImage>

#include <functional>
#include <vector>

// A picture painted by plain arithmetic: every layer is a coverage share per
// pixel and a colour per pixel, blended source-over. Qt's own painter picks
// processor-specific blending code at run time, which could make the same
// build write different bytes on different machines; this does not.
class Canvas {
public:
    using Shader = std::function<Rgba(double x, double y)>;

    Canvas(int width, int height, const Rgba& background);

    void paint(const std::vector<double>& coverage, const Shader& shader);
    void paint(const CoverageMask& mask, const Shader& shader);
    void paint(const CoverageMask& mask, const Rgba& colour);
    void paintEverywhere(const Shader& shader);

    // Softens a coverage layer (for shadows and glows) by three box blurs.
    std::vector<double> blurred(const std::vector<double>& coverage, int radius) const;

    // Straight-alpha ARGB pixels, rounded to bytes.
    QImage toImage() const;
    int width() const { return columns; }
    int height() const { return rows; }

private:
    void boxBlurRows(std::vector<double>& layer, int radius) const;
    void boxBlurColumns(std::vector<double>& layer, int radius) const;

    int columns;
    int rows;
    // Premultiplied by alpha, so that blending needs no division.
    std::vector<Rgba> pixels;
};
