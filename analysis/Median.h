#pragma once

#include <algorithm>
#include <vector>

// The middle value of values, reordering them on the way; 0 for no values,
// which callers take as "nothing measured".
template <typename Number> double medianOf(std::vector<Number>& values) {
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return double(*middle);
}
