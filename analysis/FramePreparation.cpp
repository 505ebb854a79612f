#include "analysis/FramePreparation.h"

#include "app/ProcessObjects.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

// Integer luma weights; they add up to 255, not 256, so white comes out as 254.
constexpr int kRedWeight = 76;
constexpr int kGreenWeight = 150;
constexpr int kBlueWeight = 29;
constexpr int kWeightShift = 8;

constexpr uchar kSet = 255;
constexpr int kMaxGrey = 255;
constexpr int kRgb32BytesPerPixel = 4;
constexpr QRgb kOpaqueBlack = 0xFF000000u;

// Rows and columns this close to the edge have no full 3 x 3 neighbourhood of
// grey pixels under the Sobel kernels and stay 0.
constexpr int kSobelBorder = 2;

inline uchar greyOf(int red, int green, int blue) {
    return uchar((kRedWeight * red + kGreenWeight * green + kBlueWeight * blue) >> kWeightShift);
}

inline uchar greyOf(QRgb colour) {
    return greyOf(qRed(colour), qGreen(colour), qBlue(colour));
}

std::unique_ptr<I::Image> blankGrayLike(const I::Image& shape) {
    int32_t format = I::Image::Gray8;
    auto picture = std::make_unique<I::Image>(shape, format);
    picture->colorTable = &grayPalette;
    return picture;
}

// Grey of every possible byte of a one-byte picture, read through its colour
// table; bytes without a table entry read as black.
std::array<uchar, 256> greyOfIndices(const QVector<QRgb>* colorTable) {
    std::array<uchar, 256> greys{};
    for (int index = 0; index < int(greys.size()); ++index) {
        const bool inTable = colorTable && index < colorTable->size();
        greys[index] = greyOf(inTable ? colorTable->at(index) : kOpaqueBlack);
    }
    return greys;
}

void mirrorRgb32(const I::Image& frame, I::Image& grey) {
    const int width = frame.width;
    for (int y = 0; y < frame.height; ++y) {
        const uchar* source = frame.data + qsizetype(y) * width * kRgb32BytesPerPixel;
        uchar* rowEnd = grey.data + qsizetype(y) * width + width - 1;
        for (int x = 0; x < width; ++x) {
            const uchar* pixel = source + x * kRgb32BytesPerPixel;
            rowEnd[-x] = greyOf(pixel[2], pixel[1], pixel[0]);
        }
    }
}

void mirrorGray8(const I::Image& frame, I::Image& grey) {
    const std::array<uchar, 256> greys = greyOfIndices(frame.colorTable);
    const int width = frame.width;
    for (int y = 0; y < frame.height; ++y) {
        const uchar* source = frame.data + qsizetype(y) * width;
        uchar* rowEnd = grey.data + qsizetype(y) * width + width - 1;
        for (int x = 0; x < width; ++x) {
            rowEnd[-x] = greys[source[x]];
        }
    }
}

// Pixels of edges that are absent in reference. Where the reference is smaller
// than edges, the missing part counts as holding no edge, so nothing outside
// the reference is ever read.
std::vector<uchar> differenceFrom(const I::Image& edges, const I::Image& reference) {
    const int width = edges.width;
    const int height = edges.height;
    const int sharedWidth = std::min(width, reference.width);
    const int sharedHeight = std::min(height, reference.height);
    std::vector<uchar> difference(edges.data, edges.data + qsizetype(width) * height);
    for (int y = 0; y < sharedHeight; ++y) {
        const uchar* now = edges.data + qsizetype(y) * width;
        const uchar* before = reference.data + qsizetype(y) * reference.width;
        uchar* out = difference.data() + qsizetype(y) * width;
        for (int x = 0; x < sharedWidth; ++x) {
            out[x] = now[x] == before[x] ? 0 : now[x];
        }
    }
    return difference;
}

} // namespace

std::unique_ptr<I::Image> grayMirrored(const I::Image& frame) {
    auto grey = blankGrayLike(frame);
    if (frame.format == I::Image::Rgb32) {
        mirrorRgb32(frame, *grey);
    } else if (frame.format == I::Image::Gray8) {
        mirrorGray8(frame, *grey);
    }
    return grey;
}

std::unique_ptr<I::Image> sobelEdges(const I::Image& grey, int threshold) {
    auto edges = blankGrayLike(grey);
    const int width = grey.width;
    for (int y = kSobelBorder; y < grey.height - kSobelBorder; ++y) {
        const uchar* above = grey.data + qsizetype(y - 1) * width;
        const uchar* row = above + width;
        const uchar* below = row + width;
        uchar* out = edges->data + qsizetype(y) * width;
        for (int x = kSobelBorder; x < width - kSobelBorder; ++x) {
            const int gy = (below[x - 1] + 2 * below[x] + below[x + 1]) -
                           (above[x - 1] + 2 * above[x] + above[x + 1]);
            const int gx = (above[x - 1] + 2 * row[x - 1] + below[x - 1]) -
                           (above[x + 1] + 2 * row[x + 1] + below[x + 1]);
            const int magnitude = std::abs(gx) + std::abs(gy);
            if (threshold >= 1) {
                out[x] = magnitude > threshold ? kSet : 0;
            } else {
                out[x] = uchar(std::min(magnitude, kMaxGrey));
            }
        }
    }
    return edges;
}

std::unique_ptr<I::Image> newEdges(const I::Image& edges, const I::Image& reference, int& count,
                                   const int& threshold) {
    count = 0;
    auto changed = blankGrayLike(edges);
    if (reference.format != I::Image::Gray8) {
        return changed;
    }
    const std::vector<uchar> difference = differenceFrom(edges, reference);
    const int width = edges.width;
    const int limit = threshold;
    int changedPixelCount = 0;
    for (int y = 1; y < edges.height - 1; ++y) {
        const uchar* above = difference.data() + qsizetype(y - 1) * width;
        const uchar* row = above + width;
        const uchar* below = row + width;
        uchar* out = changed->data + qsizetype(y) * width;
        for (int x = 1; x < width - 1; ++x) {
            const int neighbourSum = above[x - 1] + above[x] + above[x + 1] + row[x - 1] +
                                     row[x + 1] + below[x - 1] + below[x] + below[x + 1];
            const bool isNew = row[x] != 0 && neighbourSum > limit;
            out[x] = isNew ? kSet : 0;
            changedPixelCount += isNew;
        }
    }
    count = changedPixelCount;
    return changed;
}
