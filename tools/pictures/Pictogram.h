#pragma once

#include <QPointF>

class CoverageMask;

// The figure that shows how the program is used: a person standing with
// both arms stretched out sideways, leaning like a banking aircraft.
class Pictogram {
public:
    // `feet` is the point between the feet (pixels, y down); `lean` in
    // radians turns the upper body about the hips, positive clockwise.
    static void addPerson(CoverageMask& mask, const QPointF& feet, double height, double lean);
};
