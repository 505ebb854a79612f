#pragma once

#include "capture/Image.h"

#include <memory>

// The three pictures every frame is reduced to before lines are looked for.
// Each returns a new Gray8 picture of its input's size whose colour table is
// the process-wide grey palette; the inputs are left untouched.

// The frame in grey, mirrored left to right so that the user sees themself as
// in a looking-glass; every later coordinate of the analysis is in this picture.
std::unique_ptr<I::Image> grayMirrored(const I::Image& frame);

// 255 where the Sobel magnitude |gx| + |gy| exceeds threshold, 0 elsewhere and
// on a border two pixels wide. A threshold of 0 or less stores the magnitude
// clamped to 0...255 instead.
std::unique_ptr<I::Image> sobelEdges(const I::Image& grey, int threshold);

// 255 where an edge is new since reference and enough of its eight neighbours
// are new too (their sum exceeds threshold); count receives the number of such
// pixels. The result always has a zero border one pixel wide.
std::unique_ptr<I::Image> newEdges(const I::Image& edges, const I::Image& reference, int& count,
                                   const int& threshold);
