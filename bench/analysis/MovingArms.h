#pragma once

#include "capture/Image.h"

#include <memory>
#include <vector>

// A recording of a figure flapping and tilting its outstretched arms, as the
// capture thread delivers it, with each frame's edge picture and its change
// picture against the previous frame's edges.
struct MovingArms {
    MovingArms(int width, int height, int frameCount);

    std::vector<std::unique_ptr<I::Image>> frames;
    std::vector<std::unique_ptr<I::Image>> edges;
    std::vector<std::unique_ptr<I::Image>> changes;
};
