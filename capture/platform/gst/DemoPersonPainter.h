#pragma once

class QImage;

// Paints the demo camera's scene: a person facing the camera with both arms
// stretched out sideways, the arms slowly tilting and rising and falling, the
// way a user steers.
class DemoPersonPainter {
public:
    static void paint(QImage& frame, double seconds);
};
