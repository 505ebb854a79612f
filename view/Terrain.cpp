#include "view/Terrain.h"

#include <GL/glu.h>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kMapBytes = Terrain::kMapSize * Terrain::kMapSize;
constexpr int kMapMask = Terrain::kMapSize - 1;
// The steering works with these rounded values, not with pi and 2 pi.
constexpr double kHalfTurn = 3.14;
constexpr double kFullTurn = 6.28;
constexpr double kDegreesPerHalfTurn = 180.0;
constexpr double kRollNeutral = 90.0;
// Degrees of roll away from neutral per radian of heading change per update.
constexpr double kRollDamping = 70.0;
constexpr double kPitchDamping = 10.0;
constexpr float kHorizonHighest = 300.0f;
constexpr float kHorizonLowest = 160.0f;
// Heading and horizon cover this fraction of the way to their targets per frame.
constexpr float kEasing = 6.0f;
// Tables hold thousandths of a radian; index 6283 is the last entry.
constexpr int kTableSteps = 1000;
constexpr int kTableWrap = 6283;
// 1024 cells in 16.16 units; the map repeats with this period.
constexpr double kMapPeriod = 1024.0 * 65536.0;
constexpr float kEyeAboveGround = 50.0f;
// Height samples and their fractions are 8.8 fixed point.
constexpr int kFractionOne = 256;

double wrapTurn(double angle) {
    angle = std::fmod(angle, kFullTurn);
    return angle < 0.0 ? angle + kFullTurn : angle;
}

// The low 32 bits of a wider integer, as two's complement.
int32_t low32(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

} // namespace

Terrain::Terrain(const QString& heightMapPath, const QString& texturePath)
    : heightMap(kMapBytes, 0) {
    loadHeightMap(heightMapPath);
    texture.load(texturePath);
    for (int i = 0; i < static_cast<int>(sinTable.size()); ++i) {
        sinTable[i] = static_cast<float>(std::sin(i / double(kTableSteps)));
        cosTable[i] = static_cast<float>(std::cos(i / double(kTableSteps)));
    }
}

bool Terrain::loadHeightMap(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(kMapBytes);
    // A short file leaves the map flat rather than half read.
    if (bytes.size() != kMapBytes)
        return false;
    std::copy(bytes.begin(), bytes.end(), heightMap.begin());
    return true;
}

void Terrain::steer(float roll, float pitch) {
    double target =
        targetHeading + (roll - kRollNeutral) * kHalfTurn / kDegreesPerHalfTurn / kRollDamping;
    if (target > kFullTurn)
        target -= kFullTurn;
    if (target < 0.0)
        target += kFullTurn;
    targetHeading = static_cast<float>(target);

    const double horizonGoal = targetHorizon - pitch / kPitchDamping;
    targetHorizon =
        std::max(std::min(static_cast<float>(horizonGoal), kHorizonHighest), kHorizonLowest);
}

void Terrain::setupTextureAndFog(int w, int h) {
    viewWidth = w;
    viewHeight = h;
    if (textureId != 0)
        glDeleteTextures(1, &textureId);
    textureId = 0;
    if (texture.isLoaded()) {
        glGenTextures(1, &textureId);
        glBindTexture(GL_TEXTURE_2D, textureId);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        // The decoded rows are tightly packed, whatever their width.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gluBuild2DMipmaps(GL_TEXTURE_2D, texture.components, texture.width, texture.height,
                          texture.format, GL_UNSIGNED_BYTE, texture.data.data());
    }
    // The fog fades far terrain into the sky, which has the same colour.
    const GLfloat fogColour[4] = {0.8f, 0.7f, 1.0f, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_START, static_cast<GLfloat>(viewDistance - viewDistance / 3));
    glFogf(GL_FOG_END, static_cast<GLfloat>(viewDistance));
    glEnable(GL_FOG);
}

void Terrain::stepAndDraw() {
    step();
    draw();
}

bool Terrain::drawsOpaque() const {
    constexpr int kWithAlpha = 4;
    return !texture.isLoaded() || texture.components < kWithAlpha;
}

int Terrain::columnsPerSlice() const {
    return std::min(viewWidth / columnStep + 2, kMaxColumns);
}

float Terrain::sine(int index) const {
    if (std::abs(index) > kTableWrap)
        index %= kTableWrap;
    return index >= 0 ? sinTable[index] : -sinTable[-index];
}

float Terrain::cosine(int index) const {
    if (std::abs(index) > kTableWrap)
        index %= kTableWrap;
    return cosTable[std::abs(index)];
}

void Terrain::step() {
    if (heading != targetHeading) {
        // Ease along the shorter way round, so that a target that has just
        // wrapped between 6.28 and 0 does not swing the view the long way.
        const double offset = std::remainder(double(heading) - targetHeading, kFullTurn);
        heading = static_cast<float>(wrapTurn(heading - offset / kEasing));
    }
    if (horizon != targetHorizon)
        horizon -= (horizon - targetHorizon) / kEasing;
    glColor3ub(255, 255, 255);

    const int angle = static_cast<int>(heading * kTableSteps);
    posX += cosine(angle) * speed;
    posY += speed * sine(angle);
    keepPositionOnMap();
}

void Terrain::keepPositionOnMap() {
    // Taking whole map periods off keeps the integer conversions in range and
    // the heights unchanged; the texture repeats every 1000 cells instead of
    // 1024, so the part of its period that goes with them is kept as a shift.
    const float textureShift =
        static_cast<float>(std::fmod(kMapPeriod / static_cast<double>(reach << 11), 1.0));
    const auto wrap = [&](float& position, float& shift) {
        if (position >= kMapPeriod || position < 0.0) {
            const double periods = std::floor(position / kMapPeriod);
            position = static_cast<float>(position - periods * kMapPeriod);
            shift = static_cast<float>(std::fmod(shift + periods * textureShift, 1.0));
        }
    };
    wrap(posX, textureShiftT);
    wrap(posY, textureShiftS);
}

void Terrain::draw() {
    columnTop.fill(0);
    columnX.fill(0);
    columnY.fill(0);
    eyeLevel = static_cast<int>(groundLevel + kEyeAboveGround);
    if (textureId != 0) {
        glBindTexture(GL_TEXTURE_2D, textureId);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glTranslatef(textureShiftS, textureShiftT, 0.0f);
        glMatrixMode(GL_MODELVIEW);
    } else {
        glDisable(GL_TEXTURE_2D);
    }

    leftAngle = static_cast<int>((heading - halfFov) * kTableSteps) % kTableWrap;
    rightAngle = static_cast<int>((halfFov + heading) * kTableSteps) % kTableWrap;
    const float cosLeft = cosine(leftAngle), sinLeft = sine(leftAngle);
    const float cosRight = cosine(rightAngle), sinRight = sine(rightAngle);
    const int scaleNumerator = heightScale * viewHeight;
    batch.clear();

    // Each product is truncated to an integer before it is added to the
    // position, so the slice ends move in whole map units.
    const auto mapUnit = [](float position, float offset) {
        return static_cast<int>(double(position) +
                                double(static_cast<float>(static_cast<int>(offset))));
    };
    for (unsigned d = 1; d < viewDistance; d = nextSliceDistance(d)) {
        const int distance = static_cast<int>(d);
        const float reachHere = static_cast<float>(reach * distance);
        drawSlice(mapUnit(posX, reachHere * cosLeft), mapUnit(posY, reachHere * sinLeft),
                  mapUnit(posX, reachHere * cosRight), mapUnit(posY, reachHere * sinRight),
                  eyeLevel - 2 * distance, scaleNumerator / distance, distance);
    }
    batch.draw();

    if (textureId != 0) {
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    } else {
        glEnable(GL_TEXTURE_2D);
    }
}

int Terrain::sampleHeight(int a, int b, int lift) const {
    const int cx = (a >> 16) & kMapMask, cy = (b >> 16) & kMapMask;
    const int fx = (a >> 8) & 255, fy = (b >> 8) & 255;
    const auto h = [this](int x, int y) {
        return static_cast<int>(heightMap[((y & kMapMask) * kMapSize) + (x & kMapMask)]);
    };
    const int top = (h(cx + 1, cy) - h(cx, cy)) * fx + kFractionOne * h(cx, cy);
    const int bottom = (h(cx + 1, cy + 1) - h(cx, cy + 1)) * fx + kFractionOne * h(cx, cy + 1);
    return (bottom - top) * fy + kFractionOne * (top - lift);
}

void Terrain::drawSlice(int xL, int yL, int xR, int yR, int eyeRel, int scale, int d) {
    const int lastColumn = columnsPerSlice() - 1;
    const int dx = (xR - xL) / lastColumn, dy = (yR - yL) / lastColumn;
    const int lift = 2 * static_cast<int>(horizon * d);
    const int32_t eyeOffset = low32(int64_t(eyeRel) * scale);
    const int halfHeight = viewHeight >> 1;
    // Map units per texture period: the texture repeats every 1000 cells.
    const float texturePeriod = static_cast<float>(reach << 11);
    const float z = -static_cast<float>(d);
    const auto corner = [&](int column, int mapX, int mapY, int screenY) {
        batch.addCorner(mapY / texturePeriod, mapX / texturePeriod,
                        static_cast<float>(columnStep * column), static_cast<float>(screenY), z);
    };

    int a = xL, b = yL;
    bool stripOpen = false;
    for (int i = 0; i <= lastColumn; ++i) {
        const int32_t projected = low32((int64_t(sampleHeight(a, b, lift)) * scale) >> 16);
        const int y = (low32(int64_t(projected) - eyeOffset) >> 11) + halfHeight;
        if (y > columnTop[i]) {
            if (!stripOpen) {
                // Column 0 has no left neighbour; its own top and map
                // position stand in for it, left of the view.
                const int previous = std::max(i - 1, 0);
                batch.beginStrip();
                corner(i - 1, columnX[previous], columnY[previous], columnTop[previous]);
                stripOpen = true;
            }
            corner(i, a, b, y);
            corner(i, columnX[i], columnY[i], columnTop[i]);
            columnTop[i] = y;
        } else if (stripOpen) {
            corner(i, columnX[i], columnY[i], columnTop[i]);
            stripOpen = false;
        }
        columnY[i] = b;
        columnX[i] = a;
        a += dx;
        b += dy;
    }
}
