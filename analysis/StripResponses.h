#pragma once

#include "analysis/ArmLine.h"
#include "capture/Image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The rise in brightness down strips of neighbouring columns along a line,
// row by row in a band about it. Each strip's rows are shifted along the
// line, so that edges along it line up across the strip's columns, and added
// up: the noise of single pixels averages out while such edges add up, which
// shows an arm little darker than the wall in a noisy picture. At most 40
// strips, spread over the picture, keep the cost flat at large sizes.
class StripResponses {
public:
    struct Layout {
        int span;       // rows on either side of a row its response adds
        int stripWidth; // columns added into each strip
    };
    // The responses of one strip, kept from offset on.
    struct Band {
        double xc; // the strip's middle column, from the picture's centre
        int first; // the row of the first response, in the strip's middle column
        int rows;
        std::size_t offset;
    };

    // Replaces the responses with those of bandRows rows above and below
    // the line in every strip the line crosses the picture in.
    void measure(const I::Image& grey, const ArmLine& around, int bandRows, Layout layout);

    const std::vector<Band>& bands() const { return bandList; }
    const int32_t* responsesOf(const Band& band) const { return responses.data() + band.offset; }
    // Strips the line crosses the picture in, whether or not they show it.
    std::size_t stripsLooked() const { return bandList.size(); }
    // The median size of the responses, from a sample of them.
    double medianSize();

    // Columns from one strip to the next, and the width of a strip when the
    // picture is quiet.
    static int pitch(int width);
    static int quietWidth(int width);

private:
    void sumProfile(const I::Image& grey, int left, int count, double slope, int top, int bottom);

    // Kept between calls, so measuring allocates only when a picture is
    // larger than every earlier one.
    std::vector<Band> bandList;
    std::vector<int32_t> responses;
    std::vector<int32_t> profile;
    std::vector<int32_t> sizes;
};
