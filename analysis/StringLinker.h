#pragma once

#include "analysis/PixelString.h"
#include "capture/Image.h"

// Links the set pixels (byte 255) of a Gray8 picture into strings of
// 8-connected pixels, dropping strings shorter than minSize. Every set pixel is
// cleared while it is linked, so the picture is used up.
void findStrings(StringList& strings, I::Image& picture, uint32_t minSize);

// Traces the string through the seed pixel into string, from one end of the
// chain through the seed to the other end.
void traceString(PixelString& string, I::Image& picture, int32_t seedX, int32_t seedY);

// The first set neighbour of pixel (x, y): straight neighbours below, right,
// above, left, then the diagonals below-right, below-left, above-left,
// above-right. Returns false when none is set.
bool nextNeighbour(const I::Image& picture, int32_t& x, int32_t& y);
