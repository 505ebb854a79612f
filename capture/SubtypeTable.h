#pragma once

#include "capture/platform/PlatformTypes.h"

#include <array>

// The media subtypes set-up tries, in the order it tries them, with the names
// its messages use.
class SubtypeTable {
public:
    struct Row {
        const char* name;
        platform::Guid subtype;
    };
    static constexpr int kRowCount = 18;

    SubtypeTable();

    const std::array<Row, kRowCount>& rows() const { return rows_; }
    // "OTHER" for a subtype that is not in the table.
    const char* name(const platform::Guid& subtype) const;

private:
    std::array<Row, kRowCount> rows_;
};
