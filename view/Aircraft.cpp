#include "view/Aircraft.h"

#include "view/CXGLReader.h"

#include <algorithm>
#include <cmath>

namespace {

// The model's diagonal spans this fraction of the view's shorter side.
constexpr double kSizeOfView = 0.3;
// Its centre sits this fraction of the view's height above the bottom edge.
constexpr double kHeightOfCentre = 0.16;
constexpr double kRollNeutral = 90.0;
// The same tilt as the overlay's symbol: one degree per five units of roll.
constexpr double kRollPerDegree = -5.0;
// A window of depth between the overlay (at 0) and the first terrain slice
// past the near plane (1 / 8192 of the depth range).
constexpr double kDepthNear = 0.1 / 8192.0;
constexpr double kDepthFar = 0.9 / 8192.0;
constexpr double kDepthMargin = 1.05;
// The model's nose points along its file's negative z axis and its top along
// positive y, so seen from behind it needs no turn; kept here should another
// model need one.
constexpr float kTurnToRearView = 0.0f;

} // namespace

void Aircraft::measure(const CXGLReader& reader) {
    const XGLBox box = reader.boundingBox();
    double squaredDiagonal = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        centre[axis] = (box.min[axis] + box.max[axis]) / 2 * CXGLReader::kModelScale;
        const double extent = (box.max[axis] - box.min[axis]) * CXGLReader::kModelScale;
        squaredDiagonal += extent * extent;
    }
    radius = std::sqrt(squaredDiagonal) / 2;
}

void Aircraft::setUpLighting() const {
    // A light from above and behind the viewer's shoulder; the renderer's
    // normals are scaled with the model, so GL has to bring them to unit length.
    const GLfloat direction[4] = {0.3f, 0.7f, 1.0f, 0.0f};
    const GLfloat ambient[4] = {0.35f, 0.35f, 0.35f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
}

void Aircraft::draw(GLuint modelList, float roll, int viewWidth, int viewHeight) const {
    if (isEmpty() || viewWidth <= 0 || viewHeight <= 0)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_VIEWPORT_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    // Smoothed polygons blend their edges and would show every seam.
    glDisable(GL_POLYGON_SMOOTH);
    glDepthRange(kDepthNear, kDepthFar);

    // A projection of its own, in pixels, so the model keeps its shape in
    // views that the flight projection stretches; its depth range just holds
    // the model, for the finest depth steps within the narrow window.
    const double scale = kSizeOfView * std::min(viewWidth, viewHeight) / (2 * radius);
    const double depthReach = radius * scale * kDepthMargin;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewWidth, 0, viewHeight, -depthReach, depthReach);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    setUpLighting();

    glTranslated(viewWidth / 2.0, viewHeight * kHeightOfCentre, 0.0);
    glRotated((roll - kRollNeutral) / kRollPerDegree, 0.0, 0.0, 1.0);
    glScaled(scale, scale, scale);
    glRotatef(kTurnToRearView, 0.0f, 1.0f, 0.0f);
    glTranslated(-centre[0], -centre[1], -centre[2]);
    glCallList(modelList);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
