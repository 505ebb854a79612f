#include "analysis/PeakFinder.h"

#include <algorithm>

namespace {

bool strongerFirst(const Bin& a, const Bin& b) {
    if (a.votes != b.votes) {
        return a.votes > b.votes;
    }
    if (a.thetaIndex != b.thetaIndex) {
        return a.thetaIndex < b.thetaIndex;
    }
    return a.rhoIndex < b.rhoIndex;
}

} // namespace

// Taking cells in order and marking each one visited reports exactly the cells
// that come before every voted neighbour in that order (cells without votes are
// never taken). So only those local maxima are sorted, not every voted cell.
void PeakFinder::findPeaks(LineList& lines, const Accumulator& accumulator) {
    smoothVotedCells(accumulator);
    peaks.clear();
    const uint32_t rowLength = accumulator.rowLength();
    for (uint32_t cell : accumulator.voted()) {
        if (takenBeforeEveryNeighbour(rowLength, cell)) {
            peaks.push_back({int32_t(cell % rowLength), int32_t(cell / rowLength), smoothed[cell]});
        }
    }
    for (uint32_t cell : accumulator.voted()) {
        smoothed[cell] = 0;
    }
    std::sort(peaks.begin(), peaks.end(), strongerFirst);

    lines.clear();
    if (lines.capacity() < accumulator.voted().size()) {
        lines.reserve(accumulator.voted().size());
    }
    for (const Bin& peak : peaks) {
        lines.push_back({accumulator.rhoValue(uint32_t(peak.rhoIndex)),
                         accumulator.thetaValue(uint32_t(peak.thetaIndex))});
    }
}

// Weights 1 2 1 / 2 4 2 / 1 2 1 around each voted cell. The border rows and
// columns never hold votes, so every neighbour exists.
void PeakFinder::smoothVotedCells(const Accumulator& accumulator) {
    if (smoothed.size() < accumulator.cellCount()) {
        smoothed.assign(accumulator.cellCount(), 0);
    }
    const uint32_t row = accumulator.rowLength();
    const auto at = [&](uint32_t cell) { return accumulator.votesInCell(cell); };
    for (uint32_t cell : accumulator.voted()) {
        const uint32_t above = cell - row;
        const uint32_t below = cell + row;
        smoothed[cell] = at(above - 1) + 2 * at(above) + at(above + 1) + 2 * at(cell - 1) +
                         4 * at(cell) + 2 * at(cell + 1) + at(below - 1) + 2 * at(below) +
                         at(below + 1);
    }
}

// Cells are taken strongest first, equal counts in the accumulator's row
// order, so the result never depends on the order in which cells were voted.
// A neighbour without votes holds 0 in smoothed and so is never taken before a
// voted cell, whose smoothed count is at least 4. Asking of the largest count
// among the neighbours before cell and among those after it, rather than of
// each neighbour in turn, spares branches the scattered counts mostly
// mispredict.
bool PeakFinder::takenBeforeEveryNeighbour(uint32_t row, uint32_t cell) const {
    const int32_t* const above = &smoothed[cell - row];
    const int32_t* const here = &smoothed[cell];
    const int32_t* const below = &smoothed[cell + row];
    const int32_t earlier = std::max({above[-1], above[0], above[1], here[-1]});
    const int32_t later = std::max({here[1], below[-1], below[0], below[1]});
    return earlier < here[0] && later <= here[0];
}
