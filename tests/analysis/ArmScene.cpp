#include "ArmScene.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

const QColor kWallTop(214, 220, 228);
const QColor kWallBottom(176, 184, 196);
const QColor kDoor(150, 112, 80);
const QColor kDoorHandle(200, 170, 90);
const QColor kFrameWood(92, 62, 40);
const QColor kSky(150, 190, 220);
const QColor kMeadow(90, 130, 70);
const QColor kShirt(40, 60, 110);
const QColor kSkin(224, 182, 150);
const QColor kHair(60, 40, 30);
const QColor kWalkerCoat(70, 100, 80);

// A Breton shirt's stripes: half of each period is the stripe colour, this
// far from the shirt's, so stripe edges are far stronger than those of a
// light shirt against the wall.
constexpr double kStripePeriodShare = 0.045;
constexpr int kStripeLevels = 60;

// The walker is farther from the camera, so smaller and with shoulders a
// little above the picture's centre, where the arms are; they pass behind the
// person once every crossing. Their pace is a share of the width per frame, a
// few pixels at every size.
constexpr double kWalkerScale = 0.6;
constexpr double kWalkerShouldersShare = 0.46;
constexpr double kWalkerNearestSide = 0.1;
constexpr double kWalkerCrossing = 0.8;
constexpr double kWalkerStepShare = 0.01;

// Mostly faint blotches that stay below the edge threshold, and a few strong
// ones that do not, so the wall adds edges near the arms without drowning them.
constexpr int kBlotches = 400;
constexpr int kOneStrongBlotchIn = 8;
constexpr int kFaintAlpha = 16;
constexpr int kStrongAlpha = 48;

// The arms move up and down by twice this between frames, as held arms waver.
// That opens the motion gate at every size, since the edge bands it compares
// are about as wide at every size; the body stays still, so the arms are what
// moves.
constexpr double kBobPixels = 1.0;

// The sum of four random bytes less its mean is close to Gaussian with a
// standard deviation of about 147; divided by 49 it has the 3 grey levels of
// a webcam in fair light, the default.
constexpr int kNoiseMean = 2 * 255;
constexpr int kLargestNoiseSum = 4 * 255;
constexpr double kNoiseSumSpread = 147.0;

// xorshift64* (Vigna, 2016): plenty random for noise, and fast.
constexpr quint64 kSeedSpreader = 0x9E3779B97F4A7C15ull;
constexpr quint64 kXorshiftMultiplier = 0x2545F4914F6CDD1Dull;

quint32 nextRandom(quint64& state) {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return quint32((state * kXorshiftMultiplier) >> 32);
}

uchar withNoise(int channel, int noise) {
    return uchar(std::clamp(channel + noise, 0, 255));
}

// Truncated toward zero like the integer division it stands for, so the
// default noise stays what it was.
std::vector<int> noiseTable(double sigma) {
    std::vector<int> noise(kLargestNoiseSum + 1);
    const double divisor = kNoiseSumSpread / sigma;
    for (int sum = 0; sum <= kLargestNoiseSum; ++sum) {
        noise[sum] = int((sum - kNoiseMean) / divisor);
    }
    return noise;
}

// Lighter for negative greyLevels.
QColor darkerBy(const QColor& colour, int greyLevels) {
    const auto channel = [greyLevels](int value) { return std::clamp(value - greyLevels, 0, 255); };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

QLinearGradient wallGradient(double height, int darkerByGreyLevels = 0) {
    QLinearGradient wall(0, 0, 0, height);
    wall.setColorAt(0, darkerBy(kWallTop, darkerByGreyLevels));
    wall.setColorAt(1, darkerBy(kWallBottom, darkerByGreyLevels));
    return wall;
}

void paintWallTexture(QPainter& painter, double width, double height, quint32 seed) {
    QRandomGenerator random(seed);
    painter.setPen(Qt::NoPen);
    for (int blotch = 0; blotch < kBlotches; ++blotch) {
        const QPointF centre(random.bounded(width), random.bounded(height));
        const double radius = height * (0.004 + random.bounded(0.016));
        const int alpha = random.bounded(kOneStrongBlotchIn) == 0 ? kStrongAlpha : kFaintAlpha;
        painter.setBrush(random.bounded(2) ? QColor(0, 0, 0, alpha) : QColor(255, 255, 255, alpha));
        painter.drawEllipse(centre, radius * (0.6 + random.bounded(0.8)), radius);
    }
}

// A door on the left with its long vertical edges, and on the right a framed
// landscape whose frame and horizon are horizontal edges near the arms' height.
void paintFurniture(QPainter& painter, double width, double height) {
    painter.setBrush(kDoor);
    painter.drawRect(QRectF(width * 0.03, height * 0.08, width * 0.17, height));
    painter.setBrush(kDoorHandle);
    painter.drawEllipse(QPointF(width * 0.17, height * 0.55), height * 0.012, height * 0.012);

    const QRectF frame(width * 0.64, height * 0.27, width * 0.28, height * 0.30);
    const double wood = height * 0.025;
    const QRectF canvas = frame.adjusted(wood, wood, -wood, -wood);
    painter.setBrush(kFrameWood);
    painter.drawRect(frame);
    painter.setBrush(kSky);
    painter.drawRect(canvas);
    painter.setBrush(kMeadow);
    painter.drawRect(canvas.adjusted(0, canvas.height() * 0.55, 0, 0));
}

// The walker's centre as a share of the width: to and fro between the sides.
double walkerCentreShare(int frameNumber) {
    const double travelled = std::fmod(frameNumber * kWalkerStepShare, 2 * kWalkerCrossing);
    const double fromSide =
        travelled < kWalkerCrossing ? travelled : 2 * kWalkerCrossing - travelled;
    return kWalkerNearestSide + fromSide;
}

} // namespace

ArmScene::ArmScene(int width, int height, quint32 seed, Room room)
    : room(width, height, QImage::Format_RGB32)
    , canvas(width, height, QImage::Format_RGB32)
    , seed(seed)
    , contrast(room.contrast)
    , stripedShirt(room.stripedShirt)
    , walkerBehind(room.walkerBehind)
    , noiseOfSum(noiseTable(room.noiseSigma)) {
    QPainter painter(&this->room);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(this->room.rect(), wallGradient(height));
    paintWallTexture(painter, width, height, seed);
    paintFurniture(painter, width, height);
}

ArmScene::Frame ArmScene::next(ArmsPose pose, Person person) {
    const double bob = person == Person::Bobbing ? (frameNumber % 2 ? kBobPixels : -kBobPixels) : 0;
    const ArmsPose arms{pose.angleDegrees, pose.offset + bob};
    // The canvas and the byte buffer are reused, which makes long runs of
    // frames several times faster than fresh pictures would.
    std::memcpy(canvas.bits(), room.constBits(), std::size_t(room.sizeInBytes()));
    if (walkerBehind) {
        paintWalker(canvas);
    }
    if (person != Person::Gone) {
        paintPerson(canvas, pose.offset, arms);
    }
    std::unique_ptr<I::Image> image = cameraFrame(canvas);
    ++frameNumber;
    return {std::move(image), arms};
}

// Like the demo camera's person, with a torso that runs out of the picture.
// The analysis places pixel x at x - width / 2, while the painter's pixel x
// spans x to x + 1, hence the half pixel that puts the arm's centre line
// exactly where arms says.
void ArmScene::paintPerson(QImage& mirrored, double shoulderOffset, ArmsPose arms) const {
    const double width = mirrored.width();
    const double height = mirrored.height();
    const QPointF shoulders(width / 2 + 0.5, height / 2 + 0.5 + shoulderOffset);
    QPainter painter(&mirrored);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    paintShirt(painter,
               QRectF(width * 0.40, shoulders.y() - height * 0.02, width * 0.20, height * 0.80),
               width * 0.04);

    painter.save();
    painter.translate(width / 2 + 0.5, height / 2 + 0.5 + arms.offset);
    painter.rotate(arms.angleDegrees - 90);
    const double thickness = std::max(2.0, height * 0.06);
    paintShirt(painter, QRectF(-width * 0.42, -thickness / 2, width * 0.84, thickness),
               thickness / 2);
    painter.setBrush(kSkin);
    for (double hand : {-width * 0.43, width * 0.43}) {
        painter.drawEllipse(QPointF(hand, 0), thickness * 0.7, thickness * 0.7);
    }
    painter.restore();

    const double headRadius = height * 0.09;
    const QPointF head(width / 2, shoulders.y() - height * 0.13);
    painter.setBrush(kSkin);
    painter.drawEllipse(head, headRadius * 0.85, headRadius);
    painter.setBrush(kHair);
    painter.drawChord(QRectF(head.x() - headRadius * 0.85, head.y() - headRadius, headRadius * 1.7,
                             headRadius * 1.2),
                      0, 180 * 16);
}

// The stripes of a striped shirt run across the piece's length, so the torso
// gets level stripes and each sleeve rings, as they turn with the arm.
void ArmScene::paintShirt(QPainter& painter, const QRectF& piece, double cornerRadius) const {
    painter.setBrush(shirtBrush(painter.worldTransform()));
    painter.drawRoundedRect(piece, cornerRadius, cornerRadius);
    if (!stripedShirt) {
        return;
    }
    QPainterPath outline;
    outline.addRoundedRect(piece, cornerRadius, cornerRadius);
    painter.save();
    painter.setClipPath(outline);
    painter.setBrush(shirtBrush(painter.worldTransform(), true));
    const double period = canvas.height() * kStripePeriodShare;
    const bool upright = piece.height() > piece.width();
    const double length = upright ? piece.height() : piece.width();
    for (double start = period / 2; start < length; start += period) {
        painter.drawRect(
            upright ? QRectF(piece.left(), piece.top() + start, piece.width(), period / 2)
                    : QRectF(piece.left() + start, piece.top(), period / 2, piece.height()));
    }
    painter.restore();
}

// A shirt close to the wall's colour follows the wall's shading from top to
// bottom, so that it differs from the wall beside it by the same contrast at
// every height, whichever way the painter is turned. Stripes lie the far side
// of the shirt from the wall: darker on a light shirt, lighter on a dark one.
QBrush ArmScene::shirtBrush(const QTransform& painterTransform, bool stripe) const {
    if (!contrast) {
        return stripe ? darkerBy(kShirt, -kStripeLevels) : kShirt;
    }
    QBrush shirt(wallGradient(canvas.height(), *contrast + (stripe ? kStripeLevels : 0)));
    shirt.setTransform(painterTransform.inverted());
    return shirt;
}

// Torso and arms hanging at the sides in one plain coat, hands and a head;
// the coat runs out of the picture at the bottom like the person's shirt.
void ArmScene::paintWalker(QImage& mirrored) const {
    const double width = mirrored.width();
    const double height = mirrored.height();
    const double centre = width * walkerCentreShare(frameNumber);
    const double shoulders = height * kWalkerShouldersShare;
    const double torsoHalfWidth = width * 0.10 * kWalkerScale;
    const double armThickness = height * 0.06 * kWalkerScale;
    QPainter painter(&mirrored);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kWalkerCoat);
    painter.drawRoundedRect(QRectF(centre - torsoHalfWidth, shoulders, 2 * torsoHalfWidth, height),
                            armThickness, armThickness);
    const double armLength = height * 0.5 * kWalkerScale;
    for (double side : {-1.0, 1.0}) {
        const double armCentre = centre + side * (torsoHalfWidth + armThickness / 2);
        painter.setBrush(kWalkerCoat);
        painter.drawRoundedRect(QRectF(armCentre - armThickness / 2, shoulders + armThickness / 3,
                                       armThickness, armLength),
                                armThickness / 2, armThickness / 2);
        painter.setBrush(kSkin);
        painter.drawEllipse(QPointF(armCentre, shoulders + armLength), armThickness * 0.6,
                            armThickness * 0.7);
    }
    const double headRadius = height * 0.09 * kWalkerScale;
    painter.drawEllipse(QPointF(centre, shoulders - height * 0.13 * kWalkerScale),
                        headRadius * 0.85, headRadius);
}

// Mirrors the picture back to how the camera sees it and adds the noise on the
// way, straight into the frame's bytes: blue, green, red, 0.
std::unique_ptr<I::Image> ArmScene::cameraFrame(const QImage& mirrored) {
    quint64 randomState = (quint64(seed) << 32 | quint32(frameNumber)) * kSeedSpreader | 1;
    int32_t width = mirrored.width(), height = mirrored.height(), format = I::Image::Rgb32;
    bytes.resize(std::size_t(width) * height * 4);
    uchar* byte = bytes.data();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mirrored.constScanLine(y));
        for (int x = width - 1; x >= 0; --x, byte += 4) {
            const quint32 bits = nextRandom(randomState);
            const int noise = noiseOfSum[int(bits & 0xFF) + int((bits >> 8) & 0xFF) +
                                         int((bits >> 16) & 0xFF) + int(bits >> 24)];
            byte[0] = withNoise(qBlue(row[x]), noise);
            byte[1] = withNoise(qGreen(row[x]), noise);
            byte[2] = withNoise(qRed(row[x]), noise);
            byte[3] = 0;
        }
    }
    return std::make_unique<I::Image>(bytes.data(), width, height, format);
}
