#include "tools/pictures/SplashPicture.h"

#include "tools/common/Prng.h"
#include "tools/pictures/Canvas.h"
#include "tools/pictures/CoverageMask.h"
#include "tools/pictures/Lettering.h"
#include "tools/pictures/Pictogram.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr std::uint64_t kSplashSeed = 0x5A52445A53504C41ull;

// The person leans by this much, and the horizon on the screen tilts with it.
constexpr double kLean = 0.24;
const QPointF kPersonFeet(104.0, 184.0);
constexpr double kPersonHeight = 104.0;

const QRectF kMonitorBody(250.0, 74.0, 128.0, 80.0);
const QRectF kScreen(257.0, 81.0, 114.0, 64.0);
const QPointF kCameraLens(314.0, 66.0);

const QPointF kTitleOrigin(22.0, 50.0);
constexpr double kTitleXHeight = 21.0;

double smoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// A ridge line by midpoint displacement: heights in pixels for x = 0..400.
std::vector<double> ridge(Prng& prng, double baseline, double roughness) {
    constexpr int kPoints = 257;
    std::vector<double> heights(kPoints, baseline);
    heights.front() = baseline + prng.uniform(-roughness, roughness);
    heights.back() = baseline + prng.uniform(-roughness, roughness);
    double amplitude = roughness;
    for (int step = kPoints - 1; step > 1; step /= 2, amplitude *= 0.55) {
        for (int i = step / 2; i < kPoints; i += step) {
            heights[static_cast<std::size_t>(i)] =
                0.5 * (heights[static_cast<std::size_t>(i - step / 2)] +
                       heights[static_cast<std::size_t>(i + step / 2)]) +
                prng.uniform(-amplitude, amplitude);
        }
    }
    return heights;
}

QPainterPath groundBelow(const std::vector<double>& heights) {
    const double spacing = static_cast<double>(SplashPicture::kWidth) / (heights.size() - 1);
    QPainterPath ground(QPointF(0.0, SplashPicture::kHeight));
    for (std::size_t i = 0; i < heights.size(); ++i) {
        ground.lineTo(i * spacing, heights[i]);
    }
    ground.lineTo(SplashPicture::kWidth, SplashPicture::kHeight);
    ground.closeSubpath();
    return ground;
}

CoverageMask maskOf(const QPainterPath& path) {
    CoverageMask mask(SplashPicture::kWidth, SplashPicture::kHeight);
    mask.add(path);
    return mask;
}

Canvas::Shader verticalGradient(const Rgba& top, const Rgba& bottom, double fromY, double toY) {
    return [=](double, double y) { return mix(top, bottom, smoothStep(fromY, toY, y)); };
}

} // namespace

QImage SplashPicture::render() {
    Prng prng(kSplashSeed);
    Canvas canvas(kWidth, kHeight, rgb(0x000000));
    paintSky(canvas, prng);
    paintLandscape(canvas, prng);
    paintCameraBeam(canvas);
    paintMonitor(canvas);
    paintFlightView(canvas);
    paintPerson(canvas);
    paintTitle(canvas);
    return canvas.toImage().convertToFormat(QImage::Format_RGB32);
}

// Dusk: deep indigo above, the flight view's lavender at the horizon, a warm
// glow where the sun has set, and a few stars.
void SplashPicture::paintSky(Canvas& canvas, Prng& prng) {
    canvas.paintEverywhere([](double x, double y) {
        const Rgba zenith = rgb(0x141a45);
        const Rgba middle = rgb(0x4b3f8f);
        const Rgba horizon = rgb(0xd7c0ff);
        Rgba sky = y < 70.0 ? mix(zenith, middle, smoothStep(0.0, 70.0, y))
                            : mix(middle, horizon, smoothStep(70.0, 140.0, y));
        const double glowDistance = std::hypot((x - 330.0) / 1.6, y - 132.0);
        return mix(sky, rgb(0xffd9e8), 0.75 * std::exp(-glowDistance / 28.0));
    });
    CoverageMask stars(kWidth, kHeight);
    for (int i = 0; i < 46; ++i) {
        const double x = prng.uniform(0.0, kWidth);
        const double y = prng.uniform(0.0, 80.0);
        const double radius = prng.uniform(0.35, 0.85);
        QPainterPath star;
        star.addEllipse(QPointF(x, y), radius, radius);
        stars.add(star);
    }
    canvas.paint(stars, [](double, double y) { return rgb(0xfff8e8, 0.9 - y / 110.0); });
}

// Three ridges fading into the haze, then the floor the person stands on.
void SplashPicture::paintLandscape(Canvas& canvas, Prng& prng) {
    canvas.paint(maskOf(groundBelow(ridge(prng, 124.0, 16.0))),
                 verticalGradient(rgb(0x8d7cd0), rgb(0xb7a6ea), 100.0, 160.0));
    canvas.paint(maskOf(groundBelow(ridge(prng, 146.0, 12.0))),
                 verticalGradient(rgb(0x5a4e9e), rgb(0x7667b8), 130.0, 175.0));
    canvas.paint(maskOf(groundBelow(ridge(prng, 170.0, 5.0))),
                 verticalGradient(rgb(0x2c2560), rgb(0x16122f), 165.0, 200.0));
}

// The camera's field of view reaching from the lens across the person.
void SplashPicture::paintCameraBeam(Canvas& canvas) {
    QPainterPath beam(kCameraLens);
    beam.lineTo(28.0, 58.0);
    beam.lineTo(28.0, 196.0);
    beam.closeSubpath();
    canvas.paint(maskOf(beam), [](double x, double) {
        const double share = std::clamp((kCameraLens.x() - x) / (kCameraLens.x() - 28.0), 0.0, 1.0);
        return rgb(0xf3ecff,
                   0.34 * smoothStep(0.0, 0.2, share) * (1.0 - smoothStep(0.55, 1.0, share)));
    });
}

void SplashPicture::paintMonitor(Canvas& canvas) {
    QPainterPath stand;
    stand.addRect(QRectF(kMonitorBody.center().x() - 6.0, kMonitorBody.bottom() - 2.0, 12.0, 22.0));
    stand.addRoundedRect(QRectF(kMonitorBody.center().x() - 30.0, 172.0, 60.0, 7.0), 3.0, 3.0);
    stand.setFillRule(Qt::WindingFill);
    canvas.paint(maskOf(stand), verticalGradient(rgb(0x3a3560), rgb(0x1c1838), 150.0, 180.0));

    QPainterPath body;
    body.addRoundedRect(kMonitorBody, 6.0, 6.0);
    canvas.paint(maskOf(body), verticalGradient(rgb(0x3b3666), rgb(0x1d1a3a), 74.0, 154.0));

    QPainterPath camera;
    camera.addRoundedRect(QRectF(kCameraLens.x() - 13.0, kCameraLens.y() - 6.0, 26.0, 12.0), 5.0,
                          5.0);
    camera.addRect(QRectF(kCameraLens.x() - 3.0, kCameraLens.y() + 5.0, 6.0, 4.0));
    camera.setFillRule(Qt::WindingFill);
    canvas.paint(maskOf(camera), rgb(0x2a2550));
    QPainterPath lens;
    lens.addEllipse(kCameraLens, 3.6, 3.6);
    canvas.paint(maskOf(lens), rgb(0x0b0a18));
    QPainterPath glint;
    glint.addEllipse(kCameraLens + QPointF(-1.1, -1.1), 1.0, 1.0);
    canvas.paint(maskOf(glint), rgb(0x9fd0ff, 0.9));
    QPainterPath light;
    light.addEllipse(kCameraLens + QPointF(8.5, 0.0), 1.2, 1.2);
    canvas.paint(maskOf(light), rgb(0x5dff8a));
}

// A small flight view on the screen: sky, land below a horizon that banks
// with the person, and the aircraft mark in the middle.
void SplashPicture::paintFlightView(Canvas& canvas) {
    QPainterPath screenShape;
    screenShape.addRoundedRect(kScreen, 2.0, 2.0);
    const CoverageMask screen = maskOf(screenShape);
    canvas.paint(screen, verticalGradient(rgb(0x9c8ae6), rgb(0xd9c9ff), kScreen.top(),
                                          kScreen.center().y()));

    const QPointF centre = kScreen.center() + QPointF(0.0, 6.0);
    const double slope = std::tan(kLean);
    QPainterPath land(
        QPointF(kScreen.left() - 10.0, centre.y() - slope * (kScreen.left() - 10.0 - centre.x())));
    land.lineTo(kScreen.right() + 10.0, centre.y() - slope * (kScreen.right() + 10.0 - centre.x()));
    land.lineTo(kScreen.right() + 10.0, kScreen.bottom() + 10.0);
    land.lineTo(kScreen.left() - 10.0, kScreen.bottom() + 10.0);
    land.closeSubpath();
    CoverageMask landMask = maskOf(land);
    landMask.intersect(screen);
    canvas.paint(landMask, verticalGradient(rgb(0x5f8f3a), rgb(0x2f5a24), kScreen.top() + 20.0,
                                            kScreen.bottom()));

    QPainterPath mark(centre + QPointF(-16.0, 0.0));
    mark.lineTo(centre + QPointF(-6.0, 0.0));
    mark.lineTo(centre + QPointF(-3.0, 4.0));
    mark.lineTo(centre + QPointF(0.0, 0.0));
    mark.lineTo(centre + QPointF(3.0, 4.0));
    mark.lineTo(centre + QPointF(6.0, 0.0));
    mark.lineTo(centre + QPointF(16.0, 0.0));
    QPainterPathStroker pen;
    pen.setWidth(2.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    canvas.paint(maskOf(pen.createStroke(mark)), rgb(0xffd23a));

    // A faint reflection across the glass.
    QPainterPath glare(QPointF(kScreen.left() + 60.0, kScreen.top()));
    glare.lineTo(kScreen.left() + 90.0, kScreen.top());
    glare.lineTo(kScreen.left() + 50.0, kScreen.bottom());
    glare.lineTo(kScreen.left() + 20.0, kScreen.bottom());
    glare.closeSubpath();
    CoverageMask glareMask = maskOf(glare);
    glareMask.intersect(screen);
    canvas.paint(glareMask, rgb(0xffffff, 0.10));
}

void SplashPicture::paintPerson(Canvas& canvas) {
    QPainterPath groundShadow;
    groundShadow.addEllipse(kPersonFeet + QPointF(0.0, 1.0), 26.0, 4.0);
    canvas.paint(canvas.blurred(maskOf(groundShadow).coverage(), 2),
                 [](double, double) { return rgb(0x05030f, 0.6); });

    CoverageMask person(kWidth, kHeight);
    Pictogram::addPerson(person, kPersonFeet, kPersonHeight, kLean);
    canvas.paint(canvas.blurred(person.coverage(), 3),
                 [](double, double) { return rgb(0xe6dcff, 0.85); });
    canvas.paint(person, verticalGradient(rgb(0xffffff), rgb(0xe4dcff), 80.0, 184.0));
}

void SplashPicture::paintTitle(Canvas& canvas) {
    CoverageMask shadow(kWidth, kHeight);
    Lettering::addWord(shadow, "Zaredezid", kTitleOrigin + QPointF(1.5, 2.5), kTitleXHeight);
    canvas.paint(canvas.blurred(shadow.coverage(), 2),
                 [](double, double) { return rgb(0x06041a, 0.75); });
    CoverageMask title(kWidth, kHeight);
    Lettering::addWord(title, "Zaredezid", kTitleOrigin, kTitleXHeight);
    canvas.paint(title, verticalGradient(rgb(0xffffff), rgb(0xd8ccff), kTitleOrigin.y() - 30.0,
                                         kTitleOrigin.y()));
}
