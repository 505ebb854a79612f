// The terrain's height map fed arbitrary bytes: the map is read from a file
// of exactly 1024 x 1024 heights, and every height from 0 to 255 must fly and
// draw. The input's first bytes steer the flight; the rest, repeated, fills
// the map, or is written as it is to try maps of the wrong length.
#include "fuzz/FuzzGLContext.h"
#include "fuzz/FuzzSupport.h"
#include "view/Terrain.h"

#include <QGuiApplication>
#include <QOpenGLFramebufferObject>

#include <memory>

namespace {

constexpr int kViewSize = 64;
constexpr int kMaxSteps = 8;
constexpr std::size_t kMapBytes = std::size_t(Terrain::kMapSize) * Terrain::kMapSize;
QOpenGLFramebufferObject* target = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    new QGuiApplication(*argc, *argv);
    fuzz::makeGLContextCurrent();
    target = new QOpenGLFramebufferObject(kViewSize, kViewSize,
                                          QOpenGLFramebufferObject::CombinedDepthStencil);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputReader input(data, size);
    const float roll = input.byte();
    const float pitch = static_cast<float>(input.byte()) - 128.0f;
    const int steps = 1 + input.byte() % kMaxSteps;
    const bool wholeMap = input.byte() % 2 == 0;

    QByteArray map;
    if (wholeMap && input.remaining() > 0) {
        map.resize(static_cast<int>(kMapBytes));
        for (std::size_t i = 0; i < kMapBytes; ++i)
            map[static_cast<int>(i)] = static_cast<char>(input.rest()[i % input.remaining()]);
    } else {
        map = QByteArray(reinterpret_cast<const char*>(input.rest()),
                         static_cast<int>(input.remaining()));
    }
    const QString mapPath =
        fuzz::writeScratchFile(QStringLiteral("Terrain.raw"), map.constData(), map.size());

    fuzz::makeGLContextCurrent();
    target->bind();
    auto terrain = std::make_unique<Terrain>(mapPath, fuzz::scratchFolder() + "/no-texture.tga");
    terrain->setupTextureAndFog(kViewSize, kViewSize);
    for (int step = 0; step < steps; ++step) {
        terrain->steer(roll, pitch);
        terrain->stepAndDraw();
    }
    target->release();
    return 0;
}
