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
    bool takenBeforeEveryNeighbour(uint32_t rowLength, uint32_t cell) const;

    std::vector<Bin> peaks;
    // Smoothed count of every voted cell, by cell index, at least 4; 0 for
    // cells without votes. Each call clears the cells it wrote.
    std::vector<int32_t> smoothed;
};
