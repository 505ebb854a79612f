#pragma once

#include "analysis/ArmLine.h"
#include "capture/Image.h"

#include <cstdint>
#include <vector>

// Looks over the whole picture for the long, nearly level edges that arms
// make, however faint. The motion detector needs edges that stand out of a
// fixed threshold and have moved; arms in a shirt little darker than the wall
// give neither in a noisy picture. This adds the picture up in cells of a few
// columns and rows, where the noise of single pixels averages out, marks the
// cells whose rise or fall in brightness stands out of the picture's own noise,
// and lets each vote for every line through it within 45 degrees of level;
// lines that most strips of the picture vote for are the guesses.
class ArmLineSearch {
public:
    // The strongest such lines, strongest first, at most kMostGuesses of them;
    // none when no line is voted for by enough of the picture.
    const std::vector<ArmLine>& search(const I::Image& grey);

    static constexpr int kMostGuesses = 2;

private:
    struct Peak {
        double share;  // of the strips a line of its tilt reaches across
        int tilt, row; // tilt as an index, row in cells
    };
    struct Vote {
        int strip;
        int row; // in cells
        bool rises;
    };

    void sumCells(const I::Image& grey);
    void collectVotes();
    void prepareShifts(int width);
    void castVotes();
    void pickPeaks();

    int stripCount = 0, stripWidth = 0, pitch = 0;
    int cellRows = 0, rowCount = 0; // rows of the picture in each cell, cells down a strip
    int pictureHeight = 0;
    int shiftsWidth = 0, shiftsHeight = 0; // of the picture the shifts were worked out for
    std::vector<int32_t> cells;            // strip by strip, the sum of each cell's pixels
    std::vector<int32_t> responses;        // the same, each cell's rise in brightness
    std::vector<int32_t> sizes;
    std::vector<Vote> votes;
    // For each tilt looked at and each strip, the cells by which a line of
    // that tilt climbs from the picture's middle column to the strip.
    std::vector<int16_t> shifts;
    std::vector<uint16_t> tally; // rises, then falls: tilt by tilt, one count per offset
    std::vector<Peak> peaks;
    std::vector<ArmLine> guesses;
};
