#pragma once

#include <QPointF>
#include <QString>

#include <vector>

class CoverageMask;

// The product's own lettering: round-ended strokes on simple geometric
// centre lines, so that the name looks the same on every machine without
// depending on an installed font. Knows the letters of "Zaredezid".
class Lettering {
public:
    // Adds `word` to the mask, its baseline starting at `origin` (pixels, y
    // down), lower-case letters `xHeight` pixels high.
    static void addWord(CoverageMask& mask, const QString& word, const QPointF& origin,
                        double xHeight);
    // Width of the word in pixels, from the first stroke's centre line to
    // the last one's.
    static double width(const QString& word, double xHeight);

private:
    using Polyline = std::vector<QPointF>;
    struct Glyph {
        std::vector<Polyline> strokes;
        std::vector<QPointF> dots;
        double width;
    };

    static Glyph glyph(QChar letter);
    static Polyline arc(const QPointF& centre, double radius, double fromDegrees, double toDegrees);
};
