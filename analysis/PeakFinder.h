#pragma once

#include "analysis/Accumulator.h"
#include "analysis/Line.h"

#include <cstdint>
#include <vector>

// One voted accumulator cell with its 3 x 3 smoothed vote count.
struct Bin {
    int32_t rhoIndex;
    int32_t thetaIndex;
    int32_t votes;
};

// Turns the local maxima of the smoothed accumulator into lines, strongest
// first: a cell is reported when none of its eight neighbours was taken before
// it. Suppression does not wrap around θ.
class PeakFinder {
public:
    void findPeaks(LineList& lines, const Accumulator& accumulator);

private:
    void smoothVotedCells(const Accumulator& accumulator);
    bool neighbourVisited(const Accumulator& accumulator, const Bin& bin) const;

    std::vector<Bin> bins;
    // One byte per accumulator cell, all 0 between calls: each call clears the
    // cells it marked.
    std::vector<uint8_t> visited;
};
