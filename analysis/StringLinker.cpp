#include "analysis/StringLinker.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uchar kSet = 255;

struct Step {
    int dx;
    int dy;
};

// Straight neighbours first: that is what makes a band two pixels thick come
// out as one hairpin string instead of a zigzag.
constexpr Step kNeighbourOrder[] = {{0, 1}, {1, 0},  {0, -1},  {-1, 0},
                                    {1, 1}, {-1, 1}, {-1, -1}, {1, -1}};

StringPoint pointAt(const I::Image& picture, int32_t x, int32_t y) {
    return {x, y, x - picture.width * 0.5, y - picture.height * 0.5};
}

uchar& pixel(I::Image& picture, int32_t x, int32_t y) {
    return picture.data[qsizetype(y) * picture.width + x];
}

// Appends every pixel reached from (x, y), clearing each one, until the chain
// ends.
void walkFrom(PixelString& string, I::Image& picture, int32_t x, int32_t y) {
    while (nextNeighbour(picture, x, y)) {
        string.append(pointAt(picture, x, y));
        pixel(picture, x, y) = 0;
    }
}

// Tracing looks at neighbours without bounds tests; clearing the outermost rows
// and columns (always clear in a change picture) keeps it inside any picture.
void clearBorder(I::Image& picture) {
    const int width = picture.width;
    const int height = picture.height;
    if (width <= 0 || height <= 0) {
        return;
    }
    std::memset(picture.data, 0, width);
    std::memset(picture.data + qsizetype(height - 1) * width, 0, width);
    for (int y = 0; y < height; ++y) {
        pixel(picture, 0, y) = 0;
        pixel(picture, width - 1, y) = 0;
    }
}

} // namespace

bool nextNeighbour(const I::Image& picture, int32_t& x, int32_t& y) {
    const uchar* centre = picture.data + qsizetype(y) * picture.width + x;
    for (const Step& step : kNeighbourOrder) {
        if (centre[qsizetype(step.dy) * picture.width + step.dx] == kSet) {
            x += step.dx;
            y += step.dy;
            return true;
        }
    }
    return false;
}

void traceString(PixelString& string, I::Image& picture, int32_t seedX, int32_t seedY) {
    string.count = 0;
    string.append(pointAt(picture, seedX, seedY));
    pixel(picture, seedX, seedY) = 0;
    walkFrom(string, picture, seedX, seedY);
    // The seed is cleared now, so the second walk leaves it the other way and
    // the string runs from the end of the first walk through the seed.
    std::reverse(string.points.begin(), string.points.begin() + string.count);
    walkFrom(string, picture, seedX, seedY);
}

void findStrings(StringList& strings, I::Image& picture, uint32_t minSize) {
    strings.count = 0;
    if (picture.format != I::Image::Gray8) {
        return;
    }
    clearBorder(picture);
    const int width = picture.width;
    for (int y = 1; y < picture.height - 1; ++y) {
        uchar* row = picture.data + qsizetype(y) * width;
        for (int x = 1; x < width - 1; ++x) {
            // Change pictures are mostly empty, so jump to the next set byte.
            const auto* found = static_cast<uchar*>(std::memchr(row + x, kSet, width - 1 - x));
            if (!found) {
                break;
            }
            x = int(found - row);
            PixelString& string = strings.nextSlot();
            traceString(string, picture, x, y);
            if (string.count >= minSize) {
                ++strings.count;
            }
        }
    }
}
