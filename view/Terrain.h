#pragma once

#include "view/TGAImage.h"
#include "view/TerrainBatch.h"

#include <GL/gl.h>
#include <QPointF>
#include <QString>
#include <array>
#include <vector>

// The flight state and the terrain renderer of the flight view: a camera
// flying over a repeating 1024 x 1024 height map, drawn front to back as
// slices of growing distance in 16.16 fixed-point map units, each slice
// sampled in screen columns against a per-column occlusion buffer and emitted
// as textured, fogged triangle strips under an orthographic projection.
class Terrain {
public:
    static constexpr const char* kHeightMapFile = ":/gl/Scene/Terrain.raw";
    static constexpr const char* kTextureFile = ":/gl/Scene/Color.Tga";
    static constexpr int kMapSize = 1024;
    static constexpr int kMaxColumns = 1024;

    // Loads both files; a failed load is silent (a zero height map, an
    // untextured terrain). Makes no GL call.
    explicit Terrain(const QString& heightMapPath = QLatin1String(kHeightMapFile),
                     const QString& texturePath = QLatin1String(kTextureFile));
    Terrain(const Terrain&) = delete;
    Terrain& operator=(const Terrain&) = delete;

    // Roll turns the heading target (90 flies straight), pitch moves the
    // horizon target.
    void steer(float roll, float pitch);
    // Records the view size and rebuilds the texture and the fog. Needs a
    // current GL context.
    void setupTextureAndFog(int w, int h);
    // Eases toward the targets, moves one frame forward and draws.
    void stepAndDraw();
    // Draws where the flight is, moving nothing.
    void draw();

    float currentHeading() const { return heading; }
    float headingTarget() const { return targetHeading; }
    float currentHorizon() const { return horizon; }
    float horizonTarget() const { return targetHorizon; }
    float positionX() const { return posX; }
    float positionY() const { return posY; }
    // The texture object in use; 0 when the terrain is drawn untextured.
    GLuint textureName() const { return textureId; }
    // Texture offset (s, t) that stands for the map periods taken off the
    // position; the texture matrix applies it while the terrain is drawn.
    QPointF textureShift() const { return {textureShiftS, textureShiftT}; }
    // True when every terrain fragment comes out opaque: the texture, if
    // any, has no alpha of its own.
    bool drawsOpaque() const;
    // Number of columns sampled per slice for the current view width.
    int columnsPerSlice() const;

    // Slice distances grow with distance, so far terrain costs fewer slices.
    static unsigned nextSliceDistance(unsigned d) { return d + (d >> 6) + 1; }

private:
    bool loadHeightMap(const QString& path);
    void step();
    void keepPositionOnMap();
    void drawSlice(int xL, int yL, int xR, int yR, int eyeRel, int scale, int d);
    int sampleHeight(int a, int b, int lift) const;
    float sine(int index) const;
    float cosine(int index) const;

    std::vector<unsigned char> heightMap;
    int viewWidth = 0;
    int viewHeight = 0;
    std::array<float, 6284> sinTable{};
    std::array<float, 6284> cosTable{};
    int leftAngle = 0;
    int rightAngle = 0;
    int eyeLevel = 335;
    unsigned char columnStep = 8;
    unsigned viewDistance = 2048;
    float posX = 0.0f;
    float posY = 0.0f;
    float groundLevel = 285.0f;
    float heading = 0.0f;
    float halfFov = 0.39269909f;
    float targetHeading = 0.0f;
    std::array<int, kMaxColumns> columnTop{};
    std::array<int, kMaxColumns> columnX{};
    std::array<int, kMaxColumns> columnY{};
    float horizon = 256.0f;
    float targetHorizon = 256.0f;
    int reach = 32000;
    int heightScale = 2048;
    TGAImage texture;
    GLuint textureId = 0;
    int speed = 155648;
    // Whole map periods taken off the position leave a fraction of the
    // texture's own period behind; this shift puts it back.
    float textureShiftS = 0.0f;
    float textureShiftT = 0.0f;
    // The frame's strips, drawn together once every slice is sampled.
    TerrainBatch batch;
};
