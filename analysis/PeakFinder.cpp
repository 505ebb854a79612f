#include "analysis/PeakFinder.h"

#include <algorithm>

namespace {

int32_t smoothedVotes(const Accumulator& accumulator, uint32_t theta, uint32_t rho) {
    const auto at = [&](uint32_t t, uint32_t r) { return accumulator.votesAt(t, r); };
    return at(theta - 1, rho - 1) + 2 * at(theta - 1, rho) + at(theta - 1, rho + 1) +
           2 * at(theta, rho - 1) + 4 * at(theta, rho) + 2 * at(theta, rho + 1) +
           at(theta + 1, rho - 1) + 2 * at(theta + 1, rho) + at(theta + 1, rho + 1);
}

// Strongest first; equal counts keep the accumulator's row order, so the result
// never depends on the order in which cells were voted.
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

void PeakFinder::findPeaks(LineList& lines, const Accumulator& accumulator) {
    smoothVotedCells(accumulator);
    std::sort(bins.begin(), bins.end(), strongerFirst);
    if (visited.size() < accumulator.cellCount()) {
        visited.assign(accumulator.cellCount(), 0);
    }

    lines.clear();
    if (lines.capacity() < bins.size()) {
        lines.reserve(bins.size());
    }
    for (const Bin& bin : bins) {
        if (!neighbourVisited(accumulator, bin)) {
            lines.push_back({accumulator.rhoValue(uint32_t(bin.rhoIndex)),
                             accumulator.thetaValue(uint32_t(bin.thetaIndex))});
        }
        visited[accumulator.cellIndex(uint32_t(bin.thetaIndex), uint32_t(bin.rhoIndex))] = 1;
    }
    for (const Bin& bin : bins) {
        visited[accumulator.cellIndex(uint32_t(bin.thetaIndex), uint32_t(bin.rhoIndex))] = 0;
    }
}

void PeakFinder::smoothVotedCells(const Accumulator& accumulator) {
    bins.clear();
    if (bins.capacity() < accumulator.voted().size()) {
        bins.reserve(accumulator.voted().size());
    }
    const uint32_t rowLength = accumulator.rowLength();
    for (uint32_t cell : accumulator.voted()) {
        const uint32_t theta = cell / rowLength;
        const uint32_t rho = cell % rowLength;
        bins.push_back({int32_t(rho), int32_t(theta), smoothedVotes(accumulator, theta, rho)});
    }
}

bool PeakFinder::neighbourVisited(const Accumulator& accumulator, const Bin& bin) const {
    const uint32_t centre = accumulator.cellIndex(uint32_t(bin.thetaIndex), uint32_t(bin.rhoIndex));
    const uint32_t row = accumulator.rowLength();
    const uint32_t neighbours[] = {centre - row - 1, centre - row,    centre - row + 1,
                                   centre - 1,       centre + 1,      centre + row - 1,
                                   centre + row,     centre + row + 1};
    return std::any_of(std::begin(neighbours), std::end(neighbours),
                       [&](uint32_t cell) { return visited[cell] != 0; });
}
