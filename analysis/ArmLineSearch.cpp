#include "analysis/ArmLineSearch.h"

#include "analysis/Median.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The picture is added up in at most this many strips of at most
// kWidestStrip columns, spread over its width, and in cells of about a
// 120th of its height: the same grid at every size, so the search costs about
// the same at every size, and each cell averages a dozen or more pixels.
constexpr int kStripCount = 40;
constexpr int kWidestStrip = 4;
constexpr double kCellRowsShare = 1.0 / 120;
// A cell's rise in brightness is the two cells below it less the two above:
// wide enough to add up more noise away, narrow enough for the two edges of
// an arm, some seven cells thick, to stay apart.
constexpr int kResponseSpan = 2;
// The weakest step taken for an edge, in grey levels, however quiet the
// picture, and how far an edge must stand out of the picture's noise, in
// times the median size of the responses: about 2.4 standard deviations.
constexpr int kWeakestStep = 8;
constexpr double kNoiseMultiple = 3.5;
// Only every few responses go into the median; that is plenty for a figure
// of the noise, and keeps its cost small.
constexpr int kNoiseSampleStep = 6;
// Lines up to this tilt either way, in steps of a degree: a degree's turn
// moves a line's ends by about one cell.
constexpr int kSteepestTilt = 45;
constexpr int kTiltCount = 2 * kSteepestTilt + 1;
// An arm across the picture crosses most strips; a line must have votes
// from this share of them to be a guess, more than the picture frames and
// shelves of a room reach and far more than noise lines up by chance. A
// tilted arm reaches across fewer strips, in proportion to the cosine of its
// tilt, so the share is of those, and lines are ranked by it.
constexpr double kShareOfStripsVoting = 0.3;
// Two guesses closer than this in tilt and in height lie along one arm, on
// either of its edges; only the stronger is kept.
constexpr int kSameArmTilt = 5;
constexpr double kSameArmHeightShare = 0.12;

double cotangentOfTilt(int tiltIndex) {
    const double angle = (90.0 + tiltIndex - kSteepestTilt) * kPi / 180;
    return std::cos(angle) / std::sin(angle);
}

} // namespace

const std::vector<ArmLine>& ArmLineSearch::search(const I::Image& grey) {
    guesses.clear();
    if (grey.format != I::Image::Gray8 || grey.width < 2 * kStripCount ||
        grey.height < 2 * kResponseSpan + 3) {
        return guesses;
    }
    sumCells(grey);
    collectVotes();
    prepareShifts(grey.width);
    castVotes();
    pickPeaks();
    return guesses;
}

// Row by row, each strip's pixels of the row are added into the strip's cell.
void ArmLineSearch::sumCells(const I::Image& grey) {
    const int width = grey.width;
    pitch = width / kStripCount;
    stripWidth = std::min(pitch, kWidestStrip);
    stripCount = kStripCount;
    pictureHeight = grey.height;
    cellRows = std::max(1, int(std::lround(kCellRowsShare * pictureHeight)));
    rowCount = grey.height / cellRows;
    cells.assign(std::size_t(stripCount) * rowCount, 0);
    const int firstColumn = (width - stripCount * pitch + pitch - stripWidth) / 2;
    for (int y = 0; y < rowCount * cellRows; ++y) {
        const uchar* row = grey.data + qsizetype(y) * width + firstColumn;
        const int cellRow = y / cellRows;
        for (int strip = 0; strip < stripCount; ++strip) {
            const uchar* pixel = row + strip * pitch;
            int32_t sum = 0;
            for (int column = 0; column < stripWidth; ++column) {
                sum += pixel[column];
            }
            cells[std::size_t(strip) * rowCount + cellRow] += sum;
        }
    }
}

// The cells whose rise or fall stands out of the noise and is the largest of
// its strip's neighbours above and below: one vote for each edge crossing.
void ArmLineSearch::collectVotes() {
    responses.assign(cells.size(), 0);
    sizes.clear();
    for (int strip = 0; strip < stripCount; ++strip) {
        const int32_t* cell = cells.data() + std::size_t(strip) * rowCount;
        int32_t* response = responses.data() + std::size_t(strip) * rowCount;
        for (int row = kResponseSpan; row < rowCount - kResponseSpan; ++row) {
            response[row] = cell[row + 1] + cell[row + 2] - cell[row - 1] - cell[row - 2];
            if (row % kNoiseSampleStep == 0) {
                sizes.push_back(std::abs(response[row]));
            }
        }
    }
    const int32_t weakest = std::max(int32_t(kWeakestStep * kResponseSpan * cellRows * stripWidth),
                                     int32_t(kNoiseMultiple * medianOf(sizes)));
    votes.clear();
    for (int strip = 0; strip < stripCount; ++strip) {
        const int32_t* response = responses.data() + std::size_t(strip) * rowCount;
        for (int row = kResponseSpan + 1; row < rowCount - kResponseSpan - 1; ++row) {
            const int32_t size = std::abs(response[row]);
            if (size > weakest && size >= std::abs(response[row - 1]) &&
                size > std::abs(response[row + 1])) {
                votes.push_back({strip, row, response[row] > 0});
            }
        }
    }
}

// The climbs depend only on the picture's width and height, so they are
// worked out again only when those change.
void ArmLineSearch::prepareShifts(int width) {
    if (width == shiftsWidth && pictureHeight == shiftsHeight &&
        shifts.size() == std::size_t(kTiltCount) * stripCount) {
        return;
    }
    shiftsWidth = width;
    shiftsHeight = pictureHeight;
    shifts.resize(std::size_t(kTiltCount) * stripCount);
    const int firstColumn = (width - stripCount * pitch + pitch - stripWidth) / 2;
    for (int tilt = 0; tilt < kTiltCount; ++tilt) {
        const double cotangent = cotangentOfTilt(tilt);
        for (int strip = 0; strip < stripCount; ++strip) {
            const double xc = firstColumn + strip * pitch + (stripWidth - 1) * 0.5 - width * 0.5;
            shifts[std::size_t(tilt) * stripCount + strip] =
                int16_t(std::lround(xc * cotangent / cellRows));
        }
    }
}

// Each vote counts for the lines of every tilt through its cell, at the
// offset where that line crosses the picture's middle column, and for the
// offset below it, so an edge between two cells of a line is not missed.
void ArmLineSearch::castVotes() {
    tally.assign(std::size_t(2) * kTiltCount * rowCount, 0);
    for (const Vote& vote : votes) {
        uint16_t* counts = tally.data() + (vote.rises ? 0 : std::size_t(kTiltCount) * rowCount);
        for (int tilt = 0; tilt < kTiltCount; ++tilt, counts += rowCount) {
            const int offset = vote.row + shifts[std::size_t(tilt) * stripCount + vote.strip];
            if (offset >= 0 && offset + 1 < rowCount) {
                ++counts[offset];
                ++counts[offset + 1];
            }
        }
    }
}

void ArmLineSearch::pickPeaks() {
    peaks.clear();
    for (int line = 0; line < 2 * kTiltCount; ++line) {
        const uint16_t* counts = tally.data() + std::size_t(line) * rowCount;
        const int tilt = line % kTiltCount;
        const double reach = std::cos((tilt - kSteepestTilt) * kPi / 180) * stripCount;
        for (int row = 0; row < rowCount; ++row) {
            if (counts[row] >= kShareOfStripsVoting * reach) {
                peaks.push_back({counts[row] / reach, tilt, row});
            }
        }
    }
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const Peak& a, const Peak& b) { return a.share > b.share; });
    const double sameArmRows = kSameArmHeightShare * pictureHeight;
    for (const Peak& peak : peaks) {
        const double row = peak.row * cellRows + (cellRows - 1) * 0.5;
        const ArmLine line{90.0 + peak.tilt - kSteepestTilt, row - pictureHeight * 0.5};
        const bool alongGuess =
            std::any_of(guesses.begin(), guesses.end(), [&](const ArmLine& other) {
                return std::fabs(line.angleDegrees - other.angleDegrees) < kSameArmTilt &&
                       std::fabs(line.offset - other.offset) < sameArmRows;
            });
        if (alongGuess) {
            continue;
        }
        guesses.push_back(line);
        if (int(guesses.size()) == kMostGuesses) {
            return;
        }
    }
}
