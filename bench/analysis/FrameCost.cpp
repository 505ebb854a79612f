// Plays a recording through the video processor for a fixed number of frames,
// so that the instructions it takes are the same from run to run, where the
// timings of analysis_bench vary with the machine's load by a fifth or more.
// Count them with callgrind, collecting inside processFrame only, and divide
// by the frames played; from the build folder, on one line:
//
//     valgrind --tool=callgrind --callgrind-out-file=/dev/null
//         --toggle-collect='*VideoProcessor::processFrame*'
//         bench/analysis/frame_cost 320 precise room 6 arms
//
// The scenes are those of analysis_bench: the moving-arms recording, or the
// room with a light shirt at the given noise, with the person or empty.

#include "ArmScene.h"
#include "MovingArms.h"
#include "analysis/VideoProcessor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Sixteen recorded frames played six times: a whole number of the precise
// estimator's search rounds in an empty room where something moves, every
// third frame. A still, empty room is searched only about once a second,
// three times in these frames once the first searches are over.
constexpr int kRecorded = 16;
constexpr int kPlayed = 96;

const char kUsage[] = R"(Usage: frame_cost WIDTH precise|classic moving
       frame_cost WIDTH precise|classic room NOISE arms|empty

Plays %d frames, WIDTH wide at 4:3, through the video processor: the
moving-arms recording, or a room with a light shirt 20 grey levels darker than
the wall and sensor noise of NOISE grey levels, with the person's arms
wavering or with nobody there. Run it under callgrind (see the top of
FrameCost.cpp) for a cost per frame that does not depend on the machine's load.
)";

struct Scene {
    int width;
    EstimatorKind kind;
    std::optional<double> roomNoise; // none for the moving-arms recording
    bool armsInRoom;
};

std::optional<Scene> parsed(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        return std::nullopt;
    }
    Scene scene{std::atoi(argv[1]), EstimatorKind::Precise, std::nullopt, true};
    bool known = false;
    scene.kind = estimatorKindFromName(argv[2], known);
    const bool moving = argc == 4 && std::strcmp(argv[3], "moving") == 0;
    const bool room = argc == 6 && std::strcmp(argv[3], "room") == 0 &&
                      (std::strcmp(argv[5], "arms") == 0 || std::strcmp(argv[5], "empty") == 0);
    if (!known || scene.width < 16 || !(moving || room)) {
        return std::nullopt;
    }
    if (room) {
        scene.roomNoise = std::atof(argv[4]);
        scene.armsInRoom = std::strcmp(argv[5], "arms") == 0;
    }
    return scene;
}

std::vector<std::unique_ptr<I::Image>> recordingOf(const Scene& scene) {
    const int height = scene.width * 3 / 4;
    if (!scene.roomNoise) {
        return MovingArms(scene.width, height, kRecorded).frames;
    }
    ArmScene room(scene.width, height, 1, {20, *scene.roomNoise});
    const auto person = scene.armsInRoom ? ArmScene::Person::Bobbing : ArmScene::Person::Gone;
    std::vector<std::unique_ptr<I::Image>> frames;
    for (int frame = 0; frame < kRecorded; ++frame) {
        frames.push_back(room.next({100, 0}, person).image);
    }
    return frames;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Scene> scene = parsed(argc, argv);
    if (!scene) {
        std::fprintf(stderr, kUsage, kPlayed);
        return 2;
    }
    const std::vector<std::unique_ptr<I::Image>> frames = recordingOf(*scene);
    VideoProcessor processor;
    processor.setEstimator(scene->kind);
    for (int frame = 0; frame < kPlayed; ++frame) {
        processor.processFrame(new I::Image(*frames[frame % kRecorded]));
    }
    std::printf("%d frames played\n", kPlayed);
    return 0;
}
