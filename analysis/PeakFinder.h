#pragma once

#include "analysis/Accumulator.h"
#include "analysis/Line.h"

#include <cstdint>
#include <vector>

// A reported accumulator cell with its 3 x 3 smoothed vote count.
struct Bin {
    int32_t rhoIndex;
    int32_t thetaIndex;
    int32_t votes;
};

// Turns the local maxima of the smoothed accumulator into lines, strongest
// first. Taking the voted cells strongest first, a cell is reported when none
// of its eight neighbours was taken before it; suppression does not wrap
// around θ.
class PeakFinder {
public:
    void findPeaks(LineList& lines, const Accumulator& accumulator);

private:
    void smoothVotedCells(const Accumulator& accumulator);
    bool takenBeforeEveryNeighbour(const Accumulator& accumulator, uint32_t cell) const;

    std::vector<Bin> peaks;
    // Smoothed count of every voted cell, by cell index; cells without votes
    // hold stale values and are never read.
    std::vector<int32_t> smoothed;
};
