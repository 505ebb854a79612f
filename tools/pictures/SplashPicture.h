#pragma once

#include <QImage>

class Canvas;
class Prng;

// The 400 x 200 splash picture: the product name over a dusk landscape, and
// a person standing before a screen with a camera, arms stretched out and
// leaning, while the flight view on the screen banks with them.
class SplashPicture {
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 200;

    static QImage render();

private:
    static void paintSky(Canvas& canvas, Prng& prng);
    static void paintLandscape(Canvas& canvas, Prng& prng);
    static void paintCameraBeam(Canvas& canvas);
    static void paintMonitor(Canvas& canvas);
    static void paintFlightView(Canvas& canvas);
    static void paintPerson(Canvas& canvas);
    static void paintTitle(Canvas& canvas);
};
