// The whole per-frame analysis fed frames of arbitrary sizes and bytes, as a
// camera of any resolution could deliver them: frame preparation, the motion
// gate, the line detector and either estimator, and the mirrored picture with
// its line for the settings dock.
#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "capture/GrayPalette.h"
#include "fuzz/FuzzSupport.h"

#include <QApplication>
#include <QLabel>

#include <algorithm>
#include <cmath>
#include <vector>

QVector<QRgb> grayPalette = makeGrayPalette();
QLabel* outputLabel = nullptr;

namespace {

// Camera sizes up to the largest of the program's resolutions, and every
// narrower or flatter shape down to nothing.
constexpr int kMaxSide = 700;
constexpr int kMaxPixels = 640 * 480;
constexpr int kMaxFrames = 6;
// The response sliders run 0..99 and the main window divides by 4.
constexpr int kMaxResponse = 24;

QLabel* dockLabel = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    new QApplication(*argc, *argv);
    dockLabel = new QLabel;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputReader input(data, size);
    VideoProcessor processor;
    processor.setEstimator(input.byte() % 2 ? EstimatorKind::Classic : EstimatorKind::Precise);
    processor.rollResponse = input.byte() % (kMaxResponse + 1);
    processor.pitchResponse = input.byte() % (kMaxResponse + 1);
    outputLabel = input.byte() % 2 ? dockLabel : nullptr;
    bool attitudeFinite = true;
    QObject::connect(&processor, &VideoProcessor::dataUpdate, [&](float roll, float pitch) {
        attitudeFinite = attitudeFinite && std::isfinite(roll) && std::isfinite(pitch);
    });

    const int frames = 1 + input.byte() % kMaxFrames;
    std::vector<uint8_t> pixels;
    for (int frame = 0; frame < frames; ++frame) {
        int32_t width = input.number16() % (kMaxSide + 1);
        int32_t height = input.number16() % (kMaxSide + 1);
        if (width * height > kMaxPixels)
            height = kMaxPixels / std::max(width, 1);
        // The pixels come from the rest of the input, repeated; an input that
        // has run out gives a black frame.
        pixels.assign(std::size_t(width) * std::size_t(height) * 4, 0);
        const std::size_t available = input.remaining();
        for (std::size_t i = 0; available > 0 && i < pixels.size(); ++i)
            pixels[i] = input.rest()[(i + std::size_t(frame) * 7919) % available];
        int32_t format = I::Image::Rgb32;
        // Ownership passes to processFrame, as with the capture thread's signal.
        processor.processFrame(new I::Image(pixels.data(), width, height, format));
        input.skip(pixels.size() / 8);
    }
    outputLabel = nullptr;
    fuzz::require(attitudeFinite);
    return 0;
}
