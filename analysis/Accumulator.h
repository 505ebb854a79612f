#pragma once

#include <cstdint>
#include <vector>

// The (θ, ρ) vote counters of the line detector, with a border row and column
// on every side that never receives votes, so the 3 x 3 smoothing of the peak
// search needs no bounds tests. Rows are θ indices 1...thetaSize, columns ρ
// indices 1...rhoSize, stored row after row in one block.
class Accumulator {
public:
    // Sizes the counters for a picture and a bin width (pixels of ρ and
    // degrees of θ) and clears them. The shape and the value tables are kept
    // while picture size and bin width stay the same; then only the counters
    // the previous detection voted into are cleared.
    void init(uint32_t width, uint32_t height, double delta);

    void addVotesToCell(uint32_t cell, int32_t votes) {
        int32_t& counter = bins[cell];
        if (counter == 0) {
            votedCells.push_back(cell);
        }
        counter += votes;
    }
    int32_t votesAt(uint32_t thetaIndex, uint32_t rhoIndex) const {
        return bins[cellIndex(thetaIndex, rhoIndex)];
    }
    int32_t votesInCell(uint32_t cell) const { return bins[cell]; }
    uint32_t cellIndex(uint32_t thetaIndex, uint32_t rhoIndex) const {
        return thetaIndex * rowLength() + rhoIndex;
    }
    uint32_t rowLength() const { return rhoSize + 2; }
    uint32_t cellCount() const { return (thetaSize + 2) * rowLength(); }

    // Every cell that holds votes, in the order it first received them.
    const std::vector<uint32_t>& voted() const { return votedCells; }

    double rhoValue(uint32_t rhoIndex) const { return rhoValues[rhoIndex]; }
    double thetaValue(uint32_t thetaIndex) const { return thetaValues[thetaIndex]; }

    double delta = 0;
    uint32_t thetaSize = 0;
    uint32_t height = 0;
    uint32_t width = 0;
    double rhoStart = 0;
    double rhoEnd = 0;
    double thetaStart = 0;
    double thetaEnd = 0;
    uint32_t rhoSize = 0;

private:
    void reshape(uint32_t width, uint32_t height, double delta);

    std::vector<int32_t> bins;
    std::vector<uint32_t> votedCells;
    std::vector<double> rhoValues;
    std::vector<double> thetaValues;
    bool shaped = false;
};
