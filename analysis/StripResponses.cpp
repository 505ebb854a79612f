#include "analysis/StripResponses.h"

#include "analysis/Median.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// At most this many strips of at most kWidestStrip neighbouring columns each:
// wide enough that the noise of single pixels averages out, few enough that
// the cost stays flat at large sizes while a fit still has plenty of points.
constexpr int kStripCount = 40;
constexpr int kWidestStrip = 8;
// Every few responses are enough for a figure of their typical size.
constexpr std::size_t kSizeSampleStep = 2;

} // namespace

// An edge's response at a row is the sum of the profile over the span rows
// below it less that over the span rows above. The rows of the profile are
// those of the line at the strip's middle column.
void StripResponses::measure(const I::Image& grey, const ArmLine& around, int bandRows,
                             Layout layout) {
    const int width = grey.width;
    const int height = grey.height;
    const int stripPitch = pitch(width);
    const int span = layout.span;
    const double slope = around.slope();
    bandList.clear();
    responses.clear();
    for (int left = std::max(0, (stripPitch - layout.stripWidth) / 2);
         left + layout.stripWidth <= width; left += stripPitch) {
        const double xc = left + (layout.stripWidth - 1) * 0.5 - width * 0.5;
        const double centreRow = around.offset + slope * xc + height * 0.5;
        // Where the line has left the picture, the strip cannot show it.
        if (!(centreRow >= 0 && centreRow < height)) {
            continue;
        }
        const int first = std::max(0, int(std::floor(centreRow)) - bandRows);
        const int last = std::min(height - 1, int(std::ceil(centreRow)) + bandRows);
        sumProfile(grey, left, layout.stripWidth, slope, first - span, last + span);
        const int rows = last - first + 1;
        bandList.push_back({xc, first, rows, responses.size()});
        responses.resize(responses.size() + std::size_t(rows));
        int32_t* response = responses.data() + bandList.back().offset;
        for (int at = span; at < rows + span; ++at) {
            *response++ =
                (profile[at + span + 1] - profile[at + 1]) - (profile[at] - profile[at - span]);
        }
    }
}

// Prefix sums, from row top to row bottom, of the strip's columns shifted
// along the line: profile[i] sums the rows top to top + i - 1. Rows beyond
// the picture repeat its first or last row.
void StripResponses::sumProfile(const I::Image& grey, int left, int count, double slope, int top,
                                int bottom) {
    const int width = grey.width;
    const int rows = bottom - top + 1;
    profile.assign(std::size_t(rows) + 1, 0);
    int32_t* sum = profile.data() + 1;
    const double middle = left + (count - 1) * 0.5;
    for (int x = left; x < left + count; ++x) {
        const int firstRow = top + int(std::lround(slope * (x - middle)));
        if (firstRow >= 0 && firstRow + rows <= grey.height) {
            const uchar* pixel = grey.data + qsizetype(firstRow) * width + x;
            for (int row = 0; row < rows; ++row, pixel += width) {
                sum[row] += *pixel;
            }
            continue;
        }
        for (int row = 0; row < rows; ++row) {
            const int y = std::clamp(firstRow + row, 0, grey.height - 1);
            sum[row] += grey.data[qsizetype(y) * width + x];
        }
    }
    for (int row = 0; row < rows; ++row) {
        sum[row] += profile[std::size_t(row)];
    }
}

double StripResponses::medianSize() {
    sizes.clear();
    for (std::size_t at = 0; at < responses.size(); at += kSizeSampleStep) {
        sizes.push_back(std::abs(responses[at]));
    }
    return medianOf(sizes);
}

int StripResponses::pitch(int width) {
    return std::max(1, (width + kStripCount - 1) / kStripCount);
}

int StripResponses::quietWidth(int width) {
    return std::min(pitch(width), kWidestStrip);
}
