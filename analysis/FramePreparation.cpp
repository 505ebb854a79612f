#include "analysis/FramePreparation.h"

#include "app/ProcessObjects.h"
#include "capture/WideVectorClones.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Integer luma weights; they add up to 255, not 256, so white comes out as 254.
constexpr unsigned kRedWeight = 76;
constexpr unsigned kGreenWeight = 150;
constexpr unsigned kBlueWeight = 29;
constexpr unsigned kWeightShift = 8;

constexpr uchar kSet = 255;
constexpr int kMaxGrey = 255;
constexpr int kRgb32BytesPerPixel = 4;
constexpr QRgb kOpaqueBlack = 0xFF000000u;

// Rows and columns this close to the edge have no full 3 x 3 neighbourhood of
// grey pixels under the Sobel kernels and stay 0.
constexpr int kSobelBorder = 2;
constexpr int kLargestSobelMagnitude = 2 * 4 * 255;
constexpr int kLargestNeighbourSum = 8 * 255;
constexpr int kCountedStretch = 16384;

inline uchar greyOf(unsigned red, unsigned green, unsigned blue) {
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

// Reverses a row in place, eight bytes at a time from both ends.
void reverseRow(uchar* row, int length) {
    int left = 0;
    int right = length;
    while (right - left >= 16) {
        uint64_t head, tail;
        std::memcpy(&head, row + left, sizeof head);
        std::memcpy(&tail, row + right - 8, sizeof tail);
        head = __builtin_bswap64(head);
        tail = __builtin_bswap64(tail);
        std::memcpy(row + left, &tail, sizeof tail);
        std::memcpy(row + right - 8, &head, sizeof head);
        left += 8;
        right -= 8;
    }
    std::reverse(row + left, row + right);
}

// Each row is converted front to back, which vectorises, and then reversed.
// A pixel is read as one little-endian word, blue in its lowest byte: masking
// blue and red out together keeps every lane 32 bits wide.
WIDE_VECTOR_CLONES void mirrorRgb32(const I::Image& frame, I::Image& grey) {
    const int width = frame.width;
    for (int y = 0; y < frame.height; ++y) {
        const uchar* source = frame.data + qsizetype(y) * width * kRgb32BytesPerPixel;
        uchar* out = grey.data + qsizetype(y) * width;
        for (int x = 0; x < width; ++x) {
            quint32 pixel;
            std::memcpy(&pixel, source + x * kRgb32BytesPerPixel, sizeof pixel);
            pixel = qFromLittleEndian(pixel);
            const quint32 blueAndRed = pixel & 0x00FF00FFu;
            out[x] =
                uchar((kBlueWeight * (blueAndRed & 0xFFu) + kGreenWeight * ((pixel >> 8) & 0xFFu) +
                       kRedWeight * (blueAndRed >> 16)) >>
                      kWeightShift);
        }
        reverseRow(out, width);
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

// |gx| + |gy| of the 3 x 3 Sobel kernels at column x of the row below above.
// The sum is at most 2040, so 16-bit lanes hold it and the loops vectorise.
inline int16_t sobelMagnitude(const uchar* above, int width, int x) {
    const uchar* row = above + width;
    const uchar* below = row + width;
    const int16_t gy = int16_t((below[x - 1] + 2 * below[x] + below[x + 1]) -
                               (above[x - 1] + 2 * above[x] + above[x + 1]));
    const int16_t gx = int16_t((above[x - 1] + 2 * row[x - 1] + below[x - 1]) -
                               (above[x + 1] + 2 * row[x + 1] + below[x + 1]));
    return int16_t((gx < 0 ? -gx : gx) + (gy < 0 ? -gy : gy));
}

WIDE_VECTOR_CLONES void sobelRowBinary(const uchar* above, int width, int threshold, uchar* out) {
    const int16_t limit = int16_t(std::min(threshold, kLargestSobelMagnitude));
    for (int x = kSobelBorder; x < width - kSobelBorder; ++x) {
        out[x] = sobelMagnitude(above, width, x) > limit ? kSet : 0;
    }
}

void sobelRowMagnitude(const uchar* above, int width, uchar* out) {
    for (int x = kSobelBorder; x < width - kSobelBorder; ++x) {
        out[x] = uchar(std::min<int16_t>(sobelMagnitude(above, width, x), kMaxGrey));
    }
}

WIDE_VECTOR_CLONES void differenceRow(const uchar* now, const uchar* before, int length,
                                      uchar* out) {
    for (int x = 0; x < length; ++x) {
        out[x] = now[x] == before[x] ? 0 : now[x];
    }
}

// Pixels of edges that are absent in reference. Where the reference is smaller
// than edges, the missing part counts as holding no edge, so nothing outside
// the reference is ever read.
std::unique_ptr<uchar[]> differenceFrom(const I::Image& edges, const I::Image& reference) {
    const int width = edges.width;
    const int height = edges.height;
    const int sharedWidth = std::min(width, reference.width);
    const int sharedHeight = std::min(height, reference.height);
    // Every byte is written below, once.
    std::unique_ptr<uchar[]> difference(new uchar[qsizetype(width) * height]);
    for (int y = 0; y < height; ++y) {
        const uchar* now = edges.data + qsizetype(y) * width;
        uchar* out = difference.get() + qsizetype(y) * width;
        const int compared = y < sharedHeight ? sharedWidth : 0;
        if (compared > 0) {
            differenceRow(now, reference.data + qsizetype(y) * reference.width, compared, out);
        }
        std::copy(now + compared, now + width, out + compared);
    }
    return difference;
}

// Sets the pixels of one row whose difference is set and whose eight
// neighbours add up to more than limit; returns how many. The neighbours' sum
// is that of the three columns of three about the pixel less the pixel
// itself, and each column's sum serves three pixels, so columns holds them
// first. Counting in 16 bits as well keeps every lane of the loop 16 bits
// wide; a stretch of kCountedStretch columns cannot overflow it.
WIDE_VECTOR_CLONES int keepNewEdgeRow(const uchar* above, int width, int16_t limit,
                                      int16_t* columns, uchar* out) {
    const uchar* row = above + width;
    const uchar* below = row + width;
    for (int x = 0; x < width; ++x) {
        columns[x] = int16_t(above[x] + row[x] + below[x]);
    }
    int kept = 0;
    for (int first = 1; first < width - 1; first += kCountedStretch) {
        const int end = std::min(width - 1, first + kCountedStretch);
        int16_t stretchCount = 0;
        for (int x = first; x < end; ++x) {
            const int16_t neighbourSum =
                int16_t(columns[x - 1] + columns[x] + columns[x + 1] - row[x]);
            const bool isNew = row[x] != 0 && neighbourSum > limit;
            out[x] = isNew ? kSet : 0;
            stretchCount = int16_t(stretchCount + isNew);
        }
        kept += stretchCount;
    }
    return kept;
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
        uchar* out = edges->data + qsizetype(y) * width;
        if (threshold >= 1) {
            sobelRowBinary(above, width, threshold, out);
        } else {
            sobelRowMagnitude(above, width, out);
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
    const std::unique_ptr<uchar[]> difference = differenceFrom(edges, reference);
    const int width = edges.width;
    // Sums of eight bytes fit 16 bits; clamping the threshold to the range of
    // the sums keeps every comparison as it was and lets the loop vectorise.
    const int16_t limit = int16_t(std::clamp(threshold, -1, kLargestNeighbourSum));
    std::vector<int16_t> columns(std::size_t(std::max(width, 0)));
    int changedPixelCount = 0;
    for (int y = 1; y < edges.height - 1; ++y) {
        changedPixelCount +=
            keepNewEdgeRow(difference.get() + qsizetype(y - 1) * width, width, limit,
                           columns.data(), changed->data + qsizetype(y) * width);
    }
    count = changedPixelCount;
    return changed;
}
